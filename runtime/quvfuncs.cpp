// quvfuncs.lib: the part of the run-time library that does not depend on a
// program's types, compiled once and optimised. Programs are built without
// optimisation, so whatever runs on every message or every line is here:
// the channels' lock, queue, waiting and waking, the waiting of a process
// that tests channels in a loop (a select), and the line-atomic standard output.
#include "quv.hpp"

#include <errno.h>
#include <fcntl.h>
#include <pthread.h>
#include <sched.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace quv_runtime {
namespace {

// ---- when waiting by spinning pays ----

long nowNs() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000000000L + t.tv_nsec;
}

void spinPause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

// Whether more threads are ready to run than there are processors, from
// the system's count of runnable threads, read again every few milliseconds.
class Crowding {
public:
    Crowding() : fd(::open("/proc/loadavg", O_RDONLY | O_CLOEXEC)) {}

    bool crowded() {
        const long now = nowNs();
        long at = sampledAt.load(std::memory_order_relaxed);
        if (now - at > periodNs && sampledAt.compare_exchange_strong(at, now, std::memory_order_relaxed))
            sample();
        return isCrowded.load(std::memory_order_relaxed);
    }

private:
    // The fourth field of /proc/loadavg: runnable threads "/" all threads.
    void sample() {
        if (fd < 0)
            return;
        char text[128];
        const ssize_t n = ::pread(fd, text, sizeof text - 1, 0);
        if (n <= 0)
            return;
        text[n] = '\0';
        const char* p = text;
        for (int blanks = 0; *p && blanks < 3; ++p)
            if (*p == ' ')
                ++blanks;
        const long runnable = std::strtol(p, nullptr, 10);
        const long processors = sysconf(_SC_NPROCESSORS_ONLN);
        isCrowded.store(runnable > processors, std::memory_order_relaxed);
    }

    static constexpr long periodNs = 5000000;
    std::atomic<long> sampledAt{-periodNs - 1};
    std::atomic<bool> isCrowded{false};
    const int fd;
};

// A partner can answer a spinning thread only while it runs on another
// processor: not with one processor allowed (threads inherit their
// creator's processors, so the calling thread's set stands for its
// partner's), nor while more threads are ready to run than there are
// processors, when the spin takes the time the partner needs.
bool spinningPays() {
    static thread_local int processors = 0;
    if (processors == 0) {
        cpu_set_t set;
        processors = sched_getaffinity(0, sizeof set, &set) == 0 ? CPU_COUNT(&set) : 1;
        if (processors < 1)
            processors = 1;
    }
    static Crowding* crowding = new Crowding;
    return processors > 1 && !crowding->crowded();
}

// How long one side of a channel spins before it blocks, learnt from how the
// last waits ended: a wait the spin saw through lets the next spin longer
// (at least twice as long as it took); a spin that had to give up halves the
// next. Once spinning has stopped paying (a loaded machine, a partner that
// is often not running), only every 32nd wait tries again, for the longest
// spin: long enough to see a partner through its wake-up, after which both
// sides find each other running again.
class SpinBudget {
public:
    template <typename Ready>
    bool spin(Ready ready) {
        if (ready())
            return true;
        if (!spinningPays())
            return false;
        long budget = budgetNs.load(std::memory_order_relaxed);
        if (budget == 0) {
            if (skipped.fetch_add(1, std::memory_order_relaxed) % 32 != 31)
                return false;
            budget = most;
        }
        long start = 0;
        for (unsigned i = 0;; ++i) {
            if (ready()) {
                const long took = start == 0 ? 0 : nowNs() - start;
                budgetNs.store(std::min(most, std::max(2 * took, budget + budget / 4) + least),
                               std::memory_order_relaxed);
                return true;
            }
            spinPause();
            if ((i & 15) == 15) {
                const long now = nowNs();
                if (start == 0)
                    start = now;
                else if (now - start > budget)
                    break;
            }
        }
        budgetNs.store(budget / 2 < least ? 0 : budget / 2, std::memory_order_relaxed);
        return ready();
    }

private:
    static constexpr long least = 2000;  // ns
    static constexpr long most = 60000;
    std::atomic<long> budgetNs{most};
    std::atomic<unsigned> skipped{0};
};

// ---- processes that test channels in a loop ----

// A select that finds no guard true tests them all again at once; so does a
// loop over a channel test. Such a thread first spins through its tests
// briefly, then says it is waiting and sleeps until some channel changes, or
// a while passes, since a guard may also wait on a variable or on nothing a
// channel knows. The channels wake the waiting testers only while there are any.
struct Testers {
    std::atomic<unsigned> waiting{0};
    std::atomic<unsigned long> changes{0};
    std::mutex mutex;
    std::condition_variable changed;
};

