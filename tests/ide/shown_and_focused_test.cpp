// What a user meets in the first minutes, with real keys and clicks through
// the X server: what the IDE found is on the screen, the keys go to the
// window the user sees as active, menus and panes show and select what they
// should, and the messages say what happened.
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>
#include <wx/docmdi.h>
#include <wx/listctrl.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "editor/wx/color_edit_wnd.hpp"
#include "ide/model/error_text.hpp"
#include "ide/wx/browse_dir_dlg.hpp"
#include "ide/wx/common_dialogs.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/menus.hpp"
#include "platform/file_lock.hpp"
#include "platform/registry_file.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"
#include "tests/ide/x_input.hpp"
#include "screen_grab.hpp"

namespace ide::test {
namespace {

namespace fs = std::filesystem;

size_t DocumentCount() { return wxGetApp().DocManager()->GetDocumentsVector().size(); }

// Whether the editor shows the whole of this line.
bool LineShown(quvpad::ColorEditWnd& editor, int line)
{
    const quvpad::EditorModel& model = editor.Model();
    const int height = editor.GetClientSize().y;
    const quvpad::Rect r = model.GetLineRect(line);
    return line >= model.GetFirstVisibleLine() && r.top >= 0 && r.bottom <= height;
}

std::string Lines(int count, int needleLine)
{
    std::string text;
    for (int i = 1; i <= count; ++i)
        text += (i == needleLine ? "line    needle " : "line ") + std::to_string(i) + "\n";
    return text;
}

// Ctrl+F, the text, Enter; then F3 and Shift+F3: each match found lies
// below or above the window, and each is scrolled into view.
TEST(ShownAndFocused, FindScrollsToWhatItFound)
{
    std::string text = Lines(120, 70);
    text.replace(text.find("line 100\n"), 9, "line 100 needle\n");
    Answers answers;
    ASSERT_TRUE(Start({Write("long.e", text)}, answers));
    wxDocument* doc = OnlyDocument();
    FocusEditor(doc);
    quvpad::ColorEditWnd* editor = EditorIn(PadOf(doc).GetWindow());
    ASSERT_NE(editor, nullptr);
    ASSERT_EQ(editor->Model().GetFirstVisibleLine(), 0);
    ASSERT_FALSE(LineShown(*editor, 69));

    auto onLine = [](const std::string& line) {
        return PumpUntil([&] { return StatusPosition().rfind("Ln" + line + ",", 0) == 0; });
    };
    WhileModal(
        [&] {
            PressKeys(*editor, "ctrl+f");
            onLine("70");
        },
        {[&](wxDialog& d) {
            TypeKeys(d, "needle");
            PressKeys(d, "Return");
            return true;
        }});
    EXPECT_TRUE(onLine("70")) << StatusPosition();
    EXPECT_GT(editor->Model().GetFirstVisibleLine(), 0);
    EXPECT_TRUE(LineShown(*editor, 69));
    SaveScreenshot(Screenshot(&Frame()), "find_scrolls_to_the_match");

    PressKeys(*editor, "F3");
    EXPECT_TRUE(onLine("100")) << StatusPosition();
    EXPECT_TRUE(LineShown(*editor, 99));
    editor->Model().SetFirstLine(110);
    PressKeys(*editor, "shift+F3");
    EXPECT_TRUE(onLine("70")) << StatusPosition();
    EXPECT_TRUE(LineShown(*editor, 69));
    EXPECT_TRUE(answers.asked.empty());
}

// The matching bracket far below is selected through the same entry point.
TEST(ShownAndFocused, TheMatchingBracketIsScrolledIntoView)
{
    std::string text = "%Prog p\n(\n";
    for (int i = 0; i < 90; ++i)
        text += "x\n";
    text += ")\n";
    Answers answers;
    ASSERT_TRUE(Start({Write("bracket.e", text)}, answers));
    wxDocument* doc = OnlyDocument();
    FocusEditor(doc);
    quvpad::ColorEditWnd* editor = EditorIn(PadOf(doc).GetWindow());
    ASSERT_NE(editor, nullptr);
    ViewOf(doc)->PostLocatePos(2, 2);
    ASSERT_TRUE(PumpUntil([] { return StatusPosition() == "Ln2, Col2"; })) << StatusPosition();
    PressKeys(*editor, "ctrl+b");
    EXPECT_TRUE(PumpUntil([&] { return editor->Model().CaretLine() == 92; })) << editor->Model().CaretLine();
    EXPECT_TRUE(LineShown(*editor, 92));
}

// Closing the last document by 关闭 or 全部关闭 leaves the keys in the frame:
// Ctrl+N opens a document, Ctrl+O the open dialog.
TEST(ShownAndFocused, KeysActAfterTheLastDocumentCloses)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    int opened = 0;
    CommonDialogs::SetFileHook([&opened](const FileDialogSpec&, wxArrayString&) { return ++opened, false; });
    for (int command : {static_cast<int>(wxID_CLOSE), static_cast<int>(ID_FILE_CLOSE_ALL)}) {
        SCOPED_TRACE(command);
        ASSERT_EQ(DocumentCount(), 1u);
        wxDocument* doc = OnlyDocument();
        FocusEditor(doc);
        doc->Modify(false);
        Command(doc, command);
        ASSERT_TRUE(PumpUntil([] { return DocumentCount() == 0; }));
        Pump(10);
        PressKeys(Frame(), "ctrl+o");
        EXPECT_TRUE(PumpUntil([&] { return opened == (command == wxID_CLOSE ? 1 : 2); }));
        PressKeys(Frame(), "ctrl+n");
        EXPECT_TRUE(PumpUntil([] { return DocumentCount() == 1; }));
        EXPECT_TRUE(PumpUntil([] { return PadOf(OnlyDocument()).HasEditorFocus(); }));
    }
    CommonDialogs::SetFileHook(nullptr);
    EXPECT_TRUE(answers.asked.empty());
}

// After the print preview closes with its button, the keys act again.
TEST(ShownAndFocused, KeysActAfterThePrintPreviewCloses)
{
    Answers answers;
    ASSERT_TRUE(Start({Write("short.e", "%Prog p\n")}, answers));
    wxDocument* doc = OnlyDocument();
    FocusEditor(doc);
    Command(doc, ID_FILE_PRINT_PREVIEW);
    wxFrame* preview = nullptr;
    ASSERT_TRUE(PumpUntil([&] {
        for (wxWindow* w : wxTopLevelWindows)
            if (w != &Frame() && dynamic_cast<wxFrame*>(w) && w->IsShown())
                preview = static_cast<wxFrame*>(w);
        return preview != nullptr;
    }));
    Pump(10);
    // What the preview's close button does.
    preview->Close(true);
    ASSERT_TRUE(PumpUntil([&] { return !wxTopLevelWindows.Find(preview); }));
    Pump(10);
    PressKeys(Frame(), "ctrl+n");
    EXPECT_TRUE(PumpUntil([] { return DocumentCount() == 2; }));
}

// A click on a document's tab, and the text typed next lands in that document.
TEST(ShownAndFocused, TypingAfterChoosingADocumentLandsInIt)
{
    Answers answers;
    ASSERT_TRUE(Start({Write("first.e", "one\n")}, answers));
    wxDocument* first = OnlyDocument();
    wxDocument* second = OpenDocument(Write("second.e", "two\n"));
    ASSERT_NE(second, nullptr);
    FocusEditor(second);
    ASSERT_TRUE(PumpUntil([&] { return PadOf(second).HasEditorFocus(); }));
    auto line = [](wxDocument* doc) { return PadOf(doc).GetLine(0).utf8_string(); };

    // The first tab sits at the left of the strip above the documents.
    wxWindow* documents = Frame().GetClientWindow();
    const wxRect strip = documents->GetScreenRect();
    const wxRect page = ViewOf(second)->GetFrame()->GetScreenRect();
    ClickAt(*documents, documents->ScreenToClient(wxPoint(strip.x + 12, (strip.y + page.y) / 2)));
    ASSERT_TRUE(PumpUntil([&] { return wxGetApp().DocManager()->GetCurrentDocument() == first; }));
    ASSERT_TRUE(PumpUntil([&] { return PadOf(first).HasEditorFocus(); }));
    TypeKeys(Frame(), "ab");
    EXPECT_TRUE(PumpUntil([&] { return line(first) == "abone"; })) << line(first);
    EXPECT_EQ(line(second), "two");
    SaveScreenshot(Screenshot(&Frame()), "typed_after_tab_click");

}

// A double click on a document's name in the opened-files tree, and the text
// typed next lands in that document.
TEST(ShownAndFocused, TypingAfterChoosingADocumentInTheTreeLandsInIt)
{
    Answers answers;
    ASSERT_TRUE(Start({Write("first.e", "one\n")}, answers));
    wxDocument* first = OnlyDocument();
    wxDocument* second = OpenDocument(Write("second.e", "two\n"));
    ASSERT_NE(second, nullptr);
    auto line = [](wxDocument* doc) { return PadOf(doc).GetLine(0).utf8_string(); };
    ASSERT_TRUE(PumpUntil([&] { return wxGetApp().DocManager()->GetCurrentDocument() == second; }));

    CQUVOpenedFilesTreeView* tree = Frame().OpenedFilesTree();
    Frame().ActivateOpenedFilesTree();
    Pump();
    wxTreeItemId item;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId c = tree->GetFirstChild(tree->GetRootItem(), cookie); c.IsOk();
         c = tree->GetNextChild(tree->GetRootItem(), cookie))
        if (tree->GetItemText(c).EndsWith("first.e"))
            item = c;
    ASSERT_TRUE(item.IsOk());
    wxRect rect;
    ASSERT_TRUE(tree->GetBoundingRect(item, rect, true));
    // The name is wider than the tree: a point near its start is on it.
    DoubleClickAt(*tree, wxPoint(rect.x + std::min(rect.width / 2, 40), rect.y + rect.height / 2));
    ASSERT_TRUE(PumpUntil([&] { return wxGetApp().DocManager()->GetCurrentDocument() == first; }));
    ASSERT_TRUE(PumpUntil([&] { return PadOf(first).HasEditorFocus(); }));
    TypeKeys(Frame(), "cd");
    EXPECT_TRUE(PumpUntil([&] { return line(first) == "cdone"; })) << line(first);
    EXPECT_EQ(line(second), "two");
    SaveScreenshot(Screenshot(&Frame()), "typed_after_tree_double_click");
}

