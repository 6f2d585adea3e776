// quvbench started from a terminal: what it writes to standard error goes to
// quvbench.log in its settings folder, and the terminal sees only a line of
// its own when the window system cannot be started. The log keeps earlier
// runs' lines and stays bounded.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "tool_run.hpp"

namespace {

namespace fs = std::filesystem;

// Starts `count` quvbench at once without a display, on the settings folder
// under `home`, and waits for them.
void StartWithoutDisplay(const fs::path& home, int count)
{
    std::string command;
    for (int i = 0; i < count; ++i)
        command += "env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME='" + home.string() + "' QUVBENCH_REGISTRY='" +
                   (home / "registry").string() + "' '" + QUVBENCH_PATH + "' 2>/dev/null & ";
    runCommand(command + "wait");
}

long Lines(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

TEST(QuvBenchErrorLog, WithoutADisplayTheTerminalGetsOneLineAndTheLogTheRest)
{
    const fs::path home = fs::temp_directory_path() / ("quvbench-log-test-" + std::to_string(::getpid()));
    fs::remove_all(home);
    fs::create_directories(home);
    const std::string terminal = (home / "terminal").string();
    const std::string log = (home / "QuvBench" / "quvbench.log").string();
    const RunResult run = runCommand("env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME='" + home.string() +
                                     "' QUVBENCH_REGISTRY='" + (home / "registry").string() + "' '" +
                                     QUVBENCH_PATH + "' 2>'" + terminal + "'");
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(readFile(terminal), "quvbench: the window system could not be started; see " + log + "\n");
    // The toolkit said why, into the log.
    EXPECT_NE(readFile(log), "");
    fs::remove_all(home);
}

// What a start writes stays through the next starts; a log past 1 MiB is
// moved aside whole at a start, also when two IDEs start at once.
TEST(QuvBenchErrorLog, EarlierLinesStayAndTheLogStaysBounded)
{
    const fs::path home = fs::temp_directory_path() / ("quvbench-log-keep-" + std::to_string(::getpid()));
    const std::string log = (home / "QuvBench" / "quvbench.log").string();
    fs::remove_all(home);
    fs::create_directories(home / "QuvBench");
    StartWithoutDisplay(home, 1);
    const long oneStart = Lines(readFile(log));
    ASSERT_GT(oneStart, 0);
    const std::string full = std::string(1 << 20, 'x') + "\n";
    const struct {
        std::string before;
        int starts;
        std::string movedAside, kept;
    } rows[] = {{"earlier\n", 1, "older\n", "earlier\n"}, {full, 2, full, ""}};
    for (const auto& r : rows) {
        std::ofstream(log, std::ios::binary) << r.before;
        std::ofstream(log + ".1", std::ios::binary) << "older\n";
        StartWithoutDisplay(home, r.starts);
        const std::string after = readFile(log);
        EXPECT_EQ(readFile(log + ".1"), r.movedAside);
        EXPECT_EQ(after.substr(0, r.kept.size()), r.kept);
        EXPECT_EQ(Lines(after), Lines(r.kept) + r.starts * oneStart);
    }
    fs::remove_all(home);
}

} // namespace

