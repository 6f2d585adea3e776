#include "ide/wx/goto_line_dlg.hpp"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ide/wx/window_services.hpp"
#include "ide/wx/menus.hpp"

namespace ide {

namespace {
const long kLowest = 1;
const long kHighest = 10000000;
} // namespace

CGotoLineDlg::CGotoLineDlg(UiHooks& hooks, int line, int column, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, U8("转到下列行")), hooks_(hooks), line_(line), column_(column)
{
    auto* grid = new wxFlexGridSizer(2, wxSize(6, 6));
    grid->Add(new wxStaticText(this, wxID_ANY, U8("转到行：")), 0, wxALIGN_CENTER_VERTICAL);
    lineBox_ = new wxTextCtrl(this, wxID_ANY, wxString::Format("%d", line));
    grid->Add(lineBox_, 1, wxEXPAND);
    grid->Add(new wxStaticText(this, wxID_ANY, U8("转到列：")), 0, wxALIGN_CENTER_VERTICAL);
    columnBox_ = new wxTextCtrl(this, wxID_ANY, wxString::Format("%d", column));
    grid->Add(columnBox_, 1, wxEXPAND);

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(grid, 1, wxEXPAND | wxALL, 10);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    auto* ok = new wxButton(this, wxID_OK, "OK");
    // Enter in either box is OK.
    ok->SetDefault();
    buttons->Add(ok, 0, wxALL, 4);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"), 0, wxALL, 4);
    top->Add(buttons, 0, wxEXPAND | wxALL, 4);
    SetSizerAndFit(top);
    lineBox_->SetFocus();
    lineBox_->SelectAll();
    CentreOnParent();
}

bool CGotoLineDlg::ReadBox(wxTextCtrl* box, int& value)
{
    long number = 0;
    const bool isInteger = box->GetValue().Trim().Trim(false).ToLong(&number);
    if (isInteger && number >= kLowest && number <= kHighest) {
        value = static_cast<int>(number);
        return true;
    }
    hooks_.MessageBox(IntegerRangeMessage(isInteger, kLowest, kHighest), U8("提示"), wxOK | wxICON_EXCLAMATION);
    box->SetFocus();
    box->SelectAll();
    return false;
}

bool CGotoLineDlg::TransferDataFromWindow()
{
    int column = 0, line = 0;
    if (!ReadBox(columnBox_, column) || !ReadBox(lineBox_, line))
        return false;
    column_ = column;
    line_ = line;
    return true;
}

} // namespace ide
