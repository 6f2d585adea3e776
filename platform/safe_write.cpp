#include "platform/safe_write.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

namespace {

std::string said(int error) {
    return std::strerror(error);
}

// Writes every byte; false with errno set.
bool writeAll(int fd, const std::string& data) {
    size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0) {
            errno = EIO;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}

bool readAll(int fd, std::string& out) {
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return false;
        if (n == 0)
            return true;
        out.append(buffer, static_cast<size_t>(n));
    }
}

// Links followed before a chain counts as a loop: as many as the system
// follows in one path.
constexpr int kMaxLinks = 40;

// The folder part of a path with its last slash, "" for a bare name.
std::string folderPart(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// A new file beside `target`, created as open(2) creates files (the umask
// applies), so a file that did not exist gets the mode any new file gets.
// It is named after the file, ".NAME.xxxxxx", so that one a crash leaves
// tells whose it was; where that name is too long for the folder (NAME
// nearly as long as a name may be), a short ".quv-xxxxxx" of our own.
// -1 with errno set when the folder takes no new file.
int createBeside(const std::string& target, std::string& temp) {
    static std::atomic<unsigned> serial{0};
    const std::string folder = folderPart(target);
    std::string prefix = folder + "." + target.substr(folder.size()) + ".";
    bool shortName = false;
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const unsigned long tag =
            (static_cast<unsigned long>(now) ^ (static_cast<unsigned long>(getpid()) << 16)) + serial++ * 7919ul;
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, "%06lx", tag & 0xFFFFFFul);
        temp = prefix + suffix;
        const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0)
            return fd;
        if (errno == ENAMETOOLONG && !shortName) {
            prefix = folder + ".quv-";
            shortName = true;
        } else if (errno != EEXIST) {
            return -1;
        }
    }
    errno = EEXIST;
    return -1;
}

const char* afterUndo(bool restored) {
    return restored ? "; its old contents were put back" : "; its old contents could not be put back";
}

void syncFolderOf(const std::string& target) {
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
}

// Rewrites the file itself, so that it stays the same file with the same
// owner, mode and links. Its old bytes are held meanwhile and written back
// when the new ones cannot all be written.
bool writeInPlace(const std::string& target, const std::string& data, std::string& reason, WriteFailure& why) {
    std::string before;
    const int in = open(target.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0 || !readAll(in, before)) {
        why.error = errno;
        reason = "its contents cannot be kept aside while it is written: " + said(errno);
        if (in >= 0)
            close(in);
        return false;
    }
    close(in);
    const int fd = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        why.error = errno;
        reason = said(errno);
        return false;
    }
    if (writeAll(fd, data) && fsync(fd) == 0) {
        if (close(fd) == 0)
            return true;
        // The new bytes may not have reached the file; put the old ones back.
        const int error = errno;
        const int again = open(target.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
        bool restored = again >= 0 && writeAll(again, before) && fsync(again) == 0;
        if (again >= 0)
            restored = close(again) == 0 && restored;
        why = {error, !restored};
        reason = said(error) + afterUndo(restored);
        return false;
    }
    const int error = errno;
    bool restored =
        lseek(fd, 0, SEEK_SET) == 0 && ftruncate(fd, 0) == 0 && writeAll(fd, before) && fsync(fd) == 0;
    restored = close(fd) == 0 && restored;
    why = {error, !restored};
    reason = said(error) + afterUndo(restored);
    return false;
}

// Writes the file `target`, which is no symbolic link.
bool writeFile(const std::string& target, const std::string& data, std::string& reason, WriteFailure& why) {
    struct stat old;
    const bool exists = stat(target.c_str(), &old) == 0;
    if (!exists && errno != ENOENT) {
        why.error = errno;
        reason = said(errno);
        return false;
    }
    if (exists && S_ISDIR(old.st_mode)) {
        why.error = EISDIR;
        reason = "it is a folder";
        return false;
    }
    if (exists && !S_ISREG(old.st_mode)) {
        reason = "it is not a regular file";
        return false;
    }
    // The file's own permission decides, not the folder's: a rename would
    // replace a file that its owner protected.
    if (exists && faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) {
        why.error = errno;
        reason = said(errno);
        return false;
    }

    std::string temp;
    const int fd = createBeside(target, temp);
    if (fd < 0) {
        if (!exists) {
            why.error = errno;
            reason = said(errno);
            return false;
        }
        return writeInPlace(target, data, reason, why);
    }
    // A new file under the old name must be the same file to everyone who
    // knows it: same owner and group, and no other name left on the old bytes.
    if (exists && (old.st_nlink > 1 || fchown(fd, old.st_uid, old.st_gid) != 0)) {
        close(fd);
        unlink(temp.c_str());
        return writeInPlace(target, data, reason, why);
    }
    bool ok = writeAll(fd, data) && (!exists || fchmod(fd, old.st_mode & 07777) == 0) && fsync(fd) == 0;
    int error = errno;
    if (close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        unlink(temp.c_str());
        why.error = error;
        reason = said(error);  // the old file was never touched
        return false;
    }
    syncFolderOf(target);
    return true;
}

}  // namespace

bool FileNamedBy(const std::string& path, std::string& target) {
    target = path;
    for (int followed = 0;; ++followed) {
        struct stat st;
        if (lstat(target.c_str(), &st) != 0)
            return errno == ENOENT;
        if (!S_ISLNK(st.st_mode))
            return true;
        if (followed == kMaxLinks) {
            errno = ELOOP;
            return false;
        }
        char to[PATH_MAX];
        const ssize_t n = readlink(target.c_str(), to, sizeof to);
        if (n < 0)
            return false;
        if (static_cast<size_t>(n) == sizeof to) {
            errno = ENAMETOOLONG;
            return false;
        }
        const std::string next(to, static_cast<size_t>(n));
        target = next[0] == '/' ? next : folderPart(target) + next;
    }
}

bool WriteFileSafely(const std::string& path, const std::string& data, std::string& reason) {
    WriteFailure ignored;
    return WriteFileSafely(path, data, reason, ignored);
}

bool WriteFileSafely(const std::string& path, const std::string& data, std::string& reason, WriteFailure& why) {
    why = WriteFailure();
    std::string target;
    if (!FileNamedBy(path, target)) {
        why.error = errno;
        reason = said(errno);
        return false;
    }
    if (writeFile(target, data, reason, why))
        return true;
    // Through a link, the file that could not be written is another one.
    if (target != path)
        reason = "it links to " + target + ": " + reason;
    return false;
}

std::string WriteFailureMessage(const std::string& path, const std::string& reason) {
    return "cannot write " + path + ": " + reason;
}

}  // namespace platform
