// The page setup dialog: header and footer, margins, print font and colour,
// line spacing and print options. It edits a copy of the print settings; the
// caller copies it back on OK.
#pragma once
#include <wx/dialog.h>

#include "ide/model/print_setting.hpp"
#include "ide/wx/window_services.hpp"

class wxTextCtrl;

namespace ide {

class CPageSetupDlg : public wxDialog {
public:
    // Control ids, as the dialog's tests and users' accelerators know them.
    enum {
        IDC_MARGIN_LEFT = 32, IDC_MARGIN_RIGHT = 33, IDC_MARGIN_TOP = 34, IDC_MARGIN_BOTTOM = 35,
        IDC_HEADER_STOP = 123, IDC_FOOTER_STOP = 124, IDC_SEPARATOR_CODE = 125,
        IDC_UNIT_MM = 126, IDC_UNIT_INCH = 127,
        IDC_HEADER_SEPARATOR_STOP = 128, IDC_FOOTER_SEPARATOR_STOP = 129,
        IDC_FONT = 131, IDC_COLOR = 132,
        IDC_AUTO_WRAP = 310, IDC_LINE_NUMBERS = 311, IDC_TWO_PAGES = 345, IDC_SYNTAX = 347,
        IDC_HEADER = 1002, IDC_FOOTER = 1003, IDC_FILE_TIME = 1006, IDC_SYSTEM_TIME = 1007,
        IDC_HEADER_LEFT = 1039, IDC_HEADER_CENTRE = 1040, IDC_HEADER_RIGHT = 1041,
        IDC_FOOTER_LEFT = 1042, IDC_FOOTER_CENTRE = 1043, IDC_FOOTER_RIGHT = 1044,
        IDC_LINE_DISTANCE = 1045,
    };

    // `hooks` shows the message of a value out of range.
    CPageSetupDlg(UiHooks& hooks, wxWindow* parent);

    void SetFromSetting(const CPrintSetting& setting);
    void GetToSetting(CPrintSetting& setting) const;

    // Checks every value against its range, in the dialog's order; the first
    // one outside keeps the dialog open with the range message.
    bool TransferDataFromWindow() override;
    bool TransferDataToWindow() override;

    void OnChooseFont(wxCommandEvent&);
    void OnChooseColor(wxCommandEvent&);

private:
    int RadioIndex(int first, int count) const;
    void SetRadioIndex(int first, int count, int index);
    bool ReadInt(int id, int low, int high, int& out);

    // What the dialog edits; the radio indexes are -1 (none) until filled.
    CPrintSetting data_;
    UiHooks& hooks_;
};

} // namespace ide
