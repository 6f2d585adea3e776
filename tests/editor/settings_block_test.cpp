#include "editor/settings_block.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace quvpad;

namespace {

void PutLE(std::vector<uint8_t>& b, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// A block as the host packs it: 136 bytes, every field distinct.
std::vector<uint8_t> HostBlock()
{
    std::vector<uint8_t> b(SettingsBlock::HostSize, 0);
    PutLE(b, 0, static_cast<uint32_t>(-16));   // height
    PutLE(b, 4, 7);                            // width
    PutLE(b, 8, 1);                            // escapement
    PutLE(b, 12, 2);                           // orientation
    PutLE(b, 16, 700);                         // weight
    for (int i = 0; i < 8; ++i)
        b[20 + i] = static_cast<uint8_t>(0xA0 + i);
    std::memcpy(&b[28], "Courier New", 11);
    for (int c = 0; c < 16; ++c)
        PutLE(b, 60 + 4 * c, 0x00010203u * (c + 1));
    PutLE(b, 124, 5);
    PutLE(b, 128, 4);
    PutLE(b, 132, 3);
    return b;
}

} // namespace

TEST(SettingsBlock, HostBytesLandInTheirFields)
{
    SettingsBlock s;
    auto b = HostBlock();
    s.CopyFrom(b.data(), b.size());
    FontRecord f = s.Font();
    EXPECT_EQ(f.height, -16);
    EXPECT_EQ(f.width, 7);
    EXPECT_EQ(f.escapement, 1);
    EXPECT_EQ(f.orientation, 2);
    EXPECT_EQ(f.weight, 700);
    EXPECT_EQ(f.italic, 0xA0);
    EXPECT_EQ(f.underline, 0xA1);
    EXPECT_EQ(f.strikeOut, 0xA2);
    EXPECT_EQ(f.charSet, 0xA3);
    EXPECT_EQ(f.outPrecision, 0xA4);
    EXPECT_EQ(f.clipPrecision, 0xA5);
    EXPECT_EQ(f.quality, 0xA6);
    EXPECT_EQ(f.pitchAndFamily, 0xA7);
    EXPECT_STREQ(f.faceName.data(), "Courier New");
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(s.Color(c), 0x00010203u * (c + 1)) << c;
    EXPECT_EQ(s.MinX(), 5);
    EXPECT_EQ(s.TabSize(), 4);
    EXPECT_EQ(s.LineDistance(), 3);
    // The image is the host's bytes followed by the two measured fields.
    EXPECT_TRUE(std::equal(b.begin(), b.end(), s.Bytes().begin()));
}

TEST(SettingsBlock, ShortArrayKeepsTheMeasuredFieldsAndLongArrayStopsAt144)
{
    SettingsBlock s;
    s.SetLineDistance(2);
    s.SetMetrics(8, 14, 1);
    EXPECT_EQ(s.CharWidth(), 8);
    EXPECT_EQ(s.LineHeight(), 17);
    auto b = HostBlock();
    s.CopyFrom(b.data(), b.size());
    EXPECT_EQ(s.CharWidth(), 8);
    EXPECT_EQ(s.LineHeight(), 17);

    std::vector<uint8_t> big(200, 0x11);
    s.CopyFrom(big.data(), big.size());
    EXPECT_EQ(s.Bytes().size(), 144u);
    EXPECT_EQ(s.CharWidth(), 0x11111111);
}

TEST(SettingsBlock, SettersWriteLittleEndianAtTheirOffsets)
{
    struct Row { size_t offset; void (*set)(SettingsBlock&); uint32_t value; };
    const Row rows[] = {
        {60, [](SettingsBlock& s) { s.SetColor(0, 0x00C0FFEE); }, 0x00C0FFEE},
        {120, [](SettingsBlock& s) { s.SetColor(15, 0x00123456); }, 0x00123456},
        {124, [](SettingsBlock& s) { s.SetMinX(9); }, 9},
        {128, [](SettingsBlock& s) { s.SetTabSize(8); }, 8},
        {132, [](SettingsBlock& s) { s.SetLineDistance(-2); }, 0xFFFFFFFE},
        {136, [](SettingsBlock& s) { s.SetMetrics(0x0A0B0C0D, 0, 0); }, 0x0A0B0C0D},
    };
    for (const Row& r : rows) {
        SettingsBlock s;
        r.set(s);
        const auto& bytes = s.Bytes();
        for (size_t i = 0; i < bytes.size(); ++i) {
            uint8_t want = (i >= r.offset && i < r.offset + 4) ? static_cast<uint8_t>(r.value >> (8 * (i - r.offset))) : 0;
            ASSERT_EQ(bytes[i], want) << "offset " << r.offset << " byte " << i;
        }
    }
}

TEST(SettingsBlock, FontRecordRoundTripsThroughTheBytes)
{
    SettingsBlock s;
    FontRecord f;
    f.height = 12;
    f.weight = 400;
    f.charSet = 134;
    std::strcpy(f.faceName.data(), "SimSun");
    s.SetFont(f);
    EXPECT_EQ(s.Bytes()[23], 134);
    EXPECT_EQ(s.Bytes()[28], 'S');
    FontRecord g = s.Font();
    EXPECT_EQ(g.height, 12);
    EXPECT_EQ(g.weight, 400);
    EXPECT_EQ(g.charSet, 134);
    EXPECT_STREQ(g.faceName.data(), "SimSun");
}

TEST(SettingsBlock, ZeroOrNegativeSpacingReadsAsOne)
{
    SettingsBlock s;   // all zero, as a fresh module block or a bad settings file
    EXPECT_EQ(s.TabSize(), 1);
    EXPECT_EQ(s.CharWidth(), 1);
    EXPECT_EQ(s.LineHeight(), 1);
    s.SetTabSize(-3);
    s.SetMetrics(-1, -5, 0);
    EXPECT_EQ(s.TabSize(), 1);
    EXPECT_EQ(s.CharWidth(), 1);
    EXPECT_EQ(s.LineHeight(), 1);
}

TEST(SettingsBlock, SharedBlockIsOnePerProcess)
{
    EXPECT_EQ(&SettingsBlock::Shared(), &SettingsBlock::Shared());
}
