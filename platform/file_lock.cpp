#include "platform/file_lock.hpp"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <thread>

#include "platform/safe_write.hpp"

namespace platform {

FileLock::FileLock(const std::string& file, std::chrono::milliseconds wait)
    : FileLock(file, std::chrono::steady_clock::now() + wait)
{
}

FileLock::FileLock(const std::string& name, std::chrono::steady_clock::time_point deadline)
{
    // A chain that cannot be followed is locked by its name: the write that
    // follows fails for that reason anyway.
    std::string file;
    if (!FileNamedBy(name, file))
        file = name;
    const std::string lockFile = file + ".lock";
    for (;;) {
        // No O_TRUNC and no write: the lock file stays empty, and a link put
        // in its place is not followed.
        std::string locked = lockFile;
        fd_ = open(lockFile.c_str(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
        if (fd_ < 0) {
            locked = file;
            fd_ = open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        }
        if (fd_ < 0)
            return;
        while (flock(fd_, LOCK_EX | LOCK_NB) != 0) {
            if (errno == EINTR)
                continue;
            if (errno != EWOULDBLOCK) {
                // A file system without locks: as before there were any.
                Release();
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                Release();
                error_ = EBUSY;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        // Held. The holder before may have replaced the file (or someone
        // removed the lock file) meanwhile: then the lock is on a file that
        // no other process will open any more, and it is the one the path
        // names now that counts.
        struct stat held, named;
        if (fstat(fd_, &held) == 0 && stat(locked.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
            held.st_ino == named.st_ino)
            return;
        Release();
        if (std::chrono::steady_clock::now() >= deadline) {
            error_ = EBUSY;
            return;
        }
    }
}

FileLock::~FileLock()
{
    Release();
}

void FileLock::Release()
{
    if (fd_ >= 0)
        close(fd_);  // which ends the lock
    fd_ = -1;
}

}  // namespace platform
