// quvbench started from a terminal: what it writes to standard error goes to
// quvbench.log in its settings folder, and the terminal sees only a line of
// its own when the window system cannot be started.
#include <filesystem>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>

#include "tool_run.hpp"

namespace {

namespace fs = std::filesystem;

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

} // namespace
