// A user's work in the running IDE, typed through the X server: edits stay
// marked when a project fails to open, replace in files neither loses nor
// hides them, a project with relative names builds and runs, and a program
// that prints without end leaves the output panes bounded.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include <sys/stat.h>

#include <gtest/gtest.h>
#include <wx/mdi.h>

#include "ide/model/find_in_files.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/output_panes.hpp"
#include "ide/wx/workspace_views.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"

namespace ide::test {
namespace {

namespace fs = std::filesystem;

// Keys from the X server to the window that has the keyboard focus.
void XKeys(const std::string& args)
{
    ASSERT_EQ(std::system(("xdotool " + args).c_str()), 0) << args;
}

// Makes the document the active one, its editor focused.
void Activate(wxDocument* doc)
{
    if (auto* frame = wxDynamicCast(ViewOf(doc)->GetFrame(), wxMDIChildFrame))
        frame->Activate();
    FocusEditor(doc);
}

void XType(wxDocument* doc, const std::string& text)
{
    Activate(doc);
    XKeys("type --delay 20 -- '" + text + "'");
}

void Command(wxEvtHandler* target, int id)
{
    wxCommandEvent menu(wxEVT_MENU, id);
    target->ProcessEvent(menu);
    Pump();
}

std::string FirstLine(wxDocument* doc) { return PadOf(doc).GetLine(0).utf8_string(); }

void UseToolChain(const std::string& makeFolder = QUV_TOOLCHAIN_DIR)
{
    setenv("QuvMakePath", makeFolder.c_str(), 1);
    setenv("QUVINCLUDEPATH", QUV_RUNTIME_DIR, 1);
    setenv("QUVLIBPATH", QUV_TOOLCHAIN_DIR, 1);
}

TEST(KeepWork, EditsStayMarkedWhenAProjectFailsToOpen)
{
    const std::string path = CopyExample("shop/parts.e");
    const std::string original = ReadFile(path);
    const std::string bad = Write("bad.prj", "[QuvBench]\nProject Name=bad\nProject File Num=2\nFile 1=" + path + "\n");
    Answers answers;
    ASSERT_TRUE(Start({path}, answers));
    wxDocument* doc = OnlyDocument();
    XType(doc, "ab");
    ASSERT_TRUE(PumpUntil([&] { return FirstLine(doc).rfind("ab", 0) == 0; })) << FirstLine(doc);
    EXPECT_TRUE(doc->IsModified());

    const struct {
        const char* how;
        std::function<void()> open;
        const char* key;
    } ways[] = {
        {"文件 → 打开工程",
         [&] { OpenProjectThroughDialog(bad); },
         "c"},
        {"a recent project",
         [&] {
             wxGetApp().AddToRecentProjectList(wxString::FromUTF8(bad));
             Command(&Frame(), ID_RECENT_PROJECT_1);
         },
         "d"},
    };
    std::string typed = "ab";
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        answers.asked.clear();
        answers.replies = {wxNO, wxOK};
        way.open();
        ASSERT_EQ(answers.asked.size(), 2u);
        EXPECT_NE(answers.asked[0].message.find("parts.e"), std::string::npos) << answers.asked[0].message;
        EXPECT_EQ(answers.asked[1].message, "Illegal Project File With the 2th File Name not exist or value is empty!");
        EXPECT_TRUE(doc->IsModified());
        // The next key marks it still; the tab shows it.
        XType(doc, way.key);
        typed += way.key;
        ASSERT_TRUE(PumpUntil([&] { return FirstLine(doc).rfind(typed, 0) == 0; })) << FirstLine(doc);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(ViewOf(doc)->GetFrame()->GetLabel(), "parts.e*");
    }
    EXPECT_EQ(ReadFile(path), original);
    SaveScreenshot(Screenshot(&Frame()), "ide_edits_kept_after_failed_open");

