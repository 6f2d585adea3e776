// Writing a user's file over real files, links and permissions. The cases
// about rights run as a user without any (nobody) when the tests run as
// root, in a child process made for it.
#include <gtest/gtest.h>

#include <dirent.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "in_child.hpp"
#include "platform/private_profile.hpp"
#include "platform/safe_write.hpp"

namespace {

struct Folder {
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quvwriteXXXXXX").string();
        path = mkdtemp(&pattern[0]);
        chmod(path.c_str(), 0755);
    }
    ~Folder() {
        chmod(path.c_str(), 0755);
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(path, ignored))
            chmod(entry.path().c_str(), 0755);
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

void put(const std::string& path, const std::string& bytes, mode_t mode = 0644) {
    std::ofstream(path, std::ios::binary) << bytes;
    chmod(path.c_str(), mode);
}

std::string get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    if (DIR* d = opendir(folder.c_str())) {
        while (dirent* e = readdir(d))
            if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                names.push_back(e->d_name);
        closedir(d);
    }
    std::sort(names.begin(), names.end());
    return names;
}

struct stat statOf(const std::string& path) {
    struct stat st {};
    stat(path.c_str(), &st);
    return st;
}

// The file at path is the one before was taken of: same inode, owner and mode.
void expectSameFile(const std::string& path, const struct stat& before) {
    const struct stat after = statOf(path);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_mode, before.st_mode);
}

std::string linkText(const std::string& path) {
    char to[4096];
    const ssize_t n = readlink(path.c_str(), to, sizeof to);
    return n < 0 ? std::string() : std::string(to, static_cast<size_t>(n));
}

// Writes in the child; "" when it went as `expectOk` says.
std::function<std::string()> writeExpecting(const std::string& path, const std::string& data, bool expectOk,
                                            const std::string& reasonHas = "") {
    return [=] {
        std::string reason;
        const bool ok = platform::WriteFileSafely(path, data, reason);
        if (ok != expectOk)
            return std::string(ok ? "written, against the rights" : "refused: " + reason);
        if (!reasonHas.empty() && reason.find(reasonHas) == std::string::npos)
            return "the reason '" + reason + "' does not say '" + reasonHas + "'";
        return std::string();
    };
}

TEST(SafeWrite, ReplacesAFileKeepingItsModeAndLeavesNothingBeside) {
    Folder dir;
    const std::string path = dir.file("a.e");
    put(path, "old\n", 0640);
    std::string reason;
    ASSERT_TRUE(platform::WriteFileSafely(path, "new text\n", reason)) << reason;
    EXPECT_EQ(get(path), "new text\n");
    EXPECT_EQ(statOf(path).st_mode & 07777, 0640u);
    EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{"a.e"});

    // A new file takes the mode every new file gets.
    const mode_t mask = umask(022);
    ASSERT_TRUE(platform::WriteFileSafely(dir.file("b.e"), "", reason)) << reason;
    umask(mask);
    EXPECT_EQ(statOf(dir.file("b.e")).st_mode & 07777, 0644u);
    EXPECT_EQ(get(dir.file("b.e")), "");
}

