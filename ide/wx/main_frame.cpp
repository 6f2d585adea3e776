#include "ide/wx/main_frame.hpp"

#include <algorithm>

#include <wx/statusbr.h>
#include <wx/toolbar.h>
#include <wx/utils.h>

#include <gdk/gdk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include "ide/model/workbench.hpp"
#include "ide/wx/doc_view.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/menus.hpp"
#include "ide/wx/pane_events.hpp"
#include "ide/wx/splash_wnd.hpp"

namespace ide {

namespace {
const char kWorkspacePane[] = "workspace";
const char kOutputPane[] = "output";
// The caret position pane is at least as wide as this text, and wide enough
// for a position of a 7-digit line and a 5-digit column.
const char kPositionPaneText[] = "hehetestttttt";
const char kWidestPosition[] = "Ln8888888, Col88888";

// A status bar whose new text is painted with the rest of the window when
// the window system next paints, not at once: wx's own forces a paint of
// the whole frame's pending areas, and a round trip to the X server, at each
// caret move.
class StatusBar : public KeptThemeAttributes<wxStatusBar> {
public:
    StatusBar(wxWindow* parent, wxWindowID id, long style, const wxString& name)
        : KeptThemeAttributes(parent, id, style, name)
    {
    }

protected:
    void DoUpdateStatusText(int number) override
    {
        wxRect rect;
        if (GetFieldRect(number, rect))
            RefreshRect(rect);
    }
};

// Whether a window manager will maximise the frame when asked: on X11 only
// one that says it knows the maximised state does.
bool WindowManagerMaximises()
{
#ifdef GDK_WINDOWING_X11
    GdkScreen* screen = gdk_screen_get_default();
    if (screen && GDK_IS_X11_SCREEN(screen))
        return gdk_x11_screen_supports_net_wm_hint(screen, gdk_atom_intern_static_string("_NET_WM_STATE_MAXIMIZED_HORZ"));
#endif
    return true;
}
} // namespace

wxStatusBar* CMainFrame::OnCreateStatusBar(int number, long style, wxWindowID id, const wxString& name)
{
    auto* status = new StatusBar(this, id, style, name);
    status->SetFieldsCount(number);
    return status;
}

CMainFrame::CMainFrame(wxDocManager* manager, WindowServices& services)
    : KeptThemeAttributes(manager, nullptr, wxID_ANY, "QuvBench", wxDefaultPosition, wxSize(1000, 720),
                          wxDEFAULT_FRAME_STYLE | wxFRAME_NO_WINDOW_MENU),
      services_(services)
{
    SetMenuBar(CreateMainMenuBar());

    wxToolBar* tools = CreateToolBar(wxTB_HORIZONTAL | wxTB_FLAT);
    AddToolBarButtons(tools);

    wxStatusBar* status = CreateStatusBar(5);
    const int position =
        std::max(status->GetTextExtent(kPositionPaneText).x, status->GetTextExtent(kWidestPosition).x) + 12;
    const int lock = status->GetTextExtent("SCRL").x + 12;
    const int widths[] = {-1, position, lock, lock, lock};
    SetStatusWidths(5, widths);

    CreateDockingBars();
    BindCustomEvents();
    BindViewCommands();
    // Bound after the document frame's own close handler, so it runs first.
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_CHAR_HOOK, &CMainFrame::OnCharHook, this);
    Bind(wxEVT_IDLE, &CMainFrame::OnIdle, this);
    RefreshRecentMenus();

    CSplashWnd::ShowSplashScreen(this);
}

CMainFrame::~CMainFrame()
{
    aui_.UnInit();
}

