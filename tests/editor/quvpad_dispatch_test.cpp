// Every dispatch method on a hosted control, one row each: what it does to the
// text, the caret and anchor, the modified flag and the events.
#include <functional>
#include <sys/stat.h>

#include <gtest/gtest.h>

#include "quvpad_host.hpp"

namespace quvpad::test {
namespace {

struct Row {
    DispId id;
    const char* what;
    const char* text;   // loaded with LoadText at line 1, column 1, then marked unmodified
    std::function<void(Host&)> act;
    std::function<void(Host&)> check;
};

std::vector<std::wstring> Lines(DQuvPad& pad)
{
    std::vector<std::wstring> out;
    for (long i = 0; i < pad.GetTextSize(); ++i)
        out.push_back(pad.GetLine(i));
    return out;
}

using L = std::vector<std::wstring>;

const Row kRows[] = {
    {DispFileNew, "sets the modified flag once and leaves the text", "abc",
     [](Host& h) { EXPECT_TRUE(h.Pad().FileNew()); EXPECT_TRUE(h.Pad().FileNew()); },
     [](Host& h) {
         EXPECT_EQ(h.Log().modified, std::vector<bool>{true});
         EXPECT_EQ(Lines(h.Pad()), (L{L"abc"}));
     }},
    {DispFileClose, "answers TRUE and does nothing else", "abc",
     [](Host& h) { EXPECT_TRUE(h.Pad().FileClose()); },
     [](Host& h) {
         EXPECT_TRUE(h.Log().modified.empty());
         EXPECT_TRUE(h.Log().positions.empty());
     }},
    {DispEditCopy, "puts the selection on the clipboard", "abcd\nefgh\nijkl",
     [](Host& h) { SetClipboardText("old"); h.Pad().SetSelection(1, 3, 3, 2); h.Pad().EditCopy(); },
     [](Host& h) {
         EXPECT_EQ(ClipboardText(), "cd\nefgh\ni");
         EXPECT_FALSE(h.Model().IsModified());
     }},
    {DispEditCopy, "without a selection leaves the clipboard as it was", "abcd",
     [](Host& h) { SetClipboardText("old"); h.Pad().EditCopy(); },
     [](Host& h) { EXPECT_EQ(ClipboardText(), "old"); }},
    {DispEditCut, "moves the selection to the clipboard as one undo step", "abcd",
     [](Host& h) { h.Pad().SetSelection(1, 2, 1, 4); h.Pad().EditCut(); },
     [](Host& h) {
         EXPECT_EQ(ClipboardText(), "bc");
         EXPECT_EQ(Lines(h.Pad()), (L{L"ad"}));
         EXPECT_EQ(h.Log().modified, std::vector<bool>{true});
         h.Pad().EditUndo();
         EXPECT_EQ(Lines(h.Pad()), (L{L"abcd"}));
     }},
    {DispEditPaste, "inserts the clipboard's lines at the caret", "abcd",
     [](Host& h) { SetClipboardText("x\r\ny"); h.Pad().LocatePos(1, 3); h.Pad().EditPaste(); },
     [](Host& h) {
         EXPECT_EQ(Lines(h.Pad()), (L{L"abx", L"ycd"}));
         EXPECT_EQ(h.Log().positions.back(), (Pos{2, 4, 2, 4}));   // after the old tail
     }},
    {DispEditPaste, "converts Chinese text to the editor's code page and back", "ab",
     [](Host& h) { SetClipboardText("中文"); h.Pad().LocatePos(1, 2); h.Pad().EditPaste(); },
     [](Host& h) {
         EXPECT_EQ(h.Model().GetLine(0), "a\xD6\xD0\xCE\xC4" "b");
         EXPECT_EQ(h.Pad().GetLine(0), Wide("a中文b"));
     }},
    {DispEditUndo, "takes back the last step and marks the text modified", "abc",
     [](Host& h) { h.Pad().LocatePos(1, 4); h.Type("de"); h.Pad().EditUndo(); },
     [](Host& h) {
         EXPECT_EQ(Lines(h.Pad()), (L{L"abcd"}));
         EXPECT_TRUE(h.Pad().GetBCanRedo());
         EXPECT_TRUE(h.Model().IsModified());
     }},
    {DispEditRedo, "does the undone step again", "abc",
     [](Host& h) { h.Pad().LocatePos(1, 4); h.Type("d"); h.Pad().EditUndo(); h.Pad().EditRedo(); },
     [](Host& h) {
         EXPECT_EQ(Lines(h.Pad()), (L{L"abcd"}));
         EXPECT_FALSE(h.Pad().GetBCanRedo());
         EXPECT_TRUE(h.Pad().GetBCanUndo());
     }},
    {DispEditBreakPoint, "toggles the caret line's break point", "a\nb\nc",
     [](Host& h) { h.Pad().LocatePos(2, 1); h.Pad().EditBreakPoint(); },
     [](Host& h) {
         EXPECT_EQ(h.Model().Document().Text().BreakPoints(), (std::vector<int>{0, 1, 0}));
         h.Pad().EditBreakPoint();
         EXPECT_EQ(h.Model().Document().Text().BreakPoints(), (std::vector<int>{0, 0, 0}));
     }},
    {DispEditSelectAll, "selects from the start to the end of the last line", "ab\ncde",
     [](Host& h) { h.Pad().EditSelectAll(); },
     [](Host& h) {
         EXPECT_EQ(h.Log().positions.back(), (Pos{2, 4, 1, 1}));
         EXPECT_TRUE(h.Pad().GetBCanCopy());
     }},
    {DispLocatePos, "past the end of a line puts the caret after its last character", "abc\nde",
     [](Host& h) { h.Pad().LocatePos(1, 99); },
     [](Host& h) { EXPECT_EQ(h.Log().positions.back(), (Pos{1, 4, 1, 4})); }},
    {DispLocatePos, "past the last line puts the caret on the last line", "abc\nde",
     [](Host& h) { h.Pad().LocatePos(99, 2); },
     [](Host& h) { EXPECT_EQ(h.Log().positions.back(), (Pos{2, 2, 2, 2})); }},
    {DispGetBCanCopy, "answers whether there is a selection", "abc",
     [](Host& h) {
         EXPECT_FALSE(h.Pad().GetBCanCopy());
         EXPECT_FALSE(h.Pad().GetBCanCut());
         h.Pad().SetSelection(1, 1, 1, 2);
     },
     [](Host& h) {
         EXPECT_TRUE(h.Pad().GetBCanCopy());
         EXPECT_TRUE(h.Pad().GetBCanCut());
     }},
    {DispGetBCanPaste, "answers whether the clipboard holds text", "abc",
     [](Host&) { SetClipboardText("x"); },
     [](Host& h) { EXPECT_TRUE(h.Pad().GetBCanPaste()); }},
    {DispGetBCanUndo, "answers whether there is a step to undo or redo", "abc",
     [](Host& h) {
         EXPECT_FALSE(h.Pad().GetBCanUndo());
         EXPECT_FALSE(h.Pad().GetBCanRedo());
         h.Type("x");
     },
     [](Host& h) {
         EXPECT_TRUE(h.Pad().GetBCanUndo());
         EXPECT_FALSE(h.Pad().GetBCanRedo());
     }},
    {DispGetTextSize, "counts the lines", "a\nb\n\nc\n",
     [](Host&) {},
     [](Host& h) { EXPECT_EQ(h.Pad().GetTextSize(), 4); }},
    {DispGetLine, "reads one line by its 0-based index, empty outside the text", "zero\none",
     [](Host&) {},
     [](Host& h) {
         EXPECT_EQ(h.Pad().GetLine(0), L"zero");
         EXPECT_EQ(h.Pad().GetLine(1), L"one");
         EXPECT_EQ(h.Pad().GetLine(2), L"");
         EXPECT_EQ(h.Pad().GetLine(-1), L"");
     }},
    {DispGetCharSize, "counts the characters without line ends", "ab\ncde\n",
     [](Host&) {},
     [](Host& h) { EXPECT_EQ(h.Pad().GetCharSize(), 5); }},
    {DispGetCharColors, "gives every character's colour, line after line", "int x\n// c",
     [](Host&) {},
     [](Host& h) {
         std::vector<int32_t> colors = h.Pad().GetCharColors();
         ASSERT_EQ(colors.size(), 9u);
         for (int i = 0; i < 3; ++i)
             EXPECT_EQ(static_cast<uint32_t>(colors[i]), colour::Keyword);
         for (int i = 5; i < 9; ++i)
             EXPECT_EQ(static_cast<uint32_t>(colors[i]), colour::Comment);
     }},
    {DispUnloadText, "gives the whole text with an LF after every line", "a\r\n\tb",
     [](Host&) {},
     [](Host& h) { EXPECT_EQ(h.Pad().UnloadText(), L"a\n    b\n"); }},
    {DispSetSelection, "clamps 1-based positions and selects from anchor to caret", "abc\nde",
     [](Host& h) { h.Pad().SetSelection(1, 99, 99, 1); },
     [](Host& h) {
         EXPECT_EQ(h.Log().positions.back(), (Pos{2, 1, 1, 4}));
         EXPECT_TRUE(h.Pad().GetBCanCopy());
     }},
    {DispReplaceSelText, "replaces the selection in one undo step and selects the new text", "abcd",
     [](Host& h) { h.Pad().SetSelection(1, 2, 1, 4); h.Pad().ReplaceSelText(Wide("X中Z")); },
     [](Host& h) {
         EXPECT_EQ(Lines(h.Pad()), (L{Wide("aX中Zd")}));
         EXPECT_EQ(h.Log().positions.back(), (Pos{1, 6, 1, 2}));
         h.Pad().EditUndo();
         EXPECT_EQ(Lines(h.Pad()), (L{L"abcd"}));
     }},
    {DispGetChangeCount, "grows with every change of the text, not with a move of the caret", "abc\nde",
     [](Host& h) {
         const long loaded = h.Pad().GetChangeCount();
         h.Pad().LocatePos(2, 3);
         h.Pad().SetSelection(1, 1, 2, 2);
         EXPECT_EQ(h.Pad().GetChangeCount(), loaded);
         long before = loaded;
         for (const std::function<void()>& edit : std::vector<std::function<void()>>{
                  [&] { h.Pad().ReplaceSelText(L"x"); }, [&] { h.Pad().EditUndo(); }, [&] { h.Pad().EditRedo(); },
                  [&] { h.Pad().LoadText(L"abc", 1, 1); }, [&] { h.Type("q"); }}) {
             edit();
             EXPECT_GT(h.Pad().GetChangeCount(), before);
             before = h.Pad().GetChangeCount();
         }
     },
     [](Host&) {}},
    {DispLoadText, "replaces the text without history and places the caret", "old",
     [](Host& h) { h.Pad().LoadText(L"one\ntwo\nthree", 2, 99); },
     [](Host& h) {
         EXPECT_EQ(Lines(h.Pad()), (L{L"one", L"two", L"three"}));
         EXPECT_FALSE(h.Pad().GetBCanUndo());
         EXPECT_EQ(h.Log().modified, std::vector<bool>{true});
         EXPECT_EQ(h.Log().positions.back(), (Pos{2, 4, 2, 4}));
     }},
};

TEST(QuvPadDispatch, EveryMethodDoesWhatItSays)
{
    for (const Row& row : kRows) {
        SCOPED_TRACE(std::to_string(row.id) + ": " + row.what);
        Host host;
        host.Pad().LoadText(Wide(row.text), 1, 1);
        host.Model().SetModified(false);
        host.Log().Clear();
        row.act(host);
        row.check(host);
    }
}

TEST(QuvPadDispatch, PositionsKeepTheirFullRange)
{
    Host host;
    std::wstring text;
    for (int i = 0; i < 70000; ++i)
        text += L"x\n";
    text += std::wstring(40000, L'y');
    host.Pad().LoadText(text, 70001, 40001);
    EXPECT_EQ(host.Log().positions.back(), (Pos{70001, 40001, 70001, 40001}));
    host.Pad().SetSelection(1, 1, 70001, 35000);
    EXPECT_EQ(host.Log().positions.back(), (Pos{70001, 35000, 1, 1}));
}

TEST(QuvPadDispatch, WithoutAnEditorMethodsChangeNothingAndAnswerEmpty)
{
    Host host(400, 200, false);
    const TempFolder folder("quvpad-test-");
    const std::string& dir = folder.path;
    DQuvPad& pad = host.Pad();
    EXPECT_TRUE(pad.FileLoad(Wide(WriteFile(dir + "/a.e", "text\n"))));
    EXPECT_TRUE(pad.FileSaveAs(Wide(dir + "/b.e")));
    struct stat st;
    EXPECT_NE(stat((dir + "/b.e").c_str(), &st), 0);
    EXPECT_EQ(pad.GetTextSize(), 0);
    EXPECT_EQ(pad.GetLine(0), L"");
    EXPECT_EQ(pad.GetCharSize(), 0);
    EXPECT_TRUE(pad.GetCharColors().empty());
    EXPECT_EQ(pad.UnloadText(), L"");
    EXPECT_FALSE(pad.GetBCanCopy());
    EXPECT_FALSE(pad.GetBCanUndo());
    pad.LocatePos(3, 3);
    pad.SetSelection(1, 1, 2, 2);
    pad.LoadText(L"x", 1, 1);
    pad.ReplaceSelText(L"y");
    pad.EditUndo();
    EXPECT_TRUE(host.Log().positions.empty());
    SettingsBlock before = SettingsBlock::Shared();
    pad.ReConfigure(TestBlock(-30), ConfigFont);
    EXPECT_EQ(before.Bytes(), SettingsBlock::Shared().Bytes());
    EXPECT_TRUE(pad.FileNew());
    EXPECT_EQ(host.Log().modified, std::vector<bool>{true});
}

} // namespace
} // namespace quvpad::test
