// "quvdump tokens" end to end: ".e" fixtures in, token lines and diagnostics out.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace {

struct RunResult {
    std::string out;
    int status;
};

RunResult runQuvdump(const std::string& args)
{
    const std::string command = std::string(QUVDUMP_PATH) + " " + args + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    RunResult result{"", -1};
    if (pipe == nullptr)
        return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

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
