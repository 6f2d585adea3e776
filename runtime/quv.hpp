// The QUV/E run-time support that generated programs include: the basic types
// the generator writes by name (CONTROL, STREAM, Channel), the thread start and
// end functions of the process code, the conversions and the end mark the
// built-ins call, and, in namespace quv_runtime, the library's own helpers:
// the parameter block a parallel statement hands each process it starts, the
// link through which two processes find their channel, and value helpers.
//
// Everything here is inline: a generated program needs only this header and -pthread.
#pragma once
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <type_traits>
#include <typeinfo>
#include <utility>

// A control variable holds the thread function of the process it starts;
// one that was never bound holds none (not an indeterminate pointer).
class CONTROL {
public:
    typedef void (*Function)(void*);
    CONTROL() = default;
    CONTROL(Function f) : function(f) {}
    operator Function() const { return function; }

private:
    Function function = nullptr;
};

// A file variable: a stream that reads and writes the file it opens.
class STREAM : public std::fstream {
public:
    // Opens an existing file for reading and writing, or creates it.
    void open(const char* name) {
        std::fstream::open(name, std::ios::in | std::ios::out);
        if (is_open())
            return;
        clear();
        std::fstream::open(name, std::ios::in | std::ios::out | std::ios::trunc);
    }
    void open(const std::string& name) { open(name.c_str()); }
    // Puts c back to be read next, also after a read met the end of the file.
    void pushback(char c) {
        clear(rdstate() & ~(std::ios::eofbit | std::ios::failbit));
        putback(c);
    }
};

namespace quv_runtime {
[[noreturn]] inline void fatal(const std::string& text) {
    std::fprintf(stderr, "quv: %s\n", text.c_str());
    std::fflush(stderr);
    std::abort();
}

inline void warn(const std::string& text) {
    std::fprintf(stderr, "quv: %s\n", text.c_str());
}

// Ends the program with exit code 1 after what it wrote so far and the text.
// Other processes may still run, so nothing is destroyed on the way out.
[[noreturn]] inline void stop(const std::string& text) {
    std::cout.flush();
    std::fflush(stdout);
    std::fprintf(stderr, "quv: error: %s\n", text.c_str());
    std::fflush(stderr);
    std::_Exit(1);
}
}  // namespace quv_runtime

// Assignment of any value. C++ cannot assign arrays, so the generated code
// copies them through this, element by element; an array value parameter is
// held as a pointer to its first element. Anything else (a String from a
// character array among them) is assigned as C++ assigns it.
template <typename To, typename From>
inline void quv_assign(To& to, const From& from) {
    if constexpr (std::is_array<To>::value) {
        for (std::size_t i = 0; i < std::extent<To>::value; ++i)
            quv_assign(to[i], from[i]);
    } else if constexpr (std::is_array<From>::value && std::is_pointer<To>::value) {
        for (std::size_t i = 0; i < std::extent<From>::value; ++i)
            quv_assign(to[i], from[i]);
    } else {
        to = from;
    }
}

namespace quv_runtime {
// One step of a busy wait: tells the processor that this thread spins.
inline void spin_pause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#elif defined(__aarch64__)
    asm volatile("yield");
#endif
}

// Waits briefly, without a system call, until ready() holds; false when it
// still does not, and the caller should block instead. A partner that is
// ready, running on another core, answers well within the spin.
template <typename Ready>
inline bool spin_until(Ready ready) {
    for (int i = 0; i < 2000; ++i) {
        if (ready())
            return true;
        spin_pause();
    }
    return ready();
}

// The copy an array value parameter of a procedure gets: it lives until the
// end of the call whose actual it is, and the procedure sees it as C++ sees
// an array parameter, as a pointer to its first element.
template <typename A>
struct ArrayCopy {
    A items;
    operator typename std::decay<A>::type() { return items; }
};

template <typename A, typename From>
inline ArrayCopy<A> value_copy(const From& from) {
    ArrayCopy<A> copy;
    quv_assign(copy.items, from);
    return copy;
}

