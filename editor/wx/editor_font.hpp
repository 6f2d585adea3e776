// The editor's font from the settings block's font record, and the two metrics
// the control measures with it.
#pragma once
#include <wx/font.h>

#include "editor/settings_block.hpp"

namespace quvpad {

wxFont MakeEditorFont(const FontRecord& record);

// Stores the font's average character width and its height plus external
// leading plus LineDistance in the block.
void MeasureFontInto(SettingsBlock& block, const wxFont& font);

// A COLORREF (0x00BBGGRR) as a wx colour.
wxColour ColourFromRef(uint32_t colorRef);

} // namespace quvpad
