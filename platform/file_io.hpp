// Whole-file reads (writes: safe_write.hpp).
#pragma once
#include <cstddef>
#include <functional>
#include <string>

namespace platform {

// The most bytes a whole-file read takes: far more than any source, project
// or settings file holds, and few enough to hold in memory. A longer input (a
// device that never ends, such as /dev/zero) fails with kTooLargeReason
// instead of filling the memory.
constexpr std::size_t kMaxReadBytes = std::size_t(64) << 20;
extern const char* const kTooLargeReason;

// Reads every byte of the file (NUL bytes included) without opening it for
// writing, so read-only files load. False with `error` set on failure, also
// for a file longer than kMaxReadBytes.
bool ReadWholeFile(const std::string& path, std::string& data, std::string& error);

// How ReadWithStop ended.
enum class ReadEnd { Read, Failed, Stopped };

// Reads every byte of the file, opened once and read once, so that a named
// pipe or a terminal gives the bytes a file does. The open does not wait (a
// named pipe without a writer would hold it for ever, deaf to signals); the
// read waits for input in short steps and asks `stopped` before each, giving
// up (Stopped) when it says so. Failed sets `why` in the system's words ("No
// such file or directory"), or to kTooLargeReason once more than
// kMaxReadBytes came. A null `stopped` waits as long as it takes.
ReadEnd ReadWithStop(const std::string& path, std::string& data, std::string& why,
                     const std::function<bool()>& stopped);

// The file a name stands for as the system tells files apart, links
// (symbolic or hard) followed: two names with one identity name one file.
struct FileIdentity {
    unsigned long long device = 0;
    unsigned long long inode = 0;
    bool operator==(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
};

// False when the name stands for no file (or one that cannot be looked at).
bool IdentifyFile(const std::string& path, FileIdentity& identity);

// Why the file cannot be opened for reading: the system's error number
// (ENOENT when it is missing, EISDIR for a folder), 0 when it can. A named
// pipe is not waited for: it can be opened.
int ReadOpenError(const std::string& path);

} // namespace platform
