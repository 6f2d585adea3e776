// Runs the window tests inside the IDE's own application object on the X
// display named by DISPLAY (scripts/test starts Xvfb when there is none).
// Each test runs in a process of its own with a fresh settings folder, and
// starts the IDE itself. A wx assertion fails the running test.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include <gtest/gtest.h>
#include <wx/image.h>
#include <wx/init.h>

#include "ide/wx/app.hpp"

wxIMPLEMENT_APP_NO_MAIN(ide::CQuvBenchApp);

namespace {
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    ADD_FAILURE() << "wx assertion " << cond.ToStdString() << " in " << func.ToStdString() << " at "
                  << file.ToStdString() << ":" << line << ": " << msg.ToStdString();
}
} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::fprintf(stderr, "The window tests need an X display; scripts/test starts Xvfb when DISPLAY is unset.\n");
        return 1;
    }
    // A settings folder of this process's own: QuvBench.ini and the registry file.
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("quvbench-ide-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    setenv("QUVBENCH_REGISTRY", (home / "registry").c_str(), 1);
    setenv("GTK_OVERLAY_SCROLLING", "0", 1);

    wxApp::SetInstance(new ide::CQuvBenchApp);
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv)) {
        std::fprintf(stderr, "wxWidgets cannot start on display %s\n", display);
        return 1;
    }
    wxInitAllImageHandlers();
    wxSetAssertHandler(FailOnAssert);
    int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    std::filesystem::remove_all(home);
    return result;
}

// The toolkit's libraries keep caches for the life of the process (fonts,
// types, the session bus); the leak checker is told to look past them only.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n"
           "leak:libglib-2.0.so\n"
           "leak:libgobject-2.0.so\n"
           "leak:libgio-2.0.so\n"
           "leak:libdbus-1.so\n"
           "leak:libgtk-3.so\n"
           "leak:libgdk-3.so\n"
           "leak:libpango-1.0.so\n"
           "leak:libpangoft2-1.0.so\n"
           "leak:libpangocairo-1.0.so\n"
           "leak:libcairo.so\n"
           "leak:libharfbuzz.so\n"
           "leak:libfreetype.so\n"
           "leak:libatk-bridge-2.0.so\n"
           "leak:libatspi.so\n"
           "leak:libX11.so\n";
}
