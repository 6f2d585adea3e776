// Child processes: make and the programs it builds. A piped child runs in a
// process group of its own with standard output and standard error on one
// pipe and standard input at end of file; every byte it writes reaches a
// callback on a reader thread, in the order written. A plain child shares the
// caller's standard streams.
//
//     platform::ChildControl control;               // one per job
//     platform::ChildResult r = platform::runPiped({"make", "-f", "x.mak"}, control, onByte);
//     ... on another thread: control.stop();        // ends the child and its children
#pragma once
#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace platform {

// The exit code a child that was stopped reports.
const int kStoppedExitCode = -11;

// The child that runs now and the stop request that ends it. A stop asked for
// before the child's id is known is kept: the child is ended as soon as it
// starts, and so is every later child of the same control.
class ChildControl {
public:
    // Ends the running child and its process group; without a child only
    // remembers the request. False when the child could not be signalled.
    bool stop();
    bool stopRequested() const;
    // The id of the running child, 0 when none.
    long childId() const;

    // For the runner: publishes a started child, or clears it (id 0). A
    // child published after a stop request is ended at once.
    void publish(long id, bool ownGroup);

private:
    bool signalChild();

    mutable std::mutex mutex;
    long id = 0;
    bool ownGroup = false;
    bool stopped = false;
};

struct ChildResult {
    // The child's exit status; the start error's number when it could not be
    // started; kStoppedExitCode when a stop ended it; 128 + the signal when
    // a signal of its own ended it.
    int exitCode = 0;
    bool started = false;
    // Why it could not be started, in the system's words.
    std::string startError;
};

// Runs argv (argv[0] is looked up by findProgram) with its output in a pipe;
// onByte gets every byte on a reader thread. Returns when the child has ended
// and the pipe holds no more of its output, even when a grandchild still
// holds the pipe open.
ChildResult runPiped(const std::vector<std::string>& argv, ChildControl& control,
                     const std::function<void(char)>& onByte);

// Runs argv with the caller's standard streams and waits for its end.
ChildResult runPlain(const std::vector<std::string>& argv, ChildControl& control);

// The file a program name starts: a name with a '/' as it is; otherwise the
// file of that name in the current folder when it is an executable, else the
// first executable of that name in the folders of PATH, else the name itself.
std::string findProgram(const std::string& name);

}  // namespace platform
