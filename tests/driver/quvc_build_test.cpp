// quvc build and run end to end with our tool chain: the example projects,
// a project that does not compile, and a folder name with a blank.
#include <gtest/gtest.h>

#include <filesystem>

#include "job_recorder.hpp"
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

// The program's own output: what came between the two stage lines of the run.
std::string programOutput(const std::string& out, const std::string& exe) {
    const std::string started = "stage " + exe + ": Run executable program " + exe + " Started!\n";
    const size_t from = out.find(started);
    const size_t to = out.find("Run executable Program " + exe + "Finished!\n");
    if (from == std::string::npos || to == std::string::npos)
        return "<not run>";
    const size_t begin = from + started.size();
    return out.substr(begin, out.rfind("stage ", to) - begin);
}

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
    std::filesystem::create_directory(dir / "elsewhere");
    for (const ExampleCase& c : cases) {
        const std::string folder = std::filesystem::path(c.project).parent_path().string();
        const std::string project = std::filesystem::path(c.project).filename().string();
        const std::string exe = c.exe;
        // The project file's own folder, the folder above it, a folder beside it by an absolute name.
        const struct {
            std::string in, project, exe;
        } places[] = {
            {folder, project, exe},
            {".", c.project, folder + "/" + exe},
            {"elsewhere", dir / c.project, dir / (folder + "/" + exe)},
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

TEST_F(QuvcBuild, AProjectThatDoesNotCompileStopsBeforeMake) {
    copyIn(QUV_TEST_DATA "/driver");
    const ToolRun r = quvc("build broken.prj");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("Compile Project Finished!, 2 errors found!"), std::string::npos) << r.out;
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

}  // namespace
