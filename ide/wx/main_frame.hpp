// The main window: MDI frame with tool bar, status bar, the Workspace bar
// (opened files, project) and the Output bar (compile results, find results,
// make output, run output). It receives the IDE's custom events and shows
// the panes they name.
#pragma once
#include <wx/aui/framemanager.h>
#include <wx/docmdi.h>
#include <wx/notebook.h>
#include <wx/treectrl.h>

#include "ide/wx/kept_theme.hpp"
#include "ide/wx/output_panes.hpp"
#include "ide/wx/window_services.hpp"
#include "ide/wx/workspace_views.hpp"

namespace ide {

class CMainFrame : public KeptThemeAttributes<wxDocMDIParentFrame> {
public:
    // `services`: the documents, the workbench and the application's answers
    // to the frame's requests (go to a place, load a typeset result, close).
    CMainFrame(wxDocManager* manager, WindowServices& services);
    ~CMainFrame() override;

    void ShowMakeOutput();
    void ShowRunOutput();
    void ShowCompileOutput();
    void ShowFindOutput();
    void ActivateProjectTree();
    void ActivateOpenedFilesTree();

    bool IsOutputBarShown() const;
    void ShowOutputBar(bool show);
    bool IsWorkspaceBarShown() const;
    void ShowWorkspaceBar(bool show);

    wxNotebook* OutputBar() const { return output_; }
    wxNotebook* WorkspaceBar() const { return workspace_; }
    CCompileResultListView* CompileList() const { return compileList_; }
    CLookupResultListView* FindList() const { return findList_; }
    CMakeResultView* MakeOutput() const { return makeOutput_; }
    CRunResultView* RunOutput() const { return runOutput_; }
    CQUVOpenedFilesTreeView* OpenedFilesTree() const { return openedFiles_; }
    CQUVProjectTreeView* ProjectTree() const { return projectTree_; }

    // The recent-file and recent-project entries of every menu bar.
    void RefreshRecentMenus();
    // Gives the keyboard to the active document's editor, or with no document
    // to the frame, where the accelerator keys act.
    void FocusForKeys();
    // Shows the frame maximised, over the rectangle un-maximising gives back:
    // the one kept from the last run, or a fair share of the screen.
    void ShowMaximised();

protected:
    wxStatusBar* OnCreateStatusBar(int number, long style, wxWindowID id, const wxString& name) override;

private:
    void CreateDockingBars();
    void ShowOutputTab(wxWindow* page);
    void BindCustomEvents();
    void BindViewCommands();
    void OnClose(wxCloseEvent& event);
    void OnCharHook(wxKeyEvent& event);
    void OnIdle(wxIdleEvent& event);
    // Keeps the frame's rectangle, which un-maximising gives back, while it
    // is neither maximised nor iconised.
    void KeepRestoredRect();
    // The kept rectangle made to fit the screen, or three quarters of it.
    wxRect RectToRestore() const;

    WindowServices& services_;
    wxAuiManager aui_;
    wxNotebook* workspace_ = nullptr;
    wxNotebook* output_ = nullptr;
    CCompileResultListView* compileList_ = nullptr;
    CLookupResultListView* findList_ = nullptr;
    CMakeResultView* makeOutput_ = nullptr;
    CRunResultView* runOutput_ = nullptr;
    CQUVOpenedFilesTreeView* openedFiles_ = nullptr;
    CQUVProjectTreeView* projectTree_ = nullptr;
    // Set once the frame has given the keyboard back after it found none
    // focused, until a window has the focus again.
    bool refocused_ = false;
    bool maximisePending_ = false;
    // Whose the frame's rectangle is: the window manager's while it
    // maximises the frame or answers a size given back, else the user's.
    enum class Placement { Settled, Maximising, Restoring };
    Placement placement_ = Placement::Settled;
    bool maximised_ = false;
    wxRect passing_;  // the rectangle un-maximising gave before the kept one was given back
    // The last rectangle found no restored frame's (the whole screen, too
    // small): asked after every event, it is not measured against the
    // screen again while the frame keeps it.
    wxRect notKept_;
};

} // namespace ide