void CMainFrame::CreateDockingBars()
{
    aui_.SetManagedWindow(this);
    aui_.AddPane(GetClientWindow(), wxAuiPaneInfo().CenterPane().Name("documents"));

    workspace_ = new wxNotebook(this, wxID_ANY, wxDefaultPosition, wxSize(220, 200), wxNB_BOTTOM);
    openedFiles_ = new CQUVOpenedFilesTreeView(services_, workspace_);
    projectTree_ = new CQUVProjectTreeView(services_, workspace_);
    // ORDER WORKSPACE TABS
    workspace_->AddPage(openedFiles_, U8("打开的文件"));
    workspace_->AddPage(projectTree_, U8("工程文件"));
    aui_.AddPane(workspace_, wxAuiPaneInfo()
                                 .Name(kWorkspacePane)
                                 .Caption(U8("工作区"))
                                 .Left()
                                 .BestSize(220, 200)
                                 .MinSize(120, 100)
                                 .CloseButton(true));

    output_ = new wxNotebook(this, wxID_ANY, wxDefaultPosition, wxSize(200, 250), wxNB_BOTTOM);
    compileList_ = new CCompileResultListView(output_);
    findList_ = new CLookupResultListView(output_);
    makeOutput_ = new CMakeResultView(output_);
    runOutput_ = new CRunResultView(output_);
    // ORDER OUTPUT TABS
    output_->AddPage(compileList_, U8("编译"));
    output_->AddPage(findList_, U8("查找"));
    output_->AddPage(makeOutput_, U8("Make输出"));
    output_->AddPage(runOutput_, U8("运行输出"));
    aui_.AddPane(output_, wxAuiPaneInfo()
                              .Name(kOutputPane)
                              .Caption(U8("输出"))
                              .Bottom()
                              .BestSize(200, 300)
                              .MinSize(100, 250)
                              .CloseButton(true));

    const GoToHandler goTo = [this](const Location& at) { services_.GoToLocation(at); };
    compileList_->SetGoToHandler(goTo);
    findList_->SetGoToHandler(goTo);
    aui_.Update();
}

void CMainFrame::BindCustomEvents()
{
    Bind(EVT_SHOW_MAKE_OUTPUT, [this](wxThreadEvent&) { ShowMakeOutput(); });
    Bind(EVT_SHOW_RUN_OUTPUT, [this](wxThreadEvent&) { ShowRunOutput(); });
    Bind(EVT_SHOW_COMPILE_OUTPUT, [this](wxThreadEvent&) { ShowCompileOutput(); });
    Bind(EVT_SHOW_FIND_OUTPUT, [this](wxThreadEvent&) { ShowFindOutput(); });
    Bind(EVT_SHOW_PROJECT_TREE, [this](wxThreadEvent&) { ActivateProjectTree(); });
    Bind(EVT_SHOW_OPENED_FILES, [this](wxThreadEvent&) { ActivateOpenedFilesTree(); });
    Bind(EVT_TYPESET_DONE, [this](wxThreadEvent&) { services_.LoadTypesetResult(); });
    Bind(EVT_COMPILE_ROW, [this](wxThreadEvent& e) { compileList_->AddRow(e.GetPayload<CompileRow>()); });
    Bind(EVT_LOOKUP_ROW, [this](wxThreadEvent& e) { findList_->AddEntry(e.GetPayload<LookupEntry>()); });
    Bind(EVT_LOOKUP_ROWS, [this](wxThreadEvent& e) {
        const LookupVisit visit = e.GetPayload<LookupVisit>();
        findList_->AppendBatch(*visit.batch, visit.reload);
    });
    Bind(EVT_MAKE_BYTES, [this](wxThreadEvent& e) { makeOutput_->AppendBytes(e.GetPayload<std::string>()); });
    Bind(EVT_RUN_BYTES, [this](wxThreadEvent& e) { runOutput_->AppendBytes(e.GetPayload<std::string>()); });
}

void CMainFrame::BindViewCommands()
{
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ShowWorkspaceBar(!IsWorkspaceBarShown()); }, ID_VIEW_WORKSPACE);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ShowOutputBar(!IsOutputBarShown()); }, ID_VIEW_OUTPUT);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ShowOutputBar(false); }, ID_PANE_HIDE);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        GetToolBar()->Show(!GetToolBar()->IsShown());
        SendSizeEvent();
    }, ID_VIEW_TOOLBAR);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) {
        GetStatusBar()->Show(!GetStatusBar()->IsShown());
        SendSizeEvent();
    }, ID_VIEW_STATUS_BAR);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Check(IsWorkspaceBarShown()); }, ID_VIEW_WORKSPACE);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Check(IsOutputBarShown()); }, ID_VIEW_OUTPUT);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Check(GetToolBar()->IsShown()); }, ID_VIEW_TOOLBAR);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Check(GetStatusBar()->IsShown()); }, ID_VIEW_STATUS_BAR);
    // GTK shows document windows as tabs: there is nothing to cascade or tile,
    // and no split view to move between.
    for (int id : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_TILE_VERT, ID_NEXT_PANE, ID_PREV_PANE})
        Bind(wxEVT_MENU, [](wxCommandEvent&) {}, id);
}

