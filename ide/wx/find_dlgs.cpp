#include "ide/wx/find_dlgs.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include "ide/model/find_regex.hpp"
#include "ide/wx/window_services.hpp"
#include "ide/wx/menus.hpp"

namespace ide {

namespace {

wxString fromUtf8(const std::string& s) { return wxString::FromUTF8(s.data(), s.size()); }

wxComboBox* makeCombo(wxWindow* parent, int id, const CQuvFindHistory::List& entries, const std::string& value)
{
    auto* combo = new wxComboBox(parent, id, wxEmptyString, wxDefaultPosition, wxSize(260, -1));
    for (const std::string& entry : entries)
        combo->Append(fromUtf8(entry));
    // Set after the list, so that the text is the dialog's, not the first entry.
    combo->SetValue(fromUtf8(value));
    return combo;
}

wxButton* addButton(wxWindow* parent, wxSizer* column, int id, const char* label)
{
    auto* button = new wxButton(parent, id, U8(label));
    column->Add(button, 0, wxEXPAND | wxBOTTOM, 4);
    return button;
}

// "方向": up and down, the first of a radio group.
wxStaticBoxSizer* directionBox(wxWindow* parent, wxRadioButton*& up, wxRadioButton*& down, int direction)
{
    auto* box = new wxStaticBoxSizer(wxHORIZONTAL, parent, U8("方向"));
    up = new wxRadioButton(box->GetStaticBox(), IDC_DIRECTION_UP, U8("上(&U)"), wxDefaultPosition, wxDefaultSize,
                           wxRB_GROUP);
    down = new wxRadioButton(box->GetStaticBox(), IDC_DIRECTION_DOWN, U8("下(&D)"));
    (direction ? down : up)->SetValue(true);
    box->Add(up, 0, wxALL, 4);
    box->Add(down, 0, wxALL, 4);
    return box;
}

// "区分大小写", "正规表达式" and "循环查找", one under the other, set from the options.
template <class Options>
wxBoxSizer* optionChecks(wxWindow* parent, wxCheckBox*& matchCase, wxCheckBox*& regularExpression, wxCheckBox*& wrap,
                         const Options& values)
{
    auto* checks = new wxBoxSizer(wxVERTICAL);
    matchCase = new wxCheckBox(parent, IDC_MATCH_CASE, U8("区分大小写(&C)"));
    regularExpression = new wxCheckBox(parent, IDC_REGULAR_EXPRESSION, U8("正规表达式"));
    wrap = new wxCheckBox(parent, IDC_WRAP, U8("循环查找"));
    for (wxCheckBox* check : {matchCase, regularExpression, wrap})
        checks->Add(check, 0, wxBOTTOM, 4);
    matchCase->SetValue(values.matchCase != 0);
    regularExpression->SetValue(values.regularExpression != 0);
    wrap->SetValue(values.wrap != 0);
    return checks;
}

// The check boxes and the direction, read back into the options.
template <class Options>
void readOptionChecks(Options& values, wxCheckBox* matchCase, wxCheckBox* regularExpression, wxCheckBox* wrap,
                      wxRadioButton* down)
{
    values.matchCase = matchCase->GetValue();
    values.regularExpression = regularExpression->GetValue();
    values.wrap = wrap->GetValue();
    values.direction = down->GetValue() ? 1 : 0;
}

} // namespace

void ShowNotFound(UiHooks& hooks)
{
    hooks.MessageBox(U8("没有找到匹配的字符串!"), U8("提示"), wxOK);
}

void ShowInvalidRegex(UiHooks& hooks)
{
    hooks.MessageBox(U8("要查找的字符串不是一个合法的正规式"), U8("提示"), wxOK);
}

CQuvFindDlg::CQuvFindDlg(UiHooks& hooks, CQuvFindHistory& history, CTextFinder& finder, const std::string& initialText,
                         wxWindow* parent)
    : wxDialog(parent, wxID_ANY, U8("查找")), hooks_(hooks), history_(history)
{
    finder.GetOptions(values_);
    values_.direction = values_.direction != 0 ? 1 : 0;
    if (!initialText.empty())
        values_.findText = initialText;

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, U8("查找内容(&N):")), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    findCombo_ = makeCombo(this, IDC_FIND_TEXT, history_.GetFindTexts(), values_.findText);
    row->Add(findCombo_, 1, wxEXPAND);
    left->Add(row, 0, wxEXPAND | wxBOTTOM, 8);

