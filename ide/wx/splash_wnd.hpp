// The splash window: a picture over the main frame while the program starts,
// gone after 750 milliseconds or at the first key or mouse press.
#pragma once
#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/timer.h>

namespace ide {

class CSplashWnd : public wxFrame {
public:
    static void EnableSplashScreen(bool enable);
    static void ShowSplashScreen(wxWindow* parent);
    // True when the event is a key or mouse press that hid the splash; the
    // event is then consumed.
    static bool PreTranslateAppMessage(const wxEvent& event);
    static void HideSplashScreen();
    static CSplashWnd* Current() { return current_; }

private:
    explicit CSplashWnd(wxWindow* parent);
    ~CSplashWnd() override;
    static wxBitmap MakeBitmap();
    void OnPaint(wxPaintEvent& event);

    wxBitmap bitmap_;
    wxTimer timer_;
    static CSplashWnd* current_;
    static bool enabled_;
};

} // namespace ide
