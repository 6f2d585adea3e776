// Scroll-bar values, scrolling requests, the wheel, keeping the caret in view,
// and the clipboard texts.
#include <gtest/gtest.h>

#include <functional>

#include "fake_ports.hpp"

using namespace quvpad;
using namespace quvpad::test;

namespace {
using Pos = std::pair<int, int>;   // (column, line)
using TextLines = std::vector<std::string>;
struct ScrollTest : ::testing::Test, EditorFixture {
    void LoadLines(int n, const std::string& line = "x")
    {
        std::string text;
        for (int i = 0; i < n; ++i)
            text += line + "\n";
        Load(text);
    }
};
} // namespace

TEST_F(ScrollTest, ScrollBarValues)
{
    LoadLines(20);
    EXPECT_EQ(win.vbar.min, 0);
    EXPECT_EQ(win.vbar.max, 19);
    EXPECT_EQ(win.vbar.page, 10);
    EXPECT_EQ(win.vbar.pos, 0);
    EXPECT_EQ(win.hbar.max, 0);
    win.client.height = 5 * 16;
    model.OnSize();
    EXPECT_EQ(win.vbar.page, 5);
    win.client.height = 160;
    LoadLines(5);
    EXPECT_EQ(win.vbar.max, 0);
    LoadLines(3, std::string(50, 'a'));
    EXPECT_EQ(win.hbar.max, 49);
    EXPECT_EQ(win.hbar.page, 39);
}

TEST_F(ScrollTest, VerticalScrollRequests)
{
    struct Row { int first; int code; int position; int firstAfter; std::vector<std::pair<int, int>> pixels; };
    const Row rows[] = {
        {0, ScrollLineUp, 0, 0, {}},
        {3, ScrollLineUp, 0, 2, {{0, 16}}},
        {0, ScrollLineDown, 0, 1, {{0, -16}}},
        {20, ScrollLineDown, 0, 20, {}},     // 30 lines, 10 visible: the last first line
        {9, ScrollPageUp, 0, 2, {}},
        {5, ScrollPageUp, 0, 0, {}},
        {0, ScrollPageDown, 0, 7, {}},
        {20, ScrollPageDown, 0, 27, {}},     // no upper limit
        {4, ScrollThumbTrack, 12, 12, {{0, -8 * 16}}},
        {12, ScrollThumbPosition, 4, 4, {{0, 8 * 16}}},
        {0, ScrollThumbTrack, 99, 30, {{0, -30 * 16}}},
        {7, ScrollTop, 0, 0, {}},
        {0, ScrollBottom, 0, 20, {}},
        {5, 8, 0, 5, {}},
    };
    for (const Row& r : rows) {
        LoadLines(30);
        model.SetFirstLine(r.first);
        win.scrolls.clear();
        model.OnVScroll(r.code, r.position);
        EXPECT_EQ(model.GetFirstVisibleLine(), r.firstAfter) << r.first << " code " << r.code;
        EXPECT_EQ(win.vbar.pos, r.firstAfter);
        EXPECT_EQ(win.scrolls, r.pixels) << r.first << " code " << r.code;
    }
}

TEST_F(ScrollTest, HorizontalScrollRequests)
{
    struct Row { int first; int code; int position; int firstAfter; };
    const Row rows[] = {
        {0, ScrollLineUp, 0, 0},
        {2, ScrollLineUp, 0, 1},
        {0, ScrollLineDown, 0, 1},
        {21, ScrollLineDown, 0, 21},   // 60 columns, 39 visible
        {20, ScrollPageUp, 0, 0},
        {0, ScrollPageDown, 0, 30},    // three quarters of 40 whole cells
        {0, ScrollThumbTrack, 10, 10},
        {0, ScrollThumbTrack, 50, 21},
        {9, ScrollTop, 0, 0},
        {9, ScrollBottom, 0, 9},       // only redraws
    };
    for (const Row& r : rows) {
        LoadLines(3, std::string(60, 'a'));
        model.OnHScroll(ScrollThumbTrack, r.first);
        model.OnHScroll(r.code, r.position);
        EXPECT_EQ(model.GetFirstVisibleColumn(), r.firstAfter) << r.first << " code " << r.code;
        EXPECT_EQ(win.hbar.pos, r.firstAfter);
    }
}

TEST_F(ScrollTest, WheelStepsFiveLines)
{
    struct Row { int first; int modifiers; int delta; int firstAfter; };
    const Row rows[] = {
        {0, ModNone, -120, 5},
        {0, ModNone, -360, 5},
        {10, ModNone, 120, 5},
        {3, ModNone, 120, 0},
        {10, ModNone, 360, 0},     // three notches up: fifteen lines
        {18, ModNone, -120, 20},   // not past the last full page
        {10, ModNone, 30, 10},     // less than half a notch
        {10, ModControl, -120, 10},
        {10, ModShift, -120, 10},
    };
    for (const Row& r : rows) {
        LoadLines(30);
        model.SetFirstLine(r.first);
        model.OnMouseWheel(r.modifiers, r.delta);
        EXPECT_EQ(model.GetFirstVisibleLine(), r.firstAfter) << r.first << " delta " << r.delta;
    }
}

