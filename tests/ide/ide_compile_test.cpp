// The compile menu on a running IDE, driven by its keys.
#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include <gtest/gtest.h>

#include "compiler/core/gbk.hpp"
#include "ide/wx/ids.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "tests/ide/x_input.hpp"

namespace ide::test {
namespace {

bool Enabled(int id)
{
    wxUpdateUIEvent update(id);
    wxGetApp().ProcessEvent(update);
    return update.GetEnabled();
}

void UseToolChain()
{
    setenv("QuvMakePath", QUV_TOOLCHAIN_DIR, 1);
    setenv("QUVINCLUDEPATH", QUV_RUNTIME_DIR, 1);
    setenv("QUVLIBPATH", QUV_TOOLCHAIN_DIR, 1);
}

// A project of the one file, its path given in full.
std::string WriteProject(const std::string& name, const std::string& source)
{
    return Write(name + ".prj", "[QuvBench]\nProject Name=" + name + "\nProject File Num=1\nFile 1=" + source + "\n");
}

// Says "1" from each of two processes, then counts without end.
const char kLoop[] =
    "%Prog loop == [ ]\n[\n    Syn\n    %Glob [ Step = 1 : Int ]\n    %Pros [\n"
    "        ticker(%Inp/ n : Int) == [\n            %Loc [ i : Int ]\n            %Alg [\n"
    "                LB = p1 => writeln(n);\n                LB = p2 => $O i = i + n ^ $OLB = p3;\n"
    "                LB = p3 => $OLB = p2\n            ]\n        ]\n    ]\n"
    "    [\n        %Loc [ t, u : NM ]\n        %Stm [\n"
    "            LB = b => $O t == ticker ^ $O u == ticker ^ $OLB = NEXT;\n"
    "            LB = m => || [ t(%Inp/ Step | n); u(%Inp/ Step | n) ];\n"
    "            LB = e => $OLB = RETURN\n        ]\n    ]\n].\n";

TEST(CompileCommands, TypesetShowsTheFormattedTextOnceAcceptedAndAsksBeforeLosingEdits)
{
    const std::string path = CopyExample("shop/shop.e");
    Answers answers;
    ASSERT_TRUE(Start({path}, answers));
    wxDocument* doc = OnlyDocument();
    CQuvPad& pad = PadOf(doc);
    FocusEditor(doc);
    // Indentation the typesetting puts right.
    TypeText("    ");
    const std::string saved = pad.UnloadText().utf8_string();

    answers.replies = {wxOK};
    PressKey(WXK_F4);
    ASSERT_TRUE(PumpFor(20, [&] { return !JobRunning() && pad.UnloadText().utf8_string() != saved; }));
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0].message, "文件排版完毕，您确认显示并排版文档吗?");
    EXPECT_EQ(answers.asked[0].caption, "提示");
    const std::string typeset = gbk::toUtf8(wxGetApp().Bench().CompileJob()->typesetText);
    EXPECT_EQ(pad.GetLine(0).utf8_string(), typeset.substr(0, typeset.find('\n')));
    EXPECT_EQ(pad.GetTextSize(), std::count(typeset.begin(), typeset.end(), '\n') + 1);
    EXPECT_EQ(StatusPosition(), "Ln1, Col1");
    // Only the editor has the typeset text; the file is as saved before the job.
    EXPECT_EQ(ReadFile(path), saved);
    EXPECT_TRUE(doc->IsModified());
    SaveScreenshot(Screenshot(&Frame()), "ide_typeset");

    // Again, and the user edits while the question is open: asked once more, "no" keeps the edit.
    std::vector<std::string> asked;
    wxGetApp().SetMessageBox([&](const wxString& message, const wxString&, long) {
        asked.push_back(message.utf8_string());
        if (asked.size() > 1)
            return static_cast<int>(wxNO);
        pad.LocatePos(1, 1);
        pad.ReplaceSelText("{edit}");
        return static_cast<int>(wxOK);
    });
    PressKey(WXK_F4);
    ASSERT_TRUE(PumpFor(20, [&] { return asked.size() >= 2; }));
    Pump();
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_TRUE(pad.GetLine(0).StartsWith("{edit}")) << pad.GetLine(0);
}

