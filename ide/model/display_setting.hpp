// The editor's look: one font, sixteen colours and three spacing values, read
// from QuvBench.ini at start-up and written back at shut-down. The font
// routines also serve the print font.
#pragma once
#include <cstdint>
#include <string>

namespace platform {
class PrivateProfileFile;
}

namespace ide {

// A font as the settings file keeps it. The face name is UTF-8 and holds at
// most 31 UTF-16 units (the platform's face buffer with its terminator).
struct LogFont {
    int32_t lfHeight = 0;
    int32_t lfWidth = 0;
    int32_t lfEscapement = 0;
    int32_t lfOrientation = 0;
    int32_t lfWeight = 0;
    uint8_t lfItalic = 0;
    uint8_t lfUnderline = 0;
    uint8_t lfStrikeOut = 0;
    uint8_t lfCharSet = 0;
    uint8_t lfOutPrecision = 0;
    uint8_t lfClipPrecision = 0;
    uint8_t lfQuality = 0;
    uint8_t lfPitchAndFamily = 0;
    std::string lfFaceName;

    bool operator==(const LogFont& o) const;
};

inline constexpr size_t kFaceNameUnits = 32;
inline constexpr int kColorCount = 16;

// COLORREF values, 0x00BBGGRR.
struct CDisplaySetting {
    LogFont font;
    uint32_t colors[kColorCount] = {};
    int32_t MinX = 0;
    int32_t TabSize = 0;
    int32_t LineDistance = 0;

    bool operator==(const CDisplaySetting& o) const;
};

// ORDER COLOURS: the editor's colour classes 0..15; the keys of section
// "COLORS", their defaults and the setup dialogs' swatches follow it.
extern const char* const kColorKeys[kColorCount];
extern const uint32_t kDefaultColors[kColorCount];
inline constexpr int32_t kDefaultMinX = 0;
inline constexpr int32_t kDefaultTabSize = 2;
inline constexpr int32_t kDefaultLineDistance = 0;

// Reads one font section from a settings file read once. A missing or zero
// "lfHeight" stops the read and leaves every other field as it was.
void ReadLogFont(const std::string& section, LogFont& font, const platform::PrivateProfileFile& profile);
void WriteLogFont(const std::string& section, const LogFont& font, const std::string& file);

void LoadDisplaySetting(CDisplaySetting& setting, const platform::PrivateProfileFile& profile);
void SaveDisplaySetting(const CDisplaySetting& setting, const std::string& file);

// The font section in a settings file held in memory.
void WriteLogFont(const std::string& section, const LogFont& font, platform::PrivateProfileFile& profile);
// Whether `profile` holds a font in `section` (its "lfHeight", which may be
// 0 for the default font).
bool HoldsLogFont(const std::string& section, const platform::PrivateProfileFile& profile);
// Writes the values of `now` that differ from `before` (what was read at
// start-up), and those the file does not hold yet: another IDE's changes to
// the rest stay. The font counts as one value. True when anything was written.
bool SaveDisplayChanges(const CDisplaySetting& before, const CDisplaySetting& now,
                        platform::PrivateProfileFile& profile);

// "0x%06x", the form colours are written in.
std::string FormatColor(uint32_t color);

} // namespace ide
