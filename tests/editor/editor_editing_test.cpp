// Scripted editing sessions: typing, Enter, Backspace, Delete, selections, and
// the undo and redo of every session.
#include <gtest/gtest.h>

#include <functional>

#include "fake_ports.hpp"

using namespace quvpad;
using namespace quvpad::test;

namespace {
using Pos = std::pair<int, int>;   // (column, line)
using TextLines = std::vector<std::string>;
struct EditingTest : ::testing::Test, EditorFixture {};

struct Session {
    const char* name;
    std::string text;
    Pos anchor, caret;
    std::function<void(EditingTest&)> script;
    TextLines lines;
    Pos caretAfter, anchorAfter;
    size_t undoSteps;
};

const std::string kZhong = "\xD6\xD0";   // 中

const Session sessions[] = {
    {"type over a selection", "abcd\n", {1, 0}, {3, 0}, [](EditingTest& t) { t.Type("x"); },
     {"axd"}, {2, 0}, {2, 0}, 1},
    {"type a word", "ab\n", {1, 0}, {1, 0}, [](EditingTest& t) { t.Type("xyz"); },
     {"axyzb"}, {4, 0}, {4, 0}, 3},
    {"enter splits without indenting", "  abcd\n", {4, 0}, {4, 0}, [](EditingTest& t) { t.Type("\r"); },
     {"  ab", "cd"}, {0, 1}, {0, 1}, 1},
    {"ctrl+enter breaks the line too", "abcd\n", {2, 0}, {2, 0}, [](EditingTest& t) { t.Key(KeyReturn, ModControl); },
     {"ab", "cd"}, {0, 1}, {0, 1}, 1},
    {"enter at the end of the text", "ab\n", {2, 0}, {2, 0}, [](EditingTest& t) { t.Type("\rc"); },
     {"ab", "c"}, {1, 1}, {1, 1}, 2},
    {"backspace joins lines", "ab\ncd\n", {0, 1}, {0, 1}, [](EditingTest& t) { t.Key(KeyBack); },
     {"abcd"}, {2, 0}, {2, 0}, 1},
    {"backspace in a line", "abc\n", {2, 0}, {2, 0}, [](EditingTest& t) { t.Key(KeyBack); },
     {"ac"}, {1, 0}, {1, 0}, 1},
    {"backspace at the start of the text", "abc\n", {0, 0}, {0, 0}, [](EditingTest& t) { t.Key(KeyBack); },
     {"abc"}, {0, 0}, {0, 0}, 0},
    {"delete in a line", "abc\n", {1, 0}, {1, 0}, [](EditingTest& t) { t.Key(KeyDelete); },
     {"ac"}, {1, 0}, {1, 0}, 1},
    {"delete joins the next line", "ab\ncd\n", {2, 0}, {2, 0}, [](EditingTest& t) { t.Key(KeyDelete); },
     {"abcd"}, {2, 0}, {2, 0}, 1},
    {"delete at the end of the last line", "ab\ncd\n", {2, 1}, {2, 1}, [](EditingTest& t) { t.Key(KeyDelete); },
     {"ab", "cd"}, {2, 1}, {2, 1}, 0},
    {"tab to the next stop", "abcde\n", {5, 0}, {5, 0}, [](EditingTest& t) { t.Type("\t"); },
     {"abcde   "}, {8, 0}, {8, 0}, 1},
    {"control characters are ignored", "ab\n", {1, 0}, {1, 0}, [](EditingTest& t) { t.Type(std::string("\x01\x1b\x7f\n\b", 5)); },
     {"ab"}, {1, 0}, {1, 0}, 0},
    {"high bytes are typed", "ab\n", {1, 0}, {1, 0}, [](EditingTest& t) { t.Type("\x80\xFF"); },
     {"a\x80\xFF" "b"}, {3, 0}, {3, 0}, 2},
    {"delete a selection over four lines", "aaaa\nbbbb\ncccc\ndddd\n", {1, 3}, {2, 0},
     [](EditingTest& t) { t.Key(KeyDelete); }, {"aaddd"}, {2, 0}, {2, 0}, 1},
    {"backspace over a selection upwards", "aaaa\nbbbb\ncccc\n", {3, 0}, {1, 2},
     [](EditingTest& t) { t.Key(KeyBack); }, {"aaaccc"}, {3, 0}, {3, 0}, 1},
    {"enter replaces a selection", "abcd\nef\n", {1, 0}, {1, 1}, [](EditingTest& t) { t.Type("\r"); },
     {"a", "f"}, {0, 1}, {0, 1}, 1},
    // double-byte characters
    {"backspace removes a whole character", "a" + kZhong + "b\n", {3, 0}, {3, 0},
     [](EditingTest& t) { t.Key(KeyBack); }, {"ab"}, {1, 0}, {1, 0}, 1},
    {"delete removes a whole character", "a" + kZhong + "b\n", {1, 0}, {1, 0},
     [](EditingTest& t) { t.Key(KeyDelete); }, {"ab"}, {1, 0}, {1, 0}, 1},
    {"a character typed in two halves is one step", "ab\n", {1, 0}, {1, 0},
     [](EditingTest& t) { t.Type(kZhong); }, {"a" + kZhong + "b"}, {3, 0}, {3, 0}, 1},
    {"a character typed as one code", "ab\n", {1, 0}, {1, 0},
     [](EditingTest& t) { t.model.OnChar(0xD6D0); }, {"a" + kZhong + "b"}, {3, 0}, {3, 0}, 1},
    {"a lead byte without its trail is dropped", "ab\n", {1, 0}, {1, 0},
     [](EditingTest& t) { t.Type("\xD6" "0"); }, {"a0b"}, {2, 0}, {2, 0}, 1},
};

} // namespace

