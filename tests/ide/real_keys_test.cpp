// Keys pressed through the X server (XTest, through wx's UI action simulator),
// the road a user's keys take through GTK: only the accelerator tables' keys
// act, whatever key a menu shows, and the splash takes the key that ends it.
#include <algorithm>

#include <gtest/gtest.h>
#include <wx/uiaction.h>

#include "ide/wx/ids.hpp"
#include "ide/wx/menus.hpp"
#include "ide/wx/splash_wnd.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"

namespace ide::test {
namespace {

// The titles of the dialogs the IDE ran, each cancelled at once.
struct Dialogs {
    Dialogs()
    {
        wxGetApp().SetShowModal([this](wxDialog& dialog) {
            shown.push_back(dialog.GetTitle().utf8_string());
            return static_cast<int>(wxID_CANCEL);
        });
    }
    ~Dialogs() { wxGetApp().SetShowModal(nullptr); }
    bool Shown(const std::string& title) const
    {
        return std::find(shown.begin(), shown.end(), title) != shown.end();
    }
    std::vector<std::string> shown;
};

size_t DocumentCount() { return wxGetApp().DocManager()->GetDocumentsVector().size(); }

// Keys reach the program in the order they were pressed: once a table key's
// effect shows, every key pressed before it has had its chance to act.
TEST(RealKeys, OnlyTheAcceleratorTablesKeysAct)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    wxDocument* doc = OnlyDocument();
    PadOf(doc).LoadText(L"abc", 1, 4);
    FocusEditor(doc);
    ASSERT_TRUE(PadOf(doc).HasEditorFocus());
    auto line = [doc] { return PadOf(doc).GetLine(0).utf8_string(); };
    Dialogs dialogs;
    wxUIActionSimulator sim;

    sim.Text("x");
    ASSERT_TRUE(PumpUntil([&] { return line() == "abcx"; })) << line();
    sim.Char('z', wxMOD_CONTROL);
    ASSERT_TRUE(PumpUntil([&] { return line() == "abc"; })) << line();

    // Ctrl+R, which the redo item's text names, redoes nothing; Ctrl+G goes
    // to a line although its item reads "Cltr+G".
    sim.Char('r', wxMOD_CONTROL);
    sim.Char('g', wxMOD_CONTROL);
    EXPECT_TRUE(PumpUntil([&] { return dialogs.Shown("转到下列行"); }));
    EXPECT_EQ(line(), "abc");

    // Ctrl+Alt+R, the replace-in-files item's text, opens nothing; Ctrl+Alt+F
    // finds in files.
    sim.Char('r', wxMOD_CONTROL | wxMOD_ALT);
    sim.Char('f', wxMOD_CONTROL | wxMOD_ALT);
    EXPECT_TRUE(PumpUntil([&] { return dialogs.Shown("批量文件查找"); }));
    EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"转到下列行", "批量文件查找"}));

    // GTK's own key of the stock Close item closes nothing; Ctrl+Y redoes.
    sim.Char('w', wxMOD_CONTROL);
    sim.Char('y', wxMOD_CONTROL);
    EXPECT_TRUE(PumpUntil([&] { return line() == "abcx"; })) << line();
    EXPECT_EQ(DocumentCount(), 1u);
    EXPECT_TRUE(answers.asked.empty());
}

TEST(RealKeys, TheSplashTakesTheKeyThatEndsIt)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers, true));
    wxDocument* doc = OnlyDocument();
    CSplashWnd::HideSplashScreen();
    CSplashWnd::ShowSplashScreen(&Frame());
    ASSERT_NE(CSplashWnd::Current(), nullptr);
    CSplashWnd::HoldUntilInput();
    FocusEditor(doc);
    ASSERT_TRUE(PadOf(doc).HasEditorFocus());
    wxUIActionSimulator sim;

    // The splash goes in the handling of the key; a command would have run
    // before.
    sim.Char('n', wxMOD_CONTROL);
    ASSERT_TRUE(PumpUntil([] { return CSplashWnd::Current() == nullptr; }));
    EXPECT_EQ(DocumentCount(), 1u);
    EXPECT_EQ(PadOf(doc).GetLine(0).utf8_string(), "");

    // Without the splash the same key opens a document.
    FocusEditor(doc);
    sim.Char('n', wxMOD_CONTROL);
    EXPECT_TRUE(PumpUntil([] { return DocumentCount() == 2; }));
}

} // namespace
} // namespace ide::test
