#include "ide/wx/display_setup_dlg.hpp"

#include <algorithm>

#include <wx/button.h>
#include <wx/dcclient.h>
#include <wx/gbsizer.h>
#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ide/wx/window_services.hpp"
#include "ide/wx/common_dialogs.hpp"
#include "ide/wx/menus.hpp"

namespace ide {

namespace {

constexpr int ID_DEFAULTS = 1000;
const wxSize kSwatchSize(40, 18);

// ORDER COLOURS: one row per colour index, with the swatch's and the label's
// control ids and the place in its group box.
struct SwatchPlace {
    int swatchId;
    int labelId;
    int group;  // 0 text colours, 1 background colours, 2 break-point colours
    int row;
    int column;
};
const SwatchPlace kSwatches[kColorCount] = {
    {1015, 1001, 0, 0, 0}, {1016, 1002, 0, 1, 0}, {1017, 1003, 0, 2, 0}, {1018, 1004, 0, 3, 0},
    {1019, 1005, 0, 0, 1}, {1020, 1006, 0, 1, 1}, {1021, 1007, 0, 2, 1}, {1022, 1008, 0, 3, 1},
    {1023, 1009, 0, 0, 2}, {1024, 1010, 0, 1, 2}, {1025, 1011, 0, 2, 2}, {1026, 1012, 1, 0, 0},
    {1027, 1013, 1, 0, 1}, {1028, 1014, 1, 0, 2}, {1032, 1031, 2, 0, 0}, {1029, 1030, 2, 0, 1},
};
const char* const kGroupTitles[] = {"文字颜色设置", "背景颜色设置", "断点颜色设置"};

// ORDER SPACES: MinX, TabSize, LineDistance.
struct SpaceRow {
    const char* label;
    int editId;
    int spinId;
    int low;
    int high;
};
const SpaceRow kSpaces[3] = {
    {"左边缘", 1030, 1029, 0, 10000},
    {"Tab键", 1032, 1031, 1, 10000},
    {"行间距", 1036, 1035, 0, 10000},
};

wxSizer* dialogButtons(wxDialog* dialog)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxButton(dialog, wxID_OK, U8("确定")), 0, wxALL, 4);
    row->Add(new wxButton(dialog, wxID_CANCEL, U8("取消")), 0, wxALL, 4);
    row->Add(new wxButton(dialog, ID_DEFAULTS, U8("默认")), 0, wxALL, 4);
    return row;
}

} // namespace

CColorStatic::CColorStatic(wxWindow* parent, int id)
    : wxWindow(parent, id, wxDefaultPosition, kSwatchSize, wxBORDER_SUNKEN)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CColorStatic::OnPaint, this);
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent&) { OnClicked(); });
}

void CColorStatic::SetColor(uint32_t color)
{
    color_ = color;
    Refresh(true);
    Update();
}

void CColorStatic::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    dc.SetBrush(wxBrush(ColourFromRef(color_)));
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.DrawRectangle(GetClientRect());
}

void CColorStatic::OnClicked()
{
    wxColour chosen = ColourFromRef(color_);
    if (CommonDialogs::ChooseColour(chosen))
        SetColor(RefFromColour(chosen));
}

CColorSetupDlg::CColorSetupDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, U8("颜色设置"))
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    wxGridBagSizer* grids[3];
    for (int g = 0; g < 3; ++g) {
        auto* box = new wxStaticBoxSizer(wxVERTICAL, this, U8(kGroupTitles[g]));
        grids[g] = new wxGridBagSizer(4, 12);
        box->Add(grids[g], 0, wxALL, 6);
        top->Add(box, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 8);
    }
    for (int i = 0; i < kColorCount; ++i) {
        const SwatchPlace& place = kSwatches[i];
        auto* cell = new wxBoxSizer(wxHORIZONTAL);
        // The label's text comes at dialog start, as the swatch's colour does.
        auto* label = new wxStaticText(this, place.labelId, "", wxDefaultPosition, wxSize(90, -1));
        swatch_[i] = new CColorStatic(this, place.swatchId);
        cell->Add(label, 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 4);
        cell->Add(swatch_[i], 0, wxALIGN_CENTER_VERTICAL);
        grids[place.group]->Add(cell, wxGBPosition(place.row, place.column));
    }
    grids[0]->Add(new wxStaticText(this, wxID_ANY, U8("单击某个颜色进行修改")), wxGBPosition(3, 2), wxDefaultSpan,
                  wxALIGN_CENTER_VERTICAL);
    top->Add(dialogButtons(this), 0, wxALIGN_RIGHT | wxALL, 6);
    SetSizerAndFit(top);
    CentreOnParent();

    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& e) {
        for (int i = 0; i < kColorCount; ++i) {
            FindWindow(kSwatches[i].labelId)->SetLabel(U8(kColorKeys[i]));
            swatch_[i]->SetColor(colors_[i]);
        }
        e.Skip();
    });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnRestoreDefaults(); }, ID_DEFAULTS);
    Bind(wxEVT_BUTTON, &CColorSetupDlg::OnOk, this, wxID_OK);
}

