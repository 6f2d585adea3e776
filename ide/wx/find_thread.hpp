// The find thread: runs one find-in-files or replace-in-files job and hands
// its rows, in batches, to the find-result pane. The find-busy flag is set
// from the start until the job has ended; Stop asks the job to end after the
// file it is on and waits for the thread.
#pragma once
#include <atomic>
#include <functional>
#include <string>
#include <thread>

#include <wx/event.h>

#include "ide/model/find_in_files.hpp"
#include "ide/model/worker_registry.hpp"

namespace ide {

class CQUVFindThread : public Worker {
public:
    // `job` is a copy: the pending job may be replaced while this one runs.
    // `reload` is called on the user-interface thread for each file the job rewrote.
    CQUVFindThread(QuvFindJob job, wxEvtHandler* frame, std::atomic<int>& busy,
                   std::function<void(const std::string&)> reload);
    ~CQUVFindThread() override;

    void Start();
    void Stop() override;

private:
    void InitInstance();

    QuvFindJob job_;
    wxEvtHandler* frame_;
    std::atomic<int>& busy_;
    std::function<void(const std::string&)> reload_;
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};

} // namespace ide
