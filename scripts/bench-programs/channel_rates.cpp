// Values a second through the run-time library's channels between two
// threads: synchronous (each send waits for its receive), asynchronous (a
// queue), and beside them a plain mutex-and-condition-variable queue as the
// yardstick, all in one run.
//
//     channel_rates [VALUES]      (default 2,000,000; the synchronous run a tenth)
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <thread>

#include "quv.hpp"

namespace {

// The yardstick: one mutex, one condition variable notified on every value.
class PlainQueue {
public:
    void send(long v) {
        {
            std::lock_guard<std::mutex> lock(mutex);
            queue.push_back(v);
        }
        ready.notify_one();
    }
    void recv(long* v) {
        std::unique_lock<std::mutex> lock(mutex);
        ready.wait(lock, [&] { return !queue.empty(); });
        *v = queue.front();
        queue.pop_front();
    }

private:
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<long> queue;
};

// Seconds for `count` values from a sending thread to this one; exits on a
// value out of order.
template <typename Send, typename Recv>
double run(long count, Send send, Recv recv) {
    const auto start = std::chrono::steady_clock::now();
    std::thread sender([&] {
        for (long i = 0; i < count; ++i)
            send(i);
    });
    for (long i = 0; i < count; ++i) {
        long v = -1;
        recv(&v);
        if (v != i) {
            std::fprintf(stderr, "channel_rates: value %ld arrived as %ld\n", i, v);
            std::exit(1);
        }
    }
    sender.join();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void row(const char* name, long count, double seconds, double yardstick) {
    std::printf("%-28s %10ld %9.3f %14.0f %10.2f\n", name, count, seconds, count / seconds,
                yardstick > 0 ? (count / seconds) / yardstick : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
    const long count = argc > 1 ? std::atol(argv[1]) : 2000000;
    const long synCount = count / 10 > 0 ? count / 10 : 1;
    PlainQueue plain;
    const double plainSeconds = run(count, [&](long v) { plain.send(v); }, [&](long* v) { plain.recv(v); });
    const double plainRate = count / plainSeconds;
    Channel<long> asyn;
    const double asynSeconds = run(count, [&](long v) { asyn.asyn_send(v); }, [&](long* v) { asyn.asyn_recv(v); });
    Channel<long> syn;
    const double synSeconds = run(synCount, [&](long v) { syn.syn_send(v); }, [&](long* v) { syn.syn_recv(v); });
    std::printf("%-28s %10s %9s %14s %10s\n", "channel", "values", "seconds", "values/s", "vs queue");
    row("mutex+condvar queue", count, plainSeconds, plainRate);
    row("asynchronous channel", count, asynSeconds, plainRate);
    row("synchronous channel", synCount, synSeconds, plainRate);
    return 0;
}
