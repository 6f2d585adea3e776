// Keys, characters, the mouse, the context menu, focus notifications and the
// About box as the editor window receives them from wx.
#include <functional>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "quvpad_host.hpp"

namespace quvpad::test {
namespace {

std::vector<std::string> Lines(EditorModel& m)
{
    std::vector<std::string> out;
    for (int i = 0; i < m.GetLineCount(); ++i)
        out.push_back(m.GetLine(i));
    return out;
}

struct KeyCase {
    const char* what;
    const char* text;
    int column, line;   // 0-based caret before the keys
    std::function<void(Host&)> keys;
    std::vector<std::string> lines;
    int caretColumn, caretLine, anchorColumn, anchorLine;
};

const KeyCase kKeys[] = {
    {"Shift+Right extends the selection", "abc", 0, 0,
     [](Host& h) { h.Key(WXK_RIGHT, wxMOD_SHIFT); h.Key(WXK_RIGHT, wxMOD_SHIFT); }, {"abc"}, 2, 0, 0, 0},
    {"Ctrl+A selects all", "ab\ncd", 0, 0, [](Host& h) { h.Key('A', wxMOD_CONTROL, 1); }, {"ab", "cd"}, 2, 1, 0, 0},
    {"Shift+Delete cuts and Alt+Backspace undoes", "abc", 0, 0,
     [](Host& h) {
         h.Key(WXK_RIGHT, wxMOD_SHIFT);
         h.Key(WXK_DELETE, wxMOD_SHIFT);
         EXPECT_EQ(ClipboardText(), "a");
         h.Key(WXK_BACK, wxMOD_ALT);
     },
     {"abc"}, 1, 0, 0, 0},   // the undone cut gives its selection back
    {"Ctrl+Z undoes and Ctrl+Y redoes", "ab", 2, 0,
     [](Host& h) { h.Type("x"); h.Key('Z', wxMOD_CONTROL, 26); h.Key('Y', wxMOD_CONTROL, 25); }, {"abx"}, 3, 0, 3, 0},
    {"Ctrl+V, Ctrl+letters and Alt+letters type nothing", "ab", 2, 0,
     [](Host& h) {
         SetClipboardText("pasted");
         h.Key('V', wxMOD_CONTROL, 22);
         h.Key('B', wxMOD_CONTROL, 2);
         h.Key('X', wxMOD_ALT, 'x');
     },
     {"ab"}, 2, 0, 2, 0},
    {"a Chinese character is typed as its two GBK bytes", "ab", 1, 0,
     [](Host& h) { h.Key(WXK_NONE, 0, 0x4E2D); }, {"a\xD6\xD0" "b"}, 3, 0, 3, 0},
};

TEST(QuvPadInput, KeysAsTheEditorWindowReceivesThem)
{
    for (const KeyCase& k : kKeys) {
        SCOPED_TRACE(k.what);
        Host host;
        host.Pad().LoadText(Wide(k.text), k.line + 1, k.column + 1);
        k.keys(host);
        EXPECT_EQ(Lines(host.Model()), k.lines);
        EXPECT_EQ(host.Model().CaretColumn(), k.caretColumn);
        EXPECT_EQ(host.Model().CaretLine(), k.caretLine);
        EXPECT_EQ(host.Model().AnchorColumn(), k.anchorColumn);
        EXPECT_EQ(host.Model().AnchorLine(), k.anchorLine);
    }
}

TEST(QuvPadInput, MouseMovesArePassedOnToTheHost)
{
    Host host;
    host.Pad().LoadText(L"abc\ndef", 1, 1);
    std::vector<wxPoint> forwarded;
    host.Frame().Bind(wxEVT_MOTION, [&](wxMouseEvent& e) { forwarded.push_back(e.GetPosition()); });
    wxPoint from = host.PointOf(2, 0), to = host.PointOf(3, 1);
    host.Drag(from.x, from.y, to.x, to.y);
    host.Pump();
    ASSERT_FALSE(forwarded.empty());
    EXPECT_EQ(forwarded.back(), wxPoint(to.x - 4, to.y));   // x from the text margin
}

TEST(QuvPadInput, TheContextMenuShowsTheEditorsStateAndRunsItsCommands)
{
    Host host;
    host.Pad().LoadText(L"abc\ndef", 2, 1);
    host.Pad().EditBreakPoint();
    SetClipboardText("x");
    std::unique_ptr<wxMenu> menu(host.Editor().CreateContextMenu());
    std::vector<std::string> labels;
    for (wxMenuItem* item : menu->GetMenuItems())
        labels.push_back(item->IsSeparator() ? "-" : item->GetItemLabel().ToStdString(wxConvUTF8));
    EXPECT_EQ(labels, (std::vector<std::string>{"恢复(&Y)\tCtrl+Y", "撤消(&U)\tCtrl+Z", "-", "剪切(&T)\tCtrl+X",
                                                "复制(&C)\tCtrl+C", "粘贴(&P)\tCtrl+V", "全选(&A)\tCtrl+A", "-",
                                                "断点\tF9"}));
    auto item = [&](const char* label) {
        for (wxMenuItem* i : menu->GetMenuItems())
            if (i->GetItemLabel().ToStdString(wxConvUTF8) == label)
                return i;
        ADD_FAILURE() << label;
        return menu->GetMenuItems().front();
    };
    EXPECT_FALSE(item("撤消(&U)\tCtrl+Z")->IsEnabled());
    EXPECT_FALSE(item("复制(&C)\tCtrl+C")->IsEnabled());
    EXPECT_TRUE(item("全选(&A)\tCtrl+A")->IsEnabled());
    EXPECT_TRUE(item("粘贴(&P)\tCtrl+V")->IsEnabled());
    EXPECT_TRUE(item("断点\tF9")->IsChecked());

    wxCommandEvent selectAll(wxEVT_MENU, item("全选(&A)\tCtrl+A")->GetId());
    host.Editor().ProcessWindowEvent(selectAll);
    EXPECT_TRUE(host.Pad().GetBCanCopy());
    wxCommandEvent toggle(wxEVT_MENU, item("断点\tF9")->GetId());
    host.Editor().ProcessWindowEvent(toggle);
    EXPECT_EQ(host.Model().Document().Text().IsBreakPoint(1), 0);
}

TEST(QuvPadInput, FocusChangesAreReportedToTheParent)
{
    Host host;
    auto* other = new wxTextCtrl(&host.Frame(), wxID_ANY, "", wxPoint(0, 0), wxSize(80, 30));
    std::vector<std::pair<int, int>> notes;
    host.Frame().Bind(EVT_QUVPAD_EDIT_NOTIFY, [&](wxCommandEvent& e) { notes.push_back({e.GetId(), e.GetInt()}); });
    other->SetFocus();
    host.Pump();
    host.Ctrl().SetFocus();   // the control hands the focus on to its editor
    host.Pump();
    EXPECT_TRUE(host.Editor().HasFocus());
    EXPECT_EQ(notes, (std::vector<std::pair<int, int>>{{kEditorWindowId, NotifyKillFocus},
                                                       {kEditorWindowId, NotifySetFocus}}));
}

TEST(QuvPadInput, TheAboutBoxShowsItsTexts)
{
    Host host;
    std::string title, text;
    wxTheApp->CallAfter([&] {
        for (wxWindow* w : wxTopLevelWindows)
            if (auto* dialog = dynamic_cast<wxDialog*>(w); dialog && dialog->IsModal()) {
                title = dialog->GetTitle().ToStdString();
                for (wxWindow* child : dialog->GetChildren())
                    if (auto* label = dynamic_cast<wxStaticText*>(child))
                        text = label->GetLabel().ToStdString();
                dialog->EndModal(wxID_OK);
            }
    });
    host.Pad().AboutBox();
    EXPECT_EQ(title, "About QuvPad Control");
    EXPECT_EQ(text, "QuvPad Control, Version 1.0");
}

} // namespace
} // namespace quvpad::test
