// The shared token numbering and its name table.

#include <gtest/gtest.h>

#include <string>

#include "compiler/lexer/lexer.hpp"

namespace {

TEST(TokenNameTable, HasExactly273EntriesThenNull)
{
    int count = 0;
    while (QUVTokenNames[count] != nullptr)
        ++count;
    EXPECT_EQ(count, 273);
    EXPECT_EQ(QUVTokenNameCount, 273);
}

struct NameRow {
    int type;
    const char* name;
};

const NameRow kNameSamples[] = {
    {0, "<0>"}, {1, "EOF"}, {2, "<2>"}, {3, "NULL_TREE_LOOKAHEAD"},
    {4, "SYN"}, {10, "NEXT_OR_EXIT"}, {15, "INT"}, {49, "ProCall"}, {50, "ActionItem"},
    {58, "QUVEOF"}, {79, "SL_COMMENT"}, {81, "NEWLINE"}, {82, "TYPESET"},
    {93, "PERCENT_PRO"}, {96, "PERCENT_MPRO"},
    {97, "\"ASYN\""}, {98, "\"Asyn\""}, {99, "\"asyn\""}, {103, "PERCENT_TYPE"},
    {104, "\"INT\""}, {130, "\"array\""}, {131, "COLON"}, {134, "INT_LITERAL"},
    {139, "\"TT\""}, {140, "\"tt\""}, {141, "\"FF\""}, {142, "\"ff\""},
    {155, "IDENT"}, {163, "LT_"}, {172, "MOD"}, {173, "\"MOD\""},
    {201, "\"NewDec\""}, {207, "LBACKET"}, {212, "XOR"},
    {213, "\"SetTimer\""}, {214, "\"SETTIMER\""}, {215, "\"setTimer\""}, {216, "\"settimer\""},
    {226, "\"QUVEOF\""}, {227, "\"QUVEof\""}, {228, "\"quveof\""},
    {264, "\"strlen\""}, {265, "LCURLY"}, {269, "OR"}, {270, "LB"},
    {271, "DOLLA_O_LB"}, {272, "DOLLA_O"},
};

TEST(TokenNameTable, EntriesMatchTheNumbering)
{
    for (const NameRow& row : kNameSamples)
        EXPECT_STREQ(QUVTokenNames[row.type], row.name) << "type " << row.type;
}

const NameRow kLexerOnly[] = {
    {273, "DIGIT"}, {274, "HEX_DIGIT"}, {275, "NUMBER"}, {276, "ESC"},
    {277, "DOTDOT"}, {278, "WS"}, {279, "IDENT_OR_LB"}, {280, "DOLLA_O_OR_LB"},
};

TEST(TokenNameTable, LexerOnlyTypesFollowTheSharedOnes)
{
    for (const NameRow& row : kLexerOnly)
        EXPECT_EQ(quvTokenName(row.type), row.name) << "type " << row.type;
    EXPECT_EQ(quvTokenName(281), "<281>");
    EXPECT_EQ(quvTokenName(-1), "<-1>");
}

TEST(TokenConstants, LexerOnlyRulesHaveFixedNumbers)
{
    EXPECT_EQ(QUVLexerTokenTypes::DIGIT, 273);
    EXPECT_EQ(QUVLexerTokenTypes::HEX_DIGIT, 274);
    EXPECT_EQ(QUVLexerTokenTypes::NUMBER, 275);
    EXPECT_EQ(QUVLexerTokenTypes::ESC, 276);
    EXPECT_EQ(QUVLexerTokenTypes::DOTDOT, 277);
    EXPECT_EQ(QUVLexerTokenTypes::WS, 278);
    EXPECT_EQ(QUVLexerTokenTypes::IDENT_OR_LB, 279);
    EXPECT_EQ(QUVLexerTokenTypes::DOLLA_O_OR_LB, 280);
}

TEST(TokenConstants, SampleOfSharedNumbers)
{
    EXPECT_EQ(QUVLexerTokenTypes::IDENT, 155);
    EXPECT_EQ(QUVLexerTokenTypes::PERCENT_TYPE, 103);
    EXPECT_EQ(QUVLexerTokenTypes::STRING_LITERAL, 136);
    EXPECT_EQ(QUVLexerTokenTypes::LITERAL_SetTimer, 213);
    EXPECT_EQ(QUVLexerTokenTypes::QUVEOF, 58);
    EXPECT_EQ(QUVLexerTokenTypes::LITERAL_QUVEOF, 226);
    EXPECT_EQ(QUVLexerTokenTypes::LBACKET, 207);
    EXPECT_EQ(QUVLexerTokenTypes::DOLLA_O, 272);
}

} // namespace
