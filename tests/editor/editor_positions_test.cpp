// Selection entry points, word selection, focus, and the caret and mouse keys.
#include <gtest/gtest.h>

#include "editor/text_columns.hpp"
#include "fake_ports.hpp"

using namespace quvpad;
using namespace quvpad::test;

namespace {
using Pos = std::pair<int, int>;   // (column, line)
struct PositionsTest : ::testing::Test, EditorFixture {};

// Two GBK characters between ASCII: bytes 0 'a', 1-2 中, 3-4 文, 5 'b'. The
// trail byte of the second is 0x41 ('A').
const std::string kGbkLine = "a\xD6\xD0\x81\x41" "b";
} // namespace

TEST_F(PositionsTest, SetSelectionClampsBothEnds)
{
    Load("abcd\nef\nghi\n");
    struct Row { int ac, al, cc, cl; Pos anchor, caret; };
    const Row rows[] = {
        {1, 0, 2, 1, {1, 0}, {2, 1}},
        {0, 0, 99, 99, {0, 0}, {3, 2}},        // beyond the text: end of the last line
        {9, 1, 0, 0, {2, 1}, {0, 0}},          // beyond its line: that line's end
        {-5, -1, 2, 0, {0, 0}, {2, 0}},
    };
    for (const Row& r : rows) {
        model.SetSelection(r.ac, r.al, r.cc, r.cl);
        EXPECT_EQ(Anchor(), r.anchor);
        EXPECT_EQ(Caret(), r.caret);
        EXPECT_EQ(win.positions.back(), (PosEvent{r.caret.second + 1, r.caret.first + 1, r.anchor.second + 1, r.anchor.first + 1}));
    }
}

// A selection set from outside (a match found, a bracket's partner) is
// scrolled into view: all of it where it fits in the window's 10 lines, else
// its caret end; a selection already in view leaves the view where it is.
TEST_F(PositionsTest, SetSelectionScrollsTheSelectionIntoView)
{
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "line " + std::to_string(i) + "\n";
    struct Row { const char* name; int firstBefore; int ac, al, cc, cl; int firstAfter; };
    const Row rows[] = {
        {"in view stays", 0, 0, 3, 4, 3, 0},
        {"below the window", 0, 0, 69, 4, 69, 60},
        {"above the window", 50, 0, 20, 4, 20, 20},
        {"two lines below, both shown", 0, 0, 40, 4, 41, 32},
        {"up into view, both shown", 50, 4, 41, 0, 40, 40},
        {"too long, caret at the bottom", 0, 0, 10, 4, 69, 60},
        {"too long, caret at the top", 90, 4, 69, 0, 10, 10},
        {"the last line", 0, 0, 99, 2, 99, 90},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Load(text);
        model.SetFirstLine(r.firstBefore);
        model.SetSelection(r.ac, r.al, r.cc, r.cl);
        EXPECT_EQ(model.GetFirstVisibleLine(), r.firstAfter);
        EXPECT_EQ(Caret(), Pos(r.cc, r.cl));
        EXPECT_EQ(Anchor(), Pos(r.ac, r.al));
    }
}

TEST_F(PositionsTest, LocatePosClampsAndCollapsesTheSelection)
{
    Load("abcd\nef\nghi\n");
    struct Row { int line, col; Pos at; };
    const Row rows[] = {{1, 1, {0, 0}}, {2, 2, {1, 1}}, {2, 99, {2, 1}}, {99, 2, {1, 2}}, {99, 99, {3, 2}}, {0, 0, {0, 0}}};
    for (const Row& r : rows) {
        model.SetSelection(0, 0, 2, 0);
        model.LocatePos(r.line, r.col);
        EXPECT_EQ(Caret(), r.at) << r.line << "," << r.col;
        EXPECT_EQ(Anchor(), r.at);
    }
}

