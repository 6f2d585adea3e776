// Loading and saving files through the control: whole files, NUL bytes kept,
// read-only files loaded, saves that replace the old file only when they
// succeed, and failed calls that change nothing.
#include <csignal>
#include <dirent.h>
#include <unistd.h>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include "quvpad_host.hpp"

namespace quvpad::test {
namespace {

int FilesIn(const std::string& dir)
{
    int n = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* e = readdir(d))
            n += std::string(e->d_name) != "." && std::string(e->d_name) != "..";
        closedir(d);
    }
    return n;
}

TEST(QuvPadFiles, LoadThenSaveGivesTheTextWithLfLineEnds)
{
    struct Case {
        std::string on, saved;
    };
    const Case cases[] = {
        {"a\nb\n", "a\nb\n"},
        {"a\nb", "a\nb\n"},
        {"x\r\ny\r\n", "x\ny\n"},
        {"a\tb\n", "a   b\n"},
        {std::string("one\0two\nthree\0", 14), std::string("one\0two\nthree\0\n", 15)},
        {"// \xD6\xD0\xCE\xC4\n", "// \xD6\xD0\xCE\xC4\n"},
        {"\n", "\n"},
    };
    const TempFolder folder("quvpad-test-");
    const std::string& dir = folder.path;
    Host host;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.on));
        std::string in = WriteFile(dir + "/in.e", c.on), out = dir + "/out.e";
        host.Log().Clear();
        ASSERT_TRUE(host.Pad().FileLoad(Wide(in)));
        EXPECT_FALSE(host.Ctrl().IsModified());
        EXPECT_FALSE(host.Pad().GetBCanUndo());
        EXPECT_EQ(host.Ctrl().FileName(), Wide(in));
        host.Pad().FileNew();
        ASSERT_TRUE(host.Pad().FileSaveAs(Wide(out)));
        EXPECT_EQ(ReadFile(out), c.saved);
        EXPECT_FALSE(host.Ctrl().IsModified());
        EXPECT_EQ(host.Ctrl().FileName(), Wide(in));   // FileSaveAs does not remember the name
        ASSERT_TRUE(host.Pad().FileSave(Wide(out)));
        EXPECT_EQ(host.Ctrl().FileName(), Wide(out));
    }
}

TEST(QuvPadFiles, NulBytesAreKeptInLinesAndCounts)
{
    Host host;
    const TempFolder folder("quvpad-test-");
    std::string path = WriteFile(folder / "nul.e", std::string("ab\0cd\nef", 8));
    ASSERT_TRUE(host.Pad().FileLoad(Wide(path)));
    EXPECT_EQ(host.Pad().GetTextSize(), 2);
    EXPECT_EQ(host.Pad().GetLine(0), std::wstring(L"ab\0cd", 5));
    EXPECT_EQ(host.Pad().GetCharSize(), 7);
    EXPECT_EQ(host.Pad().UnloadText(), std::wstring(L"ab\0cd\nef\n", 9));
    host.Screenshot();   // paints a NUL byte without trouble
}

TEST(QuvPadFiles, AReadOnlyFileLoadsAndASaveKeepsThePermissions)
{
    Host host;
    const TempFolder folder("quvpad-test-");
    const std::string& dir = folder.path;
    std::string ro = WriteFile(dir + "/ro.e", "read only\n");
    chmod(ro.c_str(), 0444);
    EXPECT_TRUE(host.Pad().FileLoad(Wide(ro)));
    EXPECT_EQ(host.Pad().GetLine(0), L"read only");
    // Even root cannot open this one for writing.
    EXPECT_TRUE(host.Pad().FileLoad(L"/proc/version"));
    EXPECT_EQ(host.Pad().GetLine(0).substr(0, 5), L"Linux");
    EXPECT_TRUE(host.Pad().FileLoad(Wide(ro)));

    // Saved through a symbolic link: the link stays and its file keeps its mode.
    std::string kept = WriteFile(dir + "/kept.e", "old\n"), link = dir + "/link.e";
    chmod(kept.c_str(), 0640);
    ASSERT_EQ(symlink(kept.c_str(), link.c_str()), 0);
    ASSERT_TRUE(host.Pad().FileSave(Wide(link)));
    struct stat st;
    ASSERT_EQ(stat(kept.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFile(kept), "read only\n");
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
}

// A name as long as a folder takes, new and replaced, and a link to a file
// not made yet, which is made where the link leads while the link stays.
TEST(QuvPadFiles, LongNamesAndLinksToNewFilesAreSaved)
{
    Host host;
    const TempFolder folder("quvpad-test-");
    const std::string& dir = folder.path;
    ASSERT_TRUE(host.Pad().FileLoad(Wide(WriteFile(dir + "/in.e", "text\n"))));
    const std::string longest = dir + "/" + std::string(255, 'n');
    ASSERT_TRUE(host.Pad().FileSaveAs(Wide(longest)));
    ASSERT_TRUE(host.Pad().FileSave(Wide(longest)));
    EXPECT_EQ(ReadFile(longest), "text\n");

    const std::string link = dir + "/link.e";
    ASSERT_EQ(symlink("later.e", link.c_str()), 0);
    ASSERT_TRUE(host.Pad().FileSave(Wide(link)));
    EXPECT_EQ(ReadFile(dir + "/later.e"), "text\n");
    struct stat st;
    ASSERT_EQ(lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode));
    EXPECT_EQ(FilesIn(dir), 4);
}

