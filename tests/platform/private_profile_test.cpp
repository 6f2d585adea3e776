// Reading and writing private-profile files.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "in_child.hpp"
#include "platform/private_profile.hpp"

namespace {

struct Folder {
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "quvprofileXXXXXX").string();
        path = mkdtemp(&pattern[0]);
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::string file(const std::string& name) const { return path + "/" + name; }
    std::string path;
};

void put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string get(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

const char kSample[] =
    "; settings\n"
    "[Font]\n"
    "Name =  Courier New  \n"
    "Quoted=\"  padded  \"\n"
    "Single='x'\n"
    "Half=\"open\n"
    "Size=12\n"
    "Size=99\n"
    "Neg=-7\n"
    "Hex=0x1F\n"
    "Plus=+15\n"
    "Junk=12abc\n"
    "Word=abc\n"
    "Empty=\n"
    "  [ Colours ]  \r\n"
    "Back=1\r\n"
    "[font]\n"
    "Extra=second section\n";

struct ReadCase {
    const char* section;
    const char* key;
    size_t size;
    std::string value;
};

TEST(PrivateProfileRead, Strings) {
    Folder dir;
    put(dir.file("a.ini"), kSample);
    const ReadCase cases[] = {
        {"Font", "Name", 1024, "Courier New"},
        {"FONT", "name", 1024, "Courier New"},
        {"Font", "Quoted", 1024, "  padded  "},
        {"Font", "Single", 1024, "x"},
        {"Font", "Half", 1024, "\"open"},
        {"Font", "Size", 1024, "12"},       // the first key wins
        {"Font", "Extra", 1024, "dflt"},    // the first section wins
        {"Colours", "Back", 1024, "1"},     // CR LF lines, blanks around the section name
        {"Font", "Empty", 1024, ""},
        {"Font", "Missing", 1024, "dflt"},
        {"Nowhere", "Name", 1024, "dflt"},
        {"Font", "Name", 5, "Cour"},        // cut to the buffer
        {"Font", "Missing", 3, "df"},
        {"Font", "Name", 0, ""},
    };
    for (const ReadCase& c : cases)
        EXPECT_EQ(platform::getPrivateProfileString(c.section, c.key, "dflt", c.size, dir.file("a.ini")), c.value)
            << c.section << "/" << c.key << "/" << c.size;
    EXPECT_EQ(platform::getPrivateProfileString("Font", "Name", "dflt", 1024, dir.file("none.ini")), "dflt");
}

// LF, CR LF and a bare CR each end a line; a byte-order mark at the start is
// no part of the first line, anywhere else it is.
TEST(PrivateProfileRead, LineEndsAndTheByteOrderMark) {
    const std::string mark = "\xEF\xBB\xBF";
    const struct {
        const char* name;
        std::string bytes;
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"LF", "[QuvBench]\nProject Name=demo\nFile 1=a.e\n", "QuvBench", "File 1", "a.e"},
        {"CR LF", "[QuvBench]\r\nProject Name=demo\r\nFile 1=a.e\r\n", "QuvBench", "File 1", "a.e"},
        {"bare CR", "[QuvBench]\rProject Name=demo\rFile 1=a.e\r", "QuvBench", "Project Name", "demo"},
        {"bare CR, last key", "[QuvBench]\rProject Name=demo\rFile 1=a.e", "QuvBench", "File 1", "a.e"},
        {"mixed", "[A]\rx=1\r\n[B]\ny=2\r", "B", "y", "2"},
        {"CR CR LF: a blank line between", "[A]\r\r\nx=1", "A", "x", "1"},
        {"mark, LF", mark + "[QuvBench]\nProject Name=demo\n", "QuvBench", "Project Name", "demo"},
        {"mark, bare CR", mark + "[QuvBench]\rProject Name=demo\r", "QuvBench", "Project Name", "demo"},
        {"mark not at the start", "[B]\n" + mark + "[A]\nk=2\n", "A", "k", "none"},
        {"mark twice", mark + mark + "[A]\nk=2\n", "A", "k", "none"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Folder dir;
        put(dir.file("a.ini"), c.bytes);
        EXPECT_EQ(platform::getPrivateProfileString(c.section, c.key, "none", 1024, dir.file("a.ini")), c.value);
        EXPECT_EQ(platform::PrivateProfileFile(dir.file("a.ini")).getString(c.section, c.key, "none", 1024),
                  c.value);
    }
}

TEST(PrivateProfileRead, SaysWhyAFileCouldNotBeRead) {
    Folder dir;
    put(dir.file("a.ini"), "[A]\nk=1\n");
    EXPECT_EQ(platform::PrivateProfileFile(dir.file("a.ini")).readError(), "");
    EXPECT_EQ(platform::PrivateProfileFile(dir.file("none.ini")).readError(), "No such file or directory");
    EXPECT_EQ(platform::PrivateProfileFile(dir.path).readError(), "Is a directory");
}

TEST(PrivateProfileRead, Integers) {
    Folder dir;
    put(dir.file("a.ini"), kSample);
    const std::pair<const char*, int> cases[] = {
        {"Size", 12}, {"Neg", -7}, {"Hex", 31}, {"Plus", 15}, {"Junk", 12}, {"Word", 0}, {"Empty", 0}, {"Missing", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::getPrivateProfileInt("font", c.first, -1, dir.file("a.ini")), c.second) << c.first;
}

struct WriteCase {
    const char* name;
    std::string before;  // no file when empty
    const char* section;
    const char* key;
    const char* value;
    std::string after;
};

TEST(PrivateProfileWrite, ReplacesInPlaceOrAppends) {
    const std::string two = "; head\n[A]\nx=1\ny=2\n\n[B]\nz=3\n";
    const WriteCase cases[] = {
        {"replace in place, letter case aside", two, "a", "X", "9", "; head\n[A]\nX=9\ny=2\n\n[B]\nz=3\n"},
        {"append to its section, before the blank line", two, "A", "w", "4",
         "; head\n[A]\nx=1\ny=2\nw=4\n\n[B]\nz=3\n"},
        {"append to the last section", two, "B", "q", "", "; head\n[A]\nx=1\ny=2\n\n[B]\nz=3\nq=\n"},
        {"append a section", two, "C", "k", "v", two + "[C]\nk=v\n"},
        {"last line without a line end", "[A]\nx=1", "A", "y", "2", "[A]\nx=1\ny=2\n"},
        {"CR LF lines stay", "[A]\r\nx=1\r\ny=2\r\n", "A", "x", "5", "[A]\r\nx=5\r\ny=2\r\n"},
        {"last line ending in a bare CR", "[A]\nk=1\r", "A", "m", "new", "[A]\nk=1\rm=new\n"},
        {"a section after a bare CR", "[A]\nk=1\r", "B", "m", "new", "[A]\nk=1\r[B]\nm=new\n"},
        {"a section after a line without its end", "[A]\nk=1", "B", "m", "new", "[A]\nk=1\n[B]\nm=new\n"},
        {"a header alone without its end", "[A]", "A", "m", "new", "[A]\nm=new\n"},
        {"after a CR LF last line", "[A]\r\nk=1\r\n", "A", "m", "2", "[A]\r\nk=1\r\nm=2\r\n"},
        {"a section into CR LF lines", "[A]\r\nk=1", "B", "m", "2", "[A]\r\nk=1\r\n[B]\r\nm=2\r\n"},
        {"replace in CR lines", "[A]\rx=1\ry=2\r", "A", "x", "5", "[A]\rx=5\ry=2\r"},
        {"append to CR lines", "[A]\rk=1\r\r[B]\r", "A", "m", "2", "[A]\rk=1\rm=2\r\r[B]\r"},
        {"a section into CR lines", "[A]\rk=1", "B", "m", "2", "[A]\rk=1\r[B]\rm=2\r"},
        // A bare CR before the LF of a blank line would read as one CR LF.
        {"a CR line before a blank LF line", "[A]\rk=1\n\n[B]\r", "A", "m", "2", "[A]\rk=1\nm=2\r\n\n[B]\r"},
        {"byte-order mark kept", "\xEF\xBB\xBF[A]\r\nx=1\r\n", "A", "x", "7", "\xEF\xBB\xBF[A]\r\nx=7\r\n"},
        {"byte-order mark alone", "\xEF\xBB\xBF", "A", "m", "v", "\xEF\xBB\xBF[A]\nm=v\n"},
        {"create the file", "", "QuvBench", "Project Name", "demo", "[QuvBench]\nProject Name=demo\n"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.name);
        Folder dir;
        if (!c.before.empty())
            put(dir.file("a.ini"), c.before);
        EXPECT_TRUE(platform::writePrivateProfileString(c.section, c.key, c.value, dir.file("a.ini")));
        EXPECT_EQ(get(dir.file("a.ini")), c.after);
        EXPECT_EQ(platform::getPrivateProfileString(c.section, c.key, "none", 1024, dir.file("a.ini")), c.value);
        // The old line was not damaged, and a second write finds the key it wrote.
        if (c.before.find("k=1") != std::string::npos) {
            EXPECT_EQ(platform::getPrivateProfileString("A", "k", "none", 1024, dir.file("a.ini")), "1");
        }
        const size_t size = get(dir.file("a.ini")).size();
        EXPECT_TRUE(platform::writePrivateProfileString(c.section, c.key, "again", dir.file("a.ini")));
        EXPECT_EQ(get(dir.file("a.ini")).size(), size + 5 - std::string(c.value).size());
    }
}

TEST(PrivateProfileWrite, RefusesWhatWouldBreakTheLines) {
    const std::string before = "[A]\nx=1\n";
    const struct {
        const char *section, *key, *value;
    } cases[] = {
        {"A", "x", "1\n[B]"}, {"A", "x", "one\rtwo"}, {"A\n", "x", "1"}, {"A", "x\ny", "1"},
        {"A", "x=y", "1"},    {"A]", "x", "1"},       {"A", "", "1"},        {"A", "[x", "1"},
        {"A", ";x", "1"},     {"A", " x", "1"},       {"A", "x ", "1"},      {"A", "x\t", "1"},
        {" A", "x", "1"},     {"A ", "x", "1"},       {"\tB", "x", "1"},     {"A", "x\r", "1"},
        {"A\r", "x", "1"},    {"A", " ", "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::string(c.section) + "/" + c.key + "=" + c.value));
        Folder dir;
        put(dir.file("a.ini"), before);
        EXPECT_FALSE(platform::writePrivateProfileString(c.section, c.key, c.value, dir.file("a.ini")));
        EXPECT_EQ(get(dir.file("a.ini")), before);
    }
    // A NUL would cut the name where the file is read as C text.
    for (const auto& [section, key] : {std::pair<std::string, std::string>{std::string("A\0B", 3), "x"},
                                       {"A", std::string("x\0y", 3)}}) {
        Folder dir;
        put(dir.file("a.ini"), before);
        EXPECT_FALSE(platform::writePrivateProfileString(section, key, "1", dir.file("a.ini")));
        EXPECT_EQ(get(dir.file("a.ini")), before);
    }
    // Names inside which blanks, ";" and "[" stand are fine.
    for (const char* key : {"File 1", "a;b", "a[b]"}) {
        Folder dir;
        EXPECT_TRUE(platform::writePrivateProfileString("Quv Bench", key, "v", dir.file("a.ini")));
        EXPECT_EQ(platform::getPrivateProfileString("Quv Bench", key, "none", 1024, dir.file("a.ini")), "v");
    }
    Folder dir;
    EXPECT_FALSE(platform::writePrivateProfileString("A", "x", "1\n", dir.file("new.ini")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("new.ini")));
    EXPECT_FALSE(platform::writePrivateProfileString("A", "x", "1", dir.file("no/such/folder.ini")));
}

}  // namespace

namespace {

// PrivateProfileFile reads and writes as the one-key functions do: the same
// calls on the same file give the same values, results and bytes.
TEST(PrivateProfileFile, ReadsAndWritesAsTheOneKeyFunctions) {
    const struct {
        const char* name;
        const char* bytes;  // nullptr: no file
    } files[] = {
        {"sample", kSample},
        {"missing", nullptr},
        {"empty", ""},
        {"no line end at the end", "[A]\nx=1"},
        {"header only, no line end", "[A]"},
        {"preamble only", "; nothing\nloose=1"},
        {"blank lines before the next section", "[A]\nx=1\n\n  \n[B]\ny=2\n\n"},
        {"line ends of both kinds", "[A]\r\nx=1\r\n[B]\ny=2\r\n"},
        {"bare CR lines", "[A]\rx=1\r\r[B]\ry=2"},
        {"CR CR LF", "[A]\r\r\nx=1\r\n"},
        {"byte-order mark", "\xEF\xBB\xBF[Font]\r\nSize=3\r\n[A]\r\nx=1\r\n"},
        {"byte-order mark alone", "\xEF\xBB\xBF"},
    };
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } writes[] = {
        {"A", "x", "replaced"},      {"a", "X", "case"},          {"A", "new", "appended"},
        {"B", "z", "3"},             {"Font", "Size", "14"},      {"FONT", "added", "v"},
        {"Colours", "Back", "2"},    {"Colours", "Fore", "7"},    {"New", "k", "v"},
        {"new", "k2", "v2"},         {" Spaced ", "k", "v"},      {"Spaced", "k", "again"},
        {"A", " x ", "untrimmed"},   {"A", "bad\nkey", "v"},      {"A", "k=v", "v"},
        {"A", "", "v"},              {"A", "  ", "v"},            {"A]", "k", "v"},
        {"A", "k", "bad\rvalue"},    {"Last", "File 1", "a.e"},   {"Last", "File 2", "\"b.e\""},
    };
    const struct {
        const char* section;
        const char* key;
    } reads[] = {{"A", "x"},          {"a", "new"},   {"B", "z"},           {"Font", "Size"}, {"font", "Extra"},
                 {"Colours", "Back"}, {"New", "K2"},  {"Spaced", "k"},      {"A", "x "},      {"Last", "File 2"},
                 {"Font", "Hex"},     {"Font", "Neg"}, {"Font", "Quoted"}, {"None", "k"},    {"", ""}};
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        Folder dir;
        const std::string one = dir.file("one.ini"), batch = dir.file("batch.ini");
        if (f.bytes) {
            put(one, f.bytes);
            put(batch, f.bytes);
        }
        platform::PrivateProfileFile profile(batch);
        // The same file's bytes handed over already read (a missing file's are none).
        const std::string held = dir.file("held.ini");
        platform::PrivateProfileFile fromText(held, f.bytes ? f.bytes : "");
        for (const auto& r : reads) {
            SCOPED_TRACE(std::string("before: ") + r.section + "/" + r.key);
            const std::string value = platform::getPrivateProfileString(r.section, r.key, "none", 6, one);
            EXPECT_EQ(profile.getString(r.section, r.key, "none", 6), value);
            EXPECT_EQ(fromText.getString(r.section, r.key, "none", 6), value);
            EXPECT_EQ(profile.getInt(r.section, r.key, -5), platform::getPrivateProfileInt(r.section, r.key, -5, one));
        }
        for (const auto& w : writes) {
            SCOPED_TRACE(std::string(w.section) + "/" + w.key);
            const bool written = platform::writePrivateProfileString(w.section, w.key, w.value, one);
            EXPECT_EQ(profile.writeString(w.section, w.key, w.value), written);
            EXPECT_EQ(fromText.writeString(w.section, w.key, w.value), written);
        }
        ASSERT_TRUE(profile.save());
        ASSERT_TRUE(fromText.save());
        EXPECT_EQ(get(batch), get(one));
        EXPECT_EQ(get(held), get(one));
        for (const auto& r : reads) {
            SCOPED_TRACE(std::string("after: ") + r.section + "/" + r.key);
            EXPECT_EQ(profile.getString(r.section, r.key, "none", 1024),
                      platform::getPrivateProfileString(r.section, r.key, "none", 1024, one));
        }
    }
}

// A settings file that is there but cannot be read (writable, not readable)
// keeps its keys: neither writer replaces it with the new key alone. A
// missing file is still created, and a folder refused as it always was.
TEST(PrivateProfileFile, AFileThatCannotBeReadIsNotWritten) {
    Folder dir;
    chmod(dir.path.c_str(), 0777);
    const std::string kept = "[A]\nk=1\nother=2\n";
    const std::string path = dir.file("locked.ini");
    put(path, kept);
    chmod(path.c_str(), 0200);
    // Root reads anything: the write runs as nobody then, who owns the file.
    if (geteuid() == 0) {
        ASSERT_EQ(chown(path.c_str(), kNobody, kNobody), 0);
    }
    const std::string created = dir.file("new.ini");
    const std::string folder = dir.file("folder.ini");
    std::filesystem::create_directory(folder);
    RUN_IN_CHILD(true, [&]() -> std::string {
        if (platform::writePrivateProfileString("A", "k", "5", path))
            return "the one-key write replaced the unreadable file";
        platform::PrivateProfileFile profile(path);
        if (profile.readError() != "Permission denied")
            return "read error '" + profile.readError() + "'";
        if (!profile.writeString("A", "k", "5"))
            return "the key was refused in memory";
        std::string reason;
        platform::WriteFailure why;
        if (profile.save(reason, why))
            return "the save replaced the unreadable file";
        if (why.error != EACCES || reason != "Permission denied")
            return "the save said '" + reason + "', error " + std::to_string(why.error);

        if (!platform::writePrivateProfileString("A", "k", "5", created))
            return "a missing file was not created";
        platform::PrivateProfileFile fresh(dir.file("fresh.ini"));
        if (!fresh.writeString("A", "k", "5") || !fresh.save())
            return "a missing file was not created by a save";

        platform::PrivateProfileFile atFolder(folder);
        atFolder.writeString("A", "k", "5");
        if (atFolder.save(reason, why) || why.error != EISDIR || reason != "it is a folder")
            return "a folder: '" + reason + "', error " + std::to_string(why.error);
        return std::string();
    });
    chmod(path.c_str(), 0600);
    EXPECT_EQ(get(path), kept);
    EXPECT_EQ(get(created), "[A]\nk=5\n");
    EXPECT_EQ(get(dir.file("fresh.ini")), "[A]\nk=5\n");
}

// A named pipe is neither waited for nor read: it reads as empty, so no
// one's bytes are taken from it, and a write to it is refused.
TEST(PrivateProfileFile, ANamedPipeIsNotWaitedFor) {
    Folder dir;
    const std::string fifo = dir.file("pipe.ini");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A reader that waited for a writer would never end; the child is ended after a minute.
    const std::string failure = inChild(false, [&]() -> std::string {
        alarm(60);
        if (platform::getPrivateProfileString("A", "k", "none", 1024, fifo) != "none")
            return "the one-key read found a value";
        platform::PrivateProfileFile profile(fifo);
        if (!profile.readError().empty())
            return "read error '" + profile.readError() + "'";
        std::string reason;
        platform::WriteFailure why;
        if (!profile.writeString("A", "k", "5") || profile.save(reason, why))
            return "the save wrote the pipe";
        if (platform::writePrivateProfileString("A", "k", "5", fifo))
            return "the one-key write wrote the pipe";
        return std::string();
    });
    EXPECT_EQ(failure, "");
}

TEST(PrivateProfileFile, ASaveThatCannotWriteSaysSo) {
    Folder dir;
    platform::PrivateProfileFile profile(dir.file("missing/p.ini"));
    EXPECT_TRUE(profile.writeString("A", "k", "v"));
    EXPECT_FALSE(profile.save());
}

}  // namespace