TEST(CompileCommands, ACheckedErrorIsListedAndADoubleClickGoesToIt)
{
    // The label list of the main program is broken on line 3.
    const std::string path = Write("broken.e", "%Prog broken == [ ]\n[\n    Syn [ %Stm [ LB = a => $OLB = ;\n]]].\n");
    Answers answers;
    ASSERT_TRUE(Start({path}, answers));
    FocusEditor(OnlyDocument());
    PressKey(WXK_F7, wxMOD_SHIFT);
    ASSERT_TRUE(PumpFor(20, [] { return !JobRunning() && wxGetApp().Bench().CompileThread(); }));
    Pump(10);

    CCompileResultListView* list = Frame().CompileList();
    int row = -1;
    for (int i = 0; i < list->Model().Count() && row < 0; ++i)
        if (list->Model().ShowsRecord(i))
            row = i;
    ASSERT_GE(row, 0);
    const DiagnosticCopy& record = list->Model().Row(row).record;
    const std::string place = path + "(" + std::to_string(record.line) + "," + std::to_string(record.column) + ")";
    EXPECT_EQ(list->Model().Row(row).cells[0], place);
    EXPECT_EQ(record.line, 3);

    // Closed in the meantime: the double click opens the file again.
    OnlyDocument()->Modify(false);
    ASSERT_TRUE(wxGetApp().CloseAllDocuments());
    Pump();
    list->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxListEvent activate(wxEVT_LIST_ITEM_ACTIVATED, list->GetId());
    activate.SetEventObject(list);
    list->GetEventHandler()->ProcessEvent(activate);
    Pump(10);
    ASSERT_EQ(wxGetApp().DocManager()->GetDocumentsVector().size(), 1u);
    EXPECT_EQ(StatusPosition(), "Ln" + std::to_string(record.line) + ", Col" + std::to_string(record.column));
    SaveScreenshot(Screenshot(&Frame()), "ide_check_error");
}

TEST(CompileCommands, RunBuildsTheProjectAndShowsMakesAndTheProgramsOutput)
{
    UseToolChain();
    const std::string source = CopyExample("pipeline/pipeline.e");
    Answers answers;
    ASSERT_TRUE(Start({source}, answers));
    EXPECT_FALSE(Enabled(ID_RUN)) << "an empty project";
    ASSERT_TRUE(wxGetApp().Bench().Project().Load(WriteProject("pipeline", source)));
    EXPECT_TRUE(Enabled(ID_RUN));
    EXPECT_FALSE(Enabled(ID_STOP));

    PressKey(WXK_F5);
    EXPECT_TRUE(JobRunning());
    EXPECT_FALSE(Enabled(ID_TYPESET));
    EXPECT_TRUE(Enabled(ID_STOP));
    ASSERT_TRUE(PumpFor(90, [] { return !JobRunning(); }));
    Pump(20);

    const std::string make = Frame().MakeOutput()->GetValue().utf8_string();
    const std::string run = Frame().RunOutput()->GetValue().utf8_string();
    EXPECT_NE(make.find("cl.exe"), std::string::npos) << make;
    EXPECT_NE(run.find("1\n"), std::string::npos) << run;
    EXPECT_NE(run.find("25\n"), std::string::npos) << run;
    EXPECT_TRUE(Enabled(ID_RUN));
    EXPECT_FALSE(Enabled(ID_STOP));
    Frame().OutputBar()->SetSelection(Frame().OutputBar()->FindPage(Frame().MakeOutput()));
    SaveScreenshot(Screenshot(&Frame()), "ide_build_make_output");
    Frame().OutputBar()->SetSelection(Frame().OutputBar()->FindPage(Frame().RunOutput()));
    SaveScreenshot(Screenshot(&Frame()), "ide_run_output");
}

