// The find dialogs on an X display: the editor's find and replace dialogs
// driving the document finder, the find-in-files dialogs with their enabling
// rules and histories, the folder browser, and the multi-file commands
// running a job into the find-result pane.
#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <tuple>

#include <gtest/gtest.h>
#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/combobox.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include "ide/model/find_in_files.hpp"
#include "ide/wx/browse_dir_dlg.hpp"
#include "ide/wx/error_info_dlg.hpp"
#include "ide/wx/find_commands.hpp"
#include "ide/wx/find_dlgs.hpp"
#include "ide/wx/find_in_files_dlg.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/output_panes.hpp"
#include "compiler/core/gbk.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"

namespace ide::test {
namespace {

namespace fs = std::filesystem;

wxDialog* ModalDialog()
{
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* d = dynamic_cast<wxDialog*>(w); d && d->IsModal())
            return d;
    return nullptr;
}

// Runs `open`, which shows a modal dialog, and `act` on that dialog once it is
// up; a dialog that `act` leaves open is cancelled.
void WithModal(const std::function<void()>& open, const std::function<void(wxDialog&)>& act)
{
    std::function<void(int)> attempt = [&](int left) {
        wxDialog* dialog = ModalDialog();
        if (!dialog && left > 0) {
            wxTheApp->CallAfter([&attempt, left] { attempt(left - 1); });
            return;
        }
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        if (ModalDialog() == dialog)
            dialog->EndModal(wxID_CANCEL);
    };
    wxTheApp->CallAfter([&attempt] { attempt(50); });
    open();
}

template <typename T>
T* Get(wxWindow& dialog, int id) { return dynamic_cast<T*>(dialog.FindWindow(id)); }

// A click on a button or a radio button, as the user makes it.
void Send(wxWindow& dialog, wxEventType type, int id)
{
    wxWindow* control = dialog.FindWindow(id);
    ASSERT_NE(control, nullptr) << id;
    if (auto* radio = dynamic_cast<wxRadioButton*>(control))
        radio->SetValue(true);
    wxCommandEvent click(type, id);
    click.SetEventObject(control);
    control->GetEventHandler()->ProcessEvent(click);
}
void Click(wxWindow& dialog, int id) { Send(dialog, wxEVT_BUTTON, id); }
void Choose(wxWindow& dialog, int id) { Send(dialog, wxEVT_RADIOBUTTON, id); }
// Raises the edit event, as typing does.
void Type(wxWindow& dialog, int id, const char* utf8) { Get<wxComboBox>(dialog, id)->SetValue(wxString::FromUTF8(utf8)); }
bool Enabled(wxWindow& dialog, int id) { return dialog.FindWindow(id)->IsEnabled(); }
std::string Text(wxWindow& dialog, int id) { return Get<wxComboBox>(dialog, id)->GetValue().utf8_string(); }

std::vector<std::string> Entries(wxWindow& dialog, int id)
{
    std::vector<std::string> out;
    for (const wxString& s : Get<wxComboBox>(dialog, id)->GetStrings())
        out.push_back(s.utf8_string());
    return out;
}

// The IDE with one document in an editor view, its text given in UTF-8 and
// saved as GBK.
class EditorFind : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(Start({}, answers)); }
    void Open(const char* utf8)
    {
        const std::string path = TestFolder() + "/find.e";
        std::ofstream(path, std::ios::binary) << gbk::fromUtf8(utf8);
        doc = OpenDocument(path);
        ASSERT_NE(doc, nullptr);
        view = ViewOf(doc);
    }
    std::string DocText() { return PadOf(doc).UnloadText().utf8_string(); }
    // Anchor line and column, caret line and column, as the view last heard them.
    std::array<int, 4> Selection()
    {
        Pump();
        return {view->AnchorLine(), view->AnchorColumn(), view->CaretLine(), view->CaretColumn()};
    }
    Answers answers;
    CQuvFindHistory& history = wxGetApp().Bench().FindHistory();
    wxDocument* doc = nullptr;
    CQuvBenchView* view = nullptr;
};

