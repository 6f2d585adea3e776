// Helpers of the IDE's window tests: starting the IDE, answering its message
// boxes, pumping events and taking screenshots.
#pragma once
#include <chrono>
#include <deque>
#include <string>
#include <vector>

#include <wx/arrstr.h>
#include <wx/image.h>

#include "ide/wx/app.hpp"
#include "ide/wx/main_frame.hpp"

namespace ide::test {

struct Question {
    std::string message;
    std::string caption;
};

// Answers the IDE's message boxes from a queue (wxOK when it runs dry) and
// keeps what was asked.
struct Answers {
    std::deque<int> replies;
    std::vector<Question> asked;
};

// Starts the IDE with these arguments; the splash window is taken down so
// that it hides nothing.
bool Start(const std::vector<std::string>& args, Answers& answers, bool keepSplash = false);
CMainFrame& Frame();
void Pump(int rounds = 4);
// Pumps until `done` holds or about two seconds have passed.
template <typename F>
bool PumpUntil(F done)
{
    for (int i = 0; i < 400 && !done(); ++i)
        Pump(1);
    return done();
}
// Pumps until `done` holds or `seconds` have passed; for waits on a compiler.
template <typename F>
bool PumpFor(int seconds, F done)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!done() && std::chrono::steady_clock::now() < end)
        Pump(1);
    return done();
}
// Chooses `path` as the project in 文件 → 打开工程's open dialog.
void OpenProjectThroughDialog(const std::string& path);
// Whether a compile, build or run is still going.
bool JobRunning();
// The texts of the rows right below the tree's root.
std::vector<std::string> Children(wxTreeCtrl* tree);
// What the X server shows of the window.
wxImage Screenshot(wxWindow* window);
// Saves build/screenshots/<name>.png; the path.
std::string SaveScreenshot(const wxImage& image, const std::string& name);
std::string ReadFile(const std::string& path);

} // namespace ide::test
