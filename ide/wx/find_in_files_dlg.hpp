// "批量文件查找" and "批量文件替换": what a find-in-files or replace-in-files
// job needs. Both start from the find history (first entries and remembered
// options), offer its lists in their combo boxes without changing them, check
// a regular expression before they close, and leave the choices in result
// fields that the command reads after OK.
#pragma once
#include "ide/model/find_in_files.hpp"
#include "ide/wx/find_dlgs.hpp"  // the control ids and the classes all find dialogs use

namespace ide {

enum FindInFilesId : int {
    IDC_FILE_TYPES = 153,
    IDC_SUBFOLDERS = 154,
    IDC_BROWSE = 155,
    IDC_FOLDERS = 156,
    IDC_SCOPE_LISTED = 415,
    IDC_SCOPE_OPEN = 418,
    IDC_SCOPE_PROJECT = 419,
    IDC_FIND_IN_FILES_HELP = 1069,
};

class CFindInFilesDlgBase : public wxDialog {
public:
    // The choices, read by the command after OK: the settings of the job it builds.
    const FindSettings& Result() const { return result_; }

    // Browse: the folder browser, starting in the current directory.
    void OnBrowse(wxCommandEvent&);
    // Shows the browser; the chosen path or empty. Tests replace it.
    static wxString (*RunBrowser)(wxWindow* parent, const wxString& start);

protected:
    CFindInFilesDlgBase(UiHooks& hooks, CQuvFindHistory& history, wxWindow* parent, bool replacing);

private:
    void ReadFields();
    void ShowFields();
    void EnableListedControls();
    void OnOK(wxCommandEvent&);

    UiHooks& hooks_;
    CQuvFindHistory& history_;
    bool replacing_;
    FindSettings values_;
    FindSettings result_;
    wxComboBox* findCombo_ = nullptr;
    wxComboBox* replaceCombo_ = nullptr;
    wxComboBox* typesCombo_ = nullptr;
    wxComboBox* foldersCombo_ = nullptr;
    wxCheckBox* matchCase_ = nullptr;
    wxCheckBox* regularExpression_ = nullptr;
    wxCheckBox* subfolders_ = nullptr;
    wxRadioButton* scopes_[3] = {};
    wxButton* ok_ = nullptr;
};

class CQuvFindInFilesDlg : public CFindInFilesDlgBase {
public:
    CQuvFindInFilesDlg(UiHooks& hooks, CQuvFindHistory& history, wxWindow* parent)
        : CFindInFilesDlgBase(hooks, history, parent, false)
    {
    }
};

class CQuvReplaceInFilesDlg : public CFindInFilesDlgBase {
public:
    CQuvReplaceInFilesDlg(UiHooks& hooks, CQuvFindHistory& history, wxWindow* parent)
        : CFindInFilesDlgBase(hooks, history, parent, true)
    {
    }
};

} // namespace ide
