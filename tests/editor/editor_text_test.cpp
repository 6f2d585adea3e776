// Whole texts, tab stops, geometry and the caret reports of the editor model.
#include <gtest/gtest.h>

#include "fake_ports.hpp"

using namespace quvpad;
using namespace quvpad::test;

namespace {
using TextLines = std::vector<std::string>;
struct TextTest : ::testing::Test, EditorFixture {};
} // namespace

TEST_F(TextTest, SetTextSplitsLinesDropsCrAndExpandsTabs)
{
    struct Row { std::string text; TextLines lines; std::string saved; };
    const Row rows[] = {
        {"", {""}, "\n"},
        {"\n", {""}, "\n"},
        {"a", {"a"}, "a\n"},
        {"a\n", {"a"}, "a\n"},
        {"a\nb", {"a", "b"}, "a\nb\n"},
        {"a\nb\n", {"a", "b"}, "a\nb\n"},
        {"a\n\n", {"a", ""}, "a\n\n"},
        {"x\r\ny\r\n", {"x", "y"}, "x\ny\n"},
        {"ab\tc", {"ab  c"}, "ab  c\n"},
        {"\tx\n abc\td", {"    x", " abc    d"}, "    x\n abc    d\n"},
        {"\tx\r\n a\r\tb", {"    x", " a  b"}, "    x\n a  b\n"},   // a dropped CR takes no column
        {"abcd\tx\nabcdef\t\ty\tz", {"abcd    x", "abcdef      y   z"}, "abcd    x\nabcdef      y   z\n"},
        {std::string("a\0b\n", 4), {std::string("a\0b", 3)}, std::string("a\0b\n", 4)},
    };
    for (const Row& r : rows) {
        model.SetText(r.text);
        EXPECT_EQ(Lines(), r.lines) << testing::PrintToString(r.text);
        EXPECT_EQ(model.GetText(), r.saved) << testing::PrintToString(r.text);
        EXPECT_EQ(Caret(), std::make_pair(0, 0));
        EXPECT_EQ(Anchor(), std::make_pair(0, 0));
    }
}

TEST_F(TextTest, LoadSaveCycleIsTheIdentity)
{
    for (const char* text : {"a\n", "\n", "a\n\n", "%PROG p\n  x := 1;\n%END\n", "\n\n\n"}) {
        model.SetText(text);
        std::string saved = model.GetText();
        EXPECT_EQ(saved, text);
        model.SetText(saved);
        EXPECT_EQ(model.GetText(), saved);
    }
}

TEST_F(TextTest, LoadingLeavesNoHistoryAndSetsTheModifiedFlag)
{
    model.SetModified(false);
    win.modifiedEvents.clear();
    model.SetText("a\nb\n");
    EXPECT_FALSE(model.CanUndo());
    EXPECT_FALSE(model.CanRedo());
    EXPECT_TRUE(model.Document().PendingGroup().Empty());
    EXPECT_TRUE(model.IsModified());
    EXPECT_EQ(win.modifiedEvents, std::vector<bool>{true});
    EXPECT_EQ(win.positions.back(), (PosEvent{1, 1, 1, 1}));
}

TEST_F(TextTest, TabStopsFollowTheColumn)
{
    struct Row { int tabSize, column, run; };
    const Row rows[] = {{4, 0, 4}, {4, 3, 1}, {4, 4, 4}, {4, 5, 3}, {8, 2, 6}, {1, 7, 1}, {0, 5, 1}, {-2, 0, 1}};
    for (const Row& r : rows) {
        settings.SetTabSize(r.tabSize);
        EXPECT_EQ(model.Document().TabRun(r.column), r.run) << r.tabSize << " " << r.column;
    }
}

