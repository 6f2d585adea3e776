// Replays every reproducer the front end's fuzzers found (tests/data/fuzz/*.e;
// the other harnesses' own, under tests/data/fuzz/HARNESS/, replay in
// scripts_test.cpp) through each verb of quvdump, translation included: each must run to its end, with no crash, sanitizer report or
// hang, whatever diagnostics it files. The fuzzers allow an input one second;
// here, under the sanitizers of the test build and beside other tests, ten
// seconds still tell a linear run from the exponential ones they found. quvdump runs as a child process, so one
// failing input fails its own row and the rest still run.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
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
    // A translation writes its files beside the source: each gets a copy in
    // a folder that goes with the test.
    const TempFolder folder("quv_replay_");
    for (const std::string& path : paths) {
        const std::string copy = folder / std::filesystem::path(path).filename().string();
        std::filesystem::copy_file(path, copy, std::filesystem::copy_options::overwrite_existing);
        for (const char* verb : {"tokens", "tree", "parse", "expr", "typeset", "translate"}) {
            const auto start = std::chrono::steady_clock::now();
            const bool translating = std::string(verb) == "translate";
            const RunResult run = runQuvdump(std::string(verb) + " " + (translating ? copy : path));
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            EXPECT_EQ(run.status, 0) << verb << ' ' << path;
            EXPECT_LT(took.count(), 10.0) << verb << ' ' << path;
        }
    }
}

} // namespace