TEST(SafeWrite, RefusesWhatIsNoFileOrHasNoFolder) {
    Folder dir;
    const struct {
        std::string path, reasonHas;
    } cases[] = {
        {dir.path, "folder"},
        {dir.file("no/such.e"), "No such file"},
        {"/dev/null", "not a regular file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        std::string reason;
        EXPECT_FALSE(platform::WriteFileSafely(c.path, "x", reason));
        EXPECT_NE(reason.find(c.reasonHas), std::string::npos) << reason;
        EXPECT_EQ(platform::WriteFailureMessage(c.path, reason), "cannot write " + c.path + ": " + reason);
    }
    EXPECT_TRUE(namesIn(dir.path).empty());
}

// The other name of a linked file sees the new bytes: the file itself was written.
TEST(SafeWrite, AFileWithASecondLinkIsWrittenInPlace) {
    Folder dir;
    put(dir.file("a.e"), "old\n", 0600);
    ASSERT_EQ(link(dir.file("a.e").c_str(), dir.file("b.e").c_str()), 0);
    const ino_t inode = statOf(dir.file("a.e")).st_ino;
    std::string reason;
    ASSERT_TRUE(platform::WriteFileSafely(dir.file("a.e"), "new, and longer than before\n", reason)) << reason;
    EXPECT_EQ(get(dir.file("b.e")), "new, and longer than before\n");
    EXPECT_EQ(statOf(dir.file("a.e")).st_ino, inode);
    EXPECT_EQ(statOf(dir.file("a.e")).st_nlink, 2u);
    ASSERT_TRUE(platform::WriteFileSafely(dir.file("b.e"), "short\n", reason)) << reason;
    EXPECT_EQ(get(dir.file("a.e")), "short\n");
    EXPECT_EQ((std::vector<std::string>{"a.e", "b.e"}), namesIn(dir.path));
}

// The write stops at the file size limit half way: in place the old bytes
// are put back when they fit under the limit and reported lost when not;
// through a temporary file the old file is never touched.
TEST(SafeWrite, AWriteThatFailsHalfWayIsUndoneAndSaysSo) {
    const std::string big(4000, 'n');
    const struct {
        const char* name;
        bool linked;
        std::string old;
        const char* reasonHas;
        bool oldKept;
    } cases[] = {
        {"in place, old bytes put back", true, "old\n", "were put back", true},
        {"in place, old bytes too big to put back", true, std::string(3000, 'o'), "could not be put back", false},
        {"beside, old file untouched", false, std::string(3000, 'o'), "File too large", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder dir;
        const std::string path = dir.file("a.e");
        put(path, c.old);
        if (c.linked)
            link(path.c_str(), dir.file("b.e").c_str());
        const std::string said = inChild(false, [&] {
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit;
            getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 1000;
            setrlimit(RLIMIT_FSIZE, &limit);
            return writeExpecting(path, big, false, c.reasonHas)();
        });
        EXPECT_EQ(said, "");
        if (c.oldKept)
            EXPECT_EQ(get(path), c.old);
        else
            EXPECT_NE(get(path), big);
        EXPECT_EQ(namesIn(dir.path).size(), c.linked ? 2u : 1u);
    }
}

// Somebody else's read-only file in a folder everybody may write: a rename
// could replace it, but the user may not write it, so it is refused.
TEST(SafeWrite, AReadOnlyFileInAWritableFolderIsRefusedAndUntouched) {
    Folder dir;
    chmod(dir.path.c_str(), 0777);
    const std::string path = dir.file("ro.e");
    put(path, "protected\n", 0444);
    const struct stat before = statOf(path);
    RUN_IN_CHILD(true, writeExpecting(path, "overwritten\n", false, "Permission denied"));
    EXPECT_EQ(get(path), "protected\n");
    expectSameFile(path, before);
    EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{"ro.e"});
}

// A file the user may write in a folder the user may not: saved in place.
TEST(SafeWrite, AWritableFileInAReadOnlyFolderIsSavedInPlace) {
    Folder dir;
    const std::string path = dir.file("w.e");
    put(path, "old\n", 0666);
    chmod(dir.path.c_str(), 0555);
    const struct stat before = statOf(path);
    RUN_IN_CHILD(true, writeExpecting(path, "new\n", true));
    EXPECT_EQ(get(path), "new\n");
    expectSameFile(path, before);
    EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{"w.e"});
}

// Somebody else's file that the user may write, in the user's own folder: a
// new file would change its owner, so it is written in place.
TEST(SafeWrite, AFileWhoseOwnerCannotBeKeptIsWrittenInPlace) {
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to give the file another owner than the writer";
    Folder dir;
    const std::string path = dir.file("theirs.e");
    put(path, "old\n", 0666);
    chown(dir.path.c_str(), kNobody, kNobody);
    const struct stat before = statOf(path);
    RUN_IN_CHILD(true, writeExpecting(path, "new\n", true));
    EXPECT_EQ(get(path), "new\n");
    const struct stat after = statOf(path);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_uid, 0u);
    EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{"theirs.e"});
}

// Names up to the longest a folder takes, new and replaced, through the
// writer itself and through the settings files' writer: the temporary file
// must not need a longer name than the file.
TEST(SafeWrite, NamesAsLongAsTheFolderTakes) {
    const struct {
        const char* writer;
        std::function<bool(const std::string&)> write;
        std::function<std::string(const std::string& old)> expected;
    } writers[] = {
        {"safe write",
         [](const std::string& path) {
             std::string reason;
             return platform::WriteFileSafely(path, "new\n", reason);
         },
         [](const std::string&) { return std::string("new\n"); }},
        {"profile", [](const std::string& path) { return platform::writePrivateProfileString("s", "k", "v", path); },
         [](const std::string& old) { return old + "[s]\nk=v\n"; }},
    };
    for (const auto& w : writers) {
        for (const size_t length : {1u, 247u, 248u, 250u, 255u}) {
            for (const bool existing : {false, true}) {
                SCOPED_TRACE(std::string(w.writer) + ", " + std::to_string(length) + " bytes" +
                             (existing ? ", replaced" : ", new"));
                Folder dir;
                const std::string name(length, 'n');
                if (existing)
                    put(dir.file(name), "old\n", 0640);
                ASSERT_TRUE(w.write(dir.file(name)));
                EXPECT_EQ(get(dir.file(name)), w.expected(existing ? "old\n" : ""));
                if (existing)
                    EXPECT_EQ(statOf(dir.file(name)).st_mode & 07777, 0640u);
                EXPECT_EQ(namesIn(dir.path), std::vector<std::string>{name});
            }
        }
    }
    // A name longer than any the folder takes is still refused, and nothing is left.
    Folder dir;
    std::string reason;
    platform::WriteFailure why;
    EXPECT_FALSE(platform::WriteFileSafely(dir.file(std::string(256, 'n')), "x", reason, why));
    EXPECT_EQ(why.error, ENAMETOOLONG);
    EXPECT_TRUE(namesIn(dir.path).empty());
}

