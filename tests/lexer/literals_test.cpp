// Comments, numbers and string literals.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lex_helpers.hpp"

namespace {

const int kEof = 1;
const int kSlComment = 79;
const int kMlComment = 80;
const int kNewline = 81;
const int kSemi = 87;
const int kDot = 88;
const int kStar = 85;
const int kInt = 134;
const int kFloat = 135;
const int kString = 136;
const int kIdent = 155;
const int kDiv = 171;

struct LexRow {
    const char* name;
    std::string source;
    std::vector<Tok> tokens;  // EOF included
    std::vector<Diag> diags;
    bool typesetting;
};

std::ostream& operator<<(std::ostream& out, const LexRow& row)
{
    return out << row.name;
}

class Lexes : public ::testing::TestWithParam<LexRow> {};

TEST_P(Lexes, TokensAndDiagnostics)
{
    const LexRow& row = GetParam();
    const LexResult result = lexAll(row.source, row.typesetting);
    EXPECT_EQ(result.tokens, row.tokens);
    EXPECT_EQ(result.diags, row.diags);
}

std::string rowName(const ::testing::TestParamInfo<LexRow>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Numbers, Lexes, ::testing::Values(
    LexRow{"Integer", "12", {{kInt, "12", 1, 1}, {kEof, "", 1, 3}}, {}, false},
    LexRow{"LeadingZeros", "007", {{kInt, "007", 1, 1}, {kEof, "", 1, 4}}, {}, false},
    LexRow{"Decimal", "1.5", {{kFloat, "1.5", 1, 1}, {kEof, "", 1, 4}}, {}, false},
    LexRow{"DecimalTrailingZero", "12.50", {{kFloat, "12.50", 1, 1}, {kEof, "", 1, 6}}, {}, false},
    LexRow{"DigitsThenLetter", "12a", {{kInt, "12", 1, 1}, {kIdent, "a", 1, 3}, {kEof, "", 1, 4}}, {}, false},
    LexRow{"DigitAtEnd", "x 5", {{kIdent, "x", 1, 1}, {kInt, "5", 1, 3}, {kEof, "", 1, 4}}, {}, false},
    // Two digits and a "." commit to a decimal, which then lacks its digits.
    LexRow{"DecimalWithoutFraction", "12.;", {{kEof, "", 1, 5}}, {{0, 2, 1, 4}}, false},
    LexRow{"Range", "1..5", {{kInt, "5", 1, 4}, {kEof, "", 1, 5}}, {{0, 2, 1, 3}}, false},
    // With one digit the third character decides, and ";" is no digit.
    LexRow{"OneDigitThenDot", "1.;", {{kInt, "1", 1, 1}, {kDot, ".", 1, 2}, {kSemi, ";", 1, 3}, {kEof, "", 1, 4}}, {}, false},
    LexRow{"NoSign", "-1", {{143, "-", 1, 1}, {kInt, "1", 1, 2}, {kEof, "", 1, 3}}, {}, false},
    LexRow{"NoExponent", "1.5e3", {{kFloat, "1.5", 1, 1}, {kIdent, "e3", 1, 4}, {kEof, "", 1, 6}}, {}, false}),
    rowName);

INSTANTIATE_TEST_SUITE_P(Strings, Lexes, ::testing::Values(
    LexRow{"Plain", "\"ab c\"", {{kString, "\"ab c\"", 1, 1}, {kEof, "", 1, 7}}, {}, false},
    LexRow{"EscapedQuote", "\"a\\\"b\"", {{kString, "\"a\\\"b\"", 1, 1}, {kEof, "", 1, 7}}, {}, false},
    LexRow{"Unicode", "\"\\u0041\"", {{kString, "\"\\u0041\"", 1, 1}, {kEof, "", 1, 9}}, {}, false},
    LexRow{"RepeatedU", "\"\\uu0041\"", {{kString, "\"\\uu0041\"", 1, 1}, {kEof, "", 1, 10}}, {}, false},
    LexRow{"Octal", "\"\\101\"", {{kString, "\"\\101\"", 1, 1}, {kEof, "", 1, 7}}, {}, false},
    LexRow{"ShortOctal", "\"\\7\"", {{kString, "\"\\7\"", 1, 1}, {kEof, "", 1, 5}}, {}, false},
    LexRow{"FourThenDecimal", "\"\\48\"", {{kString, "\"\\48\"", 1, 1}, {kEof, "", 1, 6}}, {}, false},
    LexRow{"AllSimpleEscapes", "\"\\n\\r\\t\\b\\f\\'\\\\\"", {{kString, "\"\\n\\r\\t\\b\\f\\'\\\\\"", 1, 1}, {kEof, "", 1, 17}}, {}, false},
    // The bad escape loses its letter; the closing quote opens a new literal.
    LexRow{"BadEscape", "\"\\x41\" ;", {{kInt, "41", 1, 4}, {kEof, "", 1, 10}}, {{0, 2, 1, 3}, {0, 2, 1, 9}}, false},
    LexRow{"ShortUnicode", "\"\\u04g1\"", {{kInt, "1", 1, 7}, {kEof, "", 1, 10}}, {{0, 2, 1, 6}, {0, 2, 1, 9}}, false},
    LexRow{"Unterminated", "\"abc", {{kEof, "", 1, 6}}, {{0, 2, 1, 5}}, false},
    // A line end inside a literal counts as it does outside: CR LF once.
    LexRow{"SpansLines", "\"a\nb\" x\ny", {{kString, "\"a\nb\"", 1, 1}, {kIdent, "x", 2, 4}, {kIdent, "y", 3, 1}, {kEof, "", 3, 2}}, {}, false},
    LexRow{"SpansLinesCrLf", "\"a\r\nb\" x", {{kString, "\"a\r\nb\"", 1, 1}, {kIdent, "x", 2, 4}, {kEof, "", 2, 5}}, {}, false},
    LexRow{"SpansLinesLoneCr", "\"\r\rb\" x", {{kString, "\"\r\rb\"", 1, 1}, {kIdent, "x", 3, 4}, {kEof, "", 3, 5}}, {}, false},
    LexRow{"UnterminatedOverLines", "\"a\nbc", {{kEof, "", 2, 4}}, {{0, 2, 2, 3}}, false},
    LexRow{"GbkBytesPass", "\"\xD6\xD0\xCE\xC4\"", {{kString, "\"\xD6\xD0\xCE\xC4\"", 1, 1}, {kEof, "", 1, 7}}, {}, false}),
    rowName);

INSTANTIATE_TEST_SUITE_P(Comments, Lexes, ::testing::Values(
    LexRow{"LineSkipped", "a // note\nb", {{kIdent, "a", 1, 1}, {kIdent, "b", 2, 1}, {kEof, "", 2, 2}}, {}, false},
    LexRow{"LineKeptWhileTypesetting", "// note\r\nb", {{kSlComment, "// note\r\n", 1, 1}, {kIdent, "b", 2, 1}, {kEof, "", 2, 2}}, {}, true},
    LexRow{"LineEndedByLoneCr", "//x\ry", {{kIdent, "y", 2, 1}, {kEof, "", 2, 2}}, {}, false},
    // Without a line end the comment fails at the end of the input.
    LexRow{"LineAtEndOfInput", "a //x", {{kIdent, "a", 1, 1}, {kEof, "", 1, 7}}, {{0, 2, 1, 6}}, false},
    LexRow{"BlockSkipped", "/* a\r\nb\rc\nd */x", {{kIdent, "x", 4, 5}, {kEof, "", 4, 6}}, {}, false},
    LexRow{"BlockKeptWhileTypesetting", "/* a\n */x", {{kMlComment, "/* a\n */", 1, 1}, {kIdent, "x", 2, 4}, {kEof, "", 2, 5}}, {}, true},
    LexRow{"BlockDoesNotNest", "/* a /* b */ c */", {{kIdent, "c", 1, 14}, {kStar, "*", 1, 16}, {kDiv, "/", 1, 17}, {kEof, "", 1, 18}}, {}, false},
    LexRow{"EmptyBlock", "/**/x", {{kIdent, "x", 1, 5}, {kEof, "", 1, 6}}, {}, false},
    LexRow{"BlockOfOneStar", "/***/x", {{kIdent, "x", 1, 6}, {kEof, "", 1, 7}}, {}, false},
    LexRow{"GbkBytesPass", "/* \xD6\xD0 */// \xCE\xC4\n", {{kEof, "", 2, 1}}, {}, false},
    LexRow{"UnterminatedBlock", "/* ab", {{kEof, "", 1, 7}}, {{0, 2, 1, 6}}, false},
    // A "*" or carriage return among the last two characters ends the loop
    // early; what is left is scanned as ordinary input.
    LexRow{"UnterminatedBlockEndingInCr", "/* a\rb", {{kIdent, "b", 1, 6}, {kEof, "", 1, 7}}, {{0, 2, 1, 5}}, false},
    LexRow{"UnterminatedBlockEndingInStar", "/* a*b", {{kEof, "", 1, 7}}, {{0, 2, 1, 6}}, false},
    LexRow{"OnlyCommentsAndBlankLines", "// a\n\n/* b */\r\n  \t\n", {{kEof, "", 5, 1}}, {}, false},
    LexRow{"TypesettingKeepsEveryLineEnd", "a\r\n\n\r\r", {{kIdent, "a", 1, 1}, {kNewline, "\r\n", 1, 2}, {kNewline, "\n", 2, 1}, {kNewline, "\r", 3, 1}, {kNewline, "\r", 4, 1}, {kEof, "", 5, 1}}, {}, true}),
    rowName);

} // namespace
