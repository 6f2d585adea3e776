#include "tests/ide/ide_host.hpp"

#include <fstream>
#include <sstream>

#include <sys/stat.h>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/utils.h>

#include "ide/wx/common_dialogs.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/splash_wnd.hpp"
#include "screen_grab.hpp"

namespace ide::test {

bool Start(const std::vector<std::string>& args, Answers& answers, bool keepSplash)
{
    wxArrayString wxArgs;
    for (const std::string& a : args)
        wxArgs.push_back(wxString::FromUTF8(a));
    wxGetApp().SetMessageBox([&answers](const wxString& message, const wxString& caption, long) {
        answers.asked.push_back({message.utf8_string(), caption.utf8_string()});
        if (answers.replies.empty())
            return static_cast<int>(wxOK);
        const int reply = answers.replies.front();
        answers.replies.pop_front();
        return reply;
    });
    const bool started = wxGetApp().InitInstance(wxArgs);
    if (!keepSplash)
        CSplashWnd::HideSplashScreen();
    Pump();
    return started;
}

CMainFrame& Frame()
{
    return *wxGetApp().MainFrame();
}

void Pump(int rounds)
{
    for (int i = 0; i < rounds; ++i) {
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        wxYield();
        wxMilliSleep(5);
    }
}

wxImage Screenshot(wxWindow* window)
{
    window->Raise();
    window->Refresh();
    window->Update();
    // Taken now: a window with a timer of its own (the splash) may be gone
    // once the events below have run.
    const wxRect rect = window->GetScreenRect();
    // GTK paints on its frame clock; give it a few frames.
    Pump(20);
    return quv::test::GrabScreen(rect);
}

std::string SaveScreenshot(const wxImage& image, const std::string& name)
{
    const std::string dir = IDE_SCREENSHOT_DIR;
    mkdir(dir.c_str(), 0755);
    const std::string path = dir + "/" + name + ".png";
    EXPECT_TRUE(image.SaveFile(path, wxBITMAP_TYPE_PNG)) << path;
    return path;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void OpenProjectThroughDialog(const std::string& path)
{
    CommonDialogs::SetFileHook([&path](const FileDialogSpec&, wxArrayString& paths) {
        paths.Add(wxString::FromUTF8(path));
        return true;
    });
    wxCommandEvent menu(wxEVT_MENU, ID_PROJECT_OPEN);
    wxEvtHandler& frame = Frame();
    frame.ProcessEvent(menu);
    Pump();
    CommonDialogs::SetFileHook(nullptr);
}

bool JobRunning() { return wxGetApp().Bench().compileBusy != 0; }

std::vector<std::string> Children(wxTreeCtrl* tree)
{
    std::vector<std::string> texts;
    wxTreeItemIdValue cookie;
    const wxTreeItemId root = tree->GetRootItem();
    for (wxTreeItemId child = tree->GetFirstChild(root, cookie); child.IsOk(); child = tree->GetNextChild(root, cookie))
        texts.push_back(tree->GetItemText(child).utf8_string());
    return texts;
}

} // namespace ide::test
