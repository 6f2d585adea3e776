// The run-time library that generated programs include, under ThreadSanitizer:
// channels (rendezvous, queue order, the can_ tests, many threads, values
// that own memory, the queue against a plain one, a select that waits, two
// processes on one processor), the parameter block and channel link of
// started processes, thread start and end, the functions the built-ins call,
// and the line-atomic standard output.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <time.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <fstream>
#include <map>
#include <random>
#include <regex>
#include <thread>
#include <vector>

#include "quv.hpp"

namespace {

using namespace std::chrono_literals;

TEST(Channel, ASynchronousSendWaitsForItsReceiver) {
    Channel<int> c;
    std::atomic<bool> returned{false};
    std::thread sender([&] {
        c.syn_send(7);
        returned = true;
    });
    std::this_thread::sleep_for(50ms);
    EXPECT_FALSE(returned);
    int v = 0;
    c.syn_recv(&v);
    sender.join();
    EXPECT_EQ(v, 7);
    EXPECT_TRUE(returned);
}

// One queue serves both styles: values sent either way arrive in order, received either way.
TEST(Channel, ValuesArriveInSendingOrderWhateverTheStyle) {
    Channel<int> c;
    std::thread sender([&] {
        for (int i = 0; i < 1000; ++i) {
            if (i % 3 == 0)
                c.syn_send(i);
            else
                c.asyn_send(i);
        }
    });
    for (int i = 0; i < 1000; ++i) {
        int v = -1;
        if (i % 2)
            c.syn_recv(&v);
        else
            c.asyn_recv(&v);
        ASSERT_EQ(v, i);
    }
    sender.join();
}

TEST(Channel, NonBlockingTests) {
    Channel<std::string> c;
    const struct {
        const char* state;
        bool synCanSend, asynCanSend, synCanRecv, asynCanRecv;
    } expected[] = {{"empty", true, true, false, false}, {"one value waiting", false, true, true, true}};
    for (int step = 0; step < 2; ++step) {
        SCOPED_TRACE(expected[step].state);
        EXPECT_EQ(c.syn_can_send(), expected[step].synCanSend);
        EXPECT_EQ(c.asyn_can_send(), expected[step].asynCanSend);
        EXPECT_EQ(c.syn_can_recv(), expected[step].synCanRecv);
        EXPECT_EQ(c.asyn_can_recv(), expected[step].asynCanRecv);
        c.asyn_send("x");
    }
}

TEST(Channel, ArraysTravelWhole) {
    Channel<int[3]> c;
    int a[3] = {1, 2, 3}, b[3] = {0, 0, 0};
    c.asyn_send(a);
    a[0] = 9;
    c.asyn_recv(&b);
    EXPECT_EQ(b[0], 1);
    EXPECT_EQ(b[2], 3);
}

TEST(Channel, ManySendersAndReceivers) {
    Channel<int> c;
    const int senders = 6, receivers = 3, each = 500;
    std::vector<std::thread> threads;
    for (int s = 0; s < senders; ++s)
        threads.emplace_back([&, s] {
            for (int i = 0; i < each; ++i) {
                int v = s * each + i;
                if (s % 2)
                    c.syn_send(v);
                else
                    c.asyn_send(v);
            }
        });
    std::vector<std::vector<int>> got(receivers);
    std::vector<std::thread> readers;
    for (int r = 0; r < receivers; ++r)
        readers.emplace_back([&, r] {
            for (int i = 0; i < senders * each / receivers; ++i) {
                int v;
                c.syn_recv(&v);
                got[r].push_back(v);
            }
        });
    for (auto& t : threads)
        t.join();
    for (auto& t : readers)
        t.join();
    std::vector<int> seen(senders * each, 0);
    for (int r = 0; r < receivers; ++r) {
        std::map<int, int> lastOfSender;
        for (int v : got[r]) {
            ++seen[v];
            // Values of one sender reach each receiver in their sending order.
            auto last = lastOfSender.find(v / each);
            if (last != lastOfSender.end()) {
                EXPECT_LT(last->second, v);
            }
            lastOfSender[v / each] = v;
        }
    }
    for (int n : seen)
        ASSERT_EQ(n, 1);
    EXPECT_FALSE(c.asyn_can_recv());
}

// Each side in turn runs ahead and falls behind by more than a brief wait, so
// values pass both while the other side is ready (spinning) and while it
// blocks: each still arrives once and in order, and no blocked side is left
// asleep (the test would hang).
TEST(Channel, BlockedSidesAreWokenAndNothingIsLost) {
    const struct {
        const char* name;
        bool synchronous;
        bool slowReceiver;
    } cases[] = {{"synchronous, slow receiver", true, true},
                 {"synchronous, slow sender", true, false},
                 {"asynchronous, slow receiver", false, true},
                 {"asynchronous, slow sender", false, false}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.name);
        Channel<long> c;
        const long count = 3000;
        auto pause = [](long i) {
            if (i % 500 == 499)
                std::this_thread::sleep_for(2ms);
        };
        std::thread sender([&] {
            for (long i = 0; i < count; ++i) {
                if (!k.slowReceiver)
                    pause(i);
                if (k.synchronous)
                    c.syn_send(i);
                else
                    c.asyn_send(i);
            }
        });
        for (long i = 0; i < count; ++i) {
            if (k.slowReceiver)
                pause(i);
            long v = -1;
            if (k.synchronous)
                c.syn_recv(&v);
            else
                c.asyn_recv(&v);
            ASSERT_EQ(v, i);
        }
        sender.join();
        EXPECT_FALSE(c.syn_can_recv());
        EXPECT_TRUE(c.syn_can_send());
    }
}

