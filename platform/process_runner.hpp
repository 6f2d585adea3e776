// Child processes: make and the programs it builds. A piped child runs in a
// process group of its own with standard output and standard error on one
// pipe and standard input at end of file; every byte it writes reaches a
// callback on a reader thread, in the order written. When the child ends,
// whatever it left running in its group is ended too, and so is every
// process it started that left the group (a session of its own): the runner
// is the subreaper of what the child leaves, so a run never outlives its
// program. A plain child shares the caller's standard streams and process
// group.
//
//     platform::ChildControl control;               // one per job
//     platform::ChildResult r = platform::runPiped({"make", "-f", "x.mak"}, control, onByte);
//     ... on another thread: control.stop();        // ends the child and its children
//
// Ending means SIGTERM first, so that a child may clean up (make removes its
// temporary files), then SIGKILL for what is left after kStopGrace.
//
// Nothing a run started outlives the process that runs it, however that
// process ends: every child gets SIGTERM when the thread that started it
// ends (so that thread must be the one that waits for the run, as the calls
// below are), and while a piped child runs, a keeper (a copy of this process
// that starts nothing) waits for this process to go; should it go before the
// run is over, the keeper ends the child's group as a stop does.
#pragma once
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include <sys/types.h>

namespace platform {

// The exit code a child that was stopped reports.
const int kStoppedExitCode = -11;

// How long an ended group may take to go before it is killed.
const std::chrono::milliseconds kStopGrace(1000);

// The child that runs now and the stop request that ends it. A stop asked for
// before the child's id is known is kept: the child is ended as soon as it
// starts, and so is every later child of the same control.
class ChildControl {
public:
    // Ends the running child, its process group and what the group still
    // holds after the child's own end; without a child only remembers the
    // request. True when nothing of the child is left or the signal reached
    // what is; false when it could not be signalled.
    bool stop();
    bool stopRequested() const;
    // The id of the running child (while its group still has members after
    // its end: the group's id), 0 when none.
    long childId() const;

    // For the runner: publishes a started child, or clears it (id 0). A
    // child published after a stop request is ended at once.
    void publish(long id, bool ownGroup);
    // For the runner: the child has ended (not yet reaped); wakes waitForEnd.
    void markEnded();
    // For the runner: waits until the child has ended, and, after a stop, at
    // most kStopGrace before it is killed. True when a stop came before its end.
    bool waitForEnd();

private:
    bool signalChild(int signal);

    mutable std::mutex mutex;
    std::condition_variable changed;
    long id = 0;
    bool ownGroup = false;
    bool stopped = false;
    bool ended = false;
    // A stop that came while the child still ran: its end is the stop's doing.
    bool stoppedWhileRunning = false;
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

// How spawnChild starts a child.
struct SpawnSetup {
    // Standard output and standard error go there when it is not -1.
    int output = -1;
    // Standard input at end of file.
    bool nullInput = false;
    // A process group of its own, with every signal at its default action;
    // otherwise the caller's group, and what the caller ignores stays ignored.
    bool ownGroup = false;
};

// Starts argv (argv[0] is looked up by findProgram) with no signal blocked;
// it gets SIGTERM when the calling thread ends. Its id, or 0 with the error
// number in `error` when it could not start.
pid_t spawnChild(const std::vector<std::string>& argv, const SpawnSetup& setup, int& error);

// Runs argv (argv[0] is looked up by findProgram) with its output in a pipe;
// onByte gets every byte on a reader thread. Returns when the child and
// everything it started have ended and their output has been read to the
// pipe's end. Only a process that is no descendant of the child (one the
// system started for it) may still hold the pipe: it is given kStopGrace,
// then no longer read. One piped run at a time in a process: the processes
// the runner adopts while it runs are taken for that run's.
ChildResult runPiped(const std::vector<std::string>& argv, ChildControl& control,
                     const std::function<void(char)>& onByte);

// Runs argv with the caller's standard streams and waits for its end.
ChildResult runPlain(const std::vector<std::string>& argv, ChildControl& control);

// The file a program name starts: a name with a '/' as it is; otherwise the
// file of that name in the current folder when it is an executable, else the
// first executable of that name in the folders of PATH, else the name itself.
std::string findProgram(const std::string& name);

}  // namespace platform
