// The compile menu's enable rules and the compile thread over the real
// driver, without a display.
#include <filesystem>
#include <fstream>
#include <mutex>
#include <new>

#include <unistd.h>

#include <gtest/gtest.h>

#include "compiler/core/diagnostics.hpp"
#include "compiler/core/job_state.hpp"
#include "ide/model/compile_thread.hpp"

namespace ide {
namespace {

TEST(CompileCommands, EnableRules)
{
    typedef CompileCommand C;
    const C file[] = {C::Typeset, C::SyntaxCheck, C::CompileFile};
    const C project[] = {C::CompileProject, C::GenerateMakefile, C::Build, C::Run};
    const struct {
        CompileCommandState state;
        bool fileOn, projectOn, stopOn;
    } cases[] = {
        {{false, false, 0}, false, false, false},
        {{false, true, 0}, true, false, false},
        {{false, false, 2}, false, true, false},
        {{false, true, 1}, true, true, false},
        {{true, true, 3}, false, false, true},
        {{true, false, 0}, false, false, true},
    };
    for (const auto& c : cases) {
        for (C command : file)
            EXPECT_EQ(IsCommandEnabled(command, c.state), c.fileOn) << static_cast<int>(command);
        for (C command : project)
            EXPECT_EQ(IsCommandEnabled(command, c.state), c.projectOn) << static_cast<int>(command);
        EXPECT_EQ(IsCommandEnabled(C::Stop, c.state), c.stopOn);
    }
    EXPECT_EQ(JobKindOf(C::Typeset), 0);
    EXPECT_EQ(JobKindOf(C::Run), 6);
    EXPECT_EQ(JobKindOf(C::Stop), -1);
}

// Records every report, from whichever thread makes it.
class RecordingSink : public CompileSink {
public:
    void ErrorRow(const QUVException& r) override { Note("error " + std::to_string(r.getLine())); }
    void TextRow(const std::string& first, const std::string& second) override { Note("text " + second); }
    void OutOfMemory() override { Note("out of memory"); }
    void MakeStart() override { Note("make start"); }
    void MakeChar(char) override {}
    void RunStart() override { Note("run start"); }
    void RunChar(char) override {}
    void TypesetDone(bool ok) override { Note(ok ? "typeset ok" : "typeset failed"); }
    void JobEnded() override { Note("ended"); }
    std::vector<std::string> reports;

    // The report that finds no memory for itself.
    std::string starvedAt;

private:
    void Note(const std::string& s)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (s == starvedAt)
            throw std::bad_alloc();
        reports.push_back(s);
    }
    std::mutex mutex_;
};

class CompileThreadTest : public testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string Write(const std::string& name, const std::string& text)
    {
        std::filesystem::create_directories(folder_);
        std::ofstream(folder_ / name, std::ios::binary) << text;
        return (folder_ / name).string();
    }

    const std::filesystem::path folder_ =
        std::filesystem::temp_directory_path() / ("quvbench-compile-thread-" + std::to_string(::getpid()));
    CompileSession session_;
    std::atomic<int> busy_{0};
};

TEST_F(CompileThreadTest, RunsTheJobReportsInOrderAndClearsTheBusyFlagLast)
{
    const struct {
        int kind;
        std::string source;
        std::vector<std::string> expected;
        bool typesetText;
    } cases[] = {
        {KindSyntaxCheck, "%Prog p == [ ]\n[\n  Syn\n  [ %Stm [ LB = a => $OLB = NEXT ",
         {"text Syntax Checking Started!", "error 4", "error 4", "error 4", "error 4", "error 4",
          "text Syntax Checking Finished!, 5 errors found!", "ended"},
         false},
        {KindTypeset, "%Prog p == [ ] [ Syn [ %Stm [ LB = e => $OLB = RETURN ] ] ].\n",
         {"text Typesetting Finished!, 0 errors found!", "typeset ok", "ended"},
         true},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        auto job = std::make_shared<CCompileJob>(c.kind, Write("job.e", c.source));
        busy_ = 1;
        CQUVCompileThread thread(job, session_, sink, busy_);
        ASSERT_TRUE(thread.Start());
        thread.Join();
        EXPECT_EQ(sink.reports, c.expected) << c.kind;
        EXPECT_EQ(busy_, 0);
        EXPECT_EQ(!job->typesetText.empty(), c.typesetText);
    }
}

// A job that finds no memory (for the typeset text it hands over, or for a
// report) ends early and says so; the thread ends as any job's does, and a
// stop after it reaches no driver.
TEST_F(CompileThreadTest, AJobWithoutMemoryEndsAndSaysSo)
{
    const std::string source = Write("job.e", "%Prog p == [ ] [ Syn [ %Stm [ LB = e => $OLB = RETURN ] ] ].\n");
    const struct {
        int kind;
        const char* starvedAt;
        std::vector<std::string> expected;
    } cases[] = {
        {KindTypeset, "typeset ok", {"text Typesetting Finished!, 0 errors found!", "out of memory", "ended"}},
        {KindCompileFile, "text Syntax Checking Started!", {"out of memory", "ended"}},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        sink.starvedAt = c.starvedAt;
        auto job = std::make_shared<CCompileJob>(c.kind, source);
        busy_ = 1;
        CQUVCompileThread thread(job, session_, sink, busy_);
        ASSERT_TRUE(thread.Start());
        thread.Join();
        EXPECT_EQ(sink.reports, c.expected) << c.starvedAt;
        EXPECT_EQ(busy_, 0);
        EXPECT_TRUE(thread.Stop());
    }
}

TEST_F(CompileThreadTest, AStopBeforeTheThreadRunsCancelsTheJob)
{
    RecordingSink sink;
    auto job = std::make_shared<CCompileJob>(KindCompileFile, Write("job.e", "%Prog p == [ ]"));
    busy_ = 1;
    CQUVCompileThread thread(job, session_, sink, busy_);
    EXPECT_TRUE(thread.Stop());
    EXPECT_EQ(busy_, 1) << "only the ending thread clears the flag";
    ASSERT_TRUE(thread.Start());
    thread.Join();
    EXPECT_EQ(sink.reports, std::vector<std::string>{"ended"});
    EXPECT_EQ(busy_, 0);
    EXPECT_FALSE(std::filesystem::exists(folder_ / "job.cpp"));
}

} // namespace
} // namespace ide
