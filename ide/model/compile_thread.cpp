#include "ide/model/compile_thread.hpp"

#include <system_error>

#include "compiler/driver/driver.hpp"

namespace ide {

std::atomic<CQUVCompileThread*> CQUVCompileThread::running_{nullptr};

CQUVCompileThread::CQUVCompileThread(std::shared_ptr<CCompileJob> job, CompileSink& sink, std::atomic<int>& busy)
    : job_(std::move(job)), sink_(sink), busy_(busy), closer_(*this)
{
}

CQUVCompileThread::~CQUVCompileThread()
{
    Stop();
    Join();
}

bool CQUVCompileThread::Start()
{
    try {
        thread_ = std::thread(&CQUVCompileThread::Run, this);
    } catch (const std::system_error&) {
        busy_ = 0;
        return false;
    }
    return true;
}

bool CQUVCompileThread::Stop()
{
    std::lock_guard<std::mutex> lock(mutex_);
    stopRequested_ = true;
    return m_pCompiler ? m_pCompiler->stopProcess() : true;
}

void CQUVCompileThread::Join()
{
    if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id())
        thread_.join();
}

void CQUVCompileThread::Closer::Stop()
{
    thread.Stop();
    thread.Join();
}

void CQUVCompileThread::Run()
{
    bool cancelled;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        cancelled = stopRequested_;
    }
    if (!cancelled)
        RunDriver();
    busy_ = 0;
    sink_.JobEnded();
}

void CQUVCompileThread::RunDriver()
{
    QUVCompiler driver;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        m_pCompiler = &driver;
        // A stop that came while the driver was being built still counts.
        if (stopRequested_)
            driver.stopProcess();
    }
    // ORDER: the driver's slots, as driver.hpp lists them.
    driver.errorSink = OnCompileErrorCallback;
    driver.stageText = OnCompileTextCallback;
    driver.makeText = OnCompileTextCallback;
    driver.makeErrorChar = OnMakeOutputCallback;
    driver.makeChar = OnMakeOutputCallback;
    driver.runText = OnCompileTextCallback;
    driver.runChar = OnRunOutputCallback;
    driver.makeStart = OnMakeStartCallback;
    driver.runStart = OnRunStartCallback;
    driver.typesetDone = OnTypesetDoneCallback;
    running_ = this;

    const std::string source = job_->sourceFile;
    const std::string project = job_->projectFile;
    switch (job_->kind) {
    case KindTypeset: driver.typeset(source); break;
    case KindSyntaxCheck: driver.syntaxCheck(source); break;
    case KindCompileFile: driver.compileFile(source); break;
    case KindCompileProject: driver.compileProject(job_->projectFiles, project); break;
    case KindGenerateMakefile: driver.generateMakefile(job_->projectFiles, project); break;
    case KindBuild: driver.build(job_->projectFiles, project); break;
    case KindRun: driver.run(job_->projectFiles, project); break;
    default: break;
    }

    running_ = nullptr;
    std::lock_guard<std::mutex> lock(mutex_);
    m_pCompiler = nullptr;
}

void CQUVCompileThread::OnCompileErrorCallback(const QUVException& record)
{
    if (CQUVCompileThread* t = running_)
        t->sink_.ErrorRow(record);
}

void CQUVCompileThread::OnCompileTextCallback(const char* first, const char* second)
{
    if (CQUVCompileThread* t = running_)
        t->sink_.TextRow(first ? first : "", second ? second : "");
}

void CQUVCompileThread::OnMakeStartCallback()
{
    if (CQUVCompileThread* t = running_)
        t->sink_.MakeStart();
}

void CQUVCompileThread::OnMakeOutputCallback(char c)
{
    if (CQUVCompileThread* t = running_)
        t->sink_.MakeChar(c);
}

void CQUVCompileThread::OnRunStartCallback()
{
    if (CQUVCompileThread* t = running_)
        t->sink_.RunStart();
}

void CQUVCompileThread::OnRunOutputCallback(char c)
{
    if (CQUVCompileThread* t = running_)
        t->sink_.RunChar(c);
}

void CQUVCompileThread::OnTypesetDoneCallback(bool ok, const std::string& text)
{
    CQUVCompileThread* t = running_;
    if (!t)
        return;
    if (ok)
        t->job_->typesetText = text;
    t->sink_.TypesetDone(ok);
}

} // namespace ide
