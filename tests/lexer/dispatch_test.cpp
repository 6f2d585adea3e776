// Which rule each start of a token reaches: the first-character choice and the
// ordered tests on longer lookahead that follow it.

#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/lexer/lexer.hpp"
#include "lex_helpers.hpp"
#include "tests/support/own_session.hpp"

namespace {

const int kEof = 1;

struct DispatchRow {
    const char* source;
    int type;          // type of the first token
    const char* text;  // its text
};

std::ostream& operator<<(std::ostream& out, const DispatchRow& row)
{
    return out << "source \"" << row.source << "\"";
}

class FirstToken : public ::testing::TestWithParam<DispatchRow> {};

TEST_P(FirstToken, TypeAndText)
{
    const DispatchRow& row = GetParam();
    const LexResult result = lexAll(row.source);
    ASSERT_FALSE(result.tokens.empty());
    EXPECT_EQ(result.tokens[0].type, row.type) << row.source;
    EXPECT_EQ(result.tokens[0].text, row.text) << row.source;
    if (row.type != kEof) {
        EXPECT_EQ(result.tokens[0].line, 1);
        EXPECT_EQ(result.tokens[0].column, 1);
    }
    EXPECT_TRUE(result.diags.empty()) << row.source;
}

// Tokens chosen by their first character alone.
INSTANTIATE_TEST_SUITE_P(FirstCharacter, FirstToken, ::testing::Values(
    DispatchRow{"\"s\"", 136, "\"s\""},
    DispatchRow{"&", 91, "&"},
    DispatchRow{"(", 161, "("},
    DispatchRow{")", 267, ")"},
    DispatchRow{"*", 85, "*"},
    DispatchRow{"+", 170, "+"},
    DispatchRow{",", 132, ","},
    DispatchRow{"0", 134, "0"},
    DispatchRow{"9", 134, "9"},
    DispatchRow{":", 131, ":"},
    DispatchRow{";", 87, ";"},
    DispatchRow{"<", 163, "<"},
    DispatchRow{"?", 83, "?"},
    DispatchRow{"A", 155, "A"},
    DispatchRow{"z", 155, "z"},
    DispatchRow{"[", 84, "["},
    DispatchRow{"]", 86, "]"},
    DispatchRow{"^", 268, "^"},
    DispatchRow{"{", 265, "{"},
    DispatchRow{"}", 266, "}"},
    DispatchRow{"~", 92, "~"}));

// Tokens that need more lookahead, in the order the tests are made.
INSTANTIATE_TEST_SUITE_P(LongerLookahead, FirstToken, ::testing::Values(
    DispatchRow{"%Prog", 93, "%Prog"},
    DispatchRow{"%Proc", 156, "%Proc"},
    DispatchRow{"%Pros", 157, "%Pros"},
    DispatchRow{"%Pack", 158, "%Pack"},
    DispatchRow{"%Agt", 160, "%Agt"},
    DispatchRow{"%Alg", 185, "%Alg"},
    DispatchRow{"%Iop/", 153, "%Iop/"},
    DispatchRow{"%Inp/", 152, "%Inp/"},
    DispatchRow{"//c\n", kEof, ""},
    DispatchRow{"/*c*/", kEof, ""},
    DispatchRow{"..", 277, ".."},
    DispatchRow{"==", 94, "=="},
    DispatchRow{"/=", 167, "/="},
    DispatchRow{"=<", 164, "=<"},
    DispatchRow{">=", 166, ">="},
    DispatchRow{"->", 89, "->"},
    DispatchRow{"=>", 187, "=>"},
    DispatchRow{"|~", 208, "|~"},
    DispatchRow{"||", 210, "||"},
    DispatchRow{"!!", 211, "!!"},
    DispatchRow{"|>", 212, "|>"},
    DispatchRow{">>", 206, ">>"},
    DispatchRow{"$C", 169, "$C"},
    DispatchRow{"$V", 168, "$V"},
    DispatchRow{"$U", 209, "$U"},
    DispatchRow{"$O", 272, "$O"},
    DispatchRow{"$T", 137, "$T"},
    DispatchRow{"$F", 138, "$F"},
    DispatchRow{"%MProg", 96, "%MProg"},
    DispatchRow{"%DProg", 95, "%DProg"},
    DispatchRow{"%Father", 159, "%Father"},
    DispatchRow{"%Glob", 133, "%Glob"},
    DispatchRow{"%Type", 103, "%Type"},
    DispatchRow{"%Var", 144, "%Var"},
    DispatchRow{"%Loc", 145, "%Loc"},
    DispatchRow{"%Stm", 186, "%Stm"},
    DispatchRow{"%Chn/", 154, "%Chn/"},
    DispatchRow{".", 88, "."},
    DispatchRow{"=", 162, "="},
    DispatchRow{">", 165, ">"},
    DispatchRow{"-", 143, "-"},
    DispatchRow{"/", 171, "/"},
    DispatchRow{"%", 172, "%"},
    DispatchRow{"!", 90, "!"},
    DispatchRow{"|", 269, "|"},
    DispatchRow{"", kEof, ""}));

struct SequenceRow {
    const char* source;
    std::vector<int> types;  // EOF included
};

std::ostream& operator<<(std::ostream& out, const SequenceRow& row)
{
    return out << "source \"" << row.source << "\"";
}

class TokenSequence : public ::testing::TestWithParam<SequenceRow> {};

TEST_P(TokenSequence, Types)
{
    EXPECT_EQ(typesOf(GetParam().source), GetParam().types) << GetParam().source;
}

INSTANTIATE_TEST_SUITE_P(SharedFirstCharacters, TokenSequence, ::testing::Values(
    SequenceRow{"%x", {172, 155, kEof}},
    SequenceRow{"%PRX", {172, 155, kEof}},
    SequenceRow{"%Px", {172, 155, kEof}},
    SequenceRow{"x % Gain", {155, 172, 155, kEof}},
    SequenceRow{"<=", {163, 162, kEof}},
    SequenceRow{"=<", {164, kEof}},
    SequenceRow{"/ /", {171, 171, kEof}},
    SequenceRow{"!=", {90, 162, kEof}},
    SequenceRow{"<<", {163, 163, kEof}},
    SequenceRow{"&&", {91, 91, kEof}},
    SequenceRow{"**", {85, 85, kEof}},
    SequenceRow{"...", {277, 88, kEof}},
    SequenceRow{"===", {94, 162, kEof}},
    SequenceRow{"|||", {210, 269, kEof}},
    SequenceRow{"!!!", {211, 90, kEof}},
    SequenceRow{">>=", {206, 162, kEof}},
    SequenceRow{"-->", {143, 89, kEof}},
    SequenceRow{"$c$v$u$o$t$f", {169, 168, 209, 272, 137, 138, kEof}}));

TEST(Dispatch, EndOfInputRepeats)
{
    std::istringstream in("");
    OwnJob job("t.e");
    QUVSuperLexer lexer(in, job);
    for (int i = 0; i < 3; ++i) {
        antlr::RefToken token = lexer.nextToken();
        EXPECT_EQ(token->getType(), kEof);
        EXPECT_EQ(token->getLine(), 1);
        EXPECT_EQ(token->getColumn(), 1);
    }
}

// Every byte that starts no token is one error at its place and is skipped.
TEST(Dispatch, BytesThatStartNoToken)
{
    std::set<int> bad = {'#', '\'', '@', '\\', '_', '`', '$', 11, 127};
    for (int b = 0; b <= 8; ++b)
        bad.insert(b);
    for (int b = 14; b <= 31; ++b)
        bad.insert(b);
    for (int b = 128; b <= 255; ++b)
        bad.insert(b);

    for (int b = 0; b <= 255; ++b) {
        if (b == '"')
            continue;  // opens a string literal
        const std::string source = std::string(1, static_cast<char>(b)) + " ";
        const LexResult result = lexAll(source);
        if (bad.count(b)) {
            ASSERT_EQ(result.diags.size(), 1u) << "byte " << b;
            EXPECT_EQ(result.diags[0], (Diag{0, 2, 1, 1})) << "byte " << b;
            EXPECT_EQ(result.tokens.size(), 1u) << "byte " << b;
        } else {
            EXPECT_TRUE(result.diags.empty()) << "byte " << b;
        }
    }
}

} // namespace
