#include "ide/wx/doc_view.hpp"

#include <wx/filedlg.h>
#include <wx/statusbr.h>

#include "ide/model/error_text.hpp"
#include "platform/file_io.hpp"
#include "platform/registry_file.hpp"

#include "ide/wx/common_dialogs.hpp"
#include "ide/wx/find_commands.hpp"
#include "ide/wx/goto_line_dlg.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/menus.hpp"
#include "ide/wx/quv_pad.hpp"
#include "ide/wx/view_finder.hpp"
#include "ide/wx/workspace_views.hpp"
#include "ide/wx/source_printout.hpp"

namespace ide {

namespace {
// The control's id inside its frame.
const int kControlId = 1000;
// The status bar pane that shows the caret position.
const int kPositionPane = 1;

// None once the main frame is on its way out.
CMainFrame* LiveMainFrame(const WindowServices* services)
{
    CMainFrame* frame = services ? services->MainFrame() : nullptr;
    if (!frame || !wxTopLevelWindows.Find(frame) || frame->IsBeingDeleted())
        return nullptr;
    return frame;
}
wxStatusBar* PositionStatusBar(const WindowServices* services)
{
    CMainFrame* frame = LiveMainFrame(services);
    return frame ? frame->GetStatusBar() : nullptr;
}
// The document manager hands the application's services to its documents and views.
WindowServices& ServicesOf(const wxDocument* doc)
{
    return wxStaticCast(doc->GetDocumentManager(), CQuvDocManager)->Services();
}
} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CQuvBenchDoc, wxDocument);
wxIMPLEMENT_DYNAMIC_CLASS(CQuvBenchView, wxView);

// ---- document ----

bool CQuvBenchDoc::OnSaveModified()
{
    if (!IsModified())
        return true;
    const int answer = ServicesOf(this).MessageBox(
        wxString::Format(U8("是否保存对 %s 的修改？"), GetUserReadableName()), U8("提示"),
        wxYES_NO | wxCANCEL | wxICON_QUESTION);
    if (answer == wxCANCEL)
        return false;
    if (answer == wxYES)
        return Save();
    return true;
}

CQuvBenchView* CQuvBenchDoc::GetView() const { return wxDynamicCast(GetFirstView(), CQuvBenchView); }

CQuvPad* CQuvBenchDoc::GetQuvPad() const
{
    CQuvBenchView* view = GetView();
    return view ? view->GetQuvPad() : nullptr;
}

wxString CQuvBenchDoc::ListName() const { return GetFilename().empty() ? GetTitle() : GetFilename(); }

bool CQuvBenchDoc::OnNewDocument()
{
    if (!wxDocument::OnNewDocument())
        return false;
    Modify(true);
    DocumentOpened(ServicesOf(this), ListName());
    return true;
}

void CQuvBenchDoc::ReportOpenFailure(const wxString& file)
{
    ServicesOf(this).MessageBox(wxString::Format(U8("无法打开文件 %s。"), file), U8("错误"), wxOK | wxICON_ERROR);
}

bool CQuvBenchDoc::OnCreate(const wxString& path, long flags)
{
    // A file that cannot be read is refused before any window is made for it.
    std::string data, error;
    if (!(flags & wxDOC_NEW) && !platform::ReadWholeFile(path.utf8_string(), data, error)) {
        ReportOpenFailure(path);
        return false;
    }
    return wxDocument::OnCreate(path, flags);
}

bool CQuvBenchDoc::DoOpenDocument(const wxString& file)
{
    CQuvPad* pad = GetQuvPad();
    if (pad && pad->FileLoad(file)) {
        DocumentOpened(ServicesOf(this), file);
        return true;
    }
    // The document goes unopened; nothing of it is left to save.
    Modify(false);
    ReportOpenFailure(file);
    return false;
}

bool CQuvBenchDoc::DoSaveDocument(const wxString& file)
{
    CQuvPad* pad = GetQuvPad();
    const wxString old = ListName();
    // The control remembers the name it saves under; a new name is written as such.
    const bool saved = pad && (old == file ? pad->FileSave(file) : pad->FileSaveAs(file));
    if (!saved) {
        // Why, in the IDE's words: a file the user may not write, a full disk...
        // Without an error number (a file that is not a regular one) the
        // REASON of the control's "cannot write PATH: REASON" is all there is.
        wxString why;
        if (pad) {
            const std::string english = pad->LastErrorText().utf8_string();
            const size_t colon = english.rfind(": ");
            why = wxString::FromUTF8(SaveFailureReason(pad->LastSystemError(), pad->LastSaveLostOldContents(),
                                                       colon == std::string::npos ? english
                                                                                  : english.substr(colon + 2)));
        }
        ServicesOf(this).MessageBox(wxString::Format(U8("无法保存文件 %s。"), file) +
                                        (why.empty() ? wxString() : U8("\n原因：") + why),
                                    U8("错误"), wxOK | wxICON_ERROR);
        return false;
    }
    if (old != file)
        DocumentRenamed(ServicesOf(this), old, file);
    return true;
}

