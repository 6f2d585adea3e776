#include "ide/wx/find_commands.hpp"

#include <wx/utils.h>

#include "compiler/core/gbk.hpp"

#include "ide/wx/app.hpp"
#include "ide/wx/find_dlgs.hpp"
#include "ide/wx/find_in_files_dlg.hpp"
#include "ide/wx/find_thread.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/pane_events.hpp"

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
    CQuvFindDlg dialog(wxGetApp().FindHistory(), finder_, selectedText(editor_), DialogParent());
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
    CQuvReplaceDlg dialog(wxGetApp().FindHistory(), finder_, selectedText(editor_), DialogParent());
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
    CQuvFindInFilesDlg dialog(*findHistory_, mainFrame_);
    if (ShowModal(dialog) != wxID_OK)
        return;
    const FindSettings& c = dialog.Result();
    StartFindJob(std::make_unique<QuvFindJob>(0, c.findText, c.fileTypes, c.folders, c.matchCase,
                                              c.regularExpression, c.subfolders, c.scope));
}

void CQuvBenchApp::OnReplaceInFiles(wxCommandEvent&)
{
    CQuvReplaceInFilesDlg dialog(*findHistory_, mainFrame_);
    if (ShowModal(dialog) != wxID_OK)
        return;
    const FindSettings& c = dialog.Result();
    StartFindJob(std::make_unique<QuvFindJob>(1, c.findText, c.replaceText, c.fileTypes, c.folders, c.matchCase,
                                              c.regularExpression, c.subfolders, c.scope));
}

void CQuvBenchApp::OnUpdateFindInFiles(wxUpdateUIEvent& event)
{
    event.Enable(findBusy == 0);
}

void CQuvBenchApp::StartFindJob(std::unique_ptr<QuvFindJob> job)
{
    // The pane is emptied before the job's first row: both travel the same queue.
    PostPaneEvent(mainFrame_, EVT_SHOW_FIND_OUTPUT);
    const CQuvFileList* listed = job->Settings().scope == 1   ? openFiles_.get()
                                 : job->Settings().scope == 2 ? static_cast<CQuvFileList*>(project_.get())
                                                          : nullptr;
    if (listed)
        for (int i = 0; i < listed->GetCount(); ++i)
            job->listedFiles.push_back(listed->GetAt(i));
    RememberFindJob(*findHistory_, *job);
    findJob_ = std::move(job);

    // The previous thread has ended (the command is disabled while one runs).
    if (findThread_) {
        findThread_->Stop();
        workers_.Remove(findThread_.get());
        findThread_.reset();
    }
    auto thread = std::make_unique<CQUVFindThread>(*findJob_, mainFrame_, findBusy);
    if (!workers_.Add(thread.get()))
        return;
    findThread_ = std::move(thread);
    findThread_->Start();
}

} // namespace ide