// Never destroyed: processes may still test channels while the program ends.
Testers& testers() {
    static Testers* t = new Testers;
    return *t;
}

// Called after a channel changed while a tester was waiting.
void channelChanged() {
    Testers& t = testers();
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        t.changes.fetch_add(1, std::memory_order_release);
    }
    t.changed.notify_all();
}

// Called with a channel's lock held: a tester that said it waits before it
// took that lock to test the channel is seen here, and one that takes the
// lock after this change sees the change itself.
bool testersWait() {
    return testers().waiting.load(std::memory_order_relaxed) > 0;
}

// One thread's run of failed tests.
class Tests {
public:
    ~Tests() { end(); }

    // The changes counter before a test; read before the channel is looked at.
    static unsigned long changes() { return testers().changes.load(std::memory_order_acquire); }

    // The outcome of a test of channel, with the changes counter read before it.
    bool outcome(bool ready, const void* channel, unsigned long before) {
        if (ready) {
            end();
            return true;
        }
        const long now = nowNs();
        // Tests far apart are a thread that does other work between them.
        if (lastFailure == 0 || now - lastFailure > gapNs) {
            end();
            runStart = now;
        }
        lastFailure = now;
        ++failures;
        if (!waiting) {
            const bool spin = spinningPays() ? now - runStart < spinNs : failures < 3;
            if (spin) {
                spinPause();
                return false;
            }
            testers().waiting.fetch_add(1, std::memory_order_seq_cst);
            waiting = true;
            marked = false;
            return false;
        }
        // Sleep only when every test since the mark came after it: a test of
        // the marked channel again closes one round of the loop.
        if (!marked) {
            marked = true;
            mark = before;
            markedChannel = channel;
            testsSinceMark = 0;
            return false;
        }
        if (channel != markedChannel && ++testsSinceMark < 64)
            return false;
        sleep();
        marked = false;
        lastFailure = nowNs();
        return false;
    }

    // The thread does something else than test: its run ends.
    void end() {
        if (lastFailure == 0 && !waiting)
            return;
        if (waiting)
            testers().waiting.fetch_sub(1, std::memory_order_relaxed);
        waiting = false;
        marked = false;
        lastFailure = 0;
        failures = 0;
        timeout = std::chrono::microseconds(50);
    }

private:
    void sleep() {
        Testers& t = testers();
        std::unique_lock<std::mutex> lock(t.mutex);
        const bool changed = t.changed.wait_for(
            lock, timeout, [&] { return t.changes.load(std::memory_order_relaxed) != mark; });
        if (changed)
            timeout = std::chrono::microseconds(50);
        else
            timeout = std::min(timeout * 2, std::chrono::microseconds(2000));
    }

    static constexpr long gapNs = 2000;
    static constexpr long spinNs = 10000;
    long lastFailure = 0;
    long runStart = 0;
    unsigned failures = 0;
    bool waiting = false;
    bool marked = false;
    unsigned long mark = 0;
    const void* markedChannel = nullptr;
    unsigned testsSinceMark = 0;
    std::chrono::microseconds timeout{50};
};

thread_local Tests tests;

// ---- the queue of a channel ----

// A first-in first-out queue of slots of one type, in chunks that never
// move, so a value needs no moving while the queue grows. An emptied queue
// starts its chunk again from the front; one spare chunk is kept.
class SlotQueue {
public:
    explicit SlotQueue(const SlotType& type) : type(type) {
        align = std::max(type.align, alignof(Chunk*));
        slotSize = (type.size + type.align - 1) / type.align * type.align;
        dataOffset = (sizeof(Chunk) + align - 1) / align * align;
        perChunk = std::max<std::size_t>(8, 4096 / slotSize);
    }
    ~SlotQueue() {
        while (count > 0) {
            if (type.destroy)
                type.destroy(front());
            advance();
        }
        release(head);
        release(spare);
    }
    SlotQueue(const SlotQueue&) = delete;
    SlotQueue& operator=(const SlotQueue&) = delete;

    bool empty() const { return count == 0; }
    std::size_t size() const { return count; }

    void push(const void* value) {
        if (!tail) {
            head = tail = take();
        } else if (tailIndex == perChunk) {
            tail->next = take();
            tail = tail->next;
            tailIndex = 0;
        }
        void* slot = data(tail) + tailIndex * slotSize;
        if (type.copyIn)
            type.copyIn(slot, value);
        else
            std::memcpy(slot, value, type.size);
        ++tailIndex;
        ++count;
    }

