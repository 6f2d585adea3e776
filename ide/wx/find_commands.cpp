#include "ide/wx/find_commands.hpp"

#include <wx/utils.h>

#include "compiler/core/gbk.hpp"

#include "ide/model/workbench.hpp"
#include "ide/wx/find_dlgs.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/window_services.hpp"

namespace ide {

namespace {
// The dialogs speak UTF-8; the control's text is GBK.
std::string selectedText(FinderEditor& editor)
{
    return gbk::toUtf8(GetSelectedText(editor));
}
} // namespace

CViewFindCommands::CViewFindCommands(WindowServices& services, wxEvtHandler& view, FinderEditor& editor)
    : services_(services), editor_(editor), finder_(editor)
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
    return parent_ ? parent_ : services_.MainFrame();
}

void CViewFindCommands::OnEditFind()
{
    CQuvFindDlg dialog(services_, services_.Bench().FindHistory(), finder_, selectedText(editor_), DialogParent());
    if (services_.ShowModal(dialog) != wxID_OK)
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
        ShowNotFound(services_);
}

void CViewFindCommands::OnFindNext() { SelectNext(false); }
void CViewFindCommands::OnFindPrevious() { SelectNext(true); }

void CViewFindCommands::OnEditReplace()
{
    CQuvReplaceDlg dialog(services_, services_.Bench().FindHistory(), finder_, selectedText(editor_), DialogParent());
    services_.ShowModal(dialog);
    if (refocus_)
        refocus_();
}

void CViewFindCommands::OnFindMatch()
{
    if (!finder_.CanMatchBracket() || !finder_.FindMatchingBracket())
        wxBell();
}

} // namespace ide
