// The toolkit's own file, font and colour dialogs, each behind a hook that
// tests set to answer them without a modal loop (as the application's
// MessageBox and ShowModal hooks do for message boxes and the IDE's dialogs).
#pragma once
#include <functional>

#include <wx/arrstr.h>
#include <wx/colour.h>
#include <wx/string.h>

#include "ide/model/display_setting.hpp"

class wxDialog;
class wxWindow;

namespace ide {

struct FileDialogSpec {
    wxString title;     // empty: the toolkit's own
    wxString wildcard;  // in the toolkit's form "text|pattern|text|pattern"
    wxString defaultExt;
    long style = 0;     // wxFD_OPEN or wxFD_SAVE with their flags
    wxString folder;    // where the dialog starts; empty: the start folder (below)
};

class CommonDialogs {
public:
    // Each answers false on Cancel.
    typedef std::function<bool(const FileDialogSpec& spec, wxArrayString& paths)> FileFn;
    typedef std::function<bool(wxColour& colour)> ColourFn;
    typedef std::function<bool(LogFont& font)> FontFn;
    typedef std::function<wxString()> FolderFn;

    // The chosen paths, full names, in the dialog's order. A spec without a
    // folder starts in the start folder; the chosen paths' folder becomes
    // the last folder used.
    static bool ChooseFiles(const FileDialogSpec& spec, wxArrayString& paths);
    // Where file dialogs start (the application's choice); empty: the last
    // folder used, else the toolkit's own.
    static void SetStartFolder(FolderFn fn) { startFolder() = std::move(fn); }
    static wxString LastFolder() { return lastFolder(); }
    // Starts at `colour` and leaves the choice in it.
    static bool ChooseColour(wxColour& colour);
    // Starts at `font` (screen fonts with effects) and writes the choice into it.
    static bool ChooseFont(LogFont& font);

    static void SetFileHook(FileFn fn) { fileHook() = std::move(fn); }
    static void SetColourHook(ColourFn fn) { colourHook() = std::move(fn); }
    static void SetFontHook(FontFn fn) { fontHook() = std::move(fn); }

private:
    static FileFn& fileHook();
    static ColourFn& colourHook();
    static FontFn& fontHook();
    static FolderFn& startFolder();
    static wxString& lastFolder();
};

// Closes one of the IDE's dialogs with this code, whether it runs modally or
// is shown by a test.
void EndDialogWith(wxDialog& dialog, int code);

// A COLORREF (0x00BBGGRR) and back.
wxColour ColourFromRef(uint32_t ref);
uint32_t RefFromColour(const wxColour& colour);

} // namespace ide