TEST_F(EditorFind, FindDialogOffersTheSelectionRefusesABadExpressionAndSelectsTheMatch)
{
    history.findTexts = {"older"};
    Open("第一行 alpha\nbeta alpha\n");
    // A selection is offered; without one, the finder's last text.
    PadOf(doc).SetSelection(1, 8, 1, 13);
    WithModal([&] { Command(doc, ID_EDIT_FIND); }, [&](wxDialog& d) {
        EXPECT_EQ(Text(d, IDC_FIND_TEXT), "alpha");
        EXPECT_EQ(Entries(d, IDC_FIND_TEXT), std::vector<std::string>{"older"});
        Type(d, IDC_FIND_TEXT, "");
        EXPECT_FALSE(Enabled(d, wxID_OK));
        Type(d, IDC_FIND_TEXT, "(al");
        EXPECT_TRUE(Enabled(d, wxID_OK));
        Get<wxCheckBox>(d, IDC_REGULAR_EXPRESSION)->SetValue(true);
        Click(d, wxID_OK);
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0].message, "要查找的字符串不是一个合法的正规式");
        EXPECT_EQ(answers.asked[0].caption, "提示");
        EXPECT_EQ(history.findTexts, std::vector<std::string>{"older"});
        EXPECT_TRUE(d.IsModal());
        Type(d, IDC_FIND_TEXT, "al(p)ha");
        SaveScreenshot(Screenshot(&d), "find_dialog");
        Click(d, wxID_OK);
    });
    EXPECT_EQ(history.findTexts, (std::vector<std::string>{"al(p)ha", "older"}));
    // The search starts at the caret, the end of the selection: the next one is on line 2.
    EXPECT_EQ(Selection(), (std::array<int, 4>{2, 6, 2, 11}));
    SaveScreenshot(Screenshot(&Frame()), "find_selected");

    PadOf(doc).LocatePos(1, 1);
    WithModal([&] { Command(doc, ID_EDIT_FIND); }, [&](wxDialog& d) {
        EXPECT_EQ(Text(d, IDC_FIND_TEXT), "al(p)ha");
        EXPECT_TRUE(Get<wxCheckBox>(d, IDC_REGULAR_EXPRESSION)->GetValue());
        EXPECT_TRUE(Get<wxRadioButton>(d, IDC_DIRECTION_DOWN)->GetValue());
        Click(d, wxID_CANCEL);
    });
    // F3 in byte columns: "第一行 " is seven bytes.
    PressKey(WXK_F3);
    EXPECT_EQ(Selection(), (std::array<int, 4>{1, 8, 1, 13}));
    // Ctrl+B after a bracket selects back to its partner.
    PadOf(doc).LoadText(wxString::FromUTF8("f(中, (b)\n c)\n"), 2, 4);
    Command(doc, ID_EDIT_MATCH_BRACE);
    EXPECT_EQ(Selection(), (std::array<int, 4>{2, 4, 1, 2}));
}

// There is no help file: the help button of the find dialogs and of the
// error detail dialog shows, disabled.
TEST_F(EditorFind, EveryHelpButtonIsDisabled)
{
    Open("alpha\n");
    for (int command : {ID_EDIT_FIND, ID_EDIT_REPLACE})
        WithModal([&] { Command(doc, command); }, [](wxDialog& d) { EXPECT_FALSE(Enabled(d, IDC_FIND_HELP)); });
    CQuvFindInFilesDlg find(wxGetApp(), history, &Frame());
    EXPECT_FALSE(Enabled(find, IDC_FIND_IN_FILES_HELP));
    CQuvReplaceInFilesDlg replace(wxGetApp(), history, &Frame());
    EXPECT_FALSE(Enabled(replace, IDC_FIND_HELP));
    CErrorInfoDlg error(&Frame(), DiagnosticCopy{});
    EXPECT_FALSE(Enabled(error, wxID_HELP));
}

