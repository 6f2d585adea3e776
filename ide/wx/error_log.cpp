#include "ide/wx/error_log.hpp"

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ide/model/settings_file.hpp"

namespace ide {

namespace {

// Past this size at a start, the log becomes "quvbench.log.1" (replacing the
// one before) and a new one begins: two files at most, each about this big.
constexpr off_t kLogKeptBytes = 1 << 20;

// Appending: the threads' writes, and those of other IDEs on the same log,
// never land on one another.
int openLog(const std::string& path)
{
    return open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

// The log opened for this start, a full one moved aside first. Two IDEs that
// start at once both see it full: the one that locks it first moves it, the
// other then finds a new file under its name and opens that one.
int openBoundedLog(const std::string& path)
{
    for (int tries = 0; tries < 3; ++tries) {
        const int log = openLog(path);
        struct stat held;
        if (log < 0 || fstat(log, &held) != 0 || held.st_size <= kLogKeptBytes)
            return log;
        // A lock only those who move the log take; a file system without
        // locks moves it unguarded, as it would without a second IDE.
        while (flock(log, LOCK_EX) != 0 && errno == EINTR) {
        }
        struct stat named;
        if (stat(path.c_str(), &named) == 0 && named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            std::rename(path.c_str(), (path + ".1").c_str());
        close(log);  // which ends the lock
    }
    return openLog(path);
}

} // namespace

std::string StandardErrorLogPath()
{
    return (std::filesystem::path(SettingsFilePath()).parent_path() / "quvbench.log").string();
}

int SendStandardErrorTo(const std::string& path)
{
    EnsureFolderOf(path);
    const int log = openBoundedLog(path);
    if (log < 0)
        return -1;
    std::fflush(stderr);
    const int before = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (before < 0 || dup2(log, STDERR_FILENO) < 0) {
        if (before >= 0)
            close(before);
        close(log);
        return -1;
    }
    close(log);
    return before;
}

} // namespace ide
