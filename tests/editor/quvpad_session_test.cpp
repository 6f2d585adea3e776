// One user session on a hosted control: load a file, type, select, copy and
// paste through the real clipboard, undo, scroll and set a break point, then
// look at what the screen shows.
#include <gtest/gtest.h>

#include "editor/wx/break_point_wnd.hpp"
#include "quvpad_host.hpp"
#include "ink.hpp"

namespace quvpad::test {
namespace {

std::string SampleText()
{
    std::string text =
        "%PROC demo/\n"
        "// \xD6\xD0\xCE\xC4 comment\n"           // "中文" in GBK
        "int counter;\n"
        "LB1 WRITELN(\"hello\");\n";
    for (int i = 4; i < 40; ++i)
        text += "int value" + std::to_string(i) + ";\n";
    return text;
}

TEST(QuvPadSession, EditsThroughTheWindowAndShowsColoursSelectionCurrentLineAndBreakPoint)
{
    Host host;
    const TempFolder folder("quvpad-test-");
    const std::string& dir = folder.path;
    std::string path = WriteFile(dir + "/demo.e", SampleText());
    ASSERT_TRUE(host.Pad().FileLoad(Wide(path)));
    host.Pump();
    EXPECT_EQ(host.Pad().GetTextSize(), 40);
    EXPECT_EQ(host.Pad().GetLine(1), Wide("// 中文 comment"));
    // The bars: 40 lines with a page of the lines that fit; no line is wider than the window.
    int visible = host.Editor().GetClientSize().y / host.LineHeight();
    EXPECT_EQ(host.Editor().GetScrollRange(wxVERTICAL), 40);
    EXPECT_EQ(host.Editor().GetScrollThumb(wxVERTICAL), visible);
    EXPECT_EQ(host.Editor().GetScrollPos(wxVERTICAL), 0);
    EXPECT_LE(host.Editor().GetScrollRange(wxHORIZONTAL), host.Editor().GetScrollThumb(wxHORIZONTAL));
    host.Log().Clear();

    // Type at the end of "int counter;".
    wxPoint end = host.PointOf(12, 2);
    host.Click(end.x + 20, end.y);
    EXPECT_EQ(host.Model().CaretColumn(), 12);
    EXPECT_EQ(host.Model().CaretLine(), 2);
    host.Type(" // x1");
    EXPECT_EQ(host.Pad().GetLine(2), L"int counter; // x1");
    ASSERT_FALSE(host.Log().modified.empty());
    EXPECT_TRUE(host.Log().modified.front());
    EXPECT_EQ(host.Log().positions.back(), (Pos{3, 19, 3, 19}));

    // Select "counter" by dragging, copy with Ctrl+C through the clipboard.
    wxPoint from = host.PointOf(4, 2), to = host.PointOf(11, 2);
    host.Drag(from.x, from.y, to.x, to.y);
    EXPECT_TRUE(host.Pad().GetBCanCopy());
    host.Key('C', wxMOD_CONTROL);
    EXPECT_EQ(ClipboardText(), "counter");
    EXPECT_TRUE(host.Pad().GetBCanPaste());

    // Paste it with Shift+Insert at the start of line 4, then undo it with Ctrl+Z.
    wxPoint start = host.PointOf(0, 4);
    host.Click(start.x, start.y);
    host.Key(WXK_INSERT, wxMOD_SHIFT);
    EXPECT_EQ(host.Pad().GetLine(4), L"counterint value4;");
    host.Key('Z', wxMOD_CONTROL);
    EXPECT_EQ(host.Pad().GetLine(4), L"int value4;");
    EXPECT_TRUE(host.Pad().GetBCanRedo());

    // A multi-line copy goes to the clipboard with LF line ends and comes back.
    host.Pad().SetSelection(4, 5, 5, 4);
    host.Pad().EditCopy();
    EXPECT_EQ(ClipboardText(), "WRITELN(\"hello\");\nint");
    host.Pad().LocatePos(40, 1);
    host.Pad().EditPaste();
    EXPECT_EQ(host.Pad().GetLine(39), L"WRITELN(\"hello\");");
    EXPECT_EQ(host.Pad().GetLine(40), L"intint value39;");
    host.Pad().EditUndo();
    EXPECT_EQ(host.Pad().GetTextSize(), 40);

    // The wheel scrolls five lines a notch, and back.
    host.Pad().LocatePos(1, 1);
    host.Wheel(-120);
    EXPECT_EQ(host.Model().GetFirstVisibleLine(), 5);
    host.Wheel(120);
    EXPECT_EQ(host.Model().GetFirstVisibleLine(), 0);
    host.Scroll(wxEVT_SCROLLWIN_LINEDOWN, wxVERTICAL);
    EXPECT_EQ(host.Model().GetFirstVisibleLine(), 1);
    host.Scroll(wxEVT_SCROLLWIN_TOP, wxVERTICAL);
    EXPECT_EQ(host.Model().GetFirstVisibleLine(), 0);

    // A break point on line 3 ("int counter;").
    host.Pad().LocatePos(3, 1);
    host.Pad().EditBreakPoint();
    EXPECT_EQ(host.Model().Document().Text().IsBreakPoint(2), 1);

    // The picture: the caret on line 5, a selection over "hello" on line 4.
    host.Pad().SetSelection(4, 14, 4, 19);
    host.Pad().LocatePos(5, 3);
    host.Pad().SetSelection(4, 14, 4, 19);
    wxImage shot = host.Screenshot();
    Host::Save(shot, "session");

    int cw = host.CharWidth(), lh = host.LineHeight();
    const int editorLeft = 21;
    // The break-point circle's centre on line 3, and the dithered strip beside it.
    EXPECT_TRUE(SameColour(shot, 10, 2 * lh + lh / 2, colour::BreakFore)) << ColourAt(shot, 10, 2 * lh + lh / 2);
    EXPECT_TRUE(SameColour(shot, 0, 0 * lh, colour::BreakBack) || SameColour(shot, 0, 0, 0xFFFFFF));
    // Selected "hello" on line 4: navy behind white text.
    // The glyphs cover some of their cells, so the cells' most common colour is the ground.
    const wxRect hello(editorLeft + 4 + 14 * cw, 3 * lh, 5 * cw, lh);
    EXPECT_EQ(quv::test::GroundOf(shot, hello), quv::test::ColourOfRef(colour::SelectionBack))
        << quv::test::GroundOf(shot, hello).GetAsString().ToStdString();
    // The selection ends the caret line's highlight: after the text the line is plain.
    int right = 300;
    EXPECT_TRUE(SameColour(shot, right, 3 * lh + lh / 2, colour::CurrentLine)) << ColourAt(shot, right, 3 * lh + 1);
    EXPECT_TRUE(SameColour(shot, right, 5 * lh + lh / 2, colour::Background));
    // Some pixel of "int" on line 6 is keyword blue; some pixel of the comment is green.
    const wxImage* picture = &shot;
    // Ink of the colour over the ground its line shows.
    auto anyPixel = [&](int line, int col0, int col1, uint32_t ref) {
        const wxImage& shot = *picture;
        const wxRect row(editorLeft, line * lh, shot.GetWidth() - editorLeft, lh);
        const wxRect cells(editorLeft + 4 + col0 * cw, line * lh, (col1 - col0) * cw, lh);
        return quv::test::CountInk(shot, cells, quv::test::ColourOfRef(ref), quv::test::GroundOf(shot, row)) > 0;
    };
    EXPECT_TRUE(anyPixel(5, 0, 3, colour::Keyword));
    EXPECT_TRUE(anyPixel(1, 0, 10, colour::Comment));

    // Scrolled down a notch with a selection over three lines: line 6 is at
    // the top, the break point of line 3 is out of view.
    host.Pad().SetSelection(7, 5, 9, 3);
    host.Wheel(-120);
    ASSERT_EQ(host.Model().GetFirstVisibleLine(), 5);
    wxImage scrolled = host.Screenshot();
    Host::Save(scrolled, "session-scrolled");
    picture = &scrolled;
    EXPECT_TRUE(anyPixel(0, 0, 3, colour::Keyword));
    int top = lh / 2;
    EXPECT_FALSE(SameColour(scrolled, 10, top, colour::BreakFore));
    // Line 8 (the third visible) is selected across its whole text: the space
    // after "int" shows the selection background.
    int spaceX = editorLeft + 4 + 3 * cw + cw / 2;
    EXPECT_TRUE(SameColour(scrolled, spaceX, 2 * lh + lh / 2, colour::SelectionBack))
        << ColourAt(scrolled, spaceX, 2 * lh + lh / 2);
    EXPECT_EQ(host.Editor().GetScrollPos(wxVERTICAL), 5);
}

} // namespace
} // namespace quvpad::test
