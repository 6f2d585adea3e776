// quvdump's tree and expr verbs, end to end on the fixtures: each ".e" file's
// output must match the ".tree" file beside it.
#include <string>

#include <gtest/gtest.h>

#include "parse_helpers.hpp"
#include "tool_run.hpp"

namespace {


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
