// The IDE on an X display: start-up, the frame with its bars and menus, the
// custom events, rows from worker threads, and shut-down.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include <gtest/gtest.h>
#include <wx/menu.h>
#include <wx/statusbr.h>
#include <wx/toolbar.h>

#include "compiler/core/diagnostics.hpp"
#include "compiler/core/gbk.hpp"
#include "compiler/core/job_state.hpp"
#include "ide/model/frame_placement.hpp"
#include "ide/model/workbench.hpp"
#include "ide/wx/error_info_dlg.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/menus.hpp"
#include "ide/wx/pane_events.hpp"
#include "ide/wx/splash_wnd.hpp"
#include "platform/registry_file.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "tests/support/own_session.hpp"

namespace ide::test {
namespace {

std::vector<std::string> MenuTitles(wxMenuBar* bar)
{
    std::vector<std::string> titles;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
        titles.push_back(bar->GetMenuLabel(i).utf8_string());
    return titles;
}

std::vector<std::string> TabTitles(wxNotebook* book)
{
    std::vector<std::string> titles;
    for (size_t i = 0; i < book->GetPageCount(); ++i)
        titles.push_back(book->GetPageText(i).utf8_string());
    return titles;
}

wxMenuBar* DocumentMenuBar()
{
    wxDocument* doc = wxGetApp().DocManager()->GetDocumentsVector().front();
    return static_cast<wxFrame*>(doc->GetFirstView()->GetFrame())->GetMenuBar();
}

TEST(StartUp, ShowsFrameWithMenusBarsTabsAndSplash)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers, true));
    CMainFrame& frame = Frame();
    EXPECT_TRUE(frame.IsShown());
    // Shown afresh: after a slow start (a loaded machine) the splash's own
    // timer may already have taken it down, and the screenshot needs it.
    CSplashWnd::HideSplashScreen();
    CSplashWnd::ShowSplashScreen(&frame);
    SaveScreenshot(Screenshot(CSplashWnd::Current()), "ide_splash");
    // The timer may have taken it down meanwhile; a key press must then find none.
    if (!CSplashWnd::Current())
        CSplashWnd::ShowSplashScreen(&frame);
    ASSERT_NE(CSplashWnd::Current(), nullptr);

    // A key press takes the splash down and goes no further.
    wxKeyEvent key(wxEVT_KEY_DOWN);
    key.m_keyCode = 'A';
    EXPECT_EQ(wxGetApp().FilterEvent(key), static_cast<int>(wxApp::Event_Processed));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(wxGetApp().FilterEvent(key), static_cast<int>(wxApp::Event_Skip));

    const auto docs = wxGetApp().DocManager()->GetDocumentsVector();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs[0]->GetUserReadableName(), "quvtemp1");

    EXPECT_EQ(MenuTitles(frame.GetMenuBar()),
              (std::vector<std::string>{"文件(&F)", "查找(&E)", "视图(&V)", "编译(&C)", "帮助(&H)"}));
    wxMenuBar* docBar = DocumentMenuBar();
    EXPECT_EQ(MenuTitles(docBar),
              (std::vector<std::string>{"文件(&F)", "编辑(&E)", "视图(&E)", "编译(&C)", "窗口(&W)", "帮助(&H)"}));
    // The key text after a menu text's tab is shown beside it as written,
    // and no key acts through a menu: GTK holds no accelerator for any item.
    struct Item {
        wxMenuBar* bar;
        int id;
        const char* label;
        const char* keys;
    } items[] = {
        {frame.GetMenuBar(), wxID_NEW, "新建文档(&N)", "Ctrl+N"},
        {frame.GetMenuBar(), ID_REPLACE_IN_FILES, "多重文件替换", "Ctrl+Alt+H"},
        {frame.GetMenuBar(), wxID_ABOUT, "关于QUV/E-C集成环境", ""},
        {docBar, ID_REPLACE_IN_FILES, "多重文件替换", "Ctrl+Alt+R"},
        {docBar, ID_BUILD, "生成可执行程序 ", "Ctrl+F5"},
        {docBar, ID_EDIT_GOTO_LINE, "转到指定行", "Cltr+G"},
        {docBar, ID_EDIT_BREAKPOINT, "断点", " F9"},
        {docBar, wxID_CLOSE, "关闭", ""},
        {docBar, ID_WINDOW_TILE_HORZ, "&横向平铺窗口(&T)", ""},
        {docBar, wxID_PRINT_SETUP, "打印机设置(&R)..", ""},
    };
    for (const Item& item : items) {
        wxMenuItem* found = item.bar->FindItem(item.id);
        ASSERT_NE(found, nullptr) << item.label;
        EXPECT_EQ(found->GetItemLabel().utf8_string(), item.label);
        EXPECT_EQ(MenuKeyText(found).utf8_string(), item.keys) << item.label;
    }
    for (wxMenuBar* bar : {frame.GetMenuBar(), docBar})
        for (size_t i = 0; i < bar->GetMenuCount(); ++i)
            for (wxMenuItem* item : bar->GetMenu(i)->GetMenuItems())
                EXPECT_FALSE(MenuItemHasAccelerator(item)) << item->GetItemLabel().utf8_string();

    EXPECT_EQ(TabTitles(frame.WorkspaceBar()), (std::vector<std::string>{"打开的文件", "工程文件"}));
    EXPECT_EQ(TabTitles(frame.OutputBar()), (std::vector<std::string>{"编译", "查找", "Make输出", "运行输出"}));
    EXPECT_EQ(frame.GetStatusBar()->GetFieldsCount(), 5);
    EXPECT_EQ(frame.GetToolBar()->GetToolsCount(), 12u);
    EXPECT_TRUE(frame.IsOutputBarShown());
    EXPECT_TRUE(frame.IsWorkspaceBarShown());

    frame.CompileList()->AddRow(CompileRow::Text("shop.prj", "Syntax Checking Started!"));
    frame.CompileList()->AddRow(CompileRow::FromCopy(DiagnosticCopy{2, 3, 3, 5, 0, "a.e", "program", "缺少分号",
                                                                     "语法错误", "语法错误"}));
    SaveScreenshot(Screenshot(&frame), "ide_frame");
    EXPECT_TRUE(answers.asked.empty());
}

