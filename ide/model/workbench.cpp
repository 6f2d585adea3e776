#include "ide/model/workbench.hpp"

#include <cerrno>

#include "ide/model/error_text.hpp"
#include "ide/model/settings_file.hpp"
#include "platform/file_io.hpp"
#include "platform/file_lock.hpp"
#include "platform/private_profile.hpp"
#include "platform/registry_file.hpp"

namespace ide {

Workbench::Workbench(std::string settingsFile)
    : iniPath_(std::move(settingsFile)),
      startProfile_(new platform::PrivateProfileFile(iniPath_)),
      openFiles_(new CQuvFileList),
      project_(new CQuvProject),
      findHistory_(new CQuvFindHistory),
      recentFiles_("Recent File List", "File%d", 8, 30),
      recentProjects_("Recent Project List", "Project%d", 8, 30)
{
    printSetting_.Load(*startProfile_);
    findHistory_->LoadFromIni(*startProfile_);
    printAtStart_ = printSetting_;
    historyAtStart_ = *findHistory_;
}

Workbench::~Workbench()
{
    // The compile thread's destructor stops and joins it; the find thread's too.
    compileThread_.reset();
    findThread_.reset();
}

void Workbench::LoadStartSettings()
{
    // The file as the constructor read it; it is read again only for a
    // second start.
    if (!startProfile_)
        startProfile_.reset(new platform::PrivateProfileFile(iniPath_));
    LoadDisplaySetting(displaySetting_, *startProfile_);
    displayAtStart_ = displaySetting_;
    framePlacement_ = placementAtStart_ = LoadFramePlacement(*startProfile_);
    startProfile_.reset();
    platform::RegistryFile registry(platform::RegistryFile::UserPath());
    registry.Load();
    recentFiles_.ReadList(registry);
    recentProjects_.ReadList(registry);
    recentFilesAtStart_ = recentFiles_.Entries();
    recentProjectsAtStart_ = recentProjects_.Entries();
}

void Workbench::NoteWriteFailure(const std::string& file, const std::string& reason)
{
    for (const SettingsWriteFailure& f : settingsFailures_)
        if (f.file == file)
            return;
    settingsFailures_.push_back({file, reason});
}

std::chrono::steady_clock::time_point Workbench::LockDeadline()
{
    // One budget for the quit: three waits of their own would keep the user's
    // warning three times as long.
    if (!lockDeadline_)
        lockDeadline_ = std::chrono::steady_clock::now() + platform::kMergeLockWait;
    return *lockDeadline_;
}

void Workbench::UpdateSettingsFile(const std::function<bool(platform::PrivateProfileFile&)>& change)
{
    // Another IDE that quits at the same moment merges before or after this
    // one, never in between: held from the read to the write.
    const platform::FileLock lock(iniPath_, LockDeadline());
    if (lock.Error()) {
        NoteWriteFailure(iniPath_, ErrorText(lock.Error()));
        return;
    }
    // A file that is there but cannot be read must not be replaced by this
    // IDE's values alone.
    const int unreadable = platform::ReadOpenError(iniPath_);
    if (unreadable && unreadable != ENOENT) {
        NoteWriteFailure(iniPath_, ErrorText(unreadable));
        return;
    }
    platform::PrivateProfileFile profile(iniPath_);
    if (!change(profile))
        return;
    EnsureFolderOf(iniPath_);
    std::string reason;
    platform::WriteFailure why;
    if (!profile.save(reason, why))
        NoteWriteFailure(iniPath_, why.error ? ErrorText(why.error) : reason);
}

void Workbench::SaveDisplayAndRecentLists()
{
    UpdateSettingsFile([this](platform::PrivateProfileFile& profile) {
        const bool display = SaveDisplayChanges(displayAtStart_, displaySetting_, profile);
        const bool placement = SaveFramePlacementChange(placementAtStart_, framePlacement_, profile);
        return display || placement;
    });
    // Read again first: the control library records itself in the same file,
    // and another IDE may have changed the lists meanwhile. A file that cannot
    // be read is left alone: writing it would drop the registration.
    const std::string path = platform::RegistryFile::UserPath();
    const platform::FileLock lock(path, LockDeadline());
    if (lock.Error()) {
        NoteWriteFailure(path, ErrorText(lock.Error()));
        return;
    }
    platform::RegistryFile registry(path);
    if (!registry.Load()) {
        const std::string unreadable = ReadFailureReason(path);
        NoteWriteFailure(path, unreadable.empty() ? ErrorText(EIO) : unreadable);
        return;
    }
    const bool files = recentFiles_.MergeInto(registry, recentFilesAtStart_);
    const bool projects = recentProjects_.MergeInto(registry, recentProjectsAtStart_);
    std::string reason;
    platform::WriteFailure why;
    if ((files || projects) && !registry.Save(reason, why))
        NoteWriteFailure(path, why.error ? ErrorText(why.error) : reason);
}

void Workbench::SaveHistoriesAndPrintSetting()
{
    UpdateSettingsFile([this](platform::PrivateProfileFile& profile) {
        const bool histories = findHistory_->SaveChanges(historyAtStart_, profile);
        const bool print = printSetting_.SaveChanges(printAtStart_, profile);
        return histories || print;
    });
}

Workbench::JobStart Workbench::StartCompileJob(std::shared_ptr<CCompileJob> job,
                                               const std::function<std::unique_ptr<CompileSink>(int)>& makeSink)
{
    // The thread before has ended (the flag is clear); it is joined before
    // its sink goes.
    compileThread_.reset();
    compileJob_ = std::move(job);
    compileSink_ = makeSink(++compileSerial_);
    compileBusy = 1;
    compileThread_.reset(new CQUVCompileThread(compileJob_, compileSession_, *compileSink_, compileBusy));
    if (!workers_.Add(&compileThread_->AsWorker())) {
        // The frame is closing: no job starts.
        compileBusy = 0;
        compileThread_.reset();
        return JobStart::Closing;
    }
    if (!compileThread_->Start()) {
        workers_.Remove(&compileThread_->AsWorker());
        compileThread_.reset();
        return JobStart::NoThread;
    }
    return JobStart::Started;
}

bool Workbench::StopCompileJob()
{
    return !compileThread_ || compileThread_->Stop();
}

void Workbench::CompileJobEnded(int serial)
{
    if (serial != compileSerial_ || !compileThread_)
        return;
    workers_.Remove(&compileThread_->AsWorker());
    // The thread has made its last report: this join is at once.
    compileThread_->Join();
}

bool Workbench::ReplaceFindWorker(std::unique_ptr<Worker> worker)
{
    // The previous thread has ended (the command is disabled while one runs).
    if (findThread_) {
        findThread_->Stop();
        workers_.Remove(findThread_.get());
        findThread_.reset();
    }
    if (!workers_.Add(worker.get()))
        return false;
    findThread_ = std::move(worker);
    return true;
}

} // namespace ide