// The array an array value parameter holds, for a reference formal: C++ holds
// the parameter as a pointer to its first element, where a reference to the
// whole array is wanted.
template <typename A, typename From>
inline A& array_ref(From&& from) {
    if constexpr (std::is_array<typename std::remove_reference<From>::type>::value)
        return from;
    else
        return *reinterpret_cast<A*>(from);
}
}  // namespace quv_runtime

// A channel from one process to another, safe between threads. One queue
// serves both styles, so a value sent in one style is received in the other:
// an asynchronous send only queues the value; a synchronous send queues it and
// waits until it has been received (the rendezvous); a receive waits for a value.
//
// Both waits first spin briefly on counters read without the lock, then block;
// a side that blocks says so, and only then is it woken: when both sides are
// ready a rendezvous takes no system call, and a queue whose receiver keeps up
// is never notified.
template <typename T>
class Channel {
public:
    void syn_send(const T& value) {
        unsigned long mine;
        {
            std::lock_guard<std::mutex> lock(mutex);
            push(value);
            mine = sent;
        }
        if (quv_runtime::spin_until([&] { return received.load(std::memory_order_acquire) >= mine; }))
            return;
        std::unique_lock<std::mutex> lock(mutex);
        ++sendersWaiting;
        taken.wait(lock, [&] { return received.load(std::memory_order_relaxed) >= mine; });
        --sendersWaiting;
    }
    void asyn_send(const T& value) {
        std::lock_guard<std::mutex> lock(mutex);
        push(value);
    }
    void syn_recv(T* value) { receive(value); }
    void asyn_recv(T* value) { receive(value); }
    // A synchronous send would find no earlier value still waiting.
    bool syn_can_send() {
        std::lock_guard<std::mutex> lock(mutex);
        return queue.empty();
    }
    bool asyn_can_send() { return true; }
    bool syn_can_recv() { return can_recv(); }
    bool asyn_can_recv() { return can_recv(); }

private:
    struct Item {
        T value;
    };
    // Called with the lock held.
    void push(const T& value) {
        queue.emplace_back();
        quv_assign(queue.back().value, value);
        ++sent;
        waiting.store(queue.size(), std::memory_order_release);
        if (receiversWaiting > 0)
            arrived.notify_one();
    }
    void receive(T* value) {
        // The spin comes before the lock, so the sender finds the lock free.
        quv_runtime::spin_until([&] { return waiting.load(std::memory_order_acquire) > 0; });
        std::unique_lock<std::mutex> lock(mutex);
        if (queue.empty()) {
            ++receiversWaiting;
            arrived.wait(lock, [&] { return !queue.empty(); });
            --receiversWaiting;
        }
        quv_assign(*value, queue.front().value);
        queue.pop_front();
        waiting.store(queue.size(), std::memory_order_relaxed);
        received.store(received.load(std::memory_order_relaxed) + 1, std::memory_order_release);
        // Notified under the lock: a sender that returns may end the channel.
        if (sendersWaiting > 0)
            taken.notify_all();
    }
    bool can_recv() {
        std::lock_guard<std::mutex> lock(mutex);
        return !queue.empty();
    }

    std::mutex mutex;
    std::condition_variable arrived;  // receivers that wait for a value
    std::condition_variable taken;    // synchronous senders that wait for their receive
    std::deque<Item> queue;           // items, since T may be an array
    unsigned long sent = 0;
    unsigned receiversWaiting = 0;
    unsigned sendersWaiting = 0;
    // Written under the lock, read by the spinning side without it.
    std::atomic<std::size_t> waiting{0};  // the queue's length
    std::atomic<unsigned long> received{0};
};