bool CMainFrame::IsOutputBarShown() const
{
    return const_cast<wxAuiManager&>(aui_).GetPane(kOutputPane).IsShown();
}

void CMainFrame::ShowOutputBar(bool show)
{
    aui_.GetPane(kOutputPane).Show(show);
    aui_.Update();
}

bool CMainFrame::IsWorkspaceBarShown() const
{
    return const_cast<wxAuiManager&>(aui_).GetPane(kWorkspacePane).IsShown();
}

void CMainFrame::ShowWorkspaceBar(bool show)
{
    aui_.GetPane(kWorkspacePane).Show(show);
    aui_.Update();
}

void CMainFrame::ShowOutputTab(wxWindow* page)
{
    // The notebook gives the page it turns to the keyboard. A pane shown for
    // a job must leave the keys where the user types (in the document the
    // command came from, or wherever the user went meanwhile); only a user
    // already in the output bar moves with it.
    wxWindow* focus = FindFocus();
    if (!IsOutputBarShown())
        ShowOutputBar(true);
    const int index = output_->FindPage(page);
    if (index != wxNOT_FOUND)
        output_->SetSelection(index);
    if (focus && FindFocus() != focus && !output_->IsDescendant(focus))
        focus->SetFocus();
}

void CMainFrame::ShowMakeOutput()
{
    ShowOutputTab(makeOutput_);
    makeOutput_->Clear();
}

void CMainFrame::ShowRunOutput()
{
    ShowOutputTab(runOutput_);
    runOutput_->Clear();
}

void CMainFrame::ShowCompileOutput()
{
    ShowOutputTab(compileList_);
    compileList_->ClearAll();
}

void CMainFrame::ShowFindOutput()
{
    ShowOutputTab(findList_);
    findList_->ClearAll();
}

void CMainFrame::ActivateProjectTree() { workspace_->SetSelection(workspace_->FindPage(projectTree_)); }
void CMainFrame::ActivateOpenedFilesTree() { workspace_->SetSelection(workspace_->FindPage(openedFiles_)); }

void CMainFrame::RefreshRecentMenus()
{
    services_.RefreshRecentMenus(GetMenuBar());
    if (!services_.DocManager())
        return;
    for (wxDocument* doc : services_.DocManager()->GetDocumentsVector())
        for (wxView* view : doc->GetViewsVector())
            if (auto* frame = wxDynamicCast(view->GetFrame(), wxFrame))
                services_.RefreshRecentMenus(frame->GetMenuBar());
}

void CMainFrame::OnClose(wxCloseEvent& event)
{
    if (!services_.SaveAllModified() && event.CanVeto()) {
        event.Veto();
        return;
    }
    KeepRestoredRect();
    // Every document has had its answer and goes with the frame: closing must not ask again.
    services_.DiscardDocumentChanges();
    // Every job that writes to the panes ends before any pane goes.
    services_.Bench().Workers().StopAll();
    CSplashWnd::HideSplashScreen();
    event.Skip();
}

void CMainFrame::OnCharHook(wxKeyEvent& event)
{
    const int command = AcceleratorCommand(event);
    if (!command) {
        event.Skip();
        return;
    }
    // A key the editor handled (Ctrl+Z, Ctrl+C, ...) is done with.
    if (CQuvBenchView::OfferKeyToEditor(services_.DocManager(), event))
        return;
    // From the focused window up, as a menu command would travel.
    wxWindow* target = FindFocus();
    if (!target)
        target = this;
    wxCommandEvent menu(wxEVT_MENU, command);
    menu.SetEventObject(target);
    target->GetEventHandler()->ProcessEvent(menu);
}

void CMainFrame::FocusForKeys()
{
    if (IsBeingDeleted() || !IsShown())
        return;
    wxDocManager* manager = services_.DocManager();
    if (auto* view = manager ? wxDynamicCast(manager->GetCurrentView(), CQuvBenchView) : nullptr) {
        view->FocusEditor();
        return;
    }
    if (wxWindow* documents = GetClientWindow())
        documents->SetFocus();
}

