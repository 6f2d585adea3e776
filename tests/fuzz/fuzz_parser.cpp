// libFuzzer harness: the parser over any bytes, read once as a whole program
// and once as one expression; every tree is walked and then released.
#include <sstream>

#include "fresh_state.hpp"

namespace {

void parseAndRelease(const std::string& text, void (QUVParser::*startRule)())
{
    startFreshJob();
    QUVCompiler driver("fuzz.e");
    RefQUV_AST tree;
    {
        std::istringstream in(text);
        SourceParser source(in, "fuzz.e");
        try {
            (source.parser.*startRule)();
        } catch (const antlr::ANTLRException&) {
            // A parse that cannot go on; its diagnostic is filed.
        }
        tree = RefQUV_AST(source.parser.getAST());
    }
    // The parser is gone: the tree must stand on its own.
    visitTree(tree);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    silenceFrontEnd();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = sourceText(data, size);
    parseAndRelease(text, &QUVParser::program);
    parseAndRelease(text, &QUVParser::expression);
    return 0;
}
