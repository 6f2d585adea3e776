// Files and the console from a source through "quvdump translate" to a
// running program: read loops that end.
#include <gtest/gtest.h>

#include "tool_run.hpp"
#include "walk_helpers.hpp"

namespace {

const std::string kRunData = std::string(QUV_TEST_DATA) + "/treewalk/run/";

// A read loop on a file in a folder that does not exist, which must not run at all.
TEST(StreamsTest, WrittenProgramsRun)
{
    struct Row {
        const char* name;
        std::string out;
    };
    const Row rows[] = {
        {"read_loop", "0\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Translation t = translate(row.name, readFile(kRunData + row.name + ".e"));
        EXPECT_EQ(t.diagLines, "");
        ProgramRun run = buildAndRun(t, row.name);
        ASSERT_EQ(run.compilerOutput, "");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, row.out);
    }
}

}  // namespace
