// quvc over outputs it cannot write: the diagnostic keeps its text and says
// why. The cases about rights run as a user without any (nobody) when the
// tests run as root, for whom a read-only file is no obstacle.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "job_recorder.hpp"
#include "tool_run.hpp"

namespace {

const int kCannotBecomeNobody = 125;

struct Outcome {
    std::string out;
    int status;
};

// Runs quvc with `args` in `folder`, as nobody when `unprivileged` and this
// process is root; status kCannotBecomeNobody when that fails.
Outcome runQuvc(const std::vector<std::string>& args, const std::string& folder, bool unprivileged) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {"no pipe", -1};
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeEnds[0]);
        dup2(pipeEnds[1], 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        if (unprivileged && !becomeNobodyIfRoot())
            _exit(kCannotBecomeNobody);
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        std::vector<char*> argv{const_cast<char*>(QUVC_PATH)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(QUVC_PATH, argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    const std::string out = readToEnd(pipeEnds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return {out, WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

struct UnwritableCase {
    const char* name;
    const char* verb;
    const char* blocked;  // the output that cannot be written
    bool folder;          // a folder stands in its place; else a read-only file, written as nobody
    const char* diagnostic;
    const char* reason;
};

TEST(UnwritableOutputs, TheDiagnosticSaysWhy) {
    const UnwritableCase cases[] = {
        {"a folder in place of the generated code", "compile", "seven.cpp", true,
         "diag seven.cpp 0:0 0 0 CodeFragment::writeFiles()\n", "it is a folder"},
        {"a folder in place of the makefile", "makefile", "p.mak", true, "diag p.mak 0:0 0 0 writeMakefile\n",
         "it is a folder"},
        {"read-only generated code", "compile", "seven.cpp", false,
         "diag seven.cpp 0:0 0 0 CodeFragment::writeFiles()\n", "Permission denied"},
        {"a read-only makefile", "makefile", "p.mak", false, "diag p.mak 0:0 0 0 writeMakefile\n",
         "Permission denied"},
    };
    for (const UnwritableCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        // Nobody may write the folder, only not the blocked file.
        chmod(dir.path.c_str(), 0777);
        writeBytes(dir / "seven.e", readBytes(QUV_TEST_DATA "/driver/seven.e"));
        chmod((dir / "seven.e").c_str(), 0644);
        writeBytes(dir / "p.prj", "[QuvBench]\nProject Name=p\nProject File Num=1\nFile 1=seven.e\n");
        chmod((dir / "p.prj").c_str(), 0644);
        if (c.folder) {
            std::filesystem::create_directory(dir / c.blocked);
        } else {
            writeBytes(dir / c.blocked, "old");
            chmod((dir / c.blocked).c_str(), 0444);
        }
        const std::string subject = std::string(c.verb) == "compile" ? "seven.e" : "p.prj";
        const Outcome r = runQuvc({c.verb, subject}, dir.path, !c.folder);
        if (r.status == kCannotBecomeNobody)
            GTEST_SKIP() << "cannot become the user nobody";
        EXPECT_EQ(r.status, 1) << r.out;
        const std::string expected =
            std::string(c.diagnostic) + "  can't open or write the output file: " + c.reason + "\n";
        EXPECT_NE(r.out.find(expected), std::string::npos) << r.out;
        if (!c.folder) {
            EXPECT_EQ(readBytes(dir / c.blocked), "old");
        }
    }
}

}  // namespace
