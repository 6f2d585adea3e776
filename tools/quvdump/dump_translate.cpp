#include <iostream>
#include <sstream>

#include "compiler/parser/parser.hpp"
#include "compiler/treewalk/treewalk.hpp"
#include "tools/quvdump/dump_common.hpp"
#include "tools/quvdump/verbs.hpp"

namespace quvdump {

namespace {

// The five output names of a source: base is the path up to its last "."
// (which may lie in a folder name), or the whole path when it has none.
OutputNames outputNamesOf(const std::string& source)
{
    const std::string::size_type dot = source.rfind('.');
    return OutputNames::ofBase(dot == std::string::npos ? source : source.substr(0, dot));
}

} // namespace

// Front end, then the walker over whatever tree the parser left (also after
// syntax errors); the program it left (even if it failed afterwards) is
// written as the five output files next to the source; then the diagnostics.
int dumpTranslate(const std::string& path)
{
    std::istringstream in;
    if (const int status = openSource(path, in))
        return status;

    CompileSession session;
    JobState job(session, path);
    SourceParser source(in, path, job);
    try {
        source.parser.program();
    } catch (const antlr::ANTLRException& ex) {
        std::cerr << "quvdump: parsing stopped: " << ex.getMessage() << '\n';
    }

    antlr::RefAST tree = source.parser.getAST();
    if (tree) {
        const OutputNames names = outputNamesOf(path);
        TopFragment top;
        QUVTreeWalk walker;
        // A walk that fails after it left its program has that program's
        // files written before the failure is filed.
        try {
            walker.program(tree, job, &top);
            top.writeFiles(job, names);
        } catch (QUVRunTimeException& ex) {
            top.writeFiles(job, names);
            job.fileFailure(ex);
            std::cerr << "quvdump: walk stopped: " << ex.getDetails() << '\n';
        } catch (const antlr::ANTLRException& ex) {
            top.writeFiles(job, names);
            std::cerr << "quvdump: walk stopped: " << ex.getMessage() << '\n';
        }
    }
    printDiagnostics(std::cout, job);
    return kExitOk;
}

} // namespace quvdump
