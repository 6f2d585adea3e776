// The programs a tool of the tool chain runs as its steps (make's commands,
// the g++ under cl.exe and link.exe), and their end when the tool is
// stopped: nothing a tool started outlives it.
//
// A step in a process group of its own takes what it starts with it: g++
// passes no signal on to the compiler, assembler or linker it runs, but a
// signal to its group reaches them all. The tool is the subreaper of what its
// steps leave, so that such a group can be waited for to its end.
#pragma once
#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace toolchain {

// The most steps that run at once in one tool.
constexpr unsigned kMaxSteps = 256;

// What a tool does when it is stopped, besides ending its steps. Both run in
// the signal handler and may only make the calls that are safe there
// (unlink, stat, write).
struct StopActions {
    // Before the steps are ended.
    void (*beforeSteps)() = nullptr;
    // Once they have ended; `aStepFailed` when one of this tool's steps
    // ended otherwise than with status 0 (also one that ended before the
    // stop) or had to be killed.
    void (*afterSteps)(bool aStepFailed) = nullptr;
};

// Makes SIGTERM, SIGINT and SIGHUP, those not ignored (as nohup and a shell's
// background jobs leave them), stop this tool: each running step gets the
// signal (one in a group of its own: its whole group) and `grace` to end,
// then SIGKILL; the actions run around that, and the tool ends by the signal.
void endStepsOnStop(std::chrono::milliseconds grace, StopActions actions = StopActions());

// Holds the stop signals back while it lives, so that what a stop reads (the
// steps, what the actions look at) is changed whole.
class StopsHeld {
public:
    StopsHeld();
    ~StopsHeld();
    StopsHeld(const StopsHeld&) = delete;
    StopsHeld& operator=(const StopsHeld&) = delete;

private:
    sigset_t old;
};

// From here on a stop no longer ends this tool: its work is done (a program
// is in place) and it ends with its own status.
void finishWithoutStops();

// Starts argv as a step: its standard output and standard error in `output`
// (-1: ours), in a process group of its own when `ownGroup`, else in ours.
// Its id, or 0 with `error` set when it could not start.
pid_t startStep(const std::vector<std::string>& argv, int output, bool ownGroup, std::string& error);

// Waits for the step `pid` (-1: any step) to end; for one in a group of its
// own, what it left in the group gets SIGTERM. Its id and exit code (128 +
// the signal for one a signal ended), 0 when no step runs.
pid_t awaitStep(pid_t pid, int& exitCode);

// Runs argv as one step with this program's standard streams; its exit code,
// or 2 with a message on standard error when it cannot start.
int runStep(const std::string& tool, const std::vector<std::string>& argv, bool ownGroup);

}  // namespace toolchain
