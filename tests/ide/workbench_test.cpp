// The workbench's running compile job: it reports to the sink the workbench
// owns, and it is stopped and joined before that sink goes.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "ide/model/workbench.hpp"

namespace ide {
namespace {

// Counts the reports a job makes; outlives the workbench.
struct Reports {
    std::mutex mutex;
    std::vector<std::string> seen;
    void Note(const std::string& s)
    {
        std::lock_guard<std::mutex> lock(mutex);
        seen.push_back(s);
    }
};

// The sink the workbench owns, passing every report on.
class ForwardingSink : public CompileSink {
public:
    explicit ForwardingSink(Reports& reports) : reports_(reports) {}
    void ErrorRow(const QUVException&) override { reports_.Note("error"); }
    void TextRow(const std::string&, const std::string&) override { reports_.Note("text"); }
    void MakeStart() override {}
    void MakeChar(char) override {}
    void RunStart() override {}
    void RunChar(char) override {}
    void TypesetDone(bool) override {}
    void OutOfMemory() override { reports_.Note("out of memory"); }
    void JobEnded() override { reports_.Note("ended"); }

private:
    Reports& reports_;
};

class WorkbenchTest : public testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(folder_); }
    void TearDown() override { std::filesystem::remove_all(folder_); }
    std::string Source()
    {
        const std::filesystem::path file = folder_ / "job.e";
        std::ofstream(file, std::ios::binary) << "%Prog p == [ ]\n[\n  Syn\n  [ %Stm [ LB = a => $OLB = NEXT ] ]\n].\n";
        return file.string();
    }
    std::unique_ptr<CompileSink> MakeSink(int) { return std::make_unique<ForwardingSink>(reports_); }

    const std::filesystem::path folder_ =
        std::filesystem::temp_directory_path() / ("quvbench-workbench-" + std::to_string(::getpid()));
    Reports reports_;
};

TEST_F(WorkbenchTest, AJobStillRunningIsStoppedAndJoinedWhenTheWorkbenchGoes)
{
    {
        Workbench bench((folder_ / "QuvBench.ini").string());
        const auto started = bench.StartCompileJob(std::make_shared<CCompileJob>(KindCompileFile, Source()),
                                                   [this](int serial) { return MakeSink(serial); });
        ASSERT_EQ(started, Workbench::JobStart::Started);
        EXPECT_NE(bench.CompileThread(), nullptr);
        // No wait: the workbench goes while the job may still run.
    }
    // The thread made its last report before its sink went, and none after.
    ASSERT_FALSE(reports_.seen.empty());
    EXPECT_EQ(reports_.seen.back(), "ended");
    EXPECT_EQ(std::count(reports_.seen.begin(), reports_.seen.end(), "ended"), 1);
}

TEST_F(WorkbenchTest, NoJobStartsOnceTheFrameHasStoppedTheWorkers)
{
    Workbench bench((folder_ / "QuvBench.ini").string());
    bench.Workers().StopAll();
    const auto started = bench.StartCompileJob(std::make_shared<CCompileJob>(KindCompileFile, Source()),
                                               [this](int serial) { return MakeSink(serial); });
    EXPECT_EQ(started, Workbench::JobStart::Closing);
    EXPECT_EQ(bench.compileBusy, 0);
    EXPECT_EQ(bench.CompileThread(), nullptr);
    EXPECT_TRUE(reports_.seen.empty());
}

// The generated names of the last compile of `source`: procedures after
// their number, records after their registry place.
std::set<std::string> GeneratedNames(const std::filesystem::path& source)
{
    std::set<std::string> names;
    const std::regex name("_proc_[a-z]+_[0-9]+|_[0-9]+_struct");
    for (const char* suffix : {".cpp", "Inner.hpp", "Proto.hpp"}) {
        std::ifstream in(source.parent_path() / (source.stem().string() + suffix), std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        for (std::sregex_iterator it(s.begin(), s.end(), name), end; it != end; ++it)
            names.insert(it->str());
    }
    return names;
}

// The compile jobs of one workbench share its session, as the files of one
// project do: a second compile numbers its procedures on and gives a record
// whose declaration refers to itself a new registry place, while a record
// made before keeps its name. Another workbench counts apart.
TEST_F(WorkbenchTest, CompileJobsOfOneWorkbenchCountGeneratedNamesOn)
{
    const std::filesystem::path source = folder_ / "p.e";
    std::ofstream(source, std::ios::binary) << "%Prog p == [ ]\n[\n"
                                               "    %Type [ Pair = Record(x, y : Int);\n"
                                               "            Node = Record(link : Point(Node); value : Int) ]\n"
                                               "    %Proc [ bump(%Iop/ s : Int) == [ %Stm [ LB = a => $O s = s + 1 ^ "
                                               "$OLB = RETURN ] ] ]\n"
                                               "    [ %Loc [ p : Pair; n : Node; t : Int ]\n"
                                               "      %Stm [ LB = a => $O t = p.x + n.value ^ $OLB = NEXT;\n"
                                               "             LB = c => bump(%Iop/ t | s);\n"
                                               "             LB = e => $OLB = RETURN ] ]\n].\n";
    Workbench first((folder_ / "first.ini").string());
    Workbench other((folder_ / "other.ini").string());
    const struct {
        const char* what;
        Workbench& bench;
        std::set<std::string> names;
    } cases[] = {
        {"first compile", first, {"_9_struct", "_13_struct", "_proc_bump_0"}},
        {"second compile, same workbench", first, {"_9_struct", "_18_struct", "_proc_bump_2"}},
        {"third compile, same workbench", first, {"_9_struct", "_23_struct", "_proc_bump_4"}},
        {"first compile of another workbench", other, {"_9_struct", "_13_struct", "_proc_bump_0"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(c.bench.StartCompileJob(std::make_shared<CCompileJob>(KindCompileFile, source.string()),
                                          [this](int serial) { return MakeSink(serial); }),
                  Workbench::JobStart::Started);
        c.bench.CompileThread()->Join();
        EXPECT_EQ(GeneratedNames(source), c.names);
    }
    EXPECT_EQ(std::count(reports_.seen.begin(), reports_.seen.end(), "error"), 0);
}

} // namespace
} // namespace ide
