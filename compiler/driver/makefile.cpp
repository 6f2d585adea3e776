// The nmake makefile of a project: compile each generated ".cpp" with cl.exe,
// link the objects with link.exe and the run-time library quvfuncs.lib into
// one console program. The folders of the run-time headers and library come
// from nmake's environment (QUVINCLUDEPATH, QUVLIBPATH).
#include "compiler/driver/driver.hpp"

#include <sstream>

#include "platform/safe_write.hpp"

namespace {

const char kWriter[] = "writeMakefile";

// Why make cannot be given `name` as one name, or "" when it can: a line end
// would end its line, and a double quote has no escape in make's names.
std::string unnameable(const std::string& name) {
    if (name.find_first_of("\r\n") != std::string::npos)
        return "its name holds a line end";
    if (name.find('"') != std::string::npos)
        return "its name holds a double quote";
    return "";
}

// `name` as make reads it back: "$" doubled, and inside double quotes when it
// holds a blank (one name only so) or starts with a colon (which would read
// as the colon after a target). Any other name is written as it is.
std::string quoted(const std::string& name) {
    std::string written;
    for (char c : name)
        written += c == '$' ? std::string("$$") : std::string(1, c);
    const bool quotes = name.find_first_of(" \t") != std::string::npos || (!name.empty() && name[0] == ':');
    return quotes ? "\"" + written + "\"" : written;
}

}  // namespace

bool QUVCompiler::writeMakefile(const std::vector<std::string>& files, const std::string& project,
                                const std::string& makefile) {
    // A name make cannot read back would build something else, or nothing:
    // refused before a makefile that names it exists.
    bool nameable = true;
    const std::string exeName = stripExtension(project) + ".exe";
    if (!unnameable(exeName).empty()) {
        QUVException(*this, QUVException::OutputFileError, 0, 0, kWriter, project,
                     "the makefile can't name the program " + exeName + ": " + unnameable(exeName));
        return false;
    }
    for (const std::string& file : files) {
        const std::string base = stripExtension(file);
        const std::string why = unnameable(base);
        if (!why.empty()) {
            QUVException(*this, QUVException::OutputFileError, 0, 0, kWriter, file,
                         "the makefile can't name " + base + ".cpp: " + why);
            nameable = false;
        }
    }
    if (!nameable)
        return false;
    noteInputs(files, project);
    if (outputReplacesInput({makefile}, project, "makefile", "it is not written"))
        return false;
    const std::string exe = quoted(exeName);
    // Each line end is the platform's own text-mode one, a single LF here.
    std::ostringstream out;
    out << "ALL :" << exe << '\n'
        << "CPP = cl.exe" << '\n'
        << "CFLAGS = -I$(QUVINCLUDEPATH) /nologo /MT /W3 /GX /D \"WIN32\" /D \"NDEBUG\" /D \"_CONSOLE\" "
           "/D \"_MBCS\" /c"
        << '\n'
        << "LINK = link.exe" << '\n'
        << "LDFLAGS = $(QUVLIBPATH)/quvfuncs.lib /nologo /subsystem:console /incremental:no /machine:I386 /out:"
        << exe << '\n'
        << "OBJS = \\" << '\n';
    for (const std::string& file : files)
        out << '\t' << quoted(stripExtension(file) + ".obj") << "\\" << '\n';
    out << '\n'
        << ".cpp.obj::" << '\n'
        << "\t$(CPP) @<<" << '\n'
        << "\t$(CFLAGS) $<" << '\n'
        << "<<" << '\n'
        << '\n'
        << exe << " : $(OBJS) " << '\n'
        << "\t$(LINK) @<<" << '\n'
        << "\t$(LDFLAGS) $(OBJS)" << '\n'
        << "<<" << '\n'
        << '\n';
    for (const std::string& file : files) {
        const std::string base = stripExtension(file);
        out << quoted(base + ".obj") << " : " << quoted(base + ".cpp") << '\n' << '\n';
    }
    std::string reason;
    if (platform::WriteFileSafely(makefile, out.str(), reason))
        return true;
    // A build over a makefile that was never written would use a stale one.
    QUVException(*this, QUVException::OutputFileError, 0, 0, kWriter, makefile,
                 "can't open or write the output file: " + reason);
    return false;
}
