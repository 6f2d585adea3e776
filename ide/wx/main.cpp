// quvbench: the QuvBench IDE.
#include <cstdio>

#include <unistd.h>

#include <wx/log.h>

#include "ide/wx/app.hpp"
#include "ide/wx/error_log.hpp"

wxIMPLEMENT_APP_NO_MAIN(ide::CQuvBenchApp);

namespace {

// Set once the toolkit has started and the application begins: from then on
// the IDE tells its failures in its own windows.
bool windowsStarted = false;

class QuvBench : public ide::CQuvBenchApp {
public:
    bool OnInit() override
    {
        windowsStarted = true;
        // The toolkit's own messages may show in windows again.
        delete wxLog::SetActiveTarget(nullptr);
        return CQuvBenchApp::OnInit();
    }
};

} // namespace

int main(int argc, char** argv)
{
    const std::string log = ide::StandardErrorLogPath();
    const int terminal = ide::SendStandardErrorTo(log);
    // Until the windows are up the toolkit's messages are only written: a
    // message box without a display would end the program with a signal.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxApp::SetInstance(new QuvBench);
    const int result = wxEntry(argc, argv);
    // Without windows the user would learn nothing of why the IDE did not come up.
    if (!windowsStarted && terminal >= 0)
        dprintf(terminal, "quvbench: the window system could not be started; see %s\n", log.c_str());
    return result;
}