    // 文件 → 退出 asks about the edits: Cancel keeps the IDE, Yes saves them and ends it.
    CMainFrame* frame = &Frame();
    answers.asked.clear();
    answers.replies = {wxCANCEL};
    Command(frame, wxID_EXIT);
    ASSERT_EQ(answers.asked.size(), 1u);
    ASSERT_EQ(wxGetApp().MainFrame(), frame);
    EXPECT_TRUE(doc->IsModified());
    answers.replies = {wxYES};
    Command(frame, wxID_EXIT);
    EXPECT_EQ(answers.asked.size(), 2u);
    EXPECT_EQ(ReadFile(path).substr(0, 4), "abcd");
}

TEST(KeepWork, ReplaceInFilesReloadsOpenEditorsAndLeavesUnsavedOnesAlone)
{
    const std::string clean = CopyExample("shop/shop.e");
    const std::string edited = CopyExample("shop/parts.e");
    const std::string editedBefore = ReadFile(edited);
    Answers answers;
    ASSERT_TRUE(Start({clean}, answers));
    wxDocument* cleanDoc = OnlyDocument();
    wxDocument* editedDoc = OpenDocument(edited);
    ASSERT_NE(editedDoc, nullptr);
    XType(editedDoc, "zz");
    ASSERT_TRUE(PumpUntil([&] { return FirstLine(editedDoc).rfind("zz", 0) == 0; }));

    wxGetApp().StartFindJob(std::make_unique<QuvFindJob>(1, "Int", "Long", "*.e", TestFolder(), 1, 0, 0, 0));
    ASSERT_TRUE(PumpFor(30, [&] {
        const LookupResultModel& rows = Frame().FindList()->Model();
        return wxGetApp().Bench().findBusy == 0 && rows.Count() > 0 &&
               rows.Entry(rows.Count() - 1).Shown().find("结束") != std::string::npos;
    }));
    Pump(10);
    // The file behind the clean editor is replaced and the editor shows it.
    const std::string replaced = ReadFile(clean);
    EXPECT_EQ(replaced.find("Int"), std::string::npos);
    EXPECT_NE(replaced.find("Long"), std::string::npos);
    EXPECT_EQ(PadOf(cleanDoc).UnloadText().utf8_string(), replaced);
    EXPECT_FALSE(cleanDoc->IsModified());
    // The edited one keeps its bytes and its edits, and the find pane says why.
    EXPECT_EQ(ReadFile(edited), editedBefore);
    EXPECT_TRUE(editedDoc->IsModified());
    EXPECT_EQ(FirstLine(editedDoc).substr(0, 2), "zz");
    const LookupResultModel& rows = Frame().FindList()->Model();
    bool said = false;
    for (int i = 0; i < rows.Count(); ++i)
        said = said || rows.Entry(i).Shown() == "文件" + edited + "在编辑器中有未保存的修改，未作替换";
    EXPECT_TRUE(said);

    // Saving the clean editor after an edit keeps the replacement.
    XType(cleanDoc, "q");
    ASSERT_TRUE(PumpUntil([&] { return cleanDoc->IsModified(); }));
    XKeys("key ctrl+s");
    ASSERT_TRUE(PumpUntil([&] { return !cleanDoc->IsModified(); }));
    EXPECT_EQ(ReadFile(clean), "q" + replaced);
}

// The example's project names its source without a folder: the IDE, started
// elsewhere, shows the name as written, opens the file beside the project and
// builds and runs it.
TEST(KeepWork, AProjectWithRelativeNamesOpensBuildsAndRunsFromTheIde)
{
    UseToolChain();
    const std::string source = CopyExample("pipeline/pipeline.e");
    const std::string project = CopyExample("pipeline/pipeline.prj");
    ASSERT_NE(fs::current_path(), fs::path(TestFolder()));
    Answers answers;
    ASSERT_TRUE(Start({source}, answers));
    ASSERT_TRUE(wxGetApp().OpenProject(wxString::FromUTF8(project)));
    ASSERT_TRUE(wxGetApp().DocManager()->GetDocumentsVector().empty());
    CQUVProjectTreeView* tree = Frame().ProjectTree();
    wxTreeItemIdValue cookie;
    const wxTreeItemId item = tree->GetFirstChild(tree->GetRootItem(), cookie);
    ASSERT_TRUE(item.IsOk());
    EXPECT_EQ(tree->GetItemText(item), "pipeline.e");
    wxTreeEvent activated(wxEVT_TREE_ITEM_ACTIVATED, tree, item);
    tree->GetEventHandler()->ProcessEvent(activated);
    Pump();
    ASSERT_EQ(wxGetApp().DocManager()->GetDocumentsVector().size(), 1u);
    EXPECT_EQ(OnlyDocument()->GetFilename().utf8_string(), source);

    FocusEditor(OnlyDocument());
    XKeys("key F5");
    ASSERT_TRUE(PumpFor(90, [] {
        return !JobRunning() && Frame().RunOutput()->GetValue().utf8_string() == "1\n4\n9\n16\n25\n";
    })) << Frame().RunOutput()->GetValue().utf8_string();
    EXPECT_TRUE(answers.asked.empty());
}

// Make and the program print more lines than a pane keeps: each pane ends
// with the last ones, in order, under a row that says earlier ones went.
TEST(KeepWork, OutputWithoutEndLeavesThePanesBounded)
{
    const int lines = 250000;
    const std::string source = CopyExample("pipeline/pipeline.e");
    const std::string printer = "#!/bin/sh\nseq 1 " + std::to_string(lines) + "\n";
    fs::create_directories(TestFolder() + "/make");
    const std::string make = Write("make/nmake.exe", printer);
    const std::string program = Write("printer.exe", printer);
    for (const std::string& file : {make, program})
        ASSERT_EQ(::chmod(file.c_str(), 0755), 0);
    UseToolChain(TestFolder() + "/make");
    const std::string project =
        Write("printer.prj", "[QuvBench]\nProject Name=printer\nProject File Num=1\nFile 1=" + source + "\n");
    Answers answers;
    ASSERT_TRUE(Start({source}, answers));
    ASSERT_TRUE(wxGetApp().OpenProject(wxString::FromUTF8(project)));
    std::string last = std::to_string(lines) + "\n";
    auto ended = [&](CToolOutputView* pane) {
        const wxString text = pane->GetValue();
        return text.EndsWith(wxString::FromUTF8(last));
    };
    Frame().Raise();
    Frame().SetFocus();
    Pump();
    XKeys("key F5");
    ASSERT_TRUE(PumpFor(110, [&] { return !JobRunning() && ended(Frame().MakeOutput()) && ended(Frame().RunOutput()); }));
    SaveScreenshot(Screenshot(&Frame()), "ide_bounded_output");
    for (CToolOutputView* pane : {static_cast<CToolOutputView*>(Frame().MakeOutput()),
                                  static_cast<CToolOutputView*>(Frame().RunOutput())}) {
        const std::string text = pane->GetValue().utf8_string();
        const size_t body = text.find('\n') + 1;
        EXPECT_EQ(text.substr(0, body), std::string(kOutputDroppedText) + "\n");
        const long kept = std::count(text.begin() + static_cast<long>(body), text.end(), '\n');
        EXPECT_EQ(kept, pane->KeptLines());
        EXPECT_LE(kept, kOutputPaneLines);
        EXPECT_GT(kept, 0);
        // The kept lines are the last ones, without a gap.
        EXPECT_EQ(text.substr(body, text.find('\n', body) + 1 - body), std::to_string(lines - kept + 1) + "\n");
    }
}

} // namespace
} // namespace ide::test
