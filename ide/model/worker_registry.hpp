// The running background jobs of the IDE (compile jobs, find jobs). When the
// main frame closes, every one is stopped and joined before any pane that its
// callbacks write to is destroyed.
#pragma once
#include <mutex>
#include <vector>

namespace ide {

class Worker {
public:
    virtual ~Worker() = default;
    // Asks the job to end and returns once its thread has ended; after this
    // the worker posts nothing more.
    virtual void Stop() = 0;
};

class WorkerRegistry {
public:
    // False once StopAll has run: no job may start while the frame goes.
    bool Add(Worker* worker);
    // Takes out a job that ended on its own. Called on the user-interface
    // thread, when the job's end has been seen there and before the worker
    // object goes, so StopAll never meets a worker that is gone.
    void Remove(Worker* worker);
    // Stops every registered worker, newest first, and refuses new ones; on
    // the user-interface thread, while the panes still stand.
    void StopAll();
    bool Empty() const;
    bool Closed() const;

private:
    mutable std::mutex mutex_;
    std::vector<Worker*> workers_;
    bool closed_ = false;
};

} // namespace ide
