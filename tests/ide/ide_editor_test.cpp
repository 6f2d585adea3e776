// Documents in editor views that host the QuvPad control: opening, typing,
// saving and their failures, keys the editor takes first, the caret position
// in the status bar and the go-to dialog.
#include <filesystem>

#include <gtest/gtest.h>
#include <wx/textctrl.h>

#include "compiler/core/gbk.hpp"
#include "ide/wx/goto_line_dlg.hpp"
#include "tests/ide/editor_host.hpp"
#include "tests/ide/ide_host.hpp"

namespace ide::test {
namespace {

bool IsOpen(const std::string& name) { return wxGetApp().Bench().OpenFiles().Contains(name); }

TEST(EditorView, OpensTypesIntoAndSavesAnExampleFile)
{
    const std::string path = CopyExample("pipeline/pipeline.e");
    const std::string original = ReadFile(path);
    Answers answers;
    ASSERT_TRUE(Start({path}, answers));
    wxDocument* doc = OnlyDocument();
    CQuvPad& pad = PadOf(doc);
    EXPECT_EQ(pad.GetTextSize(), 34);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(IsOpen(path));

    FocusEditor(doc);
    PressKey(WXK_DOWN);
    PressKey(WXK_END);
    TypeText(" {渠道}");
    EXPECT_TRUE(doc->IsModified());
    // The editor counts columns in bytes of its 8-bit text: a Chinese character takes two.
    EXPECT_EQ(StatusPosition(), "Ln2, Col9");
    SaveScreenshot(Screenshot(&Frame()), "ide_editor_typed");

    PressKey('S', wxMOD_CONTROL);
    EXPECT_FALSE(doc->IsModified());
    std::string expected = original;
    expected.insert(expected.find('\n', expected.find('\n') + 1), " {" + gbk::fromUtf8("渠道") + "}");
    EXPECT_EQ(ReadFile(path), expected);
    EXPECT_TRUE(answers.asked.empty());
}

TEST(EditorView, FilesThatCannotBeReadOrWrittenAreReported)
{
    const std::string path = CopyExample("shop/parts.e");
    Answers answers;
    ASSERT_TRUE(Start({path}, answers));
    wxDocument* doc = OnlyDocument();
    // A source file that opens but fails to read, even for root: no document.
    const std::string unreadable = TestFolder() + "/memory.e";
    std::filesystem::create_symlink("/proc/self/mem", unreadable);
    EXPECT_EQ(OpenDocument(unreadable), nullptr);
    EXPECT_EQ(wxGetApp().DocManager()->GetDocumentsVector().size(), 1u);
    EXPECT_FALSE(IsOpen(unreadable));

    FocusEditor(doc);
    TypeText("x");
    std::filesystem::remove_all(TestFolder());
    EXPECT_FALSE(doc->Save());
    EXPECT_TRUE(doc->IsModified());
    ASSERT_EQ(answers.asked.size(), 2u);
    for (const Question& q : answers.asked)
        EXPECT_EQ(q.caption, "错误");
    EXPECT_EQ(answers.asked[0].message, "无法打开文件 " + unreadable + "。");
    // The second line is the reason, as the control words it.
    EXPECT_EQ(answers.asked[1].message.rfind("无法保存文件 " + path + "。\n", 0), 0u) << answers.asked[1].message;

    // Saved under a new name, the document is written there and renamed in the open-file list.
    const std::string renamed = TestFolder() + "/renamed.e";
    EXPECT_TRUE(doc->OnSaveDocument(wxString::FromUTF8(renamed)));
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(ReadFile(renamed).substr(0, 1), "x");
    EXPECT_TRUE(IsOpen(renamed));
    EXPECT_FALSE(IsOpen(path));

    // Closing a changed document asks in the interface's language.
    doc->Modify(true);
    answers.replies = {wxCANCEL};
    EXPECT_FALSE(doc->Close());
    EXPECT_EQ(answers.asked.back().message, "是否保存对 renamed.e 的修改？");
    EXPECT_EQ(answers.asked.back().caption, "提示");
}

TEST(EditorView, AKeyTheEditorHandledDoesNotReachTheAccelerators)
{
    const std::string path = CopyExample("shop/parts.e");
    Answers answers;
    ASSERT_TRUE(Start({path}, answers));
    wxDocument* doc = OnlyDocument();
    CQuvPad& pad = PadOf(doc);
    const wxString original = pad.UnloadText();
    FocusEditor(doc);
    TypeText("a");
    PressKey(WXK_DOWN);
    TypeText("b");
    const wxString twoEdits = pad.UnloadText();

    // One press, one undo: the second edit goes, the first stays.
    PressKey('Z', wxMOD_CONTROL);
    const wxString afterUndo = pad.UnloadText();
    EXPECT_NE(afterUndo, twoEdits);
    EXPECT_NE(afterUndo, original);
    EXPECT_TRUE(afterUndo.StartsWith("a"));
    // The editor has no Ctrl+S: that one still reaches the accelerators.
    PressKey('S', wxMOD_CONTROL);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(ReadFile(path), afterUndo.utf8_string());
}

TEST(EditorView, TheCaretGoesWhereAskedAndTheStatusBarShowsIt)
{
    const std::string path = CopyExample("pipeline/pipeline.e");
    Answers answers;
    ASSERT_TRUE(Start({path}, answers));
    wxDocument* doc = OnlyDocument();
    CQuvBenchView* view = ViewOf(doc);

    view->PostLocatePos(7, 3);
    EXPECT_NE(StatusPosition(), "Ln7, Col3") << "moved before the queued events ran";
    Pump();
    EXPECT_EQ(StatusPosition(), "Ln7, Col3");

    // Ctrl+G: the dialog opens at the caret; OK moves it, Cancel does not.
    const struct {
        int reply;
        const char* shown;
    } cases[] = {{wxID_OK, "Ln12, Col5"}, {wxID_CANCEL, "Ln7, Col3"}};
    for (const auto& c : cases) {
        wxGetApp().SetShowModal([&](wxDialog& dialog) {
            auto& go = static_cast<CGotoLineDlg&>(dialog);
            EXPECT_EQ(go.LineBox()->GetValue(), "7");
            EXPECT_EQ(go.ColumnBox()->GetValue(), "3");
            go.LineBox()->SetValue("12");
            go.ColumnBox()->SetValue("5");
            return c.reply == wxID_OK && go.TransferDataFromWindow() ? c.reply : static_cast<int>(wxID_CANCEL);
        });
        FocusEditor(doc);
        PressKey('G', wxMOD_CONTROL);
        EXPECT_EQ(StatusPosition(), c.shown);
        view->PostLocatePos(7, 3);
        Pump();
    }
    wxGetApp().SetShowModal(nullptr);
    EXPECT_TRUE(answers.asked.empty());
}

TEST(GotoLineDlg, ChecksTheColumnFirstThenTheLine)
{
    Answers answers;
    ASSERT_TRUE(Start({}, answers));
    const struct {
        const char* line;
        const char* column;
        bool accepted;
    } cases[] = {
        {"1", "1", true},         {"10000000", "10000000", true}, {"0", "0", false}, {"5", "0", false},
        {"10000001", "1", false}, {"x", "2", false},              {"3", "", false},
    };
    for (const auto& c : cases) {
        answers.asked.clear();
        CGotoLineDlg dialog(wxGetApp(), 4, 9, &Frame());
        dialog.LineBox()->SetValue(c.line);
        dialog.ColumnBox()->SetValue(c.column);
        EXPECT_EQ(dialog.TransferDataFromWindow(), c.accepted) << c.line << "/" << c.column;
        // Refused, the dialog keeps its values and says why once, for the first bad value.
        EXPECT_EQ(dialog.Line(), c.accepted ? wxAtoi(c.line) : 4);
        EXPECT_EQ(dialog.Column(), c.accepted ? wxAtoi(c.column) : 9);
        EXPECT_EQ(answers.asked.size(), c.accepted ? 0u : 1u);
    }
    // The last case's column holds no integer at all.
    EXPECT_EQ(answers.asked.at(0).message, "请输入一个整数。");
    EXPECT_EQ(answers.asked.at(0).caption, "提示");
}

} // namespace
} // namespace ide::test
