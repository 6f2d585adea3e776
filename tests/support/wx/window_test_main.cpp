#include "window_test_main.hpp"

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

namespace quv::test {

const char* RequireDisplay()
{
    const char* display = std::getenv("DISPLAY");
    if (!display || !*display) {
        std::fprintf(stderr, "The window tests need an X display; scripts/test starts Xvfb when DISPLAY is unset.\n");
        return nullptr;
    }
    return display;
}

void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg)
{
    ADD_FAILURE() << "wx assertion " << cond.ToStdString() << " in " << func.ToStdString() << " at "
                  << file.ToStdString() << ":" << line << ": " << msg.ToStdString();
}

int RunTestsUnderWx(wxApp* app, bool callOnInit, char* argv0, const char* display)
{
    wxApp::SetInstance(app);
    int wxArgc = 1;
    char* wxArgv[] = {argv0, nullptr};
    if (!wxEntryStart(wxArgc, wxArgv) || (callOnInit && !wxTheApp->CallOnInit())) {
        std::fprintf(stderr, "wxWidgets cannot start on display %s\n", display);
        return 1;
    }
    wxInitAllImageHandlers();
    wxSetAssertHandler(FailOnAssert);
    int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}

} // namespace quv::test

// The toolkit's libraries keep caches for the life of the process (fonts,
// types, the session bus); the leak checker is told to look past them only.
// Defined next to what every window test main calls, so it is always linked in.
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