namespace quv_runtime {
// Thrown by _endthread to leave the thread function; caught where the thread began.
struct ThreadEnd {};

// Waits the timer interval of a periodic process, in milliseconds.
inline void sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

// The text of a value as the output built-ins write it.
template <typename T>
inline std::string text(const T& value) {
    std::ostringstream out;
    out << value;
    return out.str();
}

template <typename A, typename B, typename = void>
struct Comparable : std::false_type {};
template <typename A, typename B>
struct Comparable<A, B, decltype(void(std::declval<const A&>() == std::declval<const B&>()))> : std::true_type {};

// Equality of values; arrays compare element by element, records through the
// operator== the generator writes for them. Values that cannot be compared
// (files, which a record may hold) are never equal.
template <typename A, typename B>
inline bool equal(const A& a, const B& b) {
    if constexpr (std::is_array<A>::value && std::is_array<B>::value) {
        if (std::extent<A>::value != std::extent<B>::value)
            return false;
        for (std::size_t i = 0; i < std::extent<A>::value; ++i)
            if (!equal(a[i], b[i]))
                return false;
        return true;
    } else if constexpr (Comparable<A, B>::value) {
        return a == b;
    } else {
        (void)a;
        (void)b;
        return false;
    }
}

// The channel between two processes of one parallel statement. The sending
// process makes the channel and publishes it here; the receiving process waits
// until it is published. The link deletes the channel when the statement ends.
class ChannelLink {
public:
    ChannelLink() = default;
    ChannelLink(const ChannelLink&) = delete;
    ChannelLink& operator=(const ChannelLink&) = delete;
    ~ChannelLink() {
        if (channel)
            destroy(channel);
    }

    // P is a pointer to a channel type.
    template <typename P>
    P create() {
        typedef typename std::remove_pointer<P>::type C;
        std::lock_guard<std::mutex> lock(mutex);
        if (!channel) {
            channel = new C;
            type = &typeid(C);
            destroy = [](void* c) { delete static_cast<C*>(c); };
            published.notify_all();
        }
        return checked<C>();
    }

    template <typename P>
    P await() {
        typedef typename std::remove_pointer<P>::type C;
        std::unique_lock<std::mutex> lock(mutex);
        published.wait(lock, [&] { return channel != nullptr; });
        return checked<C>();
    }

private:
    template <typename C>
    C* checked() const {
        if (*type != typeid(C))
            fatal("the two ends of a channel carry values of different types");
        return static_cast<C*>(channel);
    }

    std::mutex mutex;
    std::condition_variable published;
    void* channel = nullptr;
    const std::type_info* type = nullptr;
    void (*destroy)(void*) = nullptr;
};

// The parameter block of one started process. The starter knows the formal
// names its actuals are for and the actuals' types, the process knows its
// formals' names and types: so the block keeps the actuals by formal name, and
// each formal takes its actual by name and converts it to its own type. An
// actual of a formal the process lacks is never read; a formal without an
// actual keeps its default value. The fixed fields never move.
class ProcessBlock {
public:
    int timer_interval = 0;
    std::atomic<bool> end{false};

    ProcessBlock() = default;
    ProcessBlock(const ProcessBlock&) = delete;
    ProcessBlock& operator=(const ProcessBlock&) = delete;

    // ---- the starter's side, before the thread starts ----
    template <typename T, typename V>
    void put_value(const char* formal, const V& value) {
        slots[formal].value.reset(new Held<T>(value));
    }
    template <typename T>
    void put_ref(const char* formal, T& variable) {
        Slot& s = slots[formal];
        s.value.reset(new Referred<T>(variable));
    }
    void put_channel(const char* formal, ChannelLink* link) { slots[formal].link = link; }

    // ---- the process's side ----
    // A value formal: a copy of its actual converted to the formal's type.
    template <typename T>
    void take(const char* formal, T& out) const {
        const Slot* s = find(formal);
        if (s && s->value)
            convert(formal, *s->value, out);
    }
    // A reference formal: the actual variable when its type is the formal's,
    // else fallback (holding a copy of the actual's value).
    template <typename T>
    T& ref(const char* formal, T& fallback) const {
        const Slot* s = find(formal);
        if (!s || !s->value)
            return fallback;
        if (s->value->variable() && s->value->type() == typeid(T))
            return *static_cast<T*>(s->value->variable());
        convert(formal, *s->value, fallback);
        return fallback;
    }
    // An output channel formal: makes the channel; P is the channel pointer type.
    template <typename P>
    P create_channel(const char* formal) {
        const Slot* s = find(formal);
        if (s && s->link)
            return s->link->create<P>();
        return own.create<P>();  // no peer: a channel nobody reads
    }
    // An input channel formal: waits for the sending process to make the channel.
    template <typename P>
    P await_channel(const char* formal) {
        const Slot* s = find(formal);
        if (s && s->link)
            return s->link->await<P>();
        return own.create<P>();  // no peer: a channel nobody writes
    }