TEST_F(EditorFind, ReplaceDialogFindsFirstThenReplacesAndLeavesTheHistoryWhenOnlyOpened)
{
    history.findTexts = {"x"};
    history.replaceTexts = {"y"};
    Open("x1 中x2\nx3\n");
    WithModal([&] { Command(doc, ID_EDIT_REPLACE); }, [&](wxDialog& d) {
        EXPECT_TRUE(Get<wxRadioButton>(d, IDC_SCOPE_FILE)->GetValue());
        EXPECT_EQ(Entries(d, IDC_REPLACE_TEXT), std::vector<std::string>{"y"});
        for (int id : {int(wxID_OK), int(IDC_REPLACE_ONE), int(IDC_REPLACE_ALL), int(IDC_SCOPE_SELECTION)})
            EXPECT_FALSE(Enabled(d, id)) << id;
    });
    EXPECT_EQ(history.findTexts, std::vector<std::string>{"x"});
    EXPECT_EQ(history.replaceTexts, std::vector<std::string>{"y"});

    WithModal([&] { Command(doc, ID_EDIT_REPLACE); }, [&](wxDialog& d) {
        Type(d, IDC_FIND_TEXT, "x");
        Type(d, IDC_REPLACE_TEXT, "[$&]");
        EXPECT_TRUE(Enabled(d, IDC_REPLACE_ONE));
        // The first press only finds.
        Click(d, IDC_REPLACE_ONE);
        EXPECT_EQ(DocText(), "x1 中x2\nx3\n");
        EXPECT_EQ(Selection(), (std::array<int, 4>{1, 1, 1, 2}));
        Click(d, IDC_REPLACE_ONE);
        // The view's Find next, asked for after the replacement, selects the next one.
        EXPECT_EQ(DocText(), "[x]1 中x2\nx3\n");
        EXPECT_EQ(Selection(), (std::array<int, 4>{1, 8, 1, 9}));
        SaveScreenshot(Screenshot(&d), "replace_dialog");
        Click(d, IDC_REPLACE_ALL);
        EXPECT_EQ(DocText(), "[[x]]1 中[x]2\n[x]3\n");
        EXPECT_TRUE(d.IsModal());
    });
    EXPECT_EQ(history.replaceTexts, (std::vector<std::string>{"[$&]", "y"}));

    // A selection preselects "选定文字".
    PadOf(doc).SetSelection(1, 8, 1, 13);
    WithModal([&] { Command(doc, ID_EDIT_REPLACE); }, [&](wxDialog& d) {
        EXPECT_TRUE(Get<wxRadioButton>(d, IDC_SCOPE_SELECTION)->GetValue());
        EXPECT_EQ(Text(d, IDC_FIND_TEXT), "中[x]");
    });
    view->FindCommands()->Finder().SetFindOptions({1, 1, 0, 0, "nowhere"});
    Command(doc, ID_EDIT_FIND_NEXT);
    ASSERT_EQ(answers.asked.size(), 1u);
    EXPECT_EQ(answers.asked[0].message, "没有找到匹配的字符串!");
}

class FindInFilesWindow : public testing::Test {
protected:
    void SetUp() override
    {
        root_ = fs::temp_directory_path() / ("quvbench-fif-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "src" / "sub");
    }
    void TearDown() override { fs::remove_all(root_); }
    std::string Put(const std::string& relative, const std::string& bytes)
    {
        std::ofstream(root_ / relative, std::ios::binary) << bytes;
        return (root_ / relative).string();
    }
    // Finds "x" in the *.e files of `folder` through the menu command and its dialog.
    void FindXInFiles(CMainFrame& frame, const std::string& folder, bool subfolders)
    {
        WithModal([&] {
            wxCommandEvent command(wxEVT_MENU, ID_FIND_IN_FILES);
            frame.GetEventHandler()->ProcessEvent(command);
        }, [&](wxDialog& d) {
            Type(d, IDC_FIND_TEXT, "x");
            Type(d, IDC_FILE_TYPES, "*.e");
            Type(d, IDC_FOLDERS, folder.c_str());
            Get<wxCheckBox>(d, IDC_SUBFOLDERS)->SetValue(subfolders);
            Click(d, wxID_OK);
        });
    }
    fs::path root_;
};

TEST_F(FindInFilesWindow, DialogsFollowTheScopeRefuseBadExpressionsAndBrowseFromTheCurrentFolder)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CQuvFindHistory& history = wxGetApp().Bench().FindHistory();
    history = CQuvFindHistory();
    CFindInFilesDlgBase::RunBrowser = [](wxWindow*, const wxString& start) {
        return start == wxGetCwd() ? wxString("/chosen") : wxString("/wrong");
    };

