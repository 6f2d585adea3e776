// The reproducers the differential check (scripts/oracle) found, kept as
// ordinary tests: each translates without a diagnostic and its C++ compiles
// with the options our cl.exe passes, or, where the construct cannot become
// C++, the compiler reports it as one semantic diagnostic at its place.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>

#include "tool_run.hpp"

namespace {

struct Reproducer {
    const char* name;       // tests/data/oracle/NAME.e
    const char* diagnostic; // the start of its one diagnostic line; empty: none, and the C++ compiles
};

const Reproducer reproducers[] = {
    {"array-value-parameter", ""},
    {"array-value-parameter-passed-on", ""},
    {"name-collision-main", ""},
    {"name-collision-main-process", ""},
    {"process-nested-procedure", ""},
    {"string-literal", ""},
    {"type-part-in-package", "diag 3 15 4:16 "},
    {"union-with-string", "diag 3 15 5:8 "},
};

TEST(OracleReproducers, TranslateAndCompileOrAreReported)
{
    for (const Reproducer& r : reproducers) {
        SCOPED_TRACE(r.name);
        // A translation writes its files beside its source: each gets a folder of its own.
        const std::string dir = std::string(QUV_TEST_OUTPUT) + "/oracle-" + r.name;
        const std::string source = std::string(QUV_TEST_DATA) + "/oracle/" + r.name + ".e";
        ASSERT_EQ(runCommand("rm -rf " + dir + " && mkdir -p " + dir + " && cp " + source + " " + dir + "/r.e").status,
                  0);
        const RunResult translated = runQuvdump("translate " + dir + "/r.e");
        EXPECT_EQ(translated.status, 0);
        const std::string found = diagLines(translated.out);
        if (*r.diagnostic != '\0') {
            // Exactly one diagnostic, a semantic one at the construct; no fatal error after it.
            EXPECT_EQ(found.rfind(r.diagnostic, 0), 0u) << found;
            EXPECT_EQ(std::count(found.begin(), found.end(), '\n'), 1) << found;
            EXPECT_EQ(translated.out.find("diag 5 "), std::string::npos) << translated.out;
            continue;
        }
        ASSERT_EQ(found, "");
        const std::string command = "cd " + dir +
                                    " && g++ -std=gnu++17 -pthread -DWIN32 -DNDEBUG -D_CONSOLE -D_MBCS -I " +
                                    std::string(QUV_RUNTIME_DIR) + " -c r.cpp -o r.obj 2>&1";
        const RunResult compiled = runCommand(command);
        EXPECT_EQ(compiled.status, 0) << command << "\n" << compiled.out;
    }
}

} // namespace