// A failed call leaves the text, the file name, the modified flag and the old
// file as they were, and says kFileAccessError.
TEST(QuvPadFiles, FailedCallsChangeNothing)
{
    const TempFolder folder("quvpad-test-"), second("quvpad-test-");
    const std::string& dir = folder.path;
    const std::string& elsewhere = second.path;
    std::string good = WriteFile(dir + "/good.e", "kept text\n");
    std::string precious = WriteFile(dir + "/precious.e", "precious\n");
    struct Case {
        const char* what;
        std::function<bool(DQuvPad&)> call;
    };
    const Case cases[] = {
        {"load a missing file", [&](DQuvPad& p) { return p.FileLoad(Wide(dir + "/missing.e")); }},
        {"load a folder", [&](DQuvPad& p) { return p.FileLoad(Wide(dir)); }},
        {"save into a missing folder", [&](DQuvPad& p) { return p.FileSaveAs(Wide(dir + "/no/x.e")); }},
        {"save over a folder", [&](DQuvPad& p) { return p.FileSave(Wide(dir)); }},
        {"save that runs out of room",
         [&](DQuvPad& p) {
             // The file size limit stops the write half-way.
             struct rlimit old, small;
             getrlimit(RLIMIT_FSIZE, &old);
             small = old;
             small.rlim_cur = 4;
             auto previous = signal(SIGXFSZ, SIG_IGN);
             setrlimit(RLIMIT_FSIZE, &small);
             bool saved = p.FileSave(Wide(precious));
             setrlimit(RLIMIT_FSIZE, &old);
             signal(SIGXFSZ, previous);
             return saved;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Host host;
        ASSERT_TRUE(host.Pad().FileLoad(Wide(good)));
        host.Type("x");
        ASSERT_TRUE(host.Ctrl().IsModified());
        host.Log().Clear();
        EXPECT_FALSE(c.call(host.Pad()));
        EXPECT_EQ(host.Pad().LastError(), kFileAccessError);
        EXPECT_NE(host.Pad().LastErrorText().find(Wide(dir)), std::wstring::npos) << host.Pad().LastErrorText();
        EXPECT_EQ(host.Pad().GetLine(0), L"xkept text");
        EXPECT_EQ(host.Ctrl().FileName(), Wide(good));
        EXPECT_TRUE(host.Ctrl().IsModified());
        EXPECT_TRUE(host.Log().modified.empty());
        EXPECT_EQ(ReadFile(precious), "precious\n");
        EXPECT_EQ(FilesIn(dir), 2);   // no temporary file stays behind
        EXPECT_TRUE(host.Pad().FileSaveAs(Wide(elsewhere + "/fine.e")));
        EXPECT_EQ(host.Pad().LastError(), 0);
        EXPECT_TRUE(host.Pad().LastErrorText().empty());
    }
}

// A save writes the file itself where a new file would not be the same one:
// the other name of a linked file sees the text. Somebody else's read-only
// file is refused, saved as the user nobody in a child process when the
// tests run as root, and keeps its bytes and its owner.
TEST(QuvPadFiles, ASaveWritesTheFileItselfAndRespectsItsRights)
{
    const TempFolder folder("quvpad-test-");
    const std::string& dir = folder.path;
    std::string file = WriteFile(dir + "/a.e", "old\n"), other = dir + "/b.e";
    ASSERT_EQ(link(file.c_str(), other.c_str()), 0);
    Host host;
    ASSERT_TRUE(host.Pad().FileLoad(Wide(file)));
    host.Type("x");
    ASSERT_TRUE(host.Pad().FileSave(Wide(file)));
    EXPECT_EQ(ReadFile(other), "xold\n");
    EXPECT_EQ(FilesIn(dir), 2);

    chmod(dir.c_str(), 0777);
    std::string ro = WriteFile(dir + "/ro.e", "protected\n");
    chmod(ro.c_str(), 0444);
    host.Type("y");
    int report[2];
    ASSERT_EQ(pipe(report), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        char said = 'y';
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            said = 's';
        else if (host.Pad().FileSave(Wide(ro)))
            said = 'w';
        else if (host.Pad().LastErrorText().find(Wide(ro)) == std::wstring::npos || !host.Ctrl().IsModified())
            said = 'm';
        (void)!write(report[1], &said, 1);
        _exit(0);
    }
    close(report[1]);
    char said = 0;
    (void)!read(report[0], &said, 1);
    close(report[0]);
    waitpid(pid, nullptr, 0);
    if (said == 's')
        GTEST_SKIP() << "cannot become the user nobody";
    EXPECT_EQ(said, 'y') << "w: written, m: no message naming the file, or the flag lost";
    EXPECT_EQ(ReadFile(ro), "protected\n");
    struct stat st;
    ASSERT_EQ(stat(ro.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, geteuid());
    EXPECT_EQ(FilesIn(dir), 3);
}

} // namespace
} // namespace quvpad::test