// Values that own memory stay whole through a queue that grows past its
// first chunk and empties again; what nobody received is freed with the channel.
TEST(Channel, ValuesThatOwnMemoryTravelAndAreFreed) {
    Channel<std::string> c;
    for (int round = 0; round < 3; ++round) {
        for (int i = 0; i < 5000; ++i)
            c.asyn_send("value " + std::to_string(i) + std::string(i % 40, 'x'));
        for (int i = 0; i < 5000; ++i) {
            std::string v;
            c.asyn_recv(&v);
            ASSERT_EQ(v, "value " + std::to_string(i) + std::string(i % 40, 'x'));
        }
    }
    Channel<std::string> left;
    for (int i = 0; i < 3000; ++i)
        left.asyn_send(std::string(100, 'y'));
}

// The channel's queue against a plain one, in one thread, on random scripts
// of sends, receives and tests that keep it short, long or in between: values
// copied as their bytes (one word, and more than a chunk's worth each) and
// values that own memory, across chunk ends and refills; what is left at the
// end of a script ends with the channel.
template <typename T>
void againstPlainQueue(void (*make)(int, T&)) {
    std::mt19937 random(7);
    for (int script = 0; script < 24; ++script) {
        SCOPED_TRACE(script);
        const unsigned sendShare = 30 + 20 * (script % 3);  // percent of the steps
        Channel<T> c;
        std::deque<int> model;
        for (int step = 0, next = 0; step < 2000; ++step) {
            if (random() % 100 < sendShare) {
                T v;
                make(next, v);
                c.asyn_send(v);
                model.push_back(next++);
            } else if (!model.empty()) {
                T got, expected;
                c.asyn_recv(&got);
                make(model.front(), expected);
                model.pop_front();
                ASSERT_TRUE(quv_runtime::equal(got, expected)) << "step " << step;
            }
            ASSERT_EQ(c.syn_can_recv(), !model.empty()) << "step " << step;
            ASSERT_EQ(c.syn_can_send(), model.empty()) << "step " << step;
        }
    }
}

TEST(Channel, QueueMatchesAPlainQueue) {
    againstPlainQueue<long>([](int i, long& v) { v = 3L * i + 1; });
    againstPlainQueue<std::string>([](int i, std::string& v) { v = "value " + std::to_string(i) + std::string(i % 40, 'x'); });
    againstPlainQueue<int[1100]>([](int i, int (&v)[1100]) {
        for (int k = 0; k < 1100; ++k)
            v[k] = i + k;
    });
}

double threadSeconds() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec + t.tv_nsec / 1e9;
}

// A select that finds no value tests its channels again and again; it sleeps
// between rounds rather than taking a processor, and still takes each value
// that comes, from whichever channel.
TEST(Channel, ASelectThatWaitsLeavesTheProcessorAndTakesEveryValue) {
    Channel<int> one, two;
    const int each = 20;
    std::thread sender([&] {
        for (int i = 0; i < each; ++i) {
            std::this_thread::sleep_for(10ms);
            one.syn_send(i);
            two.asyn_send(1000 + i);
        }
    });
    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = threadSeconds();
    int sum = 0, got = 0;
    while (got < 2 * each) {
        int v;
        if (one.syn_can_recv()) {
            one.syn_recv(&v);
        } else if (two.asyn_can_recv()) {
            two.asyn_recv(&v);
        } else {
            continue;
        }
        sum += v;
        ++got;
    }
    const double cpu = threadSeconds() - cpuStart;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    sender.join();
    EXPECT_EQ(sum, 2 * (each * (each - 1) / 2) + 1000 * each);
    // A busy select would use about all of its wall time.
    EXPECT_LT(cpu, wall / 2) << "cpu " << cpu << " s of " << wall << " s";
}

