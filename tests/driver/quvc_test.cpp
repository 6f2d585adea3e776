// quvc end to end, on the sources and projects under tests/data/driver, each
// run in a copy of that folder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

#include "job_recorder.hpp"
#include "tool_run.hpp"

namespace {

struct ToolRun {
    std::string out;
    std::string err;
    int status;
};

class QuvcTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::copy(QUV_TEST_DATA "/driver", dir.path, std::filesystem::copy_options::recursive);
    }

    ToolRun run(const std::string& args, const std::string& tool = QUVC_PATH) {
        const std::string command =
            "cd '" + dir.path + "' && LC_ALL=C.UTF-8 " + tool + " " + args + " 2>'" + dir / "stderr.txt" + "'";
        const RunResult ran = runCommand(command);
        return ToolRun{ran.out, readBytes(dir / "stderr.txt"), ran.status};
    }

    bool exists(const std::string& name) { return std::filesystem::exists(dir / name); }

    TempFolder dir;
};

std::string compileLines(const std::string& file, int syntaxErrors, int semanticErrors) {
    return "stage " + file + ": Syntax Checking Started!\n" + "stage " + file + ": Syntax Checking Finished!, " +
           std::to_string(syntaxErrors) + " errors found!\n" + "stage " + file + ": Semantic Checking Started!\n" +
           "stage " + file + ": Semantic Checking Finished!, " + std::to_string(semanticErrors) + " errors found!\n";
}

// Also for a name as long as outputs named after it may be: "NAMETypeSet.e"
// takes 253 of the 255 bytes a name may have.
TEST_F(QuvcTest, CompileWritesTheFiveFiles) {
    for (const std::string& name : {std::string("shop"), std::string(240, 's')}) {
        SCOPED_TRACE(name.size());
        if (name != "shop")
            std::filesystem::copy_file(dir / "shop.e", dir / (name + ".e"));
        const ToolRun r = run("compile " + name + ".e");
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, compileLines(name + ".e", 0, 0));
        for (const char* output : {".cpp", "Proto.hpp", "Inner.hpp", ".err", "TypeSet.e"})
            EXPECT_TRUE(exists(name + output)) << output;
    }
    // No temporary file left.
    for (const auto& entry : std::filesystem::directory_iterator(dir.path))
        EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
}

TEST_F(QuvcTest, ASourceWithSyntaxErrorsIsStillWalked) {
    const std::string diag = "diag broken.e 5:5 2 6 basicType\n  expecting RBRACKET, found '['\n";
    const ToolRun check = run("check broken.e");
    EXPECT_EQ(check.status, 1);
    EXPECT_EQ(check.out, "stage broken.e: Syntax Checking Started!\n" + diag +
                             "stage broken.e: Syntax Checking Finished!, 1 errors found!\n");
    EXPECT_FALSE(exists("broken.cpp"));

    const ToolRun compile = run("compile broken.e");
    EXPECT_EQ(compile.status, 1);
    EXPECT_NE(compile.out.find(diag), std::string::npos);
    EXPECT_TRUE(exists("broken.cpp"));
}

// The log on standard error holds the whole tree; a statement list far longer
// than the stack could recurse over is written all the same.
TEST_F(QuvcTest, ALongStatementListCompiles) {
    const int count = 80000;
    std::string source = "%Prog p == [ ]\n[\n\t%Var [ x : Int ]\n\t[\n\t\t%Stm [\n";
    for (int i = 1; i < count; ++i)
        source += "\t\t\tLB = S" + std::to_string(i) + " => $O x = x + 1 mod 7 ^ $OLB = NEXT ;\n";
    source += "\t\t\tLB = E => $OLB = RETURN\n\t\t]\n\t]\n].\n";
    std::ofstream(dir / "long.e", std::ios::binary) << source;
    const ToolRun r = run("compile long.e");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, compileLines("long.e", 0, 0));
    EXPECT_NE(r.err.find(" ( LABEL_DECL S1 )"), std::string::npos);
    EXPECT_NE(r.err.find(" ( LABEL_DECL S" + std::to_string(count - 1) + " )"), std::string::npos);
    EXPECT_TRUE(exists("long.cpp"));
}