    CQuvFindInFilesDlg find(wxGetApp(), history, &Frame());
    WithModal([&] { find.ShowModal(); }, [&](wxDialog& d) {
        for (int id : {int(IDC_FIND_TEXT), int(IDC_FILE_TYPES), int(IDC_FOLDERS)})
            EXPECT_TRUE(Entries(d, id).empty()) << id;
        EXPECT_FALSE(Enabled(d, wxID_OK));
        Type(d, IDC_FIND_TEXT, "(");
        EXPECT_TRUE(Enabled(d, wxID_OK));
        Choose(d, IDC_SCOPE_OPEN);
        for (int id : {IDC_BROWSE, IDC_SUBFOLDERS, IDC_FILE_TYPES, IDC_FOLDERS})
            EXPECT_FALSE(Enabled(d, id)) << id;
        Choose(d, IDC_SCOPE_LISTED);
        for (int id : {IDC_BROWSE, IDC_SUBFOLDERS, IDC_FILE_TYPES, IDC_FOLDERS})
            EXPECT_TRUE(Enabled(d, id)) << id;
        Type(d, IDC_FOLDERS, "/typed");
        Click(d, IDC_BROWSE);
        EXPECT_EQ(Text(d, IDC_FOLDERS), "/chosen");
        EXPECT_EQ(Text(d, IDC_FIND_TEXT), "(");
        Get<wxCheckBox>(d, IDC_REGULAR_EXPRESSION)->SetValue(true);
        Click(d, wxID_OK);
        ASSERT_EQ(answers.asked.size(), 1u);
        EXPECT_EQ(answers.asked[0].message, "要查找的字符串不是一个合法的正规式");
        Get<wxCheckBox>(d, IDC_REGULAR_EXPRESSION)->SetValue(false);
        Type(d, IDC_FILE_TYPES, "*.e");
        SaveScreenshot(Screenshot(&d), "find_in_files_dialog");
        Click(d, wxID_OK);
    });
    EXPECT_EQ(find.Result().findText, "(");
    EXPECT_EQ(find.Result().folders, "/chosen");
    EXPECT_EQ(find.Result().fileTypes, "*.e");
    EXPECT_EQ(find.Result().scope, 0);
    // The dialog itself leaves the history alone.
    EXPECT_TRUE(history.findTexts.empty());

    history.findTexts = {"f1", "f2"};
    history.replaceTexts = {"r1"};
    history.fileTypes = {"*.e"};
    history.folders = {"/a;/b"};
    history.scope = 2;
    CQuvReplaceInFilesDlg replace(wxGetApp(), history, &Frame());
    WithModal([&] { replace.ShowModal(); }, [&](wxDialog& d) {
        EXPECT_EQ(Text(d, IDC_FIND_TEXT), "f1");
        EXPECT_EQ(Text(d, IDC_REPLACE_TEXT), "r1");
        EXPECT_EQ(Entries(d, IDC_FIND_TEXT), (std::vector<std::string>{"f1", "f2"}));
        EXPECT_TRUE(Get<wxRadioButton>(d, IDC_SCOPE_PROJECT)->GetValue());
        EXPECT_FALSE(Enabled(d, IDC_FOLDERS));
        SaveScreenshot(Screenshot(&d), "replace_in_files_dialog");
    });
    EXPECT_EQ(history.findTexts, (std::vector<std::string>{"f1", "f2"}));
}