// A link to a file not made yet: the file is made where the chain of links
// ends (a relative link read from its own folder) and every link stays.
TEST(SafeWrite, ALinkToAFileNotMadeYetMakesTheFileAndStays) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;  // link -> what it says, made in order
        std::string written;                                     // the link written through
        std::string made;                                        // the file that is made
    } cases[] = {
        {"relative", {{"link.e", "made.e"}}, "link.e", "made.e"},
        {"relative, from the link's folder", {{"sub/link.e", "../made.e"}}, "sub/link.e", "made.e"},
        {"absolute", {{"link.e", "@/sub/made.e"}}, "link.e", "sub/made.e"},
        {"a chain", {{"first.e", "sub/second.e"}, {"sub/second.e", "@/made.e"}}, "first.e", "made.e"},
        {"relative, into a folder", {{"link.e", "sub/made.e"}}, "link.e", "sub/made.e"},
        {"a chain of relative links", {{"first.e", "sub/second.e"}, {"sub/second.e", "made.e"}}, "first.e",
         "sub/made.e"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder dir;
        mkdir(dir.file("sub").c_str(), 0755);
        put(dir.file("sub/kept.e"), "kept\n");
        for (const auto& [link, to] : c.links) {
            const std::string text = to[0] == '@' ? dir.path + to.substr(1) : to;
            ASSERT_EQ(symlink(text.c_str(), dir.file(link).c_str()), 0);
        }
        std::string reason;
        ASSERT_TRUE(platform::WriteFileSafely(dir.file(c.written), "new\n", reason)) << reason;
        EXPECT_EQ(get(dir.file(c.made)), "new\n");
        struct stat st;
        ASSERT_EQ(lstat(dir.file(c.made).c_str(), &st), 0);
        EXPECT_TRUE(S_ISREG(st.st_mode));
        for (const auto& [link, to] : c.links)
            EXPECT_EQ(linkText(dir.file(link)), to[0] == '@' ? dir.path + to.substr(1) : to) << link;
        // Written again, through the link, the same file takes the new bytes.
        ASSERT_TRUE(platform::WriteFileSafely(dir.file(c.written), "again\n", reason)) << reason;
        EXPECT_EQ(get(dir.file(c.made)), "again\n");
        EXPECT_EQ(get(dir.file("sub/kept.e")), "kept\n");
        EXPECT_EQ(namesIn(dir.file("sub")).size() + namesIn(dir.path).size(), c.links.size() + 3);
    }
}

// Links that lead nowhere a file can be made: refused, saying why and where
// the link leads, with every link as it was and nothing made.
TEST(SafeWrite, ALinkThatLeadsNowhereIsRefusedAndLosesNothing) {
    const struct {
        const char* name;
        std::vector<std::pair<std::string, std::string>> links;
        int error;
        const char* reasonHas;
    } cases[] = {
        {"a loop", {{"a.e", "b.e"}, {"b.e", "a.e"}}, ELOOP, "Too many levels of symbolic links"},
        {"to itself", {{"a.e", "a.e"}}, ELOOP, "Too many levels of symbolic links"},
        {"into a missing folder", {{"a.e", "no/such/made.e"}}, ENOENT, "it links to "},
        {"to a folder", {{"a.e", "."}}, EISDIR, "it links to "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder dir;
        for (const auto& [link, to] : c.links)
            ASSERT_EQ(symlink(to.c_str(), dir.file(link).c_str()), 0);
        const std::vector<std::string> before = namesIn(dir.path);
        std::string reason;
        platform::WriteFailure why;
        EXPECT_FALSE(platform::WriteFileSafely(dir.file("a.e"), "new\n", reason, why));
        EXPECT_EQ(why.error, c.error);
        EXPECT_NE(reason.find(c.reasonHas), std::string::npos) << reason;
        EXPECT_EQ(namesIn(dir.path), before);
        for (const auto& [link, to] : c.links)
            EXPECT_EQ(linkText(dir.file(link)), to);
    }
}

}  // namespace
