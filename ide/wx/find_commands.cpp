#include "ide/wx/find_commands.hpp"

#include <wx/utils.h>

#include "compiler/core/gbk.hpp"

#include "ide/wx/app.hpp"
#include "ide/wx/doc_view.hpp"
#include "ide/wx/find_dlgs.hpp"
#include "ide/wx/find_in_files_dlg.hpp"
#include "ide/wx/find_thread.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/pane_events.hpp"
#include "ide/wx/quv_pad.hpp"

namespace ide {

namespace {
// The dialogs speak UTF-8; the control's text is GBK.
std::string selectedText(FinderEditor& editor)
{
    return gbk::toUtf8(GetSelectedText(editor));
}
} // namespace

CViewFindCommands::CViewFindCommands(wxEvtHandler& view, FinderEditor& editor) : editor_(editor), finder_(editor)
{
    Bind(view);
}

void CViewFindCommands::Bind(wxEvtHandler& view)
{
    view.Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnEditFind(); }, ID_EDIT_FIND);
    view.Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnFindNext(); }, ID_EDIT_FIND_NEXT);
    view.Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnFindPrevious(); }, ID_EDIT_FIND_PREVIOUS);
    view.Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnEditReplace(); }, ID_EDIT_REPLACE);
    view.Bind(wxEVT_MENU, [this](wxCommandEvent&) { OnFindMatch(); }, ID_EDIT_MATCH_BRACE);
    view.Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(true); }, ID_EDIT_FIND);
    view.Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(true); }, ID_EDIT_REPLACE);
    for (int id : {ID_EDIT_FIND_NEXT, ID_EDIT_FIND_PREVIOUS})
        view.Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(finder_.SearchDefined()); }, id);
    view.Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& e) { e.Enable(finder_.CanMatchBracket()); },
              ID_EDIT_MATCH_BRACE);
}

wxWindow* CViewFindCommands::DialogParent() const
{
    return parent_ ? parent_ : wxGetApp().MainFrame();
}

void CViewFindCommands::OnEditFind()
{
    CQuvFindDlg dialog(wxGetApp().Bench().FindHistory(), finder_, selectedText(editor_), DialogParent());
    if (wxGetApp().ShowModal(dialog) != wxID_OK)
        return;
    FindOptions options;
    dialog.GetOptions(options);
    finder_.SetFindOptions(options);
    OnFindNext();
}

void CViewFindCommands::SelectNext(bool previous)
{
    // The keys reach here without the menu's enabling rule.
    if (!finder_.SearchDefined())
        return;
    int startLine = 0, startCol = 0, endLine = 0, endCol = 0;
    const bool found = previous ? finder_.FindPrevious(startLine, startCol, endLine, endCol)
                                : finder_.FindNext(startLine, startCol, endLine, endCol);
    if (found)
        editor_.SetSelection(startLine, startCol, endLine, endCol);
    else
        ShowNotFound();
}

void CViewFindCommands::OnFindNext() { SelectNext(false); }
void CViewFindCommands::OnFindPrevious() { SelectNext(true); }

void CViewFindCommands::OnEditReplace()
{
    CQuvReplaceDlg dialog(wxGetApp().Bench().FindHistory(), finder_, selectedText(editor_), DialogParent());
    wxGetApp().ShowModal(dialog);
    if (refocus_)
        refocus_();
}

void CViewFindCommands::OnFindMatch()
{
    if (!finder_.CanMatchBracket() || !finder_.FindMatchingBracket())
        wxBell();
}

// The find-in-files and replace-in-files commands of the application.

void CQuvBenchApp::OnFindInFiles(wxCommandEvent&)
{
    CQuvFindInFilesDlg dialog(bench_.FindHistory(), mainFrame_);
    if (ShowModal(dialog) != wxID_OK)
        return;
    const FindSettings& c = dialog.Result();
    StartFindJob(std::make_unique<QuvFindJob>(0, c.findText, c.fileTypes, c.folders, c.matchCase,
                                              c.regularExpression, c.subfolders, c.scope));
}

void CQuvBenchApp::OnReplaceInFiles(wxCommandEvent&)
{
    CQuvReplaceInFilesDlg dialog(bench_.FindHistory(), mainFrame_);
    if (ShowModal(dialog) != wxID_OK)
        return;
    const FindSettings& c = dialog.Result();
    StartFindJob(std::make_unique<QuvFindJob>(1, c.findText, c.replaceText, c.fileTypes, c.folders, c.matchCase,
                                              c.regularExpression, c.subfolders, c.scope));
}

void CQuvBenchApp::OnUpdateFindInFiles(wxUpdateUIEvent& event)
{
    event.Enable(bench_.findBusy == 0);
}

void CQuvBenchApp::StartFindJob(std::unique_ptr<QuvFindJob> job)
{
    // The pane is emptied before the job's first row: both travel the same queue.
    PostPaneEvent(mainFrame_, EVT_SHOW_FIND_OUTPUT);
    if (job->Settings().scope == 1)
        for (int i = 0; i < bench_.OpenFiles().GetCount(); ++i)
            job->listedFiles.push_back(bench_.OpenFiles().GetAt(i));
    else if (job->Settings().scope == 2)
        job->listedFiles = bench_.Project().ResolvedFiles();
    if (job->mode == 1 && docManager_)
        for (wxDocument* doc : docManager_->GetDocumentsVector())
            if (doc->IsModified() && !doc->GetFilename().empty())
                job->unsavedFiles.push_back(doc->GetFilename().utf8_string());
    RememberFindJob(bench_.FindHistory(), *job);
    bench_.SetPendingFindJob(std::move(job));

    auto thread = std::make_unique<CQUVFindThread>(*bench_.PendingFindJob(), mainFrame_, bench_.findBusy);
    CQUVFindThread* started = thread.get();
    if (bench_.ReplaceFindWorker(std::move(thread)))
        started->Start();
}

void CQuvBenchApp::ReloadReplacedFile(const std::string& file)
{
    if (!docManager_)
        return;
    for (wxDocument* doc : docManager_->GetDocumentsVector()) {
        auto* source = wxDynamicCast(doc, CQuvBenchDoc);
        const std::string name = doc->GetFilename().utf8_string();
        if (!source || name.empty() || !SameFile(name, file))
            continue;
        // Changed since the job began: the user's text stays, and the pane says the file differs.
        if (source->IsModified()) {
            PostLookupRow(mainFrame_, LookupEntry::Message("文件" + name + "已被替换，但编辑器中有未保存的修改，没有重新载入"));
            continue;
        }
        CQuvPad* pad = source->GetQuvPad();
        if (!pad || !pad->FileLoad(doc->GetFilename()))
            PostLookupRow(mainFrame_, LookupEntry::Message("无法重新载入文件" + name));
    }
}

} // namespace ide
