#include "editor/color_text_buffer.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quvpad;

namespace {

// Colour of class c is 0x100 + c, so a colour vector reads back as classes.
SettingsBlock ClassColors()
{
    SettingsBlock s;
    for (int c = 0; c < ColorClassCount; ++c)
        s.SetColor(c, 0x100 + c);
    return s;
}

// One letter per byte: the class as a hex digit, '.' for a missing colour.
std::string Classes(const ColorTextBuffer& b, int line)
{
    const auto& colors = b.GetLineColors(line);
    std::string out;
    for (size_t i = 0; i < b.GetLine(line).size(); ++i)
        out += i < colors.size() ? "0123456789abcdef"[colors[i] - 0x100] : '.';
    return out;
}

struct BufferTest : ::testing::Test {
    SettingsBlock settings = ClassColors();
    ColorTextBuffer buf{settings};

    void Load(const std::vector<std::string>& lines)
    {
        buf.Reset();
        for (size_t i = 0; i < lines.size(); ++i)
            buf.InsertLine(lines[i], static_cast<int>(i), false);
        buf.RemoveLine(buf.GetLineCount() - 1);
        buf.RecolorAll();
    }
};

} // namespace

TEST_F(BufferTest, FreshAndResetStores)
{
    ColorTextBuffer fresh(settings);
    EXPECT_EQ(fresh.GetLineCount(), 0);
    EXPECT_EQ(fresh.ColoredUpTo(), 1);
    buf.Reset();
    EXPECT_EQ(buf.GetLineCount(), 1);
    EXPECT_EQ(buf.GetLine(0), "");
    EXPECT_TRUE(buf.GetLineColors(0).empty());
    EXPECT_EQ(buf.ColoredUpTo(), 1);
    EXPECT_EQ(buf.MaxLineLength(), 0);
    EXPECT_EQ(buf.GetLineStartState(1), 0);
}

TEST_F(BufferTest, OpenedCommentColoursLazilyDownToTheLimit)
{
    Load({"a", "b", "c", "d", "e", "f", "g"});
    EXPECT_EQ(buf.ColoredUpTo(), 7);
    buf.SetLine("x /*", 1);
    EXPECT_EQ(Classes(buf, 1), "3099");
    EXPECT_EQ(buf.ColoredUpTo(), 2);
    EXPECT_EQ(buf.ColorUpTo(0, 4), 3);
    EXPECT_EQ(Classes(buf, 2), "9");
    EXPECT_EQ(Classes(buf, 3), "9");
    EXPECT_EQ(Classes(buf, 4), "3");   // below the limit: still stale
    EXPECT_EQ(buf.ColoredUpTo(), 4);

    // Closing it again re-colours down to the first line whose start state comes
    // out unchanged, and stops there.
    buf.SetLine("x", 1);
    EXPECT_EQ(buf.ColoredUpTo(), 2);
    buf.ColorUpTo(0, 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(Classes(buf, i), "3") << i;
    EXPECT_EQ(buf.ColoredUpTo(), 7);
}

TEST_F(BufferTest, EditAboveAStaleLineDoesNotMarkItColoured)
{
    Load({"a", "b", "c", "d", "e", "f", "g"});
    buf.SetLine("/*", 0);
    buf.ColorUpTo(0, 3);
    EXPECT_EQ(buf.ColoredUpTo(), 3);
    // An edit whose end state stays the same must not declare lines 3.. valid.
    buf.SetLine("/* still", 0);
    EXPECT_EQ(buf.ColoredUpTo(), 3);
    buf.ColorUpTo(0, 7);
    for (int i = 1; i < 7; ++i)
        EXPECT_EQ(Classes(buf, i), "9") << i;
}

TEST_F(BufferTest, EmptyLineCarriesTheComment)
{
    Load({"/* a", "", "b */ c"});
    EXPECT_EQ(Classes(buf, 2), "99990" "3");
    EXPECT_EQ(buf.GetLineStartState(2), 1);
    EXPECT_EQ(buf.GetLineStartState(3), 0);
}

TEST_F(BufferTest, EditKeepingTheEndStateColoursOneLine)
{
    Load({"a", "b", "c"});
    buf.SetLine("12", 1);
    EXPECT_EQ(Classes(buf, 1), "55");
    EXPECT_EQ(buf.ColoredUpTo(), 3);
}

TEST_F(BufferTest, RemoveAndInsertPassTheStatesOn)
{
    Load({"/*", "x", "y"});
    EXPECT_EQ(buf.GetLineStartState(1), 1);
    buf.RemoveLine(0);
    EXPECT_EQ(buf.GetLineStartState(0), 0);   // the removed line's start state
    EXPECT_EQ(buf.ColoredUpTo(), 0);          // x was coloured as comment: stale
    buf.ColorUpTo(0, 2);
    EXPECT_EQ(Classes(buf, 0), "3");
    EXPECT_EQ(Classes(buf, 1), "3");

    buf.InsertLine("/*", 0, true);
    EXPECT_EQ(buf.GetLineStartState(1), 1);   // the displaced line starts in the new end state
    EXPECT_EQ(buf.ColoredUpTo(), 1);
    buf.ColorUpTo(0, 3);
    EXPECT_EQ(Classes(buf, 1), "9");
    EXPECT_EQ(Classes(buf, 2), "9");
}

TEST_F(BufferTest, LineWithoutColourNowWaitsAsStale)
{
    Load({"a", "b"});
    buf.InsertLine("12", 1, false);
    EXPECT_TRUE(buf.GetLineColors(1).empty());
    EXPECT_EQ(buf.ColoredUpTo(), 1);
    EXPECT_EQ(buf.MaxLineLength(), 1);   // not updated without colour-now
    EXPECT_EQ(buf.ColorUpTo(0, 3), 1);
    EXPECT_EQ(Classes(buf, 1), "55");
    EXPECT_EQ(buf.ColoredUpTo(), 3);
}

TEST_F(BufferTest, BreakPointsToggleAndMoveWithTheirLines)
{
    Load({"a", "b", "c"});
    buf.ToggleBreakPoint(1);
    EXPECT_EQ(buf.IsBreakPoint(1), 1);
    buf.InsertLine("new", 0, true);
    EXPECT_EQ(buf.BreakPoints(), (std::vector<int>{0, 0, 1, 0}));
    buf.RemoveLine(1);
    EXPECT_EQ(buf.BreakPoints(), (std::vector<int>{0, 1, 0}));
    buf.SetLine("changed", 1);
    EXPECT_EQ(buf.IsBreakPoint(1), 1);
    buf.ToggleBreakPoint(1);
    EXPECT_EQ(buf.IsBreakPoint(1), 0);
}
