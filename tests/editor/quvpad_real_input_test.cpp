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

} // namespace
} // namespace quvpad::test
