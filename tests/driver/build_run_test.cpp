// The build and run jobs with our tool chain, over fake stages whose walk
// writes a C++ program of the test's choosing: the stage lines with the pipe
// runner and with plain children, the output bytes, exit codes and a stop.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <chrono>

#include <signal.h>
#include <sys/stat.h>

#include "job_recorder.hpp"

namespace {

typedef std::vector<std::string> Lines;

std::string makeOutput;
std::string runOutput;
int starts = 0;

void onMakeChar(char c) { makeOutput += c; }
void onRunChar(char c) { runOutput += c; }
void onStart() { ++starts; }
void onText(const char*, const char*) {}

// Ends the program of driver as soon as it has said it is ready.
std::function<void(char)> stopWhenReady(QUVCompiler& driver) {
    return [&driver](char c) {
        runOutput += c;
        if (runOutput == "ready\n") {
            EXPECT_TRUE(driver.stopProcess());
        }
    };
}

const char kProgram[] =
    "#include <cstdio>\n"
    "int main() {\n"
    "    std::printf(\"out\\n\"); std::fflush(stdout);\n"
    "    std::fprintf(stderr, \"err\\n\");\n"
    "    return 3;\n"
    "}\n";

class BuildRunJobs : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("QuvMakePath", QUV_TOOLCHAIN_DIR, 1);
        setenv("QUVINCLUDEPATH", QUV_RUNTIME_DIR, 1);
        setenv("QUVLIBPATH", QUV_TOOLCHAIN_DIR, 1);
        // Where QuvMakePath is unset, nmake comes from the search path.
        path = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", (std::string(QUV_TOOLCHAIN_DIR) + ":" + path).c_str(), 1);
        makeOutput.clear();
        runOutput.clear();
        starts = 0;
        fake.onWalk = [this](const std::string& file) {
            writeBytes(QUVCompiler::stripExtension(file) + ".cpp", program);
        };
        job.driver.stages = &fake;
    }
    void TearDown() override { setenv("PATH", path.c_str(), 1); }

    void installPipes() {
        job.driver.makeStart = onStart;
        job.driver.makeText = onText;
        job.driver.makeChar = onMakeChar;
        job.driver.runStart = onStart;
        job.driver.runText = onText;
        job.driver.runChar = onRunChar;
    }

    // The stage lines after the makefile was written.
    Lines buildStages() {
        Lines all = JobRecorder::stages(), after;
        bool seen = false;
        for (const std::string& s : all) {
            if (seen)
                after.push_back(s);
            seen = seen || s.find("Generate Makefile Successfully Finished!") != std::string::npos;
        }
        return after;
    }

    Lines runStages(int makeExit) {
        const std::string mak = dir / "demo.mak", exe = dir / "demo.exe";
        Lines lines = {"stage " + mak + ": nmake /E /f " + mak + " Started!",
                       "stage " + mak + ": nmake finished with exit code = " + std::to_string(makeExit) + ", " +
                           (makeExit ? "errors found!" : "successfully!")};
        if (makeExit == 0) {
            lines.push_back("stage " + exe + ": Run executable program " + exe + " Started!");
            lines.push_back("stage " + dir / "demo.prj" + ": Run executable Program " + exe + "Finished!");
        }
        return lines;
    }

    std::string path;
    std::string program = kProgram;
    TempFolder dir;
    JobRecorder job;
    FakeStages fake;
};

TEST_F(BuildRunJobs, WithEveryCallbackTheOutputComesThroughThePipes) {
    installPipes();
    testing::internal::CaptureStderr();
    job.driver.run({dir / "demo.e"}, dir / "demo.prj");
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(buildStages(), runStages(0));
    EXPECT_EQ(starts, 2);
    EXPECT_NE(makeOutput.find("\tcl.exe @"), std::string::npos) << makeOutput;
    EXPECT_NE(makeOutput.find("\tlink.exe @"), std::string::npos) << makeOutput;
    EXPECT_EQ(runOutput, "out\nerr\n");
    // The exit code shows in the driver's report only.
    EXPECT_NE(report.find("program " + dir / "demo.exe" + " finished with exit code = 3, errors found!"),
              std::string::npos)
        << report;
    for (const std::string& s : JobRecorder::stages())
        EXPECT_EQ(s.find("exit code = 3"), std::string::npos);
}

TEST_F(BuildRunJobs, WithARunCallbackMissingTheProgramIsAPlainChild) {
    installPipes();
    job.driver.runText = nullptr;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    job.driver.run({dir / "demo.e"}, dir / "demo.prj");
    const std::string out = testing::internal::GetCapturedStdout();
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(buildStages(), runStages(0));
    // make still comes through the pipe: it has one way to start.
    EXPECT_EQ(starts, 1);
    EXPECT_NE(makeOutput.find("\tcl.exe @"), std::string::npos) << makeOutput;
    EXPECT_EQ(runOutput, "");
    EXPECT_EQ(out.find("\tcl.exe @"), std::string::npos) << out;
    EXPECT_NE(out.find("out\n"), std::string::npos) << out;
    EXPECT_NE(report.find("exit code = 3, errors found!"), std::string::npos) << report;
}

// A host without make's slots: make runs all the same, and the null slots are skipped.
TEST_F(BuildRunJobs, WithoutMakeCallbacksMakeStillBuilds) {
    testing::internal::CaptureStderr();
    EXPECT_TRUE(job.driver.build({dir / "demo.e"}, dir / "demo.prj"));
    testing::internal::GetCapturedStderr();
    const Lines stages = runStages(0);
    EXPECT_EQ(buildStages(), Lines(stages.begin(), stages.begin() + 2));
    EXPECT_EQ(starts, 0);
    EXPECT_EQ(makeOutput, "");
    EXPECT_TRUE(std::filesystem::exists(dir / "demo.exe"));
}

