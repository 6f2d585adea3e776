// quvc build and run end to end with our tool chain: the example projects,
// a project that does not compile, and a folder name with a blank.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "compiler/core/gbk.hpp"
#include "job_recorder.hpp"
#include "platform/process_runner.hpp"
#include "process_tree.hpp"
#include "tool_run.hpp"

namespace {

struct ToolRun {
    std::string out;
    int status;
};

class QuvcBuild : public ::testing::Test {
protected:
    // Runs quvc in the folder `in` under the test's folder; a program that
    // hangs is ended after two minutes rather than holding the tests.
    ToolRun quvc(const std::string& args, const std::string& in = ".") {
        const std::string command = "cd '" + dir / in + "' && QuvMakePath='" QUV_TOOLCHAIN_DIR
                                    "' QUVINCLUDEPATH='" QUV_RUNTIME_DIR "' QUVLIBPATH='" QUV_TOOLCHAIN_DIR
                                    "' timeout 120 " QUVC_PATH " " + args + " 2>'" + dir / "stderr.txt" + "'";
        const RunResult run = runCommand(command);
        return ToolRun{run.out, run.status};
    }

    void copyIn(const std::string& from, const std::string& to = "") {
        std::filesystem::copy(from, dir / to, std::filesystem::copy_options::recursive);
    }

