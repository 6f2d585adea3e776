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

    sim.Text("xy");
    settle();
    EXPECT_EQ(Lines(host.Model()), (std::vector<std::string>{"abxycd", "efgh"}));
    sim.Char(WXK_RETURN);
    settle();
    sim.Char(WXK_RETURN, wxMOD_CONTROL);   // breaks the line once, like Enter
    settle();
    EXPECT_EQ(Lines(host.Model()), (std::vector<std::string>{"abxy", "", "cd", "efgh"}));
    sim.Char('z', wxMOD_CONTROL);
    settle();
    EXPECT_EQ(Lines(host.Model()), (std::vector<std::string>{"abxy", "cd", "efgh"}));
    sim.Char(WXK_TAB);
    sim.Char(WXK_BACK);
    settle();
    EXPECT_EQ(Lines(host.Model()), (std::vector<std::string>{"abxy", "   cd", "efgh"}));

    // A double click selects a word, a click puts the caret, a drag selects;
    // Ctrl+C and Shift+Insert copy and paste. Each press is at another place,
    // so no two make a double click by accident.
    auto moveTo = [&](int column, int line) {
        sim.MouseMove(host.Editor().ClientToScreen(host.PointOf(column, line)));
        settle();
    };
    moveTo(1, 0);
    sim.MouseDblClick();
    settle();
    EXPECT_EQ(host.Log().positions.back(), (Pos{1, 1, 1, 5}));
    moveTo(2, 1);
    sim.MouseClick();
    settle();
    EXPECT_EQ(host.Log().positions.back(), (Pos{2, 3, 2, 3}));
    moveTo(1, 2);
    sim.MouseDown();
    settle();
    moveTo(3, 2);
    sim.MouseUp();
    settle();
    EXPECT_EQ(host.Model().AnchorColumn(), 1);
    EXPECT_EQ(host.Model().CaretColumn(), 3);
    EXPECT_FALSE(host.Editor().HasCapture());
    sim.Char('c', wxMOD_CONTROL);
    settle();
    EXPECT_EQ(ClipboardText(), "fg");
    sim.Char(WXK_END);
    sim.Char(WXK_INSERT, wxMOD_SHIFT);
    settle();
    EXPECT_EQ(host.Model().GetLine(2), "efghfg");
}

} // namespace
} // namespace quvpad::test
