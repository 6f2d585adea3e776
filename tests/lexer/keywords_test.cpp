// Keywords and section keywords: only the listed spellings count.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lex_helpers.hpp"

namespace {

const int kEof = 1;
const int kIdent = 155;

struct KeywordRow {
    const char* spelling;
    int type;
};

// Every spelling of the keyword table, each with its own type.
const KeywordRow kKeywords[] = {
    {"ASYN", 97}, {"Asyn", 98}, {"asyn", 99},
    {"SYN", 100}, {"Syn", 101}, {"syn", 102},
    {"INT", 104}, {"Int", 105}, {"int", 106},
    {"FLOAT", 107}, {"Float", 108}, {"float", 109},
    {"STRING", 110}, {"String", 111}, {"string", 112},
    {"BOOL", 113}, {"Bool", 114}, {"bool", 115},
    {"LOGIC", 116}, {"Logic", 117}, {"logic", 118},
    {"POINT", 119}, {"Point", 120}, {"point", 121},
    {"UNION", 122}, {"Union", 123}, {"union", 124},
    {"RECORD", 125}, {"Record", 126}, {"record", 127},
    {"ARRAY", 128}, {"Array", 129}, {"array", 130},
    {"TT", 139}, {"tt", 140},
    {"FF", 141}, {"ff", 142},
    {"NM", 146}, {"Nm", 147}, {"nm", 148},
    {"STREAM", 149}, {"Stream", 150}, {"stream", 151},
    {"MOD", 173}, {"Mod", 174}, {"mod", 175},
    {"IF", 176}, {"If", 177}, {"if", 178},
    {"THEN", 179}, {"Then", 180}, {"then", 181},
    {"ELSE", 182}, {"Else", 183}, {"else", 184},
    {"STOP", 188}, {"Stop", 189}, {"stop", 190},
    {"RETURN", 191}, {"Return", 192}, {"return", 193},
    {"EXIT", 194}, {"Exit", 195}, {"exit", 196},
    {"NEXT", 197}, {"Next", 198}, {"next", 199},
    {"NEWDEC", 200}, {"NewDec", 201}, {"newdec", 202},
    {"DELETE", 203}, {"Delete", 204}, {"delete", 205},
    {"SetTimer", 213}, {"SETTIMER", 214}, {"setTimer", 215}, {"settimer", 216},
    {"FOPEN", 217}, {"Fopen", 218}, {"fopen", 219},
    {"FCLOSE", 220}, {"Fclose", 221}, {"fclose", 222},
    {"FEOF", 223}, {"Feof", 224}, {"feof", 225},
    {"QUVEOF", 226}, {"QUVEof", 227}, {"quveof", 228},
    {"FREAD", 229}, {"Fread", 230}, {"fread", 231},
    {"READ", 232}, {"Read", 233}, {"read", 234},
    {"FWRITE", 235}, {"Fwrite", 236}, {"fwrite", 237},
    {"WRITE", 238}, {"Write", 239}, {"write", 240},
    {"FWRITELN", 241}, {"Fwriteln", 242}, {"fwriteln", 243},
    {"WRITELN", 244}, {"Writeln", 245}, {"writeln", 246},
    {"GETC", 247}, {"Getc", 248}, {"getc", 249},
    {"GETCHAR", 250}, {"Getchar", 251}, {"getchar", 252},
    {"UNGETC", 253}, {"Ungetc", 254}, {"ungetc", 255},
    {"UNGETCHAR", 256}, {"Ungetchar", 257}, {"ungetchar", 258},
    {"ITOC", 259}, {"Itoc", 260}, {"itoc", 261},
    {"STRLEN", 262}, {"Strlen", 263}, {"strlen", 264},
};

TEST(KeywordTable, EverySpellingHasItsOwnType)
{
    EXPECT_EQ(sizeof kKeywords / sizeof kKeywords[0], 125u);
    for (const KeywordRow& row : kKeywords) {
        const LexResult result = lexAll(std::string(row.spelling) + " ");
        ASSERT_EQ(result.tokens.size(), 2u) << row.spelling;
        EXPECT_EQ(result.tokens[0], (Tok{row.type, row.spelling, 1, 1}));
    }
}

// The lookup needs no character after the name.
TEST(KeywordTable, KeywordAtEndOfInput)
{
    EXPECT_EQ(typesOf("then"), (std::vector<int>{181, kEof}));
}

class NotAKeyword : public ::testing::TestWithParam<const char*> {};

TEST_P(NotAKeyword, IsAnIdentifier)
{
    const LexResult result = lexAll(GetParam());
    ASSERT_EQ(result.tokens.size(), 2u) << GetParam();
    EXPECT_EQ(result.tokens[0], (Tok{kIdent, GetParam(), 1, 1}));
    EXPECT_TRUE(result.diags.empty());
}

INSTANTIATE_TEST_SUITE_P(OtherLetterCases, NotAKeyword, ::testing::Values(
    "iF", "IFx", "Settimer", "SetTIMER", "Tt", "tT", "Ff", "Newdec", "NEWdec",
    "Quveof", "QuvEof", "sYn", "INt", "wRITE", "Strlen2", "if_", "Lbx", "PROG"));

// Section keywords: each rule accepts its listed spellings only.
struct SectionRow {
    const char* spelling;
    int type;
};

const SectionRow kSections[] = {
    {"%Prog", 93}, {"%PROG", 93}, {"%prog", 93},
    {"%MProg", 96}, {"%MPROG", 96}, {"%Mprog", 96}, {"%mprog", 96},
    {"%DProg", 95}, {"%DPROG", 95}, {"%Dprog", 95}, {"%dprog", 95},
    {"%Father", 159}, {"%FATHER", 159}, {"%father", 159},
    {"%Glob", 133}, {"%GLOB", 133}, {"%glob", 133},
    {"%Type", 103}, {"%TYPE", 103}, {"%type", 103},
    {"%Var", 144}, {"%VAR", 144}, {"%var", 144},
    {"%Loc", 145}, {"%LOC", 145}, {"%loc", 145},
    {"%Pack", 158}, {"%PACK", 158}, {"%pack", 158},
    {"%Agt", 160}, {"%AGT", 160}, {"%agt", 160},
    {"%Proc", 156}, {"%PROC", 156}, {"%proc", 156},
    {"%Pros", 157}, {"%PROS", 157}, {"%pros", 157},
    {"%Alg", 185}, {"%ALG", 185}, {"%alg", 185},
    {"%Stm", 186}, {"%STM", 186}, {"%stm", 186},
    {"%Chn/", 154}, {"%CHN/", 154}, {"%chn/", 154},
    {"%Iop/", 153}, {"%IOP/", 153}, {"%iop/", 153},
    {"%Inp/", 152}, {"%INP/", 152}, {"%inp/", 152},
};

TEST(SectionKeywords, EverySpellingIsOneToken)
{
    for (const SectionRow& row : kSections) {
        const LexResult result = lexAll(std::string(row.spelling) + " ");
        ASSERT_EQ(result.tokens.size(), 2u) << row.spelling;
        EXPECT_EQ(result.tokens[0], (Tok{row.type, row.spelling, 1, 1}));
        EXPECT_TRUE(result.diags.empty()) << row.spelling;
    }
}

// A mixed spelling is reported where it leaves the chosen form; the
// characters before that are lost and scanning resumes after it.
struct MixedRow {
    const char* source;
    Diag diag;
    std::vector<Tok> tokens;  // EOF included
};

class MixedSection : public ::testing::TestWithParam<MixedRow> {};

TEST_P(MixedSection, ErrorThenResume)
{
    const MixedRow& row = GetParam();
    const LexResult result = lexAll(row.source);
    ASSERT_EQ(result.diags.size(), 1u) << row.source;
    EXPECT_EQ(result.diags[0], row.diag) << row.source;
    EXPECT_EQ(result.tokens, row.tokens) << row.source;
}

INSTANTIATE_TEST_SUITE_P(SectionKeywords, MixedSection, ::testing::Values(
    MixedRow{"%pROG", {0, 2, 1, 3}, {{kIdent, "OG", 1, 4}, {kEof, "", 1, 6}}},
    MixedRow{"%pRoG", {0, 2, 1, 3}, {{kIdent, "oG", 1, 4}, {kEof, "", 1, 6}}},
    MixedRow{"%PrOG", {0, 2, 1, 4}, {{kIdent, "G", 1, 5}, {kEof, "", 1, 6}}},
    MixedRow{"%mProg", {0, 2, 1, 3}, {{kIdent, "rog", 1, 4}, {kEof, "", 1, 7}}},
    MixedRow{"%MPRog", {0, 2, 1, 5}, {{kIdent, "g", 1, 6}, {kEof, "", 1, 7}}},
    MixedRow{"%Chn x", {0, 2, 1, 5}, {{kIdent, "x", 1, 6}, {kEof, "", 1, 7}}},
    MixedRow{"%Gx", {0, 2, 1, 1}, {{kIdent, "Gx", 1, 2}, {kEof, "", 1, 4}}},
    MixedRow{"%Type_", {0, 2, 1, 6}, {{103, "%Type", 1, 1}, {kEof, "", 1, 7}}}));

TEST(SectionKeywords, EndAfterTheirLastCharacter)
{
    EXPECT_EQ(lexAll("%Globx").tokens,
              (std::vector<Tok>{{133, "%Glob", 1, 1}, {kIdent, "x", 1, 6}, {kEof, "", 1, 7}}));
    EXPECT_EQ(lexAll("%Prog2").tokens,
              (std::vector<Tok>{{93, "%Prog", 1, 1}, {134, "2", 1, 6}, {kEof, "", 1, 7}}));
}

} // namespace
