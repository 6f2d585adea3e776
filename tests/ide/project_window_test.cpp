// Projects and display settings in the running IDE, driven by command events:
// a project is created, edited, saved, closed and reopened; a project that
// cannot be written is not lost; the colour and spacing dialogs check and hand
// back what the user chose.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/menu.h>
#include <wx/textctrl.h>

#include "ide/model/error_text.hpp"
#include "ide/wx/common_dialogs.hpp"
#include "ide/wx/display_setup_dlg.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/project_settings_dlg.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "ink.hpp"

namespace ide::test {
namespace {

namespace fs = std::filesystem;

// A folder of source files for one test.
struct Sources {
    Sources()
    {
        dir = fs::temp_directory_path() / ("quvbench-project-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        for (const char* name : {"a.e", "b.e", "c.e"})
            std::ofstream(dir / name) << "%Prog p;\n";
    }
    ~Sources() { fs::remove_all(dir); }
    std::string Path(const char* name) const { return (dir / name).string(); }
    fs::path dir;
};

void Click(wxWindow* dialog, int id)
{
    wxWindow* button = dialog->FindWindow(id);
    ASSERT_NE(button, nullptr) << id;
    wxCommandEvent click(wxEVT_BUTTON, id);
    click.SetEventObject(button);
    button->GetEventHandler()->ProcessEvent(click);
}

void Command(wxEvtHandler* target, int id)
{
    wxCommandEvent menu(wxEVT_MENU, id);
    target->ProcessEvent(menu);
    Pump();
}

// Each of the IDE's dialogs is shown (not run modally) and handed to the next script.
struct DialogScripts {
    DialogScripts()
    {
        wxGetApp().SetShowModal([this](wxDialog& dialog) {
            dialog.SetReturnCode(wxID_CANCEL);
            dialog.Show();
            Pump();
            if (!scripts.empty()) {
                auto script = std::move(scripts.front());
                scripts.pop_front();
                script(dialog);
            }
            const int code = dialog.GetReturnCode();
            dialog.Hide();
            ++shown;
            return code;
        });
    }
    std::deque<std::function<void(wxDialog&)>> scripts;
    int shown = 0;
};

std::string RootText(wxTreeCtrl* tree) { return tree->GetItemText(tree->GetRootItem()).utf8_string(); }

// Starts the IDE; the empty document it opens asks nothing when it closes.
bool StartQuiet(Answers& answers)
{
    if (!Start({}, answers))
        return false;
    for (wxDocument* doc : wxGetApp().DocManager()->GetDocumentsVector())
        doc->Modify(false);
    return true;
}

TEST(Projects, CreateEditSaveCloseAndReopenFromTheRecentList)
{
    Sources src;
    const std::string prj = src.Path("demo.prj");
    Answers answers;
    ASSERT_TRUE(StartQuiet(answers));
    CMainFrame& frame = Frame();
    CQUVProjectTreeView* tree = frame.ProjectTree();
    EXPECT_EQ(RootText(tree), "工程尚未创建");

    std::deque<wxArrayString> files;
    CommonDialogs::SetFileHook([&files](const FileDialogSpec&, wxArrayString& paths) {
        if (files.empty())
            return false;
        paths = files.front();
        files.pop_front();
        return true;
    });
    DialogScripts dialogs;
    dialogs.scripts.push_back([&](wxDialog& d) {
        auto& dialog = static_cast<CQuvProjectSettingsDlg&>(d);
        // Neither name nor path yet: refused, the dialog stays.
        Click(&dialog, wxID_OK);
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0].message, "工程名或工程路径不能为空!");
        EXPECT_EQ(answers.asked[0].caption, "提示");
        EXPECT_TRUE(dialog.IsShown());
        wxArrayString chosen;
        chosen.push_back(wxString::FromUTF8(prj));
        files.push_back(chosen);
        Click(&dialog, CQuvProjectSettingsDlg::ID_CHOOSE_PATH);
        EXPECT_EQ(dialog.NameEdit()->GetValue(), "demo");
        wxArrayString two;
        two.push_back(wxString::FromUTF8(src.Path("a.e")));
        two.push_back(wxString::FromUTF8(src.Path("b.e")));
        files.push_back(two);
        Click(&dialog, CQuvProjectSettingsDlg::ID_ADD_FILES);
        EXPECT_EQ(dialog.ProjectList()->GetItemCount(), 2);
        SaveScreenshot(Screenshot(&dialog), "project_settings_dialog");
        Click(&dialog, wxID_OK);
    });
    Command(&frame, ID_PROJECT_NEW);
    EXPECT_EQ(dialogs.shown, 1);
    ASSERT_TRUE(PumpUntil([&] { return frame.WorkspaceBar()->GetCurrentPage() == tree; }));
    EXPECT_EQ(RootText(tree), "demo");
    EXPECT_EQ(Children(tree), (std::vector<std::string>{src.Path("a.e"), src.Path("b.e")}));
    // A new project closes the documents that were open, and their items go.
    EXPECT_TRUE(wxGetApp().DocManager()->GetDocumentsVector().empty());
    EXPECT_TRUE(Children(frame.OpenedFilesTree()).empty());

