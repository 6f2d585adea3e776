#include <iostream>
#include <sstream>

#include "compiler/lexer/lexer.hpp"
#include "compiler/parser/parser.hpp"
#include "tools/quvdump/dump_common.hpp"
#include "tools/quvdump/verbs.hpp"

namespace quvdump {

// The typeset text exactly as the pass wrote it, then the diagnostics. When the
// text does not end with a line end, one is added before them so each stays on
// a line of its own.
int dumpTypeset(const std::string& path)
{
    std::istringstream in;
    if (const int status = openSource(path, in))
        return status;

    CompileSession session;
    JobState job(session, path);
    TypesettingPass pass(job);
    SourceParser source(in, path, job);
    try {
        source.parser.typesetProgram(pass);
    } catch (const antlr::ANTLRException& ex) {
        std::cerr << "quvdump: typesetting stopped: " << ex.getMessage() << '\n';
    }

    const std::string& text = pass.typesetText;
    std::cout << text;
    if (!job.records().empty() && !text.empty() && text.back() != '\n')
        std::cout << '\n';
    printDiagnostics(std::cout, job);
    return kExitOk;
}

} // namespace quvdump
