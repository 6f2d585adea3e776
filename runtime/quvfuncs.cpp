// quvfuncs.lib: the part of the run-time library that does not depend on a
// program's types, compiled once and optimised. Programs are built without
// optimisation, so whatever runs on every message or every line is here:
// the channels' lock, queue, waiting and waking, the waiting of a process
// that tests channels in a loop (a select), and the line-atomic standard output.
#include "quv.hpp"

#include <errno.h>
#include <fcntl.h>
#include <linux/futex.h>
#include <pthread.h>
#include <sched.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
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
    std::atomic<unsigned long> changes{0};
    std::mutex mutex;
    std::condition_variable changed;
};

// How many testers wait: read on every send and receive, so it is a plain
// word, set before any code runs and never destroyed.
std::atomic<unsigned> testersWaiting{0};

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

// Called after a channel's change was published: a tester that said it waits
// before it tested the channel is seen here, and one that says so after this
// sees the change itself (both in the one order of sequentially consistent
// operations).
bool testersWait() {
    return testersWaiting.load(std::memory_order_seq_cst) > 0;
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
            testersWaiting.fetch_add(1, std::memory_order_seq_cst);
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
            testersWaiting.fetch_sub(1, std::memory_order_relaxed);
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
// move, so a value needs no moving while the queue grows. Its sending end and
// its receiving end are used by one thread at a time each, side by side: the
// count that says how far the sending end has got (End below) publishes
// the slots, the first chunk and the link to a next one. A chunk the
// receiving end has left is kept for the sending end as a spare, one at a time.
class SlotQueue {
public:
    explicit SlotQueue(const SlotType& type) : type(type) {
        align = std::max(type.align, alignof(Chunk*));
        slotSize = (type.size + type.align - 1) / type.align * type.align;
        dataOffset = (sizeof(Chunk) + align - 1) / align * align;
        perChunk = std::max<std::size_t>(8, 4096 / slotSize);
    }
    // Ends the `left` values nobody received; no end is in use any more.
    void discard(std::size_t left) {
        for (; left > 0; --left) {
            void* slot = front();
            if (type.destroy)
                type.destroy(slot);
            ++headIndex;
        }
    }
    ~SlotQueue() {
        if (!head)
            head = first;
        while (head) {
            Chunk* next = head->next;
            drop(head);
            head = next;
        }
        drop(spare.load(std::memory_order_acquire));
    }
    SlotQueue(const SlotQueue&) = delete;
    SlotQueue& operator=(const SlotQueue&) = delete;

    // The sending end: the value goes into the next slot, not yet published.
    void push(const void* value) {
        if (!tail) {
            tail = first = take();
        } else if (tailIndex == perChunk) {
            Chunk* c = take();
            tail->next = c;
            tail = c;
            tailIndex = 0;
        }
        void* slot = data(tail) + tailIndex * slotSize;
        if (type.copyIn)
            type.copyIn(slot, value);
        else
            copyBytes(slot, value);
        ++tailIndex;
    }

    // The receiving end: the front value, which has been published.
    void pop(void* variable) {
        void* slot = front();
        if (type.copyOut)
            type.copyOut(variable, slot);
        else
            copyBytes(variable, slot);
        ++headIndex;
    }

private:
    struct Chunk {
        Chunk* next;
    };
    char* data(Chunk* c) const { return reinterpret_cast<char*>(c) + dataOffset; }
    // The usual sizes of a value copied as its bytes are copied as one word.
    void copyBytes(void* to, const void* from) const {
        switch (type.size) {
        case 4:
            std::memcpy(to, from, 4);
            break;
        case 8:
            std::memcpy(to, from, 8);
            break;
        default:
            std::memcpy(to, from, type.size);
        }
    }
    // The front slot; a chunk read to its end is left for the next.
    void* front() {
        if (!head) {
            head = first;
        } else if (headIndex == perChunk) {
            Chunk* done = head;
            head = head->next;
            headIndex = 0;
            drop(spare.exchange(done, std::memory_order_acq_rel));
        }
        return data(head) + headIndex * slotSize;
    }
    Chunk* take() {
        Chunk* c = spare.exchange(nullptr, std::memory_order_acq_rel);
        if (!c)
            c = static_cast<Chunk*>(::operator new(dataOffset + perChunk * slotSize, std::align_val_t(align)));
        c->next = nullptr;
        return c;
    }
    void drop(Chunk* c) {
        if (c)
            ::operator delete(c, std::align_val_t(align));
    }

    const SlotType type;
    std::size_t align, slotSize, dataOffset, perChunk;
    // The sending end's, then the receiving end's, each on a cache line of its own.
    alignas(64) Chunk* tail = nullptr;
    std::size_t tailIndex = 0;
    Chunk* first = nullptr;
    alignas(64) Chunk* head = nullptr;
    std::size_t headIndex = 0;
    std::atomic<Chunk*> spare{nullptr};
};

// One end of a channel (its senders, or its receivers) in one word: the lock
// its threads take one at a time, how many values it has handled, and whether
// threads sleep on the word, of this end waiting for the lock or of the
// other end waiting for the count to grow. So an operation takes two atomic
// steps: the lock, and the step that counts, gives the lock back and tells
// whether to wake. A sleeper marks the word before it looks at it a last
// time, and the system puts it to sleep only while the word is still what it
// looked at: so the step either comes before that look or sees the mark.
class End {
public:
    unsigned long count() const { return word.load(std::memory_order_seq_cst) / one; }

    void lock() {
        unsigned long w = word.load(std::memory_order_relaxed);
        while (!(w & held)) {
            if (word.compare_exchange_weak(w, w | held, std::memory_order_seq_cst))
                return;
        }
        for (;;) {
            w = word.load(std::memory_order_relaxed);
            if (!(w & held)) {
                if (word.compare_exchange_weak(w, w | held, std::memory_order_seq_cst))
                    return;
            } else if ((w & sleepers) || word.compare_exchange_weak(w, w | sleepers, std::memory_order_seq_cst)) {
                sleep(w | sleepers);
            }
        }
    }

    // One more value handled, and the lock given back.
    void advanceAndUnlock() {
        if (word.fetch_add(one - held, std::memory_order_seq_cst) & sleepers) {
            word.fetch_and(~sleepers, std::memory_order_seq_cst);
            syscall(SYS_futex, lowHalf(), FUTEX_WAKE_PRIVATE, INT_MAX, nullptr, nullptr, 0);
        }
    }

    // The other end: sleeps until the count has reached mark.
    void waitFor(unsigned long mark) {
        for (;;) {
            const unsigned long seen = word.fetch_or(sleepers, std::memory_order_seq_cst) | sleepers;
            if (seen / one >= mark)
                return;
            sleep(seen);
        }
    }

private:
    static constexpr unsigned long sleepers = 1, held = 2, one = 4;

    // Sleeps while the word is `seen`; the system compares its low half, which
    // every step of the lock or the count changes.
    void sleep(unsigned long seen) {
        syscall(SYS_futex, lowHalf(), FUTEX_WAIT_PRIVATE, static_cast<std::uint32_t>(seen), nullptr, nullptr, 0);
    }
    std::uint32_t* lowHalf() {
        auto* halves = reinterpret_cast<std::uint32_t*>(&word);
        return __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? halves : halves + 1;
    }

    std::atomic<unsigned long> word{0};
    static_assert(sizeof(std::atomic<unsigned long>) == 8, "the word is two 32-bit halves");
};

}  // namespace

