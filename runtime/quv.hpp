// The QUV/E run-time support that generated programs include: the basic types
// the generator writes by name, channels between processes, and the thread
// start, thread end and sleep functions the process code calls.
#pragma once
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <iostream>
#include <mutex>
#include <string>
#include <thread>
#include <type_traits>

// A control variable holds the thread function of the process it starts.
typedef void (*CONTROL)(void*);

// A file variable.
class STREAM {
public:
    std::fstream file;
};

// A channel from one process to another. A synchronous send waits until the
// value has been received; an asynchronous one only queues it.
template <typename T>
class Channel {
public:
    void syn_send(const T& value) {
        std::unique_lock<std::mutex> lock(mutex);
        queue.push_back(value);
        changed.notify_all();
        unsigned long mine = ++sent;
        changed.wait(lock, [&] { return received >= mine; });
    }
    void asyn_send(const T& value) {
        std::lock_guard<std::mutex> lock(mutex);
        queue.push_back(value);
        ++sent;
        changed.notify_all();
    }
    void syn_recv(T* value) { receive(value); }
    void asyn_recv(T* value) { receive(value); }
    bool syn_can_send() {
        std::lock_guard<std::mutex> lock(mutex);
        return queue.empty();
    }
    bool asyn_can_send() { return true; }
    bool syn_can_recv() { return can_recv(); }
    bool asyn_can_recv() { return can_recv(); }

private:
    void receive(T* value) {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [&] { return !queue.empty(); });
        *value = queue.front();
        queue.pop_front();
        ++received;
        changed.notify_all();
    }
    bool can_recv() {
        std::lock_guard<std::mutex> lock(mutex);
        return !queue.empty();
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<T> queue;
    unsigned long sent = 0;
    unsigned long received = 0;
};

namespace quv_runtime {
// Thrown by _endthread to leave the thread function; caught where the thread began.
struct ThreadEnd {};
}  // namespace quv_runtime

// Starts function(argument) on a new detached thread; stackSize is not used.
inline std::uintptr_t _beginthread(void (*function)(void*), unsigned stackSize, void* argument) {
    (void)stackSize;
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

// Assignment of any value. C++ cannot assign arrays, so the generated code
// copies them through this, element by element; an array value parameter is
// held as a pointer to its first element.
template <typename To, typename From>
inline void quv_assign(To& to, const From& from) {
    if constexpr (std::is_array<To>::value) {
        for (std::size_t i = 0; i < std::extent<To>::value; ++i)
            quv_assign(to[i], from[i]);
    } else if constexpr (std::is_array<From>::value) {
        for (std::size_t i = 0; i < std::extent<From>::value; ++i)
            quv_assign(to[i], from[i]);
    } else {
        to = from;
    }
}

// Waits the timer interval of a periodic process, in milliseconds.
inline void sleep(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
