// The compile log's tree text: writeStringTree streams what the tree's own
// toStringTree() builds, byte for byte, on every fixture and on shapes that
// stress its explicit stack; trees too long for the recursive form still print.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "compiler/core/quv_ast.hpp"
#include "compiler/core/job_state.hpp"
#include "compiler/parser/parser.hpp"
#include "tests/support/own_session.hpp"

namespace {

std::string streamed(const antlr::RefAST& tree)
{
    std::ostringstream out;
    writeStringTree(out, tree);
    return out.str();
}

// Parses SOURCE as a program and checks the streamed text against toStringTree,
// for the whole tree and for each of the root's children (a root with siblings
// and children of its own).
// False when the parse left no tree at all.
bool expectSameText(const std::string& source, const std::string& label)
{
    OwnJob driver("t.e");
    std::istringstream in(source);
    SourceParser session(in, "t.e", driver);
    testing::internal::CaptureStdout();
    try {
        session.parser.program();
    } catch (const antlr::ANTLRException&) {
        // The diagnostic is filed; the tree built so far is still compared.
    }
    testing::internal::GetCapturedStdout();
    const antlr::RefAST tree = session.parser.getAST();
    if (!tree)
        return false;
    EXPECT_EQ(streamed(tree), tree->toStringTree()) << label;
    for (antlr::RefAST child = tree->getFirstChild(); child; child = child->getNextSibling())
        EXPECT_EQ(streamed(child), child->toStringTree()) << label;
    return true;
}

std::string readAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string programAround(const std::string& statements)
{
    return "%Prog p == [ ]\n[\n\t%Var [ x, a, v : Int ]\n\t[\n\t\t%Stm [\n" + statements + "\n\t\t]\n\t]\n].\n";
}

TEST(StringTree, EveryFixtureStreamsTheSameText)
{
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(QUV_TEST_DATA)) {
        if (entry.path().extension() != ".e")
            continue;
        if (expectSameText(readAll(entry.path()), entry.path().string()))
            ++files;
    }
    EXPECT_GT(files, 15);
}

TEST(StringTree, NestingAndListsStreamTheSameText)
{
    struct Row {
        const char* label;
        std::string source;
    };
    std::string parens, statements, sum;
    for (int i = 0; i < 100; ++i)
        parens = "(" + (parens.empty() ? std::string("1") : parens) + ")";
    for (int i = 1; i <= 500; ++i)
        statements += "\t\t\tLB = s" + std::to_string(i) + " => $O x = x + 1 mod 7 ^ $OLB = NEXT;\n";
    statements += "\t\t\tLB = e => $OLB = RETURN";
    for (int i = 0; i < 500; ++i)
        sum += "+a";
    const Row rows[] = {
        {"empty program", "%Prog p == [ ] [ ]."},
        {"100 parentheses", programAround("LB = s => $O x = " + parens + " ^ $OLB = RETURN")},
        {"500 statements", programAround(statements)},
        {"500 terms", programAround("LB = s => $O x = 1" + sum + " ^ $OLB = RETURN")},
        {"syntax errors", programAround("LB = s => $O x = ( ^ ] $OLB = RETURN")},
    };
    for (const Row& row : rows)
        EXPECT_TRUE(expectSameText(row.source, row.label)) << row.label;
}

TEST(StringTree, ALongStatementListStreamsWithoutRecursion)
{
    const int count = 80000;
    std::string statements;
    for (int i = 1; i < count; ++i)
        statements += "\t\t\tLB = S" + std::to_string(i) + " => $O x = x + 1 mod 7 ^ $OLB = NEXT ;\n";
    statements += "\t\t\tLB = E => $OLB = RETURN";
    OwnJob driver("t.e");
    std::istringstream in(programAround(statements));
    SourceParser session(in, "t.e", driver);
    session.parser.program();
    const std::string text = streamed(session.parser.getAST());
    // Every statement's label is there once, in order, and the brackets balance.
    size_t opened = 0, closed = 0, at = 0;
    for (size_t p = text.find(" ( "); p != std::string::npos; p = text.find(" ( ", p + 1))
        ++opened;
    for (size_t p = text.find(" )"); p != std::string::npos; p = text.find(" )", p + 1))
        ++closed;
    EXPECT_EQ(opened, closed);
    for (int i = 1; i < count; i += 997) {
        const size_t next = text.find(" S" + std::to_string(i) + " ", at);
        ASSERT_NE(next, std::string::npos) << i;
        at = next;
    }
}

}  // namespace
