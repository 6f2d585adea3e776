#include "platform/process_runner.hpp"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <future>
#include <set>
#include <sstream>
#include <thread>

extern char** environ;

namespace platform {

bool ChildControl::stop() {
    std::lock_guard<std::mutex> lock(mutex);
    stopped = true;
    if (id != 0 && !ended)
        stoppedWhileRunning = true;
    changed.notify_all();
    return id == 0 || signalChild(SIGTERM);
}

bool ChildControl::stopRequested() const {
    std::lock_guard<std::mutex> lock(mutex);
    return stopped;
}

long ChildControl::childId() const {
    std::lock_guard<std::mutex> lock(mutex);
    return id;
}

void ChildControl::publish(long childId, bool group) {
    std::lock_guard<std::mutex> lock(mutex);
    id = childId;
    ownGroup = group;
    ended = false;
    stoppedWhileRunning = id != 0 && stopped;
    // A stop that came before the id was known must still end the child.
    if (id != 0 && stopped)
        signalChild(SIGTERM);
}

void ChildControl::markEnded() {
    std::lock_guard<std::mutex> lock(mutex);
    ended = true;
    changed.notify_all();
}

bool ChildControl::waitForEnd() {
    std::unique_lock<std::mutex> lock(mutex);
    changed.wait(lock, [this] { return ended || stopped; });
    // The child may already have died of the stop's signal when this thread
    // wakes: that end is still a stop.
    if (ended)
        return stoppedWhileRunning;
    // Stopped: SIGTERM went out with the request; what ignores it is killed.
    if (!changed.wait_for(lock, kStopGrace, [this] { return ended; }))
        signalChild(SIGKILL);
    changed.wait(lock, [this] { return ended; });
    return true;
}

// Called with the mutex held. A child is not reaped before its id is
// cleared, and a group's id stays taken while the group has members, so the
// id cannot belong to another process yet. A group or child already gone
// needs no signal: that is no failure.
bool ChildControl::signalChild(int signal) {
    const pid_t target = ownGroup ? -static_cast<pid_t>(id) : static_cast<pid_t>(id);
    return kill(target, signal) == 0 || errno == ESRCH;
}

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Tells the parent why the child could not start, and ends the child.
[[noreturn]] void failChild(int report) {
    const int error = errno;
    while (write(report, &error, sizeof error) < 0 && errno == EINTR) {
    }
    _exit(127);
}

// In the child between fork and exec, where only calls that are safe after a
// fork of a process with threads may be made. On a failure the error number
// goes to `report` and the child ends.
[[noreturn]] void becomeChild(const char* file, char* const* args, const SpawnSetup& setup, pid_t parent,
                              int report) {
    // The end of the thread that started it is a stop (what the child
    // started is the keeper's to end); a parent that died before the call
    // shows as a parent of another id.
    if (prctl(PR_SET_PDEATHSIG, SIGTERM) != 0)
        failChild(report);
    if (getppid() != parent)
        _exit(127);
    if (setup.ownGroup && setpgid(0, 0) != 0)
        failChild(report);
    // Above the standard streams first, so that none of the three replaces it.
    const int out = setup.output >= 0 ? fcntl(setup.output, F_DUPFD_CLOEXEC, 3) : -1;
    if (setup.output >= 0 && out < 0)
        failChild(report);
    if (setup.nullInput) {
        const int in = open("/dev/null", O_RDONLY | O_CLOEXEC);
        if (in < 0 || dup2(in, 0) < 0)
            failChild(report);
    }
    if (out >= 0 && (dup2(out, 1) < 0 || dup2(out, 2) < 0))
        failChild(report);
    // Handlers are the parent's: none may run here once signals are let
    // through. An ignored signal stays ignored unless the child starts afresh.
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int s = 1; s < NSIG; ++s) {
        struct sigaction now {};
        if (sigaction(s, nullptr, &now) == 0 && (setup.ownGroup || now.sa_handler != SIG_IGN))
            sigaction(s, &byDefault, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    execve(file, args, environ);
    failChild(report);
}

ChildResult notStarted(int error) {
    ChildResult r;
    r.exitCode = error;
    r.startError = std::strerror(error);
    return r;
}

// Closes every descriptor from `first` on.
void closeFrom(int first) {
    if (syscall(SYS_close_range, first, ~0U, 0) == 0)
        return;
    struct rlimit limit {};
    const rlim_t last = getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY
                            ? std::min<rlim_t>(limit.rlim_cur, 1 << 16)
                            : 1 << 16;
    for (rlim_t fd = static_cast<rlim_t>(first); fd < last; ++fd)
        close(static_cast<int>(fd));
}

// Sleeps a few milliseconds; safe after a fork.
void sleepMilliseconds(long milliseconds) {
    timespec step{0, milliseconds * 1000000L};
    while (nanosleep(&step, &step) != 0 && errno == EINTR) {
    }
}

long long monotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

// Reads the stat line of the process `pid` into `text` and returns its
// fields after the name (" STATE PARENT GROUP ..."), null when the process is
// gone. The name in parentheses may hold anything: the fields follow its last
// ')'. Safe after a fork: no allocation, no stdio.
const char* statFields(pid_t pid, char* text, size_t size) {
    char path[32] = "/proc/";
    char digits[16];
    int count = 0;
    for (unsigned long value = static_cast<unsigned long>(pid); value > 0 || count == 0; value /= 10)
        digits[count++] = static_cast<char>('0' + value % 10);
    size_t at = std::strlen(path);
    while (count > 0)
        path[at++] = digits[--count];
    std::strcpy(path + at, "/stat");
    const int fd = open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return nullptr;
    const ssize_t got = read(fd, text, size - 1);
    close(fd);
    if (got <= 0)
        return nullptr;
    text[got] = '\0';
    const char* close = std::strrchr(text, ')');
    return close ? close + 1 : nullptr;
}

// Whether the process `pid` belongs to `group` and runs (a zombie that waits
// to be reaped does not); safe after a fork.
bool runsIn(pid_t pid, pid_t group) {
    char text[512];
    const char* fields = statFields(pid, text, sizeof text);
    if (!fields || fields[0] != ' ' || fields[1] == '\0' || fields[2] != ' ')
        return false;
    const char state = fields[1];
    const char* field = std::strchr(fields + 3, ' ');
    if (!field)
        return false;
    long member = 0;
    for (++field; *field >= '0' && *field <= '9'; ++field)
        member = member * 10 + (*field - '0');
    return member == group && state != 'Z' && state != 'X';
}

// Whether a process of `group` still runs. The members of the group have
// other parents than the keeper, which may be slow to reap them (a process
// the keeper's parent left goes to init), and a zombie still counts for a
// signal: so a group that answers is looked for among the processes.
// Safe after a fork.
bool groupRuns(pid_t group) {
    if (kill(-group, 0) != 0)
        return errno == EPERM;
    const int processes = open("/proc", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (processes < 0)
        return true;
    // The records of getdents64: inode, offset, length, type, name.
    struct Entry {
        uint64_t inode;
        int64_t offset;
        unsigned short length;
        unsigned char type;
        char name[1];
    };
    alignas(8) char buffer[8192];
    bool runs = false;
    long got;
    while (!runs && (got = syscall(SYS_getdents64, processes, buffer, sizeof buffer)) > 0) {
        for (long at = 0; at < got && !runs;) {
            const Entry* entry = reinterpret_cast<const Entry*>(buffer + at);
            at += entry->length;
            long pid = 0;
            const char* c = entry->name;
            for (; *c >= '0' && *c <= '9'; ++c)
                pid = pid * 10 + (*c - '0');
            runs = *c == '\0' && pid > 0 && runsIn(static_cast<pid_t>(pid), group);
        }
    }
    close(processes);
    return runs;
}

// The keeper of a run's group: a child of ours (a copy of this process that
// never starts a program) that waits for this process to go. Only its end,
// however sudden, closes the lifeline: then the keeper ends the group as a
// stop does (SIGTERM, SIGKILL after kStopGrace) and goes itself as soon as
// nothing of the group runs any more. A run that ends as usual kills the
// keeper instead. Every signal stays blocked in it, so that a Ctrl+C meant
// for us leaves it waiting.
[[noreturn]] void keep(pid_t group, int lifeline) {
    prctl(PR_SET_NAME, "quv-run-keeper");
    if (dup2(lifeline, 0) < 0)
        _exit(1);
    closeFrom(1);
    // Nothing is ever written: the read returns at the lifeline's end.
    char none;
    while (read(0, &none, 1) < 0 && errno == EINTR) {
    }
    for (int signal : {SIGTERM, SIGKILL}) {
        if (kill(-group, signal) != 0)
            break;
        const long long deadline = monotonicMilliseconds() + kStopGrace.count();
        while (groupRuns(group) && monotonicMilliseconds() < deadline)
            sleepMilliseconds(5);
        if (!groupRuns(group))
            break;
    }
    _exit(0);
}

// The keeper of a group while a run waits for it, started from the thread
// that waits. A run whose keeper cannot start goes on without one.
class Keeper {
public:
    explicit Keeper(pid_t group) {
        int line[2];
        if (pipe2(line, O_CLOEXEC) != 0)
            return;
        sigset_t all, old;
        sigfillset(&all);
        pthread_sigmask(SIG_SETMASK, &all, &old);
        pid = fork();
        if (pid == 0)
            keep(group, line[0]);
        pthread_sigmask(SIG_SETMASK, &old, nullptr);
        close(line[0]);
        if (pid < 0) {
            pid = 0;
            close(line[1]);
        } else {
            lifeline = line[1];
        }
    }
    Keeper(const Keeper&) = delete;
    Keeper& operator=(const Keeper&) = delete;
    ~Keeper() { dismiss(); }

    // The run ended as usual: the keeper goes without a word.
    void dismiss() {
        if (pid == 0)
            return;
        kill(pid, SIGKILL);
        while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
        }
        close(lifeline);
        pid = 0;
    }

private:
    pid_t pid = 0;
    int lifeline = -1;
};

}  // namespace

pid_t spawnChild(const std::vector<std::string>& argv, const SpawnSetup& setup, int& error) {
    if (argv.empty()) {
        error = ENOENT;
        return 0;
    }
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const std::string file = findProgram(argv[0]);
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        error = errno;
        return 0;
    }
    // No handler of ours may run in the child before it has set its own.
    sigset_t all, old;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &old);
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0)
        becomeChild(file.c_str(), args.data(), setup, parent, report[1]);
    error = pid < 0 ? errno : 0;
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    close(report[1]);
    // The report's end closes at the exec; before that the child says why it failed.
    if (pid > 0) {
        ssize_t got;
        while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
        }
        if (got != static_cast<ssize_t>(sizeof error))
            error = 0;
        else
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
    }
    close(report[0]);
    return error == 0 ? pid : 0;
}

