// A lock for a file that several processes read, change and write back
// whole, such as the settings two IDEs merge as they quit: while one holds
// it from its read to its write, the others wait, so no change is lost.
//
//     platform::FileLock lock(path, platform::kMergeLockWait);
//     if (lock.Error())
//         fail(lock.Error());
//     ... read path, merge, write it back ...
#pragma once
#include <chrono>
#include <string>

namespace platform {

// How long a merge waits for another process's; the merges of one quit
// share it.
inline constexpr std::chrono::milliseconds kMergeLockWait{3000};

class FileLock {
public:
    // Waits up to `wait` for the lock of `file`. It is an advisory lock
    // (flock) that binds only those who take it and ends with the process
    // that held it. It is taken on "FILE.lock" beside the file, an empty
    // file that stays; where none can be made there (a folder the user may
    // not write, a name too long), on the file itself, which then goes on
    // being the one its path names. FILE is the file at the end of the
    // chain of symbolic links `file` starts, as the safe writer writes it,
    // so every name that leads to one file takes the one lock. Where neither
    // can be opened, or the file system has no locks, nothing is locked and
    // the error is 0: the write that follows makes the file or fails for
    // its own reason.
    FileLock(const std::string& file, std::chrono::milliseconds wait);
    // The same, waiting until `deadline` at most: a lock that is free is
    // taken also when the deadline has passed.
    FileLock(const std::string& file, std::chrono::steady_clock::time_point deadline);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // 0 when the caller may go on; EBUSY when another process held the lock
    // all the while, or the system's error number.
    int Error() const { return error_; }

private:
    void Release();

    int fd_ = -1;
    int error_ = 0;
};

}  // namespace platform