    // The active document joins the project; a.e leaves it.
    wxGetApp().OpenDocumentFile(wxString::FromUTF8(src.Path("c.e")));
    Pump();
    EXPECT_EQ(Children(frame.OpenedFilesTree()), std::vector<std::string>{src.Path("c.e")});
    frame.ActivateOpenedFilesTree();
    SaveScreenshot(Screenshot(frame.WorkspaceBar()), "opened_files_tree");
    frame.ActivateProjectTree();
    tree->SelectFile("");
    wxMenu* popup = tree->PopupMenuForTest();
    EXPECT_EQ(popup->FindItem(ID_WORKSPACE_ADD_CURRENT)->GetItemLabel().utf8_string(), "添加当前活动文档");
    EXPECT_TRUE(popup->IsEnabled(ID_WORKSPACE_ADD_CURRENT));
    EXPECT_FALSE(popup->IsEnabled(ID_WORKSPACE_REMOVE));
    Command(tree, ID_WORKSPACE_ADD_CURRENT);
    tree->SelectFile(src.Path("a.e"));
    Command(tree, ID_WORKSPACE_REMOVE);
    EXPECT_EQ(Children(tree), (std::vector<std::string>{src.Path("b.e"), src.Path("c.e")}));
    SaveScreenshot(Screenshot(&frame), "project_tree");

    answers.asked.clear();
    answers.replies = {wxYES};
    Command(&frame, ID_PROJECT_SAVE);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0].message, "当前工程已经被修改，是否保存？");
    std::string golden = ReadFile(IDE_GOLDEN_DIR "/demo.prj");
    for (size_t at; (at = golden.find("@DIR@")) != std::string::npos;)
        golden.replace(at, 5, src.dir.string());
    EXPECT_EQ(ReadFile(prj), golden);
    // Not modified now: saving again asks nothing.
    Command(&frame, ID_PROJECT_SAVE);
    EXPECT_EQ(answers.asked.size(), 1u);

    // Closed: a new project whose settings are cancelled leaves none.
    dialogs.scripts.push_back([](wxDialog&) {});
    Command(&frame, ID_PROJECT_NEW);
    EXPECT_EQ(RootText(tree), "工程尚未创建");
    EXPECT_TRUE(Children(tree).empty());

    ASSERT_EQ(wxGetApp().Bench().RecentProjects().Entries().front(), prj);
    Command(&frame, ID_RECENT_PROJECT_1);
    EXPECT_EQ(RootText(tree), "demo");
    EXPECT_EQ(Children(tree), (std::vector<std::string>{src.Path("b.e"), src.Path("c.e")}));
    EXPECT_FALSE(wxGetApp().Bench().Project().IsModified());
    EXPECT_EQ(answers.asked.size(), 1u);
}

TEST(Projects, ARecentProjectThatCannotBeLoadedLeavesTheListAndAnEmptyTree)
{
    Sources src;
    Answers answers;
    ASSERT_TRUE(StartQuiet(answers));
    CQUVProjectTreeView* tree = Frame().ProjectTree();
    std::ofstream(src.Path("good.prj")) << "[QuvBench]\nProject Name=good\nProject File Num=1\nFile 1=/w/x.e\n";
    ASSERT_TRUE(wxGetApp().OpenProject(wxString::FromUTF8(src.Path("good.prj"))));
    EXPECT_EQ(Children(tree), std::vector<std::string>{"/w/x.e"});
    std::ofstream(src.Path("bad.prj")) << "[QuvBench]\nProject Name=bad\nProject File Num=2\nFile 1=/w/y.e\n";
    wxGetApp().AddToRecentProjectList(wxString::FromUTF8(src.Path("bad.prj")));

    Command(&Frame(), ID_RECENT_PROJECT_1);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0].message, "Illegal Project File With the 2th File Name not exist or value is empty!");
    EXPECT_EQ(wxGetApp().Bench().RecentProjects().Entries(), std::vector<std::string>{src.Path("good.prj")});
    EXPECT_EQ(RootText(tree), "工程尚未创建");
    EXPECT_TRUE(Children(tree).empty());
}

