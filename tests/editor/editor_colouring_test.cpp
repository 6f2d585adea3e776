// Colours as the view sees them: lazy re-colouring after edits and scrolling,
// and the cell layout of painted lines.
#include <gtest/gtest.h>

#include <functional>

#include "fake_ports.hpp"

using namespace quvpad;
using namespace quvpad::test;

namespace {
struct ColouringTest : ::testing::Test, EditorFixture {
    // Colour class of the first byte of a line, from its stored colours.
    int ClassOf(int line) const
    {
        const auto& colors = model.Document().Text().GetLineColors(line);
        return colors.empty() ? -1 : static_cast<int>(colors[0]) - 0x100;
    }
};
} // namespace

TEST_F(ColouringTest, CommentEditsRecolourTheViewLazily)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "x\n";
    Load(text);
    Type("/*");   // 10 lines visible: colouring runs one line past the view
    for (int line = 1; line <= 10; ++line)
        EXPECT_EQ(ClassOf(line), ClassComment) << line;
    EXPECT_EQ(ClassOf(11), ClassIdentifier);
    EXPECT_EQ(model.Document().Text().ColoredUpTo(), 11);

    model.OnVScroll(ScrollThumbTrack, 15);
    EXPECT_EQ(ClassOf(25), ClassComment);
    EXPECT_EQ(ClassOf(26), ClassIdentifier);

    Key(KeyBack);
    Key(KeyBack);   // the caret line scrolls back into view
    EXPECT_EQ(model.GetFirstVisibleLine(), 0);
    for (int line = 0; line <= 10; ++line)
        EXPECT_EQ(ClassOf(line), ClassIdentifier) << line;
    EXPECT_EQ(model.Document().Text().ColoredUpTo(), 26);   // where the last propagation stopped
    for (uint32_t c : model.GetCharColors())
        EXPECT_EQ(c, 0x100u + ClassIdentifier);
}

TEST_F(ColouringTest, ClosingACommentStopsWhereTheStateComesOutUnchanged)
{
    Load("/* a\nb\nc */ d\ne\n");
    EXPECT_EQ(ClassOf(3), ClassIdentifier);
    model.LocatePos(3, 5);
    Type("/");   // "c *//" still closes on this line: only it changes
    EXPECT_EQ(model.Document().Text().ColoredUpTo(), 4);
    model.LocatePos(1, 1);
    Key(KeyDelete);   // no comment opens any more: lines 1 and 2 lose it
    EXPECT_EQ(ClassOf(1), ClassIdentifier);
    EXPECT_EQ(ClassOf(2), ClassIdentifier);
}

TEST_F(ColouringTest, NewColoursRecolourEveryLine)
{
    Load("int\nx\n");
    settings.SetColor(ClassKeyword, 0xABCDEF);
    model.RecolorAll();
    EXPECT_EQ(model.GetCharColors(), (std::vector<uint32_t>{0xABCDEF, 0xABCDEF, 0xABCDEF, 0x103}));
}

TEST_F(ColouringTest, LayoutOfASelectionAndTheCaretLine)
{
    Load("abcd\nefgh\nijkl\n");
    model.SetSelection(2, 0, 1, 1);
    std::vector<LineLayout> view = model.LayoutView();
    ASSERT_EQ(view.size(), 3u);
    const uint32_t sel = 0x100 + ClassSelectionBack, selText = 0x100 + ClassSelectionText;
    const uint32_t back = 0x100 + ClassBackground, current = 0x100 + ClassCurrentLine;
    std::vector<uint32_t> want0 = {back, back, sel, sel};
    std::vector<uint32_t> want1 = {sel, current, current, current};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(view[0].cells[i].backColor, want0[i]) << i;
        EXPECT_EQ(view[1].cells[i].backColor, want1[i]) << i;
        EXPECT_EQ(view[0].cells[i].x, 4 + 8 * i);
        EXPECT_EQ(view[0].cells[i].width, 8);
    }
    EXPECT_EQ(view[0].cells[2].textColor, selText);
    EXPECT_EQ(view[0].cells[0].textColor, 0x100u + ClassIdentifier);
    EXPECT_TRUE(view[1].caretLine);
    EXPECT_EQ(view[1].lineBackColor, current);
    EXPECT_EQ(view[1].top, 16);
    EXPECT_FALSE(view[2].caretLine);
    EXPECT_EQ(model.BackgroundColor(), back);
}

TEST_F(ColouringTest, LayoutScrolledSidewaysAndWithDoubleByteCharacters)
{
    win.client.width = 40;   // four visible columns
    Load("abcdefgh\n\xD6\xD0xy\n");
    model.OnHScroll(ScrollThumbTrack, 3);
    EXPECT_EQ(model.GetFirstVisibleColumn(), 3);
    LineLayout l0 = model.LayoutLine(0);
    ASSERT_EQ(l0.cells.size(), 5u);
    EXPECT_EQ(l0.cells[0].bytes, "d");
    EXPECT_EQ(l0.cells[0].x, 4);   // 24 pixels into the line sit at the margin
    model.OnHScroll(ScrollTop, 0);
    LineLayout l1 = model.LayoutLine(1);
    ASSERT_EQ(l1.cells.size(), 3u);
    EXPECT_EQ(l1.cells[0].bytes, "\xD6\xD0");
    EXPECT_EQ(l1.cells[0].width, 16);
    EXPECT_EQ(l1.cells[1].x, 20);
}

