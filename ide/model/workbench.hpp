// The workbench: what the IDE works on, apart from its windows. It owns the
// project, the open-file list, the find histories and the recent lists, the
// display and print settings, the compile session every compile job shares
// (so generated names count on from one job to the next), and the running
// jobs (the last compile job with its thread, the pending find job with its
// thread) and the registry that stops them all when the main frame closes.
#pragma once
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "compiler/driver/driver.hpp"
#include "ide/model/compile_job.hpp"
#include "ide/model/compile_thread.hpp"
#include "ide/model/display_setting.hpp"
#include "ide/model/find_history.hpp"
#include "ide/model/find_in_files.hpp"
#include "ide/model/frame_placement.hpp"
#include "ide/model/print_setting.hpp"
#include "ide/model/recent_list.hpp"
#include "ide/model/worker_registry.hpp"

namespace ide {

class Workbench {
public:
    // Reads `settingsFile` once, and loads the print settings and the find
    // histories from what it read.
    explicit Workbench(std::string settingsFile);
    // A job still running is stopped and joined before what it reports to goes.
    ~Workbench();
    Workbench(const Workbench&) = delete;
    Workbench& operator=(const Workbench&) = delete;

    // At start-up: the display settings and the frame's placement, from the
    // settings file as the constructor read it, and the recent lists.
    void LoadStartSettings();
    // At the end, in this order around the closing of the documents: first
    // the display settings and the recent lists, then the find histories and
    // the print settings. Only what this IDE changed since it read them is
    // written (and values the file lacks), the recent lists and histories
    // merged with what the files hold now, so that another IDE's changes
    // stay; the control's registration is left as the file holds it. Each
    // file is locked from its read to its write, so that IDEs that quit at
    // once merge one after another. The locks of both steps wait
    // platform::kMergeLockWait in all, counted from the first; a lock
    // another holds past that is noted as a failed write (EBUSY).
    void SaveDisplayAndRecentLists();
    void SaveHistoriesAndPrintSetting();
    // The settings files that could not be written, each with why (UTF-8),
    // once per file.
    struct SettingsWriteFailure {
        std::string file;
        std::string reason;
    };
    const std::vector<SettingsWriteFailure>& SettingsWriteFailures() const { return settingsFailures_; }

    const std::string& SettingsFile() const { return iniPath_; }
    CQuvProject& Project() { return *project_; }
    const CQuvProject& Project() const { return *project_; }
    CQuvFileList& OpenFiles() { return *openFiles_; }
    CQuvFindHistory& FindHistory() { return *findHistory_; }
    CDisplaySetting& DisplaySetting() { return displaySetting_; }
    const CDisplaySetting& DisplaySetting() const { return displaySetting_; }
    CPrintSetting& PrintSetting() { return printSetting_; }
    // The main frame's rectangle when it is not maximised; saved with the
    // display settings.
    FrameRect& FramePlacement() { return framePlacement_; }
    CRecentFileList& RecentFiles() { return recentFiles_; }
    CRecentFileList& RecentProjects() { return recentProjects_; }
    WorkerRegistry& Workers() { return workers_; }

    // The compile job of the last compile command, kept until the next one
    // replaces it; null before the first.
    CCompileJob* CompileJob() const { return compileJob_.get(); }
    CQUVCompileThread* CompileThread() const { return compileThread_.get(); }
    enum class JobStart { Started, Closing, NoThread };
    // Runs `job` on a new compile thread reporting to the sink `makeSink`
    // makes for the job's serial number. The thread before has ended.
    JobStart StartCompileJob(std::shared_ptr<CCompileJob> job,
                             const std::function<std::unique_ptr<CompileSink>(int serial)>& makeSink);
    // False when the running job's child could not be signalled.
    bool StopCompileJob();
    // The thread of job `serial` made its last report: it is joined.
    void CompileJobEnded(int serial);

    // The find job the find commands run last; null before the first.
    const QuvFindJob* PendingFindJob() const { return findJob_.get(); }
    void SetPendingFindJob(std::unique_ptr<QuvFindJob> job) { findJob_ = std::move(job); }
    // Stops and drops the find thread before and registers `worker` in its
    // place; false (the worker dropped) when the frame is closing.
    bool ReplaceFindWorker(std::unique_ptr<Worker> worker);

    // Set while a compile (find) job runs; the command-update handlers read them.
    std::atomic<int> compileBusy{0};
    std::atomic<int> findBusy{0};

private:
    // Reads the settings file as it is now, lets `change` write into it and
    // writes it back when `change` wrote anything.
    void UpdateSettingsFile(const std::function<bool(platform::PrivateProfileFile&)>& change);
    void NoteWriteFailure(const std::string& file, const std::string& reason);
    // Until when the locks of this quit wait: set by the first.
    std::chrono::steady_clock::time_point LockDeadline();

    std::string iniPath_;
    // The settings file, read once by the constructor for every setting
    // loaded at start-up; dropped once they are.
    std::unique_ptr<const platform::PrivateProfileFile> startProfile_;
    // The settings as they were read, to tell what this IDE changed.
    CDisplaySetting displayAtStart_;
    FrameRect placementAtStart_;
    CPrintSetting printAtStart_;
    CQuvFindHistory historyAtStart_;
    std::vector<std::string> recentFilesAtStart_;
    std::vector<std::string> recentProjectsAtStart_;
    std::vector<SettingsWriteFailure> settingsFailures_;
    std::optional<std::chrono::steady_clock::time_point> lockDeadline_;
    CDisplaySetting displaySetting_;
    FrameRect framePlacement_;
    CPrintSetting printSetting_;
    std::unique_ptr<CQuvFileList> openFiles_;
    std::unique_ptr<CQuvProject> project_;
    std::unique_ptr<CQuvFindHistory> findHistory_;
    CRecentFileList recentFiles_;
    CRecentFileList recentProjects_;
    WorkerRegistry workers_;
    std::unique_ptr<QuvFindJob> findJob_;
    std::unique_ptr<Worker> findThread_;
    // The session and the sink are declared before the thread, which uses
    // them, so that the thread goes first.
    CompileSession compileSession_;
    std::shared_ptr<CCompileJob> compileJob_;
    std::unique_ptr<CompileSink> compileSink_;
    std::unique_ptr<CQUVCompileThread> compileThread_;
    int compileSerial_ = 0;
};

} // namespace ide