// Both processes of an exchange on one processor: a side that waits must let
// the other run, or each message costs a whole spin (or hangs).
TEST(Channel, AnExchangeOnOneProcessorEnds) {
    cpu_set_t before, one;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &before)) {
            CPU_SET(cpu, &one);
            break;
        }
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    const auto start = std::chrono::steady_clock::now();
    {
        Channel<long> there, back;
        const long count = 20000;
        std::thread echo([&] {  // started on the one processor, as its starter is
            for (long i = 0; i < count; ++i) {
                long v;
                there.syn_recv(&v);
                back.syn_send(v + 1);
            }
        });
        long sum = 0;
        for (long i = 0; i < count; ++i) {
            there.syn_send(i);
            long v;
            back.syn_recv(&v);
            sum += v;
        }
        echo.join();
        EXPECT_EQ(sum, count * (count - 1) / 2 + count);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ASSERT_EQ(sched_setaffinity(0, sizeof before, &before), 0);
    EXPECT_LT(seconds, 60.0);
}

// The starter fills the block by formal name, in any order and number; each
// formal takes its actual by name and converts it to its own type.
TEST(ProcessBlock, FormalsTakeTheirActualsByName) {
    quv_runtime::ProcessBlock block;
    int variable = 3;
    int array[2] = {4, 5};
    float other = 1.5f;
    block.put_ref<int>("r", variable);
    block.put_value<int[2]>("a", array);
    block.put_value<int>("n", 7);
    block.put_value<std::string>("s", "text");
    block.put_ref<float>("f", other);
    array[0] = 0;  // the block holds its own copy

    float asFloat = 0;
    block.take("n", asFloat);
    EXPECT_EQ(asFloat, 7.0f);
    int copy[2] = {0, 0};
    block.take("a", copy);
    EXPECT_EQ(copy[0], 4);
    EXPECT_EQ(copy[1], 5);
    std::string s;
    block.take("s", s);
    EXPECT_EQ(s, "text");
    int missing = 11;
    block.take("absent", missing);
    EXPECT_EQ(missing, 11);

    int fallback = 0;
    int& r = block.ref("r", fallback);
    r = 30;
    EXPECT_EQ(variable, 30);
    // A reference of another type cannot alias the variable: the formal gets a converted copy.
    int intFallback = 0;
    int& f = block.ref("f", intFallback);
    EXPECT_EQ(&f, &intFallback);
    EXPECT_EQ(intFallback, 1);
    std::string stringFallback = "kept";
    block.take("n", stringFallback);  // no conversion from a number to a String
    EXPECT_EQ(stringFallback, "kept");
}

void worker(void* params) {
    auto* block = static_cast<quv_runtime::ProcessBlock*>(params);
    Channel<int>* out = block->create_channel<Channel<int>*>("o");
    Channel<int>* in = block->await_channel<Channel<int>*>("i");
    int n = 0;
    block->take("n", n);
    for (int k = 0; k < n; ++k) {
        int v;
        in->syn_recv(&v);
        out->syn_send(v * 2);
    }
    block->finish();
    _endthread();
}

void echo(void* params) {
    auto* block = static_cast<quv_runtime::ProcessBlock*>(params);
    Channel<int>* out = block->create_channel<Channel<int>*>("o");
    Channel<int>* in = block->await_channel<Channel<int>*>("i");
    int n = 0;
    block->take("n", n);
    for (int k = 0; k < n; ++k) {
        out->syn_send(k);
        int v;
        in->syn_recv(&v);
        int& sum = block->ref("sum", n);
        sum += v;
    }
    block->finish();
    _endthread();
}

// Two processes linked both ways, as a parallel statement starts them; each
// makes its output channel before it waits for its input.
TEST(ProcessBlock, TwoProcessesTalkBothWaysAndEnd) {
    for (int round = 0; round < 20; ++round) {
        quv_runtime::ChannelLink toWorker, toEcho;
        quv_runtime::ProcessBlock w, e;
        int sum = 0;
        w.put_channel("o", &toEcho);
        w.put_channel("i", &toWorker);
        w.put_value<int>("n", 10);
        e.put_channel("o", &toWorker);
        e.put_channel("i", &toEcho);
        e.put_value<int>("n", 10);
        e.put_ref<int>("sum", sum);
        ASSERT_NE(_beginthread(worker, 0, &w), static_cast<std::uintptr_t>(-1));
        ASSERT_NE(_beginthread(echo, 0, &e), static_cast<std::uintptr_t>(-1));
        w.wait_end();
        e.wait_end();
        EXPECT_TRUE(w.end);
        EXPECT_EQ(sum, 90);
    }
}

