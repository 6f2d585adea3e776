// The yardstick of scripts/bench-programs/channel_sum.e: a producer thread
// sends 1..COUNT to a consumer thread, which prints their sum mod 1000003,
// through one mutex and one condition variable, either as a rendezvous (each
// send waits until its value was taken) or as a queue whose sender notifies
// only when the queue was empty (a receiver waits only then).
//
//     channel_sum rendezvous|queue [COUNT]      (default 200,000)
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

namespace {

int count = 200000;

class Rendezvous {
public:
    void send(int v) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return !full; });
        value = v;
        full = true;
        changed.notify_all();
        changed.wait(lock, [&] { return !full; });
    }
    int receive() {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return full; });
        full = false;
        changed.notify_all();
        return value;
    }

private:
    std::mutex mutex;
    std::condition_variable changed;
    int value = 0;
    bool full = false;
};

class Queue {
public:
    void send(int v) {
        bool wasEmpty;
        {
            std::lock_guard<std::mutex> lock(mutex);
            wasEmpty = queue.empty();
            queue.push_back(v);
        }
        if (wasEmpty)
            ready.notify_one();
    }
    int receive() {
        std::unique_lock<std::mutex> lock(mutex);
        ready.wait(lock, [&] { return !queue.empty(); });
        const int v = queue.front();
        queue.pop_front();
        return v;
    }

private:
    std::mutex mutex;
    std::condition_variable ready;
    std::deque<int> queue;
};

template <typename Channel>
void exchange() {
    Channel channel;
    std::thread producer([&] {
        for (int i = 1; i <= count; ++i)
            channel.send(i);
    });
    int s = 0;
    for (int k = 0; k < count; ++k)
        s = (s + channel.receive()) % 1000003;
    producer.join();
    std::printf("%d\n", s);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3)
        count = std::atoi(argv[2]);
    if ((argc == 2 || argc == 3) && count > 0 && std::strcmp(argv[1], "rendezvous") == 0)
        exchange<Rendezvous>();
    else if ((argc == 2 || argc == 3) && count > 0 && std::strcmp(argv[1], "queue") == 0)
        exchange<Queue>();
    else {
        std::fprintf(stderr, "usage: channel_sum rendezvous|queue [COUNT]\n");
        return 2;
    }
    return 0;
}