    void pop(void* variable) {
        void* slot = front();
        if (type.copyOut)
            type.copyOut(variable, slot);
        else
            std::memcpy(variable, slot, type.size);
        advance();
    }

private:
    struct Chunk {
        Chunk* next;
    };
    char* data(Chunk* c) const { return reinterpret_cast<char*>(c) + dataOffset; }
    void* front() const { return data(head) + headIndex * slotSize; }
    void advance() {
        ++headIndex;
        --count;
        if (count == 0) {
            headIndex = tailIndex = 0;
            return;
        }
        if (headIndex == perChunk) {
            Chunk* done = head;
            head = head->next;
            headIndex = 0;
            keep(done);
        }
    }
    Chunk* take() {
        Chunk* c = spare;
        spare = nullptr;
        if (!c)
            c = static_cast<Chunk*>(::operator new(dataOffset + perChunk * slotSize, std::align_val_t(align)));
        c->next = nullptr;
        return c;
    }
    void keep(Chunk* c) {
        c->next = nullptr;
        if (spare)
            drop(c);
        else
            spare = c;
    }
    void release(Chunk* c) {
        while (c) {
            Chunk* next = c->next;
            drop(c);
            c = next;
        }
    }
    void drop(Chunk* c) { ::operator delete(c, std::align_val_t(align)); }

    const SlotType type;
    std::size_t align, slotSize, dataOffset, perChunk;
    Chunk* head = nullptr;
    Chunk* tail = nullptr;
    Chunk* spare = nullptr;
    std::size_t headIndex = 0, tailIndex = 0, count = 0;
};

}  // namespace

// ---- channels ----

// A side that blocks says so, and only then is it woken: when both sides are
// ready a rendezvous takes no system call, and a queue whose receiver keeps
// up is never notified. Each side spins first while spinning pays.
struct ChannelCore::State {
    explicit State(const SlotType& type) : queue(type) {}

    std::mutex mutex;
    std::condition_variable arrived;  // receivers that wait for a value
    std::condition_variable taken;    // synchronous senders that wait for their receive
    SlotQueue queue;
    unsigned long sent = 0;
    unsigned receiversWaiting = 0;
    unsigned sendersWaiting = 0;
    // Written under the lock, read by the spinning side without it.
    std::atomic<std::size_t> waiting{0};  // the queue's length
    std::atomic<unsigned long> received{0};
    SpinBudget sendSpin, receiveSpin;
};

ChannelCore::ChannelCore(const SlotType& type) : state(new State(type)) {}

ChannelCore::~ChannelCore() {
    delete state;
}

void ChannelCore::send(const void* value, bool synchronous) {
    tests.end();
    State& s = *state;
    unsigned long mine;
    bool receiverWoken, wakeTesters;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.queue.push(value);
        mine = ++s.sent;
        s.waiting.store(s.queue.size(), std::memory_order_release);
        receiverWoken = s.receiversWaiting > 0;
        wakeTesters = testersWait();
    }
    // Notified after the lock is free, so that a receiver woken on this
    // processor finds it free. The sender keeps the channel alive.
    if (receiverWoken)
        s.arrived.notify_one();
    if (wakeTesters)
        channelChanged();
    if (!synchronous)
        return;
    auto received = [&] { return s.received.load(std::memory_order_acquire) >= mine; };
    if (s.sendSpin.spin(received))
        return;
    std::unique_lock<std::mutex> lock(s.mutex);
    if (received())
        return;
    ++s.sendersWaiting;
    s.taken.wait(lock, received);
    --s.sendersWaiting;
}

void ChannelCore::receive(void* variable) {
    tests.end();
    State& s = *state;
    // The spin comes before the lock, so the sender finds the lock free.
    s.receiveSpin.spin([&] { return s.waiting.load(std::memory_order_acquire) > 0; });
    bool wakeTesters;
    {
        std::unique_lock<std::mutex> lock(s.mutex);
        if (s.queue.empty()) {
            ++s.receiversWaiting;
            s.arrived.wait(lock, [&] { return !s.queue.empty(); });
            --s.receiversWaiting;
        }
        s.queue.pop(variable);
        s.waiting.store(s.queue.size(), std::memory_order_relaxed);
        s.received.store(s.received.load(std::memory_order_relaxed) + 1, std::memory_order_release);
        // Notified under the lock: a sender that returns may end the channel.
        if (s.sendersWaiting > 0)
            s.taken.notify_all();
        wakeTesters = testersWait();
    }
    if (wakeTesters)
        channelChanged();
}

