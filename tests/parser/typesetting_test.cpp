// The typesetting pass, from source text to the typeset text and diagnostics.
#include <sstream>
#include <gtest/gtest.h>

#include "compiler/lexer/lexer.hpp"
#include "parse_helpers.hpp"

namespace {

struct Typeset {
    std::string text;
    std::vector<Diag> diags;
};

Typeset typeset(const std::string& source)
{
    QUVCompiler driver("t.e");
    typesettingMode = true;
    typesetText.clear();
    typesetDepth = 0;
    indexBracketCount = 0;
    std::istringstream in(source);
    SourceParser session(in, "t.e");
    session.parser.typesetProgram();
    Typeset result{typesetText, {}};
    for (const QUVException& ex : QUVException::list())
        result.diags.push_back({ex.getKind(), ex.getNumber(), ex.getLine(), ex.getColumn(), ex.getRule()});
    typesettingMode = false;
    return result;
}

// Types and texts of every token but comments and line ends.
std::vector<std::string> tokens(const std::string& source)
{
    typesettingMode = false;
    std::istringstream in(source);
    QUVSuperLexer lexer(in);
    std::vector<std::string> out;
    for (antlr::RefToken t = lexer.nextToken(); t->getType() != antlr::Token::EOF_TYPE; t = lexer.nextToken())
        out.push_back(quvTokenName(t->getType()) + " " + t->getText());
    return out;
}

struct Row {
    std::string source;
    std::string text;
};

TEST(TypesettingTest, ItemsOfThePass)
{
    const std::vector<Row> rows = {
        {"", ""},
        // Block bracket, the line end after it, a name, and the closing bracket.
        {"[\nx\n]\ny", "\n[\n\tx\n\t\n]\ny"},
        // Blank lines go; a plain token after a line end has no space after it.
        {"a\n\n\nx = 1;\n", "a \nx= 1 ; \n"},
        // An index bracket and the "]" that closes it stay inline.
        {"a[i]\n", "a [i]"},
        {"a[i];", "a [i\n];\n"},
        {"[\n]", "[]"},
        {"[x].\n\n", "[x\n]."},
        {"?[ x ]", "\n?[\n\tx\n]\n"},
        {"* x", "*x "},
        {"[\n// note\nx ]", "\n[\n\t// note\n\tx \n]\n"},
        {"[[x]]", "\n[[x\n]]"},
        // A comment two blocks deep; a "]" before a "]" on a later line.
        {"[\n[\n// c\nx\n]\n]\ny", "\n[\n\t[\n\t\t// c\n\t\tx \n\t\t\n\t]\n]\ny"},
        // A "]" before a "[" on a later line.
        {"[\nx\n]\n\n[\ny\n]", "\n[\n\tx\n\t\n]\n[\n\ty\n\t\n]\n"},
    };
    for (const Row& row : rows) {
        Typeset result = typeset(row.source);
        EXPECT_EQ(result.text, row.text) << row.source;
        EXPECT_TRUE(result.diags.empty()) << row.source;
    }
}

TEST(TypesettingTest, ASecondJobStartsAfresh)
{
    // The first job ends on a bracket, after which a name would get no space.
    typeset("[");
    EXPECT_EQ(typeset("x").text, "x ");
}

TEST(TypesettingTest, TheWholeFileIsWrittenPastAStrayToken)
{
    Typeset result = typeset("a .. b\nc");
    EXPECT_EQ(result.text, "a .. b \nc");
    EXPECT_EQ(result.diags, (std::vector<Diag>{{2, 7, 1, 3, ""}}));
}

TEST(TypesettingTest, TokensAtALineStartAreNotJoined)
{
    const std::vector<Row> rows = {
        {"x\na mod b", "x \na mod b "},
        {"[\nx y\n]", "\n[\n\tx y \n\t\n]\n"},
        {"x\n= => 1", "x \n= => 1 "},
    };
    for (const Row& row : rows) EXPECT_EQ(typeset(row.source).text, row.text) << row.source;
}

TEST(TypesettingTest, CommentsInsideAnIndexAreKept)
{
    Typeset result = typeset("a[ /* first */ i\n// second\n+ 1]\n");
    EXPECT_NE(result.text.find("/* first */"), std::string::npos) << result.text;
    EXPECT_NE(result.text.find("// second\n"), std::string::npos) << result.text;
}

TEST(TypesettingTest, TypesetProgramsLexAsTheirSources)
{
    const std::string dir = std::string(QUV_TEST_DATA) + "/parser2/";
    for (const char* name : {"everything.e", "typeset.e"}) {
        const std::string source = readFile(dir + name);
        Typeset result = typeset(source);
        EXPECT_EQ(tokens(result.text), tokens(source)) << name;
        EXPECT_TRUE(result.diags.empty()) << name;
    }
}

TEST(TypesettingTest, TypesetFileMatchesItsText)
{
    const std::string dir = std::string(QUV_TEST_DATA) + "/parser2/";
    EXPECT_EQ(typeset(readFile(dir + "typeset.e")).text, readFile(dir + "typeset.out"));
}

}  // namespace
