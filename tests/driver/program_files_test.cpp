// The five files of a source, which the driver writes from the program the
// walk left: also when the walk failed after leaving it, never when before.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "job_recorder.hpp"
#include "tool_run.hpp"

namespace {

typedef std::vector<std::string> Lines;

// The five files beside base; "-" for a missing one.
Lines filesOf(const std::string& base) {
    Lines texts;
    for (const char* suffix : {".cpp", "Proto.hpp", "Inner.hpp", ".err", "TypeSet.e"})
        texts.push_back(std::filesystem::exists(base + suffix) ? readBytes(base + suffix) : "-");
    return texts;
}

class MainTexts : public CodeFragment {
public:
    MainTexts() {
        typeset = "%Stm [ ]";
        code = "int main() {}\n";
        innerTypes = "int i;\n";
        prototypes = "int p;\n";
    }
};

// Over fake stages: a semantic diagnostic, then the walk throws before or
// after it leaves its program, or ends normally.
TEST(ProgramFiles, WrittenFromTheProgramTheWalkLeft) {
    const struct {
        const char* name;
        bool leaves, fails;
        Lines diagnostics;
    } cases[] = {
        {"ends normally", true, false, {"diag 3 15"}},
        {"fails before leaving it", false, true, {"diag 3 15", "diag 5 20", "diag 5 21"}},
        {"fails after leaving it", true, true, {"diag 3 15", "diag 5 20", "diag 5 21"}},
    };
    TempFolder dir;
    Lines normal;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(dir / "w");
        std::filesystem::create_directory(dir / "w");
        JobRecorder job;
        FakeStages fake;
        MainTexts main;
        fake.onWalk = [&](const std::string&) { QUVException(*fake.job).makeSemantic(0); };
        fake.onTop = [&](TopFragment& top) {
            if (c.leaves)
                top.setProgram("demo", 1, main);
            if (c.fails)
                throwInternalFailure("left open", "test");
        };
        job.driver.stages = &fake;
        job.driver.compileFile(dir / "w/demo.e");
        Lines calls(JobRecorder::calls.begin() + 3, JobRecorder::calls.end() - 1);
        EXPECT_EQ(calls, c.diagnostics);
        const Lines files = filesOf(dir / "w/demo");
        if (!c.fails)
            normal = files;
        // The files of a walk that failed after leaving its program are those
        // of one that ended there: the failure is not in the diagnostics file.
        EXPECT_EQ(files, c.leaves ? normal : Lines(5, "-"));
    }
    EXPECT_NE(normal[4].find("%DProg demo"), std::string::npos);
}

// A walk that meets the job's stop, even after it left its program, leaves no
// file and no diagnostic of its own, and the stage reports no end.
TEST(ProgramFiles, NoneAfterAStopInTheWalk) {
    TempFolder dir;
    JobRecorder job;
    FakeStages fake;
    MainTexts main;
    fake.onTop = [&](TopFragment& top) {
        top.setProgram("demo", 1, main);
        EXPECT_TRUE(job.driver.stopProcess());
        // What the walker does at its next rule.
        throw JobStopped();
    };
    job.driver.stages = &fake;
    job.driver.compileFile(dir / "demo.e");
    EXPECT_EQ(filesOf(dir / "demo"), Lines(5, "-"));
    const Lines calls(JobRecorder::calls.begin() + 2, JobRecorder::calls.end());
    EXPECT_EQ(calls, Lines{"stage " + dir / "demo.e" + ": Semantic Checking Started!"});
    EXPECT_TRUE(job.driver.records().empty());
}

// quvc compile: whole programs give the golden files; a recovered tree whose
// program block cannot be closed still has its files, without that failure.
TEST(ProgramFiles, QuvcCompileWritesTheFilesOfTheProgramWalked) {
    const struct {
        const char* source;
        const char* golden;
    } cases[] = {{"treewalk/prog.e", "treewalk/expected/prog"},
                 {"treewalk/mprog.e", "treewalk/expected/mprog"},
                 {"fuzz/translate-leak-thrown-case.e", nullptr}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.source);
        TempFolder dir;
        const std::filesystem::path source(c.source);
        std::filesystem::copy(std::string(QUV_TEST_DATA) + "/" + c.source, dir / source.filename().string());
        const RunResult r = runCommand("cd '" + dir.path + "' && " + QUVC_PATH + " compile " +
                                       source.filename().string() + " 2>/dev/null");
        const Lines files = filesOf(dir / source.stem().string());
        if (c.golden) {
            EXPECT_EQ(r.status, 0);
            EXPECT_EQ(files, filesOf(std::string(QUV_TEST_DATA) + "/" + c.golden));
            continue;
        }
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.out.find("exitBlock()\ndiag translate-leak-thrown-case.e 0:0 5 21 -"), std::string::npos);
        EXPECT_EQ(std::count(files.begin(), files.end(), "-"), 0);
        EXPECT_NE(files[3].find("Symbol core hasn't been declared before!"), std::string::npos);
        EXPECT_EQ(files[3].find("exitBlock"), std::string::npos);
    }
}

}  // namespace
