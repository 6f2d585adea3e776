// Our nmake on small makefiles of its dialect, with echo and sh as commands:
// macros and the environment, inference rules batch and per file, file
// times, inline files, failing commands and the option forms.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/process_runner.hpp"
#include "tool_run.hpp"

namespace fs = std::filesystem;

namespace {

struct MakeCase {
    const char* name;
    const char* makefile;
    const char* options;
    std::string out;  // standard output; each command echoed after a tab
    int status;
};

class Nmake : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "quvnmakeXXXXXX").string();
        dir = mkdtemp(&pattern[0]);
    }
    void TearDown() override { fs::remove_all(dir); }

    void write(const std::string& name, const std::string& text) { std::ofstream(dir + "/" + name) << text; }

    // Runs nmake in the folder with Y=env in its environment.
    std::pair<std::string, int> make(const std::string& makefile, const std::string& options) {
        write("test.mak", makefile);
        const RunResult r = runCommand("cd '" + dir + "' && Y=env " NMAKE_PATH " " + options + " 2>/dev/null");
        return {r.out, r.status};
    }

    std::string dir;
};

TEST_F(Nmake, RunsItsDialect) {
    // Forty levels of macros that each name the one below twice.
    std::string doubling = "M0 = x\n";
    for (int level = 1; level <= 40; ++level)
        doubling += "M" + std::to_string(level) + " = $(M" + std::to_string(level - 1) + ")$(M" +
                    std::to_string(level - 1) + ")\n";
    doubling += "ALL : $(M40)\n\techo never\n";
    const MakeCase cases[] = {
        {"macros go on after a backslash", "X = one \\\n\ttwo\\\n\nALL :\n\techo $(X) $(Y) $(Z)\n", "-f test.mak",
         "\techo one two env \none two env\n", 0},
        {"the makefile's macro above the environment", "Y = file\nALL :\n\techo $(Y)\n", "/F test.mak",
         "\techo file\nfile\n", 0},
        {"-E puts the environment above it", "Y = file\nALL :\n\techo $(Y)\n", "/e -F test.mak",
         "\techo env\nenv\n", 0},
        {"the first target is the default", "FIRST : \n\techo first\nSECOND :\n\techo second\n", "-f test.mak",
         "\techo first\nfirst\n", 0},
        {"a batch rule runs once for all sources", "ALL : a.out b.out\n.src.out::\n\techo $<\n", "-f test.mak",
         "\techo a.src b.src\na.src b.src\n", 0},
        {"a rule with one colon runs per source", "ALL : a.out b.out\n.src.out:\n\techo $<\n", "-f test.mak",
         "\techo a.src\na.src\n\techo b.src\nb.src\n", 0},
        {"a target newer than its source is up to date", "ALL : old.out\n.src.out::\n\techo $<\n", "-f test.mak", "",
         0},
        {"-A builds it all the same", "ALL : old.out\n.src.out::\n\techo $<\n", "-a -f test.mak",
         "\techo old.src\nold.src\n", 0},
        {"an inline file", "ALL :\n\tcat <<\n\tline $(Y)\n<<\n", "-f test.mak", "", 0},
        {"the first failing command ends make", "ALL :\n\tsh -c \"exit 4\"\n\techo never\n", "-f test.mak",
         "\tsh -c \"exit 4\"\n", 2},
        {"a target nothing makes", "ALL : missing.obj\n", "-f test.mak", "", 2},
        {"an unknown option", "ALL :\n", "/Q -f test.mak", "", 2},
        {"no makefile", "ALL :\n", "-A", "", 2},
        {"a line outside the dialect", "include other.mak\n", "-f test.mak", "", 2},
        // Names hold "$" as "$$"; their own colons and "=" stand beside no blank.
        {"names with dollars, colons and equals", "ALL :a:b$$c=d\na:b$$c=d : \n\techo $$(X)\n", "-f test.mak",
         "\techo $(X)\n$(X)\n", 0},
        {"a macro that would fill the memory", doubling.c_str(), "-f test.mak", "", 2},
    };
    write("a.src", "");
    write("b.src", "");
    write("old.src", "");
    write("old.out", "");
    fs::last_write_time(dir + "/old.src", fs::last_write_time(dir + "/old.out") - std::chrono::hours(1));
    for (const MakeCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto [out, status] = make(c.makefile, c.options);
        EXPECT_EQ(status, c.status);
        if (std::string(c.name) == "an inline file") {
            // The command names a temporary file that holds the text, gone after the command.
            EXPECT_EQ(out.substr(out.find('\n') + 1), "\tline env\n");
            EXPECT_FALSE(fs::exists(out.substr(5, out.find('\n') - 5)));
        } else {
            EXPECT_EQ(out, c.out);
        }
    }
}