TEST_F(EditingTest, SessionsAndTheirUndoRoundTrips)
{
    for (const Session& s : sessions) {
        Load(s.text);
        model.SetSelection(s.anchor.first, s.anchor.second, s.caret.first, s.caret.second);
        const std::string before = model.GetText();
        s.script(*this);
        EXPECT_EQ(Lines(), s.lines) << s.name;
        EXPECT_EQ(Caret(), s.caretAfter) << s.name;
        EXPECT_EQ(Anchor(), s.anchorAfter) << s.name;
        EXPECT_EQ(model.Document().UndoDeque().size(), s.undoSteps) << s.name;
        EXPECT_EQ(win.positions.back(), (PosEvent{s.caretAfter.second + 1, s.caretAfter.first + 1,
                                                  s.anchorAfter.second + 1, s.anchorAfter.first + 1}))
            << s.name;

        const std::string after = model.GetText();
        while (model.CanUndo())
            model.Undo();
        EXPECT_EQ(model.GetText(), before) << s.name;
        while (model.CanRedo())
            model.Redo();
        EXPECT_EQ(model.GetText(), after) << s.name;
    }
}

TEST_F(EditingTest, TypingOverASelectionRecordsBothReplacements)
{
    Load("abcd\n");
    model.SetSelection(1, 0, 3, 0);
    Type("x");
    ASSERT_EQ(model.Document().UndoDeque().size(), 1u);
    const auto& ops = model.Document().UndoDeque().back().Ops();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].kind, OpReplaceLine);
    EXPECT_EQ(ops[0].text, "abcd");
    EXPECT_EQ(ops[1].kind, OpReplaceLine);
    EXPECT_EQ(ops[1].text, "ad");
}

TEST_F(EditingTest, ModifiedChangedFiresOnceForTheFirstEdit)
{
    Load("ab\n");
    EXPECT_FALSE(model.IsModified());
    Type("x");
    Type("y");
    Key(KeyBack);
    EXPECT_EQ(win.modifiedEvents, std::vector<bool>{true});
    model.SetModified(false);
    model.SetModified(false);
    EXPECT_EQ(win.modifiedEvents, (std::vector<bool>{true, false}));
}

