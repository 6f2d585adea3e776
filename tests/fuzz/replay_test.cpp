// Replays every reproducer the fuzzers found (tests/data/fuzz/) through each
// verb of quvdump: each must run to its end, with no crash, sanitizer report or
// hang, whatever diagnostics it files. quvdump runs as a child process, so one
// failing input fails its own row and the rest still run.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tool_run.hpp"

namespace {

std::vector<std::string> reproducers()
{
    std::vector<std::string> paths;
    for (const auto& entry : std::filesystem::directory_iterator(QUV_TEST_DATA "/fuzz"))
        if (entry.path().extension() == ".e")
            paths.push_back(entry.path().string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

TEST(FuzzReproducers, EveryVerbRunsToItsEnd)
{
    const std::vector<std::string> paths = reproducers();
    ASSERT_FALSE(paths.empty());
    for (const std::string& path : paths) {
        for (const char* verb : {"tokens", "tree", "parse", "expr", "typeset"}) {
            const RunResult run = runQuvdump(std::string(verb) + " " + path);
            EXPECT_EQ(run.status, 0) << verb << ' ' << path;
        }
    }
}

} // namespace
