#include "ide/wx/find_thread.hpp"

#include "ide/wx/pane_events.hpp"

namespace ide {

CQUVFindThread::CQUVFindThread(QuvFindJob job, wxEvtHandler* frame, std::atomic<int>& busy,
                               std::function<void(const std::string&)> reload)
    : job_(std::move(job)), frame_(frame), busy_(busy), reload_(std::move(reload))
{
}

CQUVFindThread::~CQUVFindThread()
{
    Stop();
}

void CQUVFindThread::Start()
{
    // Set before the thread runs, so that no second job can start in between.
    busy_ = 1;
    thread_ = std::thread(&CQUVFindThread::InitInstance, this);
}

void CQUVFindThread::Stop()
{
    cancel_ = true;
    if (thread_.joinable())
        thread_.join();
}

void CQUVFindThread::InitInstance()
{
    wxEvtHandler* frame = frame_;
    const std::function<void(const std::string&)> reload = reload_;
    // A file the job rewrote is reloaded into its open editor, after the rows made before it.
    FindInFilesRun run(
        job_, [frame](LookupEntry row) { PostLookupRow(frame, std::move(row)); }, &cancel_,
        [frame, reload](const std::string& file) { frame->CallAfter([reload, file] { reload(file); }); });
    run.Run();
    busy_ = 0;
}

} // namespace ide
