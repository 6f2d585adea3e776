#include "platform/file_io.hpp"

#include <csignal>
#include <dirent.h>
#include <sys/resource.h>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using platform::ReadWholeFile;
using platform::ReplaceFile;

namespace {

std::string TempDir()
{
    char pattern[] = "/tmp/quv-fileio-XXXXXX";
    return mkdtemp(pattern);
}

std::string Slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

int EntriesIn(const std::string& dir)
{
    int n = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            n += std::string(e->d_name) != "." && std::string(e->d_name) != "..";
        closedir(d);
    }
    return n;
}

TEST(FileIo, WholeFilesRoundTripByteForByte)
{
    const std::string contents[] = {
        std::string(), std::string("\n"), std::string("a\0b\nc\0", 6), std::string("x\r\ny\r\n"),
        std::string("\xD6\xD0\xCE\xC4\n"), std::string(200000, 'q'),
    };
    std::string dir = TempDir();
    for (const std::string& c : contents) {
        std::string path = dir + "/f", error, back;
        ASSERT_TRUE(ReplaceFile(path, c, error)) << error;
        ASSERT_TRUE(ReadWholeFile(path, back, error)) << error;
        EXPECT_EQ(back, c);
    }
    EXPECT_EQ(EntriesIn(dir), 1);   // no temporary file stays behind
}

TEST(FileIo, AReadOnlyFileIsRead)
{
    std::string path = TempDir() + "/ro";
    std::ofstream(path) << "text";
    chmod(path.c_str(), 0444);
    std::string data, error;
    EXPECT_TRUE(ReadWholeFile(path, data, error)) << error;
    EXPECT_EQ(data, "text");
}

TEST(FileIo, ReplacingKeepsPermissionsAndSymbolicLinks)
{
    std::string dir = TempDir(), error;
    std::string path = dir + "/kept";
    std::ofstream(path) << "old";
    chmod(path.c_str(), 0640);
    ASSERT_TRUE(ReplaceFile(path, "new", error)) << error;
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(Slurp(path), "new");

    std::string link = dir + "/link";
    ASSERT_EQ(symlink(path.c_str(), link.c_str()), 0);
    ASSERT_TRUE(ReplaceFile(link, "through the link", error)) << error;
    struct stat lst;
    ASSERT_EQ(lstat(link.c_str(), &lst), 0);
    EXPECT_TRUE(S_ISLNK(lst.st_mode));
    EXPECT_EQ(Slurp(path), "through the link");
}

TEST(FileIo, FailuresLeaveTheOldFileAndReportWhy)
{
    std::string dir = TempDir(), error, data;
    EXPECT_FALSE(ReadWholeFile(dir + "/missing", data, error));
    EXPECT_NE(error.find("missing"), std::string::npos);
    EXPECT_FALSE(ReadWholeFile(dir, data, error));
    EXPECT_FALSE(ReplaceFile(dir, "x", error));                 // a folder is not replaced
    EXPECT_FALSE(ReplaceFile(dir + "/no/such/folder/f", "x", error));
    // A write that fails half-way (here at a file size limit) leaves the old file.
    std::string big = dir + "/big";
    std::ofstream(big) << "precious";
    struct rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    struct rlimit small = old;
    small.rlim_cur = 16;
    auto previous = signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    bool replaced = ReplaceFile(big, std::string(1000, 'x'), error);
    setrlimit(RLIMIT_FSIZE, &old);
    signal(SIGXFSZ, previous);
    EXPECT_FALSE(replaced);
    EXPECT_EQ(Slurp(big), "precious");
    EXPECT_EQ(EntriesIn(dir), 1);   // only "big": no temporary file stays behind
    if (geteuid() != 0) {
        std::string locked = dir + "/locked";
        mkdir(locked.c_str(), 0755);
        std::ofstream(locked + "/f") << "precious";
        chmod(locked.c_str(), 0555);
        EXPECT_FALSE(ReplaceFile(locked + "/f", "lost?", error));
        EXPECT_EQ(Slurp(locked + "/f"), "precious");
        chmod(locked.c_str(), 0755);
    }
}

} // namespace