// A project file that is a named pipe: what is written into it opens as a
// file's project would; with no writer, the box that says the IDE waits
// appears, and its cancel (Escape) gives the open up and leaves the project
// open before as it was.
TEST(Projects, AProjectFileThatIsAPipeOpensOrItsWaitIsCancelled)
{
    Sources src;
    Answers answers;
    ASSERT_TRUE(StartQuiet(answers));
    CQUVProjectTreeView* tree = Frame().ProjectTree();
    const std::string fifo = src.Path("pipe.prj");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // Opens the pipe for writing once a reader has it, writes and closes it;
    // gives up after a minute without a reader.
    auto writeInto = [fifo](const std::string& bytes) {
        int fd = -1;
        for (auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
             fd < 0 && std::chrono::steady_clock::now() < until;
             std::this_thread::sleep_for(std::chrono::milliseconds(10)))
            fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) {
            (void)!write(fd, bytes.data(), bytes.size());
            close(fd);
        }
    };

    std::thread writer(writeInto, "[QuvBench]\nProject Name=piped\nProject File Num=1\nFile 1=/w/p.e\n");
    EXPECT_TRUE(wxGetApp().OpenProject(wxString::FromUTF8(fifo)));
    writer.join();
    EXPECT_EQ(RootText(tree), "piped");
    EXPECT_EQ(Children(tree), std::vector<std::string>{"/w/p.e"});

    std::ofstream(src.Path("good.prj")) << "[QuvBench]\nProject Name=good\nProject File Num=1\nFile 1=/w/x.e\n";
    ASSERT_TRUE(wxGetApp().OpenProject(wxString::FromUTF8(src.Path("good.prj"))));
    const std::vector<std::string> recent = wxGetApp().Bench().RecentProjects().Entries();
    // Escape, as a user presses it, once the box shows; it is found by its
    // title, which only xwininfo reads. Should the wait not end, a writer
    // with nothing to say ends it after a minute, and the test fails.
    const std::string script = src.Path("cancel.sh");
    std::ofstream(script) << "until id=$(xwininfo -root -tree | grep -F '\"打开工程\":' | awk '{print $1}') &&"
                             " [ -n \"$id\" ]; do sleep 0.1; done\n"
                             "xdotool windowfocus --sync \"$id\" key Escape\n";
    std::atomic<bool> opened{false};
    std::thread canceller([&] {
        EXPECT_EQ(std::system(("timeout 60 sh '" + script + "' >/dev/null 2>&1").c_str()), 0);
        for (auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
             !opened && std::chrono::steady_clock::now() < until;)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        if (!opened)
            writeInto("");
    });
    EXPECT_TRUE(wxGetApp().OpenProject(wxString::FromUTF8(fifo)));
    opened = true;
    canceller.join();
    EXPECT_EQ(answers.asked.size(), 0u);
    EXPECT_EQ(RootText(tree), "good");
    EXPECT_EQ(Children(tree), std::vector<std::string>{"/w/x.e"});
    EXPECT_EQ(wxGetApp().Bench().Project().GetPath(), src.Path("good.prj"));
    EXPECT_EQ(wxGetApp().Bench().RecentProjects().Entries(), recent);
}