// The frame un-maximised holds the bars and panes: a fair share of the
// screen at the first start, then the size the user gave it, kept for the
// next start. On the tests' display no window manager maximises it.
TEST(StartUp, TheRestoredFrameHoldsThePanesAndIsKeptForTheNextStart)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    OnlyDocument()->Modify(false);
    CMainFrame& frame = Frame();
    if (frame.IsMaximized())
        GTEST_SKIP() << "a window manager on this display maximises the frame";
    const wxRect work = wxGetClientDisplayRect();
    const FrameRect fair = RestoredFrameRect(FrameRect(), {work.x, work.y, work.width, work.height});
    EXPECT_TRUE(PumpUntil([&] { return frame.GetSize() == wxSize(fair.width, fair.height); })) << frame.GetSize().x;
    EXPECT_GE(frame.GetSize().x, kMinFrameWidth);
    EXPECT_GE(frame.GetSize().y, kMinFrameHeight);
    SaveScreenshot(Screenshot(&frame), "ide_frame_restored");

    const wxSize given(kMinFrameWidth + 100, kMinFrameHeight + 40);
    frame.SetSize(given);
    EXPECT_TRUE(PumpUntil([&] { return frame.GetSize() == given; }));
    EXPECT_TRUE(frame.Close());
    Pump(10);
    wxGetApp().ExitInstance();
    Workbench next(wxGetApp().Bench().SettingsFile());
    next.LoadStartSettings();
    EXPECT_EQ(next.FramePlacement().width, given.x);
    EXPECT_EQ(next.FramePlacement().height, given.y);
    EXPECT_TRUE(answers.asked.empty());
}

TEST(StartUp, OpensTheFileNamedOnTheCommandLine)
{
    const std::string file = Write("start.e", "%Prog p;\n");
    Answers answers;
    ASSERT_TRUE(Start({file}, answers));
    const auto docs = wxGetApp().DocManager()->GetDocumentsVector();
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(docs[0]->GetFilename().utf8_string(), file);
    EXPECT_EQ(wxGetApp().Bench().RecentFiles().Entries().front(), file);
}