// cl.exe and link.exe refuse what they cannot map, and name it.
TEST_F(Nmake, CompilerAndLinkerRefuseWhatTheyDoNotKnow) {
    const struct {
        const char* tool;
        const char* args;
        const char* message;
    } cases[] = {
        {CL_PATH, "/c /Zq a.cpp", "cl.exe: unknown option '/Zq'"},
        {CL_PATH, "@missing.rsp", "cl.exe: cannot read the response file 'missing.rsp'"},
        {CL_PATH, "a.cpp", "cl.exe: only compiling (/c) is done here"},
        {CL_PATH, "-I /nologo /c a.cpp", "cl.exe: option '-I' needs a value"},
        {LINK_PATH, "/dll a.obj", "link.exe: unknown option '/dll'"},
        {LINK_PATH, "a.res", "link.exe: not an object or library: 'a.res'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string command = "cd '" + dir + "' && " + c.tool + " " + c.args + " 2>&1";
        std::string out;
        FILE* pipe = popen(command.c_str(), "r");
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            out.append(buffer, n);
        const int raw = pclose(pipe);
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 2);
        EXPECT_EQ(out.rfind(c.message, 0), 0u) << out;
    }
}

// Processes of a program share their %Var variables unsynchronised; a select
// that busy-waits on one only keeps reading it while the compiler does not
// optimise. So cl.exe, given the options of the driver's makefiles, compiles
// without optimisation, and an optimisation option is refused, not mapped.
TEST_F(Nmake, CompilerDoesNotOptimise) {
    write("plain.cpp", "#ifdef __OPTIMIZE__\n#error built with optimisation\n#endif\nint plain() { return 1; }\n");
    const struct {
        const char* args;
        int status;
    } cases[] = {
        {"-I. /nologo /MT /W3 /GX /D \"WIN32\" /D \"NDEBUG\" /D \"_CONSOLE\" /D \"_MBCS\" /c plain.cpp", 0},
        {"/O2 /c plain.cpp", 2},
        {"/Ox /c plain.cpp", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        const std::string command = "cd '" + dir + "' && " CL_PATH " " + c.args + " >/dev/null 2>&1";
        const int raw = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, c.status);
    }
    EXPECT_TRUE(fs::exists(dir + "/plain.obj"));
}

}  // namespace

