// "转到下列行": asks for a line and a column, each from 1 to 10000000.
#pragma once
#include <wx/dialog.h>

#include "ide/wx/window_services.hpp"

class wxTextCtrl;

namespace ide {

class CGotoLineDlg : public wxDialog {
public:
    // Opens with the caret's line and column.
    // `hooks` shows the message of a value out of range.
    CGotoLineDlg(UiHooks& hooks, int line, int column, wxWindow* parent);

    int Line() const { return line_; }
    int Column() const { return column_; }
    wxTextCtrl* LineBox() const { return lineBox_; }
    wxTextCtrl* ColumnBox() const { return columnBox_; }

    // The column first, then the line: the first value out of range is
    // reported, takes the focus and keeps the dialog open.
    bool TransferDataFromWindow() override;

private:
    bool ReadBox(wxTextCtrl* box, int& value);

    UiHooks& hooks_;
    int line_;
    int column_;
    wxTextCtrl* lineBox_ = nullptr;
    wxTextCtrl* columnBox_ = nullptr;
};

} // namespace ide
