#include "platform/file_io.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

const char* const kTooLargeReason = "File too large (more than 64 MiB)";
static_assert(kMaxReadBytes == std::size_t(64) << 20, "kTooLargeReason names the bound");

namespace {
std::string Describe(const char* what, const std::string& path)
{
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

// How long a read waits for input before it asks whether to stop.
const int kStopCheckMilliseconds = 100;
} // namespace

bool ReadWholeFile(const std::string& path, std::string& data, std::string& error)
{
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = Describe("cannot open", path);
        return false;
    }
    struct stat st;
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        error = S_ISDIR(st.st_mode) ? "cannot read " + path + ": is a folder" : Describe("cannot read", path);
        close(fd);
        return false;
    }
    std::string out;
    char buffer[65536];
    for (;;) {
        ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = Describe("cannot read", path);
            close(fd);
            return false;
        }
        if (n == 0)
            break;
        if (out.size() + static_cast<size_t>(n) > kMaxReadBytes) {
            error = "cannot read " + path + ": " + kTooLargeReason;
            close(fd);
            return false;
        }
        out.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    data.swap(out);
    return true;
}

ReadEnd ReadWithStop(const std::string& path, std::string& data, std::string& why,
                     const std::function<bool()>& stopped)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = std::strerror(errno);
        return ReadEnd::Failed;
    }
    struct Closer {
        int fd;
        ~Closer() { close(fd); }
    } closer{fd};
    std::string out;
    char piece[1 << 16];
    for (;;) {
        if (stopped && stopped())
            return ReadEnd::Stopped;
        pollfd wait = {fd, POLLIN, 0};
        const int ready = poll(&wait, 1, kStopCheckMilliseconds);
        if (ready == 0 || (ready < 0 && errno == EINTR))
            continue;
        const ssize_t got = ready < 0 ? -1 : read(fd, piece, sizeof piece);
        if (got > 0) {
            if (out.size() + static_cast<size_t>(got) > kMaxReadBytes) {
                why = kTooLargeReason;
                return ReadEnd::Failed;
            }
            out.append(piece, static_cast<size_t>(got));
            continue;
        }
        if (got == 0) {
            data.swap(out);
            return ReadEnd::Read;
        }
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)
            continue;
        why = std::strerror(errno);
        return ReadEnd::Failed;
    }
}

bool IdentifyFile(const std::string& path, FileIdentity& identity)
{
    struct stat st;
    if (stat(path.c_str(), &st) != 0)
        return false;
    identity.device = st.st_dev;
    identity.inode = st.st_ino;
    return true;
}

int ReadOpenError(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    struct stat st;
    const int error = fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : 0;
    close(fd);
    return error;
}

} // namespace platform
