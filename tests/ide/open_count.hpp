// How many times a file was opened, by any process, from the counter's start:
// the kernel tells each open of a watched file.
#pragma once
#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace ide::test {

class OpenCount {
public:
    explicit OpenCount(const std::string& file) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        watching_ = fd_ >= 0 && inotify_add_watch(fd_, file.c_str(), IN_OPEN) >= 0;
    }
    ~OpenCount()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    OpenCount(const OpenCount&) = delete;
    OpenCount& operator=(const OpenCount&) = delete;

    // False when the file cannot be watched (then Opens() stays 0).
    bool Watching() const { return watching_; }
    // The opens so far.
    int Opens()
    {
        alignas(inotify_event) char events[4096];
        for (;;) {
            const ssize_t got = read(fd_, events, sizeof events);
            if (got < 0 && errno == EINTR)
                continue;
            if (got <= 0)
                return opens_;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                if (event->mask & IN_OPEN)
                    ++opens_;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
    }

private:
    int fd_;
    bool watching_ = false;
    int opens_ = 0;
};

} // namespace ide::test