bool ChannelCore::canSend(bool synchronous) {
    if (!synchronous)
        return tests.outcome(true, this, 0);
    const unsigned long before = Tests::changes();
    bool empty;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        empty = state->queue.empty();
    }
    return tests.outcome(empty, this, before);
}

bool ChannelCore::canReceive() {
    const unsigned long before = Tests::changes();
    bool any;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        any = !state->queue.empty();
    }
    return tests.outcome(any, this, before);
}

// ---- line-atomic standard output ----

namespace {

// What one thread wrote to std::cout and has not sent yet. Never freed: a
// thread that ends leaves its text for the next thread that starts.
struct ThreadText {
    std::mutex mutex;
    std::string text;
    bool inUse = false;
};

struct Output {
    std::mutex writing;  // one write(2) at a time; guards the list too
    std::vector<ThreadText*> texts;
    pthread_key_t key;
};

Output& output() {
    static Output* o = new Output;
    return *o;
}

thread_local ThreadText* current = nullptr;

// Sends the first `end` bytes of t's text with one write, as far as the
// system takes it at once. Called with t's lock held.
bool sendText(ThreadText& t, std::size_t end) {
    if (end == 0)
        return true;
    bool ok = true;
    {
        std::lock_guard<std::mutex> lock(output().writing);
        const char* p = t.text.data();
        std::size_t left = end;
        while (left > 0) {
            const ssize_t n = ::write(1, p, left);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                ok = false;
                break;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    t.text.erase(0, end);
    return ok;
}

// A thread's end sends what it left unfinished.
void threadEnded(void* p) {
    ThreadText* t = static_cast<ThreadText*>(p);
    {
        std::lock_guard<std::mutex> lock(t->mutex);
        sendText(*t, t->text.size());
    }
    std::lock_guard<std::mutex> lock(output().writing);
    t->inUse = false;
    current = nullptr;
}

ThreadText& threadText() {
    if (current)
        return *current;
    Output& o = output();
    {
        std::lock_guard<std::mutex> lock(o.writing);
        for (ThreadText* t : o.texts)
            if (!t->inUse) {
                current = t;
                break;
            }
        if (!current) {
            current = new ThreadText;
            o.texts.push_back(current);
        }
        current->inUse = true;
    }
    pthread_setspecific(o.key, current);
    return *current;
}

// std::cout's buffer: each thread's text goes out whole at its line end or
// when the stream is flushed, so the text of one output statement never mixes
// with another process's (a line made of several flushed writes can). It has
// no put area of its own, so the stream's threads share nothing but the lock
// of the one write.
class LineBuffer : public std::streambuf {
protected:
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        ThreadText& t = threadText();
        std::lock_guard<std::mutex> lock(t.mutex);
        t.text.push_back(traits_type::to_char_type(c));
        if ((c == '\n' || t.text.size() >= longest) && !sendText(t, t.text.size()))
            return traits_type::eof();
        return c;
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        ThreadText& t = threadText();
        std::lock_guard<std::mutex> lock(t.mutex);
        const std::size_t before = t.text.size();
        t.text.append(s, static_cast<std::size_t>(n));
        // Only the new piece can hold a line end: what came before had none.
        const void* lineEnd = memrchr(s, '\n', static_cast<std::size_t>(n));
        std::size_t end = lineEnd ? before + (static_cast<const char*>(lineEnd) - s) + 1 : 0;
        if (t.text.size() >= longest)
            end = t.text.size();
        return sendText(t, end) ? n : 0;
    }
    int sync() override {
        ThreadText& t = threadText();
        std::lock_guard<std::mutex> lock(t.mutex);
        return sendText(t, t.text.size()) ? 0 : -1;
    }

private:
    // An unfinished line this long goes out in parts.
    static constexpr std::size_t longest = 65536;
};

void flushAtExit() {
    flush_output();
}

}  // namespace

void flush_output() {
    std::vector<ThreadText*> texts;
    {
        std::lock_guard<std::mutex> lock(output().writing);
        texts = output().texts;
    }
    for (ThreadText* t : texts) {
        std::lock_guard<std::mutex> lock(t->mutex);
        sendText(*t, t->text.size());
    }
}

bool install_line_output() {
    static const bool installed = [] {
        pthread_key_create(&output().key, threadEnded);
        // Never destroyed: std::cout is flushed after every other destructor.
        std::cout.rdbuf(new LineBuffer);
        std::atexit(flushAtExit);
        return true;
    }();
    return installed;
}

}  // namespace quv_runtime