TEST_F(PositionsTest, SelectionEntryPointsLandOnCharacterBoundaries)
{
    Load(kGbkLine + "\n");
    model.SetSelection(2, 0, 4, 0);
    EXPECT_EQ(Anchor(), Pos(1, 0));
    EXPECT_EQ(Caret(), Pos(3, 0));
    model.LocatePos(1, 5);   // column 4 is inside 文
    EXPECT_EQ(Caret(), Pos(3, 0));
}

TEST_F(PositionsTest, DoubleClickSelectsAWord)
{
    struct Row { std::string line; int column; Pos caret, anchor; };
    const Row rows[] = {
        {"x abc12 def", 3, {2, 0}, {7, 0}},       // on the b of abc12
        {"x abc12 def", 2, {2, 0}, {7, 0}},
        {"a_b", 0, {0, 0}, {1, 0}},                // '_' is no word character
        {"a_b", 2, {2, 0}, {3, 0}},
        {"a_b", 1, {2, 0}, {1, 0}},                // the lone character, caret after it
        {"abc", 3, {0, 0}, {3, 0}},                // past the end: the word before
        {kGbkLine, 1, {3, 0}, {1, 0}},             // a double-byte character whole
        {kGbkLine, 4, {5, 0}, {3, 0}},             // its trail byte is no letter
        {kGbkLine, 5, {5, 0}, {6, 0}},
        // Runs of bytes that may lead a character before a word: which of
        // them pair up decides whether the word's first letter is a trail.
        {"\xD6" "Aword", 4, {2, 0}, {6, 0}},                // D6 41 one character
        {"\xD6\xD6" "Aword", 4, {2, 0}, {7, 0}},           // D6 D6, then the word
        {"\xD6\xD6\xD6" "Aword", 5, {4, 0}, {8, 0}},      // D6 D6, D6 41
        {"x\xD6\xD6\xD6\xD6" "Aword", 7, {5, 0}, {10, 0}},
        {"\xD6" "1word", 4, {1, 0}, {6, 0}},                // a digit is no trail byte
        {"\xFF\xD6" "Aword", 4, {3, 0}, {7, 0}},           // FF leads nothing
    };
    for (const Row& r : rows) {
        Load(r.line + "\n");
        model.OnDoubleClick(X(r.column) + 1, Y(0));
        EXPECT_EQ(Caret(), r.caret) << r.line << " at " << r.column;
        EXPECT_EQ(Anchor(), r.anchor) << r.line << " at " << r.column;
        EXPECT_FALSE(model.IsDragging());
    }
}

TEST(CharacterStarts, AgreeWithDecodingFromTheLineStart)
{
    // Lines of bytes that are letters, digits, blanks, lead bytes, trail
    // bytes and neither, in every mix; every column against a decoding of the
    // whole line from its first byte.
    const char bytes[] = {'a', 'A', '1', ' ', '\x81', '\xD6', '\xD0', '\x40', '\x7F', '\xFE', '\xFF', '\x80'};
    unsigned x = 12345;
    for (int n = 0; n < 4000; ++n) {
        std::string line;
        const int length = n % 24;
        for (int i = 0; i < length; ++i) {
            x = x * 1103515245u + 12345u;
            line += bytes[(x >> 16) % sizeof bytes];
        }
        std::vector<int> starts;
        for (int i = 0; i < length; i += CharLength(line, i))
            starts.push_back(i);
        for (int col = 0; col <= length; ++col) {
            int expected = col == length ? col : 0;
            for (int s : starts)
                if (s <= col && col < length)
                    expected = s;
            ASSERT_EQ(CharStartAtOrBefore(line, col), expected) << n << " at " << col;
            if (col > 0) {
                int before = 0;
                for (int s : starts)
                    if (s < col)
                        before = s;
                ASSERT_EQ(PreviousCharStart(line, col), before) << n << " at " << col;
            }
        }
    }
}

