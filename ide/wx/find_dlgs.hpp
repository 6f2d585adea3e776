// The editor's "查找" and "替换" dialogs. The find dialog collects the options
// and closes; the view then searches. The replace dialog stays open and
// drives the view's finder with its buttons until it is closed. Both offer the
// find history in their combo boxes, add the texts they use to it, and refuse
// a find text that is not a valid regular expression when that option is set.
#pragma once
#include <wx/dialog.h>

#include "ide/model/find_history.hpp"
#include "ide/model/text_finder.hpp"
#include "ide/wx/window_services.hpp"

class wxButton;
class wxCheckBox;
class wxComboBox;
class wxRadioButton;

namespace ide {

// Control ids, shared with the find-in-files dialogs.
enum FindDialogId : int {
    IDC_REPLACE_ONE = 3,
    IDC_REPLACE_ALL = 4,
    IDC_FIND_TEXT = 1152,
    IDC_REPLACE_TEXT = 1153,
    IDC_MATCH_CASE = 1041,
    IDC_REGULAR_EXPRESSION = 1042,
    IDC_WRAP = 1071,
    IDC_DIRECTION_UP = 1056,
    IDC_DIRECTION_DOWN = 1057,
    IDC_SCOPE_FILE = 1058,
    IDC_SCOPE_SELECTION = 1059,
    IDC_FIND_HELP = wxID_HELP,  // wx takes no window ids above 32767
};

// The not-found box of Find next, Find previous and the replace dialog.
void ShowNotFound(UiHooks& hooks);
// The box that refuses an invalid expression.
void ShowInvalidRegex(UiHooks& hooks);

class CQuvFindDlg : public wxDialog {
public:
    // `initialText` (the view's selected text) is offered when not empty, else
    // the finder's last find text.
    CQuvFindDlg(UiHooks& hooks, CQuvFindHistory& history, CTextFinder& finder, const std::string& initialText, wxWindow* parent);

    // The accepted options, after OK.
    void GetOptions(FindOptions& out) const { out = accepted_; }

private:
    void ReadFields();
    void OnFindTextChanged(wxCommandEvent&);
    void OnOK(wxCommandEvent&);

    UiHooks& hooks_;
    CQuvFindHistory& history_;
    wxComboBox* findCombo_ = nullptr;
    wxCheckBox* matchCase_ = nullptr;
    wxCheckBox* regularExpression_ = nullptr;
    wxCheckBox* wrap_ = nullptr;
    wxRadioButton* up_ = nullptr;
    wxRadioButton* down_ = nullptr;
    wxButton* findNext_ = nullptr;
    FindOptions values_;
    FindOptions accepted_;
};

class CQuvReplaceDlg : public wxDialog {
public:
    // With an initial text (the view's selection) "选定文字" is preselected.
    CQuvReplaceDlg(UiHooks& hooks, CQuvFindHistory& history, CTextFinder& finder, const std::string& initialText, wxWindow* parent);

private:
    void ReadFields();
    void EnableSearchButtons(bool enable);
    // Checks the expression, puts the texts first in the history and hands the options to the finder.
    bool ApplyOptions();
    void OnFindNext(wxCommandEvent&);
    void OnReplace(wxCommandEvent&);
    void OnReplaceAll(wxCommandEvent&);
    void OnFindTextChanged(wxCommandEvent&);
    void FindNext();

    UiHooks& hooks_;
    CQuvFindHistory& history_;
    CTextFinder& finder_;
    ReplaceOptions values_;
    int lastFindFound_ = 0;
    wxComboBox* findCombo_ = nullptr;
    wxComboBox* replaceCombo_ = nullptr;
    wxCheckBox* matchCase_ = nullptr;
    wxCheckBox* regularExpression_ = nullptr;
    wxCheckBox* wrap_ = nullptr;
    wxRadioButton* up_ = nullptr;
    wxRadioButton* down_ = nullptr;
    wxRadioButton* wholeFile_ = nullptr;
    wxRadioButton* selection_ = nullptr;
};

} // namespace ide