TEST(Projects, AProjectThatCannotBeWrittenStopsExitAndOpenInsteadOfLosingIt)
{
    Sources src;
    Answers answers;
    ASSERT_TRUE(StartQuiet(answers));
    CMainFrame* frame = &Frame();
    CQuvProject& project = wxGetApp().Bench().Project();
    project.SetCreated();
    project.SetName("lost");
    project.SetPath(src.Path("gone/lost.prj"));
    project.Add(src.Path("a.e"));

    int filesAsked = 0;
    CommonDialogs::SetFileHook([&filesAsked](const FileDialogSpec&, wxArrayString&) { return ++filesAsked, false; });
    const struct {
        const char* what;
        std::function<bool()> run;  // true when the command went on
    } commands[] = {
        {"exit", [&] { return frame->Close(); }},
        {"open project", [&] { Command(frame, ID_PROJECT_OPEN); return filesAsked > 0; }},
        {"new project", [&] { Command(frame, ID_PROJECT_NEW); return !project.IsCreated(); }},
    };
    for (const auto& c : commands) {
        answers.asked.clear();
        answers.replies = {wxYES};
        EXPECT_FALSE(c.run()) << c.what;
        Pump();
        ASSERT_EQ(answers.asked.size(), 2u) << c.what;
        EXPECT_EQ(answers.asked[1].message,
                  src.Path("gone/lost.prj") + "无法写入，当前工程的修改尚未保存!\n原因：" + ErrorText(ENOENT));
        EXPECT_EQ(answers.asked[1].caption, "错误");
        EXPECT_TRUE(project.IsModified()) << c.what;
        EXPECT_EQ(project.GetName(), "lost");
        EXPECT_EQ(project.GetCount(), 1);
        ASSERT_EQ(wxGetApp().MainFrame(), frame);
    }
    // Once the folder exists the same answer saves and exit goes on.
    fs::create_directories(src.dir / "gone");
    answers.replies = {wxYES};
    EXPECT_TRUE(frame->Close());
    Pump(10);
    EXPECT_NE(ReadFile(src.Path("gone/lost.prj")).find("Project Name=lost\n"), std::string::npos);
}

TEST(DisplaySetup, SpacingDialogRefusesOutOfRangeValuesInOrder)
{
    Answers answers;
    ASSERT_TRUE(StartQuiet(answers));
    CDisplaySetting& display = wxGetApp().Bench().DisplaySetting();
    display.MinX = 5;
    display.TabSize = 8;
    display.LineDistance = 3;
    DialogScripts dialogs;
    dialogs.scripts.push_back([&](wxDialog& d) {
        auto& dialog = static_cast<CSpaceSetupDlg&>(d);
        EXPECT_EQ(dialog.Edit(1)->GetValue(), "8");
        const struct {
            const char* values[3];
            const char* message;  // empty: accepted
            int focus;
        } cases[] = {
            {{"0", "0", "0"}, "请输入一个介于 1 和 10000 之间的整数。", 1},
            {{"10001", "0", "0"}, "请输入一个介于 0 和 10000 之间的整数。", 0},
            {{"0", "4", "10001"}, "请输入一个介于 0 和 10000 之间的整数。", 2},
            {{"0", "x", "1"}, "请输入一个整数。", 1},
        };
        for (const auto& c : cases) {
            for (int i = 0; i < 3; ++i)
                dialog.Edit(i)->SetValue(c.values[i]);
            answers.asked.clear();
            Click(&dialog, wxID_OK);
            ASSERT_EQ(answers.asked.size(), 1u) << c.values[0];
            EXPECT_EQ(answers.asked[0].message, c.message);
            EXPECT_TRUE(dialog.IsShown());
        }
        Click(&dialog, 1000);
        SaveScreenshot(Screenshot(&dialog), "space_setup_dialog");
        answers.asked.clear();
        Click(&dialog, wxID_OK);
        EXPECT_TRUE(answers.asked.empty());
    });
    Command(&Frame(), ID_SETUP_SPACES);
    EXPECT_EQ(display.MinX, 0);
    EXPECT_EQ(display.TabSize, 2);
    EXPECT_EQ(display.LineDistance, 0);
}

// The rows and the number of pixels in `image` that show `colour`: its ink
// over the ground of their own row.
struct Probe {
    int pixels = 0;
    int top = -1;
    int bottom = -1;
    // Rows of the first unbroken band of ink: the height of the first
    // coloured line's letters, whatever part of the text the window shows.
    int firstBand = 0;
};

Probe ProbeColour(const wxImage& image, const wxColour& colour)
{
    Probe probe;
    for (int y = 0; y < image.GetHeight(); ++y) {
        const wxRect row(0, y, image.GetWidth(), 1);
        const int pixels = quv::test::CountInk(image, row, colour, quv::test::GroundOf(image, row));
        if (pixels == 0)
            continue;
        probe.pixels += pixels;
        if (probe.top < 0)
            probe.top = y;
        if (y - probe.top == probe.firstBand)
            ++probe.firstBand;
        probe.bottom = y;
    }
    return probe;
}