    TempFolder dir;
};

struct ExampleCase {
    const char* project;
    const char* exe;
    const char* output;  // null: not checked yet
};

TEST_F(QuvcBuild, TheExamplesBuildAndRunFromAnyFolder) {
    const ExampleCase cases[] = {
        {"shop/shop.prj", "shop.exe", ""},
        // Squares sent over a synchronous channel from one process to the other.
        {"pipeline/pipeline.prj", "pipeline.exe", "1\n4\n9\n16\n25\n"},
    };
    copyIn(QUV_EXAMPLES_DIR);
    copyIn(QUV_EXAMPLES_DIR, "项目");
    std::filesystem::create_directory(dir / "elsewhere");
    for (const ExampleCase& c : cases) {
        const std::string folder = std::filesystem::path(c.project).parent_path().string();
        const std::string project = std::filesystem::path(c.project).filename().string();
        const std::string exe = c.exe;
        // The project file's own folder, the folder above it, a folder beside it by an absolute name,
        // and a folder with a Chinese name.
        const struct {
            std::string in, project, exe;
        } places[] = {
            {folder, project, exe},
            {".", c.project, folder + "/" + exe},
            {"elsewhere", dir / c.project, dir / (folder + "/" + exe)},
            {".", "项目/" + std::string(c.project), "项目/" + folder + "/" + exe},
        };
        for (const auto& place : places) {
            SCOPED_TRACE(std::string(c.project) + " from " + place.in);
            const ToolRun run = quvc("run " + place.project, place.in);
            EXPECT_EQ(run.status, 0) << run.out << readBytes(dir / "stderr.txt");
            EXPECT_NE(run.out.find("nmake finished with exit code = 0, successfully!"), std::string::npos);
            if (c.output)
                EXPECT_EQ(programOutput(run.out, place.exe), c.output);
            else
                EXPECT_NE(programOutput(run.out, place.exe), "<not run>");
            EXPECT_NE(readBytes(dir / "stderr.txt")
                          .find("program " + place.exe + " finished with exit code = 0, successfully!"),
                      std::string::npos);
        }
    }
}

// Relative names come from the project file's folder, a subfolder's too, and
// the makefile names them in full; an absolute name is kept as it stands.
TEST_F(QuvcBuild, RelativeNamesAreTakenFromTheProjectFilesFolder) {
    copyIn(QUV_EXAMPLES_DIR "/shop", "split");
    std::filesystem::create_directories(dir / "split/lib");
    std::filesystem::rename(dir / "split/parts.e", dir / "split/lib/parts.e");
    const std::string folder = dir / "split";
    writeBytes(folder + "/split.prj",
               "[QuvBench]\nProject Name=split\nProject File Num=2\nFile 1=./shop.e\nFile 2=lib/parts.e\n");
    for (const char* in : {"split", "."}) {
        SCOPED_TRACE(in);
        const std::string project = std::string(in) == "." ? "split/split.prj" : "split.prj";
        const ToolRun r = quvc("run " + project, in);
        EXPECT_EQ(r.status, 0) << r.out << readBytes(dir / "stderr.txt");
        EXPECT_NE(r.out.find("stage " + folder + "/lib/parts.e: Semantic Checking Finished!, 0 errors found!"),
                  std::string::npos)
            << r.out;
        EXPECT_TRUE(std::filesystem::exists(folder + "/lib/parts.obj"));
        const std::string makefile = readBytes(folder + "/split.mak");
        EXPECT_NE(makefile.find("\t" + folder + "/shop.obj\\\n\t" + folder + "/lib/parts.obj\\\n"), std::string::npos)
            << makefile;
    }
}

// A project file written where names are GBK, in a folder with a Chinese
// name: its sources are found under their UTF-8 names, built and run, and
// every name shows as written; a source that is on neither name is a file
// diagnostic naming it.
TEST_F(QuvcBuild, AProjectFileWithGbkNamesInAChineseFolder) {
    std::filesystem::create_directories(dir / "项目");
    std::filesystem::copy(QUV_EXAMPLES_DIR "/pipeline/pipeline.e", dir / "项目/程序.e");
    const std::string head = "[QuvBench]\nProject Name=" + gbk::fromUtf8("工程") + "\nProject File Num=";
    writeBytes(dir / "项目/工程.prj", head + "1\nFile 1=" + gbk::fromUtf8("程序.e") + "\n");
    writeBytes(dir / "项目/缺.prj", head + "2\nFile 1=" + gbk::fromUtf8("程序.e") + "\nFile 2=" +
                                        gbk::fromUtf8("缺少.e") + "\n");

    const ToolRun run = quvc("run 项目/工程.prj");
    EXPECT_EQ(run.status, 0) << run.out << readBytes(dir / "stderr.txt");
    const std::string source = dir / "项目/程序.e";
    EXPECT_NE(run.out.find("stage " + source + ": Semantic Checking Finished!, 0 errors found!\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("stage 项目/工程.mak: nmake /E /f 项目/工程.mak Started!\n"), std::string::npos) << run.out;
    EXPECT_EQ(programOutput(run.out, "项目/工程.exe"), "1\n4\n9\n16\n25\n") << run.out;
    EXPECT_NE(readBytes(dir / "stderr.txt").find("program 项目/工程.exe finished with exit code = 0, successfully!"),
              std::string::npos)
        << readBytes(dir / "stderr.txt");

    // From the project's folder: the bare names stay bare.
    const ToolRun missing = quvc("project 缺.prj", "项目");
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("stage 程序.e: Semantic Checking Finished!, 0 errors found!\n"), std::string::npos)
        << missing.out;
    EXPECT_NE(missing.out.find("diag 缺少.e 0:0 0 0 -\n  can't read the source file: No such file or directory\n"),
              std::string::npos)
        << missing.out;
}

// A sum of many terms is no nesting: its C++ is built and the program prints
// its value.
TEST_F(QuvcBuild, ALongSumBuildsAndPrintsItsValue) {
    const int terms = 10000;
    std::string sum = "1";
    for (int i = 1; i < terms; ++i)
        sum += i % 2 ? " + k" : " + 1";
    writeBytes(dir / "sum.e", "%Prog sum == [ ]\n[\n\t%Var [ k, s : Int ]\n\t[\n\t\t%Stm [\n"
                              "\t\t\tLB = a => $O k = 3 ^ $OLB = NEXT;\n"
                              "\t\t\tLB = b => $O s = " + sum + " ^ $OLB = NEXT;\n"
                              "\t\t\tLB = c => writeln(s);\n\t\t\tLB = e => $OLB = RETURN\n\t\t]\n\t]\n].\n");
    writeBytes(dir / "sum.prj", "[QuvBench]\nProject Name=sum\nProject File Num=1\nFile 1=sum.e\n");
    const ToolRun run = quvc("run sum.prj");
    EXPECT_EQ(run.status, 0) << run.out << readBytes(dir / "stderr.txt");
    // Half the terms are k, half 1.
    EXPECT_EQ(programOutput(run.out, "sum.exe"), std::to_string(terms / 2 * 3 + terms / 2) + "\n") << run.out;
}

TEST_F(QuvcBuild, AProjectThatDoesNotCompileStopsBeforeMake) {
    copyIn(QUV_TEST_DATA "/driver");
    const ToolRun r = quvc("build broken.prj");
    EXPECT_EQ(r.status, 1);
    // A syntax error, two main programs and a shared variable both files declare.
    EXPECT_NE(r.out.find("Compile Project Finished!, 3 errors found!"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("nmake"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "broken.mak"));
}

TEST_F(QuvcBuild, AFolderNameWithABlank) {
    copyIn(QUV_EXAMPLES_DIR "/shop", "my shop");
    const std::string folder = dir / "my shop";
    writeBytes(folder + "/all.prj", "[QuvBench]\nProject Name=all\nProject File Num=2\nFile 1=" + folder +
                                        "/shop.e\nFile 2=" + folder + "/parts.e\n");
    const ToolRun r = quvc("run 'my shop/all.prj'");
    EXPECT_EQ(r.status, 0) << r.out << readBytes(dir / "stderr.txt");
    EXPECT_EQ(programOutput(r.out, "my shop/all.exe"), "");
    EXPECT_TRUE(std::filesystem::exists(folder + "/shop.obj"));
}

// A program whose output ends in the middle of a line: quvc's next line
// starts a line of its own where the two meet, on a terminal or in one file;
// standard output alone keeps the program's bytes.
TEST_F(QuvcBuild, TheLineAfterAnUnendedOutputStartsALine) {
    copyIn(QUV_TEST_DATA "/driver");
    writeBytes(dir / "unended.prj", "[QuvBench]\nProject Name=unended\nProject File Num=1\nFile 1=unended.e\n");
    const std::string environment = "QuvMakePath='" QUV_TOOLCHAIN_DIR "' QUVINCLUDEPATH='" QUV_RUNTIME_DIR
                                    "' QUVLIBPATH='" QUV_TOOLCHAIN_DIR "' ";
    const std::string closing = "program unended.exe finished with exit code = 0, successfully!\n";
    const std::string stage = "stage unended.prj: Run executable Program unended.exeFinished!\n";
    const struct {
        const char* name;
        std::string command;
        std::string tail;
    } cases[] = {
        {"one file", "quvc run unended.prj >out.txt 2>&1; cat out.txt", "1\n2\n" + closing + stage},
        // script(1) runs it on a terminal of its own (whose CR LF line ends are read as LF).
        {"a terminal", "script -qec 'quvc run unended.prj' /dev/null", "1\n2\n" + closing + stage},
        {"standard output alone", "quvc run unended.prj 2>/dev/null", "1\n2" + stage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult r = runCommand("cd '" + dir.path + "' && PATH='" + std::filesystem::path(QUVC_PATH)
                                           .parent_path().string() + "':\"$PATH\" " + environment +
                                       "timeout 120 sh -c \"" + c.command + "\"");
        std::string out = r.out;
        for (size_t at = 0; (at = out.find("\r\n", at)) != std::string::npos;)
            out.erase(at, 1);
        EXPECT_EQ(out.substr(out.size() - std::min(out.size(), c.tail.size())), c.tail) << r.out;
    }
}

using Environment = std::vector<std::pair<std::string, std::string>>;

// Starts `quvc VERB PROJECT` in `folder` with its output (both streams) in
// `out`, with our tool chain and run-time library unless `environment` (which
// comes last) names others.
pid_t startQuvc(const std::string& folder, const std::string& verb, const std::string& out,
                const Environment& environment = {}, const std::string& project = "loop.prj") {
    // What an earlier run wrote there must not be taken for this one's.
    unlink(out.c_str());
    const pid_t quvc = fork();
    if (quvc == 0) {
        if (chdir(folder.c_str()) != 0)
            _exit(127);
        setenv("QuvMakePath", QUV_TOOLCHAIN_DIR, 1);
        setenv("QUVINCLUDEPATH", QUV_RUNTIME_DIR, 1);
        setenv("QUVLIBPATH", QUV_TOOLCHAIN_DIR, 1);
        for (const auto& [name, value] : environment)
            setenv(name.c_str(), value.c_str(), 1);
        const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(fd, 1);
        dup2(fd, 2);
        execl(QUVC_PATH, "quvc", verb.c_str(), project.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return quvc;
}

// Waits (two minutes at most) until the text of `out` from `after` on holds
// `count` copies of `what`.
bool waitForOutput(const std::string& out, const std::string& after, const std::string& what, int count) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (std::chrono::steady_clock::now() < deadline) {
        const std::string text = readBytes(out);
        size_t at = text.find(after);
        int found = 0;
        while (at != std::string::npos && found < count && (at = text.find(what, at)) != std::string::npos) {
            ++found;
            at += what.size();
        }
        if (found == count)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return false;
}

// The children of quvc whose command name is `name`.
std::vector<pid_t> childrenNamed(pid_t parent, const std::string& name) {
    std::vector<pid_t> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string id = entry.path().filename().string();
        if (id.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream stat(entry.path() / "stat");
        std::string text;
        std::getline(stat, text);
        const size_t open = text.find('('), close = text.rfind(')');
        if (open == std::string::npos || close == std::string::npos || text.substr(open + 1, close - open - 1) != name)
            continue;
        std::istringstream rest(text.substr(close + 2));
        char state;
        pid_t ppid;
        rest >> state >> ppid;
        if (ppid == parent && state != 'Z')
            found.push_back(static_cast<pid_t>(std::stol(id)));
    }
    return found;
}

// Ctrl+C (or a kill, or a hang-up) on "quvc run" while the program loops:
// the program and all it started end, and quvc ends by that signal.
TEST_F(QuvcBuild, ASignalStopsTheProgramAndEndsQuvcByIt) {
    using Clock = std::chrono::steady_clock;
    copyIn(QUV_TEST_DATA "/driver");
    writeBytes(dir / "loop.prj", "[QuvBench]\nProject Name=loop\nProject File Num=1\nFile 1=" + dir / "loop.e" + "\n");
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        const std::string out = dir / "out.txt";
        const pid_t quvc = startQuvc(dir.path, "run", out);
        ASSERT_GT(quvc, 0);
        // Wait for both processes of the program to have said "1".
        ASSERT_TRUE(waitForOutput(out, "Run executable program loop.exe Started!", "1", 2)) << readBytes(out);
        const std::vector<pid_t> program = childrenNamed(quvc, "loop.exe");
        ASSERT_EQ(program.size(), 1u) << readBytes(out);
        kill(quvc, signal);
        int status = 0;
        pid_t ended = 0;
        for (auto until = Clock::now() + std::chrono::seconds(30); ended == 0 && Clock::now() < until;) {
            ended = waitpid(quvc, &status, WNOHANG);
            if (ended == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        if (ended == 0) {
            kill(quvc, SIGKILL);
            waitpid(quvc, &status, 0);
            ADD_FAILURE() << "quvc did not end on the signal";
        }
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << status << "\n" << readBytes(out);
        // The program's group: nothing of it is left.
        EXPECT_NE(kill(-program[0], 0), 0);
        EXPECT_EQ(errno, ESRCH);
        if (kill(-program[0], 0) == 0)
            kill(-program[0], SIGKILL);
    }
}

// quvc killed without a word (SIGKILL) while the program runs, or while
// make's compiler does (a script in place of cl.exe, beside our nmake, that
// never ends and ignores SIGTERM, as its child does): nothing quvc started
// is left, and make still removed its inline files.
TEST_F(QuvcBuild, NothingOutlivesAKilledQuvc) {
    copyIn(QUV_TEST_DATA "/driver");
    writeBytes(dir / "loop.prj", "[QuvBench]\nProject Name=loop\nProject File Num=1\nFile 1=" + dir / "loop.e" + "\n");
    std::filesystem::create_directories(dir / "make");
    std::filesystem::create_directories(dir / "tmp");
    std::filesystem::copy_file(QUV_TOOLCHAIN_DIR "/nmake", dir / "make/nmake.exe");
    writeBytes(dir / "make/cl.exe", "#!/bin/sh\ntrap '' TERM\nsleep 300 &\necho compiling\nwait\n");
    std::filesystem::permissions(dir / "make/cl.exe", std::filesystem::perms::owner_all);
    const struct {
        const char* verb;
        std::string makePath;
        const char* after;
        const char* running;
        size_t processes;  // the keeper of the run among them
    } cases[] = {
        {"run", QUV_TOOLCHAIN_DIR, "Run executable program loop.exe Started!", "1", 2},
        {"build", dir / "make", "Started!", "compiling", 4},
    };
    adoptOrphans();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.verb);
        const std::string out = dir / "out.txt";
        const pid_t quvc = startQuvc(dir.path, c.verb, out, {{"QuvMakePath", c.makePath}, {"TMPDIR", dir / "tmp"}});
        ASSERT_GT(quvc, 0);
        const bool running = waitForOutput(out, c.after, c.running, 1);
        const std::vector<SeenProcess> started = descendantsOf(quvc);
        kill(quvc, SIGKILL);
        waitpid(quvc, nullptr, 0);
        EXPECT_TRUE(running) << readBytes(out);
        EXPECT_EQ(started.size(), c.processes);
        EXPECT_TRUE(allEnd(started));
        EXPECT_TRUE(std::filesystem::is_empty(dir / "tmp"));
    }
}

// Waits (two minutes at most) for the file `path` to exist.
bool waitForFile(const std::string& path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (access(path.c_str(), F_OK) != 0 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    return access(path.c_str(), F_OK) == 0;
}

// A stop of `quvc build` at a spread of moments of the link (SIGTERM, or
// SIGKILL, after which the keeper stops make) leaves the program that was
// there byte for byte, or the new one whole, and nothing of the link beside
// it; a plain nmake afterwards links again where the old program was left.
// A linker in place of g++'s (found through COMPILER_PATH) links into a file
// of its own and then writes the program slowly, part by part, marking when
// it starts, when it begins to write the program and when it is done; the
// compiler hands over an object made beforehand, so that a round is short.
TEST_F(QuvcBuild, AStoppedLinkLeavesTheOldProgramOrTheNewOne) {
    copyIn(QUV_EXAMPLES_DIR "/pipeline", "p");
    const std::string project = dir / "p", exe = project + "/pipeline.exe", marks = dir / "marks";
    ASSERT_EQ(quvc("build pipeline.prj", "p").status, 0) << readBytes(dir / "stderr.txt");
    std::filesystem::copy_file(project + "/pipeline.obj", dir / "new.obj");
    // An earlier program: the same with a tail of its own, so that the two
    // differ. A program cut short may still run (what it loads comes first),
    // so the new one is known by its bytes: a link of the same object makes
    // the same program.
    const std::string fresh = readBytes(exe), old = fresh + "an earlier build";
    const std::string five = "1\n4\n9\n16\n25\n";

    for (const char* folder : {"make", "linker", "marks"})
        std::filesystem::create_directories(dir / folder);
    for (const char* tool : {"nmake.exe", "link.exe"})
        std::filesystem::copy_file(QUV_TOOLCHAIN_DIR + std::string("/") + tool, dir / ("make/" + std::string(tool)));
    writeBytes(dir / "make/cl.exe", "#!/bin/sh\ncp '" + dir / "new.obj" + "' '" + project + "/pipeline.obj'\n");
    writeBytes(dir / "linker/ld",
               "#!/bin/sh\nout=; prev=; n=$#; whole='" + marks + "/whole'\n"
               "for a in \"$@\"; do b=$a; [ \"$prev\" = -o ] && out=$a && b=$whole; set -- \"$@\" \"$b\"; prev=$a; done\n"
               "shift $n\n: >'" + marks + "/started'\nld \"$@\" || exit\n"
               "rm -f \"$out\"; size=$(wc -c <\"$whole\"); i=0; : >'" + marks + "/writing'\n"
               "while [ $((i * 65536)) -lt $size ]; do\n"
               "  dd if=\"$whole\" bs=64k skip=$i count=1 2>/dev/null >>\"$out\"; chmod 755 \"$out\"; sleep 0.02; i=$((i + 1))\n"
               "done\n: >'" + marks + "/written'\n");
    for (const char* tool : {"make/cl.exe", "linker/ld"})
        std::filesystem::permissions(dir / tool, std::filesystem::perms::owner_all);
    const Environment slowLink = {{"QuvMakePath", dir / "make"}, {"COMPILER_PATH", dir / "linker"}};
    const std::string plainMake = "cd '" + project + "' && QUVINCLUDEPATH='" QUV_RUNTIME_DIR "' QUVLIBPATH='" +
                                  QUV_TOOLCHAIN_DIR + "' '" + dir / "make/nmake.exe" + "' /f pipeline.mak 2>&1";
    const auto programSays = [&] { return runCommand("'" + exe + "' 2>/dev/null").out; };

    const struct {
        int signal;
        const char* mark;
        int milliseconds;
    } moments[] = {{SIGTERM, "started", 0}, {SIGTERM, "writing", 0}, {SIGTERM, "writing", 60},
                   {SIGTERM, "written", 0}, {SIGKILL, "writing", 30}, {SIGKILL, "written", 0}};
    adoptOrphans();
    for (const auto& moment : moments) {
        const int signal = moment.signal;
        SCOPED_TRACE(std::string(strsignal(signal)) + " " + std::to_string(moment.milliseconds) + " ms after " +
                     moment.mark);
        writeBytes(exe, old);
        std::filesystem::permissions(exe, std::filesystem::perms::owner_all);
        for (const char* mark : {"started", "writing", "written"})
            std::filesystem::remove(marks + "/" + mark);
        const pid_t quvc = startQuvc(project, "build", dir / "out.txt", slowLink, "pipeline.prj");
        ASSERT_GT(quvc, 0);
        const bool linking = waitForFile(marks + "/" + moment.mark);
        std::this_thread::sleep_for(std::chrono::milliseconds(moment.milliseconds));
        const std::vector<SeenProcess> started = descendantsOf(quvc);
        kill(quvc, signal);
        waitpid(quvc, nullptr, 0);
        EXPECT_TRUE(allEnd(started));
        ASSERT_TRUE(linking) << readBytes(dir / "out.txt");

        const std::string left = readBytes(exe);
        const bool kept = left == old;
        EXPECT_TRUE(kept || left == fresh) << left.size() << " bytes, neither the old program nor the new one";
        for (const auto& entry : std::filesystem::directory_iterator(project))
            EXPECT_NE(entry.path().filename().string().rfind(".pipeline.exe", 0), 0u) << entry.path();
        const RunResult make = runCommand(plainMake);
        EXPECT_EQ(make.status, 0) << make.out;
        EXPECT_EQ(make.out.find("link.exe") != std::string::npos, kept) << make.out;
        EXPECT_EQ(programSays(), five);
    }
}

// quvc and its keeper killed while cl.exe compiles (a header that takes the
// compiler long): no compiler or assembler of the build is left, however the
// two end, with the sources compiled side by side or one by one. After quvc
// alone is killed, the keeper goes once nothing of the group it guards runs,
// without waiting for the ended members to be reaped: this test, their
// subreaper, leaves them unreaped until the keeper has gone.
TEST_F(QuvcBuild, NothingTheCompilerStartedOutlivesAKilledQuvc) {
    copyIn(QUV_EXAMPLES_DIR "/shop", "shop");
    std::filesystem::create_directories(dir / "include");
    std::string slow = "#pragma once\n#include \"" QUV_RUNTIME_DIR "/quv.hpp\"\n"
                       "constexpr long spin(long n) { long s = 0; for (long i = 0; i < n; ++i) "
                       "for (long j = 0; j < 100000; ++j) s += i ^ j; return s; }\n";
    // Each assertion runs to the compiler's limit of operations.
    for (int i = 0; i < 20; ++i)
        slow += "static_assert(spin(1000) != " + std::to_string(i) + ");\n";
    writeBytes(dir / "include/quv.hpp", slow);
    const struct {
        const char* name;
        bool keeper;       // killed too
        bool keeperFirst;  // and gone before quvc is killed
        const char* jobs;
    } cases[] = {
        {"quvc and the keeper at once", true, false, "2"},
        {"the keeper, then quvc", true, true, "1"},
        {"quvc alone", false, false, "2"},
    };
    adoptOrphans();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const pid_t quvc = startQuvc(dir / "shop", "build", dir / "out.txt",
                                     {{"QUVINCLUDEPATH", dir / "include"}, {"QUV_CL_JOBS", c.jobs}}, "shop.prj");
        ASSERT_GT(quvc, 0);
        std::vector<SeenProcess> started;
        for (auto until = std::chrono::steady_clock::now() + std::chrono::minutes(2);
             named(started, {"cc1plus"}).empty() && std::chrono::steady_clock::now() < until;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            started = descendantsOf(quvc);
        }
        const std::vector<SeenProcess> keeper = named(started, {"quv-run-keeper"});
        const std::vector<SeenProcess> compilers = named(started, {"cc1plus", "as"});
        if (c.keeper && !keeper.empty())
            kill(keeper[0].pid, SIGKILL);
        if (c.keeperFirst)
            allEnd(keeper);
        kill(quvc, SIGKILL);
        waitpid(quvc, nullptr, 0);
        EXPECT_FALSE(compilers.empty()) << readBytes(dir / "out.txt");
        EXPECT_EQ(keeper.size(), 1u);
        // The keeper waits no grace for what has ended: with nothing that
        // ignores SIGTERM it goes well within half of one.
        if (!c.keeper) {
            EXPECT_TRUE(allEnd(keeper, platform::kStopGrace / 2));
        }
        // A compile that is left takes far longer than this.
        EXPECT_TRUE(allEnd(compilers, std::chrono::seconds(1)));
        EXPECT_TRUE(allEnd(started));
    }
}

}  // namespace
