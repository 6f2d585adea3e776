// The document finder over a fake editor control: positions in byte columns
// on GBK text, wrapping, literal and regular-expression finds, replacing in a
// selection and in the whole text, a list rebuilt after every edit, and
// bracket matching.
#include <array>

#include <gtest/gtest.h>

#include "compiler/core/gbk.hpp"
#include "ide/model/text_finder.hpp"
#include "tests/ide/fake_editor.hpp"

namespace ide {
namespace {

using test::FakeEditor;

// Start line and column, end line and column of a selected match.
using Hit = std::array<int, 4>;
const Hit kNone{0, 0, 0, 0};

FindOptions Options(const std::string& text, int regularExpression = 0, int wrap = 1, int direction = 1,
                    int matchCase = 1)
{
    return {direction, matchCase, regularExpression, wrap, text};
}

// One step as the view takes it: find, then select the match.
Hit Step(CTextFinder& finder, FakeEditor& editor, bool previous = false)
{
    Hit h = kNone;
    const bool found = previous ? finder.FindPrevious(h[0], h[1], h[2], h[3]) : finder.FindNext(h[0], h[1], h[2], h[3]);
    if (!found)
        return kNone;
    editor.SetSelection(h[0], h[1], h[2], h[3]);
    return h;
}

TEST(TextFinder, FindsInByteColumnsAndWalksBothWays)
{
    struct Case {
        const char* name;
        std::string text;
        FindOptions options;
        TextPos caret;
        bool previous;
        std::vector<Hit> steps;
    } cases[] = {
        {"a match in column 1 starts there, not at the end of the line before", "ab\ncd\n", Options("cd"), {1, 3},
         false, {{2, 1, 2, 3}}},
        {"Chinese text before the match counts its bytes", "中文abc 中abc\n", Options("abc"), {1, 1}, false,
         {{1, 5, 1, 8}, {1, 11, 1, 14}, {1, 5, 1, 8}}},
        {"wrap on: next after the last match is the first", "x1 x2\n", Options("x"), {1, 1}, false,
         {{1, 1, 1, 2}, {1, 4, 1, 5}, {1, 1, 1, 2}}},
        {"wrap off: nothing after the last", "x1 x2\n", Options("x", 0, 0), {1, 2}, false, {{1, 4, 1, 5}, kNone}},
        {"previous walks back match by match and wraps", "ab ab ab \n", Options("ab"), {1, 10}, true,
         {{1, 7, 1, 9}, {1, 4, 1, 6}, {1, 1, 1, 3}, {1, 7, 1, 9}}},
        {"previous without wrap stops at the first", "ab ab \n", Options("ab", 0, 0), {1, 7}, true,
         {{1, 4, 1, 6}, {1, 1, 1, 3}, kNone}},
        {"direction up turns next into previous", "ab ab \n", Options("ab", 0, 1, 0), {1, 7}, false,
         {{1, 4, 1, 6}, {1, 1, 1, 3}}},
        {"a literal dot is no wildcard", "abc a.c\n", Options("a.c"), {1, 1}, false, {{1, 5, 1, 8}, {1, 5, 1, 8}}},
        {"'.' never crosses a line break", "ab\ncd\n", Options("b.c", 1), {1, 1}, false, {kNone}},
        {"an expression that can match empty finds only text", "ab xx\n", Options("x*", 1), {1, 1}, false,
         {{1, 4, 1, 6}, {1, 4, 1, 6}}},
        {"a match over a line break ends in column 1 of the next line", "ab\ncd\n", Options("b\\nc", 1), {1, 1},
         false, {{1, 2, 2, 2}}},
        {"case folds when asked", "ABC abc\n", Options("abc", 0, 1, 1, 0), {1, 1}, false,
         {{1, 1, 1, 4}, {1, 5, 1, 8}}},
        {"the text's last line end, once selected, gives way to the first match", "ab\ncd\n", Options("\\n", 1),
         {1, 1}, false, {{1, 3, 2, 1}, {2, 3, 2, 3}, {1, 3, 2, 1}}},
        {"a NUL byte does not end the text", std::string("a\0b x\n", 6), Options("x"), {1, 1}, false,
         {{1, 5, 1, 6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEditor editor(c.text);
        editor.caret = editor.anchor = c.caret;
        CTextFinder finder(editor);
        finder.SetFindOptions(c.options);
        for (const Hit& expected : c.steps)
            EXPECT_EQ(Step(finder, editor, c.previous), expected);
    }
}

TEST(TextFinder, EveryEditRebuildsTheMatchList)
{
    FakeEditor editor("foo bar foo\n");
    CTextFinder finder(editor);
    finder.SetFindOptions(Options("foo"));
    EXPECT_EQ(Step(finder, editor), (Hit{1, 1, 1, 4}));
    // Typing before the second match moves it; the control reports no flag change.
    editor.SetText(gbk::fromUtf8("foo XXbar foo\n"));
    EXPECT_EQ(Step(finder, editor), (Hit{1, 11, 1, 14}));
    editor.SetText(gbk::fromUtf8("fox\n"));
    editor.LocatePos(1, 1);
    EXPECT_EQ(Step(finder, editor), kNone);
}

// Unchanged, the text is searched from the list kept; after an edit, a text
// find reads the lines from the caret to its match, and an expression the
// whole text again. Either way each step selects what a finder made afresh
// selects.
TEST(TextFinder, ReadsTheTextOnlyWhenItChangedAndAfterAnEditOnlyUpToTheMatch)
{
    std::string text;
    for (int i = 1; i <= 300; ++i)
        text += (i % 100 == 0 ? "foo bar Foo " : "line ") + std::to_string(i) + "\n";
    const struct {
        const char* name;
        FindOptions options;
        bool previous;
        long unloadsAfterEdit;
        long linesAfterEdit;  // at most
    } cases[] = {
        {"text", Options("foo"), false, 0, 60},
        {"text backwards", Options("foo"), true, 0, 60},
        {"text ignoring case", Options("foo", 0, 1, 1, 0), false, 0, 60},
        {"text without wrap", Options("foo", 0, 0), false, 0, 60},
        {"expression", Options("f.o", 1), false, 1, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEditor editor(text);
        CTextFinder finder(editor);
        finder.SetFindOptions(c.options);
        editor.LocatePos(150, 1);
        Step(finder, editor, c.previous);
        finder.SetFindOptions(c.options);
        const long unloads = editor.unloads;
        for (int i = 0; i < 4; ++i)
            Step(finder, editor, c.previous);
        EXPECT_LE(editor.unloads - unloads, 1);
        const long kept = editor.unloads;
        Step(finder, editor, c.previous);
        EXPECT_EQ(editor.unloads, kept) << "unchanged: the list kept";

        // An edit 40 lines before the next match, the caret at the edit.
        const int editLine = c.previous ? 240 : 160;
        editor.lines[static_cast<size_t>(editLine - 1)] += "x";
        ++editor.changeCount;
        editor.LocatePos(editLine, 1);
        editor.linesRead = 0;
        FakeEditor fresh(gbk::toUtf8(editor.UnloadText()));
        fresh.caret = editor.caret;
        fresh.anchor = editor.anchor;
        CTextFinder reference(fresh);
        reference.SetFindOptions(c.options);
        const long before = editor.unloads;
        for (int i = 0; i < 3; ++i) {
            const Hit expected = Step(reference, fresh, c.previous);
            EXPECT_EQ(Step(finder, editor, c.previous), expected) << "step " << i;
            if (i == 0) {
                EXPECT_EQ(editor.unloads - before, c.unloadsAfterEdit);
                EXPECT_LE(editor.linesRead, c.linesAfterEdit);
            }
        }
    }
}

TEST(TextFinder, ReplaceAllTakesTheTextAsItIsNowInTheDocumentOrTheSelection)
{
    FakeEditor editor("a.c abc\n");
    CTextFinder finder(editor);
    finder.SetReplaceOptions({1, 1, 0, "a.c", 1, 0, "[$&]"});
    EXPECT_EQ(Step(finder, editor), (Hit{1, 1, 1, 4}));
    // An edit after the last search must not be undone by the replacement.
    editor.SetText(gbk::fromUtf8("a.c abc 新的 a.c\n"));
    editor.LocatePos(1, 3);
    finder.ReplaceAll();
    EXPECT_EQ(editor.Utf8(), "[a.c] abc 新的 [a.c]\n");
    EXPECT_EQ(editor.caret.col, 3);

    // In the selection only, the caret back where it was.
    editor.SetText("x1 x2\nx3 x4\n");
    finder.SetReplaceOptions({1, 1, 1, "x(\\d)", 1, 1, "y$1"});
    editor.SetSelection(1, 4, 2, 3);
    finder.ReplaceAll();
    EXPECT_EQ(editor.Utf8(), "x1 y2\ny3 x4\n");
    EXPECT_EQ(editor.caret.line, 2);
    EXPECT_EQ(editor.caret.col, 3);
}

TEST(TextFinder, MatchesBracketsAcrossLinesSkippingNestedPairsAndDoubleByteCharacters)
{
    // "乕" is the GBK pair 0x81 0x5B, whose second byte is the code of "[".
    struct Case {
        const char* name;
        const char* text;
        TextPos caret;
        bool found;
        TextPos anchor, to;
    } cases[] = {
        {"after ')' back to '(' across lines", "f(a,\n (b) c)\n", {2, 8}, true, {2, 8}, {1, 2}},
        {"on '(' forward past a nested pair", "x(a(b)c)d\n", {1, 2}, true, {1, 2}, {1, 9}},
        {"after '(' forward", "(ab)\n", {1, 2}, true, {1, 1}, {1, 5}},
        {"on ']' backward", "[a]\n", {1, 3}, true, {1, 4}, {1, 1}},
        {"Chinese before the bracket counts bytes", "中文{x}\n", {1, 8}, true, {1, 8}, {1, 5}},
        {"a trail byte is no bracket", "[乕]\n", {1, 5}, true, {1, 5}, {1, 1}},
        {"no partner", "(ab\n", {1, 1}, false, {}, {}},
        {"no bracket at the caret", "ab\n", {1, 2}, false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeEditor editor(c.text);
        editor.caret = editor.anchor = c.caret;
        CTextFinder finder(editor);
        EXPECT_EQ(finder.CanMatchBracket(), std::string(c.name) != "no bracket at the caret");
        EXPECT_EQ(finder.FindMatchingBracket(), c.found);
        if (c.found) {
            EXPECT_EQ(editor.anchor.line, c.anchor.line);
            EXPECT_EQ(editor.anchor.col, c.anchor.col);
            EXPECT_EQ(editor.caret.line, c.to.line);
            EXPECT_EQ(editor.caret.col, c.to.col);
        }
    }
    // The trail byte alone, after the caret, is no bracket either.
    FakeEditor lone("乕\n");
    lone.caret = lone.anchor = {1, 3};
    EXPECT_FALSE(CTextFinder(lone).CanMatchBracket());
}

} // namespace
} // namespace ide
