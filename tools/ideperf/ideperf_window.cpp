// Times the large edits of the IDE's editor in its real window, for
// scripts/bench: the IDE starts on the X display with a settings folder of
// its own, opens FILE and goes the user's road through the menu commands of
// its own frame: select all, copy, a new document, paste, undo, redo, then
// select all, cut and undo. Each row is the seconds from the command to the
// window painted and idle again, with the paints of the editor and of the
// status bar it caused; a text that comes out wrong is said on the row.
//
//     ideperf_window FILE
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

#include <wx/app.h>
#include <wx/init.h>
#include <wx/statusbr.h>
#include <wx/utils.h>

#include "editor/wx/color_edit_wnd.hpp"
#include "editor/wx/quvpad.hpp"
#include "ide/wx/app.hpp"
#include "ide/wx/doc_view.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/quv_pad.hpp"
#include "platform/class_registry.hpp"

wxIMPLEMENT_APP_NO_MAIN(ide::CQuvBenchApp);

namespace {

using Clock = std::chrono::steady_clock;

// Counts the paints of a window, and when the last one ended.
class PaintCounter : public wxEvtHandler {
public:
    explicit PaintCounter(wxWindow* window) : window_(window)
    {
        window_->PushEventHandler(this);
        Bind(wxEVT_PAINT, [this](wxPaintEvent& e) {
            ++paints;
            GetNextHandler()->ProcessEventLocally(e);
            lastEnd = Clock::now();
        });
    }
    ~PaintCounter() override { window_->RemoveEventHandler(this); }
    int paints = 0;
    Clock::time_point lastEnd;

private:
    wxWindow* window_;
};

ide::CQuvBenchApp& App() { return wxGetApp(); }

// Lets the event loop run as it runs for the user (events, then layout and
// painting when the window system asks) until nothing has happened for a
// while: the paints the last command caused have all come.
void Settle(const std::vector<const PaintCounter*>& counters = {})
{
    auto paints = [&counters] {
        int n = 0;
        for (const PaintCounter* c : counters)
            n += c->paints;
        return n;
    };
    Clock::time_point quiet = Clock::now();
    int seen = paints();
    while (Clock::now() - quiet < std::chrono::milliseconds(250)) {
        wxYield();
        if (paints() != seen) {
            seen = paints();
            quiet = Clock::now();
        }
        wxMilliSleep(2);
    }
}

ide::CQuvBenchView* ActiveView()
{
    return wxDynamicCast(App().DocManager()->GetCurrentView(), ide::CQuvBenchView);
}

quvpad::ColorEditWnd* EditorIn(wxWindow* window)
{
    if (auto* editor = dynamic_cast<quvpad::ColorEditWnd*>(window))
        return editor;
    for (wxWindow* child : window->GetChildren())
        if (quvpad::ColorEditWnd* editor = EditorIn(child))
            return editor;
    return nullptr;
}

// The command where the menu sends it: the active document's frame.
void Command(int id)
{
    ide::CQuvBenchView* view = ActiveView();
    wxWindow* target = view ? static_cast<wxWindow*>(view->GetFrame()) : App().MainFrame();
    wxCommandEvent event(wxEVT_MENU, id);
    event.SetEventObject(target);
    target->GetEventHandler()->ProcessEvent(event);
}

std::string TextOf(ide::CQuvBenchView* view) { return view->GetQuvPad()->UnloadText().utf8_string(); }

// One timed command with its row: seconds, the editor's and the status bar's
// paints, and what the text should be after it.
void Row(const char* what, long lines, int id, const std::string& expected)
{
    ide::CQuvBenchView* view = ActiveView();
    quvpad::ColorEditWnd* editor = view ? EditorIn(view->GetQuvPad()->GetWindow()) : nullptr;
    if (!editor) {
        std::printf("%s: no editor\n", what);
        return;
    }
    PaintCounter editorPaints(editor);
    PaintCounter statusPaints(App().MainFrame()->GetStatusBar());
    const Clock::time_point start = Clock::now();
    Command(id);
    const Clock::time_point done = Clock::now();
    Settle({&editorPaints, &statusPaints});
    // Until the command returned and the window showed what it did.
    const Clock::time_point end = std::max({done, editorPaints.lastEnd, statusPaints.lastEnd});
    const double seconds = std::chrono::duration<double>(end - start).count();
    const bool right = TextOf(view) == expected;
    std::printf("%-6s %8ld lines %8.3f s  paints: editor %d, status bar %d%s\n", what, lines, seconds,
                editorPaints.paints, statusPaints.paints, right ? "" : "  WRONG TEXT");
    std::fflush(stdout);
}

long LineEnds(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    long lines = 0;
    for (std::istreambuf_iterator<char> c(in), end; c != end; ++c)
        lines += *c == '\n';
    return lines;
}

int Run(const std::string& file)
{
    const long lines = LineEnds(file);
    wxArrayString args;
    args.push_back(wxString::FromUTF8(file));
    App().SetMessageBox([](const wxString& message, const wxString&, long) {
        std::fprintf(stderr, "ideperf_window: message box: %s\n", message.utf8_str().data());
        return static_cast<int>(wxOK);
    });
    // The start with the file, until its window is painted.
    const Clock::time_point start = Clock::now();
    if (!App().InitInstance(args) || !ActiveView()) {
        std::fprintf(stderr, "ideperf_window: the IDE did not start with %s\n", file.c_str());
        return 1;
    }
    Clock::time_point end = Clock::now();
    if (quvpad::ColorEditWnd* editor = EditorIn(ActiveView()->GetQuvPad()->GetWindow())) {
        PaintCounter paints(editor);
        Settle({&paints});
        end = std::max(end, paints.lastEnd);
    }
    std::printf("%-6s %8ld lines %8.3f s  (the IDE started with the file)\n", "open", lines,
                std::chrono::duration<double>(end - start).count());
    std::fflush(stdout);

    // The text as the editor holds it (tabs become spaces), which select all
    // and copy take whole and a paste into a new document gives back.
    const std::string pasted = TextOf(ActiveView());
    Command(ide::ID_EDIT_SELECT_ALL);
    Command(ide::ID_EDIT_COPY);
    Command(wxID_NEW);
    Settle();
    Row("paste", lines, ide::ID_EDIT_PASTE, pasted);
    Row("undo", lines, ide::ID_EDIT_UNDO, "\n");
    Row("redo", lines, ide::ID_EDIT_REDO, pasted);
    Command(ide::ID_EDIT_SELECT_ALL);
    Settle();
    Row("cut", lines, ide::ID_EDIT_CUT, "\n");
    Row("undo", lines, ide::ID_EDIT_UNDO, pasted);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ideperf_window FILE\n");
        return 2;
    }
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "ideperf_window: no X display (DISPLAY)\n");
        return 1;
    }
    const std::string file = std::filesystem::absolute(argv[1]).string();
    // Settings and the control's registration in a folder of the run's own.
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/ideperf-window-XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    if (!::mkdtemp(name.data())) {
        std::perror("ideperf_window: mkdtemp");
        return 1;
    }
    const std::string home = name.data();
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    setenv("QUVBENCH_REGISTRY", (home + "/registry").c_str(), 1);
    setenv("GTK_OVERLAY_SCROLLING", "0", 1);
    int result = 1;
    if (DllRegisterServer() != platform::kOk) {
        std::fprintf(stderr, "ideperf_window: the QuvPad control cannot be registered\n");
    } else {
        wxApp::SetInstance(new ide::CQuvBenchApp);
        int wxArgc = 1;
        char* wxArgv[] = {argv[0], nullptr};
        if (!wxEntryStart(wxArgc, wxArgv)) {
            std::fprintf(stderr, "ideperf_window: wxWidgets cannot start\n");
        } else {
            result = Run(file);
            // Nothing is saved: the documents go without a question.
            App().DiscardDocumentChanges();
            App().OnExit();
            wxEntryCleanup();
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
