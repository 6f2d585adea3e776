// Input through the X server itself: xdotool presses the keys and clicks the
// buttons a user would, so they travel through GTK and wx as real ones do.
// The pointer is moved over the target first, so that the keys reach it also
// where the X server's focus follows the pointer.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include <wx/dialog.h>
#include <wx/gdicmn.h>
#include <wx/window.h>

namespace ide::test {

// Runs xdotool with these arguments; false (after a test failure) when it failed.
bool Xdotool(const std::string& args);
// Moves the pointer to a client point of the window and clicks the left button.
void ClickAt(wxWindow& window, const wxPoint& client);
// The same with the right button, and a double click with the left one.
void RightClickAt(wxWindow& window, const wxPoint& client);
void DoubleClickAt(wxWindow& window, const wxPoint& client);
// Presses keys by xdotool's names ("Down", "shift+End", "Return") over the window.
void PressKeys(wxWindow& window, const std::string& keys);
// Types a text (ASCII) over the window.
void TypeKeys(wxWindow& window, const std::string& text);

// Runs `open`, which shows a modal dialog and returns once it is closed.
// While the dialog is up, its steps run in turn: each is called again until
// it answers true (done), so a step can wait for what the keys before it did.
// A dialog still open when the steps are long done is cancelled, and that
// fails the test.
using ModalStep = std::function<bool(wxDialog&)>;
void WhileModal(const std::function<void()>& open, const std::vector<ModalStep>& steps);

} // namespace ide::test