TEST_F(FindInFilesWindow, CommandsRunTheJobIntoTheFindPaneAndRememberIt)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CMainFrame& frame = Frame();
    CQuvFindHistory& history = wxGetApp().Bench().FindHistory();
    history = CQuvFindHistory();
    const std::string a = Put("src/a.e", "x := 1;\ny := x;\n");
    const std::string b = Put("src/sub/b.e", "x\n");
    frame.FindList()->AddMessage("old row");

    FindXInFiles(frame, (root_ / "src").string(), true);
    ASSERT_TRUE(PumpUntil([] { return wxGetApp().Bench().findBusy == 0; }));
    Pump();
    const LookupResultModel& rows = frame.FindList()->Model();
    ASSERT_GT(rows.Count(), 0);
    EXPECT_EQ(rows.Entry(0).Shown(), "多重文件查找字符串\"x\"开始");
    EXPECT_EQ(rows.Entry(rows.Count() - 1).Shown(),
              "多重文件查找字符串\"x\"结束，共搜索2个文件，找到3个匹配");
    EXPECT_EQ(frame.OutputBar()->GetCurrentPage(), frame.FindList());
    EXPECT_EQ(history.findTexts, std::vector<std::string>{"x"});
    EXPECT_EQ(history.folders, std::vector<std::string>{(root_ / "src").string()});
    EXPECT_EQ(history.subfolders, 1);
    SaveScreenshot(Screenshot(&frame), "find_in_files_rows");

    // While a job runs both commands are disabled.
    wxGetApp().Bench().findBusy = 1;
    for (int id : {ID_FIND_IN_FILES, ID_REPLACE_IN_FILES}) {
        wxUpdateUIEvent update(id);
        wxGetApp().ProcessEvent(update);
        EXPECT_FALSE(update.GetEnabled()) << id;
    }
    wxGetApp().Bench().findBusy = 0;

    // Replace over the open documents' list as it was when the job was built.
    wxGetApp().Bench().OpenFiles().Clear();
    wxGetApp().Bench().OpenFiles().Add(a);
    WithModal([&] {
        wxCommandEvent command(wxEVT_MENU, ID_REPLACE_IN_FILES);
        frame.GetEventHandler()->ProcessEvent(command);
    }, [&](wxDialog& d) {
        EXPECT_EQ(Text(d, IDC_FIND_TEXT), "x");
        EXPECT_TRUE(Get<wxCheckBox>(d, IDC_SUBFOLDERS)->GetValue());
        Type(d, IDC_REPLACE_TEXT, "zz");
        Choose(d, IDC_SCOPE_OPEN);
        Click(d, wxID_OK);
    });
    wxGetApp().Bench().OpenFiles().Add(b);
    ASSERT_TRUE(PumpUntil([] { return wxGetApp().Bench().findBusy == 0; }));
    Pump();
    EXPECT_EQ(ReadFile(a), "zz := 1;\ny := zz;\n");
    EXPECT_EQ(ReadFile(b), "x\n");
    EXPECT_EQ(frame.FindList()->Model().Entry(frame.FindList()->Model().Count() - 1).Shown(),
              "多重文件替换字符串\"x\"为\"zz\"结束，共搜索1个文件，替换2个匹配");
    EXPECT_EQ(history.replaceTexts, std::vector<std::string>{"zz"});
    EXPECT_EQ(history.folders.size(), 1u);
}

// Rows reach the pane in batches: a job with many matches shows exactly the
// rows the job made, in their order, and a late row still opens its place.
TEST_F(FindInFilesWindow, ManyRowsArriveCompleteAndInOrderAndALateRowOpensItsPlace)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    CMainFrame& frame = Frame();
    for (int f = 0; f < 40; ++f) {
        std::string text;
        for (int line = 1; line <= 150; ++line)
            text += line % 3 ? "x := " + std::to_string(line) + ";\n" : "y;\n";
        Put("src/f" + std::to_string(f) + ".e", text);
    }
    const std::string folder = (root_ / "src").string();
    LookupResultModel expected;
    FindInFilesRun(QuvFindJob(0, "x", "*.e", folder, 1, 0, 0, 0), [&](LookupEntry row) {
        expected.Add(std::move(row));
    }).Run();
    ASSERT_GT(expected.Count(), 4000);

    FindXInFiles(frame, folder, false);
    ASSERT_TRUE(PumpUntil([] { return wxGetApp().Bench().findBusy == 0; }));
    Pump();
    CLookupResultListView& list = *frame.FindList();
    const LookupResultModel& rows = list.Model();
    ASSERT_EQ(rows.Count(), expected.Count());
    ASSERT_EQ(list.GetItemCount(), expected.Count());
    for (int i = 0; i < rows.Count(); ++i) {
        const LookupEntry& got = rows.Entry(i);
        const LookupEntry& want = expected.Entry(i);
        ASSERT_EQ(std::make_tuple(got.Shown(), got.File(), got.Line(), got.Text()),
                  std::make_tuple(want.Shown(), want.File(), want.Line(), want.Text())) << i;
    }

    int late = rows.Count() - 1;
    while (late > 0 && rows.Entry(late).Line() < 1)
        --late;
    ASSERT_GT(late, 4000);
    const size_t open = wxGetApp().DocManager()->GetDocumentsVector().size();
    list.SetItemState(late, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
    wxListEvent activate(wxEVT_LIST_ITEM_ACTIVATED, list.GetId());
    activate.SetEventObject(&list);
    list.GetEventHandler()->ProcessEvent(activate);
    Pump(10);
    ASSERT_EQ(wxGetApp().DocManager()->GetDocumentsVector().size(), open + 1);
    wxDocument* opened = wxGetApp().DocManager()->GetCurrentDocument();
    ASSERT_TRUE(opened);
    EXPECT_TRUE(SameFile(opened->GetFilename().utf8_string(), rows.Entry(late).File()));
    EXPECT_EQ(StatusPosition(), "Ln" + std::to_string(rows.Entry(late).Line()) + ", Col1");
    SaveScreenshot(Screenshot(&frame), "find_in_files_many_rows");
}