TEST_F(PositionsTest, FocusNotifiesTheParentAndEndsADrag)
{
    Load("abc\n");
    win.focus = false;
    model.OnSetFocus();
    EXPECT_EQ(win.notifications.back(), NotifySetFocus);
    model.OnLButtonDown(X(1), Y(0), ModNone);
    EXPECT_TRUE(win.capture);
    model.OnKillFocus();
    EXPECT_FALSE(win.capture);
    EXPECT_FALSE(model.IsDragging());
    EXPECT_EQ(win.notifications.back(), NotifyKillFocus);
}

TEST_F(PositionsTest, CaretFollowsTheFocus)
{
    Load("abc\n");
    model.UpdateCaret(false);
    win.focus = false;
    model.SetCaretCol(2);
    model.UpdateCaret(true);
    EXPECT_FALSE(win.caretCreated);   // another window has the focus
    win.focus = true;
    model.UpdateCaret(true);
    EXPECT_TRUE(win.caretCreated);
    EXPECT_TRUE(win.caretVisible);
    EXPECT_EQ(win.caretAt, std::make_pair(2 * 8 - 1 + 4, 0));
    EXPECT_EQ(win.caretSize, std::make_pair(2, 16));
    model.UpdateCaret(false);
    EXPECT_FALSE(win.caretCreated);
}

TEST_F(PositionsTest, NavigationKeys)
{
    struct Step { int key; int mods; Pos caret; Pos anchor; };
    struct Script { std::string text; Pos start; std::vector<Step> steps; };
    const Script scripts[] = {
        {"abc\nde\nfghij\n", {3, 0}, {
            {KeyDown, ModShift, {2, 1}, {3, 0}},   // Shift keeps the anchor
            {KeyDown, ModNone, {2, 2}, {2, 2}},    // without it the anchor follows
            {KeyEnd, ModNone, {5, 2}, {5, 2}},
            {KeyUp, ModNone, {2, 1}, {2, 1}},      // nearest column at or left of x
            {KeyHome, ModNone, {0, 1}, {0, 1}},
            {KeyLeft, ModNone, {3, 0}, {3, 0}},    // wraps to the line above
            {KeyRight, ModNone, {0, 1}, {0, 1}},   // and back
            {KeyEnd, ModControl, {5, 2}, {5, 2}},
            {KeyRight, ModNone, {5, 2}, {5, 2}},   // end of the last line stays
            {KeyHome, ModControl | ModShift, {0, 0}, {5, 2}},
            {KeyLeft, ModNone, {0, 0}, {0, 0}},    // start of the text stays
            {KeyUp, ModNone, {0, 0}, {0, 0}},
        }},
        // word steps
        {"abc def\nab.cd\n", {0, 0}, {
            {KeyRight, ModControl, {3, 0}, {3, 0}},
            {KeyRight, ModControl, {7, 0}, {7, 0}},
            {KeyRight, ModControl, {0, 1}, {0, 1}},
            {KeyRight, ModControl, {2, 1}, {2, 1}},
            {KeyRight, ModControl, {3, 1}, {3, 1}},   // the full stop on its own
            {KeyRight, ModControl, {5, 1}, {5, 1}},
            {KeyRight, ModControl, {5, 1}, {5, 1}},   // last line: stays at its end
            {KeyLeft, ModControl, {3, 1}, {3, 1}},   // just right of the full stop
            {KeyLeft, ModControl, {2, 1}, {2, 1}},   // onto it when it is directly left
            {KeyLeft, ModControl, {0, 1}, {0, 1}},
            {KeyLeft, ModControl, {7, 0}, {7, 0}},
            {KeyLeft, ModControl, {4, 0}, {4, 0}},
            {KeyLeft, ModControl, {0, 0}, {0, 0}},
            {KeyLeft, ModControl, {0, 0}, {0, 0}},
        }},
        {"ab.cd\n", {3, 0}, {{KeyLeft, ModControl, {2, 0}, {2, 0}}}},
        // double-byte characters are stepped over whole
        {kGbkLine + "\nxxxx\n", {1, 0}, {
            {KeyRight, ModNone, {3, 0}, {3, 0}},
            {KeyRight, ModNone, {5, 0}, {5, 0}},
            {KeyLeft, ModNone, {3, 0}, {3, 0}},
            {KeyDown, ModNone, {3, 1}, {3, 1}},
            {KeyRight, ModNone, {4, 1}, {4, 1}},
            {KeyUp, ModNone, {3, 0}, {3, 0}},      // column 4 would split 文
            {KeyRight, ModControl, {5, 0}, {5, 0}},
            {KeyLeft, ModControl, {3, 0}, {3, 0}},
        }},
    };
    for (const Script& s : scripts) {
        Load(s.text);
        model.SetSelection(s.start.first, s.start.second, s.start.first, s.start.second);
        int i = 0;
        for (const Step& st : s.steps) {
            Key(st.key, st.mods);
            EXPECT_EQ(Caret(), st.caret) << s.text << " step " << i;
            EXPECT_EQ(Anchor(), st.anchor) << s.text << " step " << i;
            ++i;
        }
    }
}

