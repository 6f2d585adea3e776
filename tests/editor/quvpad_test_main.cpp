// Runs the window tests inside a wx application on the X display named by
// DISPLAY (scripts/test starts Xvfb when there is none). A wx assertion fails
// the running test.
#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/image.h>
#include <wx/init.h>

#include "window_test_main.hpp"

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    const char* display = quv::test::RequireDisplay();
    if (!display)
        return 1;
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
    wxSetAssertHandler(quv::test::FailOnAssert);
    int result = RUN_ALL_TESTS();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
