// quvc and quvdump over inputs no one writes by hand: each ends with one
// answer (a diagnostic, a line that says why) and an exit status, never with
// a signal.
#include <gtest/gtest.h>

#include <filesystem>

#include "job_recorder.hpp"
#include "tool_run.hpp"

namespace {

struct Ran {
    std::string out;
    std::string err;
    int status;  // -1: ended by a signal
};

// Runs a tool in the folder; standard error is kept unless it would only
// repeat a text of many megabytes (quvc's log of a typeset text).
Ran runIn(const TempFolder& dir, const std::string& command, bool keepError = true) {
    const std::string err = keepError ? dir / "stderr.txt" : "/dev/null";
    const RunResult r = runCommand("cd '" + dir.path + "' && LC_ALL=C.UTF-8 " + command + " 2>'" + err + "'");
    return {r.out, keepError ? readBytes(err) : "", r.status};
}

TEST(BadInputs, QuvdumpCannotOpenAFolderInAnyVerb) {
    TempFolder dir;
    std::filesystem::create_directory(dir / "folder.e");
    for (const char* verb : {"tokens", "tree", "parse", "expr", "typeset", "translate"}) {
        SCOPED_TRACE(verb);
        const Ran r = runIn(dir, std::string(QUVDUMP_PATH) + " " + verb + " folder.e");
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.err, "quvdump: cannot open folder.e: Is a directory\n");
        EXPECT_EQ(r.out, "");
    }
}

}  // namespace