TEST_F(QuvcTest, AMissingSourceEndsInDiagnosticsNotInAStop) {
    const ToolRun r = run("compile nothere.e");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("diag nothere.e "), std::string::npos);
    EXPECT_NE(r.out.find("stage nothere.e: Semantic Checking Finished!"), std::string::npos);
}

TEST_F(QuvcTest, TypesetPrintsTheText) {
    const ToolRun r = run("typeset parts.e");
    EXPECT_EQ(r.status, 0);
    const std::string stage = "stage parts.e: Typesetting Finished!, 0 errors found!\n";
    ASSERT_EQ(r.out.compare(0, stage.size(), stage), 0) << r.out;
    EXPECT_EQ(r.out.compare(stage.size(), 18, "%DProg parts == []"), 0) << r.out;
    // A failed typesetting shows its diagnostics, not a text.
    const ToolRun failed = run("typeset stray.e");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.out.rfind("diag stray.e 4:", 0), 0u) << failed.out;
    EXPECT_EQ(failed.out.find("%DProg"), std::string::npos);
}

// A literal whose line ends (LF or CR LF) come before an undeclared name and
// a stray character: every place after it names the line it is on, in the
// tokens, the tree, the diagnostics of a compile and those of a typesetting.
TEST_F(QuvcTest, PlacesAfterAStringThatSpansLines) {
    const std::string lines[] = {
        "%Prog m == [ ]",
        "[",
        "    Syn",
        "    [",
        "        %Loc [ s : String ]",
        "        %Stm [",
        "            LB = a => $O s = \"one",
        "two",
        "three\" ^ $OLB = NEXT;",
        "            LB = b => Writeln(zz) # ;",
        "            LB = d => $OLB = RETURN",
        "        ]",
        "    ]",
        "].",
    };
    for (const std::string lineEnd : {"\n", "\r\n"}) {
        SCOPED_TRACE(lineEnd.size());
        std::string source;
        for (const std::string& line : lines)
            source += line + lineEnd;
        writeBytes(dir / "spans.e", source);
        const std::string stray = "diag spans.e 10:35 0 2 -\n";
        const ToolRun compiled = run("compile spans.e");
        EXPECT_NE(compiled.out.find(stray), std::string::npos) << compiled.out;
        EXPECT_NE(compiled.out.find("diag spans.e 10:31 3 11 variable\n"), std::string::npos) << compiled.out;
        EXPECT_EQ(run("typeset spans.e").out.rfind(stray, 0), 0u);
        EXPECT_NE(run("tokens spans.e", QUVDUMP_PATH).out.find("\n10:31 155 IDENT zz\n"), std::string::npos);
        EXPECT_NE(run("tree spans.e", QUVDUMP_PATH).out.find("IDENT \"zz\" 10:31\n"), std::string::npos);
    }
}

struct ProjectCase {
    const char* project;
    std::vector<std::string> diagnostics;  // the link diagnostics' lines, in order
    int compileErrors;
};

TEST_F(QuvcTest, ProjectsAreCompiledAndLinkChecked) {
    const std::string noMain = "diag - 0:0 4 19 -\n  In the project, there doesn't exist a Main or MMain program!\n";
    const std::string differentEnds = "In Parallel statement, channel send values and recv values with different type!";
    const ProjectCase cases[] = {
        {"shop.prj", {}, 0},
        {"mains.prj",
         {"diag - 0:0 4 18 -\n  While declaring program tills.e to be a Main Or MMain program, we have found such "
          "a Program shop.e in the project before!\n"},
         1},
        {"nomain.prj",
         {"diag again.e 4:13 4 17 -\n  Process feeder has been declared in the project before!\n  \tsee Line: 5, "
          "Col: 13, File: parts.e\n",
          noMain},
         2},
        {"empty.prj", {noMain}, 1},
        // The two processes a parallel statement joins are declared in other
        // files: the link check compares their channel's ends (the second
        // statement's agree) and names both files.
        {"ends.prj",
         {"diag ends.e 8:47 4 10 -\n  " + differentEnds + "\n  \tprocess sender sends Integer through out, see "
          "Line: 5, Col: 9, File: senders.e\n  \tprocess receiver receives String through inq, see Line: 5, Col: 9, "
          "File: receivers.e\n"},
         1},
        // One of them is declared in the file of the statement.
        {"listens.prj",
         {"diag listens.e 15:47 4 10 -\n  " + differentEnds + "\n  \tprocess sender sends Integer through out, see "
          "Line: 5, Col: 9, File: senders.e\n  \tprocess listener receives BOOL through inq, see Line: 5, Col: 9, "
          "File: listens.e\n"},
         1},
    };
    for (const ProjectCase& c : cases) {
        SCOPED_TRACE(c.project);
        const ToolRun r = run(std::string("project ") + c.project);
        EXPECT_EQ(r.status, c.diagnostics.empty() ? 0 : 1);
        size_t at = 0;
        for (const std::string& d : c.diagnostics) {
            at = r.out.find(d, at);
            EXPECT_NE(at, std::string::npos) << d << "\nin\n" << r.out;
        }
        const std::string tail = std::string("stage ") + c.project + ": Compile Project Finished!, " +
                                 std::to_string(c.compileErrors) + " errors found!\n";
        EXPECT_EQ(r.out.substr(r.out.size() - std::min(r.out.size(), tail.size())), tail);
    }
}

