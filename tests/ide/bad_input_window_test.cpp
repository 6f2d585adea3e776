// Bad input on the running IDE: a large settings file, a registry file that
// cannot be read, a project file without an end and a typeset text of many
// megabytes each get one clear answer, and the IDE keeps running with every
// document it had.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <new>

#include <gtest/gtest.h>

#include "ide/model/settings_file.hpp"
#include "ide/wx/ids.hpp"
#include "platform/registry_file.hpp"
#include "screen_grab.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "tests/ide/open_count.hpp"
#include "tests/ide/starved_memory.hpp"
#include "tests/ide/x_input.hpp"
#include "tool_run.hpp"

extern char** environ;

namespace ide::test {
namespace {

namespace fs = std::filesystem;

void Command(wxEvtHandler* target, int id)
{
    wxCommandEvent menu(wxEVT_MENU, id);
    target->ProcessEvent(menu);
    Pump();
}

// A document with an edit not saved yet.
wxDocument* EditedDocument(Answers& answers)
{
    const std::string path = CopyExample("shop/parts.e");
    if (!Start({path}, answers))
        return nullptr;
    wxDocument* doc = OnlyDocument();
    PadOf(doc).LocatePos(1, 1);
    PadOf(doc).ReplaceSelText("{unsaved}");
    Pump();
    return doc;
}

// The main window the process `pid` shows (by its title, so not the
// splash), 0 while there is none.
unsigned long WindowOf(pid_t pid)
{
    const RunResult found =
        runCommand("xdotool search --all --onlyvisible --pid " + std::to_string(pid) + " --name QuvBench 2>/dev/null");
    return std::strtoul(found.out.c_str(), nullptr, 10);
}

// quvbench itself, started on this display and this settings folder, shows
// its window after a single read of a settings file of 10 MB.
TEST(BadInput, ALargeSettingsFileIsReadOnceBeforeTheWindowShows)
{
    const std::string ini = SettingsFilePath();
    EnsureFolderOf(ini);
    {
        std::ofstream out(ini, std::ios::binary);
        out << "[COLORS]\n背景色=0xe0f0ff\n[Other]\n";
        for (int i = 0; i < 262144; ++i)
            out << "key" << 1000000 + i << "=a value the IDE does not use\n";
    }
    ASSERT_GT(fs::file_size(ini), 10u << 20);
    OpenCount count(ini);
    ASSERT_TRUE(count.Watching());
    char* const args[] = {const_cast<char*>(QUVBENCH_PATH), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, QUVBENCH_PATH, nullptr, nullptr, args, environ), 0);
    unsigned long window = 0;
    for (int i = 0; i < 1200 && !(window = WindowOf(pid)); ++i)
        usleep(100000);
    EXPECT_NE(window, 0u);
    EXPECT_EQ(count.Opens(), 1);
    if (window) {
        usleep(500000);
        const RunResult shape = runCommand("xdotool getwindowgeometry --shell " + std::to_string(window));
        int x = 0, y = 0, width = 0, height = 0;
        std::sscanf(shape.out.c_str(), "WINDOW=%*d X=%d Y=%d WIDTH=%d HEIGHT=%d", &x, &y, &width, &height);
        if (width > 0 && height > 0)
            SaveScreenshot(quv::test::GrabScreen(wxRect(x, y, width, height)), "ide_large_settings_file");
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    fs::remove(ini);
}

// A registry file the control cannot be found in: the box names the file and
// why, and the IDE goes on with the document it has.
TEST(BadInput, ARegistryThatCannotBeReadIsNamedInTheBox)
{
    Answers answers;
    wxDocument* doc = EditedDocument(answers);
    ASSERT_NE(doc, nullptr);
    const std::string registry = platform::RegistryFile::UserPath();
    const std::string bad = TestFolder() + "/registry";
    const struct {
        const char* name;
        std::function<void()> make;
        const char* why;
    } rows[] = {
        {"a folder", [&] { fs::create_directory(bad); }, "无法读取：这是一个文件夹"},
        {"binary data", [&] { std::ofstream(bad, std::ios::binary) << std::string("\x7f" "ELF\x02\x01\x01\0\0\0", 10); },
         "无法读取：第 1 行不是注册表的内容"},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        fs::remove_all(bad);
        r.make();
        setenv("QUVBENCH_REGISTRY", bad.c_str(), 1);
        answers.asked.clear();
        Command(&Frame(), wxID_NEW);
        setenv("QUVBENCH_REGISTRY", registry.c_str(), 1);
        ASSERT_EQ(answers.asked.size(), 1u);
        const std::string& told = answers.asked[0].message;
        EXPECT_EQ(told.rfind("无法创建编辑控件：注册表文件 " + bad + " ", 0), 0u) << told;
        EXPECT_NE(told.find(r.why), std::string::npos) << told;
        EXPECT_NE(told.find("用 quvreg 注册编辑控件"), std::string::npos) << told;
        EXPECT_EQ(answers.asked[0].caption, "错误");
        ASSERT_EQ(wxGetApp().DocManager()->GetDocumentsVector().size(), 1u);
        EXPECT_TRUE(doc->IsModified());
    }
    SaveScreenshot(Screenshot(&Frame()), "ide_registry_cannot_be_read");
    fs::remove_all(bad);
    // With the registry back, a new document opens.
    Command(&Frame(), wxID_NEW);
    EXPECT_EQ(wxGetApp().DocManager()->GetDocumentsVector().size(), 2u);
}

// /dev/zero chosen as a project, from the open dialog and from the recent
// list: the read stops at its bound and says so; the document keeps its edit.
TEST(BadInput, AProjectFileWithoutAnEndIsToldAndTheDocumentsStay)
{
    Answers answers;
    wxDocument* doc = EditedDocument(answers);
    ASSERT_NE(doc, nullptr);
    const std::string zero = "/dev/zero";
    const struct {
        const char* how;
        std::function<void()> open;
    } ways[] = {
        {"文件 → 打开工程",
         [&] { OpenProjectThroughDialog(zero); }},
        {"a recent project",
         [&] {
             wxGetApp().AddToRecentProjectList(wxString::FromUTF8(zero));
             Command(&Frame(), ID_RECENT_PROJECT_1);
         }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.how);
        answers.asked.clear();
        answers.replies = {wxNO, wxOK};
        way.open();
        ASSERT_EQ(answers.asked.size(), 2u);
        EXPECT_NE(answers.asked[1].message.find("工程文件 /dev/zero：文件太大（超过 64 MiB）"), std::string::npos)
            << answers.asked[1].message;
        ASSERT_EQ(wxGetApp().DocManager()->GetDocumentsVector().size(), 1u);
        EXPECT_TRUE(doc->IsModified());
        EXPECT_EQ(PadOf(doc).GetLine(0).utf8_string().rfind("{unsaved}", 0), 0u);
    }
    SaveScreenshot(Screenshot(&Frame()), "ide_project_without_an_end");
}

// A command that runs out of memory ends with a box; the IDE and its
// documents stay as they were.
TEST(BadInput, ACommandThatRunsOutOfMemoryEndsWithABox)
{
    Answers answers;
    wxDocument* doc = EditedDocument(answers);
    ASSERT_NE(doc, nullptr);
    const int id = wxWindow::NewControlId();
    Frame().Bind(wxEVT_MENU, [](wxCommandEvent&) { throw std::bad_alloc(); }, id);
    answers.asked.clear();
    // Through the toolkit, as a menu's own event comes.
    wxCommandEvent menu(wxEVT_MENU, id);
    Frame().HandleWindowEvent(menu);
    Pump();
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0].caption, "错误");
    EXPECT_NE(answers.asked[0].message.find("内存不足"), std::string::npos) << answers.asked[0].message;
    ASSERT_EQ(wxGetApp().DocManager()->GetDocumentsVector().size(), 1u);
    EXPECT_TRUE(doc->IsModified());
}

