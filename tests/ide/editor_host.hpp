// Helpers of the window tests that work in editor views: example files in a
// folder of the test's own, keys pressed the way wx delivers them, and the
// view and control of a document.
#pragma once
#include <string>

#include <wx/docview.h>

#include "ide/wx/doc_view.hpp"
#include "ide/wx/quv_pad.hpp"

namespace quvpad {
class ColorEditWnd;
}

namespace ide::test {

// A folder of the running test's own under the temporary folder.
std::string TestFolder();
// Removes every folder TestFolder made: the tests' main does, once they ran,
// whether they passed or failed.
void RemoveTestFolders();
// Copies examples/<relative> into the test folder; the copy's path.
std::string CopyExample(const std::string& relative);
// Writes a file of the test folder; its path.
std::string Write(const std::string& name, const std::string& text);
wxDocument* OnlyDocument();

wxDocument* OpenDocument(const std::string& path);
CQuvBenchView* ViewOf(wxDocument* doc);
CQuvPad& PadOf(wxDocument* doc);
// Raises the main frame and gives the document's editor the focus.
void FocusEditor(wxDocument* doc);
// The editor control that is the window or stands below it; null where none does.
quvpad::ColorEditWnd* EditorIn(wxWindow* window);

// A key press as wx delivers it: the frame's key hook (the accelerators),
// then, when the hook let it pass, key down in the focused window and, when
// that did not take it, the character.
void PressKey(int keyCode, int modifiers = 0, wxChar ch = 0);
void TypeText(const std::string& utf8);
// A menu command, sent where the menu would send it: the document's frame.
void Command(wxDocument* doc, int id);
// The caret pane of the status bar.
std::string StatusPosition();

} // namespace ide::test
