// The break-point margin's picture: a dithered strip per visible line and a
// circle of the smaller of width and line height less 4 for each break point.
#include <gtest/gtest.h>
#include <wx/dcmemory.h>

#include "editor/wx/break_point_wnd.hpp"
#include "quvpad_host.hpp"

namespace quvpad::test {
namespace {

wxImage DrawMargin(BreakPointWnd& margin, uint32_t fill = 0x00FF00FF)
{
    wxSize size = margin.GetClientSize();
    wxBitmap bitmap(size.x, size.y, 24);
    {
        wxMemoryDC dc(bitmap);
        dc.SetBackground(wxBrush(wxColour(fill & 0xFF, (fill >> 8) & 0xFF, (fill >> 16) & 0xFF)));
        dc.Clear();
        margin.Draw(dc);
    }
    return bitmap.ConvertToImage();
}

TEST(QuvPadMargin, StripsAreDitheredAndBreakPointsAreCircles)
{
    struct Case {
        int fontHeight;   // a small font makes the line lower than the margin is wide
    };
    for (Case c : {Case{-14}, Case{-8}}) {
        SCOPED_TRACE(c.fontHeight);
        Host host;
        host.Pad().ReConfigure(TestBlock(c.fontHeight), ConfigFont);
        host.Pad().LoadText(L"a\nb\nc", 2, 1);
        host.Pad().EditBreakPoint();
        wxImage image = DrawMargin(*host.Ctrl().Margin());
        int lh = host.LineHeight();
        ASSERT_EQ(image.GetWidth(), 20);
        // Grey where x + y is even within a strip, white where odd, every line.
        for (int line : {0, 1, 5}) {
            EXPECT_TRUE(SameColour(image, 0, line * lh, colour::BreakBack)) << line;
            EXPECT_TRUE(SameColour(image, 1, line * lh, 0x00FFFFFF)) << line;
        }
        // The circle of line 2, centred in its strip, and nothing beyond its diameter.
        int d = std::min(20, lh) - 4;
        int cy = lh + lh / 2;
        EXPECT_TRUE(SameColour(image, 10, cy, colour::BreakFore)) << ColourAt(image, 10, cy);
        EXPECT_FALSE(SameColour(image, 10 - d / 2 - 2, cy, colour::BreakFore));
        EXPECT_FALSE(SameColour(image, 10, cy - d / 2 - 2, colour::BreakFore));
        EXPECT_FALSE(SameColour(image, 10, lh / 2, colour::BreakFore));
        // Down to the bottom: nothing is left unpainted.
        for (int y = 0; y < image.GetHeight(); ++y)
            EXPECT_FALSE(SameColour(image, 3, y, 0x00FF00FF)) << y;
    }
}

// Scrolling by a line or by the thumb, and lines that come and go, move the
// break points with their lines on the screen.
TEST(QuvPadMargin, CirclesFollowTheirLines)
{
    Host host;
    std::wstring text;
    for (int i = 0; i < 60; ++i)
        text += L"line\n";
    host.Pad().LoadText(text, 4, 1);
    host.Pad().EditBreakPoint();
    int lh = host.LineHeight();
    auto circleAt = [&](const wxImage& shot, int row) { return SameColour(shot, 10, row * lh + lh / 2, colour::BreakFore); };
    wxImage before = host.Screenshot();
    EXPECT_TRUE(circleAt(before, 3));
    host.Scroll(wxEVT_SCROLLWIN_LINEDOWN, wxVERTICAL);
    wxImage line = host.Screenshot();
    EXPECT_TRUE(circleAt(line, 2));
    EXPECT_FALSE(circleAt(line, 3));
    host.Scroll(wxEVT_SCROLLWIN_THUMBTRACK, wxVERTICAL, 3);
    wxImage thumb = host.Screenshot();
    EXPECT_TRUE(circleAt(thumb, 0));
    EXPECT_FALSE(circleAt(thumb, 2));

    // A line broken above the break point pushes it down; undo brings it back.
    host.Scroll(wxEVT_SCROLLWIN_TOP, wxVERTICAL);
    host.Pad().LocatePos(2, 1);
    host.Key(WXK_RETURN, 0, '\r');
    wxImage broken = host.Screenshot();
    EXPECT_TRUE(circleAt(broken, 4));
    EXPECT_FALSE(circleAt(broken, 3));
    host.Pad().EditUndo();
    wxImage undone = host.Screenshot();
    EXPECT_TRUE(circleAt(undone, 3));
    EXPECT_FALSE(circleAt(undone, 4));
}

TEST(QuvPadMargin, AnUnlinkedMarginPaintsNothing)
{
    Host host;
    BreakPointWnd& margin = *host.Ctrl().Margin();
    margin.SetEditor(nullptr);
    wxImage image = DrawMargin(margin);
    EXPECT_TRUE(SameColour(image, 0, 0, 0x00FF00FF));
    EXPECT_TRUE(SameColour(image, 5, 30, 0x00FF00FF));
}

TEST(QuvPadMargin, TheControlPlacesMarginAndEditorAndLeavesColumnTwenty)
{
    Host host(500, 300);
    wxSize client = host.Ctrl().GetClientSize();
    EXPECT_EQ(host.Ctrl().Margin()->GetRect(), wxRect(0, 0, 20, client.y));
    EXPECT_EQ(host.Ctrl().Editor()->GetRect(), wxRect(21, 0, client.x - 21, client.y));
    EXPECT_FALSE(host.Ctrl().Margin()->IsEnabled());
    host.Frame().SetSize(600, 350);
    host.Pump();
    client = host.Ctrl().GetClientSize();
    EXPECT_EQ(host.Ctrl().Editor()->GetRect(), wxRect(21, 0, client.x - 21, client.y));
}

} // namespace
} // namespace quvpad::test
