// The block of display settings every editor control is configured with.
#include <cstring>

#include <gtest/gtest.h>

#include "compiler/core/gbk.hpp"
#include "ide/model/settings_pack.hpp"

namespace ide {
namespace {

int32_t At(const std::vector<uint8_t>& b, size_t offset)
{
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
        v = (v << 8) | b[offset + i];
    return static_cast<int32_t>(v);
}

TEST(SettingsPack, EveryFieldLandsAtItsOffset)
{
    CDisplaySetting s;
    s.font.lfHeight = -14;
    s.font.lfWidth = 7;
    s.font.lfWeight = 700;
    s.font.lfItalic = 1;
    s.font.lfCharSet = 134;
    s.font.lfPitchAndFamily = 0x31;
    s.font.lfFaceName = "DejaVu Sans Mono";
    for (int c = 0; c < kColorCount; ++c)
        s.colors[c] = 0x00010203u * (c + 1);
    s.MinX = 4;
    s.TabSize = 8;
    s.LineDistance = -2;

    const std::vector<uint8_t> b = PackDisplaySetting(s);
    ASSERT_EQ(b.size(), 136u);
    EXPECT_EQ(At(b, 0), -14);
    EXPECT_EQ(At(b, 4), 7);
    EXPECT_EQ(At(b, 16), 700);
    EXPECT_EQ(b[20], 1);
    EXPECT_EQ(b[23], 134);
    EXPECT_EQ(b[27], 0x31);
    EXPECT_STREQ(reinterpret_cast<const char*>(&b[28]), "DejaVu Sans Mono");
    EXPECT_EQ(At(b, 60), 0x00010203);
    EXPECT_EQ(At(b, 120), static_cast<int32_t>(0x00010203u * 16));
    EXPECT_EQ(At(b, 124), 4);
    EXPECT_EQ(At(b, 128), 8);
    EXPECT_EQ(At(b, 132), -2);
}

TEST(SettingsPack, TheFaceNameIsCutToWholeCharactersWithinThirtyOneBytes)
{
    const struct {
        std::string face;
        std::string expected;   // UTF-8 of what arrives
    } cases[] = {
        {std::string(31, 'a'), std::string(31, 'a')},
        {std::string(40, 'b'), std::string(31, 'b')},
        // 16 Chinese characters are 32 GBK bytes: the last does not fit.
        {"微软雅黑微软雅黑微软雅黑微软雅黑", "微软雅黑微软雅黑微软雅黑微软雅"},
        // One ASCII letter first: 15 characters fill 31 bytes exactly.
        {"x微软雅黑微软雅黑微软雅黑微软雅黑", "x微软雅黑微软雅黑微软雅黑微软雅"},
    };
    for (const auto& c : cases) {
        CDisplaySetting s;
        s.font.lfFaceName = c.face;
        const std::vector<uint8_t> b = PackDisplaySetting(s);
        const std::string field(reinterpret_cast<const char*>(&b[28]), 32);
        const size_t length = field.find('\0');
        ASSERT_NE(length, std::string::npos) << c.face;
        EXPECT_LE(length, 31u);
        EXPECT_EQ(gbk::toUtf8(field.substr(0, length)), c.expected);
    }
}

} // namespace
} // namespace ide