TEST_F(QuvcTest, MakefileOfACleanProject) {
    const ToolRun r = run("makefile shop.prj");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "stage shop.prj: Compile Project Started!\n" + compileLines("shop.e", 0, 0) +
                         compileLines("parts.e", 0, 0) +
                         "stage shop.prj: Link Project Started!\n"
                         "stage shop.prj: Link Project Finished!, 0 errors found!\n"
                         "stage shop.prj: Compile Project Finished!, 0 errors found!\n"
                         "stage shop.prj: Generate Makefile Started!\n"
                         "stage shop.prj: Generate Makefile Successfully Finished!\n");
    EXPECT_EQ(readBytes(dir / "shop.mak"), readBytes(QUV_TEST_DATA "/driver/expected/shop.mak"));

    const ToolRun broken = run("makefile broken.prj");
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out.find("Generate Makefile"), std::string::npos);
    EXPECT_FALSE(exists("broken.mak"));
}

// The message names the file and why it is no project.
TEST_F(QuvcTest, AProjectFileThatCannotBeLoadedIsShown) {
    std::filesystem::create_directory(dir / "folder.prj");
    writeBytes(dir / "locked.prj", "[QuvBench]\nProject Name=locked\n");
    std::filesystem::permissions(dir / "locked.prj", std::filesystem::perms::none);
    struct Case {
        std::string project, reason;
    };
    std::vector<Case> cases = {
        {"noname.prj", "no project name"},
        {"missing.prj", "No such file or directory"},
        {"folder.prj", "Is a directory"},
    };
    // Whoever may read every file reads this one too.
    if (geteuid() != 0)
        cases.push_back({"locked.prj", "Permission denied"});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.project);
        const ToolRun r = run("project " + c.project);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "message Illegal Project File With Project Name key not exist or value is empty! " +
                             c.project + ": " + c.reason + "\n");
    }
}

// A source the project names that cannot be read is said to be so, with the
// reason, not taken for an empty program.
TEST_F(QuvcTest, ASourceThatCannotBeReadIsAFileDiagnostic) {
    std::filesystem::create_directory(dir / "folder.e");
    std::filesystem::create_directory(dir / "sub");
    writeBytes(dir / "sub/unread.prj",
               "[QuvBench]\nProject Name=unread\nProject File Num=3\nFile 1=../shop.e\nFile 2=missing.e\n"
               "File 3=" + dir / "folder.e" + "\n");
    const ToolRun r = run("project sub/unread.prj");
    EXPECT_EQ(r.status, 1);
    const struct {
        std::string file, reason;
    } cases[] = {
        {dir / "sub/missing.e", "No such file or directory"},
        {dir / "folder.e", "Is a directory"},
    };
    for (const auto& c : cases) {
        const std::string diag = "diag " + c.file + " 0:0 0 0 -\n  can't read the source file: " + c.reason + "\n";
        EXPECT_NE(r.out.find("stage " + c.file + ": Syntax Checking Started!\n" + diag + "stage " + c.file +
                             ": Syntax Checking Finished!, 1 errors found!\n"),
                  std::string::npos)
            << r.out;
    }
    EXPECT_EQ(r.out.find("unexpected"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("stage " + dir / "sub/../shop.e" + ": Semantic Checking Finished!, 0 errors found!"),
              std::string::npos)
        << r.out;
}

// A source is opened once and read once: a named pipe someone writes into,
// and standard input from a pipe or a file, read as a file is.
TEST_F(QuvcTest, ASourceFromAPipeIsReadWhole) {
    ASSERT_EQ(mkfifo((dir / "fifo.e").c_str(), 0600), 0);
    const struct {
        const char* name;
        std::string command;
        const char* file;
    } cases[] = {
        {"a named pipe", "(cat shop.e >fifo.e &); " QUVC_PATH " check fifo.e", "fifo.e"},
        {"standard input from a pipe", "cat shop.e | " QUVC_PATH " check /dev/stdin", "/dev/stdin"},
        {"standard input from a file", QUVC_PATH " check /dev/stdin <shop.e", "/dev/stdin"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RunResult r = runCommand("cd '" + dir.path + "' && timeout 60 sh -c '" + c.command + "' 2>/dev/null");
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, std::string("stage ") + c.file + ": Syntax Checking Started!\nstage " + c.file +
                             ": Syntax Checking Finished!, 0 errors found!\n");
    }
    // The whole text, its first byte too.
    const std::string typeset = run("typeset parts.e").out;
    const RunResult piped =
        runCommand("cd '" + dir.path + "' && cat parts.e | " QUVC_PATH " typeset /dev/stdin 2>/dev/null");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, "stage /dev/stdin" + typeset.substr(typeset.find(':')));
}

