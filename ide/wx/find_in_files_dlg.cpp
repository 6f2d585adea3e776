#include "ide/wx/find_in_files_dlg.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/filefn.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "ide/model/find_regex.hpp"
#include "ide/wx/browse_dir_dlg.hpp"
#include "ide/wx/menus.hpp"

namespace ide {

namespace {

wxString fromUtf8(const std::string& s) { return wxString::FromUTF8(s.data(), s.size()); }

std::string firstOf(const CQuvFindHistory::List& list) { return list.empty() ? std::string() : list.front(); }

wxString showBrowser(wxWindow* parent, const wxString& start)
{
    CBrowseDirDlg browser(parent);
    browser.SetPath(start);
    return browser.ShowModal() == wxID_OK ? browser.GetPath() : wxString();
}

// The texts that differ between the two dialogs. ORDER: find, replace.
struct Labels {
    const char* caption;
    const char* find;
    const char* regularExpression;
    const char* scopes[3];
    const char* ok;
    int help;
};
const Labels kLabels[2] = {
    {"批量文件查找", "查找(&N):", "正规表达式(&R)", {"列出的文件(&E)", "打开的文件(&O)", "项目文件(&P)"}, "查找(&F)",
     IDC_FIND_IN_FILES_HELP},
    {"批量文件替换", "查找(&F):", "正规表达式(&E)", {"列出的文件(&L)", "打开文件(&O)", "项目文件(&P)"},
     "全部替换(&R)", IDC_FIND_HELP},
};

} // namespace

wxString (*CFindInFilesDlgBase::RunBrowser)(wxWindow* parent, const wxString& start) = showBrowser;

CFindInFilesDlgBase::CFindInFilesDlgBase(UiHooks& hooks, CQuvFindHistory& history, wxWindow* parent, bool replacing)
    : wxDialog(parent, wxID_ANY, U8(kLabels[replacing].caption)), hooks_(hooks), history_(history), replacing_(replacing)
{
    const Labels& labels = kLabels[replacing];
    values_.matchCase = history.matchCase;
    values_.regularExpression = history.regularExpression;
    values_.subfolders = history.subfolders;
    values_.scope = history.scope;
    values_.findText = firstOf(history.findTexts);
    values_.replaceText = firstOf(history.replaceTexts);
    values_.fileTypes = firstOf(history.fileTypes);
    values_.folders = firstOf(history.folders);

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(2, wxSize(6, 6));
    grid->AddGrowableCol(1);
    const auto addCombo = [this, grid](int id, const char* label, const CQuvFindHistory::List& entries) {
        grid->Add(new wxStaticText(this, wxID_ANY, U8(label)), 0, wxALIGN_CENTER_VERTICAL);
        auto* combo = new wxComboBox(this, id, wxEmptyString, wxDefaultPosition, wxSize(280, -1));
        for (const std::string& entry : entries)
            combo->Append(fromUtf8(entry));
        grid->Add(combo, 1, wxEXPAND);
        return combo;
    };
    findCombo_ = addCombo(IDC_FIND_TEXT, labels.find, history.findTexts);
    if (replacing)
        replaceCombo_ = addCombo(IDC_REPLACE_TEXT, "替换为(&P):", history.replaceTexts);
    typesCombo_ = addCombo(IDC_FILE_TYPES, "文件/类型(&I):", history.fileTypes);
    foldersCombo_ = addCombo(IDC_FOLDERS, "目录(&D)", history.folders);
    left->Add(grid, 0, wxEXPAND | wxBOTTOM, 8);

    auto* options = new wxBoxSizer(wxHORIZONTAL);
    auto* checks = new wxBoxSizer(wxVERTICAL);
    matchCase_ = new wxCheckBox(this, IDC_MATCH_CASE, U8("区分大小写(&C)"));
    regularExpression_ = new wxCheckBox(this, IDC_REGULAR_EXPRESSION, U8(labels.regularExpression));
    subfolders_ = new wxCheckBox(this, IDC_SUBFOLDERS, U8("一并搜索子目录(&S)"));
    for (wxCheckBox* check : {matchCase_, regularExpression_, subfolders_})
        checks->Add(check, 0, wxBOTTOM, 4);
    options->Add(checks, 1, wxEXPAND | wxRIGHT, 8);
    auto* scope = new wxStaticBoxSizer(wxVERTICAL, this, U8("搜索"));
    const int scopeIds[3] = {IDC_SCOPE_LISTED, IDC_SCOPE_OPEN, IDC_SCOPE_PROJECT};
    for (int i = 0; i < 3; ++i) {
        scopes_[i] = new wxRadioButton(scope->GetStaticBox(), scopeIds[i], U8(labels.scopes[i]), wxDefaultPosition,
                                       wxDefaultSize, i == 0 ? wxRB_GROUP : 0);
        scopes_[i]->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) {
            ReadFields();
            EnableListedControls();
        });
        scope->Add(scopes_[i], 0, wxALL, 3);
    }
    options->Add(scope, 0);
    left->Add(options, 0, wxEXPAND);
    top->Add(left, 1, wxEXPAND | wxALL, 10);

    auto* buttons = new wxBoxSizer(wxVERTICAL);
    ok_ = new wxButton(this, wxID_OK, U8(labels.ok));
    auto* browse = new wxButton(this, IDC_BROWSE, U8("浏览(&B)..."));
    auto* help = new wxButton(this, labels.help, U8("帮助(&H)"));
    for (wxButton* button : {ok_, new wxButton(this, wxID_CANCEL, U8("取消")), browse, help})
        buttons->Add(button, 0, wxEXPAND | wxBOTTOM, 4);
    ok_->SetDefault();
    // There is no help file: the button shows, disabled.
    help->Disable();
    top->Add(buttons, 0, wxALL, 10);
    SetSizerAndFit(top);
    CentreOnParent();

    ShowFields();
    ok_->Enable(!values_.findText.empty());
    EnableListedControls();
    ok_->Bind(wxEVT_BUTTON, &CFindInFilesDlgBase::OnOK, this);
    browse->Bind(wxEVT_BUTTON, &CFindInFilesDlgBase::OnBrowse, this);
    help->Bind(wxEVT_BUTTON, [](wxCommandEvent&) {});
    findCombo_->Bind(wxEVT_TEXT, [this](wxCommandEvent&) {
        ReadFields();
        ok_->Enable(!values_.findText.empty());
    });
    findCombo_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { ok_->Enable(); });
    findCombo_->SetFocus();
}

