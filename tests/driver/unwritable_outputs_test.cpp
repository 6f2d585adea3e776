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
const int kNobodyCannotReach = 124;

struct Outcome {
    std::string out;
    int status;
};

// A quvc that nobody may run: the build tree may lie in a folder nobody may
// enter (root's home, one made by mktemp -d), so root gets a copy in a
// temporary folder of its own. quvc needs nothing beside it but the system's
// libraries.
struct QuvcToRun {
    QuvcToRun() : folder("quvc-for-nobody-"), path(QUVC_PATH) {
        if (geteuid() != 0)
            return;
        chmod(folder.path.c_str(), 0755);
        path = folder / "quvc";
        std::filesystem::copy_file(QUVC_PATH, path);
        chmod(path.c_str(), 0755);
    }
    TempFolder folder;
    std::string path;
};

// Runs `quvc` with `args` in `folder`, as nobody when `unprivileged` and this
// process is root; status kCannotBecomeNobody when that fails, and
// kNobodyCannotReach when nobody may not enter the folder or run quvc (the
// temporary folder lies in a folder closed to others).
Outcome runQuvc(const std::string& quvc, const std::vector<std::string>& args, const std::string& folder,
                bool unprivileged) {
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
        if (access(quvc.c_str(), X_OK) != 0 || chdir(folder.c_str()) != 0)
            _exit(kNobodyCannotReach);
        std::vector<char*> argv{const_cast<char*>(quvc.c_str())};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        execv(quvc.c_str(), argv.data());
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
    const QuvcToRun quvc;
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
        const Outcome r = runQuvc(quvc.path, {c.verb, subject}, dir.path, !c.folder);
        if (r.status == kCannotBecomeNobody)
            GTEST_SKIP() << "cannot become the user nobody";
        if (r.status == kNobodyCannotReach)
            GTEST_SKIP() << "the user nobody may not enter the temporary folder " << dir.path;
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
