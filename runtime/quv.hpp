// The QUV/E run-time support that generated programs include: the basic types
// the generator writes by name (CONTROL, STREAM, Channel), the thread start and
// end functions of the process code, the conversions and the end mark the
// built-ins call, and, in namespace quv_runtime, the library's own helpers:
// the parameter block a parallel statement hands each process it starts, the
// link through which two processes find their channel, and value helpers.
//
// What does not depend on a program's types lives in the run-time library
// quvfuncs.lib, built optimised while programs are built without optimisation:
// the channels' locking, waiting and queue, and the line-atomic standard
// output that the library puts in place of std::cout's buffer before main.
// A generated program needs this header, quvfuncs.lib and -pthread.
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
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <new>
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

namespace quv_runtime {
// Puts c back to be read next, also after a read met the end of the input:
// that read left the stream failed, and a failed stream takes nothing back.
inline void pushback(std::istream& in, char c) {
    in.clear(in.rdstate() & ~(std::ios::eofbit | std::ios::failbit));
    in.putback(c);
}
}  // namespace quv_runtime

// A file variable: a stream that reads and writes the file it opens.
class STREAM : public std::fstream {
public:
    // Opens an existing file for reading and writing, or creates it. An
    // existing file keeps its bytes: what is written over them replaces them
    // from the start, and the rest stays after it.
    void open(const char* name) {
        std::fstream::open(name, std::ios::in | std::ios::out);
        if (is_open())
            return;
        clear();
        std::fstream::open(name, std::ios::in | std::ios::out | std::ios::trunc);
    }
    void open(const std::string& name) { open(name.c_str()); }
    // Nothing more can be read: at the end of the file, and also where no
    // read can succeed, when the file is not open or a read failed (until a
    // push-back). A loop that reads until the end so ends on a file that could
    // not be opened or holds what the reads cannot take.
    bool eof() const { return !is_open() || fail() || std::fstream::eof(); }
    void pushback(char c) { quv_runtime::pushback(*this, c); }
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

// Writes out what every thread has written to std::cout and not yet sent,
// its unfinished lines among it.
void flush_output();

// Ends the program with exit code 1 after what it wrote so far and the text.
// Other processes may still run, so nothing is destroyed on the way out.
[[noreturn]] inline void stop(const std::string& text) {
    flush_output();
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

// How a channel's queue holds values of one type: their size and alignment,
// and the functions that copy a value into a slot, copy it out to a variable
// (ending the slot's value) and end a value nobody received. Null functions:
// the value is its bytes, copied as they are.
struct SlotType {
    std::size_t size;
    std::size_t align;
    void (*copyIn)(void* slot, const void* value);
    void (*copyOut)(void* variable, void* slot);
    void (*destroy)(void* slot);
};

// The part of a channel that does not depend on its values' type, compiled
// into the run-time library: the locks of its two ends, the queue of slots,
// and the waiting and waking of its senders, receivers and of the processes
// that test it.
class ChannelCore {
public:
    explicit ChannelCore(const SlotType& type);
    ~ChannelCore();
    ChannelCore(const ChannelCore&) = delete;
    ChannelCore& operator=(const ChannelCore&) = delete;

    // A synchronous send returns when its value has been received.
    void send(const void* value, bool synchronous);
    void receive(void* variable);
    bool canSend(bool synchronous);
    bool canReceive();

private:
    struct State;
    State* state;
};

// Puts the run-time library's line-atomic buffer into std::cout; each file
// that includes this header calls it once before main, so the library comes
// with every program. Later calls do nothing.
bool install_line_output();
namespace {
[[maybe_unused]] const bool line_output_installed = install_line_output();
}
}  // namespace quv_runtime

// A channel from one process to another, safe between threads. One queue
// serves both styles, so a value sent in one style is received in the other:
// an asynchronous send only queues the value; a synchronous send queues it and
// waits until it has been received (the rendezvous); a receive waits for a value.
// Only the copies of values are compiled with the program; the rest is in
// the run-time library.
template <typename T>
class Channel {
public:
    Channel() : core(slotType()) {}
    void syn_send(const T& value) { core.send(&value, true); }
    void asyn_send(const T& value) { core.send(&value, false); }
    void syn_recv(T* value) { core.receive(value); }
    void asyn_recv(T* value) { core.receive(value); }
    // A synchronous send would find no earlier value still waiting.
    bool syn_can_send() { return core.canSend(true); }
    bool asyn_can_send() { return core.canSend(false); }
    bool syn_can_recv() { return core.canReceive(); }
    bool asyn_can_recv() { return core.canReceive(); }

private:
    struct Item {
        T value;
    };
    static void copyIn(void* slot, const void* value) {
        Item* item = new (slot) Item();
        quv_assign(item->value, *static_cast<const T*>(value));
    }
    static void copyOut(void* variable, void* slot) {
        Item* item = static_cast<Item*>(slot);
        quv_assign(*static_cast<T*>(variable), item->value);
        item->~Item();
    }
    static void destroy(void* slot) { static_cast<Item*>(slot)->~Item(); }
    static const quv_runtime::SlotType& slotType() {
        static const quv_runtime::SlotType plain = {sizeof(Item), alignof(Item), nullptr, nullptr, nullptr};
        static const quv_runtime::SlotType typed = {sizeof(Item), alignof(Item), &copyIn, &copyOut, &destroy};
        return std::is_trivially_copyable<Item>::value ? plain : typed;
    }

    quv_runtime::ChannelCore core;
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