bool CQuvBenchDoc::OnCloseDocument()
{
    DocumentClosed(ServicesOf(this), ListName());
    return wxDocument::OnCloseDocument();
}

// ---- view ----

wxBEGIN_EVENT_TABLE(CQuvBenchView, wxView)
    EVT_MENU(ID_EDIT_BREAKPOINT, CQuvBenchView::OnEditCommand)
    EVT_MENU(ID_EDIT_COPY, CQuvBenchView::OnEditCommand)
    EVT_MENU(ID_EDIT_CUT, CQuvBenchView::OnEditCommand)
    EVT_MENU(ID_EDIT_PASTE, CQuvBenchView::OnEditCommand)
    EVT_MENU(ID_EDIT_UNDO, CQuvBenchView::OnEditCommand)
    EVT_MENU(ID_EDIT_REDO, CQuvBenchView::OnEditCommand)
    EVT_MENU(ID_EDIT_SELECT_ALL, CQuvBenchView::OnEditCommand)
    EVT_MENU(ID_EDIT_GOTO_LINE, CQuvBenchView::OnEditCommand)
    EVT_UPDATE_UI(ID_EDIT_COPY, CQuvBenchView::OnUpdateEdit)
    EVT_UPDATE_UI(ID_EDIT_CUT, CQuvBenchView::OnUpdateEdit)
    EVT_UPDATE_UI(ID_EDIT_PASTE, CQuvBenchView::OnUpdateEdit)
    EVT_UPDATE_UI(ID_EDIT_UNDO, CQuvBenchView::OnUpdateEdit)
    EVT_UPDATE_UI(ID_EDIT_REDO, CQuvBenchView::OnUpdateEdit)
    EVT_UPDATE_UI(ID_EDIT_SELECT_ALL, CQuvBenchView::OnUpdateEdit)
    EVT_UPDATE_UI(ID_EDIT_GOTO_LINE, CQuvBenchView::OnUpdateEdit)
    EVT_MENU(ID_FILE_PRINT, CQuvBenchView::OnFilePrint)
    EVT_MENU(ID_FILE_PRINT_PREVIEW, CQuvBenchView::OnFilePrintPreview)
wxEND_EVENT_TABLE()

CQuvBenchView::CQuvBenchView() = default;

CQuvBenchView::~CQuvBenchView()
{
    if (pad_ && pad_->IsCreated())
        pad_->Unadvise(this);
}

bool CQuvBenchView::OnCreate(wxDocument* doc, long)
{
    services_ = &ServicesOf(doc);
    auto* parent = wxStaticCast(services_->TopWindow(), wxMDIParentFrame);
#ifdef __WXGTK__
    const bool insertionPending = parent->m_justInserted;
#endif
    auto* frame = new CChildFrame(doc, this, parent);
    SetFrame(frame);

    pad_.reset(new CQuvPad);
    // The frame gets its place among the document tabs only later; until
    // then the control takes the documents' area, so that a caret placed at
    // once is scrolled into view for the size the user will see.
    wxSize size = frame->GetClientSize();
    if (wxWindow* documents = parent->GetClientWindow())
        size.IncTo(documents->GetClientSize());
    std::string error;
    if (!pad_->Create(frame, kControlId, wxRect(wxPoint(0, 0), size), error)) {
        pad_.reset();
        const std::string told =
            ControlCreationFailure(platform::RegistryFile::UserPath(), quvpad::kControlClsid, error);
        services_->MessageBox(wxString::Format(U8("无法创建编辑控件：%s"), wxString::FromUTF8(told)), U8("错误"),
                              wxOK | wxICON_ERROR);
        SetFrame(nullptr);
        frame->Destroy();
#ifdef __WXGTK__
        // The parent would bring the frame forward on its next idle and
        // attach the menus of the document in front, which are attached
        // already (a failed assertion in front of the user): the frame is
        // gone, and an insertion before it still counts.
        parent->m_justInserted = insertionPending;
#endif
        return false;
    }
    pad_->Advise(this);
    std::vector<uint8_t> settings;
    services_->SettingToSafeArray(settings);
    pad_->Configure(settings);
    pad_->CreateEditor();
    finderEditor_.reset(new CViewFinderEditor(*this));
    find_.reset(new CViewFindCommands(*services_, *this, *finderEditor_));
    find_->SetRefocus([this] { FocusEditor(); });
    // The control fills the frame: a frame sizes its only child to its client
    // area when it gets its own size.
    frame->Show();
    FocusEditor();
    return true;
}

