// A paste, undo, redo, cut and its undo of many lines, with real keys through
// the X server: each paints the editor and updates the status bar a few times
// at most, not once a line, and leaves exactly the lines it should.
#include <string>

#include <gtest/gtest.h>
#include <wx/statusbr.h>

#include "editor/wx/color_edit_wnd.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "tests/ide/x_input.hpp"

namespace ide::test {
namespace {

// Counts the paints of a window and lets them through.
class PaintCounter : public wxEvtHandler {
public:
    explicit PaintCounter(wxWindow& window) : window_(window)
    {
        window_.PushEventHandler(this);
        Bind(wxEVT_PAINT, [this](wxPaintEvent& e) {
            ++paints;
            e.Skip();
        });
    }
    ~PaintCounter() override { window_.RemoveEventHandler(this); }
    int paints = 0;

private:
    wxWindow& window_;
};

TEST(LargeEdits, EachPaintsOnceWhateverTheLinesAndLeavesTheRightText)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    const int count = 20000;
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "LB = l" + std::to_string(i) + " => $O x = x + 1 ^ $OLB = NEXT;\n";
    wxDocument* source = OpenDocument(Write("large.e", text));
    ASSERT_NE(source, nullptr);
    FocusEditor(source);
    quvpad::ColorEditWnd* sourceEditor = EditorIn(PadOf(source).GetWindow());
    ASSERT_NE(sourceEditor, nullptr);
    PressKeys(*sourceEditor, "ctrl+a ctrl+c ctrl+n");
    ASSERT_TRUE(PumpFor(30, [&] {
        CQuvBenchView* view = ViewOf(wxGetApp().DocManager()->GetCurrentDocument());
        return view && view->GetDocument() != source && PadOf(view->GetDocument()).HasEditorFocus();
    }));
    wxDocument* doc = wxGetApp().DocManager()->GetCurrentDocument();
    quvpad::ColorEditWnd& editor = *EditorIn(PadOf(doc).GetWindow());
    wxStatusBar& status = *Frame().GetStatusBar();

    struct Step {
        const char* keys;
        long lines;      // in the document after the keys
        bool holdsText;  // the source's lines, else one empty line
        std::string position;
    };
    const std::string lastLine = "LB = l" + std::to_string(count - 1) + " => $O x = x + 1 ^ $OLB = NEXT;";
    const std::string atEnd = "Ln" + std::to_string(count) + ", Col" + std::to_string(lastLine.size() + 1);
    const Step steps[] = {
        {"ctrl+v", count, true, atEnd},          // paste
        {"ctrl+z", 1, false, "Ln1, Col1"},       // its undo
        {"ctrl+y", count, true, atEnd},          // redo
        {"ctrl+a ctrl+x", 1, false, "Ln1, Col1"},  // cut
        {"ctrl+z", count, true, atEnd},          // the cut undone
    };
    for (const Step& step : steps) {
        const std::string at = step.keys + std::string(" after ") + std::to_string(&step - steps) + " steps";
        {
            PaintCounter editorPaints(editor), statusPaints(status);
            PressKeys(editor, step.keys);
            ASSERT_TRUE(PumpFor(60, [&] {
                return PadOf(doc).GetTextSize() == step.lines && StatusPosition() == step.position;
            })) << at << ": " << PadOf(doc).GetTextSize() << " lines, " << StatusPosition();
            Pump(40);
            // A paint for the edit, and one the key or the busy cursor may add.
            EXPECT_LE(editorPaints.paints, 3) << at;
            EXPECT_LE(statusPaints.paints, 2) << at;
        }
        EXPECT_EQ(PadOf(doc).UnloadText().utf8_string(), step.holdsText ? text : "\n") << at;
        if (&step == &steps[2])
            SaveScreenshot(Screenshot(&Frame()), "large_edit_redone");
    }
    SaveScreenshot(Screenshot(&Frame()), "large_edit_cut_undone");
    EXPECT_TRUE(answers.asked.empty());
}

} // namespace
} // namespace ide::test
