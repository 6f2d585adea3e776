// quvdump's tree and expr verbs, end to end on the fixtures: each ".e" file's
// output must match the ".tree" file beside it.
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "parse_helpers.hpp"

namespace {

struct RunResult {
    std::string out;
    int status;
};

RunResult runQuvdump(const std::string& args)
{
    const std::string command = std::string(QUVDUMP_PATH) + " " + args + " 2>/dev/null";
    RunResult result{"", -1};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) result.out.append(buffer, n);
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return result;
}

struct Fixture {
    const char* verb;
    const char* name;
};

class DumpTree : public ::testing::TestWithParam<Fixture> {};

TEST_P(DumpTree, OutputMatchesTheExpectedFile)
{
    const std::string base = std::string(QUV_TEST_DATA) + "/parser/" + GetParam().name;
    RunResult result = runQuvdump(std::string(GetParam().verb) + " " + base + ".e");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.out, readFile(base + ".tree"));
}

INSTANTIATE_TEST_SUITE_P(Fixtures, DumpTree,
                         ::testing::Values(Fixture{"tree", "declarations"},
                                           Fixture{"tree", "recovery"},
                                           Fixture{"tree", "no_equal"},
                                           Fixture{"expr", "expression"}),
                         [](const ::testing::TestParamInfo<Fixture>& info) {
                             return std::string(info.param.verb) + "_" + info.param.name;
                         });

TEST(DumpTreeUsage, MissingFileIsBadUsage)
{
    EXPECT_EQ(runQuvdump("tree /nonexistent/x.e").status, 2);
    EXPECT_EQ(runQuvdump("expr /nonexistent/x.e").status, 2);
}

}  // namespace
