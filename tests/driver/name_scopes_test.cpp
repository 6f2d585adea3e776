// A name that several declarations could give reaches in C++ the declaration
// the walker chose: the project under tests/data/scopes (a %Prog and a %DProg
// whose names are declared in several scopes, each declaration holding a value
// of its own) is built with our tool chain and run through "quvc run", and
// each line it prints shows the values its references reached.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "job_recorder.hpp"
#include "tool_run.hpp"

namespace {

// The values: shared n 1, x 3, t 4, s "shared s"; %Glob g 5. Package p1: n 21,
// g 22, s 23, r 24; its father-to-be p2: m 31; the agent's package q (father
// p2): k 41, x 42, t 43, y 44. The %DProg: shared nd, %Glob gd 6; package pd:
// nd 81, gd 82.
struct Reach {
    const char* printed;
    const char* what;  // the references of the line and what each must reach
};

const Reach reaches[] = {
    {"pr x: 9 s: 10 n: 1",
     "procedure pr: its formal x and its Integer local s before the shared x and String s; the shared n before "
     "pr's NewDec of an n (which C++ declares at the top of pr)"},
    {"prn x: 9 s: 10 t: 11 n: 1",
     "pr's nested procedure prn: pr's formal x and local s through the frame, before the shared ones; its own "
     "local t before the shared t; the shared n"},
    {"worker 1 t: 13 n: 1",
     "pr's local control a bound by the nested procedure bind (not the shared control a) and started by pr; "
     "process worker: its local t before the shared t, and the shared n"},
    {"worker 2 t: 13 n: 1", "pr's controls started by the nested procedure start, through the frame"},
    {"pr NewDec n: 12", "pr's NewDec n after its references to the shared n"},
    {"w n: 1 g: 5 s: shared s!",
     "the agent's process w: the shared n, the %Glob g and the shared String s (with a String added) before the "
     "Integer n, g and s of its package's father's father p1"},
    {"w m: 31 r: 24 x: 8 k: 7 t: 43",
     "w: the father p2's m and the father's father p1's r; its local x before its package q's x and the shared x; "
     "its formal k before q's k; q's own t before the shared t"},
    {"w If: 1 1", "w: the shared n as the else and the then value of conditional expressions"},
    {"f: the program's f", "w calls f: the program's procedure before the father p2's f"},
    {"e: p1's e", "w calls e: the procedure of the father's father p1"},
    {"h n: 1 t: 43 y: 51",
     "q's procedure h: the shared n before p1's; q's t before h's later NewDec of a t; h's local y before q's y"},
    {"hh y: 51 n: 1", "h's nested procedure hh: h's local y through the frame before q's y; the shared n before p1's"},
    {"f: the program's f", "h, a procedure of a package, calls the program's procedure f"},
    {"h NewDec t: 52", "h's NewDec t after its reference to q's t"},
    {"p1 n: 21", "p1's procedure show1: p1's own n before the shared n"},
    {"p2 n: 1 m: 31", "p2's procedure show2: the shared n before its father p1's n; its own m"},
    {"inner x: 8 k: 7 n: 1",
     "w's nested procedure inner: w's local x and formal k through the frame before q's x and k; the shared n "
     "before p1's"},
    {"w NewDec n: 61", "w's NewDec n after its references to the shared n"},
    {"dset nd: 71", "the %DProg's process dset, started from the %Prog: its file's shared nd"},
    {"wd nd: 71 gd: 6",
     "the %DProg's agent wd, started from the %Prog: its file's shared nd and %Glob gd before the nd and gd of "
     "its package's father pd"},
    {"main n: 1 s: shared s x: 3 t: 4", "the main body: the shared variables, unchanged by the rest"},
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

TEST(NameScopes, EveryReferenceReachesTheDeclarationTheWalkerChose) {
    TempFolder dir;
    std::filesystem::copy(QUV_TEST_DATA "/scopes", dir.path, std::filesystem::copy_options::recursive);
    const std::string command = "cd '" + dir.path + "' && QuvMakePath='" QUV_TOOLCHAIN_DIR "' QUVINCLUDEPATH='" QUV_RUNTIME_DIR
                                "' QUVLIBPATH='" QUV_TOOLCHAIN_DIR "' timeout 120 " QUVC_PATH " run scopes.prj 2>'" +
                                dir / "stderr.txt" + "'";
    const RunResult run = runCommand(command);
    ASSERT_EQ(run.out.find("\ndiag "), std::string::npos) << run.out;
    ASSERT_NE(run.out.find("nmake finished with exit code = 0, successfully!"), std::string::npos) << run.out;
    const std::vector<std::string> printed = linesOf(programOutput(run.out, "scopes.exe"));
    const size_t count = sizeof reaches / sizeof reaches[0];
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(i < printed.size() ? printed[i] : "<nothing>", reaches[i].printed) << reaches[i].what;
    EXPECT_EQ(printed.size(), count) << run.out;
}

}  // namespace
