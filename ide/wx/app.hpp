// The application object: owns the workbench (the project, the open-file
// list, the histories, the settings and the running jobs) and the document
// manager, creates the main frame; starts the program and saves the settings
// when it ends.
#pragma once
#include <functional>
#include <memory>
#include <vector>

#include <wx/app.h>
#include <wx/docview.h>

#include "ide/model/output_rows.hpp"
#include "ide/model/workbench.hpp"
#include "ide/wx/window_services.hpp"

class wxDialog;
class wxMenuBar;

namespace ide {

class CCompileCommands;
class CFindInFilesCommands;
class CMainFrame;
class QuvFindJob;

class CQuvBenchApp : public wxApp, public WindowServices {
public:
    // Loads the print settings and the find histories.
    CQuvBenchApp();
    // Writes whatever shut-down has not written yet.
    ~CQuvBenchApp() override;

    bool OnInit() override;
    int OnExit() override;
    int FilterEvent(wxEvent& event) override;
    // An event handler (a command, a posted report) that could not get the
    // memory it asked for ends with a box; the IDE goes on. Any other
    // exception ends the program, as before.
    void CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor, wxEvent& event) const override;
    bool OnExceptionInMainLoop() override;

    // The start-up proper; `args` without the program name. False ends the program.
    bool InitInstance(const wxArrayString& args);
    // Saves the display settings and the recent lists, then what the object's
    // end saves: the find histories and the print settings. Runs once.
    void ExitInstance();

    // Asks about every modified document, then the project; false when the user
    // cancels. Documents answered No stay modified until they are closed.
    bool SaveAllModified() override;
    // Drops every document's modified flag: for a caller that closes them all
    // after SaveAllModified.
    void DiscardDocumentChanges() override;
    bool SaveModifiedProject();
    bool CloseAllDocuments();
    void AddToRecentProjectList(const wxString& path);
    void AddToRecentFileList(const wxString& path) override;
    void RefreshRecentMenus(wxMenuBar* bar) override;
    // Opens or activates the file, activates its window and puts the caret
    // at the line and column (the compile commands do it).
    void GoToLocation(const Location& at) override;
    void LoadTypesetResult() override;

    // Projects. False only when a chosen project file cannot be loaded; one
    // whose wait for its bytes the user cancelled leaves everything as it was.
    bool OpenProject(const wxString& path);
    // True when a project exists or the user has just created one.
    bool EnsureProjectCreated() override;
    // The project settings dialog; on OK the project tree shows the result.
    void ProjectSettings() override;
    // Activates the document of this file, or opens it.
    void OpenDocumentFile(const wxString& path) override;
    // Closes the document of this name, asking to save it first.
    void CloseDocumentByPath(const wxString& path) override;

    // Every message box goes through here, so that tests can answer them.
    typedef std::function<int(const wxString& message, const wxString& caption, long style)> MessageBoxFn;
    int MessageBox(const wxString& message, const wxString& caption, long style) override;
    void SetMessageBox(MessageBoxFn fn) { messageBox_ = std::move(fn); }
    // Modal dialogs of the editor views run through here, for the same reason.
    typedef std::function<int(wxDialog& dialog)> ShowModalFn;
    int ShowModal(wxDialog& dialog) override;
    void SetShowModal(ShowModalFn fn) { showModal_ = std::move(fn); }

    // The display settings as the block every editor control is configured with.
    void SettingToSafeArray(std::vector<uint8_t>& out) const override;
    // Where file dialogs start: the project's folder, else the active
    // document's, else the last folder a file dialog chose in.
    wxString StartFolder() const;

    CMainFrame* MainFrame() const override { return mainFrame_; }
    wxWindow* TopWindow() const override { return GetTopWindow(); }
    wxDocManager* DocManager() const override { return docManager_.get(); }
    Workbench& Bench() override { return bench_; }

    // The find-in-files command's start of a job (for tests).
    void StartFindJob(std::unique_ptr<QuvFindJob> job);

private:
    void TellOutOfMemory();
    void OnAppAbout(wxCommandEvent&);
    void OnFileSaveAll(wxCommandEvent&);
    void OnFileCloseAll(wxCommandEvent&);
    // The page setup dialog over a copy of the print settings (page_setup_dlg.cpp).
    void OnFilePageSetup(wxCommandEvent&);
    void OnRecentFile(wxCommandEvent& event);
    void OnRecentProject(wxCommandEvent& event);
    void OnNewProject(wxCommandEvent&);
    void OnOpenProject(wxCommandEvent&);
    void OnSaveProject(wxCommandEvent&);
    void OnProjectSettings(wxCommandEvent&);
    void OnFontSetup(wxCommandEvent&);
    void OnColorSetup(wxCommandEvent&);
    void OnSpaceSetup(wxCommandEvent&);
    // Writes the project file; a failed write is told and keeps the project modified.
    bool SaveProject();
    // Loads the project file; a failure is told with the file's name and why.
    // `cancelled` is set when the user gave up waiting for the file's bytes
    // (a named pipe): nothing is told then, and the project is as it was.
    bool LoadProjectFile(const wxString& path, bool& cancelled);
    // Closes every editor document without a question: the caller has asked.
    void CloseEditorDocuments();
    void ShowProjectTree();
    // Hands the display settings to every editor; `mask` names the group that changed.
    void ReConfigureEditors(long mask);

    Workbench bench_;
    std::unique_ptr<wxDocManager> docManager_;
    CMainFrame* mainFrame_ = nullptr;
    MessageBoxFn messageBox_;
    ShowModalFn showModal_;
    std::unique_ptr<CCompileCommands> compileCommands_;
    std::unique_ptr<CFindInFilesCommands> findInFilesCommands_;
    bool started_ = false;
    bool exited_ = false;

    wxDECLARE_EVENT_TABLE();
};

} // namespace ide

wxDECLARE_APP(ide::CQuvBenchApp);
