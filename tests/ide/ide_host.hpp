// Helpers of the IDE's window tests: starting the IDE, answering its message
// boxes, pumping events and taking screenshots.
#pragma once
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
// What the X server shows of the window.
wxImage Screenshot(wxWindow* window);
// Saves build/screenshots/<name>.png; the path.
std::string SaveScreenshot(const wxImage& image, const std::string& name);
std::string ReadFile(const std::string& path);

} // namespace ide::test
