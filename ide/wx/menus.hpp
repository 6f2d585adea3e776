// The menu bars (one while no document is open, one while one is), the tool
// bar's buttons and the accelerator keys, with the system's own texts.
#pragma once
#include <wx/menu.h>
#include <wx/string.h>
#include <wx/toolbar.h>

class wxKeyEvent;

namespace ide {

inline wxString U8(const char* utf8) { return wxString::FromUTF8(utf8); }

// What a box that must hold an integer in low..high says when it holds
// something else (no integer at all, or one out of range).
inline wxString IntegerRangeMessage(bool isInteger, long low, long high)
{
    return isInteger ? wxString::Format(U8("请输入一个介于 %ld 和 %ld 之间的整数。"), low, high)
                     : U8("请输入一个整数。");
}

// "最近打开的文件..." and "最近打开的工程..." are filled from the recent lists.
wxMenuBar* CreateMainMenuBar();      // while no document is open
wxMenuBar* CreateDocumentMenuBar();  // while one is

// The sub-menus of the recent lists in a menu bar, or null.
wxMenu* RecentFilesMenu(wxMenuBar* bar);
wxMenu* RecentProjectsMenu(wxMenuBar* bar);

void AddToolBarButtons(wxToolBar* bar);

// Shows `keys` at the right of the item as text only, and takes from it
// every accelerator GTK gave it (its label's, a stock item's own), so that
// no key acts through a menu.
void ShowKeyTextOnly(wxMenuItem* item, const wxString& keys);
// The key text the item shows ("" when none), and whether GTK holds an
// accelerator for it.
wxString MenuKeyText(const wxMenuItem* item);
bool MenuItemHasAccelerator(const wxMenuItem* item);
// Whether GTK shows a key text of its own beside the item's label (a key, or
// "-/-" for an accelerator it no longer finds).
bool MenuItemLabelShowsGtkKey(const wxMenuItem* item);

// The command a key of the accelerator table gives, or 0. Where a menu text
// names another key for a command, this table wins.
int AcceleratorCommand(const wxKeyEvent& key);

} // namespace ide
