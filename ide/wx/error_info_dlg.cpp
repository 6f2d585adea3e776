#include "ide/wx/error_info_dlg.hpp"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ide/wx/menus.hpp"

namespace ide {

namespace {
wxString fromUtf8(const std::string& text) { return wxString::FromUTF8(text.data(), text.size()); }

wxTextCtrl* addBox(wxWindow* parent, wxSizer* grid, const char* label, const wxString& value, long style = 0)
{
    grid->Add(new wxStaticText(parent, wxID_ANY, U8(label)), 0, wxALIGN_CENTER_VERTICAL | wxALL, 3);
    auto* box = new wxTextCtrl(parent, wxID_ANY, value, wxDefaultPosition, wxSize(320, -1), wxTE_READONLY | style);
    grid->Add(box, 1, wxEXPAND | wxALL, 3);
    return box;
}
} // namespace

CErrorInfoDlg::CErrorInfoDlg(wxWindow* parent, const DiagnosticCopy& r)
    : wxDialog(parent, wxID_ANY, U8("错误信息"), wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    auto* top = new wxBoxSizer(wxVERTICAL);

    auto* place = new wxStaticBoxSizer(wxVERTICAL, this, U8("错误位置"));
    auto* placeGrid = new wxFlexGridSizer(2, wxSize(4, 2));
    placeGrid->AddGrowableCol(1);
    boxes_[0] = addBox(place->GetStaticBox(), placeGrid, "文件路径:", fromUtf8(r.file));
    boxes_[1] = addBox(place->GetStaticBox(), placeGrid, "规则：", fromUtf8(r.rule));
    boxes_[5] = addBox(place->GetStaticBox(), placeGrid, "行数：", wxString::Format("%d", r.line));
    boxes_[6] = addBox(place->GetStaticBox(), placeGrid, "列数：", wxString::Format("%d", r.column));
    place->Add(placeGrid, 1, wxEXPAND);
    top->Add(place, 0, wxEXPAND | wxALL, 6);

    auto* kind = new wxStaticBoxSizer(wxVERTICAL, this, U8("错误分类"));
    auto* kindGrid = new wxFlexGridSizer(2, wxSize(4, 2));
    kindGrid->AddGrowableCol(1);
    boxes_[3] = addBox(kind->GetStaticBox(), kindGrid, "错误编号：", fromUtf8(r.numberName));
    boxes_[4] = addBox(kind->GetStaticBox(), kindGrid, "错误类型：", fromUtf8(r.kindName));
    kind->Add(kindGrid, 1, wxEXPAND);
    top->Add(kind, 0, wxEXPAND | wxLEFT | wxRIGHT, 6);

    top->Add(new wxStaticText(this, wxID_ANY, U8("错误具体信息：")), 0, wxLEFT | wxTOP, 8);
    boxes_[2] = new wxTextCtrl(this, wxID_ANY, fromUtf8(r.details), wxDefaultPosition, wxSize(-1, 80),
                               wxTE_READONLY | wxTE_MULTILINE | wxVSCROLL);
    top->Add(boxes_[2], 1, wxEXPAND | wxALL, 6);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, U8("关闭")), 0, wxALL, 4);
    auto* help = new wxButton(this, wxID_HELP, U8("帮助"));
    // There is no help file: the button shows, disabled.
    help->Disable();
    buttons->Add(help, 0, wxALL, 4);
    top->Add(buttons, 0, wxEXPAND | wxALL, 4);

    SetEscapeId(wxID_OK);
    SetSizerAndFit(top);
    CentreOnParent();
}

} // namespace ide
