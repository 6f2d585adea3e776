// The settings block through Configure and ReConfigure: what is copied, what
// is measured, what each mask redraws, and two controls sharing one block.
#include <gtest/gtest.h>
#include <wx/bitmap.h>
#include <wx/dcmemory.h>

#include "editor/wx/editor_font.hpp"
#include "quvpad_host.hpp"

namespace quvpad::test {
namespace {

// Height plus external leading of a font, measured as the control measures.
int FontLineHeight(const std::vector<uint8_t>& bytes)
{
    SettingsBlock b;
    b.CopyFrom(bytes.data(), bytes.size());
    wxBitmap bitmap(8, 8);
    wxMemoryDC dc(bitmap);
    dc.SetFont(MakeEditorFont(b.Font()));
    wxFontMetrics m = dc.GetFontMetrics();
    return m.height + m.externalLeading;
}

TEST(QuvPadSettings, ConfigureCopiesTheHostBytesAndMeasuresTheFont)
{
    Host host(400, 200, false);
    std::vector<uint8_t> block = TestBlock(-20);
    block.resize(SettingsBlock::Size, 0xEE);   // the caller's metrics are not taken
    host.Pad().Configure(block);
    const SettingsBlock& shared = SettingsBlock::Shared();
    EXPECT_TRUE(std::equal(block.begin(), block.begin() + SettingsBlock::HostSize, shared.Bytes().begin()));
    EXPECT_EQ(shared.LineHeight(), FontLineHeight(block) + 2);
    EXPECT_GT(shared.CharWidth(), 5);
    EXPECT_LT(shared.CharWidth(), 20);

    // A shorter array changes only the bytes it holds.
    SettingsBlock before = shared;
    host.Pad().Configure(std::vector<uint8_t>(4, 0));
    EXPECT_EQ(shared.Font().height, 0);
    EXPECT_TRUE(std::equal(before.Bytes().begin() + 4, before.Bytes().begin() + SettingsBlock::HostSize,
                           shared.Bytes().begin() + 4));
}

TEST(QuvPadSettings, ReConfigureActsOnTheFirstMaskBitOnly)
{
    struct Case {
        long mask;
        bool recoloured;   // stored colours follow the new keyword colour at once
    };
    const Case cases[] = {{ConfigFont, false}, {ConfigColors, true}, {ConfigSpaces, false},
                          {ConfigFont | ConfigColors, false}, {0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE("mask " + std::to_string(c.mask));
        Host host;
        host.Pad().LoadText(L"int x", 1, 1);
        std::vector<uint8_t> block = TestBlock(-22);
        SettingsBlock b;
        b.CopyFrom(block.data(), block.size());
        b.SetColor(ClassKeyword, 0x000000FF);
        b.SetLineDistance(5);
        block.assign(b.Bytes().begin(), b.Bytes().begin() + SettingsBlock::HostSize);
        host.Pad().ReConfigure(block, c.mask);
        host.Pump();
        // The block and the measured line height change whatever the mask.
        EXPECT_EQ(SettingsBlock::Shared().LineDistance(), 5);
        EXPECT_EQ(SettingsBlock::Shared().LineHeight(), FontLineHeight(block) + 5);
        EXPECT_EQ(host.Model().Document().Text().GetLineColors(0)[0], c.recoloured ? 0x000000FFu : colour::Keyword);
    }
}

TEST(QuvPadSettings, TwoControlsShareOneBlock)
{
    Host first, second;
    first.Pad().LoadText(L"abc", 1, 1);
    second.Pad().LoadText(L"abc", 1, 1);
    int narrow = first.Model().TextWidth("abc");

    // New colours and a larger font through the second control.
    SettingsBlock b;
    std::vector<uint8_t> block = TestBlock(-28);
    b.CopyFrom(block.data(), block.size());
    b.SetColor(ClassBackground, 0x00E0E0FF);   // pink
    b.SetColor(ClassCurrentLine, 0x00E0E0FF);
    block.assign(b.Bytes().begin(), b.Bytes().begin() + SettingsBlock::HostSize);
    second.Pad().ReConfigure(block, ConfigColors);

    // The first control paints with them at its next repaint.
    first.Editor().Refresh();
    wxImage shot = first.Screenshot();
    EXPECT_TRUE(SameColour(shot, 200, 5, 0x00E0E0FF)) << ColourAt(shot, 200, 5);
    EXPECT_TRUE(SameColour(shot, 200, 60, 0x00E0E0FF)) << ColourAt(shot, 200, 60);
    EXPECT_GT(first.Model().TextWidth("abc"), narrow);
    EXPECT_EQ(first.Model().TextWidth("abc"), second.Model().TextWidth("abc"));
}

} // namespace
} // namespace quvpad::test