namespace {

// A stop while a command of make runs: make ends with its inline files gone,
// whichever signal stops it.
TEST_F(Nmake, AStopDuringACommandRemovesTheInlineFiles) {
    const std::string inlineFolder = dir + "/tmp";
    fs::create_directory(inlineFolder);
    write("test.mak", "ALL :\n\tsh <<\necho started\nsleep 30\n<<\n");
    const char* saved = std::getenv("TMPDIR");
    const std::string oldTmp = saved ? saved : "";
    setenv("TMPDIR", inlineFolder.c_str(), 1);
    for (int signal : {0, SIGINT, SIGHUP}) {
        SCOPED_TRACE(signal);
        platform::ChildControl control;
        std::string out;
        std::thread stopper;
        bool stopped = false;
        pid_t group = 0;
        const platform::ChildResult r =
            platform::runPiped({NMAKE_PATH, "-F", dir + "/test.mak"}, control, [&](char c) {
                out += c;
                if (out.size() < 8 || out.compare(out.size() - 8, 8, "started\n") != 0)
                    return;
                EXPECT_EQ(std::distance(fs::directory_iterator(inlineFolder), fs::directory_iterator()), 1);
                group = static_cast<pid_t>(control.childId());
                // SIGTERM through the runner's stop; the others as a terminal or a hang-up sends them.
                stopper = std::thread([&] { stopped = signal == 0 ? control.stop() : kill(-group, signal) == 0; });
            });
        stopper.join();
        EXPECT_TRUE(stopped);
        EXPECT_NE(r.exitCode, 0) << out;
        EXPECT_EQ(std::distance(fs::directory_iterator(inlineFolder), fs::directory_iterator()), 0) << out;
    }
    if (saved)
        setenv("TMPDIR", oldTmp.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

// cl.exe compiles the sources of one call side by side and passes each
// compiler's output on whole, after its source's name and in the order of the
// sources: the output and the status are those of compiling one by one.
TEST_F(Nmake, CompilerOutputKeepsTheOrderOfTheSources) {
    // The first source is the slowest, so the others end before it.
    write("slow.cpp", "#include <regex>\n#include <string>\nbool f(const std::string& s) { return "
                      "std::regex_match(s, std::regex(\"a+b*\")); }\n");
    write("broken.cpp", "int g() { return undeclared; }\n");
    write("warned.cpp", "#warning this one warns\nint h() { return 1; }\n");
    write("fine.cpp", "int k() { return 2; }\n");
    auto compile = [&](const std::string& environment, const std::string& sources) {
        for (const char* object : {"slow.obj", "broken.obj", "warned.obj", "fine.obj"})
            fs::remove(dir + "/" + object);
        const RunResult r =
            runCommand("cd '" + dir + "' && " + environment + " " CL_PATH " /nologo /c " + sources + " 2>&1");
        return std::make_pair(r.out, r.status);
    };
    const std::string all = "slow.cpp broken.cpp warned.cpp fine.cpp";
    const auto [serial, serialStatus] = compile("QUV_CL_JOBS=1", all);
    EXPECT_EQ(serialStatus, 1);
    EXPECT_EQ(serial.rfind("slow.cpp\nbroken.cpp\nbroken.cpp:", 0), 0u) << serial;
    const size_t warned = serial.find("\nwarned.cpp\nwarned.cpp:1:2: warning: #warning this one warns");
    ASSERT_NE(warned, std::string::npos) << serial;
    EXPECT_NE(serial.find("\nfine.cpp\n", warned), std::string::npos) << serial;
    for (const char* environment : {"QUV_CL_JOBS=", "QUV_CL_JOBS=2", "QUV_CL_JOBS=64"}) {
        SCOPED_TRACE(environment);
        const auto [out, status] = compile(environment, all);
        EXPECT_EQ(out, serial);
        EXPECT_EQ(status, serialStatus);
        for (const char* object : {"slow.obj", "warned.obj", "fine.obj"})
            EXPECT_TRUE(fs::exists(dir + "/" + object)) << object;
        EXPECT_FALSE(fs::exists(dir + "/broken.obj"));
    }
    // Clean sources side by side: every object, status 0.
    const auto [clean, cleanStatus] = compile("QUV_CL_JOBS=3", "fine.cpp warned.cpp slow.cpp");
    EXPECT_EQ(cleanStatus, 0) << clean;
    EXPECT_EQ(clean.rfind("fine.cpp\nwarned.cpp\n", 0), 0u) << clean;
    EXPECT_EQ(clean.substr(clean.size() - 10), "\nslow.cpp\n") << clean;
    // A cap that is not a positive number is refused before anything compiles.
    for (const char* bad : {"QUV_CL_JOBS=0", "QUV_CL_JOBS=two", "QUV_CL_JOBS=-1"}) {
        const auto [out, status] = compile(bad, "fine.cpp");
        EXPECT_EQ(status, 2) << bad;
        EXPECT_EQ(out.rfind("cl.exe: QUV_CL_JOBS must be a positive number", 0), 0u) << out;
    }
}

}  // namespace

namespace {

// A command that fails or is stopped takes with it the target it touched,
// and only that: a target it left alone stays, a command that finished in
// spite of the stop keeps its target, and a batch rule's outputs stay (each
// compiler removes the object it did not finish).
TEST_F(Nmake, AFailedOrStoppedCommandTakesTheTargetItTouched) {
    const struct {
        const char* name;
        const char* makefile;
        bool stop;    // once the command says "started"
        const char* left;  // null: gone
    } cases[] = {
        {"failed after writing it", "a.out :\n\tsh -c \"echo new >a.out; exit 3\"\n", false, nullptr},
        {"failed without touching it", "a.out :\n\tsh -c \"exit 3\"\n", false, "old\n"},
        {"failed after making it anew", "a.out :\n\tsh -c \"rm a.out; echo old >a.out; exit 3\"\n", false, nullptr},
        {"stopped after writing it", "a.out :\n\tsh -c \"echo new >a.out; echo started; sleep 30\"\n", true, nullptr},
        {"stopped before touching it", "a.out :\n\tsh -c \"echo started; sleep 30\"\n", true, "old\n"},
        {"finished in spite of the stop",
         "a.out :\n\tsh -c \"trap '' TERM; echo started; sleep 0.1; echo new >a.out\"\n", true, "new\n"},
        {"a batch rule's output", "ALL : a.out\n.src.out::\n\tsh -c \"echo new >a.out; exit 3\"\n", false, "new\n"},
    };
    write("a.src", "");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write("a.out", "old\n");
        // Older than any write of the command, whatever the clock's steps.
        fs::last_write_time(dir + "/a.out", fs::last_write_time(dir + "/a.out") - std::chrono::hours(1));
        write("test.mak", c.makefile);
        platform::ChildControl control;
        std::string out;
        std::thread stopper;
        const platform::ChildResult r =
            platform::runPiped({"/bin/sh", "-c", "cd '" + dir + "' && exec " NMAKE_PATH " -A -F test.mak"}, control,
                               [&](char byte) {
                out += byte;
                if (c.stop && !stopper.joinable() && out.size() >= 8 && out.compare(out.size() - 8, 8, "started\n") == 0)
                    stopper = std::thread([&] { control.stop(); });
            });
        if (stopper.joinable())
            stopper.join();
        EXPECT_EQ(r.exitCode, c.stop ? platform::kStoppedExitCode : 2) << out;
        std::ifstream left(dir + "/a.out");
        EXPECT_EQ(left.is_open(), c.left != nullptr) << out;
        if (c.left) {
            EXPECT_EQ(std::string(std::istreambuf_iterator<char>(left), {}), c.left);
        }
        EXPECT_EQ(out.find("nmake: deleted 'a.out'") != std::string::npos, c.left == nullptr) << out;
    }
}

// A link that fails leaves the program that was there; one that succeeds
// puts the new program in its place. Neither leaves a file of its own beside
// it, and the leftover of a link that was killed without a word goes too.
TEST_F(Nmake, ALinkReplacesTheProgramOnlyWhenItSucceeds) {
    const pid_t gone = fork();
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const struct {
        const char* name;
        const char* source;
        int status;
        const char* program;  // null: the new one
    } cases[] = {
        {"an undefined function", "int missing();\nint main() { return missing(); }\n", 1, "old program"},
        {"a whole program", "int main() { return 7; }\n", 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        write("main.cpp", c.source);
        ASSERT_EQ(runCommand("cd '" + dir + "' && " CL_PATH " /c main.cpp >/dev/null 2>&1").status, 0);
        write("prog.exe", "old program");
        write(".prog.exe.link-" + std::to_string(gone), "left by a killed link");
        const RunResult link = runCommand("cd '" + dir + "' && " LINK_PATH " /out:prog.exe main.obj 2>/dev/null");
        EXPECT_EQ(link.status, c.status);
        if (c.program) {
            EXPECT_EQ(readFile(dir + "/prog.exe"), c.program);
        } else {
            EXPECT_EQ(runCommand("'" + dir + "/prog.exe'").status, 7);
        }
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(dir))
            files.push_back(entry.path().filename().string());
        std::sort(files.begin(), files.end());
        EXPECT_EQ(files, (std::vector<std::string>{"main.cpp", "main.obj", "prog.exe"}));
    }
}

}  // namespace