// A load expands each tab as typing one at that column would: leading tabs in
// a row, tabs wider than a few spaces and lines longer than the load's first
// line buffer.
TEST_F(TextTest, LoadedTabsStopWhereTypedTabsStop)
{
    std::string longLine;
    for (int i = 0; i < 90; ++i)
        longLine += i % 3 == 0 ? "\tab" : "cd\t";
    const std::vector<std::string> lines = {"\t\t\tx = 1;", "\t\t", "a\t\tb\tc", "\t /* x */\t// y", longLine, ""};
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    for (int tabSize : {1, 3, 4, 20}) {
        settings.SetTabSize(tabSize);
        TextLines expected;
        for (const std::string& line : lines) {
            std::string out;
            for (char c : line)
                out += c == '\t' ? std::string(static_cast<size_t>(model.Document().TabRun(static_cast<int>(out.size()))), ' ')
                                  : std::string(1, c);
            expected.push_back(out);
        }
        model.SetText(text);
        EXPECT_EQ(Lines(), expected) << "tab size " << tabSize;
    }
}

TEST_F(TextTest, ZeroSpacingFromTheSettingsDoesNotHang)
{
    settings.SetTabSize(0);
    settings.SetMetrics(0, 0, 0);
    model.SetText("\tx\n");
    EXPECT_EQ(Lines(), (TextLines{" x"}));
    EXPECT_EQ(model.GetVisibleLines(true), 160);
    EXPECT_EQ(model.GetVisibleColumns(), 319);
}

TEST_F(TextTest, GeometryOfTheView)
{
    Load("0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n11\n");
    EXPECT_EQ(model.GetVisibleLines(true), 10);
    EXPECT_EQ(model.GetVisibleLines(false), 10);
    EXPECT_EQ(model.GetVisibleColumns(), 39);
    EXPECT_EQ(model.GetLastVisibleLine(), 10);
    Rect r = model.GetLineRect(2);
    EXPECT_EQ(r.top, 32);
    EXPECT_EQ(r.bottom, 48);
    EXPECT_EQ(r.right, 320);
    Rect rs = model.GetLinesRect(3, 1);
    EXPECT_EQ(rs.top, 16);
    EXPECT_EQ(rs.bottom, 64);
    Load("a\nb\n");
    EXPECT_EQ(model.GetVisibleLines(false), 2);
    EXPECT_EQ(model.GetLastVisibleLine(), 2);
}

TEST_F(TextTest, CharSizeAndColoursCoverEveryByte)
{
    Load("int x\n\n\"s\"\n");
    EXPECT_EQ(model.GetCharSize(), 8);
    std::vector<uint32_t> want = {0x101, 0x101, 0x101, 0x100, 0x103, 0x104, 0x104, 0x104};
    EXPECT_EQ(model.GetCharColors(), want);
    Load("");
    EXPECT_EQ(model.GetCharSize(), 0);
    EXPECT_TRUE(model.GetCharColors().empty());
}

TEST_F(TextTest, ExportedColoursAreNeverStale)
{
    // 30 lines, 10 visible: opening a comment on line 0 colours only the view.
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "x\n";
    Load(text);
    model.SetCaretPos(0, 0);
    model.OnChar('/');
    model.OnChar('*');
    EXPECT_LT(model.Document().Text().ColoredUpTo(), 30);
    std::vector<uint32_t> colors = model.GetCharColors();
    ASSERT_EQ(colors.size(), 32u);
    for (uint32_t c : colors)
        EXPECT_EQ(c, 0x109u);
}

TEST_F(TextTest, PositionsPastLine32767AreReportedInFull)
{
    std::string text;
    for (int i = 0; i < 40000; ++i)
        text += "ab\n";
    Load(text);
    model.LocatePos(40000, 3);
    EXPECT_EQ(win.positions.back(), (PosEvent{40000, 3, 40000, 3}));
    EXPECT_EQ(model.CaretLine(), 39999);
}

TEST_F(TextTest, EverySetterReportsOnceWithOneBasedValues)
{
    Load("abc\ndef\n");
    model.SetCaretPos(2, 1);
    model.SetCaretPos(2, 1);
    model.SetAnchorCol(1);
    model.SetCaretLine(0);
    model.SetCaretCol(0);
    model.SetAnchorPos(3, 1);
    std::vector<PosEvent> want = {{2, 3, 1, 1}, {2, 3, 1, 1}, {2, 3, 1, 2}, {1, 3, 1, 2}, {1, 1, 1, 2}, {1, 1, 2, 4}};
    EXPECT_EQ(win.positions, want);
}
