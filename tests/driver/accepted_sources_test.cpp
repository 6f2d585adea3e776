// Sources the compiler accepts must build and do what they say; the ones it
// cannot translate get a diagnostic at the place of the problem instead.
// Each fixture of tests/data/driver/accepted goes through quvc as a user runs
// it: `run` with our tool chain for the programs, `compile`, `project` or
// `check` for the ones that must be refused.
#include <gtest/gtest.h>

#include <filesystem>

#include "job_recorder.hpp"
#include "tool_run.hpp"

namespace {

struct QuvcResult {
    std::string out;
    std::string err;
    int status;
};

class AcceptedSources : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(QUV_TEST_DATA "/driver/accepted", dir.path, std::filesystem::copy_options::recursive);
    }

    QuvcResult quvc(const std::string& args) {
        const std::string command = "cd '" + dir.path + "' && QuvMakePath='" QUV_TOOLCHAIN_DIR
                                    "' QUVINCLUDEPATH='" QUV_RUNTIME_DIR "' QUVLIBPATH='" QUV_TOOLCHAIN_DIR
                                    "' timeout 120 " QUVC_PATH " " + args + " 2>'" + dir / "stderr.txt" + "'";
        const RunResult run = runCommand(command);
        return QuvcResult{run.out, readBytes(dir / "stderr.txt"), run.status};
    }

    // Runs the one file as a project of its own.
    QuvcResult runProgram(const std::string& name) {
        writeBytes(dir / (name + ".prj"),
                   "[QuvBench]\nProject Name=" + name + "\nProject File Num=1\nFile 1=" + name + ".e\n");
        return quvc("run " + name + ".prj");
    }

    TempFolder dir;
};

struct RunCase {
    const char* name;
    std::string output;  // the program's standard output and standard error
    int exitCode;
};

TEST_F(AcceptedSources, ProgramsDoWhatTheSourceSays) {
    const RunCase cases[] = {
        // An equality in a wait's condition part compares: the first wait is
        // skipped, the second counts k up to 3.
        {"wait_equality", "5 0\n5 3\n", 0},
        // The length stored as text, as an Integer and as a Float.
        {"strlen_targets", "4 3 2\n", 0},
        // A variable t_cell beside a type cell: each keeps a C++ name of its own.
        {"variable_like_a_type", "1,2\n", 0},
        // A literal over two lines keeps its line end; "\uuuu0041" is "A"; a
        // surrogate escape gives the bytes of its UTF-8 form; "\477" is "\47"
        // and "7"; "\48" is "\4" and "8"; "??=" stays; GBK bytes pass through;
        // NUL bytes, escaped or written as they are, stay in the string.
        {"string_literals",
         "two\nlines\nAB|\xed\xa0\x80|'7|\x04" "8|A|\a|\?\?=|\\|\"|'|\xd6\xd0\t|\n" +
             std::string("a\0b\0c\0d\xc3\xa9'7|\xd6\xd0\0z\n", 17),
         0},
        // The control bound only on a branch not taken: a clear error and exit code 1.
        {"unbound_on_a_path",
         "before\nquv: error: a process is started through a control variable that was never bound to a process\n",
         1},
    };
    for (const RunCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QuvcResult r = runProgram(c.name);
        EXPECT_EQ(diagLines(r.out), "");
        EXPECT_NE(r.out.find("nmake finished with exit code = 0, successfully!"), std::string::npos) << r.out << r.err;
        EXPECT_EQ(programOutput(r.out, std::string(c.name) + ".exe"), c.output);
        EXPECT_NE(r.err.find("finished with exit code = " + std::to_string(c.exitCode) + ","), std::string::npos)
            << r.err;
    }
}

struct RefusedCase {
    const char* args;
    std::string diags;
};

TEST_F(AcceptedSources, WhatCannotBeTranslatedIsReportedAtItsPlace) {
    const RefusedCase cases[] = {
        // A C++ union cannot hold a std::string.
        {"compile union_string.e", "diag union_string.e 4:17 3 15 type\n"},
        // A constant of another type than its literal, the address of a
        // constant, actuals their formals cannot take, Itoc into an Integer,
        // Read of a record, character built-ins on an Integer and a record.
        {"compile mismatched_types.e",
         "diag mismatched_types.e 5:17 3 10 constant1\n"
         "diag mismatched_types.e 12:34 3 10 variable\n"
         "diag mismatched_types.e 13:54 3 10 variable\n"
         "diag mismatched_types.e 13:54 3 10 variable\n"
         "diag mismatched_types.e 15:35 3 10 variable\n"
         "diag mismatched_types.e 16:31 3 10 variable\n"
         "diag mismatched_types.e 18:36 3 10 variable\n"
         "diag mismatched_types.e 19:34 3 10 variable\n"},
        // The same for the starts of a process that a control is bound to.
        {"compile start_actuals.e",
         "diag start_actuals.e 11:58 3 10 variable\ndiag start_actuals.e 11:91 3 10 variable\n"},
        // One plain diagnostic for a package's and for an agent's; the walk ends normally.
        {"compile unit_types.e",
         "diag unit_types.e 4:20 3 15 unitTypePart\ndiag unit_types.e 5:87 3 15 unitTypePart\n"},
        // Nothing ever binds p.
        {"compile unbound_control.e", "diag unbound_control.e 11:31 3 15 prosCall\n"},
        // Both files declare total: the second declaration is reported, naming the first.
        {"project shared.prj", "diag shared_second.e 4:25 4 12 -\n"},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.args);
        const QuvcResult r = quvc(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(diagLines(r.out), c.diags) << r.out;
        EXPECT_EQ(r.out.find("Fatal"), std::string::npos) << r.out;
    }
    const QuvcResult project = quvc("project shared.prj");
    EXPECT_NE(project.out.find("  Shared variable total of shared_second.e has been declared in the %Var part of "
                               "shared_first.e before"),
              std::string::npos)
        << project.out;
    EXPECT_NE(project.out.find("see Line: 4, Col: 12, File: shared_first.e"), std::string::npos);
    const QuvcResult unit = quvc("compile unit_types.e");
    EXPECT_NE(unit.out.find("stage unit_types.e: Semantic Checking Finished!, 2 errors found!"), std::string::npos);
}

// What the compiler itself writes to standard output while a job runs goes to
// quvc's standard error, so its standard output keeps its documented lines.
TEST_F(AcceptedSources, CheckKeepsTheParsersBannerOffStandardOutput) {
    const QuvcResult r = quvc("check syntax_error.e");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "stage syntax_error.e: Syntax Checking Started!\n"
                     "diag syntax_error.e 8:1 2 6 forwardLabel\n"
                     "  expecting DOT, found ''\n"
                     "stage syntax_error.e: Syntax Checking Finished!, 1 errors found!\n");
    EXPECT_NE(r.err.find("-------- Syntax Checking Finished! -------------"), std::string::npos) << r.err;
}

}  // namespace