TEST_F(PositionsTest, PagingMovesCaretAndView)
{
    win.client.height = 4 * 16;   // 4 visible lines
    Load("0\n1\n2\n3\n4\n5\n6\n7\n8\n9\n");
    model.LocatePos(3, 1);
    Key(KeyNext);
    EXPECT_EQ(Caret(), Pos(0, 6));
    EXPECT_EQ(model.GetFirstVisibleLine(), 6);
    Key(KeyNext);
    EXPECT_EQ(Caret(), Pos(0, 9));
    Key(KeyPrior);
    EXPECT_EQ(Caret(), Pos(0, 5));
    EXPECT_EQ(model.GetFirstVisibleLine(), 5);
    Key(KeyPrior);
    Key(KeyPrior);
    EXPECT_EQ(Caret(), Pos(0, 0));
    EXPECT_EQ(model.GetFirstVisibleLine(), 0);
}

TEST_F(PositionsTest, OtherKeysAreLeftToTheWindow)
{
    Load("abc\n");
    EXPECT_FALSE(model.OnKeyDown(7, ModNone));
    EXPECT_FALSE(model.OnKeyDown(47, ModNone));
    EXPECT_FALSE(model.OnKeyDown(KeyTab, ModNone));
    EXPECT_TRUE(model.OnKeyDown(KeyReturn, ModNone));
    EXPECT_EQ(Lines(), (std::vector<std::string>{"abc"}));   // Enter works through its character
}

TEST_F(PositionsTest, ClicksAndDrags)
{
    Load("abcdef\nxy\n" + kGbkLine + "\n");
    struct Row { int x, y; Pos caret; };
    const Row clicks[] = {
        {X(2), Y(0), {2, 0}},
        {X(2) + 7, Y(0), {2, 0}},      // the column whose left edge is at or left of the point
        {X(40), Y(1), {2, 1}},         // right of the line end
        {X(1), Y(9), {1, 2}},          // below the last line
        {0, Y(0), {0, 0}},             // on the margin
        {X(2) + 1, Y(2), {1, 2}},      // inside a double-byte character
    };
    for (const Row& r : clicks) {
        model.OnLButtonDown(r.x, r.y, ModNone);
        model.OnLButtonUp();
        EXPECT_EQ(Caret(), r.caret) << r.x << "," << r.y;
        EXPECT_EQ(Anchor(), r.caret);
    }

    model.OnLButtonDown(X(1), Y(0), ModNone);
    EXPECT_TRUE(win.capture);
    model.OnMouseMove(X(4) + 2, Y(0));   // moving right: the cell the point is in ends the selection
    EXPECT_EQ(Caret(), Pos(4, 0));
    model.OnMouseMove(X(3) + 2, Y(1));
    EXPECT_EQ(Caret(), Pos(2, 1));       // clamped to the line end
    model.OnMouseMove(X(4), Y(2));
    EXPECT_EQ(Caret(), Pos(3, 2));       // never inside 文
    model.OnMouseMove(-50, -50);
    EXPECT_EQ(Caret(), Pos(0, 0));
    EXPECT_EQ(Anchor(), Pos(1, 0));
    EXPECT_EQ(win.forwarded.back(), std::make_pair(-54, -50));
    model.OnLButtonUp();
    EXPECT_FALSE(win.capture);
    size_t before = win.positions.size();
    model.OnMouseMove(X(5), Y(0));       // not dragging: nothing moves
    EXPECT_EQ(win.positions.size(), before);

    model.OnLButtonDown(X(3), Y(1), ModShift);   // Shift keeps the anchor
    EXPECT_EQ(Caret(), Pos(2, 1));
    EXPECT_EQ(Anchor(), Pos(1, 0));
}

