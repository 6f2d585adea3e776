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

#include "window_test_main.hpp"

#include "editor/wx/quvpad.hpp"
#include "ide/wx/app.hpp"
#include "platform/class_registry.hpp"
#include "tests/ide/editor_host.hpp"

wxIMPLEMENT_APP_NO_MAIN(ide::CQuvBenchApp);

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    const char* display = quv::test::RequireDisplay();
    if (!display)
        return 1;
    // A settings folder of this process's own: QuvBench.ini and the registry file.
    const std::filesystem::path home =
        std::filesystem::temp_directory_path() / ("quvbench-ide-test-" + std::to_string(::getpid()));
    std::filesystem::remove_all(home);
    std::filesystem::create_directories(home);
    setenv("XDG_CONFIG_HOME", home.c_str(), 1);
    setenv("QUVBENCH_REGISTRY", (home / "registry").c_str(), 1);
    setenv("GTK_OVERLAY_SCROLLING", "0", 1);
    // The editor views create their controls through the registry file.
    if (DllRegisterServer() != platform::kOk) {
        std::fprintf(stderr, "the QuvPad control cannot be registered\n");
        return 1;
    }

    const int result = quv::test::RunTestsUnderWx(new ide::CQuvBenchApp, false, argv[0], display);
    ide::test::RemoveTestFolders();
    std::filesystem::remove_all(home);
    return result;
}