// quvc in the test's folder with both its streams in one file; it is not
// waited for.
pid_t startQuvc(const std::string& folder, const std::string& verb, const std::string& file,
                const std::string& out) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (chdir(folder.c_str()) != 0 || fd < 0)
            _exit(127);
        dup2(fd, 1);
        dup2(fd, 2);
        execl(QUVC_PATH, "quvc", verb.c_str(), file.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return pid;
}

// How the process ended; it is killed when it has not ended within two minutes.
int endOf(pid_t pid) {
    using Clock = std::chrono::steady_clock;
    int status = 0;
    for (auto until = Clock::now() + std::chrono::minutes(2); Clock::now() < until;) {
        if (waitpid(pid, &status, WNOHANG) == pid)
            return status;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    ADD_FAILURE() << "quvc did not end";
    return status;
}

// SIGINT, SIGTERM and SIGHUP end a check or a compile that runs, and one
// whose source never comes; quvc ends by the signal, before the stage ends,
// and leaves no output file.
TEST_F(QuvcTest, ASignalEndsTheStageThatRuns) {
    using Clock = std::chrono::steady_clock;
    ASSERT_EQ(runCommand("'" QUVGEN_PATH "' e 300000 >'" + dir / "long.e" + "'").status, 0);
    ASSERT_EQ(mkfifo((dir / "silent.e").c_str(), 0600), 0);
    const struct {
        const char* verb;
        const char* file;
        int signal;
    } cases[] = {
        {"check", "long.e", SIGINT}, {"check", "long.e", SIGTERM},   {"check", "long.e", SIGHUP},
        {"compile", "long.e", SIGTERM}, {"check", "silent.e", SIGINT}, {"compile", "silent.e", SIGHUP},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.verb) + " " + c.file + " " + strsignal(c.signal));
        const std::string out = dir / "out.txt";
        const pid_t quvc = startQuvc(dir.path, c.verb, c.file, out);
        ASSERT_GT(quvc, 0);
        const auto deadline = Clock::now() + std::chrono::minutes(1);
        while (readBytes(out).find("Syntax Checking Started!") == std::string::npos && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        kill(quvc, c.signal);
        const int status = endOf(quvc);
        const std::string text = readBytes(out);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status << "\n" << text;
        EXPECT_EQ(text.find("Finished!"), std::string::npos) << text;
        EXPECT_EQ(text.find("diag "), std::string::npos) << text;
        const std::string base = std::string(c.file).substr(0, std::string(c.file).size() - 2);
        for (const char* output : {".cpp", "Proto.hpp", "Inner.hpp", ".err", "TypeSet.e"})
            EXPECT_FALSE(exists(base + output)) << base + output;
    }
}

