#include "tests/ide/editor_host.hpp"

#include <filesystem>
#include <fstream>
#include <set>

#include <unistd.h>

#include <gtest/gtest.h>
#include <wx/statusbr.h>

#include "editor/wx/color_edit_wnd.hpp"
#include "tests/ide/ide_host.hpp"
#include "typed_key.hpp"

namespace ide::test {

namespace {

// The folders TestFolder made, for RemoveTestFolders.
std::set<std::filesystem::path>& MadeFolders()
{
    static std::set<std::filesystem::path> made;
    return made;
}

} // namespace

std::string TestFolder()
{
    const auto* info = testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("quvbench-" + std::string(info->name()) + "-" + std::to_string(::getpid()));
    if (!std::filesystem::exists(folder))
        std::filesystem::create_directories(folder);
    MadeFolders().insert(folder);
    return folder.string();
}

void RemoveTestFolders()
{
    for (const std::filesystem::path& folder : MadeFolders()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    MadeFolders().clear();
}

std::string CopyExample(const std::string& relative)
{
    const std::filesystem::path to = std::filesystem::path(TestFolder()) / std::filesystem::path(relative).filename();
    std::filesystem::copy_file(std::filesystem::path(QUV_EXAMPLES_DIR) / relative, to,
                               std::filesystem::copy_options::overwrite_existing);
    return to.string();
}

std::string Write(const std::string& name, const std::string& text)
{
    const std::string path = TestFolder() + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

wxDocument* OnlyDocument() { return wxGetApp().DocManager()->GetDocumentsVector().front(); }

wxDocument* OpenDocument(const std::string& path)
{
    wxDocument* doc = wxGetApp().DocManager()->CreateDocument(wxString::FromUTF8(path), wxDOC_SILENT);
    Pump();
    return doc;
}

CQuvBenchView* ViewOf(wxDocument* doc) { return wxDynamicCast(doc->GetFirstView(), CQuvBenchView); }

CQuvPad& PadOf(wxDocument* doc) { return *ViewOf(doc)->GetQuvPad(); }

void FocusEditor(wxDocument* doc)
{
    Frame().Raise();
    PadOf(doc).Focus();
    Pump();
}

void PressKey(int keyCode, int modifiers, wxChar ch)
{
    wxKeyEvent hook(wxEVT_CHAR_HOOK);
    hook.m_keyCode = keyCode;
    hook.m_uniChar = ch;
    hook.SetShiftDown((modifiers & wxMOD_SHIFT) != 0);
    hook.SetControlDown((modifiers & wxMOD_CONTROL) != 0);
    hook.SetRawControlDown((modifiers & wxMOD_CONTROL) != 0);
    hook.SetAltDown((modifiers & wxMOD_ALT) != 0);
    hook.SetEventObject(&Frame());
    if (!Frame().GetEventHandler()->ProcessEvent(hook)) {
        wxWindow* focus = wxWindow::FindFocus();
        EXPECT_NE(focus, nullptr);
        if (focus) {
            wxKeyEvent down(wxEVT_KEY_DOWN, hook);
            down.SetEventObject(focus);
            if (!focus->GetEventHandler()->ProcessEvent(down)) {
                wxKeyEvent typed(wxEVT_CHAR, hook);
                typed.SetEventObject(focus);
                if (ch)
                    typed.m_keyCode = ch < 0x80 ? ch : WXK_NONE;
                focus->GetEventHandler()->ProcessEvent(typed);
            }
        }
    }
    Pump(2);
}

void TypeText(const std::string& utf8)
{
    for (wxUniChar c : wxString::FromUTF8(utf8)) {
        const quv::test::TypedKey key = quv::test::KeyOf(c);
        PressKey(key.code, 0, key.ch);
    }
}

void Command(wxDocument* doc, int id)
{
    wxWindow* frame = ViewOf(doc)->GetFrame();
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(frame);
    frame->GetEventHandler()->ProcessEvent(event);
    Pump();
}

std::string StatusPosition() { return Frame().GetStatusBar()->GetStatusText(1).utf8_string(); }

quvpad::ColorEditWnd* EditorIn(wxWindow* window)
{
    if (auto* editor = dynamic_cast<quvpad::ColorEditWnd*>(window))
        return editor;
    for (wxWindow* child : window->GetChildren())
        if (quvpad::ColorEditWnd* editor = EditorIn(child))
            return editor;
    return nullptr;
}

} // namespace ide::test