// The typeset text of brackets nested a thousand deep (a megabyte of tabs),
// accepted where there is no memory to take it in: the box says so, the
// document keeps its text, and the next typeset takes the text in.
TEST(BadInput, ATypesetTextWithoutTheMemoryToTakeItInLeavesTheDocument)
{
    const int depth = 1000;
    const std::string path = Write("deep.e", std::string(depth, '[') + std::string(depth, ']') + "\n");
    Answers unused;
    ASSERT_TRUE(Start({path}, unused));
    wxDocument* doc = OnlyDocument();
    CQuvPad& pad = PadOf(doc);
    const wxString before = pad.UnloadText();
    std::vector<std::string> asked;
    bool starve = true;
    wxGetApp().SetMessageBox([&](const wxString& message, const wxString&, long) {
        asked.push_back(message.utf8_string());
        // Accepted with too little memory left for the text's wide copy.
        if (asked.back() == "文件排版完毕，您确认显示并排版文档吗?" && starve)
            RefuseRequestsAbove(wxGetApp().Bench().CompileJob()->typesetText.size());
        else
            RefuseRequestsAbove(0);
        return static_cast<int>(wxOK);
    });
    FocusEditor(doc);
    PressKeys(Frame(), "F4");
    ASSERT_TRUE(PumpFor(60, [&] { return asked.size() >= 2; }));
    RefuseRequestsAbove(0);
    EXPECT_EQ(asked[1], "内存不足，命令未能完成。");
    EXPECT_EQ(pad.UnloadText(), before);
    EXPECT_FALSE(doc->IsModified());
    SaveScreenshot(Screenshot(&Frame()), "ide_typeset_without_memory");

    // The IDE goes on: with the memory there, the same command takes the text in.
    starve = false;
    asked.clear();
    FocusEditor(doc);
    PressKeys(Frame(), "F4");
    ASSERT_TRUE(PumpFor(60, [&] { return !JobRunning() && pad.GetTextSize() > depth; }));
    EXPECT_EQ(asked, std::vector<std::string>{"文件排版完毕，您确认显示并排版文档吗?"});
    const std::string& typeset = wxGetApp().Bench().CompileJob()->typesetText;
    // A text that ends in a line break has no empty line after it.
    EXPECT_EQ(pad.GetTextSize(), std::count(typeset.begin(), typeset.end(), '\n') + (typeset.back() != '\n'));
    EXPECT_EQ(wxGetApp().DocManager()->GetDocumentsVector().size(), 1u);
}

} // namespace
} // namespace ide::test
