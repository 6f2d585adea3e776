// The application's project, file and display-settings commands, and the
// services the Workspace trees call.
#include "ide/wx/app.hpp"

#include <chrono>
#include <cstring>
#include <memory>

#include <wx/filedlg.h>
#include <wx/progdlg.h>
#include <wx/utils.h>

#include "ide/model/error_text.hpp"
#include "ide/wx/common_dialogs.hpp"
#include "ide/wx/display_setup_dlg.hpp"
#include "ide/wx/doc_view.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/page_setup_dlg.hpp"
#include "ide/wx/menus.hpp"
#include "ide/wx/pane_events.hpp"
#include "ide/wx/project_settings_dlg.hpp"
#include "ide/wx/quv_pad.hpp"
#include "ide/wx/workspace_views.hpp"

namespace ide {

namespace {

std::string utf8(const wxString& s) { return s.utf8_string(); }
const char kNoProjectNameMessage[] = "Illegal Project File With Project Name key not exist or value is empty!";
wxString fromUtf8(const std::string& s) { return wxString::FromUTF8(s.data(), s.size()); }

} // namespace

bool CQuvBenchApp::OpenProject(const wxString& path)
{
    if (!SaveAllModified())
        return true;
    wxString chosen = path;
    if (chosen.empty()) {
        FileDialogSpec spec;
        spec.wildcard = U8("QUV/E工程文件 (*.prj) |*.prj");
        spec.style = wxFD_OPEN | wxFD_FILE_MUST_EXIST;
        wxArrayString paths;
        if (CommonDialogs::ChooseFiles(spec, paths) && !paths.empty())
            chosen = paths[0];
        else
            bench_.Project().Reset();
    }
    if (!chosen.empty()) {
        bool cancelled = false;
        const bool loaded = LoadProjectFile(chosen, cancelled);
        // A load the user gave up while it waited for a pipe's writer leaves
        // the project and the documents as they were.
        if (cancelled)
            return true;
        if (!loaded) {
            bench_.Project().Reset();
            // The emptied project shows at once: the tree never lists files the project lost.
            if (mainFrame_)
                mainFrame_->ProjectTree()->RefreshTree();
            return false;
        }
        AddToRecentProjectList(chosen);
    }
    CloseEditorDocuments();
    ShowProjectTree();
    return true;
}

namespace {

// While the load of a project file waits for its bytes (a named pipe no one
// has written into yet), first the busy cursor shows; a wait that lasts
// brings up a box that says so, whose Cancel button gives the load up.
class ProjectFileWait {
public:
    ProjectFileWait(const wxString& path, wxWindow* parent) : path_(path), parent_(parent) {}

