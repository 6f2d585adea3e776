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
} // namespace

// The host packs 136 bytes: font record, 16 colours, three spacing values.
TEST(SettingsBlock, HostBytesLandInTheirFields)
{
    std::vector<uint8_t> b(SettingsBlock::HostSize, 0);
    PutLE(b, 0, static_cast<uint32_t>(-16));
    PutLE(b, 16, 700);
    for (int i = 0; i < 8; ++i)
        b[20 + i] = static_cast<uint8_t>(0xA0 + i);
    std::memcpy(&b[28], "Courier New", 11);
    for (int c = 0; c < 16; ++c)
        PutLE(b, 60 + 4 * c, 0x00010203u * (c + 1));
    PutLE(b, 124, 5);
    PutLE(b, 128, 4);
    PutLE(b, 132, 3);

    SettingsBlock s;
    s.SetMetrics(8, 14, 1);
    s.CopyFrom(b.data(), b.size());
    FontRecord f = s.Font();
    EXPECT_EQ(f.height, -16);
    EXPECT_EQ(f.weight, 700);
    EXPECT_EQ(f.italic, 0xA0);
    EXPECT_EQ(f.charSet, 0xA3);
    EXPECT_EQ(f.pitchAndFamily, 0xA7);
    EXPECT_STREQ(f.faceName.data(), "Courier New");
    for (int c = 0; c < 16; ++c)
        EXPECT_EQ(s.Color(c), 0x00010203u * (c + 1)) << c;
    EXPECT_EQ(s.MinX(), 5);
    EXPECT_EQ(s.TabSize(), 4);
    EXPECT_EQ(s.LineDistance(), 3);
    EXPECT_TRUE(std::equal(b.begin(), b.end(), s.Bytes().begin()));
    // The measured fields are not the host's: they keep their values.
    EXPECT_EQ(s.CharWidth(), 8);
    EXPECT_EQ(s.LineHeight(), 15);
    s.SetMetrics(7, 14, 1);
    EXPECT_EQ(s.LineHeight(), 18);   // height + external leading + LineDistance
    const uint8_t tail[] = {7, 0, 0, 0, 18, 0, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(tail), std::end(tail), s.Bytes().begin() + 136));

    std::vector<uint8_t> big(200, 0x11);
    s.CopyFrom(big.data(), big.size());   // only 144 bytes are taken
    EXPECT_EQ(s.CharWidth(), 0x11111111);
}

TEST(SettingsBlock, FontRecordRoundTrips)
{
    SettingsBlock s;
    FontRecord f;
    f.height = 12;
    f.charSet = 134;
    std::strcpy(f.faceName.data(), "SimSun");
    s.SetFont(f);
    EXPECT_EQ(s.Bytes()[0], 12);
    EXPECT_EQ(s.Bytes()[23], 134);
    EXPECT_EQ(s.Bytes()[28], 'S');
    EXPECT_STREQ(s.Font().faceName.data(), "SimSun");
}

TEST(SettingsBlock, ZeroOrNegativeSpacingReadsAsOne)
{
    SettingsBlock s;   // all zero, as a fresh block or a bad settings file
    EXPECT_EQ(s.TabSize(), 1);
    EXPECT_EQ(s.CharWidth(), 1);
    EXPECT_EQ(s.LineHeight(), 1);
    s.SetTabSize(-3);
    s.SetMetrics(-1, -5, 0);
    EXPECT_EQ(s.TabSize(), 1);
    EXPECT_EQ(s.CharWidth(), 1);
    EXPECT_EQ(s.LineHeight(), 1);
}