TEST_F(EditingTest, UndoAndRedoWithNothingToReplayChangeNothing)
{
    Load("ab\n");
    model.Undo();
    model.Redo();
    EXPECT_FALSE(model.IsModified());
    EXPECT_TRUE(win.modifiedEvents.empty());
    EXPECT_TRUE(win.positions.empty());
    EXPECT_EQ(Lines(), TextLines{"ab"});
}

TEST_F(EditingTest, UndoRestoresTheCaretAndAnEditEmptiesRedo)
{
    Load("ab\n");
    model.LocatePos(1, 2);
    Type("x");
    model.SetModified(false);
    model.Undo();
    EXPECT_EQ(Lines(), TextLines{"ab"});
    EXPECT_EQ(Caret(), Pos(1, 0));
    EXPECT_TRUE(model.IsModified());
    EXPECT_TRUE(model.QueryCommand(EditCommand::Redo).enabled);
    Type("y");
    EXPECT_FALSE(model.QueryCommand(EditCommand::Redo).enabled);
}

TEST_F(EditingTest, ThreeRemovedLinesComeBackInOrder)
{
    Load("a\nb\nc\nd\ne\n");
    model.SetSelection(0, 1, 0, 4);
    Key(KeyDelete);
    EXPECT_EQ(Lines(), (TextLines{"a", "e"}));
    model.Undo();
    EXPECT_EQ(Lines(), (TextLines{"a", "b", "c", "d", "e"}));
    model.Redo();
    EXPECT_EQ(Lines(), (TextLines{"a", "e"}));
}

TEST_F(EditingTest, UndoingAnInsertedLineLeavesADeleteToRedo)
{
    Load("abcd\n");
    model.LocatePos(1, 3);
    Type("\r");
    model.Undo();
    ASSERT_EQ(model.Document().RedoDeque().size(), 1u);
    const auto& ops = model.Document().RedoDeque().back().Ops();
    ASSERT_EQ(ops.size(), 2u);
    EXPECT_EQ(ops[0].kind, OpDeleteLine);
    EXPECT_EQ(ops[0].text, "cd");
    EXPECT_EQ(ops[1].kind, OpReplaceLine);
    EXPECT_EQ(ops[1].text, "ab");
}

TEST_F(EditingTest, CommandsAreEnabledByTheirRules)
{
    Load("ab\ncd\n");
    struct Row { EditCommand command; bool enabled; };
    auto check = [&](std::initializer_list<Row> rows, const char* when) {
        for (const Row& r : rows)
            EXPECT_EQ(model.QueryCommand(r.command).enabled, r.enabled) << when << " " << static_cast<int>(r.command);
    };
    check({{EditCommand::Undo, false}, {EditCommand::Redo, false}, {EditCommand::Cut, false},
           {EditCommand::Copy, false}, {EditCommand::Paste, false}, {EditCommand::SelectAll, true},
           {EditCommand::BreakPoint, true}},
          "fresh");
    Type("x");
    win.hasClipboardText = true;
    model.DoCommand(EditCommand::SelectAll);
    EXPECT_EQ(Anchor(), Pos(0, 0));
    EXPECT_EQ(Caret(), Pos(2, 1));
    check({{EditCommand::Undo, true}, {EditCommand::Cut, true}, {EditCommand::Copy, true}, {EditCommand::Paste, true}},
          "edited");
    win.clipboardOpens = false;
    check({{EditCommand::Paste, false}}, "clipboard busy");
}

