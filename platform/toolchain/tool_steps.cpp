#include "platform/toolchain/tool_steps.hpp"

#include <sys/prctl.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <iostream>

#include "platform/process_runner.hpp"

namespace toolchain {
namespace {

// The running steps (id 0: a free place), kept where the signal handler
// reads them; changed only while the stop signals are held.
struct Step {
    pid_t pid;
    bool ownGroup;
};
Step steps[kMaxSteps];
volatile sig_atomic_t aStepFailed = 0;
long graceMilliseconds = 0;
StopActions stopActions;

const int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP};

sigset_t stopSignals() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : kStopSignals)
        sigaddset(&set, s);
    return set;
}

long long nowMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

void sleepMilliseconds(long milliseconds) {
    timespec step{0, milliseconds * 1000000L};
    while (nanosleep(&step, &step) != 0 && errno == EINTR) {
    }
}

void noteEnd(int status) {
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        aStepFailed = 1;
}

void signalStep(const Step& step, int signal) {
    kill(step.ownGroup ? -step.pid : step.pid, signal);
}

// Reaps what of the step has ended; true once nothing of it is left. The
// members of a step's group that lost their parent are ours to reap (we are
// their subreaper), so an emptied group no longer answers a signal; until
// then its id cannot be given to another group.
bool stepGone(const Step& step) {
    int status = 0;
    if (!step.ownGroup) {
        const pid_t reaped = waitpid(step.pid, &status, WNOHANG);
        if (reaped == step.pid)
            noteEnd(status);
        return reaped == step.pid || (reaped < 0 && errno == ECHILD);
    }
    for (pid_t reaped; (reaped = waitpid(-step.pid, &status, WNOHANG)) > 0;)
        if (reaped == step.pid)
            noteEnd(status);
    return kill(-step.pid, 0) != 0 && errno == ESRCH;
}

// Only calls that are safe in a signal handler. The stop signals are held
// meanwhile; the one that came ends the tool once the handler returns.
extern "C" void onStop(int signal) {
    if (stopActions.beforeSteps)
        stopActions.beforeSteps();
    for (const Step& step : steps)
        if (step.pid != 0)
            signalStep(step, signal);
    bool gone[kMaxSteps] = {};
    const long long killAt = nowMilliseconds() + graceMilliseconds;
    bool killed = false;
    for (;;) {
        bool left = false;
        for (unsigned i = 0; i < kMaxSteps; ++i) {
            if (steps[i].pid != 0 && !gone[i])
                gone[i] = stepGone(steps[i]);
            left = left || (steps[i].pid != 0 && !gone[i]);
        }
        const long long now = nowMilliseconds();
        // What even SIGKILL does not end within a second grace is left.
        if (!left || now >= killAt + graceMilliseconds)
            break;
        if (!killed && now >= killAt) {
            for (unsigned i = 0; i < kMaxSteps; ++i)
                if (steps[i].pid != 0 && !gone[i])
                    signalStep(steps[i], SIGKILL);
            aStepFailed = 1;
            killed = true;
        }
        sleepMilliseconds(5);
    }
    if (stopActions.afterSteps)
        stopActions.afterSteps(aStepFailed != 0);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    sigaction(signal, &byDefault, nullptr);
    raise(signal);
}

}  // namespace

void endStepsOnStop(std::chrono::milliseconds grace, StopActions actions) {
    graceMilliseconds = static_cast<long>(grace.count());
    stopActions = actions;
    struct sigaction action {};
    action.sa_handler = onStop;
    action.sa_mask = stopSignals();
    for (int s : kStopSignals) {
        struct sigaction now {};
        if (sigaction(s, nullptr, &now) == 0 && now.sa_handler != SIG_IGN)
            sigaction(s, &action, nullptr);
    }
}

StopsHeld::StopsHeld() {
    const sigset_t held = stopSignals();
    sigprocmask(SIG_BLOCK, &held, &old);
}

StopsHeld::~StopsHeld() {
    sigprocmask(SIG_SETMASK, &old, nullptr);
}

void finishWithoutStops() {
    const sigset_t held = stopSignals();
    sigprocmask(SIG_BLOCK, &held, nullptr);
}

pid_t startStep(const std::vector<std::string>& argv, int output, bool ownGroup, std::string& error) {
    // Held until the step is in the table, so that a stop reaches it.
    const StopsHeld held;
    Step* free = nullptr;
    for (Step& step : steps)
        if (!free && step.pid == 0)
            free = &step;
    if (!free) {
        error = "too many steps at once";
        return 0;
    }
    // What the step's group holds after the step's own end comes to us.
    if (ownGroup)
        prctl(PR_SET_CHILD_SUBREAPER, 1);
    platform::SpawnSetup setup;
    setup.output = output;
    setup.ownGroup = ownGroup;
    int number = 0;
    const pid_t pid = platform::spawnChild(argv, setup, number);
    if (pid == 0) {
        error = std::strerror(number);
        return 0;
    }
    free->ownGroup = ownGroup;
    free->pid = pid;
    return pid;
}

pid_t awaitStep(pid_t pid, int& exitCode) {
    for (;;) {
        siginfo_t info{};
        if (waitid(pid < 0 ? P_ALL : P_PID, pid < 0 ? 0 : static_cast<id_t>(pid), &info, WEXITED | WNOWAIT) != 0) {
            if (errno == EINTR)
                continue;
            return 0;
        }
        const pid_t ended = info.si_pid;
        const StopsHeld held;
        Step* step = nullptr;
        for (Step& s : steps)
            if (s.pid == ended)
                step = &s;
        // Before the step is reaped, while its group's id cannot be taken again.
        if (step && step->ownGroup)
            kill(-ended, SIGTERM);
        int status = 0;
        while (waitpid(ended, &status, 0) < 0 && errno == EINTR) {
        }
        // Not a step: one its group left to us.
        if (!step)
            continue;
        step->pid = 0;
        noteEnd(status);
        exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
        return ended;
    }
}

int runStep(const std::string& tool, const std::vector<std::string>& argv, bool ownGroup) {
    std::cout.flush();
    std::string error;
    const pid_t pid = startStep(argv, -1, ownGroup, error);
    if (pid == 0) {
        std::cerr << tool << ": cannot run '" << (argv.empty() ? "" : argv[0]) << "': " << error << std::endl;
        return 2;
    }
    int exitCode = 0;
    awaitStep(pid, exitCode);
    return exitCode;
}

}  // namespace toolchain
