// A project whose folder, project file and sources have Chinese names, in the
// running IDE: the compile commands under real keys, double clicks on the
// rows through the X server, find in files, and the project saved and read
// back. The project file comes from where names are GBK.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/uiaction.h>

#include "compiler/core/gbk.hpp"
#include "ide/wx/find_in_files_dlg.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/output_panes.hpp"
#include "ide/wx/workspace_views.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "tests/ide/x_input.hpp"

namespace ide::test {
namespace {

namespace fs = std::filesystem;

// The label list of the main program is broken on line 3, column 29.
const char kBroken[] = "%Prog broken == [ ]\n[\n    Syn [ %Stm [ LB = a => $OLB = ;\n]]].\n";

// A double click of the pointer on a row, through the X server.
void DoubleClickRow(wxListCtrl& list, int row)
{
    list.EnsureVisible(row);
    Frame().Raise();
    Pump(10);
    wxRect rect;
    ASSERT_TRUE(list.GetItemRect(row, rect));
    DoubleClickAt(list, wxPoint(rect.x + 30, rect.y + rect.height / 2));
}

std::string ActiveFile()
{
    wxDocument* doc = wxGetApp().DocManager()->GetCurrentDocument();
    return doc ? doc->GetFilename().utf8_string() : std::string();
}

// One compile command, given by its key, over the active document or the project.
struct CompileCase {
    const char* what;
    const char* document;  // activated first
    int key;
    int modifiers;
    int diagnosticLine;    // 0: none expected
    const char* lastStage; // the last text row's second cell
    const char* makeHas;   // null: not checked
    const char* runOutput; // null: not checked
};

TEST(ChineseNames, AProjectInAChineseFolderCompilesBuildsRunsFindsAndReopens)
{
    setenv("QuvMakePath", QUV_TOOLCHAIN_DIR, 1);
    setenv("QUVINCLUDEPATH", QUV_RUNTIME_DIR, 1);
    setenv("QUVLIBPATH", QUV_TOOLCHAIN_DIR, 1);
    const fs::path folder = fs::path(TestFolder()) / "张三" / "项目";
    fs::create_directories(folder);
    fs::copy_file(fs::path(QUV_EXAMPLES_DIR) / "pipeline/pipeline.e", folder / "程序.e");
    std::ofstream(folder / "错误.e", std::ios::binary) << kBroken;
    const std::string good = (folder / "程序.e").string();
    const std::string broken = (folder / "错误.e").string();
    const std::string prj = (folder / "工程.prj").string();
    // Written where names are GBK.
    std::ofstream(prj, std::ios::binary) << "[QuvBench]\nProject Name=" << gbk::fromUtf8("工程")
                                         << "\nProject File Num=1\nFile 1=" << gbk::fromUtf8("程序.e") << "\n";

    Answers answers;
    ASSERT_TRUE(Start({good, broken}, answers));
    ASSERT_TRUE(wxGetApp().OpenProject(wxString::FromUTF8(prj)));
    Pump();
    CMainFrame& frame = Frame();
    EXPECT_EQ(frame.ProjectTree()->GetItemText(frame.ProjectTree()->GetRootItem()).utf8_string(), "工程");
    EXPECT_EQ(Children(frame.ProjectTree()), std::vector<std::string>{"程序.e"});
    // Opening the project closed the documents: open them again, as the user would.
    OpenDocument(good);
    OpenDocument(broken);
    EXPECT_EQ(Children(frame.OpenedFilesTree()), (std::vector<std::string>{good, broken}));
    SaveScreenshot(Screenshot(&frame), "chinese_names_project");

    const CompileCase cases[] = {
        {"check the broken source", broken.c_str(), WXK_F7, wxMOD_SHIFT, 3, nullptr, nullptr, nullptr},
        {"compile the broken source", broken.c_str(), WXK_F7, wxMOD_CONTROL, 3, nullptr, nullptr, nullptr},
        {"compile the good source", good.c_str(), WXK_F7, wxMOD_CONTROL, 0,
         "Semantic Checking Finished!, 0 errors found!", nullptr, nullptr},
        {"compile the project", good.c_str(), WXK_F7, 0, 0, "Compile Project Finished!, 0 errors found!", nullptr,
         nullptr},
        {"build", good.c_str(), WXK_F5, wxMOD_SHIFT | wxMOD_ALT, 0, "nmake finished with exit code = 0, successfully!",
         "link.exe", nullptr},
        {"run", good.c_str(), WXK_F5, 0, 0, nullptr, nullptr, "1\n4\n9\n16\n25\n"},
        {"typeset", good.c_str(), WXK_F4, 0, 0, "Typesetting Finished!, 0 errors found!", nullptr, nullptr},
    };
    wxUIActionSimulator sim;
    for (const CompileCase& c : cases) {
        SCOPED_TRACE(c.what);
        wxDocument* doc = OpenDocument(c.document);
        ASSERT_NE(doc, nullptr);
        FocusEditor(doc);
        const CCompileJob* before = wxGetApp().Bench().CompileJob();
        sim.Char(c.key, c.modifiers);
        ASSERT_TRUE(PumpFor(120, [&] { return wxGetApp().Bench().CompileJob() != before && !JobRunning(); }));
        Pump(20);

        CCompileResultListView* list = frame.CompileList();
        const CompileResultModel& rows = list->Model();
        ASSERT_GT(rows.Count(), 0);
        int diagnostic = -1;
        std::string lastStage;
        for (int i = 0; i < rows.Count(); ++i) {
            const CompileRow& row = rows.Row(i);
            // Every stage names a file of the project, as it is named.
            if (row.showsRecord)
                diagnostic = diagnostic < 0 ? i : diagnostic;
            else
                EXPECT_EQ(row.cells[0].rfind(folder.string() + "/", 0), 0u) << row.cells[0];
            if (!row.showsRecord)
                lastStage = row.cells[1];
        }
        if (c.lastStage) {
            EXPECT_EQ(lastStage, c.lastStage);
        }
        if (c.makeHas) {
            const std::string make = frame.MakeOutput()->GetValue().utf8_string();
            EXPECT_NE(make.find(c.makeHas), std::string::npos) << make;
            EXPECT_NE(make.find(good.substr(0, good.size() - 2) + ".cpp"), std::string::npos) << make;
        }
        if (c.runOutput) {
            EXPECT_TRUE(PumpFor(10, [&] { return frame.RunOutput()->GetValue().utf8_string() == c.runOutput; }))
                << frame.RunOutput()->GetValue().utf8_string();
        }
        if (c.diagnosticLine == 0) {
            EXPECT_EQ(diagnostic, -1) << rows.Row(diagnostic).cells[0] << " " << rows.Row(diagnostic).cells[2];
            continue;
        }
        ASSERT_GE(diagnostic, 0);
        const DiagnosticCopy& record = rows.Row(diagnostic).record;
        EXPECT_EQ(rows.Row(diagnostic).cells[0],
                  broken + "(" + std::to_string(record.line) + "," + std::to_string(record.column) + ")");
        EXPECT_EQ(record.line, c.diagnosticLine);
        // From another document, the double click goes to the place.
        FocusEditor(OpenDocument(good));
        DoubleClickRow(*list, diagnostic);
        EXPECT_TRUE(PumpUntil([&] { return ActiveFile() == broken; })) << ActiveFile();
        const std::string place = "Ln" + std::to_string(record.line) + ", Col" + std::to_string(record.column);
        EXPECT_TRUE(PumpUntil([&] { return StatusPosition() == place; })) << StatusPosition();
        // Widened, as the user would, to show the whole name.
        list->SetColumnWidth(0, 760);
        SaveScreenshot(Screenshot(&frame),
                       std::string("chinese_names_") + (c.modifiers == wxMOD_SHIFT ? "check" : "compile"));
    }
    // The typeset text went to the document of its file, which shows its name.
    ASSERT_FALSE(answers.asked.empty());
    EXPECT_EQ(answers.asked.back().message, "文件排版完毕，您确认显示并排版文档吗?");
    EXPECT_EQ(ActiveFile(), good);
    EXPECT_EQ(ViewOf(OpenDocument(good))->GetFrame()->GetLabel().utf8_string().rfind("程序.e", 0), 0u);
    frame.OutputBar()->SetSelection(frame.OutputBar()->FindPage(frame.MakeOutput()));
    SaveScreenshot(Screenshot(&frame), "chinese_names_make");
    frame.OutputBar()->SetSelection(frame.OutputBar()->FindPage(frame.RunOutput()));
    SaveScreenshot(Screenshot(&frame), "chinese_names_run");

    // Find in files over the project's files; the row opens the file at its line.
    WhileModal([&] { Command(OpenDocument(broken), ID_FIND_IN_FILES); },
               {[&](wxDialog& d) {
                    dynamic_cast<wxComboBox*>(d.FindWindow(IDC_FIND_TEXT))->SetValue("writeln");
                    auto* scope = dynamic_cast<wxRadioButton*>(d.FindWindow(IDC_SCOPE_PROJECT));
                    scope->SetValue(true);
                    wxCommandEvent chosen(wxEVT_RADIOBUTTON, IDC_SCOPE_PROJECT);
                    chosen.SetEventObject(scope);
                    scope->GetEventHandler()->ProcessEvent(chosen);
                    return true;
                },
                [&](wxDialog& d) {
                    PressKeys(d, "Return");
                    return true;
                }});
    ASSERT_TRUE(PumpFor(30, [] { return wxGetApp().Bench().findBusy == 0; }));
    Pump(10);
    CLookupResultListView& found = *frame.FindList();
    int match = -1;
    for (int i = 0; i < found.Model().Count() && match < 0; ++i)
        if (found.Model().Entry(i).Line() > 0)
            match = i;
    ASSERT_GE(match, 0);
    EXPECT_EQ(found.Model().Entry(match).Shown(), good + " (20) : writeln");
    DoubleClickRow(found, match);
    EXPECT_TRUE(PumpUntil([&] { return ActiveFile() == good && StatusPosition() == "Ln20, Col1"; }))
        << ActiveFile() << " " << StatusPosition();
    SaveScreenshot(Screenshot(&frame), "chinese_names_find");

    // The broken source joins the project; saved, the project file holds the
    // names as they are on disk, and opened again lists the same files.
    OpenDocument(broken);
    frame.ProjectTree()->SelectFile("");
    wxCommandEvent add(wxEVT_MENU, ID_WORKSPACE_ADD_CURRENT);
    frame.ProjectTree()->GetEventHandler()->ProcessEvent(add);
    Pump();
    const std::vector<std::string> listed = Children(frame.ProjectTree());
    EXPECT_EQ(listed, (std::vector<std::string>{"程序.e", broken}));
    answers.asked.clear();
    answers.replies = {wxYES};
    wxCommandEvent save(wxEVT_MENU, ID_PROJECT_SAVE);
    frame.GetEventHandler()->ProcessEvent(save);
    Pump();
    EXPECT_EQ(ReadFile(prj), "[QuvBench]\nProject Name=工程\nProject File Num=2\nFile 1=程序.e\nFile 2=" + broken + "\n");
    wxMenuItem* recent = frame.GetMenuBar()->FindItem(ID_RECENT_PROJECT_1);
    ASSERT_NE(recent, nullptr);
    EXPECT_EQ(recent->GetItemLabelText().utf8_string(), "1 .../工程.prj");

    wxCommandEvent reopen(wxEVT_MENU, ID_RECENT_PROJECT_1);
    frame.GetEventHandler()->ProcessEvent(reopen);
    Pump();
    EXPECT_EQ(Children(frame.ProjectTree()), listed);
    EXPECT_EQ(wxGetApp().Bench().Project().ResolvedFiles(), (std::vector<std::string>{good, broken}));
    EXPECT_FALSE(wxGetApp().Bench().Project().IsModified());
    SaveScreenshot(Screenshot(&frame), "chinese_names_reopened");
}

} // namespace
} // namespace ide::test
