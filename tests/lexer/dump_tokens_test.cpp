// "quvdump tokens" end to end: ".e" fixtures in, token lines and diagnostics out.

#include <gtest/gtest.h>

#include <string>

#include "tool_run.hpp"

namespace {

const std::string kData = std::string(QUV_TEST_DATA) + "/lexer/";

class DumpTokens : public ::testing::TestWithParam<const char*> {};

// Each fixture NAME.e has its expected output in NAME.tokens.
TEST_P(DumpTokens, MatchesExpectedOutput)
{
    const std::string name = GetParam();
    const RunResult result = runQuvdump("tokens " + kData + name + ".e");
    EXPECT_EQ(result.status, 0);
    const std::string expected = readFile(kData + name + ".tokens");
    ASSERT_FALSE(expected.empty()) << name;
    EXPECT_EQ(result.out, expected);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DumpTokens,
                         ::testing::Values("program", "bad_bytes", "escaped_text"));

TEST(DumpTokensUsage, MissingFileIsAUsageError)
{
    const RunResult result = runQuvdump("tokens " + kData + "no_such_file.e");
    EXPECT_EQ(result.status, 2);
    EXPECT_EQ(result.out, "");
}

TEST(DumpTokensUsage, BadArgumentsAreUsageErrors)
{
    EXPECT_EQ(runQuvdump("").status, 2);
    EXPECT_EQ(runQuvdump("tokens").status, 2);
    EXPECT_EQ(runQuvdump("nosuchverb " + kData + "program.e").status, 2);
    EXPECT_EQ(runQuvdump("tokens a.e b.e").status, 2);
}

} // namespace
