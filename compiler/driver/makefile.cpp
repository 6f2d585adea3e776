// The nmake makefile of a project: compile each generated ".cpp" with cl.exe,
// link the objects with link.exe and the run-time library quvfuncs.lib into
// one console program. The folders of the run-time headers and library come
// from nmake's environment (QUVINCLUDEPATH, QUVLIBPATH).
#include "compiler/driver/driver.hpp"

#include <sstream>

#include "platform/safe_write.hpp"

namespace {

// A name with a blank is one name to make only inside double quotes.
std::string quoted(const std::string& name) {
    return name.find_first_of(" \t") == std::string::npos ? name : "\"" + name + "\"";
}

}  // namespace

bool QUVCompiler::writeMakefile(const std::vector<std::string>& files, const std::string& project,
                                const std::string& makefile) {
    const std::string exe = quoted(stripExtension(project) + ".exe");
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
    QUVException(*this, QUVException::OutputFileError, 0, 0, "writeMakefile", makefile,
                 "can't open or write the output file: " + reason);
    return false;
}
