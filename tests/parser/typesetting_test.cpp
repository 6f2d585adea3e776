// The typesetting pass, from source text to the typeset text and diagnostics.
#include <sstream>
#include <gtest/gtest.h>

#include "compiler/lexer/lexer.hpp"
#include "parse_helpers.hpp"
#include "tests/support/own_session.hpp"

namespace {

struct Typeset {
    std::string text;
    std::vector<Diag> diags;
};

Typeset typeset(const std::string& source)
{
    OwnJob driver("t.e");
    TypesettingPass pass(driver);
    std::istringstream in(source);
    SourceParser session(in, "t.e", driver);
    session.parser.typesetProgram(pass);
    Typeset result{pass.typesetText, {}};
    for (const QUVException& ex : driver.records())
        result.diags.push_back({ex.getKind(), ex.getNumber(), ex.getLine(), ex.getColumn(), ex.getRule()});
    return result;
}

// Types and texts of every token but comments and line ends.
std::vector<std::string> tokens(const std::string& source)
{
    OwnJob driver("t.e");
    std::istringstream in(source);
    QUVSuperLexer lexer(in, driver);
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

// A token at a line start is written without a blank after it; the next one
// gets a blank only where the two would lex into other tokens without it.
TEST(TypesettingTest, ABlankKeepsTokensApartOnlyWhereTheyWouldRunTogether)
{
    const std::vector<Row> rows = {
        // The same tokens either way: written as the rows write them.
        {"x\n$O r", "x \n$Or "},
        {"x\n$c v", "x \n$cv "},
        {"x\n%Prog r", "x \n%Progr "},
        {"x . 5", "x .5 "},
        {"/* m */ * q", "/* m */*q "},
        // Other tokens without the blank: a label, a name, an operator, a
        // comment, a number the lexer cannot read.
        {"x\n$O LB1", "x \n$O LB1 "},
        {"x\n$o lb", "x \n$o lb "},
        {"x\nr LB1", "x \nr LB1 "},
        {"x\n1 2", "x \n1 2 "},
        {"x\n= =", "x \n= = "},
        {"x\n- > y", "x \n- > y "},
        {"x\n/ / y", "x \n/ / y "},
        {"x\n/ /* c */", "x \n/ /* c */"},
        {"x\n% Prog", "x \n% Prog "},
        {"x\n1 . y", "x \n1.y "},
        {"x\n1 . 5", "x \n1. 5 "},
        {"x\n12 . y", "x \n12 .y "},
        {"x . . y", "x . .y "},
    };
    for (const Row& row : rows) EXPECT_EQ(typeset(row.source).text, row.text) << row.source;
}

// Every pair of these tokens, the first at a line start (written without a
// blank after it), comes out of the pass as the same tokens.
TEST(TypesettingTest, TokensWrittenTogetherLexAsTheirSource)
{
    const char* const samples[] = {
        "r", "LB1", "lb", "x_1", "Integer", "1", "12.5", "\"s\"", "/* c */", "$O", "$o", "$OLB2", "$C", "$V",
        "$U", "$T", "$F", "%Prog", "%Iop/", "%Chn/", "%MProg", "..", "==", "/=", "=<", ">=", "->", "=>", "|~", "||",
        "!!", "|>", ">>", ".", "=", ">", "-", "/", "%", "!", "|", ":", ";", ",", "(", ")", "<", "+", "*", "&", "?",
        "^", "~", "{", "}",
    };
    std::string source = "x\n";
    for (const char* first : samples)
        for (const char* second : samples) source += std::string(first) + " " + second + "\n";
    // Three in a row where the lexer looks past the second token.
    const char* const numberParts[] = {"1", "12", ".", "..", "5", "y", "LB1", "$O", "lb"};
    for (const char* first : numberParts)
        for (const char* second : numberParts)
            for (const char* third : numberParts) source += std::string(first) + " " + second + " " + third + "\n";
    Typeset result = typeset(source);
    ASSERT_EQ(tokens(result.text), tokens(source));
    // Not every blank was kept.
    EXPECT_NE(result.text.find("\n$Or "), std::string::npos);
}

TEST(TypesettingTest, APassHoldsTheLexerInTypesettingModeAndPutsItBack)
{
    OwnJob driver("t.e");
    EXPECT_FALSE(driver.typesetting);
    for (bool before : {false, true}) {
        driver.typesetting = before;
        {
            TypesettingPass pass(driver);
            EXPECT_TRUE(driver.typesetting);
        }
        EXPECT_EQ(driver.typesetting, before);
    }
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
