// Times the large edits of the IDE's editor in its real window, for
// scripts/bench: the IDE starts on the X display with a settings folder of
// its own, opens FILE and goes the user's road through the menu commands of
// its own frame: select all, copy, a new document, paste, undo, redo, then
// select all, cut and undo. Each row is the seconds from the command to the
// window painted and idle again, with the paints of the editor and of the
// status bar it caused; a text that comes out wrong is said on the row.
//
// With `moments` it times instead what the user does all day in a full
// window (the frame at the screen's size, its bars hidden, FILE open): a
// mouse move across the editor, a typed character, Backspace, an arrow key,
// Page Down, and Enter and Backspace at a line start. Each is pressed or moved
// through the X server by xdotool, and its row is the process's CPU (user and
// system, all threads, the time /proc/PID/stat counts) from the event until
// the window is idle again, the median of a few, with the text lines the
// editor painted for it.
//
//     ideperf_window FILE
//     ideperf_window moments FILE
#include <algorithm>
#include <cmath>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/timer.h>
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

// ---- the moments of a day's work ----

extern "C" char** environ;

// CPU seconds of this process so far, every thread's user and system time.
double CpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Runs xdotool with these arguments and waits for it; the IDE's events come
// through the X server as a user's do. posix_spawn leaves this large process
// unforked, so starting the tool costs it nothing to speak of.
bool Xdotool(const std::vector<std::string>& args)
{
    std::vector<char*> argv;
    std::string tool = "xdotool";
    argv.push_back(tool.data());
    std::vector<std::string> copies(args);
    for (std::string& a : copies)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawnp(&child, "xdotool", nullptr, nullptr, argv.data(), environ) != 0)
        return false;
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Lets the event loop run as it does while the user waits, asleep until an
// event comes, for `ms` milliseconds.
void RunLoopFor(int ms)
{
    wxEventLoop loop;
    wxTimer timer;
    timer.Bind(wxEVT_TIMER, [&loop](wxTimerEvent&) { loop.Exit(); });
    timer.StartOnce(ms);
    loop.Run();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

struct Moment {
    const char* what;
    // xdotool's arguments for one event of it, by its turn.
    std::function<std::vector<std::string>(int)> event;
    int times;
    int waitMs;   // after each, for what it set going to end
};

void TimeMoment(const Moment& m, quvpad::ColorEditWnd& editor)
{
    std::vector<double> cpu;
    std::vector<double> lines;
    for (int i = 0; i < m.times; ++i) {
        const long painted = editor.LinesPainted();
        const double before = CpuSeconds();
        if (!Xdotool(m.event(i))) {
            std::printf("%-22s xdotool failed\n", m.what);
            return;
        }
        RunLoopFor(m.waitMs);
        cpu.push_back(CpuSeconds() - before);
        lines.push_back(static_cast<double>(editor.LinesPainted() - painted));
    }
    std::printf("%-22s %8.1f ms CPU  %5.0f lines painted  (median of %d, %d ms after each)\n", m.what,
                Median(cpu) * 1000, Median(lines), m.times, m.waitMs);
    std::fflush(stdout);
}

int Moments(const std::string& file)
{
    wxArrayString args;
    args.push_back(wxString::FromUTF8(file));
    if (!App().InitInstance(args) || !ActiveView()) {
        std::fprintf(stderr, "ideperf_window: the IDE did not start with %s\n", file.c_str());
        return 1;
    }
    ide::CMainFrame* frame = App().MainFrame();
    // A full window of text: the frame at the screen's size, its bars away.
    frame->ShowWorkspaceBar(false);
    frame->ShowOutputBar(false);
    const wxRect screen = wxGetClientDisplayRect();
    frame->SetSize(screen);
    Settle();
    quvpad::ColorEditWnd* editor = EditorIn(ActiveView()->GetQuvPad()->GetWindow());
    if (!editor) {
        std::fprintf(stderr, "ideperf_window: no editor\n");
        return 1;
    }
    const wxSize client = editor->GetClientSize();
    const wxPoint origin = editor->ClientToScreen(wxPoint(0, 0));
    auto at = [&origin](int x, int y) {
        return std::vector<std::string>{"mousemove", std::to_string(origin.x + x), std::to_string(origin.y + y)};
    };
    // The caret into the text, a few lines down, with a real click.
    std::vector<std::string> click = at(client.x / 2, client.y / 3);
    click.push_back("click");
    click.push_back("1");
    Xdotool(click);
    Settle();
    const quvpad::EditorModel& model = editor->Model();
    std::printf("%ld lines, the editor %dx%d pixels, %d lines and %d columns in view\n",
                static_cast<long>(model.GetLineCount()), client.x, client.y, model.GetVisibleLines(true),
                model.GetVisibleColumns());
    auto key = [](const char* name) {
        return [name](int) { return std::vector<std::string>{"key", name}; };
    };
    const Moment moments[] = {
        // From one side of the text to the other, on another row each time;
        // the 2.5 s after it take in any animation it starts.
        {"mouse move", [&](int i) { return at(i % 2 ? client.x / 8 : client.x * 7 / 8, client.y / 4 + 8 * i); },
         5, 2500},
        {"typed character", key("x"), 21, 150},
        {"Backspace", key("BackSpace"), 21, 150},
        {"arrow key", [](int i) { return std::vector<std::string>{"key", i % 2 ? "Up" : "Down"}; }, 21, 150},
        {"Page Down", key("Next"), 15, 200},
        {"Enter", key("Return"), 11, 200},
        {"Backspace at line start", key("BackSpace"), 11, 200},
    };
    for (const Moment& m : moments)
        TimeMoment(m, *editor);
    // The idle process for as long, for comparison.
    const double before = CpuSeconds();
    RunLoopFor(2500);
    std::printf("%-22s %8.1f ms CPU  (2500 ms without an event)\n", "idle", (CpuSeconds() - before) * 1000);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const bool moments = argc == 3 && std::string(argv[1]) == "moments";
    if (argc != 2 && !moments) {
        std::fprintf(stderr, "usage: ideperf_window [moments] FILE\n");
        return 2;
    }
    if (!std::getenv("DISPLAY")) {
        std::fprintf(stderr, "ideperf_window: no X display (DISPLAY)\n");
        return 1;
    }
    const std::string file = std::filesystem::absolute(argv[argc - 1]).string();
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
            result = moments ? Moments(file) : Run(file);
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