namespace {

// Ends what is left of the process group `group` after its leader was
// reaped: SIGTERM, then SIGKILL for what is still there after kStopGrace.
// Returns when the group is gone (or, should a process never die, after a
// last grace). Members orphaned by the leader's end are our children (we are
// their subreaper) and are reaped here, so none lingers as a zombie in the group.
void endGroup(pid_t group) {
    using Clock = std::chrono::steady_clock;
    const auto alive = [group] {
        int status;
        while (waitpid(-group, &status, WNOHANG) > 0) {
        }
        return kill(-group, 0) == 0;
    };
    const auto step = std::chrono::milliseconds(5);
    for (int signal : {SIGTERM, SIGKILL}) {
        if (!alive() || kill(-group, signal) != 0)
            return;
        const auto deadline = Clock::now() + kStopGrace;
        while (alive() && Clock::now() < deadline)
            std::this_thread::sleep_for(step);
    }
}

// A process as its stat line gives it: the state letter, the parent, the
// process group and when it started (clock ticks since boot). False when it
// is gone.
struct ProcessStat {
    char state = 0;
    pid_t parent = 0;
    pid_t group = 0;
    unsigned long long started = 0;
};

bool statOf(pid_t pid, ProcessStat& stat) {
    char text[1024];
    const char* after = statFields(pid, text, sizeof text);
    if (!after)
        return false;
    // Fields 3 (state), 4 (parent), 5 (process group), then 22 (start time).
    std::istringstream fields(after);
    std::string skip;
    long parent = 0, group = 0;
    fields >> stat.state >> parent >> group;
    for (int field = 6; field < 22; ++field)
        fields >> skip;
    fields >> stat.started;
    stat.parent = static_cast<pid_t>(parent);
    stat.group = static_cast<pid_t>(group);
    return static_cast<bool>(fields);
}

// Our children outside our own process group that started no earlier than
// `since`, reaping those that have already ended. What we start ourselves
// (std::system, a toolkit's helper) stays in our group and is not taken.
std::vector<pid_t> adoptedSince(unsigned long long since) {
    std::vector<pid_t> found;
    DIR* processes = opendir("/proc");
    if (!processes)
        return found;
    const pid_t self = getpid();
    const pid_t ownGroup = getpgrp();
    while (const dirent* entry = readdir(processes)) {
        char* end = nullptr;
        const long id = std::strtol(entry->d_name, &end, 10);
        ProcessStat stat;
        if (*end != '\0' || id <= 0 || !statOf(static_cast<pid_t>(id), stat) || stat.parent != self ||
            stat.group == ownGroup || stat.started < since)
            continue;
        int status;
        if (stat.state == 'Z')
            waitpid(static_cast<pid_t>(id), &status, WNOHANG);
        else
            found.push_back(static_cast<pid_t>(id));
    }
    closedir(processes);
    return found;
}

// Ends what a run left outside its group: a process that started a session
// or group of its own. As the subreaper we become the parent of every such
// process once the processes between it and us have ended, and the group's
// end has ended those; so our children in another group than ours that
// started after the run's child did are the run's (one run at a time in a
// process, as a job runs one child at a time). SIGTERM, then SIGKILL for
// what is still there after kStopGrace; each ended process hands us its own
// children, which are ended in turn.
void endAdopted(unsigned long long since) {
    using Clock = std::chrono::steady_clock;
    const auto step = std::chrono::milliseconds(10);
    for (int signal : {SIGTERM, SIGKILL}) {
        std::set<pid_t> signalled;
        const auto deadline = Clock::now() + kStopGrace;
        for (;;) {
            const std::vector<pid_t> left = adoptedSince(since);
            if (left.empty())
                return;
            if (Clock::now() >= deadline)
                break;
            for (pid_t pid : left)
                if (signalled.insert(pid).second)
                    kill(pid, signal);
            std::this_thread::sleep_for(step);
        }
    }
}

// Waits for the child's end (ending it after a stop), reaps it, ends what it
// left in its own group and, for a child in its own group, what escaped the
// group; only then clears it from the control, so that a stop at any moment
// reaches whatever of the job still runs.
int waitForEnd(pid_t pid, bool ownGroup, ChildControl& control) {
    // Read before the child is reaped, while its entry is sure to be there.
    ProcessStat child;
    const bool childKnown = ownGroup && statOf(pid, child);
    std::thread waiter([pid, &control] {
        siginfo_t info;
        while (waitid(P_PID, pid, &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
        }
        control.markEnded();
    });
    const bool stoppedBeforeEnd = control.waitForEnd();
    waiter.join();
    // A plain child's id names only the child: it goes before the child is reaped.
    if (!ownGroup)
        control.publish(0, false);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (ownGroup) {
        endGroup(pid);
        if (childKnown)
            endAdopted(child.started);
        control.publish(0, false);
    }
    if (stoppedBeforeEnd)
        return kStoppedExitCode;
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

// Hands each byte of the pipe to onByte until the pipe's end, or until `wake`
// says to stop reading (a process outside the group keeps it open).
void readPipe(int pipe, int wake, const std::function<void(char)>& onByte) {
    char buffer[4096];
    for (;;) {
        pollfd fds[2] = {{pipe, POLLIN, 0}, {wake, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return;
        }
        if (fds[1].revents != 0)
            return;
        if (fds[0].revents == 0)
            continue;
        const ssize_t n = read(pipe, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return;
        for (ssize_t i = 0; i < n; ++i)
            onByte(buffer[i]);
    }
}

}  // namespace

ChildResult runPiped(const std::vector<std::string>& argv, ChildControl& control,
                     const std::function<void(char)>& onByte) {
    int out[2];
    int wake[2];
    if (pipe2(out, O_CLOEXEC) != 0)
        return notStarted(errno);
    if (pipe2(wake, O_CLOEXEC) != 0) {
        const int error = errno;
        close(out[0]);
        close(out[1]);
        return notStarted(error);
    }
    // Processes the child leaves behind come to us rather than to init when
    // it ends, so that its group can be ended and reaped (see endGroup).
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    // Its own process group, so a stop reaches the children it starts too;
    // standard input at end of file, so a program that reads input cannot
    // wait forever.
    SpawnSetup setup;
    setup.output = out[1];
    setup.nullInput = true;
    setup.ownGroup = true;
    int error = 0;
    const pid_t pid = spawnChild(argv, setup, error);
    close(out[1]);
    if (pid == 0) {
        close(out[0]);
        close(wake[0]);
        close(wake[1]);
        return notStarted(error);
    }
    Keeper keeper(pid);
    control.publish(pid, true);
    std::promise<void> readerDone;
    std::future<void> readerEnded = readerDone.get_future();
    std::thread reader([&] {
        readPipe(out[0], wake[0], onByte);
        readerDone.set_value();
    });
    ChildResult result;
    result.started = true;
    result.exitCode = waitForEnd(pid, true, control);
    keeper.dismiss();
    // The group is gone, so the pipe closes unless a process that left the
    // group holds it: that one may not hold the run.
    if (readerEnded.wait_for(kStopGrace) != std::future_status::ready) {
        const char stop = 1;
        while (write(wake[1], &stop, 1) < 0 && errno == EINTR) {
        }
    }
    reader.join();
    close(out[0]);
    close(wake[0]);
    close(wake[1]);
    return result;
}

ChildResult runPlain(const std::vector<std::string>& argv, ChildControl& control) {
    int error = 0;
    const pid_t pid = spawnChild(argv, SpawnSetup(), error);
    if (pid == 0)
        return notStarted(error);
    control.publish(pid, false);
    ChildResult result;
    result.started = true;
    result.exitCode = waitForEnd(pid, false, control);
    return result;
}

std::string findProgram(const std::string& name) {
    if (name.empty() || name.find('/') != std::string::npos)
        return name;
    if (isExecutableFile(name))
        return "./" + name;
    const char* path = std::getenv("PATH");
    std::string folders = path ? path : "";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos)
            end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        if (isExecutableFile(folder + "/" + name))
            return folder + "/" + name;
        start = end + 1;
    }
    return name;
}

}  // namespace platform