TEST(StartUp, EndsWhenTheNamedFileCannotBeOpened)
{
    Answers answers;
    EXPECT_FALSE(Start({"/nonexistent/quvbench/missing.e"}, answers));
    EXPECT_EQ(wxGetApp().MainFrame(), nullptr);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0].caption, "错误");
}

TEST(StartUp, AnAutomationStartShowsNoSplash)
{
    Answers answers;
    ASSERT_TRUE(Start({"-Embedding"}, answers, true));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
}

TEST(CustomEvents, EachShowsAndClearsItsPane)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CMainFrame& frame = Frame();
    struct Case {
        wxEventType type;
        wxWindow* page;
        std::function<void()> fill;
        std::function<bool()> empty;
    } cases[] = {
        {EVT_SHOW_COMPILE_OUTPUT, frame.CompileList(),
         [&] { frame.CompileList()->AddTextRow("a", "b"); },
         [&] { return frame.CompileList()->Model().Count() == 0 && frame.CompileList()->GetItemCount() == 0; }},
        {EVT_SHOW_FIND_OUTPUT, frame.FindList(), [&] { frame.FindList()->AddMatch("a.e", 1, "x"); },
         [&] { return frame.FindList()->Model().Count() == 0 && frame.FindList()->GetItemCount() == 0; }},
        {EVT_SHOW_MAKE_OUTPUT, frame.MakeOutput(), [&] { frame.MakeOutput()->AppendBytes("cl a.cpp\r\n"); },
         [&] { return frame.MakeOutput()->GetValue().empty(); }},
        {EVT_SHOW_RUN_OUTPUT, frame.RunOutput(), [&] { frame.RunOutput()->AppendBytes("hello\n"); },
         [&] { return frame.RunOutput()->GetValue().empty(); }},
    };
    for (const Case& c : cases) {
        // Another tab in front, the bar hidden by its pane command "隐藏".
        frame.OutputBar()->SetSelection(c.page == frame.CompileList() ? 1 : 0);
        c.fill();
        ASSERT_FALSE(c.empty());
        wxCommandEvent hide(wxEVT_MENU, ID_PANE_HIDE);
        c.page->GetEventHandler()->ProcessEvent(hide);
        ASSERT_FALSE(frame.IsOutputBarShown());

        PostPaneEvent(&frame, c.type);
        Pump();
        EXPECT_TRUE(frame.IsOutputBarShown());
        EXPECT_EQ(frame.OutputBar()->GetCurrentPage(), c.page);
        EXPECT_TRUE(c.empty());
    }

    PostPaneEvent(&frame, EVT_SHOW_PROJECT_TREE);
    Pump();
    EXPECT_EQ(frame.WorkspaceBar()->GetCurrentPage(), frame.ProjectTree());
    PostPaneEvent(&frame, EVT_SHOW_OPENED_FILES);
    Pump();
    EXPECT_EQ(frame.WorkspaceBar()->GetCurrentPage(), frame.OpenedFilesTree());

    // The pane command "清空" and the View menu's bar switches.
    frame.FindList()->AddMessage("m");
    wxCommandEvent clear(wxEVT_MENU, ID_PANE_CLEAR);
    frame.FindList()->GetEventHandler()->ProcessEvent(clear);
    EXPECT_EQ(frame.FindList()->Model().Count(), 0);
    for (int id : {ID_VIEW_OUTPUT, ID_VIEW_WORKSPACE}) {
        wxCommandEvent toggle(wxEVT_MENU, id);
        frame.GetEventHandler()->ProcessEvent(toggle);
    }
    EXPECT_FALSE(frame.IsOutputBarShown());
    EXPECT_FALSE(frame.IsWorkspaceBarShown());
    // Cascade and tile arrange nothing and do no harm.
    for (int id : {ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_TILE_VERT}) {
        wxCommandEvent arrange(wxEVT_MENU, id);
        frame.GetEventHandler()->ProcessEvent(arrange);
    }
    EXPECT_EQ(wxGetApp().DocManager()->GetDocumentsVector().size(), 1u);
}

