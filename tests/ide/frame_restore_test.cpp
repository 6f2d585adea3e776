// The first start of quvbench on an empty settings folder under a window
// manager that maximises the frame (openbox, on an X display of the test's
// own): un-maximised by a double click on its title bar, the frame takes
// three quarters of the screen in its middle, and that is the rectangle kept
// at exit. Where no such window manager can run, the test says so and skips.
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "ide/model/frame_placement.hpp"
#include "platform/private_profile.hpp"
#include "tool_run.hpp"

namespace {

const int kScreenWidth = 1280, kScreenHeight = 1024;

// A program started in the background, ended with its process group when the object goes.
struct Started {
    pid_t pid = -1;
    ~Started() { End(); }
    void End()
    {
        if (pid <= 0)
            return;
        ::kill(-pid, SIGTERM);
        ::kill(pid, SIGTERM);
        ::waitpid(pid, nullptr, 0);
        pid = -1;
    }
    // Whether it ended by itself within about `rounds` tenths of a second.
    bool Ended(int rounds)
    {
        for (int i = 0; i < rounds; ++i) {
            if (::waitpid(pid, nullptr, WNOHANG) == pid) {
                pid = -1;
                return true;
            }
            ::usleep(100000);
        }
        return false;
    }
};

// Starts `command` through the shell in a process group of its own, its
// standard output to `out` when given.
void Start(Started& started, const std::string& command, int out = -1)
{
    started.pid = ::fork();
    if (started.pid == 0) {
        ::setpgid(0, 0);
        if (out >= 0)
            ::dup2(out, 1);
        ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
}

bool Installed(const std::string& program)
{
    return runCommand("command -v " + program + " >/dev/null 2>&1").status == 0;
}

// Polls `check` about ten times a second, at most `rounds` times.
template <typename F>
bool Within(int rounds, F check)
{
    for (int i = 0; i < rounds; ++i) {
        if (check())
            return true;
        ::usleep(100000);
    }
    return check();
}

// A number xwininfo prints after `label` for the window.
int WindowValue(const std::string& display, const std::string& window, const std::string& label)
{
    const std::string out = runCommand("DISPLAY=" + display + " xwininfo -id " + window + " 2>/dev/null").out;
    const size_t at = out.find(label);
    return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + label.size());
}

TEST(FrameRestore, TheFirstRestoreOnAnEmptySettingsFolderIsThreeQuartersOfTheScreenAndIsKept)
{
    if (!Installed("openbox") || !Installed("Xvfb") || !Installed("xdotool") || !Installed("xwininfo"))
        GTEST_SKIP() << "no window manager that maximises (openbox, with Xvfb, xdotool and xwininfo) is installed";
    const TempFolder home("quvbench-frame-restore-");
    int pipeFds[2];
    ASSERT_EQ(::pipe(pipeFds), 0);
    Started xvfb;
    Start(xvfb, "exec Xvfb -displayfd 1 -screen 0 " + std::to_string(kScreenWidth) + "x" +
                    std::to_string(kScreenHeight) + "x24 -nolisten tcp 2>/dev/null",
          pipeFds[1]);
    ::close(pipeFds[1]);
    // Xvfb writes its display's number and a line end once it is ready.
    std::string number;
    for (char c = 0; number.size() < 8 && ::read(pipeFds[0], &c, 1) == 1 && c != '\n';)
        number += c;
    ::close(pipeFds[0]);
    ASSERT_FALSE(number.empty() || number[0] < '0' || number[0] > '9') << "Xvfb did not start";
    const std::string display = ":" + std::to_string(std::atoi(number.c_str()));
    const std::string env = "DISPLAY=" + display + " ";

    Started wm;
    Start(wm, "exec env " + env + "openbox >/dev/null 2>&1");
    if (!Within(100, [&] {
            return runCommand(env + "xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null").out.find("window id") !=
                   std::string::npos;
        }))
        GTEST_SKIP() << "openbox did not start on " << display;

    const std::string settings = "XDG_CONFIG_HOME='" + home.path + "' QUVBENCH_REGISTRY='" + home.path + "/registry' ";
    ASSERT_EQ(runCommand(settings + "'" QUVREG_PATH "' '" QUVPAD_PATH "' >/dev/null 2>&1").status, 0);
    const std::string source = home / "start.e";
    ASSERT_EQ(runCommand("printf '%%Prog p;\\n' >'" + source + "'").status, 0);
    Started ide;
    Start(ide, "exec env " + env + settings + "'" QUVBENCH_PATH "' '" + source + "' >/dev/null 2>&1");

    std::string frame;
    const auto maximised = [&] {
        return runCommand(env + "xprop -id " + frame + " _NET_WM_STATE 2>/dev/null").out.find("MAXIMIZED_HORZ") !=
               std::string::npos;
    };
    ASSERT_TRUE(Within(300, [&] {
        std::istringstream(runCommand(env + "xdotool search --onlyvisible --name '^QuvBench$' 2>/dev/null").out) >>
            frame;
        return !frame.empty() && maximised();
    })) << "the frame did not show maximised";

    // A double click on the title bar, above the frame's client area.
    const int titleY = WindowValue(display, frame, "Absolute upper-left Y:") / 2;
    for (int attempt = 0; attempt < 3 && maximised(); ++attempt) {
        runCommand(env + "xdotool mousemove " + std::to_string(kScreenWidth / 2) + " " + std::to_string(titleY) +
                   " sleep 0.5 click --repeat 2 --delay 150 1 >/dev/null 2>&1");
        Within(20, [&] { return !maximised(); });
    }
    ASSERT_FALSE(maximised()) << "the double click on the title bar did not restore the frame";
    const ide::FrameRect fair = ide::RestoredFrameRect(ide::FrameRect(), {0, 0, kScreenWidth, kScreenHeight});
    // The client area is the frame less the window manager's borders and title.
    EXPECT_TRUE(Within(50, [&] {
        const int width = WindowValue(display, frame, "Width:");
        return width > fair.width - 40 && width <= fair.width;
    })) << WindowValue(display, frame, "Width:") << " wide, not " << fair.width;
    EXPECT_GT(WindowValue(display, frame, "Height:"), fair.height - 80);
    EXPECT_NEAR(WindowValue(display, frame, "Absolute upper-left X:"), fair.x, 20);

    // Closed as a user closes it: the rectangle kept is the one shown.
    runCommand(env + "xdotool mousemove " + std::to_string(kScreenWidth / 2) + " " +
               std::to_string(kScreenHeight / 2) + " click 1 sleep 0.3 key alt+F4 >/dev/null 2>&1");
    ASSERT_TRUE(ide.Ended(300)) << "quvbench did not end on Alt+F4";
    EXPECT_EQ(ide::LoadFramePlacement(platform::PrivateProfileFile(home.path + "/QuvBench/QuvBench.ini")), fair);
}

} // namespace