bool CQuvBenchView::OnClose(bool deleteWindow)
{
    if (!wxView::OnClose(deleteWindow))
        return false;
    Activate(false);
    if (deleteWindow && GetFrame()) {
        GetFrame()->Destroy();
        SetFrame(nullptr);
    }
    // The tab that becomes active shows its own position; with the last
    // document the position goes.
    ClearPositionIfLast();
    // The keys go to the editor of the tab that becomes active, or with the
    // last document to the frame, not to the closed editor.
    if (CMainFrame* main = LiveMainFrame(services_))
        main->CallAfter(&CMainFrame::FocusForKeys);
    return true;
}

void CQuvBenchView::OnActivateView(bool activate, wxView* activeView, wxView* deactiveView)
{
    wxView::OnActivateView(activate, activeView, deactiveView);
    if (activate)
        ShowPosition();
}

void CQuvBenchView::FocusEditor()
{
    CallAfter([this] {
        if (pad_ && pad_->IsCreated())
            pad_->Focus();
    });
}

void CQuvBenchView::PostLocatePos(int line, int column)
{
    CallAfter([this, line, column] {
        if (pad_ && pad_->IsCreated())
            pad_->LocatePos(line, column);
    });
}

void CQuvBenchView::GoTo()
{
    if (!pad_ || !pad_->IsCreated())
        return;
    CGotoLineDlg dialog(*services_, caretLine_, caretColumn_, GetFrame());
    if (services_->ShowModal(dialog) != wxID_OK)
        return;
    caretLine_ = dialog.Line();
    caretColumn_ = dialog.Column();
    pad_->LocatePos(caretLine_, caretColumn_);
    FocusEditor();
}

template <typename F>
void CQuvBenchView::WithPad(F call)
{
    if (pad_ && pad_->IsCreated())
        call(*pad_);
}

void CQuvBenchView::OnEditCommand(wxCommandEvent& event)
{
    switch (event.GetId()) {
    case ID_EDIT_BREAKPOINT: WithPad([](CQuvPad& p) { p.EditBreakPoint(); }); break;
    case ID_EDIT_COPY: WithPad([](CQuvPad& p) { p.EditCopy(); }); break;
    case ID_EDIT_CUT: WithPad([](CQuvPad& p) { p.EditCut(); }); break;
    case ID_EDIT_PASTE: WithPad([](CQuvPad& p) { p.EditPaste(); }); break;
    case ID_EDIT_UNDO: WithPad([](CQuvPad& p) { p.EditUndo(); }); break;
    case ID_EDIT_REDO: WithPad([](CQuvPad& p) { p.EditRedo(); }); break;
    case ID_EDIT_SELECT_ALL: WithPad([](CQuvPad& p) { p.EditSelectAll(); }); break;
    case ID_EDIT_GOTO_LINE: GoTo(); break;
    default: event.Skip(); break;
    }
}

void CQuvBenchView::OnUpdateEdit(wxUpdateUIEvent& event)
{
    WithPad([&event](CQuvPad& p) {
        switch (event.GetId()) {
        case ID_EDIT_COPY: event.Enable(p.GetBCanCopy()); break;
        case ID_EDIT_CUT: event.Enable(p.GetBCanCut()); break;
        case ID_EDIT_PASTE: event.Enable(p.GetBCanPaste()); break;
        case ID_EDIT_UNDO: event.Enable(p.GetBCanUndo()); break;
        case ID_EDIT_REDO: event.Enable(p.GetBCanRedo()); break;
        default: event.Enable(true); break;
        }
    });
}

void CQuvBenchView::ModifiedChanged(bool modified)
{
    if (wxDocument* doc = GetDocument())
        doc->Modify(modified);
    if (find_)
        find_->Finder().MarkStale();
}

