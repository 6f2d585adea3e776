// What the editor shows after real clicks and keys through the X server: the
// selection colours only where text is selected, and the current-line
// background on the caret line alone. The colours are measured on the screen,
// on the same surface the checks read.
#include <map>

#include <gtest/gtest.h>

#include "editor/wx/color_edit_wnd.hpp"
#include "screen_grab.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "tests/ide/x_input.hpp"

namespace ide::test {
namespace {

using Colour = unsigned long;   // 0xRRGGBB as read from the screen

Colour At(const wxImage& image, int x, int y)
{
    return (static_cast<Colour>(image.GetRed(x, y)) << 16) | (image.GetGreen(x, y) << 8) | image.GetBlue(x, y);
}

// The editor as the X server shows it now: what was invalidated is painted
// first, and nothing else is.
class EditorScreen {
public:
    explicit EditorScreen(quvpad::ColorEditWnd& editor) : editor_(editor) {}

    void Grab()
    {
        editor_.Update();
        Pump(4);
        const wxSize size = editor_.GetClientSize();
        image_ = quv::test::GrabScreen(wxRect(editor_.ClientToScreen(wxPoint(0, 0)), size));
    }
    const wxImage& Image() const { return image_; }

    // The band of a line's pixels, cut to the client area.
    wxRect LineBand(int line) const
    {
        const quvpad::Rect r = editor_.Model().GetLineRect(line);
        return wxRect(r.left, r.top, r.right - r.left, r.bottom - r.top).Intersect(wxRect(image_.GetSize()));
    }
    // The colour most pixels of the rectangle have.
    Colour Mostly(const wxRect& r) const
    {
        std::map<Colour, int> count;
        for (int y = r.GetTop(); y <= r.GetBottom(); ++y)
            for (int x = r.GetLeft(); x <= r.GetRight(); ++x)
                ++count[At(image_, x, y)];
        auto best = count.begin();
        for (auto it = count.begin(); it != count.end(); ++it)
            if (it->second > best->second)
                best = it;
        return best == count.end() ? 0 : best->first;
    }
    int Count(const wxRect& r, Colour colour) const
    {
        int n = 0;
        for (int y = r.GetTop(); y <= r.GetBottom(); ++y)
            for (int x = r.GetLeft(); x <= r.GetRight(); ++x)
                n += At(image_, x, y) == colour;
        return n;
    }
    // The cells of the line's characters from `from` to `to` (exclusive).
    wxRect Cells(int line, int from, int to) const
    {
        const quvpad::LineLayout layout = editor_.Model().LayoutLine(line);
        int left = -1, right = -1;
        for (const quvpad::Cell& cell : layout.cells) {
            const int column = static_cast<int>(&cell - layout.cells.data());
            if (column >= from && column < to) {
                left = left < 0 ? cell.x : left;
                right = cell.x + cell.width;
            }
        }
        return wxRect(left, layout.top, right - left, LineBand(line).height);
    }

private:
    quvpad::ColorEditWnd& editor_;
    wxImage image_;
};

TEST(EditorPainting, NoSelectionColourWithoutASelectionAfterClicksAndArrowKeys)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    // Colours that nothing else on the editor mixes: the current line, the
    // selection's background and text (COLORREF values, blue in the high byte).
    CDisplaySetting& display = wxGetApp().Bench().DisplaySetting();
    display.colors[0] = 0xC0F0FF;
    display.colors[12] = 0x40A040;
    display.colors[13] = 0xFFFFFF;
    const std::vector<std::string> lines = {"alpha beta gamma delta epsilon", "one two three four", "x",
                                            "zeta eta theta iota kappa", "lambda mu"};
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    wxDocument* doc = OpenDocument(Write("paint.e", text));
    ASSERT_NE(doc, nullptr);
    FocusEditor(doc);
    quvpad::ColorEditWnd* found = EditorIn(PadOf(doc).GetWindow());
    ASSERT_NE(found, nullptr);
    quvpad::ColorEditWnd& editor = *found;
    quvpad::EditorModel& model = editor.Model();
    EditorScreen screen(editor);
    auto caretAt = [&](int column, int line) {
        return PumpUntil([&] { return model.CaretColumn() == column && model.CaretLine() == line; });
    };

    // Measured on the screen: the current line's background, another line's
    // and, with line 0 selected, the selection's.
    ASSERT_TRUE(caretAt(0, 0));
    screen.Grab();
    const Colour current = screen.Mostly(screen.LineBand(0));
    const Colour plain = screen.Mostly(screen.LineBand(1));
    PressKeys(editor, "shift+End");
    ASSERT_TRUE(PumpUntil([&] { return model.HasSelection(); }));
    screen.Grab();
    SaveScreenshot(screen.Image(), "editor_paint_selected");
    const Colour selected = screen.Mostly(screen.Cells(0, 0, static_cast<int>(lines[0].size())));
    ASSERT_NE(current, plain);
    ASSERT_NE(selected, current);
    ASSERT_NE(selected, plain);

    // Nothing selected: no pixel of the selection colour anywhere, and the
    // current-line background on the caret line only.
    auto expectShown = [&](const char* step, int caretLine) {
        screen.Grab();
        SaveScreenshot(screen.Image(), std::string("editor_paint_") + step);
        EXPECT_FALSE(model.HasSelection()) << step;
        EXPECT_EQ(screen.Count(wxRect(screen.Image().GetSize()), selected), 0) << step;
        for (int line = 0; line < static_cast<int>(lines.size()); ++line) {
            const int n = screen.Count(screen.LineBand(line), current);
            if (line == caretLine)
                EXPECT_GT(n, screen.LineBand(line).GetWidth()) << step << ": line " << line;
            else
                EXPECT_EQ(n, 0) << step << ": line " << line;
        }
    };
    const wxRect band3 = screen.LineBand(3);
    ClickAt(editor, wxPoint(screen.Cells(3, 8, 9).GetLeft() + 1, band3.GetTop() + band3.GetHeight() / 2));
    ASSERT_TRUE(caretAt(8, 3)) << model.CaretColumn() << "," << model.CaretLine() << " " << model.AnchorColumn() << "," << model.AnchorLine();
    expectShown("click", 3);
    const struct {
        const char* key;
        int line;
    } moves[] = {{"Up", 2}, {"Up", 1}, {"Down", 2}, {"Down", 3}, {"Down", 4}, {"Up", 3}};
    for (const auto& m : moves) {
        // The caret keeps its x as nearly as the target line allows.
        const int column =
            model.ColumnFromXOnLine(model.XFromColumnOnLine(model.CaretColumn(), model.CaretLine()), m.line);
        PressKeys(editor, m.key);
        ASSERT_TRUE(caretAt(column, m.line)) << m.key << " to line " << m.line;
        expectShown((std::string(m.key) + std::to_string(m.line)).c_str(), m.line);
    }

    // A click on another line moves the current line again.
    ClickAt(editor, wxPoint(screen.Cells(0, 2, 3).GetLeft() + 1, screen.LineBand(0).GetTop() + 2));
    ASSERT_TRUE(caretAt(2, 0));
    expectShown("second_click", 0);
    EXPECT_TRUE(answers.asked.empty());
}

} // namespace
} // namespace ide::test
