#include "tests/ide/x_input.hpp"

#include <chrono>
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/settings.h>
#include <wx/timer.h>

#include "tests/ide/ide_host.hpp"

namespace ide::test {

namespace {

// The centre of the window's client area on the screen.
wxPoint CentreOf(wxWindow& window)
{
    const wxSize size = window.GetClientSize();
    return window.ClientToScreen(wxPoint(size.x / 2, size.y / 2));
}

// xdotool's command that puts the pointer on a screen point; chained with the
// next command in one run, the X server takes them in order.
std::string MoveTo(const wxPoint& screen)
{
    return "mousemove " + std::to_string(screen.x) + " " + std::to_string(screen.y) + " ";
}

wxDialog* ModalDialog()
{
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* d = dynamic_cast<wxDialog*>(w); d && d->IsModal())
            return d;
    return nullptr;
}

bool HasFocusInside(wxWindow& window)
{
    for (wxWindow* w = wxWindow::FindFocus(); w; w = w->GetParent())
        if (w == &window)
            return true;
    return false;
}

// GTK takes a press within twice the double-click time of the first press of
// a double click for the third click of a triple one, and a press within the
// double-click time of the last for the second of a double one: a click of a
// test that follows an earlier one that closely would not be the click it
// means. Each click waits, pumping, until the earlier ones are past.
std::chrono::steady_clock::time_point lastPress;

void AfterEarlierClicks()
{
    int interval = wxSystemSettings::GetMetric(wxSYS_DCLICK_MSEC);
    if (interval <= 0)
        interval = 400;
    const auto free = lastPress + std::chrono::milliseconds(2 * interval + 50);
    PumpFor(60, [&] { return std::chrono::steady_clock::now() >= free; });
}

void Click(wxWindow& window, const wxPoint& client, const std::string& clicks)
{
    AfterEarlierClicks();
    Xdotool(MoveTo(window.ClientToScreen(client)) + clicks);
    lastPress = std::chrono::steady_clock::now();
}

} // namespace

bool Xdotool(const std::string& args)
{
    const std::string command = "xdotool " + args + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    EXPECT_EQ(status, 0) << command;
    return status == 0;
}

void ClickAt(wxWindow& window, const wxPoint& client)
{
    Click(window, client, "click 1");
}

void RightClickAt(wxWindow& window, const wxPoint& client)
{
    Click(window, client, "click 3");
}

void DoubleClickAt(wxWindow& window, const wxPoint& client)
{
    Click(window, client, "click --repeat 2 --delay 80 1");
}

void PressKeys(wxWindow& window, const std::string& keys)
{
    Xdotool(MoveTo(CentreOf(window)) + "key --clearmodifiers " + keys);
}

void TypeKeys(wxWindow& window, const std::string& text)
{
    Xdotool(MoveTo(CentreOf(window)) + "type --clearmodifiers '" + text + "'");
}

void WhileModal(const std::function<void()>& open, const std::vector<ModalStep>& steps)
{
    // Ticks of the timer, which also runs inside the dialog's own event loop;
    // the bounds only end a test whose keys never arrive.
    const int kFocusTicks = 250, kGiveUpTicks = 750;
    wxTimer timer;
    int ticks = 0;
    size_t next = 0;
    wxDialog* shown = nullptr;
    bool raised = false;
    bool cancelled = false;
    timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        ++ticks;
        wxDialog* dialog = ModalDialog();
        if (!shown) {
            // Keys go to the dialog once it is on the screen with the focus.
            // Without a window manager the X server's focus stays where it
            // was; raised, the dialog takes it, as a window manager gives it.
            if (dialog && dialog->IsShownOnScreen() && !raised) {
                dialog->Raise();
                raised = true;
            }
            if (raised && (HasFocusInside(*dialog) || ticks > kFocusTicks))
                shown = dialog;
            else if (ticks > kGiveUpTicks)
                timer.Stop();
            if (!shown)
                return;
        }
        if (dialog != shown) {
            timer.Stop();
            return;
        }
        if (ticks > kGiveUpTicks) {
            cancelled = true;
            timer.Stop();
            dialog->EndModal(wxID_CANCEL);
            return;
        }
        if (next < steps.size() && steps[next](*dialog))
            ++next;
    });
    timer.Start(20);
    open();
    timer.Stop();
    EXPECT_NE(shown, nullptr) << "no modal dialog came up";
    EXPECT_EQ(next, steps.size()) << "steps left undone";
    EXPECT_FALSE(cancelled) << "the dialog stayed open after its steps";
}

} // namespace ide::test