    auto* options = new wxBoxSizer(wxHORIZONTAL);
    options->Add(optionChecks(this, matchCase_, regularExpression_, wrap_, values_), 1, wxEXPAND | wxRIGHT, 8);
    options->Add(directionBox(this, up_, down_, values_.direction), 0);
    left->Add(options, 0, wxEXPAND);
    top->Add(left, 1, wxEXPAND | wxALL, 10);

    auto* buttons = new wxBoxSizer(wxVERTICAL);
    findNext_ = addButton(this, buttons, wxID_OK, "查找下一个(&F)");
    addButton(this, buttons, wxID_CANCEL, "取消(&L)");
    // There is no help file: the button shows, disabled.
    addButton(this, buttons, IDC_FIND_HELP, "帮助(&H)")->Disable();
    findNext_->SetDefault();
    top->Add(buttons, 0, wxALL, 10);
    SetSizerAndFit(top);
    CentreOnParent();

    findNext_->Enable(!values_.findText.empty());
    findCombo_->Bind(wxEVT_TEXT, &CQuvFindDlg::OnFindTextChanged, this);
    findCombo_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { findNext_->Enable(); });
    findNext_->Bind(wxEVT_BUTTON, &CQuvFindDlg::OnOK, this);
    findCombo_->SetFocus();
}

void CQuvFindDlg::ReadFields()
{
    values_.findText = findCombo_->GetValue().utf8_string();
    readOptionChecks(values_, matchCase_, regularExpression_, wrap_, down_);
}

void CQuvFindDlg::OnFindTextChanged(wxCommandEvent&)
{
    ReadFields();
    findNext_->Enable(!values_.findText.empty());
}

void CQuvFindDlg::OnOK(wxCommandEvent&)
{
    ReadFields();
    if (!QuvIsValidRegex(values_.findText, values_.regularExpression)) {
        ShowInvalidRegex(hooks_);
        return;
    }
    CQuvFindHistory::InsertMostRecent(history_.GetFindTexts(), values_.findText);
    accepted_ = values_;
    EndModal(wxID_OK);
}

CQuvReplaceDlg::CQuvReplaceDlg(UiHooks& hooks, CQuvFindHistory& history, CTextFinder& finder,
                               const std::string& initialText, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, U8("替换")), hooks_(hooks), history_(history), finder_(finder)
{
    finder.GetReplaceOptions(values_);
    values_.direction = values_.direction != 0 ? 1 : 0;
    values_.scope = initialText.empty() ? 0 : 1;
    if (!initialText.empty())
        values_.findText = initialText;

    auto* top = new wxBoxSizer(wxHORIZONTAL);
    auto* left = new wxBoxSizer(wxVERTICAL);
    auto* texts = new wxFlexGridSizer(2, wxSize(6, 6));
    texts->AddGrowableCol(1);
    texts->Add(new wxStaticText(this, wxID_ANY, U8("查找内容(&N):")), 0, wxALIGN_CENTER_VERTICAL);
    findCombo_ = makeCombo(this, IDC_FIND_TEXT, history_.GetFindTexts(), values_.findText);
    texts->Add(findCombo_, 1, wxEXPAND);
    texts->Add(new wxStaticText(this, wxID_ANY, U8("替换为(&P):")), 0, wxALIGN_CENTER_VERTICAL);
    replaceCombo_ = makeCombo(this, IDC_REPLACE_TEXT, history_.GetReplaceTexts(), values_.replaceText);
    texts->Add(replaceCombo_, 1, wxEXPAND);
    left->Add(texts, 0, wxEXPAND | wxBOTTOM, 8);

    auto* options = new wxBoxSizer(wxHORIZONTAL);
    options->Add(optionChecks(this, matchCase_, regularExpression_, wrap_, values_), 1, wxEXPAND | wxRIGHT, 8);
    auto* boxes = new wxBoxSizer(wxVERTICAL);
    boxes->Add(directionBox(this, up_, down_, values_.direction), 0, wxEXPAND | wxBOTTOM, 4);
    auto* scope = new wxStaticBoxSizer(wxHORIZONTAL, this, U8("区域"));
    wholeFile_ = new wxRadioButton(scope->GetStaticBox(), IDC_SCOPE_FILE, U8("文件"), wxDefaultPosition,
                                   wxDefaultSize, wxRB_GROUP);
    selection_ = new wxRadioButton(scope->GetStaticBox(), IDC_SCOPE_SELECTION, U8("选定文字"));
    (values_.scope ? selection_ : wholeFile_)->SetValue(true);
    scope->Add(wholeFile_, 0, wxALL, 4);
    scope->Add(selection_, 0, wxALL, 4);
    boxes->Add(scope, 0, wxEXPAND);
    options->Add(boxes, 0);
    left->Add(options, 0, wxEXPAND);
    top->Add(left, 1, wxEXPAND | wxALL, 10);

    auto* buttons = new wxBoxSizer(wxVERTICAL);
    wxButton* findNext = addButton(this, buttons, wxID_OK, "查找下一个(&F)");
    addButton(this, buttons, IDC_REPLACE_ONE, "替换(&R)")->Bind(wxEVT_BUTTON, &CQuvReplaceDlg::OnReplace, this);
    addButton(this, buttons, IDC_REPLACE_ALL, "全部替换(&A)")->Bind(wxEVT_BUTTON, &CQuvReplaceDlg::OnReplaceAll, this);
    addButton(this, buttons, wxID_CANCEL, "取消");
    // There is no help file: the button shows, disabled.
    addButton(this, buttons, IDC_FIND_HELP, "帮助(&H)")->Disable();
    findNext->SetDefault();
    findNext->Bind(wxEVT_BUTTON, &CQuvReplaceDlg::OnFindNext, this);
    top->Add(buttons, 0, wxALL, 10);
    SetSizerAndFit(top);
    CentreOnParent();

    EnableSearchButtons(!values_.findText.empty());
    findCombo_->Bind(wxEVT_TEXT, &CQuvReplaceDlg::OnFindTextChanged, this);
    findCombo_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { EnableSearchButtons(true); });
    findCombo_->SetFocus();
}

