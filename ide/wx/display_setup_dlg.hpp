// The dialogs that edit the editor's colours and spacing. They work on
// copies: the caller takes the values back after OK and hands them to every
// editor.
#pragma once
#include <wx/dialog.h>
#include <wx/window.h>

#include "ide/model/display_setting.hpp"
#include "ide/wx/window_services.hpp"

class wxSpinButton;
class wxTextCtrl;

namespace ide {

// One colour swatch; a click offers the colour chooser.
class CColorStatic : public wxWindow {
public:
    CColorStatic(wxWindow* parent, int id);
    uint32_t GetColor() const { return color_; }
    // Sets the colour and repaints at once.
    void SetColor(uint32_t color);
    void OnClicked();

private:
    void OnPaint(wxPaintEvent&);

    uint32_t color_ = 0;
};

class CColorSetupDlg : public wxDialog {
public:
    explicit CColorSetupDlg(wxWindow* parent);
    void SetColors(const uint32_t colors[kColorCount]);
    // The swatches' colours, read after OK.
    void GetColors(uint32_t colors[kColorCount]);
    void OnRestoreDefaults();
    CColorStatic* Swatch(int index) const { return swatch_[index]; }

private:
    void OnOk(wxCommandEvent&);

    uint32_t colors_[kColorCount] = {};
    CColorStatic* swatch_[kColorCount] = {};
};

class CSpaceSetupDlg : public wxDialog {
public:
    // `hooks` shows the message of a value out of range.
    CSpaceSetupDlg(UiHooks& hooks, wxWindow* parent);
    // Copies MinX, TabSize and LineDistance in (before showing) and out (after OK).
    void SetSpaces(const CDisplaySetting& setting);
    void GetSpaces(CDisplaySetting& setting) const;
    void OnButton1000();
    wxTextCtrl* Edit(int index) const { return edit_[index]; }

private:
    void OnOk(wxCommandEvent&);

    UiHooks& hooks_;
    int32_t values_[3] = {};
    wxTextCtrl* edit_[3] = {};
    wxSpinButton* spin_[3] = {};
};

} // namespace ide