// No item shows a key text of GTK's own ("-/-" beside the stock items).
TEST(ShownAndFocused, MenuItemsShowTheirTextAndKeyTextOnly)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    wxDocument* doc = OnlyDocument();
    std::unique_ptr<wxMenuBar> main(CreateMainMenuBar());
    auto* documentFrame = dynamic_cast<wxFrame*>(ViewOf(doc)->GetFrame());
    ASSERT_NE(documentFrame, nullptr);
    wxMenuBar* bars[] = {main.get(), documentFrame->GetMenuBar()};
    for (wxMenuBar* bar : bars) {
        ASSERT_NE(bar, nullptr);
        for (size_t m = 0; m < bar->GetMenuCount(); ++m) {
            for (wxMenuItem* item : bar->GetMenu(m)->GetMenuItems()) {
                if (!item->IsSeparator()) {
                    EXPECT_FALSE(MenuItemLabelShowsGtkKey(item)) << item->GetItemLabelText();
                }
            }
        }
    }
    // The 文件 menu as the user opens it: a click on its title at the left
    // of the menu bar, the top row of the frame.
    FocusEditor(doc);
    const wxPoint corner = Frame().GetScreenPosition();
    const wxPoint title = Frame().ScreenToClient(corner + wxPoint(20, 10));
    wxTimer grab;
    grab.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
        SaveScreenshot(quv::test::GrabScreen(Frame().GetScreenRect()), "file_menu_open");
        PressKeys(Frame(), "Escape");
    });
    documentFrame->Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
        grab.StartOnce(300);
        e.Skip();
    });
    ClickAt(Frame(), title);
    EXPECT_TRUE(PumpUntil([&] { return wxFileExists(IDE_SCREENSHOT_DIR "/file_menu_open.png"); }));
    Pump();
}