TEST_F(FindInFilesWindow, FolderBrowserSortsReadsAgainOnExpandAndSelectsAPath)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    for (const char* name : {"beta", "Alpha", "alpha2", "Alpha/inner"})
        fs::create_directories(root_ / "tree" / name);
    Put("tree/beta/only-a-file.txt", "");

    CBrowseDirDlg browser(&Frame());
    browser.SetPath((root_ / "tree" / "Alpha").string());
    WithModal([&] { browser.ShowModal(); }, [&](wxDialog& d) {
        CDirTreeCtrl& tree = *browser.Tree();
        const wxTreeItemId selected = tree.GetSelection();
        ASSERT_TRUE(selected.IsOk());
        EXPECT_EQ(tree.GetFullPath(selected).utf8_string(), (root_ / "tree" / "Alpha").string());
        EXPECT_EQ(browser.PathField()->GetValue().utf8_string(), (root_ / "tree" / "Alpha").string());
        const wxTreeItemId treeItem = tree.GetItemParent(selected);
        std::vector<std::string> names;
        wxTreeItemIdValue cookie;
        for (wxTreeItemId c = tree.GetFirstChild(treeItem, cookie); c.IsOk(); c = tree.GetNextChild(treeItem, cookie))
            names.push_back(tree.GetItemText(c).utf8_string());
        EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "alpha2", "beta"}));
        // A folder holding only files has no expand button; one with folders has.
        wxTreeItemId beta = tree.GetLastChild(treeItem);
        EXPECT_FALSE(tree.ItemHasChildren(beta));
        EXPECT_TRUE(tree.ItemHasChildren(selected));
        // Collapsing and expanding shows a folder made in between.
        tree.Collapse(treeItem);
        fs::create_directories(root_ / "tree" / "gamma");
        tree.Expand(treeItem);
        EXPECT_EQ(tree.GetItemText(tree.GetLastChild(treeItem)).utf8_string(), "gamma");
        SaveScreenshot(Screenshot(&d), "browse_dir_dialog");
        // A place chosen in the combo: its path ends in "/".
        browser.SelectPlace(0);
        EXPECT_EQ(browser.PathField()->GetValue(), "/");
        browser.PathField()->ChangeValue((root_ / "typed").string());
        Click(d, wxID_OK);
    });
    EXPECT_EQ(browser.GetPath().utf8_string(), (root_ / "typed").string());

    // A folder that is gone: the tree is filled, no folder selected, the path as it was.
    CBrowseDirDlg gone(&Frame());
    gone.SetPath((root_ / "nowhere").string());
    WithModal([&] { gone.ShowModal(); }, [&](wxDialog&) {
        Pump();
        EXPECT_GT(gone.Tree()->GetCount(), 0u);
        EXPECT_EQ(gone.PathField()->GetValue().utf8_string(), (root_ / "nowhere").string());
    });
}

} // namespace
} // namespace ide::test