// ---- channels ----

// The senders and the receivers of a channel each take the lock of their
// own end, so the two sides of an exchange share no lock: each side reads
// the other end's count. A side sleeps only when it found nothing to do and a
// brief spin (while spinning pays) did not see it through, and only then is
// it woken. The side that waits holds its own end's lock, so the others of
// its end wait for that lock. A channel ends only when no process uses it
// any more (a link ends it after the processes of its parallel statement
// ended), so one side may still be inside an operation when its partner has
// returned.
struct ChannelCore::State {
    explicit State(const SlotType& type) : queue(type) {}
    ~State() { queue.discard(sent.count() - received.count()); }

    // What only the senders use and what only the receivers use lie on cache
    // lines of their own.
    SlotQueue queue;
    alignas(64) End sent;
    SpinBudget sendSpin;
    alignas(64) End received;
    unsigned long known = 0;  // under the receivers' lock: the sent count last read
    SpinBudget receiveSpin;
};

ChannelCore::ChannelCore(const SlotType& type) : state(new State(type)) {}

ChannelCore::~ChannelCore() {
    delete state;
}

void ChannelCore::send(const void* value, bool synchronous) {
    tests.end();
    State& s = *state;
    s.sent.lock();
    s.queue.push(value);
    const unsigned long mine = s.sent.count() + 1;
    s.sent.advanceAndUnlock();
    if (testersWait())
        channelChanged();
    if (!synchronous)
        return;
    if (!s.sendSpin.spin([&] { return s.received.count() >= mine; }))
        s.received.waitFor(mine);
}

void ChannelCore::receive(void* variable) {
    tests.end();
    State& s = *state;
    s.received.lock();
    const unsigned long next = s.received.count() + 1;
    if (s.known < next) {
        if (!s.receiveSpin.spin([&] { return s.sent.count() >= next; }))
            s.sent.waitFor(next);
        s.known = s.sent.count();
    }
    s.queue.pop(variable);
    s.received.advanceAndUnlock();
    if (testersWait())
        channelChanged();
}

// A test reads the counts one after the other: the receives first for
// "empty", the values first for "a value waits", so that what a test says
// was true at one moment during it.
bool ChannelCore::canSend(bool synchronous) {
    if (!synchronous)
        return tests.outcome(true, this, 0);
    const unsigned long before = Tests::changes();
    const unsigned long received = state->received.count();
    return tests.outcome(state->sent.count() == received, this, before);
}

bool ChannelCore::canReceive() {
    const unsigned long before = Tests::changes();
    const unsigned long sent = state->sent.count();
    return tests.outcome(sent > state->received.count(), this, before);
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
