#include "ide/wx/splash_wnd.hpp"

#include <wx/app.h>
#include <wx/dcbuffer.h>
#include <wx/dcmemory.h>

#include "ide/wx/menus.hpp"

namespace ide {

CSplashWnd* CSplashWnd::current_ = nullptr;
bool CSplashWnd::enabled_ = true;

void CSplashWnd::EnableSplashScreen(bool enable) { enabled_ = enable; }

CSplashWnd::CSplashWnd(wxWindow* parent)
    : wxFrame(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
              wxFRAME_NO_TASKBAR | wxFRAME_FLOAT_ON_PARENT | wxBORDER_NONE | wxSTAY_ON_TOP),
      bitmap_(MakeBitmap()), timer_(this)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetClientSize(bitmap_.GetSize());
    CentreOnScreen();
    Bind(wxEVT_PAINT, &CSplashWnd::OnPaint, this);
    Bind(wxEVT_TIMER, [](wxTimerEvent&) { HideSplashScreen(); });
    timer_.StartOnce(750);
}

CSplashWnd::~CSplashWnd()
{
    if (current_ == this)
        current_ = nullptr;
}

void CSplashWnd::ShowSplashScreen(wxWindow* parent)
{
    if (!enabled_ || current_)
        return;
    current_ = new CSplashWnd(parent);
    current_->Show();
    current_->Update();
}

bool CSplashWnd::PreTranslateAppMessage(const wxEvent& event)
{
    if (!current_)
        return false;
    const wxEventType t = event.GetEventType();
    // A key reaches the frame's accelerator hook before anything else sees
    // it: taken there, it runs no command. A modifier pressed alone is only
    // the start of a key such as Ctrl+N: it is taken, and the key that
    // completes it ends the splash, so that no accelerator runs either.
    if (t == wxEVT_CHAR_HOOK || t == wxEVT_KEY_DOWN) {
        switch (static_cast<const wxKeyEvent&>(event).GetKeyCode()) {
        case WXK_SHIFT:
        case WXK_CONTROL:
        case WXK_ALT:
        case WXK_WINDOWS_LEFT:
        case WXK_WINDOWS_RIGHT:
            return true;
        default:
            break;
        }
    }
    if (t == wxEVT_CHAR_HOOK || t == wxEVT_KEY_DOWN || t == wxEVT_LEFT_DOWN || t == wxEVT_RIGHT_DOWN ||
        t == wxEVT_MIDDLE_DOWN || t == wxEVT_AUX1_DOWN || t == wxEVT_AUX2_DOWN) {
        HideSplashScreen();
        return true;
    }
    return false;
}

void CSplashWnd::HideSplashScreen()
{
    if (!current_)
        return;
    CSplashWnd* window = current_;
    current_ = nullptr;
    window->timer_.Stop();
    window->Destroy();
    if (wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr)
        top->Update();
}

wxBitmap CSplashWnd::MakeBitmap()
{
    const int width = 420, height = 240;
    wxBitmap bitmap(width, height);
    wxMemoryDC dc(bitmap);
    dc.GradientFillLinear(wxRect(0, 0, width, height), wxColour(16, 48, 120), wxColour(70, 130, 200), wxSOUTH);
    dc.SetTextForeground(*wxWHITE);
    dc.SetFont(wxFontInfo(30).Bold().Family(wxFONTFAMILY_SWISS));
    dc.DrawText("QuvBench", 30, 60);
    dc.SetFont(wxFontInfo(15).Family(wxFONTFAMILY_SWISS));
    dc.DrawText(U8("QUV/E-C集成开发环境"), 32, 120);
    dc.SetPen(wxPen(*wxWHITE, 2));
    dc.DrawLine(30, 110, width - 30, 110);
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

void CSplashWnd::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    dc.DrawBitmap(bitmap_, 0, 0);
}

} // namespace ide
