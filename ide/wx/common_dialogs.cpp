#include "ide/wx/common_dialogs.hpp"

#include <cstdlib>

#include <wx/colordlg.h>
#include <wx/dialog.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/fontdlg.h>

namespace ide {

namespace {

// A record height of 0 means the editor's default size.
constexpr int kDefaultPixelHeight = 16;
constexpr uint8_t kFixedPitchModern = 0x31;

wxFont FontFromLog(const LogFont& log)
{
    wxFontInfo info(wxSize(0, log.lfHeight == 0 ? kDefaultPixelHeight : std::abs(log.lfHeight)));
    if (!log.lfFaceName.empty())
        info.FaceName(wxString::FromUTF8(log.lfFaceName));
    else
        info.Family(wxFONTFAMILY_TELETYPE);
    if (log.lfWeight > 0)
        info.Weight(log.lfWeight);
    info.Italic(log.lfItalic != 0).Underlined(log.lfUnderline != 0).Strikethrough(log.lfStrikeOut != 0);
    return wxFont(info);
}

void LogFromFont(const wxFont& font, LogFont& log)
{
    log.lfHeight = -font.GetPixelSize().y;
    log.lfWidth = 0;
    log.lfWeight = font.GetNumericWeight();
    log.lfItalic = font.GetStyle() != wxFONTSTYLE_NORMAL;
    log.lfUnderline = font.GetUnderlined();
    log.lfStrikeOut = font.GetStrikethrough();
    if (font.IsFixedWidth())
        log.lfPitchAndFamily = kFixedPitchModern;
    log.lfFaceName = font.GetFaceName().utf8_string();
}

} // namespace

CommonDialogs::FileFn& CommonDialogs::fileHook()
{
    static FileFn fn;
    return fn;
}

CommonDialogs::ColourFn& CommonDialogs::colourHook()
{
    static ColourFn fn;
    return fn;
}

CommonDialogs::FontFn& CommonDialogs::fontHook()
{
    static FontFn fn;
    return fn;
}

CommonDialogs::FolderFn& CommonDialogs::startFolder()
{
    static FolderFn fn;
    return fn;
}

wxString& CommonDialogs::lastFolder()
{
    static wxString folder;
    return folder;
}

bool CommonDialogs::ChooseFiles(const FileDialogSpec& asked, wxArrayString& paths)
{
    paths.clear();
    FileDialogSpec spec = asked;
    if (spec.folder.empty() && startFolder())
        spec.folder = startFolder()();
    if (spec.folder.empty())
        spec.folder = lastFolder();
    bool chosen = false;
    if (fileHook()) {
        chosen = fileHook()(spec, paths);
    } else {
        wxFileDialog dialog(nullptr, spec.title.empty() ? wxString(wxFileSelectorPromptStr) : spec.title,
                            spec.folder, wxString(), spec.wildcard, spec.style);
        chosen = dialog.ShowModal() == wxID_OK;
        if (chosen && (spec.style & wxFD_MULTIPLE)) {
            dialog.GetPaths(paths);
        } else if (chosen) {
            wxString path = dialog.GetPath();
            if (!spec.defaultExt.empty() && wxFileName(path).GetExt().empty())
                path += spec.defaultExt.StartsWith(".") ? spec.defaultExt : "." + spec.defaultExt;
            paths.push_back(path);
        }
    }
    if (chosen && !paths.empty())
        lastFolder() = wxFileName(paths[0]).GetPath();
    return chosen;
}

bool CommonDialogs::ChooseColour(wxColour& colour)
{
    if (colourHook())
        return colourHook()(colour);
    wxColourData data;
    data.SetColour(colour);
    wxColourDialog dialog(nullptr, &data);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    colour = dialog.GetColourData().GetColour();
    return true;
}

bool CommonDialogs::ChooseFont(LogFont& font)
{
    if (fontHook())
        return fontHook()(font);
    wxFontData data;
    data.SetInitialFont(FontFromLog(font));
    data.EnableEffects(true);
    wxFontDialog dialog(nullptr, data);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    LogFromFont(dialog.GetFontData().GetChosenFont(), font);
    return true;
}

void EndDialogWith(wxDialog& dialog, int code)
{
    dialog.SetReturnCode(code);
    if (dialog.IsModal())
        dialog.EndModal(code);
    else
        dialog.Hide();
}

wxColour ColourFromRef(uint32_t ref)
{
    return wxColour(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF);
}

uint32_t RefFromColour(const wxColour& colour)
{
    return static_cast<uint32_t>(colour.Red()) | (static_cast<uint32_t>(colour.Green()) << 8) |
           (static_cast<uint32_t>(colour.Blue()) << 16);
}

} // namespace ide