TEST(Rows, ArriveInOrderFromAWorkerThread)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CMainFrame& frame = Frame();
    const int rows = 300;
    auto job = std::make_unique<OwnJob>("shop.e");
    std::thread worker([&frame, &job] {
        for (int i = 0; i < rows; ++i) {
            QUVException record(*job, QUVException::SemanticError, 5, i + 1, 2, "walk", "shop.e",
                                gbk::fromUtf8("未声明的变量 v" + std::to_string(i)));
            PostCompileRow(&frame, CompileRow::FromRecord(record));
            PostLookupRow(&frame, LookupEntry::Match("shop.e", i + 1, "v" + std::to_string(i)));
            PostMakeBytes(&frame, "line " + std::to_string(i) + "\r\n");
        }
        PostRunBytes(&frame, gbk::fromUtf8("运行结束\r\n"));
    });
    worker.join();
    // The job and its list are gone: the rows keep their copies.
    job.reset();
    ASSERT_TRUE(PumpUntil([&] { return frame.RunOutput()->GetValue().size() > 0; }));
    ASSERT_EQ(frame.CompileList()->Model().Count(), rows);
    ASSERT_EQ(frame.FindList()->Model().Count(), rows);
    for (int i = 0; i < rows; ++i) {
        EXPECT_EQ(frame.CompileList()->Model().Row(i).record.line, i + 1);
        EXPECT_EQ(frame.CompileList()->GetItemText(i, 2).utf8_string(), "未声明的变量 v" + std::to_string(i));
        EXPECT_EQ(frame.FindList()->Model().Entry(i).Line(), i + 1);
    }
    const wxString make = frame.MakeOutput()->GetValue();
    EXPECT_TRUE(make.StartsWith("line 0\nline 1\n"));
    EXPECT_TRUE(make.EndsWith("line 299\n"));
    EXPECT_EQ(frame.RunOutput()->GetValue().utf8_string(), "运行结束\n");

    // The detail dialog reads the row's copy.
    const CompileRow& row = frame.CompileList()->Model().Row(7);
    CErrorInfoDlg dialog(&frame, row.record);
    const char* expected[] = {"shop.e", "walk", "未声明的变量 v7", row.record.numberName.c_str(), "语义错误", "8", "2"};
    for (int i = 0; i < 7; ++i)
        EXPECT_EQ(dialog.Box(i)->GetValue().utf8_string(), expected[i]) << i;
    dialog.Show();
    SaveScreenshot(Screenshot(&dialog), "ide_error_info");
    dialog.Hide();
    frame.OutputBar()->SetSelection(0);
    SaveScreenshot(Screenshot(frame.OutputBar()), "ide_output_rows");
}

// A job that keeps posting rows until it is stopped, and notes whether the
// panes still stood when it was.
class StandInWorker : public Worker {
public:
    explicit StandInWorker(CMainFrame* frame) : frame_(frame)
    {
        frame->CompileList()->Bind(wxEVT_DESTROY, [this](wxWindowDestroyEvent& e) {
            panesGone = true;
            e.Skip();
        });
        thread_ = std::thread([this] {
            while (!stop_) {
                PostCompileRow(frame_, CompileRow::Text("job", "row"));
                PostMakeBytes(frame_, "x");
                ++posted;
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
            }
        });
    }
    void Stop() override
    {
        panesStoodAtStop = !panesGone;
        stop_ = true;
        thread_.join();
        stopped = true;
    }
    ~StandInWorker() override
    {
        if (thread_.joinable()) {
            stop_ = true;
            thread_.join();
        }
    }

    std::atomic<int> posted{0};
    bool stopped = false;
    bool panesStoodAtStop = false;
    bool panesGone = false;

private:
    CMainFrame* frame_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(ShutDown, StopsEveryJobBeforeThePanesGoAndWritesTheSettings)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CMainFrame* frame = &Frame();
    // The new document starts modified; this test is about the jobs.
    wxGetApp().DocManager()->GetDocumentsVector().front()->Modify(false);
    StandInWorker compile(frame), find(frame);
    ASSERT_TRUE(wxGetApp().Bench().Workers().Add(&compile));
    ASSERT_TRUE(wxGetApp().Bench().Workers().Add(&find));
    ASSERT_TRUE(PumpUntil([&] { return compile.posted > 20 && find.posted > 20; }));