TEST(ProcessBlock, AnUnboundControlEndsTheProgramWithAnError) {
    quv_runtime::ProcessBlock b;
    CONTROL unbound;
    EXPECT_EXIT(_beginthread(unbound, 0, &b), ::testing::ExitedWithCode(1),
                "quv: error: a process is started through a control variable that was never bound to a process");
}

TEST(BuiltIns, StreamsAndConversions) {
    const std::string path = std::string(QUV_SCRATCH_DIR) + "/stream.txt";
    std::remove(path.c_str());
    STREAM f;
    f.open(path.c_str());  // a new file is created
    ASSERT_TRUE(f.is_open());
    f << "ab";
    quveof(f, "END");
    f.close();
    f.open(path);
    char c = 0;
    f.get(c);
    f.pushback(c);
    f.get(c);
    EXPECT_EQ(c, 'a');
    std::string rest;
    f >> rest;
    EXPECT_EQ(rest, "bEND");
    while (f.get(c)) {
    }
    EXPECT_TRUE(f.eof());
    f.pushback('z');  // also after the end was met
    EXPECT_TRUE(f.get(c));
    EXPECT_EQ(c, 'z');

    EXPECT_EQ(itoc(65), "A");
    EXPECT_EQ(strlen(std::string("four")), 4);
    EXPECT_EQ(quv_runtime::text(2.5f), "2.5");
    EXPECT_EQ(std::string("n=") + quv_runtime::text(true), "n=1");
}

TEST(BuiltIns, Equality) {
    int a[2][2] = {{1, 2}, {3, 4}}, b[2][2] = {{1, 2}, {3, 4}};
    EXPECT_TRUE(quv_runtime::equal(a, b));
    b[1][1] = 5;
    EXPECT_FALSE(quv_runtime::equal(a, b));
    STREAM s1, s2;
    EXPECT_FALSE(quv_runtime::equal(s1, s2));  // files have no value to compare
}

// Runs write() with standard output sent to a file, and returns what reached it.
template <typename Write>
std::string capturedOutput(Write write) {
    // CTest runs the tests of this file side by side, each in a process of its own.
    const std::string path = std::string(QUV_SCRATCH_DIR) + "/stdout." + std::to_string(getpid()) + ".txt";
    std::cout.flush();
    std::fflush(stdout);
    const int saved = dup(1);
    const int file = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(file, 1);
    close(file);
    write();
    std::cout.flush();
    dup2(saved, 1);
    close(saved);
    std::ifstream in(path, std::ios::binary);
    std::string text(std::istreambuf_iterator<char>(in), {});
    std::remove(path.c_str());
    return text;
}

// Threads that write side by side, each line in several pieces as a program's
// Writeln does: every line arrives whole and each thread's lines in their order.
TEST(Output, LinesOfThreadsSideBySideArriveWhole) {
    const int threads = 4, lines = 2000;
    const std::string out = capturedOutput([&] {
        std::vector<std::thread> writers;
        for (int t = 0; t < threads; ++t)
            writers.emplace_back([t] {
                for (int i = 1; i <= lines; ++i)
                    std::cout << "thread " << t << " line " << i << " of " << lines << std::endl << std::flush;
            });
        for (auto& w : writers)
            w.join();
    });
    std::istringstream in(out);
    std::string line;
    const std::regex whole("thread ([0-9]+) line ([0-9]+) of 2000");
    std::vector<int> next(threads, 1);
    while (std::getline(in, line)) {
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, whole)) << line;
        const int t = std::stoi(m[1]);
        ASSERT_LT(t, threads);
        ASSERT_EQ(std::stoi(m[2]), next[t]) << "thread " << t << "'s lines out of order";
        ++next[t];
    }
    for (int t = 0; t < threads; ++t)
        EXPECT_EQ(next[t], lines + 1) << "thread " << t;
}

// One thread's text is the bytes it wrote, whatever the pieces: characters,
// a flush in the middle, a long line; the text after its last line end goes
// out when the thread ends, or when the program ends (flush_output).
TEST(Output, OneThreadsBytesAreKept) {
    const std::string longLine(200000, 'z');
    const std::string out = capturedOutput([&] {
        std::thread writer([&] {
            std::cout << "a" << 1 << ' ' << 2.5f << std::flush << "b\n" << "c\nd" << std::endl;
            std::cout.put('e');
            std::cout << longLine << std::endl;
            std::cout << "no end";
        });
        writer.join();
        std::cout << ", last";
        quv_runtime::flush_output();
    });
    EXPECT_EQ(out, "a1 2.5b\nc\nd\ne" + longLine + "\nno end, last");
}

}  // namespace