TEST_F(ScrollTest, CaretIsKeptInView)
{
    LoadLines(30, std::string(100, 'a'));
    model.LocatePos(15, 1);
    EXPECT_EQ(model.GetFirstVisibleLine(), 5);   // the caret line becomes the last visible
    model.LocatePos(3, 1);
    EXPECT_EQ(model.GetFirstVisibleLine(), 2);
    Key(KeyEnd);
    // x = 800 is right of 0 + 320: first column (800 - 240) / 8
    EXPECT_EQ(model.GetFirstVisibleColumn(), 70);
    Key(KeyHome);
    EXPECT_EQ(model.GetFirstVisibleColumn(), 0);
    Key(KeyEnd, ModControl);
    EXPECT_EQ(model.GetFirstVisibleLine(), 20);
    EXPECT_EQ(win.vbar.pos, 20);
    EXPECT_EQ(win.hbar.pos, 70);
}

// The last line, reached by Ctrl+End or line by line, is wholly in view for
// texts around the window's height; lines are 16 pixels high.
TEST_F(ScrollTest, TheLastLineIsInViewWhateverTheTextsHeight)
{
    struct Row { int height; int lines; int firstAfter; };
    const Row rows[] = {
        {160, 9, 0},    // one line less than the window
        {160, 10, 0},   // exactly as tall
        {160, 11, 1},   // one line more
        {160, 12, 2},
        {160, 30, 20},
        {168, 10, 0},   // ten whole lines and half of an eleventh
        {168, 11, 1},
        {168, 12, 2},
        {16, 1, 0},
        {16, 2, 1},
        {16, 3, 2},
        {8, 1, 0},      // not one whole line: the only line stays
    };
    for (const Row& r : rows) {
        win.client.height = r.height;
        LoadLines(r.lines);
        model.OnSize();
        Key(KeyEnd, ModControl);
        EXPECT_EQ(model.CaretLine(), r.lines - 1);
        EXPECT_EQ(model.GetFirstVisibleLine(), r.firstAfter) << r.height << " px, " << r.lines << " lines, ctrl+end";
        EXPECT_EQ(win.vbar.pos, r.firstAfter);
        Key(KeyHome, ModControl);
        ASSERT_EQ(model.GetFirstVisibleLine(), 0);
        for (int i = 1; i < r.lines; ++i)
            Key(KeyDown);
        EXPECT_EQ(model.GetFirstVisibleLine(), r.firstAfter) << r.height << " px, " << r.lines << " lines, down";
    }
}

TEST_F(ScrollTest, CopyTakesTheSelectionWithCrLf)
{
    Load("abcd\nefgh\nijkl\n");
    model.SetSelection(2, 0, 1, 2);
    model.Copy();
    EXPECT_EQ(win.clipboard, "cd\r\nefgh\r\ni");
    EXPECT_FALSE(win.clipboardOpen);
    model.SetSelection(3, 2, 1, 1);   // backwards, the same order
    model.Copy();
    EXPECT_EQ(win.clipboard, "fgh\r\nijk");
    model.SetSelection(1, 0, 3, 0);
    model.Copy();
    EXPECT_EQ(win.clipboard, "bc");

    model.LocatePos(1, 1);
    win.clipboard = "kept";
    model.Copy();
    EXPECT_EQ(win.clipboard, "kept");
    EXPECT_FALSE(win.clipboardOpen);
    model.SetSelection(0, 0, 2, 0);
    win.clipboardOpens = false;
    model.Copy();
    EXPECT_EQ(win.clipboard, "kept");
}

TEST_F(ScrollTest, CutIsOneUndoStep)
{
    Load("abcd\nefgh\n");
    model.SetSelection(2, 0, 2, 1);
    model.Cut();
    EXPECT_EQ(win.clipboard, "cd\r\nef");
    EXPECT_EQ(Lines(), TextLines{"abgh"});
    EXPECT_EQ(model.Document().UndoDeque().size(), 1u);
    model.Undo();
    EXPECT_EQ(Lines(), (TextLines{"abcd", "efgh"}));
}

