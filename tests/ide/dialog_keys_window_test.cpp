// The go-to and spacing dialogs under real keys and clicks through the X
// server, and the caret pane of the status bar as documents are switched and
// closed.
#include <gtest/gtest.h>
#include <wx/mdi.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include "ide/wx/display_setup_dlg.hpp"
#include "ide/wx/goto_line_dlg.hpp"
#include "ide/wx/ids.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "tests/ide/x_input.hpp"

namespace ide::test {
namespace {

bool Focused(wxWindow* window) { return wxWindow::FindFocus() == window; }

wxPoint Centre(wxWindow* window)
{
    const wxSize size = window->GetClientSize();
    return wxPoint(size.x / 2, size.y / 2);
}

TEST(GotoLineDlg, EnterInTheBoxesIsOk)
{
    std::string text;
    for (int i = 1; i <= 20; ++i)
        text += "line " + std::to_string(i) + "\n";
    Answers answers;
    ASSERT_TRUE(Start({Write("lines.e", text)}, answers));
    wxDocument* doc = OnlyDocument();
    FocusEditor(doc);
    ViewOf(doc)->PostLocatePos(2, 3);
    ASSERT_TRUE(PumpUntil([] { return StatusPosition() == "Ln2, Col3"; })) << StatusPosition();

    // The line box has the focus with its text selected; Tab, select all and
    // type in the column box; Enter there.
    CGotoLineDlg* dialog = nullptr;
    WhileModal([&] { Command(doc, ID_EDIT_GOTO_LINE); },
               {[&](wxDialog& d) {
                    dialog = dynamic_cast<CGotoLineDlg*>(&d);
                    EXPECT_NE(dialog, nullptr);
                    if (!dialog)
                        return true;
                    TypeKeys(*dialog->LineBox(), "12");
                    return true;
                },
                [&](wxDialog&) {
                    if (dialog->LineBox()->GetValue() != "12")
                        return false;
                    PressKeys(*dialog, "Tab");
                    return true;
                },
                [&](wxDialog&) {
                    if (!Focused(dialog->ColumnBox()))
                        return false;
                    PressKeys(*dialog->ColumnBox(), "ctrl+a");
                    TypeKeys(*dialog->ColumnBox(), "5");
                    return true;
                },
                [&](wxDialog&) {
                    if (dialog->ColumnBox()->GetValue() != "5")
                        return false;
                    SaveScreenshot(Screenshot(dialog), "goto_line_typed");
                    PressKeys(*dialog->ColumnBox(), "Return");
                    return true;
                }});
    Pump();
    EXPECT_EQ(StatusPosition(), "Ln12, Col5");
    EXPECT_EQ(ViewOf(doc)->CaretLine(), 12);
    EXPECT_TRUE(answers.asked.empty());
}

TEST(DisplaySetup, TheSpinButtonStepsATypedValue)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CDisplaySetting& display = wxGetApp().Bench().DisplaySetting();
    display.MinX = 0;
    display.TabSize = 2;
    display.LineDistance = 0;
    CSpaceSetupDlg* dialog = nullptr;
    wxTextCtrl* tab = nullptr;
    auto spin = [&](bool up) {
        // GTK lays the spin's two buttons side by side, "+" on the right, or
        // one above the other, "+" on top.
        auto* button = dynamic_cast<wxSpinButton*>(dialog->FindWindow(1031));
        EXPECT_NE(button, nullptr);
        if (!button)
            return;
        const wxSize size = button->GetClientSize();
        const int near = up ? 3 : 1;
        ClickAt(*button, size.x > size.y ? wxPoint(size.x * near / 4, size.y / 2)
                                         : wxPoint(size.x / 2, size.y * (4 - near) / 4));
    };
    // Once the box has the focus, replaces its text with value.
    auto typeValue = [&](std::string value) -> ModalStep {
        return [&, value](wxDialog&) {
            if (!Focused(tab))
                return false;
            PressKeys(*tab, "ctrl+a");
            TypeKeys(*tab, value);
            return true;
        };
    };
    // Once the box shows typed, presses the spin's "+" (up) or "-".
    auto spinFrom = [&](std::string typed, bool up) -> ModalStep {
        return [&, typed, up](wxDialog&) {
            if (tab->GetValue() != typed)
                return false;
            spin(up);
            return true;
        };
    };
    // Once the box no longer shows typed, expects stepped and gives the box the focus again.
    auto expectStep = [&](std::string typed, std::string stepped, std::string screenshot) -> ModalStep {
        return [&, typed, stepped, screenshot](wxDialog&) {
            if (tab->GetValue() == typed)
                return false;
            if (!screenshot.empty())
                SaveScreenshot(Screenshot(dialog), screenshot);
            EXPECT_EQ(tab->GetValue(), stepped);
            ClickAt(*tab, Centre(tab));
            return true;
        };
    };
    WhileModal(
        [&] {
            wxCommandEvent menu(wxEVT_MENU, ID_SETUP_SPACES);
            Frame().GetEventHandler()->ProcessEvent(menu);
        },
        {[&](wxDialog& d) {
             dialog = dynamic_cast<CSpaceSetupDlg*>(&d);
             EXPECT_NE(dialog, nullptr);
             if (!dialog)
                 return true;
             tab = dialog->Edit(1);
             EXPECT_EQ(tab->GetValue(), "2");
             ClickAt(*tab, Centre(tab));
             return true;
         },
         typeValue("150"), spinFrom("150", true), expectStep("150", "151", "space_setup_spin"),
         // Typed beyond the range, the spin steps from the range's end.
         typeValue("20000"), spinFrom("20000", false), expectStep("20000", "9999", ""),
         typeValue("7"),
         [&](wxDialog&) {
             if (tab->GetValue() != "7")
                 return false;
             ClickAt(*dialog->FindWindow(wxID_OK), Centre(dialog->FindWindow(wxID_OK)));
             return true;
         }});
    Pump();
    EXPECT_EQ(display.TabSize, 7);
    EXPECT_TRUE(answers.asked.empty());
}

TEST(EditorView, TheStatusBarShowsTheActiveDocumentsPosition)
{
    Answers answers;
    ASSERT_TRUE(Start({Write("first.e", "a\nbbbb\ncc\n")}, answers));
    wxDocument* first = OnlyDocument();
    wxDocument* second = OpenDocument(Write("second.e", "xyz\n"));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    auto activate = [](wxDocument* doc) {
        static_cast<wxMDIChildFrame*>(ViewOf(doc)->GetFrame())->Activate();
        Pump();
    };
    activate(first);
    PadOf(first).LocatePos(2, 4);
    activate(second);
    PadOf(second).LocatePos(1, 3);
    ASSERT_TRUE(PumpUntil([] { return StatusPosition() == "Ln1, Col3"; }));

    activate(first);
    EXPECT_TRUE(PumpUntil([] { return StatusPosition() == "Ln2, Col4"; })) << StatusPosition();
    // A caret moved in the document behind does not show.
    PadOf(second).LocatePos(1, 2);
    Pump();
    EXPECT_EQ(StatusPosition(), "Ln2, Col4");
    activate(second);
    EXPECT_TRUE(PumpUntil([] { return StatusPosition() == "Ln1, Col2"; })) << StatusPosition();

    // Closed, the document behind comes to the front with its position; with
    // the last one closed the pane is empty.
    Command(second, wxID_CLOSE);
    EXPECT_TRUE(PumpUntil([] { return StatusPosition() == "Ln2, Col4"; })) << StatusPosition();
    Command(first, wxID_CLOSE);
    EXPECT_TRUE(PumpUntil([] { return wxGetApp().DocManager()->GetDocumentsVector().empty(); }));
    EXPECT_EQ(StatusPosition(), "");
    EXPECT_TRUE(answers.asked.empty());
}

} // namespace
} // namespace ide::test
