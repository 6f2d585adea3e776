#include "editor/wx/editor_font.hpp"

#include <cstdlib>
#include <cstring>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include "editor/wx/gbk_text.hpp"

namespace quvpad {

namespace {
// The record's height counts pixels: negative for the character height,
// positive for the cell height; 0 asks for a default size.
constexpr int kDefaultPixelHeight = 16;
constexpr uint8_t kFixedPitch = 1;
constexpr uint8_t kFamilyModern = 0x30;
} // namespace

wxFont MakeEditorFont(const FontRecord& record)
{
    int pixels = record.height == 0 ? kDefaultPixelHeight : std::abs(record.height);
    std::string face(record.faceName.data(), strnlen(record.faceName.data(), record.faceName.size()));
    bool fixed = (record.pitchAndFamily & 3) == kFixedPitch || (record.pitchAndFamily & 0xF0) == kFamilyModern;
    wxFontInfo info(wxSize(0, pixels));
    info.Family(fixed || face.empty() ? wxFONTFAMILY_TELETYPE : wxFONTFAMILY_DEFAULT);
    if (!face.empty())
        info.FaceName(GbkToWx(face));
    if (record.weight > 0)
        info.Weight(record.weight);
    info.Italic(record.italic != 0).Underlined(record.underline != 0).Strikethrough(record.strikeOut != 0);
    wxFont font(info);
    if (!font.IsOk())
        font = wxFont(wxFontInfo(wxSize(0, pixels)).Family(wxFONTFAMILY_TELETYPE));
    return font;
}

void MeasureFontInto(SettingsBlock& block, const wxFont& font)
{
    wxBitmap bitmap(8, 8);
    wxMemoryDC dc(bitmap);
    dc.SetFont(font);
    wxFontMetrics m = dc.GetFontMetrics();
    block.SetMetrics(m.averageWidth, m.height, m.externalLeading);
}

wxColour ColourFromRef(uint32_t colorRef)
{
    return wxColour(colorRef & 0xFF, (colorRef >> 8) & 0xFF, (colorRef >> 16) & 0xFF);
}

} // namespace quvpad
