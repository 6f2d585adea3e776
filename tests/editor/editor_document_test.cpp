// The document without a view: what it tells its watchers about each change,
// in order, and what undo and redo ask of the view they run for.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/editor.hpp"

using namespace quvpad;

namespace {

// Writes each report as a line of text.
class Recorder : public DocumentWatcher, public ReplayPositions {
public:
    void LineChanged(LineChange change, int line) override
    {
        const char* kind = change == LineChange::Inserted   ? "inserted "
                           : change == LineChange::Replaced ? "replaced "
                                                            : "deleted ";
        log.push_back(kind + std::to_string(line));
    }
    void TextCleared() override { log.push_back("cleared"); }
    void BreakPointToggled(int line) override { log.push_back("break point " + std::to_string(line)); }
    void ModifiedChanged(bool modified) override { log.push_back(modified ? "modified" : "unmodified"); }
    CaretAndAnchor BeforeReplay(const EditOp& op) override
    {
        log.push_back("show " + std::to_string(op.line));
        return now;
    }
    void AfterReplay(const EditOp& op) override
    {
        log.push_back("caret " + std::to_string(op.caretColumn) + "," + std::to_string(op.caretLine));
    }

    std::vector<std::string> log;
    CaretAndAnchor now{7, 7, 7, 7};
};

struct DocumentFixture {
    SettingsBlock settings;
    EditorDocument document{settings};
    Recorder recorder;

    // "ab", "cd", "ef" loaded as the view loads a text, without reports, and
    // nothing to undo.
    DocumentFixture()
    {
        document.ClearText({});
        document.SetModified(false);
        const LoadedLines loaded = document.LoadLines("ab\ncd\nef\n", 0);
        EXPECT_EQ(loaded.count, 3);
        EXPECT_FALSE(loaded.restIsLine);
        document.DropLastLine();
        document.FinishLoad();
        document.AddWatcher(recorder);
    }
    std::string Text() const { return document.GetText(); }
};

const CaretAndAnchor At{1, 0, 1, 0};

TEST(EditorDocument, TellsItsWatchersWhichLinesChanged)
{
    struct Case {
        const char* name;
        std::function<void(EditorDocument&)> edit;
        std::vector<std::string> reports;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"a line coloured at once", [](EditorDocument& d) { d.InsertLine("x", 1, true, At); }, {"inserted 1"},
         "ab\nx\ncd\nef\n"},
        {"a line coloured later", [](EditorDocument& d) { d.InsertLine("x", 3, false, At); }, {"inserted 3"},
         "ab\ncd\nef\nx\n"},
        {"a line replaced", [](EditorDocument& d) { d.SetLine("x", 0, At); }, {"replaced 0"}, "x\ncd\nef\n"},
        {"a line deleted", [](EditorDocument& d) { d.DeleteLine(2, At); }, {"deleted 2"}, "ab\ncd\n"},
        {"no line to delete", [](EditorDocument& d) { d.DeleteLine(3, At); }, {}, "ab\ncd\nef\n"},
        {"the store's own line dropped", [](EditorDocument& d) { d.DropLastLine(); }, {"deleted 2"}, "ab\ncd\n"},
        {"every line gone", [](EditorDocument& d) { d.ClearText(At); }, {"cleared", "modified"}, "\n"},
        {"a break point", [](EditorDocument& d) { d.ToggleBreakPoint(1); }, {"break point 1"}, "ab\ncd\nef\n"},
        {"modified once", [](EditorDocument& d) { d.SetModified(true); d.SetModified(true); d.SetModified(false); },
         {"modified", "unmodified"}, "ab\ncd\nef\n"},
        {"loaded lines", [](EditorDocument& d) { d.LoadLines("x\ny\n", 1); }, {}, "ab\nx\ny\ncd\nef\n"},
    };
    for (const Case& c : cases) {
        DocumentFixture f;
        c.edit(f.document);
        EXPECT_EQ(f.recorder.log, c.reports) << c.name;
        EXPECT_EQ(f.Text(), c.text) << c.name;
    }
}

TEST(EditorDocument, UndoAndRedoReplayLineByLineForTheView)
{
    DocumentFixture f;
    // A step that breaks line 0 after "a": the caret was at 1,0 when it began
    // and at 0,1 when the second line went in.
    f.document.BeginEditStep(At);
    f.document.SetLine("a", 0, At);
    f.document.InsertLine("b", 1, true, {0, 1, 0, 1});
    f.document.CommitUndoGroup();
    ASSERT_EQ(f.Text(), "a\nb\ncd\nef\n");
    f.recorder.log.clear();

    ASSERT_TRUE(f.document.Undo(f.recorder));
    EXPECT_EQ(f.Text(), "ab\ncd\nef\n");
    // Last edit first; each line is shown before it changes, and the caret
    // goes back to where it stood before that edit.
    EXPECT_EQ(f.recorder.log, (std::vector<std::string>{"show 1", "deleted 1", "caret 0,1", "show 0", "replaced 0",
                                                        "caret 1,0"}));
    // The inverse keeps where the view's caret stood at each line.
    ASSERT_EQ(f.document.RedoDeque().size(), 1u);
    for (const EditOp& op : f.document.RedoDeque().back().Ops())
        EXPECT_EQ(std::make_pair(op.caretColumn, op.caretLine), std::make_pair(7, 7));

    f.recorder.log.clear();
    ASSERT_TRUE(f.document.Redo(f.recorder));
    EXPECT_EQ(f.Text(), "a\nb\ncd\nef\n");
    EXPECT_EQ(f.recorder.log, (std::vector<std::string>{"show 0", "replaced 0", "caret 7,7", "show 1", "inserted 1",
                                                        "caret 7,7"}));
    EXPECT_FALSE(f.document.Redo(f.recorder));
    EXPECT_TRUE(f.document.CanUndo());
}

TEST(EditorDocument, AWatcherRemovedHearsNoMore)
{
    DocumentFixture f;
    Recorder other;
    f.document.AddWatcher(other);
    f.document.RemoveWatcher(f.recorder);
    f.document.SetLine("x", 0, At);
    EXPECT_TRUE(f.recorder.log.empty());
    EXPECT_EQ(other.log, (std::vector<std::string>{"replaced 0"}));
}

} // namespace
