// The process runner over /bin/sh children: the byte stream, exit codes,
// stops, children that cannot start, and grandchildren that outlive them.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <chrono>
#include <ctime>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "platform/process_runner.hpp"
#include "process_tree.hpp"

namespace {

using Clock = std::chrono::steady_clock;

struct ChildRun {
    platform::ChildResult result;
    std::string bytes;
    double seconds;
};

// Runs the shell script; onByte sees the bytes so far after each byte.
ChildRun runScript(const std::string& script, platform::ChildControl& control,
              const std::function<void(const std::string&)>& onByte = nullptr) {
    ChildRun run;
    std::mutex mutex;
    const auto start = Clock::now();
    run.result = platform::runPiped({"/bin/sh", "-c", script}, control, [&](char c) {
        std::lock_guard<std::mutex> lock(mutex);
        run.bytes += c;
        if (onByte)
            onByte(run.bytes);
    });
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    return run;
}

// Ended: no such process, or one that only waits to be reaped.
bool gone(pid_t pid) {
    for (int i = 0; i < 200; ++i) {
        std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
        std::string text;
        std::getline(stat, text);
        const size_t close = text.rfind(')');
        if (kill(pid, 0) != 0 || (close != std::string::npos && text.compare(close, 3, ") Z") == 0))
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

struct StreamCase {
    const char* name;
    const char* script;
    std::string bytes;
    int exitCode;
};

TEST(ProcessRunner, DeliversEveryByteAndTheExitCode) {
    const StreamCase cases[] = {
        {"standard error interleaved", "printf a; printf b >&2; printf c; printf d >&2", "abcd", 0},
        {"0xFF is a byte like any other", "printf 'x\\377y\\377'; exit 5", "x\xffy\xff", 5},
        {"standard input is at its end", "cat; echo done", "done\n", 0},
        {"exit code 3", "echo out; exit 3", "out\n", 3},
        {"ended by its own signal", "kill -TERM $$", "", 128 + SIGTERM},
    };
    for (const StreamCase& c : cases) {
        SCOPED_TRACE(c.name);
        platform::ChildControl control;
        const ChildRun run = runScript(c.script, control);
        EXPECT_TRUE(run.result.started);
        EXPECT_EQ(run.bytes, c.bytes);
        EXPECT_EQ(run.result.exitCode, c.exitCode);
        EXPECT_EQ(control.childId(), 0);
    }
}

// More than a pipe holds, with 0xFF all through: nothing is lost and the child never blocks.
TEST(ProcessRunner, ReadsMoreThanThePipeHolds) {
    platform::ChildControl control;
    const ChildRun run = runScript("head -c 300000 /dev/zero | tr '\\0' '\\377'; echo end", control);
    EXPECT_EQ(run.result.exitCode, 0);
    ASSERT_EQ(run.bytes.size(), 300004u);
    EXPECT_EQ(run.bytes.find_first_not_of('\xff'), 300000u);
}

TEST(ProcessRunner, AProgramThatCannotStart) {
    platform::ChildControl control;
    bool called = false;
    const platform::ChildResult r =
        platform::runPiped({"/nonexistent/program"}, control, [&](char) { called = true; });
    EXPECT_FALSE(r.started);
    EXPECT_EQ(r.exitCode, ENOENT);
    EXPECT_FALSE(r.startError.empty());
    EXPECT_FALSE(called);
    const platform::ChildResult plain = platform::runPlain({"no-such-program-here"}, control);
    EXPECT_FALSE(plain.started);
    EXPECT_EQ(plain.exitCode, ENOENT);
}

// No process of the group is left, not even one waiting to be reaped.
bool groupGone(pid_t group) {
    return kill(-group, 0) != 0 && errno == ESRCH;
}

// The first line of the output: the shell's own id, which is its group's.
pid_t firstLineId(const std::string& bytes) {
    return static_cast<pid_t>(std::stol(bytes.substr(0, bytes.find('\n'))));
}

// What the program leaves running when it ends is ended with it, and the
// output is read to the pipe's end: a fast writer cannot hold the run.
TEST(ProcessRunner, WhatTheChildLeavesBehindEndsWithIt) {
    const struct {
        const char* name;
        const char* script;
    } cases[] = {
        {"a fast writer", "#!/bin/sh\necho $$\nyes &\nsleep 0.3\nexit 0\n"},
        {"a quiet sleeper", "#!/bin/sh\necho $$\nsleep 30 &\nexit 0\n"},
        {"one that ignores SIGTERM", "#!/bin/sh\necho $$\n(trap '' TERM; while :; do sleep 1; done) &\nexit 0\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string script = (std::filesystem::temp_directory_path() / "quvrunnerXXXXXX").string();
        std::string path = script;
        const int fd = mkstemp(&path[0]);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(write(fd, c.script, std::strlen(c.script)), static_cast<ssize_t>(std::strlen(c.script)));
        close(fd);
        chmod(path.c_str(), 0700);
        platform::ChildControl control;
        std::string bytes;
        const auto start = Clock::now();
        const platform::ChildResult r = platform::runPiped({path}, control, [&](char c) {
            if (bytes.size() < 64)
                bytes += c;
        });
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        unlink(path.c_str());
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_LT(seconds, 10);
        EXPECT_EQ(control.childId(), 0);
        ASSERT_NE(bytes.find('\n'), std::string::npos);
        EXPECT_TRUE(groupGone(firstLineId(bytes)));
    }
}

// A process that starts a session of its own is no longer in the program's
// group, but the run still ends it, and whatever it started, with the
// program or with a stop; the run reports only after that.
TEST(ProcessRunner, WhatLeftTheGroupEndsWithTheRun) {
    // Each child writes the ids to watch into $f and ends its line, then the
    // program ends (or waits to be stopped).
    const struct {
        const char* name;
        const char* child;
        bool stop;
    } cases[] = {
        {"a new session", "echo $$ >\"$f.x\"; mv \"$f.x\" \"$f\"; exec sleep 30", false},
        {"one that ignores SIGTERM",
         "trap \"\" TERM; echo $$ >\"$f.x\"; mv \"$f.x\" \"$f\"; while :; do sleep 1; done", false},
        {"a session with a child of its own", "sleep 30 & echo $$ $! >\"$f.x\"; mv \"$f.x\" \"$f\"; wait", false},
        {"a daemon whose parent ended", "(sleep 30 & echo $! >\"$f.x\"; mv \"$f.x\" \"$f\") &", false},
        {"a new session, then a stop", "echo $$ >\"$f.x\"; mv \"$f.x\" \"$f\"; exec sleep 30", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        // The file goes before the ids are said: the stop may come at once.
        const std::string script = std::string("f=$(mktemp -u); f=\"$f\" setsid sh -c '") + c.child +
                                   "' & until [ -e \"$f\" ]; do sleep 0.01; done; ids=$(cat \"$f\"); "
                                   "rm -f \"$f\"; echo \"ids $ids\"; " + (c.stop ? "sleep 30" : "exit 0");
        platform::ChildControl control;
        std::thread stopper;
        const ChildRun run = runScript(script, control, [&](const std::string& bytes) {
            if (c.stop && bytes.back() == '\n' && !stopper.joinable())
                stopper = std::thread([&] { EXPECT_TRUE(control.stop()); });
        });
        if (stopper.joinable())
            stopper.join();
        EXPECT_EQ(run.result.exitCode, c.stop ? platform::kStoppedExitCode : 0);
        EXPECT_LT(run.seconds, 10);
        const size_t at = run.bytes.find("ids ");
        ASSERT_NE(at, std::string::npos) << run.bytes;
        std::istringstream ids(run.bytes.substr(at + 4));
        int count = 0;
        for (pid_t id; ids >> id; ++count) {
            EXPECT_TRUE(gone(id)) << id;
            if (!gone(id))
                kill(id, SIGKILL);
        }
        EXPECT_GT(count, 0);
    }
}

// A process that left the group and keeps the pipe open holds the run no longer than a grace.
TEST(ProcessRunner, AWriterOutsideTheGroupDoesNotHoldTheRun) {
    platform::ChildControl control;
    // `yes` may write any amount before the shell's line with its id comes,
    // so every line is looked at, one at a time.
    std::string line, id;
    const auto start = Clock::now();
    const platform::ChildResult r = platform::runPiped(
        {"/bin/sh", "-c", "setsid yes & echo \"id $!\"; exec 1>&- 2>&-; sleep 0.2"}, control, [&](char c) {
            if (c != '\n') {
                line += c;
                return;
            }
            if (id.empty() && line.rfind("id ", 0) == 0)
                id = line.substr(3);
            line.clear();
        });
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ASSERT_FALSE(id.empty());
    kill(static_cast<pid_t>(std::stol(id)), SIGKILL);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_LT(seconds, 10);
}

// A stop after the program's end, while what it left still runs, reaches
// that rest and says so truthfully.
TEST(ProcessRunner, AStopAfterTheEndReachesWhatIsLeft) {
    platform::ChildControl control;
    std::atomic<pid_t> leader{0};
    std::atomic<bool> stopped{false}, childKnown{false};
    std::thread stopper;
    const ChildRun run =
        // The shell ends only once the loop ignores SIGTERM, so the group outlives the first signal.
        runScript("f=$(mktemp -u); echo $$; (trap '' TERM; : >\"$f\"; while :; do sleep 1; done) & "
                  "until [ -e \"$f\" ]; do :; done; rm -f \"$f\"; exit 0",
                  control, [&](const std::string& bytes) {
            if (bytes.back() != '\n' || leader)
                return;
            leader = firstLineId(bytes);
            stopper = std::thread([&] {
                // Once the shell is gone (reaped), its group still holds the loop.
                while (kill(leader, 0) == 0 || errno != ESRCH)
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                childKnown = control.childId() != 0;
                stopped = control.stop();
            });
        });
    stopper.join();
    EXPECT_TRUE(childKnown);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(run.result.exitCode, 0);
    EXPECT_LT(run.seconds, 10);
    EXPECT_TRUE(groupGone(leader));
    EXPECT_TRUE(control.stop());  // nothing is left to end
}

TEST(ProcessRunner, AStopEndsTheChildAndItsChildren) {
    platform::ChildControl control;
    std::atomic<pid_t> grandchild{0};
    std::thread stopper;
    const ChildRun run = runScript("sleep 20 & echo $!; wait", control, [&](const std::string& bytes) {
        if (bytes.back() == '\n' && !grandchild) {
            grandchild = std::stoi(bytes);
            stopper = std::thread([&] { EXPECT_TRUE(control.stop()); });
        }
    });
    stopper.join();
    EXPECT_EQ(run.result.exitCode, platform::kStoppedExitCode);
    EXPECT_LT(run.seconds, 10);
    ASSERT_NE(grandchild, 0);
    EXPECT_TRUE(gone(grandchild));
}

// A child that ignores SIGTERM is killed after the grace.
TEST(ProcessRunner, AStopKillsWhatIgnoresIt) {
    platform::ChildControl control;
    std::thread stopper;
    const ChildRun run = runScript("trap '' TERM; echo $$; while :; do sleep 1; done", control,
                                   [&](const std::string& bytes) {
                                       if (bytes.back() == '\n' && !stopper.joinable())
                                           stopper = std::thread([&] { EXPECT_TRUE(control.stop()); });
                                   });
    stopper.join();
    EXPECT_EQ(run.result.exitCode, platform::kStoppedExitCode);
    EXPECT_LT(run.seconds, 10);
    EXPECT_TRUE(groupGone(firstLineId(run.bytes)));
}

// A stop that comes before the child is known is not lost.
TEST(ProcessRunner, AStopBeforeTheStartEndsTheChildAtOnce) {
    platform::ChildControl control;
    EXPECT_TRUE(control.stop());
    const ChildRun run = runScript("sleep 20", control);
    EXPECT_TRUE(run.result.started);
    EXPECT_EQ(run.result.exitCode, platform::kStoppedExitCode);
    EXPECT_LT(run.seconds, 10);
    const platform::ChildResult plain = platform::runPlain({"/bin/sh", "-c", "sleep 20"}, control);
    EXPECT_EQ(plain.exitCode, platform::kStoppedExitCode);
}

// The wait for a quiet child costs next to no processor time.
TEST(ProcessRunner, WaitsWithoutSpinning) {
    platform::ChildControl control;
    const std::clock_t before = std::clock();
    const ChildRun run = runScript("sleep 0.5", control);
    const double cpu = double(std::clock() - before) / CLOCKS_PER_SEC;
    EXPECT_EQ(run.result.exitCode, 0);
    EXPECT_LT(cpu, 0.2);
}

// A parent that dies without a word (SIGKILL) while its child runs: the
// child and all it started end with it, also what ignores SIGTERM, and so
// does the keeper that watched the parent. The child says its ids first.
TEST(ProcessRunner, NothingOutlivesAParentKilledWhileItsChildRuns) {
    const struct {
        const char* name;
        bool piped;
        const char* script;
    } cases[] = {
        {"a child and its child", true, "sleep 300 & echo $$ $!; wait"},
        {"both ignoring SIGTERM", true, "trap '' TERM; sleep 300 & echo $$ $!; wait"},
        {"a plain child", false, "echo $$; exec sleep 300"},
    };
    adoptOrphans();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int said[2];
        ASSERT_EQ(pipe(said), 0);
        const pid_t parent = fork();
        if (parent == 0) {
            close(said[0]);
            dup2(said[1], 1);
            platform::ChildControl control;
            const std::vector<std::string> argv = {"/bin/sh", "-c", c.script};
            if (c.piped)
                platform::runPiped(argv, control, [](char byte) { (void)!write(1, &byte, 1); });
            else
                platform::runPlain(argv, control);
            _exit(0);
        }
        close(said[1]);
        std::string line;
        char byte;
        while (line.find('\n') == std::string::npos && read(said[0], &byte, 1) == 1)
            line += byte;
        close(said[0]);
        const std::vector<SeenProcess> started = descendantsOf(parent);
        kill(parent, SIGKILL);
        waitpid(parent, nullptr, 0);
        EXPECT_NE(line.find('\n'), std::string::npos);
        EXPECT_EQ(started.size(), c.piped ? 3u : 1u);  // the keeper too
        EXPECT_TRUE(allEnd(started));
    }
}

TEST(ProcessRunner, APlainChildReportsItsExitCode) {
    platform::ChildControl control;
    EXPECT_EQ(platform::runPlain({"/bin/sh", "-c", "exit 7"}, control).exitCode, 7);
}

}  // namespace
