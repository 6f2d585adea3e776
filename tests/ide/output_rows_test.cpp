// The Output panes' row models, the byte decoder of the tool panes, and the
// stopping of running jobs.
#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "compiler/core/diagnostics.hpp"
#include "compiler/core/gbk.hpp"
#include "compiler/core/job_state.hpp"
#include "ide/model/output_rows.hpp"
#include "ide/model/worker_registry.hpp"
#include "tests/support/own_session.hpp"

namespace ide {
namespace {

TEST(CompileRows, DiagnosticAndTextRows)
{
    auto job = std::make_unique<OwnJob>("a.e");
    QUVException record(*job, QUVException::SyntaxError, 3, 3, 5, "program", "a.e", gbk::fromUtf8("缺少 ;\nhere"));
    CompileResultModel model;
    EXPECT_EQ(model.Add(CompileRow::Text("a.e", "Syntax Checking Started!")), 0);
    EXPECT_EQ(model.Add(CompileRow::FromRecord(record)), 1);
    QUVException noFile(*job, QUVException::LinkError, 19, 0, 0, "", "", "no main");
    EXPECT_EQ(model.Add(CompileRow::FromRecord(noFile)), 2);

    const CompileRow& row = model.Row(1);
    EXPECT_EQ(row.cells[0], "a.e(3,5)");
    EXPECT_EQ(row.cells[1], "语法错误:" + gbk::toUtf8(record.getNumberName()));
    EXPECT_EQ(row.cells[2], "缺少 ;\nhere");
    EXPECT_EQ(row.record.serial, 0);
    EXPECT_EQ(row.record.rule, "program");
    EXPECT_EQ(model.Row(0).cells[1], "Syntax Checking Started!");
    EXPECT_EQ(model.Row(0).cells[2], "");

    struct Case {
        int index;
        bool record;
        bool target;
    } cases[] = {{0, false, false}, {1, true, true}, {2, true, false}, {3, false, false}, {-1, false, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(model.ShowsRecord(c.index), c.record) << c.index;
        EXPECT_EQ(model.Target(c.index).has_value(), c.target) << c.index;
    }
    const Location at = *model.Target(1);
    EXPECT_EQ(at.file, "a.e");
    EXPECT_EQ(at.line, 3);
    EXPECT_EQ(at.column, 5);

    // The row keeps its copy when the job and its list are gone.
    job.reset();
    EXPECT_EQ(model.Row(1).record.details, "缺少 ;\nhere");
    model.ClearAll();
    EXPECT_EQ(model.Count(), 0);
    EXPECT_FALSE(model.Target(0).has_value());
}

// File names are the file system's UTF-8, kept as they are and found again by
// a double click; the compiler's texts are GBK. A name that is no UTF-8 came
// from a project file written where names are GBK.
TEST(CompileRows, FileNamesAreShownAsNamedAndMessagesAsGbk)
{
    const struct {
        std::string fileBytes;
        std::string shown;
    } cases[] = {
        {"/home/张三/项目/程序.e", "/home/张三/项目/程序.e"},
        {"/tmp/a.e", "/tmp/a.e"},
        {gbk::fromUtf8("缺少.e"), "缺少.e"},
    };
    auto job = std::make_unique<OwnJob>("a.e");
    for (const auto& c : cases) {
        QUVException record(*job, QUVException::SemanticError, 3, 2, 7, "", c.fileBytes, gbk::fromUtf8("符号 x 未定义"));
        CompileResultModel model;
        model.Add(CompileRow::FromRecord(record));
        EXPECT_EQ(model.Row(0).cells[0], c.shown + "(2,7)");
        EXPECT_EQ(model.Row(0).cells[1], "语义错误:" + gbk::toUtf8(record.getNumberName()));
        EXPECT_EQ(model.Row(0).cells[2], "符号 x 未定义");
        ASSERT_TRUE(model.Target(0).has_value());
        EXPECT_EQ(model.Target(0)->file, c.shown);
    }
}

TEST(LookupRows, MessagesAndMatches)
{
    LookupResultModel model;
    model.Add(LookupEntry::Message("查找 \"x\" 的结果"));
    model.Add(LookupEntry::Match("/w/a.e", 12, "  x := 1;"));
    EXPECT_EQ(model.Entry(0).Shown(), "查找 \"x\" 的结果");
    EXPECT_EQ(model.Entry(1).Shown(), "/w/a.e (12) :   x := 1;");
    EXPECT_FALSE(model.Target(0).has_value());
    ASSERT_TRUE(model.Target(1).has_value());
    EXPECT_EQ(model.Target(1)->line, 12);
    EXPECT_EQ(model.Target(1)->column, 1);
    model.ClearAll();
    EXPECT_FALSE(model.Target(1).has_value());
}

TEST(OutputDecoder, BytesToText)
{
    const std::string gbkText = gbk::fromUtf8("错误");
    struct Case {
        std::string bytes;
        std::string text;
    } cases[] = {
        {"a\r\nb", "a\nb"},
        {gbkText + "!", "错误!"},
        {"\x80x", gbk::toUtf8("\x80") + "x"},
    };
    for (const Case& c : cases) {
        OutputDecoder decoder;
        std::string out;
        for (char b : c.bytes)
            out += decoder.Feed(static_cast<unsigned char>(b));
        EXPECT_EQ(out, c.text);
    }
}

// make's output: file names as they are on disk, other text in GBK, each run
// shown once the byte after it has come.
TEST(OutputDecoder, FileNamesOrGbk)
{
    const struct {
        std::string bytes;
        std::string text;
        std::string pending;  // what the last byte fed leaves held back
    } cases[] = {
        {"cl.exe /tmp/张三/项目/程序.cpp\r\n", "cl.exe /tmp/张三/项目/程序.cpp\n", ""},
        {"/张三abc\n", "/张三abc\n", ""},
        {gbk::fromUtf8("错误") + ": x\n", "错误: x\n", ""},
        // A GBK pair whose second byte is below 128: 丂 is 0x81 0x40.
        {gbk::fromUtf8("丂丂") + "\n", "丂丂\n", ""},
        {"a\x80x", "a" + gbk::toUtf8("\x80") + "x", ""},
        {"/项目", "/", "项目"},
    };
    for (const auto& c : cases) {
        OutputDecoder decoder(OutputDecoder::Text::FileNamesOrGbk);
        std::string out;
        for (char b : c.bytes)
            out += decoder.Feed(static_cast<unsigned char>(b));
        EXPECT_EQ(out, c.text) << c.text;
        EXPECT_EQ(decoder.Feed('\n'), c.pending + "\n") << c.text;
    }
}

// A pane as OutputLineLimit's steps leave it: the notice flag and the text below it.
struct PaneText {
    bool notice = false;
    std::string body;

    void Apply(const OutputLineLimit::Step& step)
    {
        EXPECT_FALSE(step.addNotice && notice);
        notice = notice || step.addNotice;
        if (step.removeAll)
            body.clear();
        size_t cut = 0;
        for (int i = 0; i < step.removeLines; ++i)
            cut = body.find('\n', cut) + 1;
        body.erase(0, cut);
        body += step.append;
    }
};

TEST(OutputLimit, ThePaneKeepsTheLastLinesWhateverThePiecesAndBatches)
{
    std::string all;
    for (int i = 1; i <= 40; ++i)
        all += "line " + std::to_string(i) + "\n";
    all += "end";
    // Pieces as the user-interface thread may take them: one byte, a few lines, many at once.
    for (size_t piece : {size_t(1), size_t(7), size_t(30), size_t(200)}) {
        SCOPED_TRACE(piece);
        OutputBatch batch(5);
        OutputLineLimit limit(5);
        PaneText pane;
        for (size_t at = 0; at < all.size(); ++at) {
            batch.Add(all[at]);
            if ((at + 1) % piece == 0 || at + 1 == all.size()) {
                // The pane takes a few bytes at a time until the batch is empty.
                bool dropped = false;
                std::string bytes;
                while (batch.Take(bytes, dropped, 4)) {
                    pane.Apply(limit.Add(bytes, dropped));
                    EXPECT_LE(limit.Lines(), 5);
                }
            }
        }
        EXPECT_TRUE(pane.notice);
        EXPECT_EQ(pane.body, "line 36\nline 37\nline 38\nline 39\nline 40\nend");
    }
    // Below the limit nothing goes and no notice shows.
    OutputLineLimit limit(5);
    PaneText pane;
    pane.Apply(limit.Add("a\nb\n", false));
    pane.Apply(limit.Add("c", false));
    EXPECT_FALSE(pane.notice);
    EXPECT_EQ(pane.body, "a\nb\nc");
}

// The reader asks for a visit only when the batch is idle; a visit that finds
// it empty makes it idle again, so no byte waits without a visit to come.
TEST(OutputLimit, ABatchAsksForAVisitOnlyWhenIdle)
{
    OutputBatch batch(3);
    std::string held;
    bool dropped = false;
    EXPECT_TRUE(batch.Add('x'));
    EXPECT_TRUE(batch.Take(held, dropped));
    EXPECT_FALSE(batch.Add('y'));
    EXPECT_TRUE(batch.Take(held, dropped));
    EXPECT_EQ(held, "y");
    EXPECT_FALSE(batch.Take(held, dropped));
    EXPECT_TRUE(batch.Add('z'));
}

// A find thread adds rows (and now and then a rewritten file) while the
// user-interface thread takes them at its own pace, whenever a visit was
// posted: every item arrives once, in order, and none waits without a visit.
TEST(LookupRows, ABatchHandsOverEveryRowInOrderAndAsksForAVisitOnlyWhenIdle)
{
    for (int rows : {1, 5000}) {
        SCOPED_TRACE(rows);
        LookupBatch batch;
        std::mutex mutex;
        int visits = 0;  // posted and not yet made
        std::atomic<bool> done{false};
        std::thread worker([&] {
            for (int i = 0; i < rows; ++i) {
                bool post = batch.Add(LookupEntry::Match("f.e", i + 1, "t"));
                if (i % 100 == 99)
                    post = batch.AddReload("f" + std::to_string(i) + ".e") || post;
                if (post) {
                    std::lock_guard<std::mutex> lock(mutex);
                    ++visits;
                }
            }
            done = true;
        });
        std::vector<std::string> seen;  // a row's line, or the reloaded file
        for (;;) {
            bool visit = false;
            {
                std::lock_guard<std::mutex> lock(mutex);
                if (visits > 0) {
                    --visits;
                    visit = true;
                }
            }
            if (visit) {
                for (LookupBatch::Item& item : batch.Take())
                    seen.push_back(item.reload.empty() ? std::to_string(item.row.Line()) : item.reload);
                continue;
            }
            if (done) {
                std::lock_guard<std::mutex> lock(mutex);
                if (visits == 0)
                    break;
            }
            std::this_thread::yield();
        }
        worker.join();
        std::vector<std::string> expected;
        for (int i = 0; i < rows; ++i) {
            expected.push_back(std::to_string(i + 1));
            if (i % 100 == 99)
                expected.push_back("f" + std::to_string(i) + ".e");
        }
        EXPECT_EQ(seen, expected);
        // Taken whole, the batch is idle: the next row asks for a visit.
        EXPECT_TRUE(batch.Take().empty());
        EXPECT_TRUE(batch.Add(LookupEntry::Message("m")));
        EXPECT_FALSE(batch.AddReload("g.e"));
    }
}

// A job that runs until it is stopped.
class LoopWorker : public Worker {
public:
    LoopWorker()
    {
        thread_ = std::thread([this] {
            while (!stop_)
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
    }
    ~LoopWorker() override
    {
        if (thread_.joinable()) {
            stop_ = true;
            thread_.join();
        }
    }
    void Stop() override
    {
        stop_ = true;
        thread_.join();
        stopped = true;
    }
    bool stopped = false;

private:
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

TEST(WorkerRegistry, StopAllJoinsEveryRunningJobAndRefusesNewOnes)
{
    WorkerRegistry registry;
    LoopWorker compile, find, ended;
    EXPECT_TRUE(registry.Add(&compile));
    EXPECT_TRUE(registry.Add(&find));
    EXPECT_TRUE(registry.Add(&ended));
    registry.Remove(&ended);
    registry.StopAll();
    EXPECT_TRUE(compile.stopped);
    EXPECT_TRUE(find.stopped);
    EXPECT_FALSE(ended.stopped);
    EXPECT_TRUE(registry.Empty());
    LoopWorker late;
    EXPECT_FALSE(registry.Add(&late));
    EXPECT_TRUE(registry.Closed());
}

} // namespace
} // namespace ide
