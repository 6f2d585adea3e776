#include "ide/model/settings_pack.hpp"

#include "compiler/core/gbk.hpp"

namespace ide {

namespace {

void put32(std::vector<uint8_t>& out, size_t at, int32_t value)
{
    const uint32_t v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i)
        out[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// The longest prefix of at most `limit` bytes that ends between characters:
// a GBK lead byte (0x81-0xFE) always takes the byte after it.
size_t wholeCharacters(const std::string& gbkText, size_t limit)
{
    size_t end = 0;
    while (end < gbkText.size()) {
        const unsigned char c = static_cast<unsigned char>(gbkText[end]);
        const size_t width = (c >= 0x81 && c <= 0xFE && end + 1 < gbkText.size()) ? 2 : 1;
        if (end + width > limit)
            break;
        end += width;
    }
    return end;
}

} // namespace

std::vector<uint8_t> PackDisplaySetting(const CDisplaySetting& s)
{
    std::vector<uint8_t> out(kSettingsBlockSize, 0);
    const LogFont& f = s.font;
    const int32_t numbers[] = {f.lfHeight, f.lfWidth, f.lfEscapement, f.lfOrientation, f.lfWeight};
    for (size_t i = 0; i < 5; ++i)
        put32(out, 4 * i, numbers[i]);
    const uint8_t bytes[] = {f.lfItalic,     f.lfUnderline,     f.lfStrikeOut, f.lfCharSet,
                             f.lfOutPrecision, f.lfClipPrecision, f.lfQuality,   f.lfPitchAndFamily};
    for (size_t i = 0; i < 8; ++i)
        out[20 + i] = bytes[i];
    const std::string face = gbk::fromUtf8(f.lfFaceName);
    const size_t length = wholeCharacters(face, 31);
    for (size_t i = 0; i < length; ++i)
        out[28 + i] = static_cast<uint8_t>(face[i]);
    for (int c = 0; c < kColorCount; ++c)
        put32(out, 60 + 4 * c, static_cast<int32_t>(s.colors[c]));
    put32(out, 124, s.MinX);
    put32(out, 128, s.TabSize);
    put32(out, 132, s.LineDistance);
    return out;
}

} // namespace ide
