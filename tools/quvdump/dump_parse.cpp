#include <iostream>
#include <memory>
#include <sstream>

#include "compiler/lexer/lexer.hpp"
#include "compiler/parser/parser.hpp"
#include "tools/quvdump/dump_common.hpp"
#include "tools/quvdump/verbs.hpp"

namespace quvdump {

// Parses the whole program and builds its tree like "tree", but prints only the
// diagnostics, so the parse can be timed without the printing.
int dumpParseOnly(const std::string& path)
{
    std::istringstream in;
    if (const int status = openSource(path, in))
        return status;

    // Like "tree", the parser and its tree are left to the end of the process
    // (released only under AddressSanitizer, for its leak check).
    CompileSession session;
    JobState job(session, path);
    std::unique_ptr<SourceParser> source(new SourceParser(in, path, job));
    try {
        source->parser.program();
    } catch (const antlr::ANTLRException& ex) {
        std::cerr << "quvdump: parsing stopped: " << ex.getMessage() << '\n';
    }
    printDiagnostics(std::cout, job);
#ifndef QUV_POOL_DISABLED
    source.release();
#endif
    return kExitOk;
}

} // namespace quvdump