// The folder browser starts at a folder far down its tree and shows it.
TEST(ShownAndFocused, TheFolderBrowserShowsItsSelectedFolder)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    const fs::path root = TestFolder();
    for (int i = 0; i < 60; ++i)
        fs::create_directories(root / ("a" + std::to_string(100 + i)));
    fs::create_directories(root / "zz" / "deep");
    CBrowseDirDlg browser(&Frame());
    browser.SetPath((root / "zz" / "deep").string());
    bool shown = false;
    WhileModal([&] { browser.ShowModal(); },
               {[&](wxDialog& d) {
                   CDirTreeCtrl& tree = *browser.Tree();
                   const wxTreeItemId selected = tree.GetSelection();
                   wxRect rect;
                   if (!selected.IsOk() || !tree.GetBoundingRect(selected, rect, true))
                       return false;
                   const wxSize client = tree.GetClientSize();
                   if (rect.y < 0 || rect.GetBottom() > client.y)
                       return false;
                   shown = true;
                   SaveScreenshot(Screenshot(&d), "browse_dir_selection_shown");
                   PressKeys(d, "Escape");
                   return true;
               }});
    EXPECT_TRUE(shown);
}

// The file path box of the error information dialog.
std::string FileShownIn(wxWindow& window)
{
    for (wxWindow* w : window.GetChildren()) {
        if (auto* box = dynamic_cast<wxTextCtrl*>(w); box && box->GetValue().StartsWith("/w/"))
            return box->GetValue().utf8_string();
        const std::string inside = FileShownIn(*w);
        if (!inside.empty())
            return inside;
    }
    return std::string();
}

