#include "ide/model/workbench.hpp"

#include "platform/registry_file.hpp"

namespace ide {

Workbench::Workbench(std::string settingsFile)
    : iniPath_(std::move(settingsFile)),
      openFiles_(new CQuvFileList),
      project_(new CQuvProject),
      findHistory_(new CQuvFindHistory),
      recentFiles_("Recent File List", "File%d", 8, 30),
      recentProjects_("Recent Project List", "Project%d", 8, 30)
{
    printSetting_.Load(iniPath_);
    findHistory_->LoadFromIni(iniPath_);
}

Workbench::~Workbench()
{
    // The compile thread's destructor stops and joins it; the find thread's too.
    compileThread_.reset();
    findThread_.reset();
}

void Workbench::LoadStartSettings()
{
    LoadDisplaySetting(displaySetting_, iniPath_);
    platform::RegistryFile registry(platform::RegistryFile::UserPath());
    registry.Load();
    recentFiles_.ReadList(registry);
    recentProjects_.ReadList(registry);
}

void Workbench::SaveDisplayAndRecentLists()
{
    SaveDisplaySetting(displaySetting_, iniPath_);
    // Read again first: the control library records itself in the same file.
    platform::RegistryFile registry(platform::RegistryFile::UserPath());
    registry.Load();
    recentFiles_.WriteList(registry);
    recentProjects_.WriteList(registry);
    registry.Save();
}

void Workbench::SaveHistoriesAndPrintSetting()
{
    findHistory_->SaveToIni(iniPath_);
    printSetting_.Save(iniPath_);
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
    compileThread_.reset(new CQUVCompileThread(compileJob_, *compileSink_, compileBusy));
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
