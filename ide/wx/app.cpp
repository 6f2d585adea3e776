#include "ide/wx/app.hpp"

#include <new>

#include <wx/filename.h>
#include <wx/hyperlink.h>
#include <wx/msgdlg.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/stdpaths.h>

#include "ide/model/settings_file.hpp"
#include "ide/model/settings_pack.hpp"
#include "platform/registry_file.hpp"
#include "ide/wx/common_dialogs.hpp"
#include "ide/wx/compile_commands.hpp"
#include "ide/wx/doc_view.hpp"
#include "ide/wx/find_in_files_commands.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/menus.hpp"
#include "ide/wx/splash_wnd.hpp"

namespace ide {

wxBEGIN_EVENT_TABLE(CQuvBenchApp, wxApp)
    EVT_MENU(wxID_ABOUT, CQuvBenchApp::OnAppAbout)
    EVT_MENU(ID_FILE_SAVE_ALL, CQuvBenchApp::OnFileSaveAll)
    EVT_MENU(ID_FILE_CLOSE_ALL, CQuvBenchApp::OnFileCloseAll)
    EVT_MENU(ID_FILE_PAGE_SETUP, CQuvBenchApp::OnFilePageSetup)
    EVT_MENU_RANGE(ID_RECENT_FILE_1, ID_RECENT_FILE_LAST, CQuvBenchApp::OnRecentFile)
    EVT_MENU_RANGE(ID_RECENT_PROJECT_1, ID_RECENT_PROJECT_LAST, CQuvBenchApp::OnRecentProject)
    EVT_MENU(ID_PROJECT_NEW, CQuvBenchApp::OnNewProject)
    EVT_MENU(ID_PROJECT_OPEN, CQuvBenchApp::OnOpenProject)
    EVT_MENU(ID_PROJECT_SAVE, CQuvBenchApp::OnSaveProject)
    EVT_MENU(ID_PROJECT_SETTINGS, CQuvBenchApp::OnProjectSettings)
    EVT_MENU(ID_SETUP_FONT, CQuvBenchApp::OnFontSetup)
    EVT_MENU(ID_SETUP_COLORS, CQuvBenchApp::OnColorSetup)
    EVT_MENU(ID_SETUP_SPACES, CQuvBenchApp::OnSpaceSetup)
wxEND_EVENT_TABLE()

namespace {

std::string utf8(const wxString& s) { return s.utf8_string(); }
wxString fromUtf8(const std::string& s) { return wxString::FromUTF8(s.data(), s.size()); }

// An automation start shows no splash window.
bool showsSplash(const wxArrayString& args)
{
    for (const wxString& a : args) {
        const wxString flag = a.Mid(1).Lower();
        if ((a.StartsWith("-") || a.StartsWith("/")) && (flag == "embedding" || flag == "automation"))
            return false;
    }
    return true;
}

wxString fileArgument(const wxArrayString& args)
{
    for (const wxString& a : args)
        if (!a.StartsWith("-"))
            return a;
    return wxString();
}

class CAboutDlg : public wxDialog {
public:
    CAboutDlg(wxWindow* parent, const std::string& settingsFile)
        : wxDialog(parent, wxID_ANY, U8("关于 QuvBench"))
    {
        auto* top = new wxBoxSizer(wxVERTICAL);
        top->Add(new wxStaticText(this, wxID_ANY, U8("QuvBench — QUV/E-C集成开发环境")), 0, wxALL, 10);
        const wxString settings = fromUtf8(settingsFile);
        const wxString registry = fromUtf8(platform::RegistryFile::UserPath());
        const wxString program = wxFileName(wxStandardPaths::Get().GetExecutablePath()).GetPath();
        for (const wxString& target : {settings, registry, program})
            top->Add(new wxHyperlinkCtrl(this, wxID_ANY, target, "file://" + target), 0, wxLEFT | wxRIGHT, 10);
        top->Add(CreateButtonSizer(wxOK), 0, wxEXPAND | wxALL, 10);
        SetSizerAndFit(top);
        CentreOnParent();
    }
};

} // namespace

CQuvBenchApp::CQuvBenchApp()
    : bench_(SettingsFilePath())
{
    SetAppName("QuvBench");
}

CQuvBenchApp::~CQuvBenchApp()
{
    ExitInstance();
}

bool CQuvBenchApp::OnInit()
{
    wxArrayString args;
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    return InitInstance(args);
}

bool CQuvBenchApp::InitInstance(const wxArrayString& args)
{
    started_ = true;
    CSplashWnd::EnableSplashScreen(showsSplash(args));
    bench_.Project().messageSink = [this](const std::string& text) {
        MessageBox(wxString::FromUTF8(text.c_str()), U8("提示"), wxOK | wxICON_INFORMATION);
    };

    bench_.LoadStartSettings();
    // File dialogs start in the project's folder, else the active document's,
    // else where the last one ended.
    CommonDialogs::SetStartFolder([this] { return StartFolder(); });

    compileCommands_.reset(new CCompileCommands(bench_, *this));
    compileCommands_->Bind(*this);
    findInFilesCommands_.reset(new CFindInFilesCommands(bench_, *this));
    findInFilesCommands_->Bind(*this);
    docManager_.reset(new CQuvDocManager(*this));
    new wxDocTemplate(docManager_.get(), "QUV/E Source File", "*.e", wxString(), "e", "QUV/E Source File",
                      "QUV/E Source File", CLASSINFO(CQuvBenchDoc), CLASSINFO(CQuvBenchView));

    mainFrame_ = new CMainFrame(docManager_.get(), *this);
    SetTopWindow(mainFrame_);

    const wxString file = fileArgument(args);
    wxDocument* doc = file.empty() ? docManager_->CreateDocument(wxString(), wxDOC_NEW)
                                   : docManager_->CreateDocument(file, wxDOC_SILENT);
    if (!doc) {
        mainFrame_->Destroy();
        mainFrame_ = nullptr;
        return false;
    }

    mainFrame_->ShowMaximised();
    mainFrame_->Update();
    return true;
}

int CQuvBenchApp::OnExit()
{
    ExitInstance();
    return wxApp::OnExit();
}

void CQuvBenchApp::ExitInstance()
{
    if (exited_ || !started_)
        return;
    exited_ = true;
    bench_.Workers().StopAll();
    bench_.SaveDisplayAndRecentLists();
    // The frame's close has asked about every document; nobody answers now.
    if (docManager_)
        for (wxDocument* doc : docManager_->GetDocumentsVector())
            doc->Modify(false);
    docManager_.reset();
    bench_.SaveHistoriesAndPrintSetting();
    // Quitting goes on; the user learns once what was not kept.
    const auto& failures = bench_.SettingsWriteFailures();
    if (!failures.empty()) {
        wxString text = U8("退出时无法保存设置，本次对设置的修改未能保留：");
        for (const Workbench::SettingsWriteFailure& f : failures)
            text += "\n" + wxString::Format(U8("%s：%s"), fromUtf8(f.file), fromUtf8(f.reason));
        MessageBox(text, U8("警告"), wxOK | wxICON_WARNING);
    }
}

int CQuvBenchApp::FilterEvent(wxEvent& event)
{
    if (CSplashWnd::PreTranslateAppMessage(event))
        return Event_Processed;
    return Event_Skip;
}

void CQuvBenchApp::CallEventHandler(wxEvtHandler* handler, wxEventFunctor& functor, wxEvent& event) const
{
    // Caught here, at the handler, and not only in the main loop: the toolkit
    // hands a posted event's exception (a typeset text taken in, a compile
    // job's rows) past OnExceptionInMainLoop and out of the loop, which ends
    // the program.
    try {
        wxApp::CallEventHandler(handler, functor, event);
    } catch (const std::bad_alloc&) {
        const_cast<CQuvBenchApp*>(this)->TellOutOfMemory();
    }
}

bool CQuvBenchApp::OnExceptionInMainLoop()
{
    // Any other exception leaves here again, as the toolkit's own rethrow
    // lets it: the loop stores it and the program ends.
    try {
        throw;
    } catch (const std::bad_alloc&) {
        TellOutOfMemory();
    }
    return true;
}

void CQuvBenchApp::TellOutOfMemory()
{
    // The request that failed was never given its memory, and what the
    // command held is freed by now: the box can be made.
    MessageBox(U8("内存不足，命令未能完成。"), U8("错误"), wxOK | wxICON_ERROR);
}

int CQuvBenchApp::MessageBox(const wxString& message, const wxString& caption, long style)
{
    if (messageBox_)
        return messageBox_(message, caption, style);
    return wxMessageBox(message, caption, style);
}

int CQuvBenchApp::ShowModal(wxDialog& dialog)
{
    if (showModal_)
        return showModal_(dialog);
    return dialog.ShowModal();
}

void CQuvBenchApp::SettingToSafeArray(std::vector<uint8_t>& out) const
{
    out = PackDisplaySetting(bench_.DisplaySetting());
}

wxString CQuvBenchApp::StartFolder() const
{
    const std::string project = bench_.Project().GetPath();
    if (bench_.Project().IsCreated() && !project.empty()) {
        wxFileName name(fromUtf8(project));
        name.MakeAbsolute();
        return name.GetPath();
    }
    wxDocument* doc = docManager_ ? docManager_->GetCurrentDocument() : nullptr;
    if (doc && !doc->GetFilename().empty()) {
        wxFileName name(doc->GetFilename());
        name.MakeAbsolute();
        return name.GetPath();
    }
    return CommonDialogs::LastFolder();
}

void CQuvBenchApp::GoToLocation(const Location& at)
{
    if (compileCommands_)
        compileCommands_->GoToLocation(at);
}

void CQuvBenchApp::StartFindJob(std::unique_ptr<QuvFindJob> job)
{
    if (findInFilesCommands_)
        findInFilesCommands_->StartFindJob(std::move(job));
}

void CQuvBenchApp::LoadTypesetResult()
{
    if (compileCommands_)
        compileCommands_->LoadTypesetResult();
}

bool CQuvBenchApp::SaveModifiedProject()
{
    if (!bench_.Project().IsModified())
        return true;
    const int answer = MessageBox(U8("当前工程已经被修改，是否保存？"), U8("提示"), wxYES_NO | wxCANCEL | wxICON_QUESTION);
    if (answer == wxCANCEL)
        return false;
    if (answer == wxYES) {
        // Changes that could not be written stop the command as Cancel does, so none are lost.
        if (!SaveProject())
            return false;
        AddToRecentProjectList(fromUtf8(bench_.Project().GetPath()));
    }
    return true;
}

bool CQuvBenchApp::SaveAllModified()
{
    if (docManager_) {
        for (wxDocument* doc : docManager_->GetDocumentsVector())
            if (doc->IsModified() && !doc->OnSaveModified())
                return false;
    }
    // The flags stay: a command that goes on to close the documents drops them
    // (DiscardDocumentChanges), one that fails leaves them open and still
    // differing from their files.
    return SaveModifiedProject();
}

void CQuvBenchApp::DiscardDocumentChanges()
{
    if (docManager_)
        for (wxDocument* doc : docManager_->GetDocumentsVector())
            doc->Modify(false);
}

bool CQuvBenchApp::CloseAllDocuments()
{
    if (!docManager_)
        return true;
    for (wxDocument* doc : docManager_->GetDocumentsVector()) {
        if (doc->IsModified() && doc->GetFilename().empty())
            if (wxView* view = doc->GetFirstView())
                if (auto* frame = wxDynamicCast(view->GetFrame(), wxMDIChildFrame))
                    frame->Activate();
        if (!doc->Close())
            return false;
        doc->DeleteAllViews();
    }
    return true;
}

void CQuvBenchApp::AddToRecentProjectList(const wxString& path)
{
    bench_.RecentProjects().Add(utf8(path));
    if (mainFrame_)
        mainFrame_->RefreshRecentMenus();
}

void CQuvBenchApp::AddToRecentFileList(const wxString& path)
{
    bench_.RecentFiles().Add(utf8(path));
    if (mainFrame_)
        mainFrame_->RefreshRecentMenus();
}

void CQuvBenchApp::RefreshRecentMenus(wxMenuBar* bar)
{
    struct List {
        wxMenu* menu;
        CRecentFileList& list;
        int firstId;
    } lists[] = {{RecentFilesMenu(bar), bench_.RecentFiles(), ID_RECENT_FILE_1},
                 {RecentProjectsMenu(bar), bench_.RecentProjects(), ID_RECENT_PROJECT_1}};
    for (List& l : lists) {
        if (!l.menu)
            continue;
        while (l.menu->GetMenuItemCount() > 0)
            l.menu->Destroy(l.menu->FindItemByPosition(0));
        const auto& entries = l.list.Entries();
        for (size_t i = 0; i < entries.size(); ++i)
            l.menu->Append(l.firstId + static_cast<int>(i),
                           wxString::Format("&%d %s", static_cast<int>(i) + 1, fromUtf8(l.list.DisplayName(i))));
        // An empty list shows its menu disabled.
        if (wxMenu* file = bar->GetMenu(0))
            for (wxMenuItem* item : file->GetMenuItems())
                if (item->GetSubMenu() == l.menu)
                    item->Enable(!entries.empty());
    }
}

void CQuvBenchApp::OnAppAbout(wxCommandEvent&)
{
    CAboutDlg dialog(mainFrame_, bench_.SettingsFile());
    dialog.ShowModal();
}

void CQuvBenchApp::OnFileSaveAll(wxCommandEvent&)
{
    if (!docManager_)
        return;
    for (wxDocument* doc : docManager_->GetDocumentsVector())
        if (doc->IsModified())
            doc->Save();
}

void CQuvBenchApp::OnFileCloseAll(wxCommandEvent&)
{
    CloseAllDocuments();
}

void CQuvBenchApp::OnRecentFile(wxCommandEvent& event)
{
    const int index = event.GetId() - ID_RECENT_FILE_1;
    if (index >= static_cast<int>(bench_.RecentFiles().Entries().size()))
        return;
    const wxString path = fromUtf8(bench_.RecentFiles().Entries()[index]);
    if (!docManager_->CreateDocument(path, wxDOC_SILENT)) {
        bench_.RecentFiles().Remove(index);
        mainFrame_->RefreshRecentMenus();
    }
}

void CQuvBenchApp::OnRecentProject(wxCommandEvent& event)
{
    const int index = event.GetId() - ID_RECENT_PROJECT_1;
    if (index >= static_cast<int>(bench_.RecentProjects().Entries().size()))
        return;
    const std::string path = bench_.RecentProjects().Entries()[index];
    if (OpenProject(fromUtf8(path)))
        return;
    // Saving the old project may have moved the entries: drop this one by its name.
    const auto& entries = bench_.RecentProjects().Entries();
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == path) {
            bench_.RecentProjects().Remove(static_cast<int>(i));
            break;
        }
    mainFrame_->RefreshRecentMenus();
}

} // namespace ide