void CMainFrame::ShowMaximised()
{
    const wxRect work = wxGetClientDisplayRect();
    SetMinSize(wxSize(std::min(kMinFrameWidth, work.width), std::min(kMinFrameHeight, work.height)));
    SetSize(RectToRestore());
    Show();
    // Maximised once shown: a window manager told before it manages the
    // window restores it to its smallest size, not to this one.
    maximisePending_ = true;
    placement_ = WindowManagerMaximises() ? Placement::Maximising : Placement::Settled;
}

wxRect CMainFrame::RectToRestore() const
{
    const wxRect work = wxGetClientDisplayRect();
    const FrameRect rect =
        RestoredFrameRect(services_.Bench().FramePlacement(), {work.x, work.y, work.width, work.height});
    return wxRect(rect.x, rect.y, rect.width, rect.height);
}

void CMainFrame::KeepRestoredRect()
{
    if (!IsShown() || IsIconized() || IsFullScreen())
        return;
    if (IsMaximized()) {
        maximised_ = true;
        if (placement_ == Placement::Maximising)
            placement_ = Placement::Settled;
        return;
    }
    const wxRect now = GetRect();
    if (maximised_) {
        // Un-maximised, the window manager gives back what it saw of the
        // frame before, which may be a size passed on the way to maximised
        // (the smallest one at the first start): the frame takes the
        // rectangle kept for it, its place with its size.
        maximised_ = false;
        const wxRect restore = RectToRestore();
        if (now != restore) {
            placement_ = Placement::Restoring;
            passing_ = now;
            SetSize(restore);
            return;
        }
    }
    // Until the window manager has maximised the frame, or has answered the
    // size given back, the sizes are its own, not the user's.
    if (placement_ == Placement::Maximising)
        return;
    if (placement_ == Placement::Restoring) {
        if (now == passing_)
            return;
        placement_ = Placement::Settled;
    }
    // On the way to and from maximised, the frame reports passing sizes (a
    // sliver, or the whole screen before it says it is maximised): a
    // restored frame is at least the smallest and less than the screen.
    FrameRect& kept = services_.Bench().FramePlacement();
    if (now == wxRect(kept.x, kept.y, kept.width, kept.height) || now == notKept_)
        return;
    const wxRect work = wxGetClientDisplayRect();
    if (now.width < GetMinWidth() || now.height < GetMinHeight() ||
        (now.width >= work.width && now.height >= work.height)) {
        notKept_ = now;
        return;
    }
    notKept_ = wxRect();
    kept = FrameRect{now.x, now.y, now.width, now.height};
}

namespace {
enum class LockKey { Caps, Num, Scroll };

// Whether a lock key is on. The keymap keeps the lock states the window
// system last told, so asking costs no round trip to the server: the frame
// asks after every event.
bool LockKeyOn(LockKey key)
{
    if (GdkDisplay* display = gdk_display_get_default())
        if (GdkKeymap* keymap = gdk_keymap_get_for_display(display)) {
            switch (key) {
            case LockKey::Caps: return gdk_keymap_get_caps_lock_state(keymap);
            case LockKey::Num: return gdk_keymap_get_num_lock_state(keymap);
            case LockKey::Scroll: return gdk_keymap_get_scroll_lock_state(keymap);
            }
        }
    return wxGetKeyState(key == LockKey::Caps ? WXK_CAPITAL : key == LockKey::Num ? WXK_NUMLOCK : WXK_SCROLL);
}
} // namespace

void CMainFrame::OnIdle(wxIdleEvent& event)
{
    if (maximisePending_) {
        maximisePending_ = false;
        Maximize();
    }
    KeepRestoredRect();
    // A focused window that went (a closed document, a dialog, the print
    // preview that disabled the frame) leaves none: the keys would go nowhere.
    if (FindFocus())
        refocused_ = false;
    else if (!refocused_ && IsActive() && IsEnabled()) {
        refocused_ = true;
        FocusForKeys();
    }

    wxStatusBar* status = GetStatusBar();
    if (status) {
        const char* const texts[] = {"CAP", "NUM", "SCRL"};
        const LockKey keys[] = {LockKey::Caps, LockKey::Num, LockKey::Scroll};
        for (int i = 0; i < 3; ++i) {
            const wxString text = LockKeyOn(keys[i]) ? wxString(texts[i]) : wxString();
            if (status->GetStatusText(2 + i) != text)
                status->SetStatusText(text, 2 + i);
        }
    }
    event.Skip();
}

} // namespace ide
