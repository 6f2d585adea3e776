// What a key and a mouse move cost the editor in lines drawn, with real input
// through the X server in a window full of text: a typed character and an
// arrow key draw the few lines they touch, a mouse move none, however often
// the window system asks for the editor's pixels again.
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "editor/wx/color_edit_wnd.hpp"
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
    };
    const int line = editor.Model().CaretLine();
    const std::string before = editor.Model().GetLine(line);
    const Step steps[] = {
        // The caret line, grown by a few pixels into its neighbours, with the
        // lines that can draw into those.
        {"typed character", [&] { PressKeys(editor, "x"); },
         [&] { return editor.Model().GetLine(line).size() == before.size() + 1; }, 5},
        {"arrow key", [&] { PressKeys(editor, "Down"); }, [&] { return editor.Model().CaretLine() == line + 1; }, 5},
        {"mouse move", [&] {
             Xdotool("mousemove " + std::to_string(editor.ClientToScreen(wxPoint(size.x / 8, size.y / 2)).x) + " " +
                     std::to_string(editor.ClientToScreen(wxPoint(size.x / 8, size.y / 2)).y) + " sleep 0.2 mousemove " +
                     std::to_string(editor.ClientToScreen(wxPoint(size.x * 7 / 8, size.y / 3)).x) + " " +
                     std::to_string(editor.ClientToScreen(wxPoint(size.x * 7 / 8, size.y / 3)).y));
         },
         [] { return true; }, 0},
    };
    for (const Step& step : steps) {
        const long drawn = editor.LinesPainted();
        step.input();
        ASSERT_TRUE(PumpUntil(step.done)) << step.what;
        // Whatever the key or the move set going (the scroll bars, the
        // status bar, a blinking caret) has come and gone.
        Pump(60);
        EXPECT_LE(editor.LinesPainted() - drawn, step.most) << step.what << " in a view of " << visible << " lines";
    }
    SaveScreenshot(Screenshot(&Frame()), "paint_cost");
    EXPECT_TRUE(answers.asked.empty());
}

} // namespace
} // namespace ide::test
