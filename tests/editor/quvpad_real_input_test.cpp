// Keys and mouse from the X server itself (XTest), through GTK and wx to the
// editor window: the road a user's input takes.
#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include "quvpad_host.hpp"

namespace quvpad::test {
namespace {

std::vector<std::string> Lines(EditorModel& m)
{
    std::vector<std::string> out;
    for (int i = 0; i < m.GetLineCount(); ++i)
        out.push_back(m.GetLine(i));
    return out;
}

TEST(QuvPadRealInput, KeysAndMouseThroughTheXServer)
{
    Host host;
    host.Pad().LoadText(L"abcd\nefgh", 1, 3);
    host.Focus();
    ASSERT_TRUE(host.Editor().HasFocus());
    wxUIActionSimulator sim;
    auto settle = [&] { host.Pump(10); };
    // The simulated input has reached the editor once it shows these lines.
    auto expectLines = [&](const std::vector<std::string>& want) {
        Host::PumpUntil([&] { return Lines(host.Model()) == want; });
        EXPECT_EQ(Lines(host.Model()), want);
    };

    sim.Text("xy");
    expectLines({"abxycd", "efgh"});
    sim.Char(WXK_RETURN);
    expectLines({"abxy", "cd", "efgh"});
    sim.Char(WXK_RETURN, wxMOD_CONTROL);   // breaks the line once, like Enter
    expectLines({"abxy", "", "cd", "efgh"});
    sim.Char('z', wxMOD_CONTROL);
    expectLines({"abxy", "cd", "efgh"});
    sim.Char(WXK_TAB);
    sim.Char(WXK_BACK);
    expectLines({"abxy", "   cd", "efgh"});

    // A double click selects a word, a click puts the caret, a drag selects;
    // Ctrl+C and Shift+Insert copy and paste. Each press is at another place,
    // so no two make a double click by accident.
    auto moveTo = [&](int column, int line) {
        sim.MouseMove(host.Editor().ClientToScreen(host.PointOf(column, line)));
        settle();
    };
    auto expectPosition = [&](const Pos& want) {
        Host::PumpUntil([&] { return !host.Log().positions.empty() && host.Log().positions.back() == want; });
        ASSERT_FALSE(host.Log().positions.empty());
        EXPECT_EQ(host.Log().positions.back(), want);
    };
    moveTo(1, 0);
    sim.MouseDblClick();
    expectPosition(Pos{1, 1, 1, 5});
    moveTo(2, 1);
    sim.MouseClick();
    expectPosition(Pos{2, 3, 2, 3});
    moveTo(1, 2);
    sim.MouseDown();
    settle();
    moveTo(3, 2);
    sim.MouseUp();
    Host::PumpUntil([&] { return !host.Editor().HasCapture(); });
    EXPECT_EQ(host.Model().AnchorColumn(), 1);
    EXPECT_EQ(host.Model().CaretColumn(), 3);
    EXPECT_FALSE(host.Editor().HasCapture());
    sim.Char('c', wxMOD_CONTROL);
    Host::PumpUntil([] { return ClipboardText() == "fg"; });
    EXPECT_EQ(ClipboardText(), "fg");
    sim.Char(WXK_END);
    sim.Char(WXK_INSERT, wxMOD_SHIFT);
    Host::PumpUntil([&] { return host.Model().GetLine(2) == "efghfg"; });
    EXPECT_EQ(host.Model().GetLine(2), "efghfg");
}

TEST(QuvPadRealInput, UndoAtTheEndOfALongFileLeavesTheWindowFilled)
{
    // Ctrl+End, type a few lines, then Ctrl+Z for every step: the last line
    // is back at the bottom of the window, with lines above it to the top.
    Host host;
    std::wstring text;
    for (int i = 1; i <= 100; ++i)
        text += L"line " + std::to_wstring(i) + L"\n";
    host.Pad().LoadText(text, 1, 1);
    host.Focus();
    ASSERT_TRUE(host.Editor().HasFocus());
    EditorModel& m = host.Model();
    wxUIActionSimulator sim;
    sim.Char(WXK_END, wxMOD_CONTROL);
    Host::PumpUntil([&] { return m.CaretLine() == 99; });
    sim.Text("ab");
    for (int i = 0; i < 4; ++i)
        sim.Char(WXK_RETURN);
    sim.Text("c");
    Host::PumpUntil([&] { return m.GetLineCount() == 104 && m.GetLine(103) == "c"; });
    ASSERT_EQ(m.GetLine(99), "line 100ab");
    ASSERT_EQ(m.GetLine(103), "c");
    for (int i = 0; i < 7; ++i)
        sim.Char('z', wxMOD_CONTROL);
    Host::PumpUntil([&] { return !m.CanUndo(); });
    EXPECT_EQ(m.GetLine(99), "line 100");
    const int whole = m.GetVisibleLines(true);
    ASSERT_GT(whole, 1);
    EXPECT_EQ(m.GetFirstVisibleLine(), 100 - whole);
    Host::Save(host.Screenshot(), "undo_at_the_end_of_a_long_file");
}

} // namespace
} // namespace quvpad::test