TEST_F(BuildRunJobs, AFailedBuildDoesNotRunTheProgram) {
    installPipes();
    program = "int main() { return nothing; }\n";
    testing::internal::CaptureStderr();
    job.driver.run({dir / "demo.e"}, dir / "demo.prj");
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(buildStages(), runStages(2));
    EXPECT_EQ(starts, 1);
    EXPECT_NE(makeOutput.find("nothing"), std::string::npos) << makeOutput;
}

TEST_F(BuildRunJobs, AStopEndsTheProgram) {
    installPipes();
    job.driver.runChar = stopWhenReady(job.driver);
    program = "#include <cstdio>\n#include <unistd.h>\n"
              "int main() { std::printf(\"ready\\n\"); std::fflush(stdout); sleep(30); return 0; }\n";
    testing::internal::CaptureStderr();
    job.driver.run({dir / "demo.e"}, dir / "demo.prj");
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(runOutput, "ready\n");
    EXPECT_NE(report.find("exit code = -11, errors found!"), std::string::npos) << report;
}

TEST_F(BuildRunJobs, WithoutQuvMakePathMakeComesFromTheSearchPath) {
    installPipes();
    unsetenv("QuvMakePath");
    testing::internal::CaptureStderr();
    EXPECT_TRUE(job.driver.build({dir / "demo.e"}, dir / "demo.prj"));
    testing::internal::GetCapturedStderr();
    EXPECT_NE(makeOutput.find("\tlink.exe @"), std::string::npos) << makeOutput;
}

TEST_F(BuildRunJobs, AProgramThatCannotStartReportsTheSystemError) {
    testing::internal::CaptureStderr();
    const int code = job.driver.startProgram(dir / "missing.exe", onStart, onText, onRunChar);
    const std::string report = testing::internal::GetCapturedStderr();
    EXPECT_EQ(code, ENOENT);
    EXPECT_EQ(starts, 1);
    EXPECT_NE(report.find("ERROR! No such file or directory"), std::string::npos) << report;
}

// A stop while the second of three files compiles: the job ends before the
// third file, and nothing after the compile stage runs.
TEST_F(BuildRunJobs, AStopDuringTheCompileEndsEveryProjectJobThere) {
    installPipes();
    typedef std::function<void(QUVCompiler&, const std::vector<std::string>&, const std::string&)> Entry;
    const struct {
        const char* name;
        Entry entry;
    } jobs[] = {
        {"project", [](QUVCompiler& d, auto& f, auto& p) { d.compileProject(f, p); }},
        {"build", [](QUVCompiler& d, auto& f, auto& p) { EXPECT_FALSE(d.build(f, p)); }},
        {"run", [](QUVCompiler& d, auto& f, auto& p) { d.run(f, p); }},
    };
    for (const auto& job : jobs) {
        JobRecorder recorder;
        FakeStages stages;
        std::vector<std::string> parsed;
        stages.onParse = [&](const std::string& file) {
            parsed.push_back(file);
            if (parsed.size() == 2) {
                EXPECT_TRUE(recorder.driver.stopProcess());
            }
        };
        recorder.driver.stages = &stages;
        recorder.driver.makeStart = onStart;
        recorder.driver.runStart = onStart;
        starts = 0;
        testing::internal::CaptureStderr();
        job.entry(recorder.driver, {dir / "a.e", dir / "b.e", dir / "c.e"}, dir / "demo.prj");
        testing::internal::GetCapturedStderr();
        EXPECT_EQ(parsed, (Lines{dir / "a.e", dir / "b.e"})) << job.name;
        for (const std::string& line : JobRecorder::stages()) {
            EXPECT_EQ(line.find("Link Project"), std::string::npos) << job.name << ": " << line;
        }
        EXPECT_FALSE(std::filesystem::exists(dir / "demo.mak")) << job.name;
        EXPECT_EQ(starts, 0) << job.name;
    }
}

size_t runBytes = 0;
std::string runHead;
void countRunChar(char c) {
    if (++runBytes < 32)
        runHead += c;
}

// A program that leaves a fast writer behind when it ends: the job finishes
// promptly with the program's exit code, and nothing of its group is left.
TEST_F(BuildRunJobs, AProgramsFastWriterEndsWithIt) {
    const std::string script = dir / "writer.exe";
    writeBytes(script, "#!/bin/sh\necho $$\nyes &\nsleep 0.3\nexit 0\n");
    chmod(script.c_str(), 0755);
    runBytes = 0;
    runHead.clear();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(job.driver.startProgram(script, onStart, onText, countRunChar), 0);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 10);
    EXPECT_GT(runBytes, 0u);
    EXPECT_EQ(job.driver.childProcess.childId(), 0);
    // The first line is the shell's id, its group's too.
    const pid_t group = static_cast<pid_t>(std::stol(runHead));
    EXPECT_NE(kill(-group, 0), 0);
    EXPECT_EQ(errno, ESRCH);
    EXPECT_TRUE(job.driver.stopProcess());
}

TEST(StopProcess, WithNothingRunningSucceeds) {
    JobRecorder job;
    EXPECT_TRUE(job.driver.stopProcess());
}

}  // namespace