TEST_F(EditingTest, BreakPointCommandTogglesTheCaretLine)
{
    Load("a\nb\nc\n");
    model.LocatePos(2, 1);
    model.DoCommand(EditCommand::BreakPoint);
    EXPECT_TRUE(model.QueryCommand(EditCommand::BreakPoint).checked);
    EXPECT_EQ(win.marginLines, std::vector<int>{1});
    model.LocatePos(1, 1);
    EXPECT_FALSE(model.QueryCommand(EditCommand::BreakPoint).checked);
    Type("\r");   // a line inserted above moves the break point down
    EXPECT_EQ(model.Document().Text().BreakPoints(), (std::vector<int>{0, 0, 1, 0}));
    Key(KeyBack);
    EXPECT_EQ(model.Document().Text().BreakPoints(), (std::vector<int>{0, 1, 0}));
}

TEST_F(EditingTest, AcceleratorsRunTheirCommands)
{
    Load("ab\n");
    Type("x");
    EXPECT_TRUE(model.TranslateAccelerator('Z', ModControl));
    EXPECT_EQ(Lines(), TextLines{"ab"});
    EXPECT_TRUE(model.TranslateAccelerator('Y', ModControl));
    EXPECT_EQ(Lines(), TextLines{"xab"});
    EXPECT_TRUE(model.TranslateAccelerator(KeyBack, ModAlt));
    EXPECT_EQ(Lines(), TextLines{"ab"});
    EXPECT_TRUE(model.TranslateAccelerator('A', ModControl));
    EXPECT_EQ(Caret(), Pos(2, 0));
    EXPECT_TRUE(model.TranslateAccelerator('C', ModControl));
    EXPECT_EQ(win.clipboard, "ab");
    EXPECT_TRUE(model.TranslateAccelerator(KeyDelete, ModShift));
    EXPECT_EQ(Lines(), TextLines{""});
    EXPECT_TRUE(model.TranslateAccelerator(KeyInsert, ModShift));
    EXPECT_EQ(Lines(), TextLines{"ab"});
    EXPECT_FALSE(model.TranslateAccelerator('V', ModControl));
    EXPECT_FALSE(model.TranslateAccelerator('Z', ModNone));
}

// Bytes that are no GBK text (here a UTF-8 file's 中, E4 B8 AD): an edit can
// make a stray lead byte pair with the byte after it. The characters are those
// that decoding the line from its start finds, and after every edit the caret
// goes back to the start of the character it stands in.
TEST_F(EditingTest, EditsLeaveTheCaretOnACharacterStartOfTheDecodedLine)
{
    const std::string utf8Zhong = "\xE4\xB8\xAD";
    struct Case {
        const char* name;
        std::string text;
        Pos anchor, caret;
        std::function<void(EditingTest&)> script;
        std::string line;
        int caretAfter;
    };
    const Case cases[] = {
        {"delete pairs a stray lead byte with the next one", utf8Zhong + " a", {3, 0}, {3, 0},
         [](EditingTest& t) { t.Key(KeyDelete); }, utf8Zhong + "a", 2},
        {"backspace then removes the pair before the caret whole", utf8Zhong + " a", {3, 0}, {3, 0},
         [](EditingTest& t) { t.Key(KeyDelete); t.Key(KeyBack); }, "\xAD" "a", 0},
        {"delete after a lone lead byte at the line start", "\xD6 x", {1, 0}, {1, 0},
         [](EditingTest& t) { t.Key(KeyDelete); }, "\xD6x", 0},
        {"a deleted selection joins a lead byte to a letter", "\xE4  ab", {1, 0}, {3, 0},
         [](EditingTest& t) { t.Key(KeyDelete); }, "\xE4" "ab", 0},
        {"pasted text ending in a lead byte", "ab", {0, 0}, {0, 0},
         [](EditingTest& t) {
             t.win.clipboard = "x\xE4";
             t.win.hasClipboardText = true;
             t.model.Paste();
         },
         "x\xE4" "ab", 1},
        {"replaced selection ending in a lead byte", "abcd", {1, 0}, {2, 0},
         [](EditingTest& t) { t.model.ReplaceSelection("\xD6"); }, "a\xD6" "cd", 1},
        {"a typed letter after a lone lead byte", "\xD6 x", {1, 0}, {1, 0},
         [](EditingTest& t) { t.Type("y"); }, "\xD6y x", 2},
        {"edits that pair nothing keep the caret", "a" + kZhong + "b", {3, 0}, {3, 0},
         [](EditingTest& t) { t.Type("c"); }, "a" + kZhong + "cb", 4},
    };
    for (const Case& c : cases) {
        Load(c.text + "\n");
        model.SetSelection(c.anchor.first, c.anchor.second, c.caret.first, c.caret.second);
        c.script(*this);
        EXPECT_EQ(model.GetLine(0), c.line) << c.name;
        EXPECT_EQ(Caret(), Pos(c.caretAfter, 0)) << c.name;
        EXPECT_EQ(Anchor(), Pos(c.caretAfter, 0)) << c.name;
        EXPECT_EQ(win.positions.back(), (PosEvent{1, c.caretAfter + 1, 1, c.caretAfter + 1})) << c.name;
        // Undone, the text and the caret are as before.
        while (model.CanUndo())
            model.Undo();
        EXPECT_EQ(model.GetLine(0), c.text) << c.name;
    }
}

