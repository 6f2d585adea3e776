// The compile thread: one thread per compile job, running the compile driver
// on its own stack and passing every report of the driver to a sink. A stop
// is cooperative: it asks the driver to end (which ends a running make or
// program through the process runner), the driver returns, and the thread
// ends. Nothing here waits for the user-interface thread.
//
// The busy flag belongs to the application: the starter sets it before
// Start; only the ending thread clears it, just before its last report.
//
// The driver compiles in the session the starter hands over, so that its
// generated names count on from the jobs before; the thread holds the
// session's lock while its driver runs, so two jobs never use it at once.
#pragma once
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "ide/model/compile_job.hpp"
#include "ide/model/worker_registry.hpp"

class CompileSession;
class QUVCompiler;
class QUVException;

namespace ide {

// Where a job's reports go, in the order the driver makes them. The character
// reports come from the process runner's reader thread, all others from the
// compile thread. Texts are the driver's 8-bit strings (null comes as empty).
class CompileSink {
public:
    virtual ~CompileSink() = default;
    virtual void ErrorRow(const QUVException& record) = 0;
    virtual void TextRow(const std::string& first, const std::string& second) = 0;
    virtual void MakeStart() = 0;
    virtual void MakeChar(char c) = 0;
    virtual void RunStart() = 0;
    virtual void RunChar(char c) = 0;
    // A typeset job ended; when it succeeded the job holds the text.
    virtual void TypesetDone(bool ok) = 0;
    // The job could not get the memory it asked for and ended early, the
    // driver and all it held gone; JobEnded follows.
    virtual void OutOfMemory() = 0;
    // The last report: the driver is gone and the busy flag is clear.
    virtual void JobEnded() = 0;
};

class CQUVCompileThread {
public:
    // The job stays alive as long as the thread needs it; the session and
    // the sink outlive the thread.
    CQUVCompileThread(std::shared_ptr<CCompileJob> job, CompileSession& session, CompileSink& sink,
                      std::atomic<int>& busy);
    // Stops the job and waits for the thread's end.
    ~CQUVCompileThread();
    CQUVCompileThread(const CQUVCompileThread&) = delete;
    CQUVCompileThread& operator=(const CQUVCompileThread&) = delete;

    // Starts the thread; false (with the busy flag cleared) when the system
    // has no thread to give.
    bool Start();
    // Asks the job to end; before the driver exists the job is cancelled
    // before it starts. False when a running child could not be signalled:
    // the job then runs on and the stop may be tried again.
    bool Stop();
    // Waits for the thread's end; not from the thread itself.
    void Join();

    // For the frame's close: stops, then waits.
    Worker& AsWorker() { return closer_; }
    const std::shared_ptr<CCompileJob>& Job() const { return job_; }

private:
    struct Closer : Worker {
        explicit Closer(CQUVCompileThread& t) : thread(t) {}
        void Stop() override;
        CQUVCompileThread& thread;
    };

    void Run();
    void RunDriver();

    std::shared_ptr<CCompileJob> job_;
    CompileSession& session_;
    CompileSink& sink_;
    std::atomic<int>& busy_;
    std::thread thread_;
    // Guards the driver pointer and the stop request between Stop and the thread.
    std::mutex mutex_;
    QUVCompiler* m_pCompiler = nullptr;
    bool stopRequested_ = false;
    Closer closer_;
};

} // namespace ide
