// Runs the window tests inside a wx application on the X display named by
// DISPLAY (scripts/test starts Xvfb when there is none). A wx assertion fails
// the running test.
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

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
    // Classic scroll bars: shown all the time and never blended over the text.
    setenv("GTK_OVERLAY_SCROLLING", "0", 1);
    wxApp::SetInstance(new wxApp);
    int wxArgc = 1;
    char* wxArgv[] = {argv[0], nullptr};
    if (!wxEntryStart(wxArgc, wxArgv) || !wxTheApp->CallOnInit()) {
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