// A right-click on a row of the 编译 pane selects it: 查看错误信息 is on and
// shows that row's record.
TEST(ShownAndFocused, ARightClickSelectsTheRowItsMenuActsOn)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CCompileResultListView& list = *Frame().CompileList();
    Frame().ShowCompileOutput();
    for (int i = 1; i <= 3; ++i) {
        DiagnosticCopy record;
        record.file = "/w/row" + std::to_string(i) + ".e";
        record.line = i;
        record.column = 1;
        list.AddRow(CompileRow::FromCopy(record));
    }
    Pump(10);
    wxRect rect;
    ASSERT_TRUE(list.GetItemRect(1, rect));
    // Down twice reaches 查看错误信息 only when it is on; else 帮助.
    wxTimer keys;
    keys.Bind(wxEVT_TIMER, [&](wxTimerEvent&) { PressKeys(list, "Down Down Return"); });
    list.Bind(wxEVT_MENU_OPEN, [&](wxMenuEvent& e) {
        keys.StartOnce(200);
        e.Skip();
    });
    std::string shownFile;
    WhileModal([&] {
        RightClickAt(list, wxPoint(rect.x + rect.width / 4, rect.y + rect.height / 2));
        PumpUntil([&] { return !shownFile.empty(); });
    },
               {[&](wxDialog& d) {
                   SaveScreenshot(Screenshot(&d), "error_info_after_right_click");
                   shownFile = FileShownIn(d);
                   if (shownFile.empty())
                       shownFile = "(none)";
                   d.EndModal(wxID_OK);
                   return true;
               }});
    EXPECT_EQ(shownFile, "/w/row2.e");
    EXPECT_EQ(list.GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED), 1);
}

