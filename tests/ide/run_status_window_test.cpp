// The status bar while a program keeps printing: the event loop runs as it
// runs for the user (not pumped by the test), keys go through the X server,
// and the caret pane follows the caret at the end of each event.
#include <chrono>
#include <functional>

#include <gtest/gtest.h>
#include <wx/evtloop.h>
#include <wx/statusbr.h>
#include <wx/timer.h>

#include "editor/settings_block.hpp"
#include "editor/wx/color_edit_wnd.hpp"
#include "ide/model/workbench.hpp"
#include "ide/wx/ids.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "tests/ide/x_input.hpp"

namespace ide::test {
namespace {

// Two processes print their counts without end, as fast as they can.
const char kPrinter[] =
    "%Prog printer == [ ]\n[\n    Syn\n    %Glob [ Step = 1 : Int ]\n    %Pros [\n"
    "        ticker(%Inp/ n : Int) == [\n            %Loc [ i : Int ]\n            %Alg [\n"
    "                LB = p1 => writeln(i);\n                LB = p2 => $O i = i + n ^ $OLB = p1\n"
    "            ]\n        ]\n    ]\n"
    "    [\n        %Loc [ t, u : NM ]\n        %Stm [\n"
    "            LB = b => $O t == ticker ^ $O u == ticker ^ $OLB = NEXT;\n"
    "            LB = m => || [ t(%Inp/ Step | n); u(%Inp/ Step | n) ];\n"
    "            LB = e => $OLB = RETURN\n        ]\n    ]\n].\n";

// The program's own event loop, run until `done` holds or `seconds` passed;
// nothing is dispatched for it beyond what the loop itself does.
bool RunLoopUntil(int seconds, const std::function<bool()>& done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    wxGUIEventLoop loop;
    wxTimer check;
    check.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        if (done() || std::chrono::steady_clock::now() > end)
            loop.Exit();
    });
    check.Start(10);
    loop.Run();
    check.Stop();
    return done();
}

std::string Position(CQuvBenchView* view)
{
    return "Ln" + std::to_string(view->CaretLine()) + ", Col" + std::to_string(view->CaretColumn());
}

TEST(RunStatus, TheCaretPaneFollowsKeysAndClicksWhileARunPrints)
{
    setenv("QuvMakePath", QUV_TOOLCHAIN_DIR, 1);
    setenv("QUVINCLUDEPATH", QUV_RUNTIME_DIR, 1);
    setenv("QUVLIBPATH", QUV_TOOLCHAIN_DIR, 1);
    const std::string source = Write("printer.e", kPrinter);
    Answers answers;
    ASSERT_TRUE(Start({source}, answers));
    ASSERT_TRUE(wxGetApp().Bench().Project().Load(
        Write("printer.prj", "[QuvBench]\nProject Name=printer\nProject File Num=1\nFile 1=" + source + "\n")));
    wxDocument* doc = OnlyDocument();
    CQuvBenchView* view = ViewOf(doc);
    quvpad::ColorEditWnd* editor = EditorIn(PadOf(doc).GetWindow());
    ASSERT_NE(editor, nullptr);
    FocusEditor(doc);
    PressKey(WXK_F5);
    ASSERT_TRUE(RunLoopUntil(90, [] { return !JobRunning() || Frame().RunOutput()->GetLastPosition() > 0; }))
        << "the program's output did not come";
    ASSERT_TRUE(JobRunning());

    const struct {
        const char* what;
        std::function<void()> act;
        std::string caret;
    } steps[] = {
        {"a click on line 3", [&] { ClickAt(*editor, wxPoint(60, quvpad::SettingsBlock::Shared().LineHeight() * 5 / 2)); }, "Ln3, Col"},
        {"two arrows down", [&] { PressKeys(*editor, "Down Down"); }, "Ln5, Col"},
        {"typed text", [&] { TypeKeys(*editor, "ab"); }, "Ln5, Col"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        // The caret moves at once; the pane shows it at the end of the event
        // that moved it, with the output still coming.
        EXPECT_TRUE(RunLoopUntil(10, [&] { return Position(view).rfind(step.caret, 0) == 0; })) << Position(view);
        EXPECT_TRUE(RunLoopUntil(10, [&] { return StatusPosition() == Position(view); }))
            << StatusPosition() << " shown, the caret at " << Position(view);
        EXPECT_TRUE(JobRunning());
    }
    EXPECT_TRUE(doc->IsModified());
    PressKey(WXK_F5, wxMOD_SHIFT);
    ASSERT_TRUE(RunLoopUntil(10, [] { return !JobRunning(); }));
    SaveScreenshot(Screenshot(&Frame()), "ide_run_status");
    doc->Modify(false);
}

} // namespace
} // namespace ide::test