// A project file that is a named pipe is read once, as a source is: a
// project written into it compiles as the same project from a file does.
TEST_F(QuvcTest, AProjectFileFromAPipeIsReadWhole) {
    ASSERT_EQ(mkfifo((dir / "fifo.prj").c_str(), 0600), 0);
    writeBytes(dir / "blank.prj", "");
    const struct {
        const char* verb;
        const char* project;
        const char* made;  // the file the job writes beside the project, if any
    } cases[] = {
        {"project", "shop.prj", nullptr}, {"project", "nomain.prj", nullptr},
        {"makefile", "shop.prj", ".mak"}, {"project", "blank.prj", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.verb) + " " + c.project);
        const std::string base = std::string(c.project).substr(0, std::string(c.project).size() - 4);
        const ToolRun file = run(std::string(c.verb) + " " + c.project);
        const RunResult piped = runCommand("cd '" + dir.path + "' && timeout 60 sh -c '(cat " + c.project +
                                           " >fifo.prj &); " QUVC_PATH " " + c.verb + " fifo.prj' 2>/dev/null");
        EXPECT_EQ(piped.status, file.status);
        std::string expected = file.out;
        for (size_t at; (at = expected.find(c.project)) != std::string::npos;)
            expected.replace(at, std::strlen(c.project), "fifo.prj");
        EXPECT_EQ(piped.out, expected);
        if (c.made) {
            std::string made = readBytes(dir / (base + c.made));
            ASSERT_FALSE(made.empty());
            // The program is named after the project file.
            for (size_t at; (at = made.find(base + ".exe")) != std::string::npos;)
                made.replace(at, base.size(), "fifo");
            EXPECT_EQ(readBytes(dir / (std::string("fifo") + c.made)), made);
        }
    }
}

// SIGINT, SIGTERM and SIGHUP end a project job whose project file is a pipe
// no one writes into, at once and by that signal, whatever the verb.
TEST_F(QuvcTest, ASignalEndsTheWaitForAProjectFileFromAPipe) {
    using Clock = std::chrono::steady_clock;
    const std::string fifo = dir / "silent.prj";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    struct stat pipeId;
    ASSERT_EQ(stat(fifo.c_str(), &pipeId), 0);
    const struct {
        const char* verb;
        int signal;
    } cases[] = {
        {"project", SIGINT}, {"project", SIGTERM}, {"project", SIGHUP},
        {"makefile", SIGTERM}, {"build", SIGHUP}, {"run", SIGINT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.verb) + " " + strsignal(c.signal));
        const std::string out = dir / "out.txt";
        const pid_t quvc = startQuvc(dir.path, c.verb, "silent.prj", out);
        ASSERT_GT(quvc, 0);
        // Signalled once it holds the pipe open, that is, once it waits in its read.
        const std::string fds = "/proc/" + std::to_string(quvc) + "/fd";
        auto holdsThePipe = [&] {
            std::error_code error;
            for (const auto& entry : std::filesystem::directory_iterator(fds, error)) {
                struct stat st;
                if (stat(entry.path().c_str(), &st) == 0 && st.st_dev == pipeId.st_dev &&
                    st.st_ino == pipeId.st_ino)
                    return true;
            }
            return false;
        };
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (!holdsThePipe() && Clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        EXPECT_TRUE(holdsThePipe()) << "quvc did not open the pipe";
        const auto sent = Clock::now();
        kill(quvc, c.signal);
        const int status = endOf(quvc);
        // It ends within a tenth of a second or so; the bound leaves room for any machine.
        EXPECT_LT(Clock::now() - sent, std::chrono::seconds(10));
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << status;
        EXPECT_EQ(readBytes(out), "");
    }
}

TEST_F(QuvcTest, BadUsage) {
    for (const char* args : {"", "link shop.prj", "compile", "compile a.e b.e"}) {
        const ToolRun r = run(args);
        EXPECT_EQ(r.status, 2) << args;
        EXPECT_EQ(r.out, "") << args;
    }
}

// The kind and message names the compiler holds in GBK reach a UTF-8 terminal as UTF-8.
TEST_F(QuvcTest, StandardErrorShowsTheChineseNamesInUtf8) {
    const std::string syntaxError = "类型: 语法错误, 编号: 符号匹配异常";
    EXPECT_NE(run("check broken.e").err.find(syntaxError), std::string::npos);
    EXPECT_NE(run("tree broken.e", QUVDUMP_PATH).err.find(syntaxError), std::string::npos);
}

}  // namespace
