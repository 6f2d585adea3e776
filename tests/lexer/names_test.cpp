// Identifiers, labels, dollar words, white space and token places.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lex_helpers.hpp"

namespace {

const int kEof = 1;
const int kNewline = 81;
const int kSemi = 87;
const int kInt = 134;
const int kIdent = 155;
const int kLb = 270;
const int kDollaOLb = 271;
const int kDollaO = 272;

struct NamesRow {
    const char* name;
    std::string source;
    std::vector<Tok> tokens;  // EOF included
    std::vector<Diag> diags;
};

std::ostream& operator<<(std::ostream& out, const NamesRow& row)
{
    return out << row.name;
}

class Names : public ::testing::TestWithParam<NamesRow> {};

TEST_P(Names, TokensAndDiagnostics)
{
    const NamesRow& row = GetParam();
    const LexResult result = lexAll(row.source);
    EXPECT_EQ(result.tokens, row.tokens);
    EXPECT_EQ(result.diags, row.diags);
}

std::string rowName(const ::testing::TestParamInfo<NamesRow>& info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Labels, Names, ::testing::Values(
    NamesRow{"LabelBeforeBlank", "LB12 ", {{kLb, "LB12", 1, 1}, {kEof, "", 1, 6}}, {}},
    NamesRow{"LabelBeforeSemi", "Lb3;", {{kLb, "Lb3", 1, 1}, {kSemi, ";", 1, 4}, {kEof, "", 1, 5}}, {}},
    NamesRow{"BarePrefix", "lb ", {{kLb, "lb", 1, 1}, {kEof, "", 1, 4}}, {}},
    NamesRow{"FollowedByLetter", "LB12x", {{kIdent, "LB12x", 1, 1}, {kEof, "", 1, 6}}, {}},
    NamesRow{"PrefixThenLetter", "LBx", {{kIdent, "LBx", 1, 1}, {kEof, "", 1, 4}}, {}},
    NamesRow{"FollowedByUnderscore", "LB_1", {{kIdent, "LB_1", 1, 1}, {kEof, "", 1, 5}}, {}},
    NamesRow{"MixedPrefix", "lB1 ", {{kIdent, "lB1", 1, 1}, {kEof, "", 1, 5}}, {}},
    // The label test needs one character after the label.
    NamesRow{"AtEndOfInput", "LB12", {{kIdent, "LB12", 1, 1}, {kEof, "", 1, 5}}, {}},
    NamesRow{"BeforeHighByte", "LB7\xB0", {{kLb, "LB7", 1, 1}, {kEof, "", 1, 5}}, {{0, 2, 1, 4}}},
    NamesRow{"OnNextLine", "x\nLB1\n", {{kIdent, "x", 1, 1}, {kLb, "LB1", 2, 1}, {kEof, "", 3, 1}}, {}}),
    rowName);

INSTANTIATE_TEST_SUITE_P(DollarWords, Names, ::testing::Values(
    NamesRow{"NoLongerForm", "$Cx", {{169, "$C", 1, 1}, {kIdent, "x", 1, 3}, {kEof, "", 1, 4}}, {}},
    NamesRow{"OWithLabel", "$OLB3 ", {{kDollaOLb, "$OLB3", 1, 1}, {kEof, "", 1, 7}}, {}},
    NamesRow{"OWithBarePrefix", "$oLb", {{kDollaOLb, "$oLb", 1, 1}, {kEof, "", 1, 5}}, {}},
    // No check of what follows the label.
    NamesRow{"OLabelThenLetter", "$OLB3x", {{kDollaOLb, "$OLB3", 1, 1}, {kIdent, "x", 1, 6}, {kEof, "", 1, 7}}, {}},
    NamesRow{"OThenMixedPrefix", "$OlB", {{kDollaO, "$O", 1, 1}, {kIdent, "lB", 1, 3}, {kEof, "", 1, 5}}, {}},
    NamesRow{"OThenL", "$OLx", {{kDollaO, "$O", 1, 1}, {kIdent, "Lx", 1, 3}, {kEof, "", 1, 5}}, {}},
    NamesRow{"OtherLetter", "$x1", {{kIdent, "x1", 1, 2}, {kEof, "", 1, 4}}, {{0, 2, 1, 1}}}),
    rowName);

INSTANTIATE_TEST_SUITE_P(Places, Names, ::testing::Values(
    NamesRow{"TabIsOneColumn", "\tx\t\ty", {{kIdent, "x", 1, 2}, {kIdent, "y", 1, 5}, {kEof, "", 1, 6}}, {}},
    NamesRow{"CrLfIsOneLine", "a\r\nb", {{kIdent, "a", 1, 1}, {kIdent, "b", 2, 1}, {kEof, "", 2, 2}}, {}},
    NamesRow{"LoneCrIsOneLine", "a\rb", {{kIdent, "a", 1, 1}, {kIdent, "b", 2, 1}, {kEof, "", 2, 2}}, {}},
    NamesRow{"LfCrIsTwoLines", "a\n\rb", {{kIdent, "a", 1, 1}, {kIdent, "b", 3, 1}, {kEof, "", 3, 2}}, {}},
    NamesRow{"FormFeedIsBlank", "a\fb", {{kIdent, "a", 1, 1}, {kIdent, "b", 1, 3}, {kEof, "", 1, 4}}, {}},
    NamesRow{"VerticalTabIsNotBlank", "a\vb", {{kIdent, "a", 1, 1}, {kIdent, "b", 1, 3}, {kEof, "", 1, 4}}, {{0, 2, 1, 2}}},
    NamesRow{"LongIdentifier", std::string(300, 'q'), {{kIdent, std::string(300, 'q'), 1, 1}, {kEof, "", 1, 301}}, {}},
    NamesRow{"NoHighBytesInNames", "ab\xC4\xE3", {{kIdent, "ab", 1, 1}, {kEof, "", 1, 5}}, {{0, 2, 1, 3}, {0, 2, 1, 4}}}),
    rowName);

TEST(Typesetting, LineEndsBecomeTokensOnlyWhileSet)
{
    EXPECT_EQ(typesOf("\n\n", false), (std::vector<int>{kEof}));
    EXPECT_EQ(typesOf("\n\n", true), (std::vector<int>{kNewline, kNewline, kEof}));
    EXPECT_EQ(typesOf("a \t b", true), (std::vector<int>{kIdent, kIdent, kEof}));
}

} // namespace
