// The block of display settings every editor control is configured with.
#include <gtest/gtest.h>

#include "compiler/core/gbk.hpp"
#include "ide/model/settings_pack.hpp"

namespace ide {
namespace {

int32_t At(const std::vector<uint8_t>& b, size_t offset)
{
    return static_cast<int32_t>(b[offset] | b[offset + 1] << 8 | b[offset + 2] << 16 | uint32_t(b[offset + 3]) << 24);
}

TEST(SettingsPack, FieldsLandAtTheirOffsetsAndTheFaceIsCutToWholeCharacters)
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
        s.font.lfHeight = -14;
        s.font.lfPitchAndFamily = 0x31;
        s.font.lfFaceName = c.face;
        s.colors[0] = 0x00010203;
        s.colors[15] = 0x00C0C0C0;
        s.MinX = 4;
        s.TabSize = 8;
        s.LineDistance = -2;
        const std::vector<uint8_t> b = PackDisplaySetting(s);
        ASSERT_EQ(b.size(), 136u);
        const std::string field(reinterpret_cast<const char*>(&b[28]), 32);
        const size_t length = field.find('\0');
        ASSERT_NE(length, std::string::npos) << c.face;
        EXPECT_EQ(gbk::toUtf8(field.substr(0, length)), c.expected);
        EXPECT_EQ(At(b, 0), -14);
        EXPECT_EQ(b[27], 0x31);
        EXPECT_EQ(At(b, 60), 0x00010203);
        EXPECT_EQ(At(b, 120), 0x00C0C0C0);
        EXPECT_EQ(At(b, 124), 4);
        EXPECT_EQ(At(b, 128), 8);
        EXPECT_EQ(At(b, 132), -2);
    }
}

} // namespace
} // namespace ide
