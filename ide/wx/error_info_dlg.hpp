// "错误信息": every field of one diagnostic, from the compile list row's own
// copy of the record.
#pragma once
#include <wx/dialog.h>

#include "ide/model/output_rows.hpp"

class wxTextCtrl;

namespace ide {

class CErrorInfoDlg : public wxDialog {
public:
    CErrorInfoDlg(wxWindow* parent, const DiagnosticCopy& record);

    // The boxes in the order file, rule, details, number name, kind name, line, column.
    wxTextCtrl* Box(int index) const { return boxes_[index]; }

private:
    wxTextCtrl* boxes_[7] = {};
};

} // namespace ide