void CQuvReplaceDlg::EnableSearchButtons(bool enable)
{
    for (int id : {int(wxID_OK), int(IDC_REPLACE_ONE), int(IDC_REPLACE_ALL)})
        FindWindow(id)->Enable(enable);
    selection_->Enable(enable);
}

void CQuvReplaceDlg::ReadFields()
{
    values_.findText = findCombo_->GetValue().utf8_string();
    values_.replaceText = replaceCombo_->GetValue().utf8_string();
    readOptionChecks(values_, matchCase_, regularExpression_, wrap_, down_);
    values_.scope = selection_->GetValue() ? 1 : 0;
}

void CQuvReplaceDlg::OnFindTextChanged(wxCommandEvent&)
{
    ReadFields();
    EnableSearchButtons(!values_.findText.empty());
}

bool CQuvReplaceDlg::ApplyOptions()
{
    if (!QuvIsValidRegex(values_.findText, values_.regularExpression)) {
        ShowInvalidRegex(hooks_);
        return false;
    }
    CQuvFindHistory::InsertMostRecent(history_.GetFindTexts(), values_.findText);
    CQuvFindHistory::InsertMostRecent(history_.GetReplaceTexts(), values_.replaceText);
    finder_.SetReplaceOptions(values_);
    return true;
}

void CQuvReplaceDlg::FindNext()
{
    ReadFields();
    if (!ApplyOptions())
        return;
    int startLine = 0, startCol = 0, endLine = 0, endCol = 0;
    const bool found = finder_.FindNext(startLine, startCol, endLine, endCol);
    if (found)
        finder_.Editor().SetSelection(startLine, startCol, endLine, endCol);
    else
        ShowNotFound(hooks_);
    lastFindFound_ = found;
}

void CQuvReplaceDlg::OnFindNext(wxCommandEvent&)
{
    FindNext();
}

void CQuvReplaceDlg::OnReplace(wxCommandEvent&)
{
    // The first press only finds: nothing is selected yet that could be replaced.
    if (!lastFindFound_) {
        FindNext();
        return;
    }
    ReadFields();
    if (ApplyOptions())
        finder_.Replace();
}

void CQuvReplaceDlg::OnReplaceAll(wxCommandEvent&)
{
    ReadFields();
    if (ApplyOptions())
        finder_.ReplaceAll();
}

} // namespace ide