// The open-file, open-project and add-document dialogs start in the
// project's folder, else the active document's, else the last one used.
TEST(ShownAndFocused, FileDialogsStartWhereTheUserWorks)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    std::vector<std::string> folders;
    std::string answer;
    CommonDialogs::SetFileHook([&](const FileDialogSpec& spec, wxArrayString& paths) {
        folders.push_back(spec.folder.utf8_string());
        if (answer.empty())
            return false;
        paths.push_back(wxString::FromUTF8(answer));
        return true;
    });
    const fs::path docs = fs::path(TestFolder()) / "docs";
    fs::create_directories(docs);
    const std::string source = (docs / "a.e").string();
    Write("docs/a.e", "%Prog p\n");
    // Nothing yet: the last folder used, here none.
    PressKeys(Frame(), "ctrl+o");
    ASSERT_TRUE(PumpUntil([&] { return folders.size() == 1; }));
    answer = source;
    PressKeys(Frame(), "ctrl+o");
    ASSERT_TRUE(PumpUntil([&] { return DocumentCount() == 2; }));
    answer.clear();
    // The active document's folder.
    wxCommandEvent open(wxEVT_MENU, ID_PROJECT_OPEN);
    wxGetApp().ProcessEvent(open);
    ASSERT_EQ(folders.size(), 3u);
    EXPECT_EQ(folders[1], folders[0]);
    EXPECT_EQ(folders[2], docs.string());

    // A project's folder wins.
    const fs::path projectFolder = fs::path(TestFolder()) / "proj";
    fs::create_directories(projectFolder);
    const std::string project = (projectFolder / "p.prj").string();
    Write("proj/p.prj", "[QuvBench]\nProject Name=p\nProject File Num=0\n");
    ASSERT_TRUE(wxGetApp().OpenProject(wxString::FromUTF8(project)));
    Pump();
    PressKeys(Frame(), "ctrl+o");
    ASSERT_TRUE(PumpUntil([&] { return folders.size() == 4; }));
    EXPECT_EQ(folders[3], projectFolder.string());
    CommonDialogs::SetFileHook(nullptr);
}

// A project file that cannot be loaded: the message names it and says why.
TEST(Messages, AProjectFileThatCannotBeLoadedIsNamedWithTheReason)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    OnlyDocument()->Modify(false);
    const std::string folder = TestFolder();
    fs::create_directories(folder + "/folder.prj");
    Write("notaproject.prj", "just some text\n");
    struct Row {
        std::string path;
        std::string reason;
    };
    std::vector<Row> rows = {{folder + "/missing.prj", ErrorText(ENOENT)},
                             {folder + "/folder.prj", ErrorText(EISDIR)},
                             {folder + "/notaproject.prj", "没有工程名（[QuvBench] 节中没有 Project Name 项，或其值为空）"}};
    if (geteuid() != 0) {
        Write("locked.prj", "[QuvBench]\nProject Name=p\n");
        fs::permissions(folder + "/locked.prj", fs::perms::none);
        rows.push_back({folder + "/locked.prj", ErrorText(EACCES)});
    }
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        answers.asked.clear();
        EXPECT_FALSE(wxGetApp().OpenProject(wxString::FromUTF8(r.path)));
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0].message, "Illegal Project File With Project Name key not exist or value is "
                                            "empty!\n工程文件 " + r.path + "：" + r.reason);
    }
}

// A failed save says why in Chinese.
TEST(Messages, ASaveFailureSaysWhyInChinese)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    wxDocument* doc = OnlyDocument();
    const std::string folder = TestFolder();
    Write("plain.txt", "x\n");
    fs::create_directories(folder + "/taken.e");
    struct Row {
        std::string path;
        int error;
    };
    const Row rows[] = {{folder + "/gone/a.e", ENOENT},
                        {folder + "/taken.e", EISDIR},
                        {folder + "/plain.txt/a.e", ENOTDIR},
                        {folder + "/" + std::string(300, 'n') + ".e", ENAMETOOLONG}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.path);
        answers.asked.clear();
        EXPECT_FALSE(doc->OnSaveDocument(wxString::FromUTF8(r.path)));
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0].message, "无法保存文件 " + r.path + "。\n原因：" + ErrorText(r.error));
    }
}

// Starts the IDE, changes a colour and the recent files, lets `hinder` stand
// in the way of saving them, and quits; how long the exit took.
std::chrono::steady_clock::duration QuitHindered(Answers& answers, const std::function<void()>& hinder)
{
    EXPECT_TRUE(Start({}, answers));
    OnlyDocument()->Modify(false);
    wxGetApp().Bench().DisplaySetting().colors[1] = 0x00AA00;
    wxGetApp().AddToRecentFileList("/w/a.e");
    hinder();
    EXPECT_TRUE(Frame().Close());
    Pump(10);
    const auto start = std::chrono::steady_clock::now();
    wxGetApp().ExitInstance();
    return std::chrono::steady_clock::now() - start;
}