void CQuvBenchView::PosChanged(int caretLine, int caretColumn, int anchorLine, int anchorColumn)
{
    caretLine_ = caretLine;
    caretColumn_ = caretColumn;
    anchorLine_ = anchorLine;
    anchorColumn_ = anchorColumn;
    // The status bar paints itself at once when its text changes, and the
    // window under it with it: it shows the position once the event that
    // moved the caret is done and the window system has painted it.
    if (positionQueued_)
        return;
    positionQueued_ = true;
    CallAfter([this] {
        positionQueued_ = false;
        // A document in the background (a replace in all open files) keeps
        // its position to itself.
        wxDocManager* manager = services_ ? services_->DocManager() : nullptr;
        wxView* active = manager ? manager->GetCurrentView() : nullptr;
        if (!active || active == this)
            ShowPosition();
    });
}

void CQuvBenchView::ShowPosition() const
{
    if (wxStatusBar* status = PositionStatusBar(services_))
        status->SetStatusText(wxString::Format("%s%d%s%d", "Ln", caretLine_, ", Col", caretColumn_), kPositionPane);
}

void CQuvBenchView::ClearPositionIfLast() const
{
    wxDocManager* manager = services_ ? services_->DocManager() : nullptr;
    wxStatusBar* status = PositionStatusBar(services_);
    if (!manager || !status)
        return;
    for (wxDocument* doc : manager->GetDocumentsVector())
        if (doc != GetDocument())
            return;
    status->SetStatusText(wxString(), kPositionPane);
}

bool CQuvBenchView::OfferKeyToEditor(wxDocManager* manager, wxKeyEvent& key)
{
    wxWindow* focus = wxWindow::FindFocus();
    if (!focus || !manager)
        return false;
    for (wxDocument* doc : manager->GetDocumentsVector()) {
        auto* view = wxDynamicCast(doc->GetFirstView(), CQuvBenchView);
        CQuvPad* pad = view ? view->GetQuvPad() : nullptr;
        if (!pad || !pad->IsCreated() || !pad->HasEditorFocus())
            continue;
        wxKeyEvent down(wxEVT_KEY_DOWN, key);
        down.SetEventObject(focus);
        return focus->GetEventHandler()->ProcessEvent(down);
    }
    return false;
}

// ---- frame and manager ----

CChildFrame::CChildFrame(wxDocument* doc, wxView* view, wxMDIParentFrame* parent)
    : KeptThemeAttributes(doc, view, parent, wxID_ANY, doc->GetUserReadableName())
{
    SetMenuBar(CreateDocumentMenuBar());
    ServicesOf(doc).RefreshRecentMenus(GetMenuBar());
    // The exit command of the document menu ends the program, as the main menu's does.
    Bind(wxEVT_MENU, [parent](wxCommandEvent&) { parent->Close(); }, wxID_EXIT);
    // A document activated (its tab clicked, chosen in the opened-files tree,
    // opened) takes the keys in its editor, not on the tab strip.
    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& e) {
        if (e.GetActive()) {
            Maximize();
            if (auto* view = wxDynamicCast(GetView(), CQuvBenchView))
                view->FocusEditor();
        }
        e.Skip();
    });
    Maximize();
}

wxString DocumentName(wxDocument* doc)
{
    return doc->GetFilename().empty() ? doc->GetTitle() : doc->GetFilename();
}

CQuvDocManager::CQuvDocManager(WindowServices& services) : services_(services) {}

CQuvDocManager::~CQuvDocManager()
{
    Clear(true);
}

wxString CQuvDocManager::MakeNewDocumentName()
{
    return wxString::Format("quvtemp%d", ++untitled_);
}

wxDocTemplate* CQuvDocManager::SelectDocumentPath(wxDocTemplate** templates, int noTemplates, wxString& path, long,
                                                  bool)
{
    path.clear();
    FileDialogSpec spec;
    for (int i = 0; i < noTemplates; ++i)
        if (templates[i]->IsVisible())
            spec.wildcard += (spec.wildcard.empty() ? "" : "|") + templates[i]->GetDescription() + " (" +
                             templates[i]->GetFileFilter() + ") |" + templates[i]->GetFileFilter();
    spec.style = wxFD_OPEN | wxFD_FILE_MUST_EXIST;
    wxArrayString paths;
    if (noTemplates < 1 || !CommonDialogs::ChooseFiles(spec, paths) || paths.empty())
        return nullptr;
    path = paths[0];
    // A file of any name opens as a source, as the only kind of document.
    wxDocTemplate* found = FindTemplateForPath(path);
    return found ? found : templates[0];
}

void CQuvDocManager::AddFileToHistory(const wxString& file)
{
    services_.AddToRecentFileList(file);
}

} // namespace ide
