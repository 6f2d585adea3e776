#include "ide/model/worker_registry.hpp"

#include <algorithm>

namespace ide {

bool WorkerRegistry::Add(Worker* worker)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (closed_)
        return false;
    workers_.push_back(worker);
    return true;
}

void WorkerRegistry::Remove(Worker* worker)
{
    std::lock_guard<std::mutex> lock(mutex_);
    workers_.erase(std::remove(workers_.begin(), workers_.end(), worker), workers_.end());
}

void WorkerRegistry::StopAll()
{
    std::vector<Worker*> running;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        closed_ = true;
        running.assign(workers_.rbegin(), workers_.rend());
    }
    // Outside the lock: a worker's last events may still be posted meanwhile.
    for (Worker* worker : running)
        worker->Stop();
    std::lock_guard<std::mutex> lock(mutex_);
    workers_.clear();
}

bool WorkerRegistry::Empty() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return workers_.empty();
}

bool WorkerRegistry::Closed() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return closed_;
}

} // namespace ide
