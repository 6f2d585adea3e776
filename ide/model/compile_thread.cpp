#include "ide/model/compile_thread.hpp"

#include <new>
#include <system_error>

#include "compiler/driver/driver.hpp"

namespace ide {

CQUVCompileThread::CQUVCompileThread(std::shared_ptr<CCompileJob> job, CompileSession& session, CompileSink& sink,
                                     std::atomic<int>& busy)
    : job_(std::move(job)), session_(session), sink_(sink), busy_(busy), closer_(*this)
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
    bool outOfMemory = false;
    if (!cancelled) {
        try {
            RunDriver();
        } catch (const std::bad_alloc&) {
            // A typeset text or a tree too large for the memory: the driver
            // went with the stack, and the IDE goes on without the job.
            outOfMemory = true;
        }
    }
    busy_ = 0;
    if (outOfMemory) {
        try {
            sink_.OutOfMemory();
        } catch (const std::bad_alloc&) {
            // Nothing left to tell it with; the job still ends.
        }
    }
    sink_.JobEnded();
}

void CQUVCompileThread::RunDriver()
{
    std::lock_guard<std::mutex> sessionInUse(session_.inUse());
    QUVCompiler driver(session_);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        m_pCompiler = &driver;
        // A stop that came while the driver was being built still counts.
        if (stopRequested_)
            driver.stopProcess();
    }
    // However the driver's entry ends, a stop no longer reaches the driver.
    struct Forget {
        CQUVCompileThread& thread;
        ~Forget()
        {
            std::lock_guard<std::mutex> lock(thread.mutex_);
            thread.m_pCompiler = nullptr;
        }
    } forget{*this};
    // ORDER: the driver's slots, as driver.hpp lists them.
    CompileSink& sink = sink_;
    auto text = [&sink](const char* first, const char* second) {
        sink.TextRow(first ? first : "", second ? second : "");
    };
    driver.errorSink = [&sink](const QUVException& record) { sink.ErrorRow(record); };
    driver.stageText = text;
    driver.makeText = text;
    driver.makeChar = [&sink](char c) { sink.MakeChar(c); };
    driver.runText = text;
    driver.runChar = [&sink](char c) { sink.RunChar(c); };
    driver.makeStart = [&sink] { sink.MakeStart(); };
    driver.runStart = [&sink] { sink.RunStart(); };
    CCompileJob& job = *job_;
    driver.typesetDone = [&sink, &job](bool ok, const std::string& typeset) {
        if (ok)
            job.typesetText = typeset;
        sink.TypesetDone(ok);
    };

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
}

} // namespace ide