    // The process has ended; the block may be gone once this returns.
    void finish() {
        std::lock_guard<std::mutex> lock(mutex);
        end = true;
        ended.notify_all();
    }
    void wait_end() {
        std::unique_lock<std::mutex> lock(mutex);
        ended.wait(lock, [&] { return end.load(); });
    }

private:
    struct Value {
        virtual ~Value() = default;
        virtual const std::type_info& type() const = 0;
        virtual const void* data() const = 0;
        virtual void* variable() const { return nullptr; }
        virtual bool number(long double&) const = 0;
    };
    template <typename T>
    static bool asNumber(const T& v, long double& n) {
        if constexpr (std::is_arithmetic<T>::value) {
            n = static_cast<long double>(v);
            return true;
        } else {
            (void)v;
            (void)n;
            return false;
        }
    }
    template <typename T>
    struct Held : Value {
        template <typename V>
        explicit Held(const V& v) : held() {
            quv_assign(held, v);
        }
        const std::type_info& type() const override { return typeid(T); }
        const void* data() const override { return &held; }
        bool number(long double& n) const override { return asNumber(held, n); }
        T held;
    };
    template <typename T>
    struct Referred : Value {
        explicit Referred(T& v) : target(&v) {}
        const std::type_info& type() const override { return typeid(T); }
        const void* data() const override { return target; }
        void* variable() const override { return target; }
        bool number(long double& n) const override { return asNumber(*target, n); }
        T* target;
    };
    struct Slot {
        std::unique_ptr<Value> value;
        ChannelLink* link = nullptr;
    };

    const Slot* find(const char* formal) const {
        auto it = slots.find(formal);
        return it == slots.end() ? nullptr : &it->second;
    }
    template <typename T>
    static void convert(const char* formal, const Value& v, T& out) {
        if (v.type() == typeid(T)) {
            quv_assign(out, *static_cast<const T*>(v.data()));
            return;
        }
        long double n = 0;
        if constexpr (std::is_arithmetic<T>::value) {
            if (v.number(n)) {
                out = static_cast<T>(n);
                return;
            }
        }
        warn(std::string("the actual of process parameter ") + formal + " has another type; it is not passed");
    }

    std::map<std::string, Slot> slots;
    ChannelLink own;
    std::mutex mutex;
    std::condition_variable ended;
};
}  // namespace quv_runtime

// Starts function(argument) on a new detached thread; stackSize is not used.
// A null function is a control variable bound to no process: the program
// cannot go on as written, so it ends with an error.
inline std::uintptr_t _beginthread(void (*function)(void*), unsigned stackSize, void* argument) {
    (void)stackSize;
    if (!function)
        quv_runtime::stop("a process is started through a control variable that was never bound to a process");
    std::thread([function, argument] {
        try {
            function(argument);
        } catch (const quv_runtime::ThreadEnd&) {
        }
    }).detach();
    return 1;
}

// Ends the calling thread started by _beginthread.
[[noreturn]] inline void _endthread() {
    throw quv_runtime::ThreadEnd();
}

// ---- the functions the built-ins call ----

// QuvEof: writes the end mark of the data to the file.
inline void quveof(STREAM& file, const std::string& mark) {
    file << mark << std::endl << std::flush;
}

// Itoc: the one-character string of a character code.
inline std::string itoc(int code) {
    return std::string(1, static_cast<char>(code));
}

// Strlen: the length of a string, in bytes.
inline int strlen(const std::string& s) {
    return static_cast<int>(s.size());
}