void CFindInFilesDlgBase::ReadFields()
{
    values_.findText = findCombo_->GetValue().utf8_string();
    if (replaceCombo_)
        values_.replaceText = replaceCombo_->GetValue().utf8_string();
    values_.fileTypes = typesCombo_->GetValue().utf8_string();
    values_.folders = foldersCombo_->GetValue().utf8_string();
    values_.matchCase = matchCase_->GetValue();
    values_.regularExpression = regularExpression_->GetValue();
    values_.subfolders = subfolders_->GetValue();
    for (int i = 0; i < 3; ++i)
        if (scopes_[i]->GetValue())
            values_.scope = i;
}

void CFindInFilesDlgBase::ShowFields()
{
    // ChangeValue: showing the fields is no edit of the find text.
    findCombo_->ChangeValue(fromUtf8(values_.findText));
    if (replaceCombo_)
        replaceCombo_->ChangeValue(fromUtf8(values_.replaceText));
    typesCombo_->ChangeValue(fromUtf8(values_.fileTypes));
    foldersCombo_->ChangeValue(fromUtf8(values_.folders));
    matchCase_->SetValue(values_.matchCase != 0);
    regularExpression_->SetValue(values_.regularExpression != 0);
    subfolders_->SetValue(values_.subfolders != 0);
    scopes_[values_.scope >= 0 && values_.scope < 3 ? values_.scope : 0]->SetValue(true);
}

void CFindInFilesDlgBase::EnableListedControls()
{
    const bool listed = values_.scope == 0;
    for (wxWindow* control : {FindWindow(IDC_BROWSE), static_cast<wxWindow*>(subfolders_),
                              static_cast<wxWindow*>(typesCombo_), static_cast<wxWindow*>(foldersCombo_)})
        control->Enable(listed);
}

void CFindInFilesDlgBase::OnBrowse(wxCommandEvent&)
{
    ReadFields();
    const wxString chosen = RunBrowser(this, wxGetCwd());
    if (!chosen.empty()) {
        values_.folders = chosen.utf8_string();
        ShowFields();
    }
}

void CFindInFilesDlgBase::OnOK(wxCommandEvent&)
{
    ReadFields();
    if (!QuvIsValidRegex(values_.findText, values_.regularExpression)) {
        ShowInvalidRegex(hooks_);
        return;
    }
    result_ = values_;
    EndModal(wxID_OK);
}

} // namespace ide
