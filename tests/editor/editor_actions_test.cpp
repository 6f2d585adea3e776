// What one command asks of the window and tells its host, however many lines
// it edits: the caret reported once with where it ended, and no window call
// per line. And what undo and redo repaint: every line that moved.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>

#include "fake_ports.hpp"

using namespace quvpad;
using namespace quvpad::test;

namespace {

std::string Lines(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "line " + std::to_string(i) + " = x + 1;\n";
    return text;
}

size_t TraceLines(const std::string& trace)
{
    std::istringstream in(trace);
    size_t n = 0;
    for (std::string line; std::getline(in, line);)
        ++n;
    return n;
}

TEST(EditorActions, ALargeEditReportsItsCaretOnceAndCallsTheWindowAFewTimes)
{
    struct Row {
        const char* name;
        std::function<void(EditorFixture&, const std::string&)> before, command;
    };
    auto pasted = [](EditorFixture& f, const std::string& text) {
        f.Load("");
        f.win.clipboard = text;
        f.win.hasClipboardText = true;
        f.model.DoCommand(EditCommand::Paste);
    };
    auto all = [](EditorFixture& f, const std::string& text) {
        f.Load(text);
        f.model.DoCommand(EditCommand::SelectAll);
    };
    auto undo = [](EditorFixture& f, const std::string&) { f.model.TranslateAccelerator('Z', ModControl); };
    const Row rows[] = {
        {"paste", [](EditorFixture& f, const std::string&) { f.Load(""); },
         [](EditorFixture& f, const std::string& text) {
             f.win.clipboard = text;
             f.win.hasClipboardText = true;
             f.model.DoCommand(EditCommand::Paste);
         }},
        {"undo of the paste", pasted, undo},
        {"redo of the paste", [&](EditorFixture& f, const std::string& text) { pasted(f, text), undo(f, text); },
         [](EditorFixture& f, const std::string&) { f.model.TranslateAccelerator('Y', ModControl); }},
        {"cut", all, [](EditorFixture& f, const std::string&) { f.model.TranslateAccelerator('X', ModControl); }},
        {"undo of the cut",
         [&](EditorFixture& f, const std::string& text) { all(f, text), f.model.DoCommand(EditCommand::Cut); }, undo},
        {"typing over the selection", all, [](EditorFixture& f, const std::string&) { f.Type("x"); }},
        {"delete of the selection", all, [](EditorFixture& f, const std::string&) { f.Key(KeyDelete); }},
        {"the selection replaced", all,
         [](EditorFixture& f, const std::string& text) { f.model.ReplaceSelection(text); }},
    };
    for (const Row& row : rows)
        for (int count : {30, 3000}) {
            EditorFixture f;
            const std::string text = Lines(count);
            row.before(f, text);
            f.win.positions.clear();
            f.win.modifiedEvents.clear();
            f.win.tracing = true;
            row.command(f, text);
            const std::string at = std::string(row.name) + " of " + std::to_string(count) + " lines";
            ASSERT_EQ(f.win.positions.size(), 1u) << at;
            EXPECT_EQ(f.win.positions.back(), (PosEvent{f.model.CaretLine() + 1, f.model.CaretColumn() + 1,
                                                        f.model.AnchorLine() + 1, f.model.AnchorColumn() + 1}))
                << at;
            EXPECT_LE(f.win.modifiedEvents.size(), 1u) << at;
            // Caret, clipboard, scroll bars, repaints and the events, each once or twice.
            EXPECT_LE(TraceLines(f.win.trace), 24u) << at << ":\n" << f.win.trace;
        }
}

TEST(EditorActions, UndoAndRedoRepaintEveryLineThatMoved)
{
    struct Row {
        const char* name;
        std::function<void(EditorFixture&)> edit, replay;
        int movedFrom;   // lines moved from this one to the window's bottom; -1 when none
        int caretLine;   // the line the caret ends on
    };
    auto undo = [](EditorFixture& f) { f.model.Undo(); };
    const Row rows[] = {
        {"undo of Enter", [](EditorFixture& f) { f.model.LocatePos(3, 3), f.Type("\r"); }, undo, 2, 2},
        {"redo of Enter", [](EditorFixture& f) { f.model.LocatePos(3, 3), f.Type("\r"), f.model.Undo(); },
         [](EditorFixture& f) { f.model.Redo(); }, 2, 3},
        {"undo of a cut of lines",
         [](EditorFixture& f) {
             f.model.SetSelection(0, 2, 0, 5);
             f.model.DoCommand(EditCommand::Cut);
         },
         undo, 2, 5},
        {"redo puts the caret where undo found it",
         [](EditorFixture& f) { f.model.LocatePos(7, 1), f.Type("x"), f.model.LocatePos(2, 1), f.model.Undo(); },
         [](EditorFixture& f) { f.model.Redo(); }, -1, 1},
    };
    for (const Row& row : rows) {
        EditorFixture f;
        f.Load(Lines(9));
        row.edit(f);
        f.win.invalidated.clear();
        row.replay(f);
        EXPECT_EQ(f.model.CaretLine(), row.caretLine) << row.name;
        auto covered = [&f](const Rect& band) {
            for (const auto& [rect, erase] : f.win.invalidated)
                if (rect.top <= band.top && rect.bottom >= band.bottom && rect.left <= 0 &&
                    rect.right >= f.win.client.width)
                    return true;
            return false;
        };
        if (row.movedFrom >= 0) {
            Rect moved = f.model.GetLineRect(row.movedFrom);
            moved.bottom = f.win.client.height;
            EXPECT_TRUE(covered(moved)) << row.name;
        }
        EXPECT_TRUE(covered(f.model.GetLineRect(row.caretLine))) << row.name;
    }
}

} // namespace
