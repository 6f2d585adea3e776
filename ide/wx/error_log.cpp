#include "ide/wx/error_log.hpp"

#include <cstdio>
#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

#include "ide/model/settings_file.hpp"

namespace ide {

std::string StandardErrorLogPath()
{
    return (std::filesystem::path(SettingsFilePath()).parent_path() / "quvbench.log").string();
}

int SendStandardErrorTo(const std::string& path)
{
    EnsureFolderOf(path);
    // Appending: the threads' writes never land on one another.
    const int log = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_APPEND | O_CLOEXEC, 0644);
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
