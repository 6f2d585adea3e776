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
    // True when the event is a key or mouse press that hid the splash, or a
    // modifier key pressed while it shows; the event is then consumed.
    static bool PreTranslateAppMessage(const wxEvent& event);
    static void HideSplashScreen();
    static CSplashWnd* Current() { return current_; }
    // Stops the timer of the splash that shows: it stays until a key or
    // mouse press, whatever the time a test takes to press one.
    static void HoldUntilInput()
    {
        if (current_)
            current_->timer_.Stop();
    }

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
