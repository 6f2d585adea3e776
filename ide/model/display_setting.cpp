#include "ide/model/display_setting.hpp"

#include <cstdio>

#include "ide/model/settings_file.hpp"
#include "platform/private_profile.hpp"

namespace ide {

const char* const kColorKeys[kColorCount] = {
    "当前行背景色", "关键词", "定义标号", "标志符", "字符串", "数字", "操作符", "块定义符",
    "转出标号", "注释", "错误", "背景色", "选中背景色", "选中前景色", "断点背景色", "断点前景色"};

const uint32_t kDefaultColors[kColorCount] = {
    0xFFFFFF, 0xFF0000, 0xFF0000, 0x000000, 0x00FF00, 0x000000, 0x000000, 0xFF0000,
    0xFF0000, 0x008000, 0x0000FF, 0xFFFFFF, 0x000000, 0xFFFFFF, 0xD4D0C8, 0xFF0000};

bool LogFont::operator==(const LogFont& o) const
{
    return lfHeight == o.lfHeight && lfWidth == o.lfWidth && lfEscapement == o.lfEscapement &&
           lfOrientation == o.lfOrientation && lfWeight == o.lfWeight && lfItalic == o.lfItalic &&
           lfUnderline == o.lfUnderline && lfStrikeOut == o.lfStrikeOut && lfCharSet == o.lfCharSet &&
           lfOutPrecision == o.lfOutPrecision && lfClipPrecision == o.lfClipPrecision &&
           lfQuality == o.lfQuality && lfPitchAndFamily == o.lfPitchAndFamily && lfFaceName == o.lfFaceName;
}

bool CDisplaySetting::operator==(const CDisplaySetting& o) const
{
    for (int i = 0; i < kColorCount; ++i)
        if (colors[i] != o.colors[i])
            return false;
    return font == o.font && MinX == o.MinX && TabSize == o.TabSize && LineDistance == o.LineDistance;
}

namespace {

// ORDER FONT KEYS: the 32-bit fields, then the byte fields, as they are written.
struct IntField {
    const char* key;
    int32_t LogFont::*field;
};
struct ByteField {
    const char* key;
    uint8_t LogFont::*field;
};
const IntField kIntFields[] = {{"lfHeight", &LogFont::lfHeight},
                               {"lfWidth", &LogFont::lfWidth},
                               {"lfEscapement", &LogFont::lfEscapement},
                               {"lfOrientation", &LogFont::lfOrientation},
                               {"lfWeight", &LogFont::lfWeight}};
const ByteField kByteFields[] = {{"lfItalic", &LogFont::lfItalic},
                                 {"lfUnderline", &LogFont::lfUnderline},
                                 {"lfStrikeOut", &LogFont::lfStrikeOut},
                                 {"lfCharSet", &LogFont::lfCharSet},
                                 {"lfOutPrecision", &LogFont::lfOutPrecision},
                                 {"lfClipPrecision", &LogFont::lfClipPrecision},
                                 {"lfQuality", &LogFont::lfQuality},
                                 {"lfPitchAndFamily", &LogFont::lfPitchAndFamily}};

void writeInt(const std::string& section, const char* key, long value, const std::string& file)
{
    platform::writePrivateProfileString(section, key, std::to_string(value), file);
}

} // namespace

std::string FormatColor(uint32_t color)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%06x", static_cast<unsigned>(color));
    return text;
}

void ReadLogFont(const std::string& section, LogFont& font, const platform::PrivateProfileFile& profile)
{
    font.lfHeight = profile.getInt(section, "lfHeight", 0);
    if (font.lfHeight == 0)
        return;
    for (const IntField& f : kIntFields)
        if (f.field != &LogFont::lfHeight)
            font.*f.field = profile.getInt(section, f.key, 0);
    for (const ByteField& f : kByteFields)
        font.*f.field = static_cast<uint8_t>(profile.getInt(section, f.key, 0));
    const std::string face = profile.getString(section, "lfFaceName", "System", 4096);
    font.lfFaceName = CutToUtf16Units(face, kFaceNameUnits - 1);
}

void WriteLogFont(const std::string& section, const LogFont& font, const std::string& file)
{
    EnsureFolderOf(file);
    for (const IntField& f : kIntFields)
        writeInt(section, f.key, font.*f.field, file);
    for (const ByteField& f : kByteFields)
        writeInt(section, f.key, font.*f.field, file);
    platform::writePrivateProfileString(section, "lfFaceName", font.lfFaceName, file);
}

void WriteLogFont(const std::string& section, const LogFont& font, platform::PrivateProfileFile& profile)
{
    for (const IntField& f : kIntFields)
        profile.writeString(section, f.key, std::to_string(font.*f.field));
    for (const ByteField& f : kByteFields)
        profile.writeString(section, f.key, std::to_string(font.*f.field));
    profile.writeString(section, "lfFaceName", font.lfFaceName);
}

bool HoldsLogFont(const std::string& section, const platform::PrivateProfileFile& profile)
{
    return profile.hasKey(section, "lfHeight");
}

bool SaveDisplayChanges(const CDisplaySetting& before, const CDisplaySetting& now,
                        platform::PrivateProfileFile& profile)
{
    bool wrote = false;
    auto put = [&](bool changed, const char* section, const char* key, const std::string& value) {
        if (changed || !profile.hasKey(section, key)) {
            profile.writeString(section, key, value);
            wrote = true;
        }
    };
    if (!(now.font == before.font) || !HoldsLogFont("DISPLAY_FONT", profile)) {
        WriteLogFont("DISPLAY_FONT", now.font, profile);
        wrote = true;
    }
    for (int i = 0; i < kColorCount; ++i)
        put(now.colors[i] != before.colors[i], "COLORS", kColorKeys[i], FormatColor(now.colors[i]));
    put(now.MinX != before.MinX, "SPACES", "MinX", std::to_string(now.MinX));
    put(now.TabSize != before.TabSize, "SPACES", "TabSize", std::to_string(now.TabSize));
    put(now.LineDistance != before.LineDistance, "SPACES", "LineDistance", std::to_string(now.LineDistance));
    return wrote;
}

void LoadDisplaySetting(CDisplaySetting& setting, const platform::PrivateProfileFile& profile)
{
    ReadLogFont("DISPLAY_FONT", setting.font, profile);
    for (int i = 0; i < kColorCount; ++i)
        setting.colors[i] =
            static_cast<uint32_t>(profile.getInt("COLORS", kColorKeys[i], static_cast<int>(kDefaultColors[i])));
    setting.MinX = profile.getInt("SPACES", "MinX", kDefaultMinX);
    setting.TabSize = profile.getInt("SPACES", "TabSize", kDefaultTabSize);
    setting.LineDistance = profile.getInt("SPACES", "LineDistance", kDefaultLineDistance);
}

void SaveDisplaySetting(const CDisplaySetting& setting, const std::string& file)
{
    WriteLogFont("DISPLAY_FONT", setting.font, file);
    for (int i = 0; i < kColorCount; ++i)
        platform::writePrivateProfileString("COLORS", kColorKeys[i], FormatColor(setting.colors[i]), file);
    writeInt("SPACES", "MinX", setting.MinX, file);
    writeInt("SPACES", "TabSize", setting.TabSize, file);
    writeInt("SPACES", "LineDistance", setting.LineDistance, file);
}

} // namespace ide
