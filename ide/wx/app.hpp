// The application object: owns the settings every editor shares, the
// project, the open-file list, the find histories, the recent lists and the
// running jobs; starts the program and saves the settings when it ends.
#pragma once
#include <atomic>
#include <functional>
#include <memory>
#include <vector>

#include <wx/app.h>
#include <wx/docview.h>

#include "compiler/driver/driver.hpp"
#include "ide/model/display_setting.hpp"
#include "ide/model/find_history.hpp"
#include "ide/model/output_rows.hpp"
#include "ide/model/print_setting.hpp"
#include "ide/model/recent_list.hpp"
#include "ide/model/worker_registry.hpp"
#include "platform/registry_file.hpp"

class wxDialog;
class wxMenuBar;

namespace ide {

class CMainFrame;

class CQuvBenchApp : public wxApp {
public:
    // Loads the print settings and the find histories.
    CQuvBenchApp();
    // Writes whatever shut-down has not written yet.
    ~CQuvBenchApp() override;

    bool OnInit() override;
    int OnExit() override;
    int FilterEvent(wxEvent& event) override;

    // The start-up proper; `args` without the program name. False ends the program.
    bool InitInstance(const wxArrayString& args);
    // Saves the display settings and the recent lists, then what the object's
    // end saves: the find histories and the print settings. Runs once.
    void ExitInstance();

    // Asks about every modified document, then the project; false when the user cancels.
    bool SaveAllModified();
    bool SaveModifiedProject();
    bool CloseAllDocuments();
    void AddToRecentProjectList(const wxString& path);
    void AddToRecentFileList(const wxString& path);
    void RefreshRecentMenus(wxMenuBar* bar);
    // Opens or activates the file; moving the caret there is the editor view's.
    void GoToLocation(const Location& at);
    // Loads the typeset text into its editor: the compile job's, not here yet.
    void LoadTypesetResult() {}

    // Every message box goes through here, so that tests can answer them.
    typedef std::function<int(const wxString& message, const wxString& caption, long style)> MessageBoxFn;
    int MessageBox(const wxString& message, const wxString& caption, long style);
    void SetMessageBox(MessageBoxFn fn) { messageBox_ = std::move(fn); }
    // Modal dialogs of the editor views run through here, for the same reason.
    typedef std::function<int(wxDialog& dialog)> ShowModalFn;
    int ShowModal(wxDialog& dialog);
    void SetShowModal(ShowModalFn fn) { showModal_ = std::move(fn); }

    // The display settings as the block every editor control is configured with.
    void SettingToSafeArray(std::vector<uint8_t>& out) const;

    CMainFrame* MainFrame() const { return mainFrame_; }
    wxDocManager* DocManager() const { return docManager_.get(); }
    WorkerRegistry& Workers() { return workers_; }
    CQuvProject& Project() { return *project_; }
    CQuvFileList& OpenFiles() { return *openFiles_; }
    CQuvFindHistory& FindHistory() { return *findHistory_; }
    CDisplaySetting& DisplaySetting() { return displaySetting_; }
    CPrintSetting& PrintSetting() { return printSetting_; }
    CRecentFileList& RecentFiles() { return recentFiles_; }
    CRecentFileList& RecentProjects() { return recentProjects_; }
    const std::string& SettingsFile() const { return iniPath_; }

    // Set while a compile (find) job runs; the command-update handlers read them.
    std::atomic<int> compileBusy{0};
    std::atomic<int> findBusy{0};

private:
    void OnAppAbout(wxCommandEvent&);
    void OnFileSaveAll(wxCommandEvent&);
    void OnFileCloseAll(wxCommandEvent&);
    // The page setup dialog over a copy of the print settings (page_setup_dlg.cpp).
    void OnFilePageSetup(wxCommandEvent&);
    void OnRecentFile(wxCommandEvent& event);
    void OnRecentProject(wxCommandEvent& event);
    void SaveRecentLists();

    std::string iniPath_;
    CDisplaySetting displaySetting_;
    CPrintSetting printSetting_;
    std::unique_ptr<CQuvFileList> openFiles_;
    std::unique_ptr<CQuvProject> project_;
    std::unique_ptr<CQuvFindHistory> findHistory_;
    CRecentFileList recentFiles_;
    CRecentFileList recentProjects_;
    WorkerRegistry workers_;
    std::unique_ptr<wxDocManager> docManager_;
    CMainFrame* mainFrame_ = nullptr;
    MessageBoxFn messageBox_;
    ShowModalFn showModal_;
    bool started_ = false;
    bool exited_ = false;

    wxDECLARE_EVENT_TABLE();
};

} // namespace ide

wxDECLARE_APP(ide::CQuvBenchApp);
