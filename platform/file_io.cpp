#include "platform/file_io.hpp"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {
std::string Describe(const char* what, const std::string& path)
{
    return std::string(what) + " " + path + ": " + std::strerror(errno);
}

bool WriteAll(int fd, const std::string& data)
{
    size_t done = 0;
    while (done < data.size()) {
        ssize_t n = write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}
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
        out.append(buffer, static_cast<size_t>(n));
    }
    close(fd);
    data.swap(out);
    return true;
}

bool ReplaceFile(const std::string& path, const std::string& data, std::string& error)
{
    // Replace what a symbolic link names, not the link.
    std::string target = path;
    char resolved[PATH_MAX];
    struct stat lst;
    if (lstat(path.c_str(), &lst) == 0 && S_ISLNK(lst.st_mode) && realpath(path.c_str(), resolved))
        target = resolved;

    struct stat old;
    bool exists = stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        error = "cannot write " + path + ": not a regular file";
        return false;
    }
    size_t slash = target.rfind('/');
    std::string folder = slash == std::string::npos ? std::string(".") : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temp = (slash == std::string::npos ? std::string() : folder) + "." + base + ".XXXXXX";
    int fd = mkstemp(temp.data());
    if (fd < 0) {
        error = Describe("cannot create a file beside", path);
        return false;
    }
    mode_t mode;
    if (exists) {
        mode = old.st_mode & 07777;
        if (fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Another owner cannot be kept without the right to give files away.
        }
    } else {
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = WriteAll(fd, data) && fchmod(fd, mode) == 0 && fsync(fd) == 0;
    if (!ok)
        error = Describe("cannot write", path);
    if (close(fd) != 0 && ok) {
        ok = false;
        error = Describe("cannot write", path);
    }
    if (ok && rename(temp.c_str(), target.c_str()) != 0) {
        ok = false;
        error = Describe("cannot replace", path);
    }
    if (!ok)
        unlink(temp.c_str());
    return ok;
}

} // namespace platform
