#include "editor/settings_block.hpp"

#include <cstring>

namespace quvpad {

SettingsBlock& SettingsBlock::Shared()
{
    static SettingsBlock block;
    return block;
}

void SettingsBlock::CopyFrom(const uint8_t* data, size_t length)
{
    for (size_t i = 0; i < Size && i < length; ++i)
        bytes_[i] = data[i];
}

int32_t SettingsBlock::Get(size_t offset) const
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | bytes_[offset + i];
    return static_cast<int32_t>(v);
}

void SettingsBlock::Put(size_t offset, int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        bytes_[offset + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Font record layout: five 32-bit values at 0..19, eight bytes at 20..27, the
// face name at 28..59.
FontRecord SettingsBlock::Font() const
{
    FontRecord f;
    f.height = Get(0);
    f.width = Get(4);
    f.escapement = Get(8);
    f.orientation = Get(12);
    f.weight = Get(16);
    uint8_t* flags[] = {&f.italic, &f.underline, &f.strikeOut, &f.charSet,
                        &f.outPrecision, &f.clipPrecision, &f.quality, &f.pitchAndFamily};
    for (int i = 0; i < 8; ++i)
        *flags[i] = bytes_[20 + i];
    std::memcpy(f.faceName.data(), &bytes_[28], 32);
    return f;
}

void SettingsBlock::SetFont(const FontRecord& f)
{
    Put(0, f.height);
    Put(4, f.width);
    Put(8, f.escapement);
    Put(12, f.orientation);
    Put(16, f.weight);
    const uint8_t flags[] = {f.italic, f.underline, f.strikeOut, f.charSet,
                             f.outPrecision, f.clipPrecision, f.quality, f.pitchAndFamily};
    for (int i = 0; i < 8; ++i)
        bytes_[20 + i] = flags[i];
    std::memcpy(&bytes_[28], f.faceName.data(), 32);
}

uint32_t SettingsBlock::Color(int colorClass) const
{
    if (colorClass < 0 || colorClass >= ColorClassCount)
        return 0;
    return static_cast<uint32_t>(Get(ColorsOffset + 4 * colorClass));
}

void SettingsBlock::SetColor(int colorClass, uint32_t colorRef)
{
    if (colorClass < 0 || colorClass >= ColorClassCount)
        return;
    Put(ColorsOffset + 4 * colorClass, static_cast<int32_t>(colorRef));
}

void SettingsBlock::SetMetrics(int32_t averageCharWidth, int32_t fontHeight, int32_t externalLeading)
{
    Put(CharWidthOffset, averageCharWidth);
    Put(LineHeightOffset, fontHeight + externalLeading + LineDistance());
}

} // namespace quvpad
