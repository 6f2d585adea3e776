#include "platform/process_runner.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <thread>

extern char** environ;

namespace platform {

bool ChildControl::stop() {
    std::lock_guard<std::mutex> lock(mutex);
    stopped = true;
    return id == 0 || signalChild();
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
    // A stop that came before the id was known must still end the child.
    if (id != 0 && stopped)
        signalChild();
}

// Called with the mutex held. The child is not reaped before its id is
// cleared, so the id cannot belong to another process yet.
bool ChildControl::signalChild() {
    const pid_t target = ownGroup ? -static_cast<pid_t>(id) : static_cast<pid_t>(id);
    return kill(target, SIGKILL) == 0 || errno == ESRCH;
}

namespace {

bool isExecutableFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(path.c_str(), X_OK) == 0;
}

// Spawns argv; the child's id, or 0 with the error number in `error`.
pid_t spawn(const std::vector<std::string>& argv, const posix_spawn_file_actions_t* actions,
            const posix_spawnattr_t* attributes, int& error) {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    const std::string file = findProgram(argv.empty() ? std::string() : argv[0]);
    pid_t pid = 0;
    error = argv.empty() ? ENOENT : posix_spawn(&pid, file.c_str(), actions, attributes, args.data(), environ);
    return error == 0 ? pid : 0;
}

ChildResult notStarted(int error) {
    ChildResult r;
    r.exitCode = error;
    r.startError = std::strerror(error);
    return r;
}

// Waits for the child's end, clears it from the control while it cannot yet
// be mistaken for another process, then reaps it.
int waitForEnd(pid_t pid, ChildControl& control) {
    siginfo_t info;
    while (waitid(P_PID, pid, &info, WEXITED | WNOWAIT) != 0 && errno == EINTR) {
    }
    control.publish(0, false);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    if (control.stopRequested())
        return kStoppedExitCode;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

// Hands each byte of the pipe to onByte until end of file, or until `wake`
// says the child has ended: then it takes what the pipe holds and stops, so
// a grandchild that keeps the pipe open cannot hold the job.
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
            break;
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
    fcntl(pipe, F_SETFL, fcntl(pipe, F_GETFL) | O_NONBLOCK);
    for (;;) {
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
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Standard input at end of file: a program that reads input cannot wait forever.
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // Its own process group, so a stop reaches the children it starts too.
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    int error = 0;
    const pid_t pid = spawn(argv, &actions, &attributes, error);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (pid == 0) {
        close(out[0]);
        close(wake[0]);
        close(wake[1]);
        return notStarted(error);
    }
    control.publish(pid, true);
    std::thread reader(readPipe, out[0], wake[0], std::cref(onByte));
    ChildResult result;
    result.started = true;
    result.exitCode = waitForEnd(pid, control);
    const char ended = 1;
    while (write(wake[1], &ended, 1) < 0 && errno == EINTR) {
    }
    reader.join();
    close(out[0]);
    close(wake[0]);
    close(wake[1]);
    return result;
}

ChildResult runPlain(const std::vector<std::string>& argv, ChildControl& control) {
    int error = 0;
    const pid_t pid = spawn(argv, nullptr, nullptr, error);
    if (pid == 0)
        return notStarted(error);
    control.publish(pid, false);
    ChildResult result;
    result.started = true;
    result.exitCode = waitForEnd(pid, control);
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
