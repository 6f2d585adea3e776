// The lock a merge holds from its read to its write: on a lock file beside
// the file, or on the file itself where no lock file can be made, and given
// up after its wait while another holds it.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "in_child.hpp"
#include "platform/file_lock.hpp"

namespace {

using std::chrono::milliseconds;

bool exists(const std::string& path) {
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

// While one holds the lock of `file`, another is refused after its wait; once
// it is let go, the next one has it at once. "" when that is so.
std::string lockedAgainstAnother(const std::string& file) {
    {
        const platform::FileLock first(file, milliseconds(0));
        if (first.Error())
            return std::string("the first lock failed: ") + std::strerror(first.Error());
        const auto start = std::chrono::steady_clock::now();
        const platform::FileLock second(file, milliseconds(200));
        if (second.Error() != EBUSY)
            return "the second lock was had while the first was held";
        if (std::chrono::steady_clock::now() - start < milliseconds(200))
            return "the second lock gave up before its wait";
    }
    const platform::FileLock third(file, milliseconds(0));
    return third.Error() ? "the lock was not let go" : "";
}

TEST(FileLock, HeldBesideTheFileOrOnItselfAndWaitedForOnlySoLong) {
    const struct {
        const char* name;
        std::string file;        // in the folder
        bool fileThere;
        bool readOnlyFolder;     // run as a user who may not write the folder
        bool lockFileMade;
    } cases[] = {
        {"beside the file", "QuvBench.ini", true, false, true},
        {"beside a file not made yet", "QuvBench.ini", false, false, true},
        {"on a file whose lock file's name would be too long", std::string(252, 'n'), true, false, false},
        {"on a file in a folder the user may not write", "QuvBench.ini", true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder dir("quvlock");
        const std::string file = dir / c.file;
        if (c.fileThere) {
            std::ofstream(file) << "[s]\nk=v\n";
            chmod(file.c_str(), 0666);
        }
        if (c.readOnlyFolder)
            chmod(dir.path.c_str(), 0555);
        RUN_IN_CHILD(c.readOnlyFolder, [&] { return lockedAgainstAnother(file); });
        EXPECT_EQ(exists(file + ".lock"), c.lockFileMade);
        EXPECT_EQ(exists(file), c.fileThere);
    }
}

// Where there is nothing to lock, the write that follows says what is wrong.
TEST(FileLock, NothingToLockIsNoError) {
    const TempFolder dir("quvlock");
    const platform::FileLock lock(dir / "no/such/QuvBench.ini", milliseconds(0));
    EXPECT_EQ(lock.Error(), 0);
}

}  // namespace
