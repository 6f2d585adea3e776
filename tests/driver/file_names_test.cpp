// quvc run over file and folder names that hold make's, the shell's and the
// tools' special characters: each name builds and its program runs, or the
// makefile job refuses it with one diagnostic before make runs.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "job_recorder.hpp"
#include "tool_run.hpp"

namespace {

struct NameCase {
    const char* label;
    std::string name;     // a source's base name, or the middle of the project's folder
    const char* refusal;  // null: builds and runs; else what the one diagnostic says
};

// The bare source name in the project's folder, or the project's folder
// itself with the source in a subfolder (absolute names in the makefile).
enum class Place { SourceName, ProjectFolder };

struct RunOutcome {
    std::string out;
    int status;
};

// Runs quvc with `args` in `folder`, no shell between: any byte of a name reaches it.
RunOutcome runQuvc(const std::vector<std::string>& args, const std::string& folder, const std::string& outFile) {
    const pid_t pid = fork();
    if (pid == 0) {
        const int fd = open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || chdir(folder.c_str()) != 0)
            _exit(127);
        dup2(fd, 1);
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 2);
        setenv("QuvMakePath", QUV_TOOLCHAIN_DIR, 1);
        setenv("QUVINCLUDEPATH", QUV_RUNTIME_DIR, 1);
        setenv("QUVLIBPATH", QUV_TOOLCHAIN_DIR, 1);
        std::vector<char*> argv{const_cast<char*>(QUVC_PATH)};
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        alarm(120);  // a build that hangs ends rather than holding the tests
        execv(QUVC_PATH, argv.data());
        _exit(127);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return {readBytes(outFile), WIFEXITED(status) ? WEXITSTATUS(status) : -1};
}

class FileNames : public ::testing::TestWithParam<std::tuple<NameCase, Place>> {};

TEST_P(FileNames, BuildAndRunOrAreRefusedBeforeMake) {
    const NameCase& c = std::get<0>(GetParam());
    const Place place = std::get<1>(GetParam());
    TempFolder dir;
    const std::string program = readBytes(QUV_TEST_DATA "/driver/seven.e");
    std::string folder, source, listed, exe;
    if (place == Place::SourceName) {
        folder = dir.path;
        source = c.name + ".e";
        listed = source;
        exe = "p.exe";
    } else {
        folder = dir / ("d" + c.name + "e");
        std::filesystem::create_directories(folder + "/src");
        source = "src/m.e";
        listed = folder + "/src/m.e";
        exe = folder + "/p.exe";
    }
    writeBytes(folder + "/" + source, program);
    writeBytes(folder + "/p.prj", "[QuvBench]\nProject Name=p\nProject File Num=1\nFile 1=" + source + "\n");
    const std::string project = place == Place::SourceName ? "p.prj" : folder + "/p.prj";
    const RunOutcome r = runQuvc({"run", project}, dir.path, dir / "out.txt");
    if (!c.refusal) {
        EXPECT_EQ(r.status, 0) << r.out;
        EXPECT_EQ(programOutput(r.out, exe), "7\n") << r.out;
        EXPECT_EQ(diagLines(r.out), "");
        return;
    }
    EXPECT_EQ(r.status, 1) << r.out;
    // The project file, when the folder holds the name, else the source.
    const std::string named = place == Place::SourceName ? listed : project;
    // One diagnostic; a line end in the name spreads its line over two.
    const std::string diag = "diag " + named + " 0:0 0 0 writeMakefile\n";
    EXPECT_EQ(r.out.find(diag), r.out.rfind("\ndiag ") + 1) << r.out;
    EXPECT_NE(r.out.find(c.refusal), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("nmake"), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(folder + "/p.mak"));
}

const NameCase kNames[] = {
    {"dollar", "a$b", nullptr},
    {"macro", "a$(X)b", nullptr},
    {"quote", "a\"b", "its name holds a double quote"},
    {"dash_first", "-ab", nullptr},
    {"dash_out_first", "-out:ab", nullptr},
    {"at_first", "@ab", nullptr},
    {"colon_first", ":ab", nullptr},
    {"equals_first", "=ab", nullptr},
    {"blank", "a b", nullptr},
    {"blank_around_colon", "a : b", nullptr},
    {"hash", "a#b", nullptr},
    {"percent", "a%b", nullptr},
    {"apostrophe", "a'b", nullptr},
    {"parentheses", "a(b)", nullptr},
    {"semicolon", "a;b", nullptr},
    {"ampersand", "a&b", nullptr},
    {"caret", "a^b", nullptr},
    {"at", "a@b", nullptr},
    {"exclamation", "a!b", nullptr},
    {"star", "a*b", nullptr},
    {"colon", "a:b", nullptr},
    {"equals", "a=b", nullptr},
    {"backslash", "a\\b", nullptr},
    {"tab", "a\tb", nullptr},
    {"angle_brackets", "a<<b>", nullptr},
};

// A project file cannot list a name with a line end; a folder can hold one.
const NameCase kFolderNames[] = {
    {"line_end", "a\nb", "its name holds a line end"},
};

std::string caseName(const ::testing::TestParamInfo<std::tuple<NameCase, Place>>& info) {
    return std::string(std::get<0>(info.param).label) +
           (std::get<1>(info.param) == Place::SourceName ? "_source" : "_folder");
}

INSTANTIATE_TEST_SUITE_P(Names, FileNames,
                         ::testing::Combine(::testing::ValuesIn(kNames),
                                            ::testing::Values(Place::SourceName, Place::ProjectFolder)),
                         caseName);
INSTANTIATE_TEST_SUITE_P(FolderNames, FileNames,
                         ::testing::Combine(::testing::ValuesIn(kFolderNames), ::testing::Values(Place::ProjectFolder)),
                         caseName);

}  // namespace