// Settings that cannot be written at exit are told once; quitting goes on.
TEST(Messages, SettingsThatCannotBeWrittenAreToldOnce)
{
    Answers answers;
    std::string ini;
    QuitHindered(answers, [&ini] {
        ini = wxGetApp().Bench().SettingsFile();
        fs::remove(ini);
        fs::create_directories(ini);
    });
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0].message,
              "退出时无法保存设置，本次对设置的修改未能保留：\n" + ini + "：" + ErrorText(EISDIR));
    // The recent list, in the other file, was kept.
    EXPECT_EQ(ReadFile(platform::RegistryFile::UserPath()).find("/w/a.e") != std::string::npos, true);
}

// Another IDE holds both settings locks: the quit's merges wait for them
// once in all, not each, and one box then names both files.
TEST(Messages, LocksHeldElsewhereAreWaitedForOnceAndToldInOneBox)
{
    Answers answers;
    const std::string registry = platform::RegistryFile::UserPath();
    std::string ini;
    std::unique_ptr<platform::FileLock> settings, recent;
    const auto took = QuitHindered(answers, [&] {
        ini = wxGetApp().Bench().SettingsFile();
        fs::create_directories(fs::path(ini).parent_path());
        settings.reset(new platform::FileLock(ini, std::chrono::milliseconds(0)));
        recent.reset(new platform::FileLock(registry, std::chrono::milliseconds(0)));
        ASSERT_EQ(settings->Error() + recent->Error(), 0);
    });
    // Three waits of their own would take three times the wait.
    EXPECT_LT(took, 2 * platform::kMergeLockWait);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0].message, "退出时无法保存设置，本次对设置的修改未能保留：\n" + ini + "：" +
                                            ErrorText(EBUSY) + "\n" + registry + "：" + ErrorText(EBUSY));
}

// The caret pane holds a position of a 7-digit line and a 5-digit column.
TEST(Messages, TheCaretPaneHoldsLargePositions)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    wxStatusBar* status = Frame().GetStatusBar();
    status->SetStatusText("Ln2000007, Col12345", 1);
    wxRect field;
    ASSERT_TRUE(status->GetFieldRect(1, field));
    EXPECT_GE(field.width, status->GetTextExtent("Ln2000007, Col12345").x);
    EXPECT_GE(field.width, status->GetTextExtent("Ln9999999, Col99999").x);
    SaveScreenshot(Screenshot(status), "caret_pane_large_position");
}

} // namespace
} // namespace ide::test

namespace ide::test {
namespace {

// Another IDE quits while this one runs: when this one quits after it,
// both keep their changes.
TEST(TwoIdes, TheOneThatQuitsLastKeepsTheOthersChanges)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    OnlyDocument()->Modify(false);
    const std::string ini = wxGetApp().Bench().SettingsFile();
    {
        Workbench other(ini);
        other.LoadStartSettings();
        other.DisplaySetting().colors[1] = 0x0000C0;
        other.PrintSetting().iTop = 321;
        other.RecentProjects().Add("/w/other.prj");
        other.SaveDisplayAndRecentLists();
        other.SaveHistoriesAndPrintSetting();
    }
    wxGetApp().Bench().DisplaySetting().LineDistance = 4;
    wxGetApp().AddToRecentFileList("/w/mine.e");
    EXPECT_TRUE(Frame().Close());
    Pump(10);
    wxGetApp().ExitInstance();
    EXPECT_TRUE(answers.asked.empty());

    Workbench after(ini);
    after.LoadStartSettings();
    EXPECT_EQ(after.DisplaySetting().colors[1], 0x0000C0u);
    EXPECT_EQ(after.DisplaySetting().LineDistance, 4);
    EXPECT_EQ(after.PrintSetting().iTop, 321);
    EXPECT_EQ(after.RecentProjects().Entries(), (std::vector<std::string>{"/w/other.prj"}));
    EXPECT_EQ(after.RecentFiles().Entries(), (std::vector<std::string>{"/w/mine.e"}));
}

} // namespace
} // namespace ide::test