// Stopped from the menu, and then again by the frame's close.
TEST(CompileCommands, StopEndsAProgramThatLoops)
{
    UseToolChain();
    const std::string source = Write("loop.e", kLoop);
    Answers answers;
    ASSERT_TRUE(Start({source}, answers));
    ASSERT_TRUE(wxGetApp().Bench().Project().Load(WriteProject("loop", source)));
    for (bool byClose : {false, true}) {
        PressKey(WXK_F5);
        // Both processes write "1" and a line end; on a loaded machine their
        // writes may interleave ("11\n\n").
        ASSERT_TRUE(PumpFor(90, [] {
            std::string text = Frame().RunOutput()->GetValue().utf8_string();
            std::sort(text.begin(), text.end());
            return text == "\n\n11";
        })) << Frame().RunOutput()->GetValue().utf8_string();
        Pump(20);
        EXPECT_TRUE(JobRunning());
        if (byClose) {
            EXPECT_TRUE(Frame().Close());
            EXPECT_FALSE(JobRunning());
            EXPECT_TRUE(wxGetApp().Bench().Workers().Empty());
            break;
        }
        PressKey(WXK_F5, wxMOD_SHIFT);
        ASSERT_TRUE(PumpFor(10, [] { return !JobRunning(); }));
        Pump(10);
        EXPECT_TRUE(Enabled(ID_RUN));
        const CompileResultModel& rows = Frame().CompileList()->Model();
        ASSERT_GT(rows.Count(), 0);
        EXPECT_NE(rows.Row(rows.Count() - 1).cells[1].find("Finished!"), std::string::npos);
        SaveScreenshot(Screenshot(&Frame()), "ide_stopped_loop");
    }
    Pump(10);
    EXPECT_TRUE(answers.asked.empty());
}

TEST(CompileCommands, NoJobStartsAfterASaveThatFailed)
{
    const std::string path = CopyExample("shop/parts.e");
    Answers answers;
    ASSERT_TRUE(Start({path}, answers));
    FocusEditor(OnlyDocument());
    TypeText("x");
    std::filesystem::remove_all(TestFolder());
    for (int key : {WXK_F4, WXK_F7}) {
        answers.asked.clear();
        PressKey(key, key == WXK_F7 ? wxMOD_CONTROL : 0);
        Pump();
        EXPECT_EQ(wxGetApp().Bench().CompileJob(), nullptr) << key;
        EXPECT_FALSE(JobRunning());
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0].caption, "错误");
    }
    EXPECT_TRUE(OnlyDocument()->IsModified());
}

// Keys pressed through the X server: after each command that runs a job, the
// keys typed next still go into the document the command was given from.
TEST(CompileCommands, TypingGoesOnInTheDocumentAfterEachCommand)
{
    UseToolChain();
    const std::string source = CopyExample("pipeline/pipeline.e");
    Answers answers;
    ASSERT_TRUE(Start({source}, answers));
    ASSERT_TRUE(wxGetApp().Bench().Project().Load(WriteProject("pipeline", source)));
    wxDocument* doc = OnlyDocument();
    CQuvPad& pad = PadOf(doc);
    const int last = static_cast<int>(pad.GetTextSize());
    FocusEditor(doc);
    // Blanks at the end of the last line change nothing the compiler sees.
    pad.LocatePos(last, pad.GetLine(last - 1).length() + 1);
    wxWindow& editor = *ViewOf(doc)->GetFrame();
    std::string typed = pad.GetLine(last - 1).utf8_string();
    for (const char* keys : {"ctrl+F7", "F7", "shift+alt+F5", "F5"}) {
        SCOPED_TRACE(keys);
        const CCompileJob* before = wxGetApp().Bench().CompileJob();
        PressKeys(editor, keys);
        ASSERT_TRUE(PumpFor(90, [&] { return wxGetApp().Bench().CompileJob() != before && !JobRunning(); }));
        Pump(10);
        EXPECT_TRUE(pad.HasEditorFocus());
        TypeKeys(editor, " ");
        typed += " ";
        EXPECT_TRUE(PumpUntil([&] { return pad.GetLine(last - 1).utf8_string() == typed; }))
            << pad.GetLine(last - 1);
    }
    EXPECT_NE(Frame().RunOutput()->GetValue().find("25"), wxString::npos);
    SaveScreenshot(Screenshot(&Frame()), "ide_keys_after_run");
}

} // namespace
} // namespace ide::test
