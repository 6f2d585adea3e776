// What a key and a mouse move cost the editor in lines drawn, with real input
// through the X server in a window full of text: a typed character and an
// arrow key draw the few lines they touch, a mouse move none, however often
// the window system asks for the editor's pixels again.
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "editor/wx/color_edit_wnd.hpp"
#include "screen_grab.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "tests/ide/x_input.hpp"

namespace ide::test {
namespace {

TEST(PaintCost, AKeyDrawsItsLinesAndAMouseMoveNone)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += "LB = l" + std::to_string(i) + " => $O x = x + 1 ^ $OLB = NEXT; { a comment } 'str' 12345\n";
    wxDocument* doc = OpenDocument(Write("paint_cost.e", text));
    ASSERT_NE(doc, nullptr);
    FocusEditor(doc);
    quvpad::ColorEditWnd& editor = *EditorIn(PadOf(doc).GetWindow());
    const int visible = editor.Model().GetVisibleLines(true);
    ASSERT_GE(visible, 12) << "the editor shows too few lines to tell a line from the view";
    const wxSize size = editor.GetClientSize();
    ClickAt(editor, wxPoint(size.x / 2, size.y / 3));
    ASSERT_TRUE(PumpUntil([&] { return editor.Model().CaretLine() > 0; }));
    Pump(20);

    struct Step {
        const char* what;
        std::function<void()> input;
        std::function<bool()> done;
        long most;   // lines drawn at most
        long paints;   // paints of what changed: one a key, however many steps it takes
    };
    const int line = editor.Model().CaretLine();
    const std::string before = editor.Model().GetLine(line);
    const Step steps[] = {
        // The caret line, grown by a few pixels into its neighbours, with the
        // lines that can draw into those.
        {"typed character", [&] { PressKeys(editor, "x"); },
         [&] { return editor.Model().GetLine(line).size() == before.size() + 1; }, 5, 1},
        {"arrow key", [&] { PressKeys(editor, "Down"); }, [&] { return editor.Model().CaretLine() == line + 1; }, 5, 1},
        // The lines below move by a line: they are copied, not drawn again.
        // The join draws the line that comes into view at the bottom too, and
        // the lines beside those the keys before drew. Enter breaks the line
        // with the character after its key, and the window is painted once.
        {"Enter", [&] { PressKeys(editor, "Return"); }, [&] { return editor.Model().CaretLine() == line + 2; }, 8, 1},
        {"Backspace at a line start", [&] { PressKeys(editor, "BackSpace"); },
         [&] { return editor.Model().CaretLine() == line + 1; }, 14, 1},
        {"mouse move", [&] {
             Xdotool("mousemove " + std::to_string(editor.ClientToScreen(wxPoint(size.x / 8, size.y / 2)).x) + " " +
                     std::to_string(editor.ClientToScreen(wxPoint(size.x / 8, size.y / 2)).y) + " sleep 0.2 mousemove " +
                     std::to_string(editor.ClientToScreen(wxPoint(size.x * 7 / 8, size.y / 3)).x) + " " +
                     std::to_string(editor.ClientToScreen(wxPoint(size.x * 7 / 8, size.y / 3)).y));
         },
         [] { return true; }, 0, 0},
    };
    for (const Step& step : steps) {
        const long drawn = editor.LinesPainted();
        const long paints = editor.ChangedPaints();
        step.input();
        ASSERT_TRUE(PumpUntil(step.done)) << step.what;
        // Whatever the key or the move set going (the scroll bars, the
        // status bar, a blinking caret) has come and gone.
        Pump(60);
        EXPECT_LE(editor.LinesPainted() - drawn, step.most) << step.what << " in a view of " << visible << " lines";
        EXPECT_EQ(editor.ChangedPaints() - paints, step.paints) << step.what;
    }
    SaveScreenshot(Screenshot(&Frame()), "paint_cost");
    EXPECT_TRUE(answers.asked.empty());
}

// The editor on the screen, but for the caret, which blinks over it.
wxImage EditorShown(quvpad::ColorEditWnd& editor)
{
    editor.Update();
    Pump(4);
    wxImage image = quv::test::GrabScreen(wxRect(editor.ClientToScreen(wxPoint(0, 0)), editor.GetClientSize()));
    const quvpad::EditorModel& model = editor.Model();
    const quvpad::Rect band = model.GetLineRect(model.CaretLine());
    const int x = model.XFromColumnOnLine(model.CaretColumn(), model.CaretLine());
    for (int y = std::max(0, band.top); y < std::min(band.bottom, image.GetHeight()); ++y)
        for (int cx = std::max(0, x - 4); cx < std::min(x + 5, image.GetWidth()); ++cx)
            image.SetRGB(cx, y, 255, 0, 255);
    return image;
}

TEST(PaintCost, LinesMovedByAKeyShowWhatDrawingThemShows)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    // Colours of every kind, a comment over several lines and lines alike.
    std::string text;
    for (int i = 0; i < 120; ++i) {
        if (i % 10 == 3)
            text += "/* a comment that goes on\n";
        else if (i % 10 == 5)
            text += "   and ends here */ LB = e => $O y = 'quoted' ^ $OLB = NEXT;\n";
        else if (i % 7 == 0)
            text += "\n";
        else
            text += "LB = l" + std::to_string(i % 4) + " => $O x = x + 1 ^ $OLB = NEXT; { note } 'str' 12345 WMm@%\n";
    }
    wxDocument* doc = OpenDocument(Write("rows_moved.e", text));
    ASSERT_NE(doc, nullptr);
    FocusEditor(doc);
    quvpad::ColorEditWnd& editor = *EditorIn(PadOf(doc).GetWindow());
    const wxSize size = editor.GetClientSize();
    ClickAt(editor, wxPoint(size.x / 3, size.y / 4));
    ASSERT_TRUE(PumpUntil([&] { return editor.Model().CaretLine() > 0; }));
    Pump(20);
    const std::vector<std::string> keys = {"Return", "BackSpace", "Up Return", "Home BackSpace", "End Return Return",
                                           "Down Down Home BackSpace", "ctrl+Home Return", "Next Return", "Prior"};
    for (const std::string& key : keys) {
        const int lines = editor.Model().GetLineCount();
        const int caretLine = editor.Model().CaretLine();
        PressKeys(editor, key);
        ASSERT_TRUE(PumpUntil([&] {
            return editor.Model().GetLineCount() != lines || editor.Model().CaretLine() != caretLine;
        })) << key;
        Pump(40);
        const wxImage kept = EditorShown(editor);
        // Every line drawn again, in a font made anew.
        editor.Reconfigure(1);
        const wxImage drawn = EditorShown(editor);
        int differing = 0;
        for (int y = 0; y < kept.GetHeight(); ++y)
            for (int x = 0; x < kept.GetWidth(); ++x)
                differing += kept.GetRed(x, y) != drawn.GetRed(x, y) || kept.GetGreen(x, y) != drawn.GetGreen(x, y) ||
                             kept.GetBlue(x, y) != drawn.GetBlue(x, y);
        EXPECT_EQ(differing, 0) << "after " << key;
        if (differing)
            SaveScreenshot(kept, "rows_moved_kept"), SaveScreenshot(drawn, "rows_moved_drawn");
    }
    SaveScreenshot(Screenshot(&Frame()), "rows_moved");
    EXPECT_TRUE(answers.asked.empty());
}

} // namespace
} // namespace ide::test
