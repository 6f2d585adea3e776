// Runs the window tests inside a wx application on the X display named by
// DISPLAY (scripts/test starts Xvfb when there is none). A wx assertion fails
// the running test.
#include <cstdlib>

#include <gtest/gtest.h>
#include <wx/app.h>

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
    return quv::test::RunTestsUnderWx(new wxApp, true, argv[0], display);
}