TEST_F(ScrollTest, PasteSessions)
{
    struct Row { const char* name; std::string text; Pos caret; std::string clip; TextLines lines; Pos caretAfter; };
    const Row rows[] = {
        {"two lines into one", "abcd\n", {2, 0}, "x\r\ny", {"abx", "ycd"}, {3, 1}},
        {"a tab at column 1", "ab\n", {1, 0}, "\tz", {"a   zb"}, {5, 0}},
        {"tabs count from each line start", "ab\n", {2, 0}, "\t\n\tq", {"ab  ", "    q"}, {5, 1}},
        {"a line end at the end of the text", "ab\n", {2, 0}, "x\n", {"abx", ""}, {0, 1}},
        {"a line end at the end of a line", "ab\nzz\n", {2, 0}, "x\r\n", {"abx", "", "zz"}, {0, 1}},
        {"whole lines at a line start", "a\nb\n", {0, 1}, "p\r\nq\r\n", {"a", "p", "q", "b"}, {1, 3}},   // after the old tail
        {"a NUL byte is kept", "ab\n", {1, 0}, std::string("x\0y", 3), {std::string("ax\0yb", 5)}, {4, 0}},
        {"nothing", "ab\n", {1, 0}, "", {"ab"}, {1, 0}},
    };
    for (const Row& r : rows) {
        Load(r.text);
        model.SetSelection(r.caret.first, r.caret.second, r.caret.first, r.caret.second);
        win.clipboard = r.clip;
        win.hasClipboardText = true;
        model.Paste();
        EXPECT_EQ(Lines(), r.lines) << r.name;
        EXPECT_EQ(Caret(), r.caretAfter) << r.name;
        EXPECT_EQ(Anchor(), r.caretAfter) << r.name;
        EXPECT_FALSE(win.clipboardOpen) << r.name;
        EXPECT_LE(model.Document().UndoDeque().size(), 1u) << r.name;
        model.Undo();
        EXPECT_EQ(model.GetText(), r.text) << r.name;
    }
}

TEST_F(ScrollTest, PasteReplacesTheSelection)
{
    Load("abcd\nefgh\n");
    model.SetSelection(1, 0, 3, 1);
    win.clipboard = "XY";
    win.hasClipboardText = true;
    model.Paste();
    EXPECT_EQ(Lines(), TextLines{"aXYh"});
    EXPECT_EQ(Caret(), Pos(3, 0));
    EXPECT_EQ(model.Document().UndoDeque().size(), 1u);
}

TEST_F(ScrollTest, PasteWithoutTextChangesNothing)
{
    Load("ab\n");
    model.Paste();
    EXPECT_EQ(Lines(), TextLines{"ab"});
    EXPECT_FALSE(model.IsModified());
    EXPECT_FALSE(win.clipboardOpen);
}

TEST_F(ScrollTest, ReplaceSelectionIsOneStepAndRecolours)
{
    Load("a\nb\nc\n");
    model.SetSelection(0, 0, 1, 0);
    model.ReplaceSelection("/*\n");
    EXPECT_EQ(Lines(), (TextLines{"/*", "", "b", "c"}));
    std::vector<uint32_t> colors = model.GetCharColors();
    EXPECT_EQ(colors, (std::vector<uint32_t>{0x109, 0x109, 0x109, 0x109}));
    EXPECT_EQ(model.Document().UndoDeque().size(), 1u);
    EXPECT_TRUE(model.IsModified());
}

TEST_F(ScrollTest, UndoAndRemovedLinesAtTheEndLeaveTheWindowFilled)
{
    // 100 lines in a window of 10: filled, the first visible line is at most 90.
    struct Row {
        const char* name;
        std::function<void(ScrollTest&)> edit;
        int undos;
        int firstAfter;
    };
    const Row rows[] = {
        {"type at the end, undo every step", [](ScrollTest& t) { t.Type("abc"); }, 3, 90},
        {"enter at the end, undo every step", [](ScrollTest& t) { t.Type("\r\r\rx"); }, 4, 90},
        {"enter at the end, undo some", [](ScrollTest& t) { t.Type("\r\r\r\r\r"); }, 3, 92},
        {"remove the last lines", [](ScrollTest& t) {
             t.model.SetSelection(0, 95, 1, 99);
             t.Key(KeyDelete);
         }, 0, 86},
        {"backspace at a line start", [](ScrollTest& t) {
             t.Type("\r\r");
             t.model.SetSelection(0, 101, 0, 101);
             t.Key(KeyBack);
         }, 0, 91},
    };
    for (const Row& r : rows) {
        LoadLines(100);
        Key(KeyEnd, ModControl);
        ASSERT_EQ(model.GetFirstVisibleLine(), 90) << r.name;
        r.edit(*this);
        for (int i = 0; i < r.undos; ++i)
            model.TranslateAccelerator('Z', ModControl);
        EXPECT_EQ(model.GetFirstVisibleLine(), r.firstAfter) << r.name;
        EXPECT_EQ(win.vbar.pos, r.firstAfter) << r.name;
    }
}
