// The jobs of the driver over fake stages: stage lines and counts, the fatal
// guard, the program records and the link checks.
#include <gtest/gtest.h>

#include <antlr/TokenStreamException.hpp>
#include <stdexcept>

#include "job_recorder.hpp"
#include "tests/support/own_session.hpp"

namespace {

typedef std::vector<std::string> Lines;

void syntaxError(JobState& job) {
    QUVException(job, QUVException::SyntaxError, 6, 1, 1, "r", "f", "d");
}

void semanticError(JobState& job) {
    QUVException(job).makeSemantic(0);
}

TEST(SingleFileJobs, StageLinesCountEachStageApart) {
    JobRecorder job;
    FakeStages fake;
    fake.onParse = [&](const std::string&) { syntaxError(*fake.job); syntaxError(*fake.job); };
    fake.onWalk = [&](const std::string&) { semanticError(*fake.job); };
    job.driver.stages = &fake;
    job.driver.compileFile("w/demo.e");
    EXPECT_EQ(JobRecorder::calls,
              (Lines{"stage w/demo.e: Syntax Checking Started!", "diag 2 6", "diag 2 6",
                     "stage w/demo.e: Syntax Checking Finished!, 2 errors found!",
                     "stage w/demo.e: Semantic Checking Started!", "diag 3 15",
                     "stage w/demo.e: Semantic Checking Finished!, 1 errors found!"}));
    // The recovered tree is walked in spite of the syntax errors.
    EXPECT_EQ(fake.walked, Lines{"w/demo.e"});
    ASSERT_EQ(job.driver.getPrograms().size(), 1u);
    EXPECT_EQ(job.driver.getPrograms()[0].name, "w/demo.e");
}

TEST(SingleFileJobs, CompileWithoutATreeSkipsTheWalk) {
    JobRecorder job;
    FakeStages fake;
    fake.buildTree = false;
    job.driver.stages = &fake;
    job.driver.compileFile("a.e");
    EXPECT_TRUE(fake.walked.empty());
    EXPECT_TRUE(job.driver.getPrograms().empty());
    EXPECT_EQ(JobRecorder::stages().back(), "stage a.e: Semantic Checking Finished!, 0 errors found!");
}

// Whatever a stage throws becomes one fatal diagnostic (kind 5, number 21) and
// the stage still reports its end: standard exceptions, ANTLR's exceptions
// (which have no standard base), the compiler's own records and anything else.
struct Thrower {
    const char* name;
    std::function<void()> raise;
};

const Thrower throwers[] = {
    {"standard", [] { throw std::runtime_error("boom"); }},
    {"antlr", [] { throw antlr::TokenStreamException("stream broke"); }},
    {"record", [] { throwInternalFailure("illegal type no", "Type::same()"); }},
    {"other", [] { throw 42; }},
};

size_t fatalCount(const JobState& job) {
    size_t n = 0;
    for (const QUVException& e : job.records())
        n += e.getKind() == 5 && e.getNumber() == 21;
    return n;
}

TEST(FatalGuard, AnythingAStageThrowsBecomesAFatalDiagnostic) {
    for (const Thrower& t : throwers) {
        SCOPED_TRACE(t.name);
        {
            JobRecorder job;
            FakeStages fake;
            fake.onParse = [&](const std::string&) { t.raise(); };
            job.driver.stages = &fake;
            job.driver.syntaxCheck("a.e");
            EXPECT_EQ(fatalCount(job.driver), 1u);
            EXPECT_EQ(JobRecorder::stages().back(), "stage a.e: Syntax Checking Finished!, " +
                                                        std::to_string(job.driver.records().size()) +
                                                        " errors found!");
            EXPECT_EQ(job.driver.records().back().getFileName(), "a.e");
            EXPECT_EQ(job.driver.records().back().getDetails(), "Fatal error occured in the program!");
        }
        {
            JobRecorder job;
            FakeStages fake;
            fake.onWalk = [&](const std::string&) { t.raise(); };
            job.driver.stages = &fake;
            job.driver.compileFile("a.e");
            EXPECT_EQ(fatalCount(job.driver), 1u);
            // A walk that throws leaves no program for the link check.
            EXPECT_TRUE(job.driver.getPrograms().empty());
                    EXPECT_EQ(JobRecorder::stages().back().rfind("stage a.e: Semantic Checking Finished!, ", 0), 0u);
        }
        {
            JobRecorder job;
            FakeStages fake;
            fake.onParse = [&](const std::string&) { t.raise(); };
            job.driver.stages = &fake;
            job.driver.typeset("a.e");
            EXPECT_EQ(fatalCount(job.driver), 1u);
            EXPECT_EQ(job.driver.records().back().getDetails(), "Fatal error occured in typesetting the program!");
            // One report, and it says the typesetting failed.
            int done = 0;
            for (const std::string& c : JobRecorder::calls)
                done += c.rfind("typesetDone", 0) == 0;
            EXPECT_EQ(done, 1);
            EXPECT_EQ(JobRecorder::calls.back(), "typesetDone 0");
        }
    }
}

// A stop the parse or the walk meets ends each single-file job there: no
// diagnostic, no closing line, no typeset report and no program.
TEST(SingleFileJobs, AStopEndsTheJobWithoutAReport) {
    typedef std::function<void(QUVCompiler&)> Entry;
    const struct {
        const char* name;
        Entry entry;
        bool inWalk;
        Lines calls;
    } cases[] = {
        {"typeset", [](QUVCompiler& d) { d.typeset("a.e"); }, false, {}},
        {"check", [](QUVCompiler& d) { d.syntaxCheck("a.e"); }, false, {"stage a.e: Syntax Checking Started!"}},
        {"compile, in the parse", [](QUVCompiler& d) { d.compileFile("a.e"); }, false,
         {"stage a.e: Syntax Checking Started!"}},
        {"compile, in the walk", [](QUVCompiler& d) { d.compileFile("a.e"); }, true,
         {"stage a.e: Syntax Checking Started!", "stage a.e: Syntax Checking Finished!, 0 errors found!",
          "stage a.e: Semantic Checking Started!"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        JobRecorder job;
        FakeStages fake;
        auto stop = [&](const std::string&) {
            EXPECT_TRUE(job.driver.stopProcess());
            throw JobStopped();
        };
        (c.inWalk ? fake.onWalk : fake.onParse) = stop;
        job.driver.stages = &fake;
        c.entry(job.driver);
        EXPECT_EQ(JobRecorder::calls, c.calls);
        EXPECT_TRUE(job.driver.records().empty());
        EXPECT_TRUE(job.driver.getPrograms().empty());
    }
}

TEST(DriverObject, EveryCallbackSlotMayBeEmpty) {
    WithOwnSession<QUVCompiler> driver;
    FakeStages fake;
    fake.onParse = [&](const std::string&) { syntaxError(*fake.job); };
    driver.stages = &fake;
    driver.typeset("a.e");
    driver.syntaxCheck("a.e");
    driver.compileFile("a.e");
    driver.generateMakefile({"a.e"}, "p.prj");
    // One syntax error per parse, and the second compile of a.e is a second main program.
    EXPECT_EQ(driver.records().size(), 5u);
}

TEST(DriverObject, EachDriverStartsCleanWhatEverTheLastOneLeft) {
    {
        WithOwnSession<QUVCompiler> first;
        first.typesetting = true;
        syntaxError(first);
        EXPECT_EQ(first.records().size(), 1u);
    }
    WithOwnSession<QUVCompiler> second;
    EXPECT_TRUE(second.records().empty());
    EXPECT_FALSE(second.typesetting);
}

TEST(DriverObject, StripExtensionCutsAtTheLastDotOfTheWholePath) {
    const std::pair<const char*, const char*> cases[] = {
        {"/w/a.b/prog", "/w/a"}, {"prog", "prog"}, {"x.y.e", "x.y"}, {"/w/demo.e", "/w/demo"}, {".e", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(QUVCompiler::stripExtension(c.first), c.second) << c.first;
}

// ---- project jobs ------------------------------------------------------------

// Each file's walk declares and refers to processes as the table says, and
// leaves the program kind given for the file.
struct FileScript {
    const char* file;
    int kind;
    std::vector<std::pair<char, const char*>> processes;  // 'd' declares, 'r' refers
};

void compileScripted(JobRecorder& job, FakeStages& fake, const std::vector<FileScript>& scripts) {
    std::vector<std::string> files;
    for (const FileScript& s : scripts)
        files.push_back(s.file);
    fake.onWalk = [&](const std::string& file) {
        for (const FileScript& s : scripts) {
            if (file != s.file)
                continue;
            fake.kind = s.kind;
            int line = 1;
            for (const auto& p : s.processes) {
                if (p.first == 'd')
                    job.driver.noteProcessDeclaration(p.second, line++, 4);
                else
                    job.driver.noteProcessReference(p.second, line++, 4);
            }
        }
    };
    job.driver.stages = &fake;
    job.driver.compileProject(files, "w/demo.prj");
}

struct LinkCase {
    const char* name;
    std::vector<FileScript> files;
    Lines diagnostics;  // "NUMBER FILE LINE DETAILS" of each link diagnostic
};

std::string describe(const QUVException& e) {
    return std::to_string(e.getNumber()) + " " + e.getFileName() + " " + std::to_string(e.getLine()) + " " +
           e.getDetails();
}

TEST(ProjectJob, LinkChecks) {
    const std::string noMain = "19  0 In the project, there doesn't exist a Main or MMain program!";
    const LinkCase cases[] = {
        {"reference settled by a later file",
         {{"a.e", 0, {{'r', "P"}}}, {"b.e", 1, {{'d', "P"}}}},
         {}},
        {"never declared: one per name, at its first reference",
         {{"a.e", 0, {{'r', "P"}, {'r', "Q"}}}, {"b.e", 1, {{'r', "P"}}}},
         {"16 a.e 1 Process P hasn't being declared in the whole project!",
          "16 a.e 2 Process Q hasn't being declared in the whole project!"}},
        {"declared twice",
         {{"a.e", 0, {{'d', "P"}}}, {"b.e", 1, {{'d', "P"}}}},
         {"17 b.e 1 Process P has been declared in the project before!\n\tsee Line: 1, Col: 4, File: a.e"}},
        {"a %DProg alone", {{"a.e", 1, {}}}, {noMain}},
        {"a %Prog and a %MProg",
         {{"a.e", 0, {}}, {"b.e", 1, {}}, {"c.e", 2, {}}},
         {"18  0 While declaring program c.e to be a Main Or MMain program, we have found such a Program a.e in "
          "the project before!"}},
        {"three main programs",
         {{"a.e", 2, {}}, {"b.e", 0, {}}, {"c.e", 0, {}}},
         {"18  0 While declaring program b.e to be a Main Or MMain program, we have found such a Program a.e in "
          "the project before!",
          "18  0 While declaring program c.e to be a Main Or MMain program, we have found such a Program a.e in "
          "the project before!"}},
        {"no files", {}, {noMain}},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        JobRecorder job;
        FakeStages fake;
        compileScripted(job, fake, c.files);
        Lines found;
        for (const QUVException& e : job.driver.records())
            found.push_back(describe(e));
        EXPECT_EQ(found, c.diagnostics);
        // A second declaration is reported as the file declaring it is compiled, before the link stage.
        size_t linkErrors = 0;
        for (const std::string& d : c.diagnostics)
            linkErrors += d.compare(0, 3, "17 ") != 0;
        const std::string n = std::to_string(c.diagnostics.size());
        const Lines stages = JobRecorder::stages();
        EXPECT_EQ(stages.front(), "stage w/demo.prj: Compile Project Started!");
        EXPECT_EQ(Lines(stages.end() - 3, stages.end()),
                  (Lines{"stage w/demo.prj: Link Project Started!",
                         "stage w/demo.prj: Link Project Finished!, " + std::to_string(linkErrors) + " errors found!",
                         "stage w/demo.prj: Compile Project Finished!, " + n + " errors found!"}));
    }
}

TEST(ProjectJob, ErrorsInOneFileStopNeitherTheOthersNorTheLinkStage) {
    JobRecorder job;
    FakeStages fake;
    fake.onParse = [&](const std::string& file) {
        if (file == "a.e")
            syntaxError(*fake.job);
    };
    fake.onWalk = [](const std::string& file) {
        if (file == "b.e")
            throw std::runtime_error("walk broke");
    };
    job.driver.stages = &fake;
    job.driver.compileProject({"a.e", "b.e", "c.e"}, "p.prj");
    EXPECT_EQ(fake.walked, (Lines{"a.e", "b.e", "c.e"}));
    // b.e's main program is not seen: the two others still are, so one 18.
    Lines numbers;
    for (const QUVException& e : job.driver.records())
        numbers.push_back(std::to_string(e.getKind()) + " " + std::to_string(e.getNumber()));
    EXPECT_EQ(numbers, (Lines{"2 6", "5 21", "4 18"}));
    EXPECT_EQ(JobRecorder::stages().back(), "stage p.prj: Compile Project Finished!, 3 errors found!");
}

TEST(MakefileJob, AMakefileThatCannotBeWrittenIsADiagnosticAndEndsTheJob) {
    TempFolder dir;
    JobRecorder job;
    FakeStages fake;
    job.driver.stages = &fake;
    const std::string project = dir / "missing/p.prj";
    job.driver.generateMakefile({dir / "a.e"}, project);
    ASSERT_EQ(job.driver.records().size(), 1u);
    const QUVException& e = job.driver.records()[0];
    EXPECT_EQ(e.getKind(), 0);
    EXPECT_EQ(e.getFileName(), dir / "missing/p.mak");
    EXPECT_EQ(JobRecorder::calls.back(), "diag 0 0");
    EXPECT_EQ(JobRecorder::stages().back(), "stage " + project + ": Generate Makefile Started!");
}

}  // namespace
