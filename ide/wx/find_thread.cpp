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
    // Rows gather in a batch that the pane takes whole at each visit; a file
    // the job rewrote is reloaded into its open editor after the rows made before it.
    const LookupVisit visit{std::make_shared<LookupBatch>(), reload_};
    FindInFilesRun run(
        job_, [frame, &visit](LookupEntry row) { PostLookupRow(frame, visit, std::move(row)); }, &cancel_,
        [frame, &visit](const std::string& file) { PostReload(frame, visit, file); });
    run.Run();
    busy_ = 0;
}

} // namespace ide
