// libFuzzer harness: the parser over any bytes, read once as a whole program
// and once as one expression; every tree is walked and then released. The
// tree of a whole program is translated too, as the compiler would: the tree
// walker and the code generator run over it and write the five output files,
// into a folder of the harness's own that each input overwrites. The folder
// lies in memory where the system offers it, so a disk busy with other work
// cannot push an input past the fuzzer's time limit.
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "compiler/codegen/codegen.hpp"
#include "compiler/treewalk/treewalk.hpp"
#include "fresh_state.hpp"
#include "tests/support/own_session.hpp"

namespace {

std::string outputBase;

void translate(JobState& job, RefQUV_AST tree)
{
    if (!tree)
        return;
    TopFragment top;
    QUVTreeWalk walker;
    try {
        walker.program(antlr::RefAST(tree), job, &top);
    } catch (QUVRunTimeException& failure) {
        // An internal failure ends the walk.
        job.fileFailure(failure);
    } catch (const antlr::ANTLRException&) {
        // A tree nested too deeply to walk; its diagnostic is filed.
    }
    top.writeFiles(job, OutputNames::ofBase(outputBase));
}

void parseAndRelease(const std::string& text, void (QUVParser::*startRule)(), bool walk)
{
    OwnJob driver("fuzz.e");
    RefQUV_AST tree;
    {
        std::istringstream in(text);
        SourceParser source(in, "fuzz.e", driver);
        try {
            (source.parser.*startRule)();
        } catch (const antlr::ANTLRException&) {
            // A parse that cannot go on; its diagnostic is filed.
        }
        tree = RefQUV_AST(source.parser.getAST());
    }
    // The parser is gone: the tree must stand on its own.
    visitTree(tree);
    if (walk)
        translate(driver, tree);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    silenceFrontEnd();
    const std::filesystem::path memory = "/dev/shm";
    const std::filesystem::path parent =
        std::filesystem::is_directory(memory) ? memory : std::filesystem::temp_directory_path();
    std::string folder = (parent / "quv_fuzz_XXXXXX").string();
    if (!mkdtemp(folder.data()))
        std::abort();
    outputBase = folder + "/fuzz";
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text = sourceText(data, size);
    parseAndRelease(text, &QUVParser::program, true);
    parseAndRelease(text, &QUVParser::expression, false);
    return 0;
}