    // Asked by the load between its short waits: true once the user cancelled.
    bool operator()()
    {
        if (cancelled_)
            return true;
        if (!box_) {
            if (std::chrono::steady_clock::now() - start_ < std::chrono::milliseconds(500))
                return false;
            box_ = std::make_unique<wxProgressDialog>(
                U8("打开工程"), wxString::Format(U8("正在等待工程文件 %s 的内容……"), path_), 100, parent_,
                wxPD_APP_MODAL | wxPD_CAN_ABORT | wxPD_ELAPSED_TIME);
            // Its one button has the keys: Escape cancels, as in any dialog.
            if (wxWindow* cancel = box_->FindWindow(wxID_CANCEL))
                cancel->SetFocus();
        }
        cancelled_ = !box_->Pulse();
        return cancelled_;
    }
    bool Cancelled() const { return cancelled_; }

private:
    wxString path_;
    wxWindow* parent_;
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    wxBusyCursor busy_;
    std::unique_ptr<wxProgressDialog> box_;
    bool cancelled_ = false;
};

} // namespace

bool CQuvBenchApp::LoadProjectFile(const wxString& path, bool& cancelled)
{
    // The project's message that it found no name says the same for a
    // missing file, one the user may not read and one that is no project
    // file. The project adds the file and the system's reason in English for
    // the console; here the file's name and the reason follow in Chinese.
    CQuvProject::MessageSink sink = std::move(bench_.Project().messageSink);
    std::vector<std::string> messages;
    bench_.Project().messageSink = [&messages](const std::string& text) { messages.push_back(text); };
    bool loaded;
    {
        ProjectFileWait wait(path, mainFrame_);
        loaded = bench_.Project().Load(utf8(path), [&wait] { return wait(); });
        cancelled = wait.Cancelled();
    }
    bench_.Project().messageSink = std::move(sink);
    for (const std::string& text : messages) {
        wxString shown = fromUtf8(text);
        if (text.compare(0, std::strlen(kNoProjectNameMessage), kNoProjectNameMessage) == 0) {
            shown = kNoProjectNameMessage;
            std::string reason = ReadFailureReason(utf8(path));
            // A file without an end (/dev/zero) opens, but its read stops at the bound.
            if (reason.empty())
                reason = TooLargeReason(text);
            if (reason.empty())
                reason = "没有工程名（[QuvBench] 节中没有 Project Name 项，或其值为空）";
            shown += "\n" + wxString::Format(U8("工程文件 %s：%s"), path, fromUtf8(reason));
        }
        MessageBox(shown, U8("提示"), wxOK | wxICON_INFORMATION);
    }
    return loaded;
}

bool CQuvBenchApp::EnsureProjectCreated()
{
    if (bench_.Project().IsCreated())
        return true;
    if (MessageBox(U8("当前工程尚未创建，是否创建？"), U8("提示"), wxOK | wxCANCEL | wxICON_QUESTION) != wxOK)
        return false;
    CQuvProjectSettingsDlg dialog(*this, bench_.Project(), bench_.OpenFiles(), true);
    if (ShowModal(dialog) != wxID_OK)
        return false;
    if (mainFrame_)
        mainFrame_->ProjectTree()->RefreshTree();
    return true;
}

void CQuvBenchApp::ProjectSettings()
{
    CQuvProjectSettingsDlg dialog(*this, bench_.Project(), bench_.OpenFiles(), false);
    if (ShowModal(dialog) == wxID_OK)
        ShowProjectTree();
}

void CQuvBenchApp::OpenDocumentFile(const wxString& path)
{
    // The document manager activates a document already open under this path;
    // the keys go to its editor, also when it was active already.
    if (!docManager_)
        return;
    if (wxDocument* doc = docManager_->CreateDocument(path, wxDOC_SILENT))
        if (auto* view = wxDynamicCast(doc->GetFirstView(), CQuvBenchView))
            view->FocusEditor();
}

void CQuvBenchApp::CloseDocumentByPath(const wxString& path)
{
    if (!docManager_)
        return;
    for (wxDocument* doc : docManager_->GetDocumentsVector()) {
        if (DocumentName(doc) != path)
            continue;
        if (doc->IsModified() && doc->GetFilename().empty())
            if (wxView* view = doc->GetFirstView())
                if (auto* frame = wxDynamicCast(view->GetFrame(), wxMDIChildFrame))
                    frame->Activate();
        if (!doc->Close())
            return;
        doc->DeleteAllViews();
    }
}

bool CQuvBenchApp::SaveProject()
{
    // The project's own report of the failure would come in English and
    // before the command stops; one message here says both.
    CQuvProject::MessageSink sink = std::move(bench_.Project().messageSink);
    bench_.Project().messageSink = nullptr;
    const bool saved = bench_.Project().Save();
    bench_.Project().messageSink = std::move(sink);
    if (!saved) {
        // Why, in the words every failed save of the IDE uses.
        const platform::WriteFailure& why = bench_.Project().LastSaveFailure();
        const std::string reason =
            SaveFailureReason(why.error, why.oldContentsLost, bench_.Project().LastSaveReason());
        MessageBox(fromUtf8(bench_.Project().GetPath()) + U8("无法写入，当前工程的修改尚未保存!") + U8("\n原因：") +
                       fromUtf8(reason),
                   U8("错误"), wxOK | wxICON_ERROR);
    }
    return saved;
}

void CQuvBenchApp::CloseEditorDocuments()
{
    if (!docManager_)
        return;
    for (wxDocument* doc : docManager_->GetDocumentsVector()) {
        doc->Modify(false);
        doc->Close();
        doc->DeleteAllViews();
    }
}

void CQuvBenchApp::ShowProjectTree()
{
    if (!mainFrame_)
        return;
    mainFrame_->ProjectTree()->RefreshTree();
    PostPaneEvent(mainFrame_, EVT_SHOW_PROJECT_TREE);
}

void CQuvBenchApp::OnNewProject(wxCommandEvent&)
{
    if (!SaveAllModified())
        return;
    bench_.Project().Reset();
    CQuvProjectSettingsDlg dialog(*this, bench_.Project(), bench_.OpenFiles(), false);
    ShowModal(dialog);
    ShowProjectTree();
    CloseEditorDocuments();
}

void CQuvBenchApp::OnOpenProject(wxCommandEvent&)
{
    OpenProject(wxString());
}

void CQuvBenchApp::OnSaveProject(wxCommandEvent&)
{
    SaveModifiedProject();
}

void CQuvBenchApp::OnProjectSettings(wxCommandEvent&)
{
    ProjectSettings();
}

void CQuvBenchApp::OnFontSetup(wxCommandEvent&)
{
    LogFont font = bench_.DisplaySetting().font;
    if (!CommonDialogs::ChooseFont(font))
        return;
    bench_.DisplaySetting().font = font;
    ReConfigureEditors(quvpad::ConfigFont);
}

void CQuvBenchApp::OnColorSetup(wxCommandEvent&)
{
    CColorSetupDlg dialog(mainFrame_);
    dialog.SetColors(bench_.DisplaySetting().colors);
    if (ShowModal(dialog) != wxID_OK)
        return;
    dialog.GetColors(bench_.DisplaySetting().colors);
    ReConfigureEditors(quvpad::ConfigColors);
}

void CQuvBenchApp::OnSpaceSetup(wxCommandEvent&)
{
    CSpaceSetupDlg dialog(*this, mainFrame_);
    dialog.SetSpaces(bench_.DisplaySetting());
    if (ShowModal(dialog) != wxID_OK)
        return;
    dialog.GetSpaces(bench_.DisplaySetting());
    ReConfigureEditors(quvpad::ConfigSpaces);
}

void CQuvBenchApp::OnFilePageSetup(wxCommandEvent&)
{
    CPageSetupDlg dialog(*this, mainFrame_);
    dialog.SetFromSetting(bench_.PrintSetting());
    if (dialog.ShowModal() == wxID_OK)
        dialog.GetToSetting(bench_.PrintSetting());
}

void CQuvBenchApp::ReConfigureEditors(long mask)
{
    if (!docManager_)
        return;
    std::vector<uint8_t> settings;
    SettingToSafeArray(settings);
    for (wxDocument* doc : docManager_->GetDocumentsVector())
        for (wxView* view : doc->GetViewsVector())
            if (auto* editor = wxDynamicCast(view, CQuvBenchView))
                if (CQuvPad* pad = editor->GetQuvPad())
                    pad->ReConfigure(settings, mask);
}

} // namespace ide