// The host may paint at every PosChanged (a status bar that redraws at once
// paints the editor's pending lines too), so a move without Shift never
// reports a selection on the way, and the lines it left are marked for
// painting after the last report.
TEST_F(PositionsTest, MovesWithoutShiftReportNoSelectionAndRepaintTheLinesLeft)
{
    struct Row {
        const char* name;
        Pos anchor, caret;   // before the key
        int key;
        int modifiers;
        int repaintedLine;   // a line that must be marked after the last report
    };
    const Row rows[] = {
        {"up after a click", {5, 2}, {5, 2}, KeyUp, ModNone, 2},
        {"down after a click", {5, 2}, {5, 2}, KeyDown, ModNone, 2},
        {"ctrl+home", {5, 3}, {5, 3}, KeyHome, ModControl, 3},
        {"ctrl+end", {1, 0}, {1, 0}, KeyEnd, ModControl, 0},
        {"left at a line start", {0, 2}, {0, 2}, KeyLeft, ModNone, 2},
        {"page down", {2, 0}, {2, 0}, KeyNext, ModNone, 0},
        {"up from a selection over three lines", {1, 0}, {4, 3}, KeyUp, ModNone, 0},
        {"right collapses a selection upwards", {3, 3}, {1, 1}, KeyRight, ModNone, 3},
    };
    for (const Row& r : rows) {
        Load("abcdefgh\nabcdefgh\nabcdefgh\nabcdefgh\nabcdefgh\n");
        model.SetSelection(r.anchor.first, r.anchor.second, r.caret.first, r.caret.second);
        win.positions.clear();
        win.invalidated.clear();
        model.OnKeyDown(r.key, r.modifiers);
        ASSERT_FALSE(win.positions.empty()) << r.name;
        for (const PosEvent& e : win.positions)
            EXPECT_TRUE(e.caretLine == e.anchorLine && e.caretColumn == e.anchorColumn) << r.name;
        EXPECT_FALSE(model.HasSelection()) << r.name;
        const Rect line = model.GetLineRect(r.repaintedLine);
        bool marked = false;
        for (const auto& [rect, erase] : win.invalidated)
            marked = marked || (rect.top <= line.top && rect.bottom >= line.bottom);
        EXPECT_TRUE(marked) << r.name;
    }
}

TEST_F(PositionsTest, AClickRepaintsTheOldAndTheNewCaretLine)
{
    Load("abcd\nabcd\nabcd\nabcd\n");
    model.LocatePos(1, 3);
    win.positions.clear();
    win.invalidated.clear();
    model.OnLButtonDown(X(1), Y(3), ModNone);
    model.OnLButtonUp();
    EXPECT_EQ(Caret(), Pos(1, 3));
    EXPECT_EQ(Anchor(), Pos(1, 3));
    for (const PosEvent& e : win.positions)
        EXPECT_TRUE(e.caretLine == e.anchorLine && e.caretColumn == e.anchorColumn);
    for (int lineIndex : {0, 3}) {
        const Rect line = model.GetLineRect(lineIndex);
        bool marked = false;
        for (const auto& [rect, erase] : win.invalidated)
            marked = marked || (rect.top <= line.top && rect.bottom >= line.bottom);
        EXPECT_TRUE(marked) << "line " << lineIndex;
    }
}
