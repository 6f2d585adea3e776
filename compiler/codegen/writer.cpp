// The writer of the five output files of a source: the ".cpp" file, the
// prototype and inner-type headers, the diagnostics file and the typeset copy.
#include <string>

#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "platform/safe_write.hpp"

namespace {
const char* const writerName = "CodeFragment::writeFiles()";

std::string programBanner(const std::string& name) {
    return "/*-----------------------Program " + name + "----------------------------*/";
}

std::string fileBanner(const std::string& label, const std::string& file) {
    return "/*-------------------------- " + label + file + "----------------------------*/";
}

// A file the writer could not open or write becomes a file diagnostic that
// says why (and whether the old contents were put back); the job goes on.
void reportUnwritable(JobState& job, const std::string& fileName, const std::string& reason) {
    QUVException(job, QUVException::OutputFileError, 0, 0, writerName, fileName,
                 "can't open or write the output file: " + reason);
}

// The texts hold "\n" line ends, written as they are. The files lie beside
// the user's source and may be the user's own (the typeset copy above all):
// they are written as every user's file is.
void writeText(JobState& job, const std::string& fileName, const std::string& text) {
    std::string reason;
    if (!platform::WriteFileSafely(fileName, text, reason))
        reportUnwritable(job, fileName, reason);
}

// Every diagnostic of the job so far, the writer's own among them. A failure
// that ended the walk after it left the program is not: it is filed once the
// files are written.
void writeDiagnostics(JobState& job, const std::string& fileName) {
    std::string text;
    for (const QUVException& record : job.records())
        text += record.format() + "\n";
    writeText(job, fileName, text);
}
}  // namespace

OutputNames OutputNames::ofBase(const std::string& base) {
    return {base + ".cpp", base + "Proto" + ".hpp", base + "Inner" + ".hpp", base + ".err", base + "TypeSet" + ".e"};
}

void TopFragment::setProgram(const std::string& name, int kind, const CodeFragment& main) {
    programKind = kind;
    program = ProgramResult{name, kind, main.getCode(), main.getPrototypes(), main.getInnerTypes(), main.getTypeset()};
}

void TopFragment::writeFiles(JobState& job, const OutputNames& files) {
    if (!program)
        return;
    const ProgramResult& p = *program;
    const std::string& cppName = files.cpp;
    const std::string& protoName = files.proto;
    const std::string& innerName = files.inner;
    const std::string NL = base::newline();
    const std::string banner = programBanner(p.name);
    code = banner + NL + fileBanner("source file :", cppName) + NL + NL + "#include \"" + innerName + "\"" + NL + NL +
           p.code;
    prototypes = banner + NL + fileBanner("prototype declaration file:", protoName) + NL +
                 "#include \"quv.hpp\"" + NL + NL + p.prototypes;
    innerTypes = banner + NL + fileBanner("inner type declaration file:", innerName) + NL + "#include \"" +
                 protoName + "\"" + NL + NL + p.innerTypes;
    typeset = CodeNames::programKind(p.kind) + " " + p.name + " == [] " + NL + "[" + NL + p.typeset + NL + "]" +
              NL + ".";

    writeText(job, cppName, code);
    writeText(job, protoName, prototypes);
    writeText(job, innerName, innerTypes);
    writeDiagnostics(job, files.err);
    writeText(job, files.typeset, typeset);
}