// The host may paint at every PosChanged: undo reports no selection between
// where the caret was and where it goes, and repaints a selection it drops.
TEST_F(EditingTest, UndoReportsNoHalfMovedSelectionAndRepaintsTheOneItDrops)
{
    std::string text;
    for (int i = 0; i < 30; ++i)
        text += "line\n";
    Load(text);
    model.LocatePos(25, 3);
    Type("x");
    model.SetSelection(0, 0, 2, 5);
    win.positions.clear();
    win.invalidated.clear();
    model.Undo();
    EXPECT_EQ(model.GetLine(24), "line");
    EXPECT_EQ(Caret(), Pos(2, 24));
    for (const PosEvent& e : win.positions)
        EXPECT_TRUE(e.caretLine == e.anchorLine && e.caretColumn == e.anchorColumn)
            << e.caretLine << "," << e.caretColumn << " " << e.anchorLine << "," << e.anchorColumn;
    bool repainted = false;
    for (const auto& [rect, erase] : win.invalidated)
        repainted = repainted || rect.top <= 0;
    EXPECT_TRUE(repainted);
}

TEST_F(EditingTest, UndoGivesBackTheSelectionTheStepBeganWith)
{
    // Deleting a selection first puts its ends in order; undo still gives back
    // caret and anchor where they were, and redo the state undo left.
    struct Row { const char* name; Pos anchor, caret; std::function<void(EditingTest&)> edit; };
    const Row rows[] = {
        {"one line, caret first", {3, 0}, {1, 0}, [](EditingTest& t) { t.Key(KeyDelete); }},
        {"one line, anchor first", {1, 0}, {3, 0}, [](EditingTest& t) { t.Key(KeyBack); }},
        {"lines, caret above", {2, 2}, {1, 0}, [](EditingTest& t) { t.Type("x"); }},
        {"lines, caret below", {1, 0}, {2, 2}, [](EditingTest& t) { t.Type("\r"); }},
        {"cut", {1, 2}, {0, 1}, [](EditingTest& t) { t.model.TranslateAccelerator('X', ModControl); }},
    };
    for (const Row& r : rows) {
        Load("abcd\nefgh\nijkl\n");
        model.SetSelection(r.anchor.first, r.anchor.second, r.caret.first, r.caret.second);
        r.edit(*this);
        const TextLines after = Lines();
        const Pos caretAfter = Caret(), anchorAfter = Anchor();
        model.Undo();
        EXPECT_EQ(Lines(), (TextLines{"abcd", "efgh", "ijkl"})) << r.name;
        EXPECT_EQ(Anchor(), r.anchor) << r.name;
        EXPECT_EQ(Caret(), r.caret) << r.name;
        model.Redo();
        EXPECT_EQ(Lines(), after) << r.name;
        EXPECT_EQ(Caret(), caretAfter) << r.name;
        EXPECT_EQ(Anchor(), anchorAfter) << r.name;
    }
}