// The editor of `doc` as the screen shows it. The repaint comes on GTK's
// frame clock, later on a loaded machine: the screen is read again until
// `shown` holds of the probe, a bounded number of times.
template <typename F>
Probe ProbeEditor(wxDocument* doc, const wxColour& colour, const std::string& name, F shown)
{
    static_cast<wxMDIChildFrame*>(ViewOf(doc)->GetFrame())->Activate();
    Pump();
    wxImage image;
    Probe probe;
    for (int i = 0; i < 20 && (i == 0 || !shown(probe)); ++i) {
        image = Screenshot(PadOf(doc).GetWindow());
        probe = ProbeColour(image, colour);
    }
    SaveScreenshot(image, name);
    return probe;
}

TEST(DisplaySetup, EveryOpenEditorRepaintsWithTheNewKeywordColourAndFont)
{
    Answers answers;
    ASSERT_TRUE(StartQuiet(answers));
    wxDocument* docs[] = {OpenDocument(CopyExample("pipeline/pipeline.e")), OpenDocument(CopyExample("shop/parts.e"))};
    ASSERT_NE(docs[0], nullptr);
    ASSERT_NE(docs[1], nullptr);
    const wxColour keyword(200, 0, 120);
    for (wxDocument* doc : docs)
        EXPECT_EQ(ProbeEditor(doc, keyword, "editor_before", [](const Probe& p) { return p.pixels == 0; }).pixels, 0);

    // The colour chooser answers from a queue; an invalid colour is its Cancel.
    std::deque<wxColour> picks = {wxColour(255, 0, 0), keyword, wxColour()};
    CommonDialogs::SetColourHook([&picks](wxColour& colour) {
        const wxColour pick = picks.front();
        picks.pop_front();
        return pick.IsOk() && (colour = pick, true);
    });
    DialogScripts dialogs;
    // A pick, then the defaults, then Cancel: nothing changes.
    dialogs.scripts.push_back([](wxDialog& d) {
        auto& dialog = static_cast<CColorSetupDlg&>(d);
        dialog.Swatch(1)->OnClicked();
        EXPECT_EQ(dialog.Swatch(1)->GetColor(), 0x0000FFu);
        Click(&dialog, 1000);
        EXPECT_EQ(dialog.Swatch(1)->GetColor(), kDefaultColors[1]);
        Click(&dialog, wxID_CANCEL);
    });
    // The keyword's pick, a cancelled pick, then OK: only the keyword colour changes.
    dialogs.scripts.push_back([](wxDialog& d) {
        auto& dialog = static_cast<CColorSetupDlg&>(d);
        dialog.Swatch(1)->OnClicked();
        dialog.Swatch(9)->OnClicked();
        EXPECT_EQ(dialog.FindWindow(1002)->GetLabel().utf8_string(), "关键词");
        SaveScreenshot(Screenshot(&dialog), "color_setup_dialog");
        Click(&dialog, wxID_OK);
    });
    CDisplaySetting& display = wxGetApp().Bench().DisplaySetting();
    const CDisplaySetting before = display;
    Command(&Frame(), ID_SETUP_COLORS);
    EXPECT_EQ(display, before);
    Command(&Frame(), ID_SETUP_COLORS);
    EXPECT_EQ(display.colors[1], RefFromColour(keyword));
    EXPECT_EQ(display.colors[9], before.colors[9]);
    Probe coloured[2];
    for (int i = 0; i < 2; ++i) {
        coloured[i] = ProbeEditor(docs[i], keyword, "editor_keyword_colour_" + std::to_string(i),
                                  [](const Probe& p) { return p.pixels > 10; });
        EXPECT_GT(coloured[i].pixels, 10) << i;
    }

    CommonDialogs::SetFontHook([](LogFont& font) {
        font.lfHeight = -40;
        font.lfWeight = 700;
        font.lfFaceName = "DejaVu Sans Mono";
        return true;
    });
    Command(&Frame(), ID_SETUP_FONT);
    EXPECT_EQ(wxGetApp().Bench().DisplaySetting().font.lfHeight, -40);
    for (int i = 0; i < 2; ++i) {
        const Probe& before = coloured[i];
        const Probe larger =
            ProbeEditor(docs[i], keyword, "editor_keyword_font_" + std::to_string(i), [&before](const Probe& p) {
                return p.pixels > before.pixels && p.firstBand > before.firstBand;
            });
        // Every keyword line is taller now, and the keywords still wear their colour.
        EXPECT_GT(larger.pixels, coloured[i].pixels) << i;
        EXPECT_GT(larger.firstBand, coloured[i].firstBand) << i;
    }
}

} // namespace
} // namespace ide::test