void CColorSetupDlg::SetColors(const uint32_t colors[kColorCount])
{
    std::copy(colors, colors + kColorCount, colors_);
}

void CColorSetupDlg::GetColors(uint32_t colors[kColorCount])
{
    for (int i = 0; i < kColorCount; ++i)
        colors[i] = colors_[i] = swatch_[i]->GetColor();
}

void CColorSetupDlg::OnRestoreDefaults()
{
    for (int i = 0; i < kColorCount; ++i) {
        colors_[i] = kDefaultColors[i];
        swatch_[i]->SetColor(kDefaultColors[i]);
    }
}

void CColorSetupDlg::OnOk(wxCommandEvent&)
{
    EndDialogWith(*this, wxID_OK);
}

CSpaceSetupDlg::CSpaceSetupDlg(UiHooks& hooks, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, U8("空间设置")), hooks_(hooks)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(3, 4, 8);
    for (int i = 0; i < 3; ++i) {
        grid->Add(new wxStaticText(this, wxID_ANY, U8(kSpaces[i].label)), 0, wxALIGN_CENTER_VERTICAL);
        edit_[i] = new wxTextCtrl(this, kSpaces[i].editId, "", wxDefaultPosition, wxSize(80, -1));
        spin_[i] = new wxSpinButton(this, kSpaces[i].spinId, wxDefaultPosition, wxDefaultSize,
                                    wxSP_VERTICAL | wxSP_ARROW_KEYS);
        grid->Add(edit_[i], 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(spin_[i], 0, wxALIGN_CENTER_VERTICAL);
        // The spin button is its edit's buddy: it steps the number the edit
        // shows, a typed one too, within the values the edit accepts.
        spin_[i]->SetRange(kSpaces[i].low, kSpaces[i].high);
        spin_[i]->Bind(wxEVT_SPIN, [this, i](wxSpinEvent& e) { edit_[i]->ChangeValue(wxString::Format("%d", e.GetPosition())); });
        edit_[i]->Bind(wxEVT_TEXT, [this, i](wxCommandEvent& e) {
            long typed = 0;
            if (edit_[i]->GetValue().Strip(wxString::both).ToLong(&typed))
                spin_[i]->SetValue(static_cast<int>(std::clamp<long>(typed, kSpaces[i].low, kSpaces[i].high)));
            e.Skip();
        });
    }
    top->Add(grid, 0, wxALL, 12);
    top->Add(dialogButtons(this), 0, wxALIGN_RIGHT | wxALL, 6);
    SetSizerAndFit(top);
    CentreOnParent();

    Bind(wxEVT_INIT_DIALOG, [this](wxInitDialogEvent& e) {
        for (int i = 0; i < 3; ++i) {
            edit_[i]->SetValue(wxString::Format("%d", values_[i]));   // the spin follows
        }
        e.Skip();
    });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnButton1000(); }, ID_DEFAULTS);
    Bind(wxEVT_BUTTON, &CSpaceSetupDlg::OnOk, this, wxID_OK);
}

void CSpaceSetupDlg::SetSpaces(const CDisplaySetting& setting)
{
    values_[0] = setting.MinX;
    values_[1] = setting.TabSize;
    values_[2] = setting.LineDistance;
}

void CSpaceSetupDlg::GetSpaces(CDisplaySetting& setting) const
{
    setting.MinX = values_[0];
    setting.TabSize = values_[1];
    setting.LineDistance = values_[2];
}

void CSpaceSetupDlg::OnButton1000()
{
    const int32_t defaults[3] = {kDefaultMinX, kDefaultTabSize, kDefaultLineDistance};
    for (int i = 0; i < 3; ++i) {
        edit_[i]->SetValue(wxString::Format("%d", defaults[i]));   // the spin follows
    }
}

void CSpaceSetupDlg::OnOk(wxCommandEvent&)
{
    int32_t read[3];
    for (int i = 0; i < 3; ++i) {
        long value = 0;
        const wxString text = edit_[i]->GetValue().Strip(wxString::both);
        const bool number = text.ToLong(&value);
        if (!number || value < kSpaces[i].low || value > kSpaces[i].high) {
            hooks_.MessageBox(IntegerRangeMessage(number, kSpaces[i].low, kSpaces[i].high), U8("提示"),
                                  wxOK | wxICON_EXCLAMATION);
            edit_[i]->SetFocus();
            edit_[i]->SelectAll();
            return;
        }
        read[i] = static_cast<int32_t>(value);
    }
    std::copy(read, read + 3, values_);
    EndDialogWith(*this, wxID_OK);
}

} // namespace ide
