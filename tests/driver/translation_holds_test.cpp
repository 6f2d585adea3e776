// Sources the compiler accepts become programs that do what they say: each
// project under tests/data/holds is compiled, built with our tool chain and
// run through "quvc run", and the program's output is compared.
#include <gtest/gtest.h>

#include <filesystem>

#include "job_recorder.hpp"
#include "tool_run.hpp"

namespace {

struct Case {
    const char* project;
    const char* output;
};

TEST(TranslationHolds, AcceptedProgramsBuildAndRunAsWritten) {
    const Case cases[] = {
        // A record whose field points to its own type: a -> b -> c through the
        // field, read and written through "->".
        {"linked", "7 1 37 37\n"},
        // A ring of three records walked through a pointer variable that a
        // procedure's pointer parameter starts.
        {"walk", "322 1\n"},
        // Procedures nested in processes (one two levels deep) use the
        // process's parameter, local and channels, and call each other.
        {"nested", "5\n10 15\n"},
        // Arrays and record fields of another frame, indexed and selected:
        // a process's array and reference parameters from its nested
        // procedure, a procedure's record, many-sized array and array
        // parameter from the procedure nested in it.
        {"frames", "20 5\n4 11 60\n"},
        // A %Prog starts a process of a %DProg file; a %DProg process starts
        // processes of both other files.
        {"starter", "16\n5\n"},
        // Names declared by NewDec in one %alg element and in an if branch of
        // a %stm part, used by the later elements and statements.
        {"newdecs", "7 seven\n41 4\n32 3\n"},
        // Array value parameters (one and two sizes, of String, and one passed
        // on to another procedure) are copies: the callers' arrays keep their values.
        {"arrays", "99 2 77 x changed\n99 55\n3\n1 2 3 6 x y\n"},
        // Generated names that would be equal: the frames of p nested in q and
        // of p_q; the channels c to a_b and b_c to a, and x to x_x and back.
        {"names", "1\n2\n30 40\n2001\n1002\n"},
        // Variables named like the temporaries that equations compute into.
        {"temps", "5 6\n7\n"},
    };
    TempFolder dir;
    std::filesystem::copy(QUV_TEST_DATA "/holds", dir.path, std::filesystem::copy_options::recursive);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project);
        const std::string exe = std::string(c.project) + ".exe";
        const std::string command = "cd '" + dir.path + "' && QuvMakePath='" QUV_TOOLCHAIN_DIR
                                    "' QUVINCLUDEPATH='" QUV_RUNTIME_DIR "' QUVLIBPATH='" QUV_TOOLCHAIN_DIR
                                    "' timeout 120 " QUVC_PATH " run " + c.project + ".prj 2>'" + dir / "stderr.txt" + "'";
        const RunResult run = runCommand(command);
        EXPECT_EQ(run.out.find("\ndiag "), std::string::npos) << run.out;
        EXPECT_NE(run.out.find("nmake finished with exit code = 0, successfully!"), std::string::npos) << run.out;
        EXPECT_EQ(programOutput(run.out, exe), c.output) << run.out;
        EXPECT_NE(readBytes(dir / "stderr.txt").find("program " + exe + " finished with exit code = 0, successfully!"),
                  std::string::npos);
    }
}

}  // namespace