    CQuvFindHistory::InsertMostRecent(wxGetApp().Bench().FindHistory().findTexts, "x := 1;\ny := 2;");
    CQuvFindHistory::InsertMostRecent(wxGetApp().Bench().FindHistory().findTexts, "渠道");
    wxGetApp().AddToRecentProjectList("/work/shop/shop.prj");
    EXPECT_TRUE(frame->Close());
    Pump(10);
    EXPECT_TRUE(compile.stopped);
    EXPECT_TRUE(find.stopped);
    EXPECT_TRUE(compile.panesStoodAtStop);
    EXPECT_TRUE(find.panesStoodAtStop);
    EXPECT_TRUE(compile.panesGone);
    EXPECT_FALSE(wxGetApp().Bench().Workers().Add(&compile));
    EXPECT_TRUE(answers.asked.empty());

    wxGetApp().ExitInstance();
    const std::string ini = ReadFile(wxGetApp().Bench().SettingsFile());
    for (const char* text : {"[DISPLAY_FONT]\n", "[COLORS]\n", "关键词=0xff0000\n", "[SPACES]\n", "TabSize=2\n",
                             "[PRINT_FONT]\n", "[PAGE_SETUP_INFO]\n", "footer=第 &p 页\n", "[FindTextSection]\n0=渠道\n"})
        EXPECT_NE(ini.find(text), std::string::npos) << text;
    EXPECT_EQ(ini.find("y := 2"), std::string::npos);
    platform::RegistryFile registry(platform::RegistryFile::UserPath());
    ASSERT_TRUE(registry.Load());
    EXPECT_EQ(registry.GetValue(wxGetApp().Bench().RecentProjects().SectionKey(), "Project1"), "/work/shop/shop.prj");
}

TEST(ShutDown, OffersToSaveAModifiedProjectAndCancelKeepsRunning)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CMainFrame* frame = &Frame();
    // The new document starts modified; this test is about the project.
    wxGetApp().DocManager()->GetDocumentsVector().front()->Modify(false);
    wxGetApp().Bench().Project().Add("a.e");
    answers.replies = {wxCANCEL, wxNO};
    EXPECT_FALSE(frame->Close());
    Pump();
    ASSERT_EQ(wxGetApp().MainFrame(), frame);
    EXPECT_TRUE(frame->IsShown());
    EXPECT_FALSE(wxGetApp().Bench().Workers().Closed());
    EXPECT_EQ(wxGetApp().DocManager()->GetDocumentsVector().size(), 1u);

    EXPECT_TRUE(frame->Close());
    Pump(10);
    ASSERT_EQ(answers.asked.size(), 2u);
    for (const Question& q : answers.asked) {
        EXPECT_EQ(q.message, "当前工程已经被修改，是否保存？");
        EXPECT_EQ(q.caption, "提示");
    }
    EXPECT_TRUE(wxGetApp().Bench().Workers().Closed());
}

TEST(Accelerators, TheTableWinsOverTheMenuText)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CMainFrame& frame = Frame();
    // No editor, which would take its own keys first.
    wxGetApp().DocManager()->GetDocumentsVector().front()->Modify(false);
    ASSERT_TRUE(wxGetApp().CloseAllDocuments());
    Pump();
    std::vector<int> fired;
    for (int id : {ID_MAKEFILE, ID_BUILD, ID_EDIT_REDO, ID_REPLACE_IN_FILES, ID_EDIT_GOTO_LINE, ID_TYPESET})
        frame.Bind(wxEVT_MENU, [&fired](wxCommandEvent& e) { fired.push_back(e.GetId()); }, id);
    struct Case {
        int code;
        bool ctrl, alt, shift;
        int command;
    } cases[] = {
        {WXK_F5, true, false, false, ID_MAKEFILE},
        {WXK_F5, false, true, true, ID_BUILD},
        {'Y', true, false, false, ID_EDIT_REDO},
        {'H', true, true, false, ID_REPLACE_IN_FILES},
        {'G', true, false, false, ID_EDIT_GOTO_LINE},
        {WXK_F4, false, false, false, ID_TYPESET},
    };
    for (const Case& c : cases) {
        fired.clear();
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = c.code;
        key.SetControlDown(c.ctrl);
        key.SetAltDown(c.alt);
        key.SetShiftDown(c.shift);
        key.SetEventObject(&frame);
        frame.GetEventHandler()->ProcessEvent(key);
        EXPECT_EQ(fired, std::vector<int>{c.command}) << c.code;
    }
}

} // namespace
} // namespace ide::test
