#include "ide/wx/page_setup_dlg.hpp"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/colordlg.h>
#include <wx/fontdlg.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ide/model/settings_file.hpp"
#include "ide/wx/window_services.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/menus.hpp"
#include "ide/wx/source_printout.hpp"

namespace ide {

namespace {

wxString FromUtf8(const std::string& s) { return wxString::FromUTF8(s.data(), s.size()); }

const char* const kAlignTexts[] = {"左对齐", "居中对齐", "右对齐"};

// ORDER CHECKS: the check boxes and the fields they edit, in the order the
// dialog reads them back.
struct Check {
    int id;
    int CPrintSetting::*field;
};
const Check kChecks[] = {
    {CPageSetupDlg::IDC_FOOTER_STOP, &CPrintSetting::bFooterStop},
    {CPageSetupDlg::IDC_FOOTER_SEPARATOR_STOP, &CPrintSetting::bFooterSeperatorStop},
    {CPageSetupDlg::IDC_HEADER_STOP, &CPrintSetting::bHeaderStop},
    {CPageSetupDlg::IDC_HEADER_SEPARATOR_STOP, &CPrintSetting::bHeaderSeperatorStop},
    {CPageSetupDlg::IDC_SYNTAX, &CPrintSetting::bPrintSyntax},
    {CPageSetupDlg::IDC_AUTO_WRAP, &CPrintSetting::bPrintAutoChangeLine},
    {CPageSetupDlg::IDC_TWO_PAGES, &CPrintSetting::bPrintDouble},
    {CPageSetupDlg::IDC_LINE_NUMBERS, &CPrintSetting::bPrintLineNo},
};

// ORDER RANGES: the number boxes in the order the dialog checks them.
struct Range {
    int id;
    int CPrintSetting::*field;
    int low, high;
};
const Range kLineDistance = {CPageSetupDlg::IDC_LINE_DISTANCE, &CPrintSetting::iLineDistance, 0, 10000};
const Range kMargins[] = {{CPageSetupDlg::IDC_MARGIN_BOTTOM, &CPrintSetting::iBottom, 0, 10000},
                          {CPageSetupDlg::IDC_MARGIN_LEFT, &CPrintSetting::iLeft, 0, 10000},
                          {CPageSetupDlg::IDC_MARGIN_RIGHT, &CPrintSetting::iRight, 0, 10000},
                          {CPageSetupDlg::IDC_MARGIN_TOP, &CPrintSetting::iTop, 0, 10000}};
const Range kSeparatorCode = {CPageSetupDlg::IDC_SEPARATOR_CODE, &CPrintSetting::iPageSeperatorCode, 0, 255};

wxCheckBox* AddCheck(wxWindow* parent, wxSizer* sizer, int id, const char* text)
{
    auto* box = new wxCheckBox(parent, id, U8(text));
    sizer->Add(box, 0, wxALL, 3);
    return box;
}

void AddRadios(wxWindow* parent, wxSizer* sizer, int first, const char* const* texts, int count)
{
    for (int i = 0; i < count; ++i)
        sizer->Add(new wxRadioButton(parent, first + i, U8(texts[i]), wxDefaultPosition, wxDefaultSize,
                                     i == 0 ? wxRB_GROUP : 0),
                   0, wxALL | wxALIGN_CENTER_VERTICAL, 3);
}

wxTextCtrl* AddNumber(wxWindow* parent, wxSizer* sizer, int id, const char* label)
{
    sizer->Add(new wxStaticText(parent, wxID_ANY, U8(label)), 0, wxALL | wxALIGN_CENTER_VERTICAL, 3);
    auto* box = new wxTextCtrl(parent, id, wxString(), wxDefaultPosition, wxSize(70, -1));
    sizer->Add(box, 0, wxALL, 3);
    return box;
}

// One of header or footer: its text, its two switches and its alignment.
wxSizer* HeaderFooterRow(wxWindow* parent, const char* label, int textId, int stopId, const char* stopText,
                         int separatorId, const char* separatorText, int firstAlign)
{
    auto* column = new wxBoxSizer(wxVERTICAL);
    auto* line = new wxBoxSizer(wxHORIZONTAL);
    line->Add(new wxStaticText(parent, wxID_ANY, U8(label)), 0, wxALL | wxALIGN_CENTER_VERTICAL, 3);
    line->Add(new wxTextCtrl(parent, textId, wxString(), wxDefaultPosition, wxSize(360, -1)), 1, wxALL, 3);
    column->Add(line, 0, wxEXPAND);
    auto* options = new wxBoxSizer(wxHORIZONTAL);
    AddCheck(parent, options, stopId, stopText);
    AddCheck(parent, options, separatorId, separatorText);
    AddRadios(parent, options, firstAlign, kAlignTexts, 3);
    column->Add(options, 0, wxLEFT, 40);
    return column;
}

} // namespace

CPageSetupDlg::CPageSetupDlg(UiHooks& hooks, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, U8("页面设置"), wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE),
      hooks_(hooks)
{
    // Everything empty until the caller fills it; no radio chosen.
    data_.header.clear();
    data_.footer.clear();
    for (const Check& c : kChecks)
        data_.*c.field = 0;
    for (const Range& r : kMargins)
        data_.*r.field = 0;
    data_.iLineDistance = data_.iPageSeperatorCode = 0;
    data_.bHeaderAlign = data_.bFooterAlign = data_.bInchUnit = data_.bSysTime = -1;

    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(HeaderFooterRow(this, "页首(&E):", IDC_HEADER, IDC_HEADER_STOP, "停用页首(&D)",
                             IDC_HEADER_SEPARATOR_STOP, "停用分隔线(&S)", IDC_HEADER_LEFT),
             0, wxEXPAND | wxALL, 5);
    top->Add(HeaderFooterRow(this, "页尾(&F):", IDC_FOOTER, IDC_FOOTER_STOP, "停用页尾(&O)",
                             IDC_FOOTER_SEPARATOR_STOP, "停用分隔线(&P)", IDC_FOOTER_LEFT),
             0, wxEXPAND | wxALL, 5);

    auto* middle = new wxBoxSizer(wxHORIZONTAL);
    auto* margins = new wxStaticBoxSizer(wxVERTICAL, this, U8("边界"));
    auto* grid = new wxFlexGridSizer(4);
    AddNumber(margins->GetStaticBox(), grid, IDC_MARGIN_LEFT, "左(&L):");
    AddNumber(margins->GetStaticBox(), grid, IDC_MARGIN_RIGHT, "右(&R):");
    AddNumber(margins->GetStaticBox(), grid, IDC_MARGIN_TOP, "上(&T):");
    AddNumber(margins->GetStaticBox(), grid, IDC_MARGIN_BOTTOM, "下(&B):");
    margins->Add(grid);
    auto* units = new wxBoxSizer(wxHORIZONTAL);
    const char* const unitTexts[] = {"公厘(&M)", "英寸(&C)"};
    AddRadios(margins->GetStaticBox(), units, IDC_UNIT_MM, unitTexts, 2);
    margins->Add(units);
    middle->Add(margins, 0, wxALL, 5);

    auto* right = new wxBoxSizer(wxVERTICAL);
    right->Add(new wxStaticText(this, wxID_ANY, U8("在页首/页尾的时间源:")), 0, wxALL, 3);
    auto* times = new wxBoxSizer(wxHORIZONTAL);
    const char* const timeTexts[] = {"文件时间(&I)", "系统时间(&Y)"};
    AddRadios(this, times, IDC_FILE_TIME, timeTexts, 2);
    right->Add(times);
    auto* numbers = new wxFlexGridSizer(2);
    AddNumber(this, numbers, IDC_SEPARATOR_CODE, "分页符号代码(&K):");
    AddNumber(this, numbers, IDC_LINE_DISTANCE, "行间距:");
    right->Add(numbers);
    middle->Add(right, 0, wxALL, 5);
    top->Add(middle);

    auto* options = new wxBoxSizer(wxVERTICAL);
    AddCheck(this, options, IDC_AUTO_WRAP, "打印时文字自动换列(&W)")->Disable();
    AddCheck(this, options, IDC_LINE_NUMBERS, "印出列号(&U)");
    AddCheck(this, options, IDC_TWO_PAGES, "在一张纸上同时打印两个页面(&2)")->Disable();
    AddCheck(this, options, IDC_SYNTAX, "打印语法醒目提示文字(&X)");
    top->Add(options, 0, wxALL, 5);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    buttons->Add(new wxButton(this, IDC_FONT, U8("页首/页尾/正文字体(&F)...")), 0, wxALL, 3);
    buttons->Add(new wxButton(this, IDC_COLOR, U8("页首/页尾颜色(&C)...")), 0, wxALL, 3);
    buttons->AddStretchSpacer();
    buttons->Add(new wxButton(this, wxID_OK, U8("确定")), 0, wxALL, 3);
    buttons->Add(new wxButton(this, wxID_CANCEL, U8("取消(&N)")), 0, wxALL, 3);
    // No help file comes with the program.
    buttons->Add(new wxButton(this, wxID_HELP, U8("帮助(&H)")), 0, wxALL, 3);
    FindWindow(wxID_HELP)->Disable();
    top->Add(buttons, 0, wxEXPAND | wxALL, 5);
    SetSizerAndFit(top);
    CentreOnParent();

    Bind(wxEVT_BUTTON, &CPageSetupDlg::OnChooseFont, this, IDC_FONT);
    Bind(wxEVT_BUTTON, &CPageSetupDlg::OnChooseColor, this, IDC_COLOR);
}

void CPageSetupDlg::SetFromSetting(const CPrintSetting& setting)
{
    data_ = setting;
    TransferDataToWindow();
}

void CPageSetupDlg::GetToSetting(CPrintSetting& setting) const
{
    setting.header = data_.header;
    setting.footer = data_.footer;
    for (const Check& c : kChecks)
        setting.*c.field = data_.*c.field;
    for (const Range& r : kMargins)
        setting.*r.field = data_.*r.field;
    setting.iLineDistance = data_.iLineDistance;
    setting.iPageSeperatorCode = data_.iPageSeperatorCode;
    setting.bHeaderAlign = data_.bHeaderAlign;
    setting.bFooterAlign = data_.bFooterAlign;
    setting.bInchUnit = data_.bInchUnit;
    setting.bSysTime = data_.bSysTime;
    setting.printFont = data_.printFont;
    setting.headerFooterColor = data_.headerFooterColor;
}

int CPageSetupDlg::RadioIndex(int first, int count) const
{
    for (int i = 0; i < count; ++i)
        if (static_cast<wxRadioButton*>(FindWindow(first + i))->GetValue())
            return i;
    return -1;
}

void CPageSetupDlg::SetRadioIndex(int first, int count, int index)
{
    for (int i = 0; i < count; ++i)
        static_cast<wxRadioButton*>(FindWindow(first + i))->SetValue(i == index);
}

bool CPageSetupDlg::TransferDataToWindow()
{
    SetRadioIndex(IDC_FOOTER_LEFT, 3, data_.bFooterAlign);
    SetRadioIndex(IDC_HEADER_LEFT, 3, data_.bHeaderAlign);
    for (const Check& c : kChecks)
        static_cast<wxCheckBox*>(FindWindow(c.id))->SetValue(data_.*c.field != 0);
    static_cast<wxTextCtrl*>(FindWindow(IDC_FOOTER))->ChangeValue(FromUtf8(data_.footer));
    static_cast<wxTextCtrl*>(FindWindow(IDC_HEADER))->ChangeValue(FromUtf8(data_.header));
    for (const Range* r : {&kLineDistance, &kMargins[0], &kMargins[1], &kMargins[2], &kMargins[3], &kSeparatorCode})
        static_cast<wxTextCtrl*>(FindWindow(r->id))->ChangeValue(wxString::Format("%d", data_.*r->field));
    SetRadioIndex(IDC_UNIT_MM, 2, data_.bInchUnit);
    SetRadioIndex(IDC_FILE_TIME, 2, data_.bSysTime);
    return true;
}

bool CPageSetupDlg::ReadInt(int id, int low, int high, int& out)
{
    auto* box = static_cast<wxTextCtrl*>(FindWindow(id));
    long value = 0;
    const wxString text = box->GetValue().Strip(wxString::both);
    const bool isInteger = text.ToLong(&value);
    if (!isInteger || value < low || value > high) {
        hooks_.MessageBox(IntegerRangeMessage(isInteger, low, high), U8("提示"), wxOK | wxICON_EXCLAMATION);
        box->SetFocus();
        box->SelectAll();
        return false;
    }
    out = static_cast<int>(value);
    return true;
}

bool CPageSetupDlg::TransferDataFromWindow()
{
    CPrintSetting read = data_;
    read.bFooterAlign = RadioIndex(IDC_FOOTER_LEFT, 3);
    read.bHeaderAlign = RadioIndex(IDC_HEADER_LEFT, 3);
    if (!ReadInt(kLineDistance.id, kLineDistance.low, kLineDistance.high, read.*kLineDistance.field))
        return false;
    for (const Check& c : kChecks)
        read.*c.field = static_cast<wxCheckBox*>(FindWindow(c.id))->GetValue() ? 1 : 0;
    read.footer = CutToUtf16Units(static_cast<wxTextCtrl*>(FindWindow(IDC_FOOTER))->GetValue().utf8_string(),
                                  kTemplateUnits - 1);
    read.header = CutToUtf16Units(static_cast<wxTextCtrl*>(FindWindow(IDC_HEADER))->GetValue().utf8_string(),
                                  kTemplateUnits - 1);
    for (const Range& r : kMargins)
        if (!ReadInt(r.id, r.low, r.high, read.*r.field))
            return false;
    read.bInchUnit = RadioIndex(IDC_UNIT_MM, 2);
    if (!ReadInt(kSeparatorCode.id, kSeparatorCode.low, kSeparatorCode.high, read.*kSeparatorCode.field))
        return false;
    read.bSysTime = RadioIndex(IDC_FILE_TIME, 2);
    data_ = read;
    return true;
}

void CPageSetupDlg::OnChooseFont(wxCommandEvent&)
{
    wxFontData data;
    data.SetInitialFont(MakePrintFont(data_.printFont, 1));
    data.EnableEffects(false);
    wxFontDialog dialog(this, data);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const wxFont chosen = dialog.GetFontData().GetChosenFont();
    if (chosen.IsOk())
        data_.printFont = LogFontFromFont(chosen);
}

void CPageSetupDlg::OnChooseColor(wxCommandEvent&)
{
    wxColourData data;
    const uint32_t c = data_.headerFooterColor;
    data.SetColour(wxColour(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    wxColourDialog dialog(this, &data);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const wxColour chosen = dialog.GetColourData().GetColour();
    data_.headerFooterColor = chosen.Red() | (chosen.Green() << 8) | (chosen.Blue() << 16);
}

} // namespace ide