// Edits colour only the lines they reach; what the view and the export then
// see must be what colouring the whole text afresh gives.
TEST_F(ColouringTest, EditsColourAsAFreshLoadDoes)
{
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += i % 9 == 4 ? "/* open\n" : i % 9 == 6 ? "shut */ x\n" : "int a = \"s\" // c\n";
    auto fresh = [&] {
        EditorFixture other;
        for (int c = 0; c < ColorClassCount; ++c)
            other.settings.SetColor(c, settings.Color(c));
        other.model.SetText(model.GetText());
        return other.model.GetCharColors();
    };
    struct Step {
        const char* what;
        std::function<void()> run;
    };
    const std::vector<Step> steps = {
        {"paste with a comment opening", [&] {
             model.LocatePos(3, 4);
             win.clipboard = "x /* y\nz\nw\n";
             win.hasClipboardText = true;
             model.DoCommand(EditCommand::Paste);
         }},
        {"undo", [&] { model.DoCommand(EditCommand::Undo); }},
        {"redo", [&] { model.DoCommand(EditCommand::Redo); }},
        {"typing a closing", [&] {
             model.LocatePos(30, 1);
             Type("*/");
         }},
        {"Enter", [&] { Type("\r/*\r"); }},
        {"deleting a selection over lines", [&] {
             model.SetSelection(0, 5, 2, 20);
             Key(KeyDelete);
         }},
        {"undo all", [&] {
             while (model.CanUndo())
                 model.DoCommand(EditCommand::Undo);
         }},
    };
    Load(text);
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(model.GetCharColors(), fresh()) << step.what;
        for (int line = 0; line < model.GetLineCount(); ++line)
            ASSERT_EQ(model.Document().Text().GetLineColors(line).size(), model.GetLine(line).size()) << step.what << line;
    }

    // A paste after the colour table changed colours every line with the new one.
    settings.SetColor(ClassIdentifier, 0xABCDEF);
    win.clipboard = "q";
    model.DoCommand(EditCommand::Paste);
    EXPECT_EQ(model.GetCharColors(), fresh());
}

// A load colours each line as it is stored; the result must be what colouring
// the stored lines one after another gives, with the colour table in force,
// also when the table changed since the text before was coloured.
TEST_F(ColouringTest, ALoadColoursAsColouringEveryLineDoes)
{
    const std::vector<std::string> texts = {
        "int a = 1;\n/* open\n\n still open \"x\n shut */ int b; /* again */ x\n// c /*\n",
        "/* never shut\nint\n\n",
        "%Inp/ a : Int; \"a /* b\" c\n\"unended /*\nx */ y\n/**/\n",
        "\t/* tab\n\tint */\tx\n",
    };
    for (size_t k = 0; k < texts.size(); ++k) {
        settings.SetColor(ClassKeyword, 0x200 + static_cast<uint32_t>(k));
        model.SetText(texts[k]);
        ColorTextBuffer expected(settings);
        expected.Reset();
        for (int i = 0; i < model.GetLineCount(); ++i)
            expected.InsertLine(model.GetLine(i), i, false);
        expected.RemoveLine(expected.GetLineCount() - 1);
        expected.RecolorAll();
        const ColorTextBuffer& got = model.Document().Text();
        ASSERT_EQ(got.GetLineCount(), expected.GetLineCount()) << k;
        EXPECT_EQ(got.ColoredUpTo(), got.GetLineCount()) << k;
        for (int i = 0; i <= got.GetLineCount(); ++i)
            EXPECT_EQ(got.GetLineStartState(i), expected.GetLineStartState(i)) << k << " line " << i;
        for (int i = 0; i < got.GetLineCount(); ++i)
            EXPECT_EQ(got.GetLineColors(i), expected.GetLineColors(i)) << k << " line " << i;
    }
}

// A paint of a band of rows lays out exactly the lines of the view whose rows
// meet the band, as the whole view lays them out.
TEST_F(ColouringTest, LayoutOfABandHoldsTheLinesThatMeetIt)
{
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + "\n";
    Load(text);
    model.SetFirstLine(5);
    const std::vector<LineLayout> whole = model.LayoutView();
    const int height = win.client.height;
    const struct {
        int top, bottom;
    } bands[] = {{0, 1}, {15, 17}, {16, 32}, {-10, 5}, {height - 1, height + 50}, {0, height}, {40, 40}};
    for (const auto& band : bands) {
        std::vector<int> want, got;
        for (const LineLayout& line : whole)
            if (line.top < band.bottom && line.top + 16 > band.top)
                want.push_back(line.line);
        for (const LineLayout& line : model.LayoutView(band.top, band.bottom)) {
            got.push_back(line.line);
            EXPECT_EQ(line.cells.size(), whole[line.line - 5].cells.size()) << line.line;
            EXPECT_EQ(line.top, whole[line.line - 5].top) << line.line;
        }
        EXPECT_EQ(got, want) << band.top << ".." << band.bottom;
    }
}
