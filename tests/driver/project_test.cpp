// File lists and the ".prj" project file.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <functional>
#include <future>
#include <thread>

#include "compiler/core/gbk.hpp"
#include "job_recorder.hpp"

namespace {

struct LoadCase {
    const char* name;
    std::string file;   // the project file's bytes; none when empty
    bool loads;
    std::vector<std::string> files;  // entries afterwards, loaded or not
    std::string message;
};

const std::string kNoName = "Illegal Project File With Project Name key not exist or value is empty!";

TEST(ProjectFile, Load) {
    const std::string head = "[QuvBench]\nProject Name=demo\n";
    const LoadCase cases[] = {
        {"two files", head + "Project File Num=2\nFile 1=/w/a.e\nFile 2=/w/b.e\n", true, {"/w/a.e", "/w/b.e"}, ""},
        {"no count", head, true, {}, ""},
        {"count 0", head + "Project File Num=0\nFile 1=/w/a.e\n", true, {}, ""},
        {"negative count", head + "Project File Num=-3\n", true, {}, ""},
        {"names differing in letter case", head + "Project File Num=2\nFile 1=/w/a.e\nFile 2=/w/A.e\n", true,
         {"/w/a.e", "/w/A.e"}, ""},
        {"keys in any letter case", "[quvbench]\nproject name = demo\nPROJECT FILE NUM=1\nfile 1=/w/a.e\n", true,
         {"/w/a.e"}, ""},
        {"byte-order mark and bare CR lines", "\xEF\xBB\xBF[QuvBench]\rProject Name=demo\rProject File Num=1\r"
         "File 1=/w/a.e\r", true, {"/w/a.e"}, ""},
        {"byte-order mark and CR LF lines", "\xEF\xBB\xBF[QuvBench]\r\nProject Name=demo\r\n", true, {}, ""},
        {"no file", "", false, {}, kNoName + " FILE: No such file or directory"},
        {"empty name", "[QuvBench]\nProject Name=\nProject File Num=1\nFile 1=/w/a.e\n", false, {},
         kNoName + " FILE: no project name"},
        {"no section", "Project Name=demo\n", false, {}, kNoName + " FILE: no project name"},
        {"second entry missing", head + "Project File Num=3\nFile 1=/w/a.e\nFile 3=/w/c.e\n", false, {"/w/a.e"},
         "Illegal Project File With the 2th File Name not exist or value is empty!"},
        {"second entry empty", head + "Project File Num=3\nFile 1=/w/a.e\nFile 2=\nFile 3=/w/c.e\n", false,
         {"/w/a.e"}, "Illegal Project File With the 2th File Name not exist or value is empty!"},
        {"duplicate", head + "Project File Num=4\nFile 1=/w/a.e\nFile 2=/w/b.e\nFile 3=/w/c.e\nFile 4=/w/a.e\n",
         false, {"/w/a.e", "/w/b.e", "/w/c.e"}, "The 4th File has been inserted into the project before!"},
    };
    for (const LoadCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder dir;
        if (!c.file.empty())
            writeBytes(dir / "p.prj", c.file);
        CQuvProject project;
        std::vector<std::string> messages;
        project.messageSink = [&](const std::string& text) { messages.push_back(text); };
        EXPECT_EQ(project.Load(dir / "p.prj"), c.loads);
        std::vector<std::string> files;
        for (int i = 0; i < project.GetCount(); ++i)
            files.push_back(project.GetAt(i));
        EXPECT_EQ(files, c.files);
        std::string message = c.message;
        if (message.find(" FILE: ") != std::string::npos)
            message.replace(message.find(" FILE: "), 7, " " + dir / "p.prj" + ": ");
        EXPECT_EQ(messages, message.empty() ? std::vector<std::string>{} : std::vector<std::string>{message});
        EXPECT_EQ(project.IsCreated(), c.loads);
        EXPECT_EQ(project.GetPath(), dir / "p.prj");
        if (c.loads) {
            EXPECT_EQ(project.GetName(), "demo");
            EXPECT_FALSE(project.IsModified());
        }
    }
}

std::string gbkName(const std::string& utf8) {
    return gbk::fromUtf8(utf8);
}

// A project file written where names are GBK: each name is taken as it
// stands when a file has it, else in its GBK reading when a file has that or
// the name is no UTF-8; the project saved holds names that load as the same files.
TEST(ProjectFile, NamesFromAProjectFileInGbkFindTheirFiles) {
    const struct {
        const char* what;
        std::string inFile;     // the name's bytes in the project file
        std::string onDisk;     // created beside the project file first; empty: none
        std::string loaded;     // the entry after loading
    } cases[] = {
        {"GBK name of a UTF-8 file", gbkName("程序.e"), "程序.e", "程序.e"},
        {"GBK name in a GBK folder", gbkName("源码/程序.e"), "源码/程序.e", "源码/程序.e"},
        {"UTF-8 name", "程序.e", "程序.e", "程序.e"},
        {"GBK name of a file with those very bytes", gbkName("旧.e"), gbkName("旧.e"), gbkName("旧.e")},
        {"GBK name of no file", gbkName("缺少.e"), "", "缺少.e"},
        {"UTF-8 name of no file", "缺少.e", "", "缺少.e"},
        {"UTF-8 name whose GBK reading names a file", "项目.e", "椤圭洰.e", "椤圭洰.e"},
        {"ASCII name of no file", "missing.e", "", "missing.e"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        TempFolder dir;
        std::filesystem::create_directories(dir / "源码");
        if (!c.onDisk.empty())
            writeBytes(dir / c.onDisk, "%Prog p;\n");
        writeBytes(dir / "p.prj", "[QuvBench]\nProject Name=" + gbkName("工程") + "\nProject File Num=1\nFile 1=" +
                                      c.inFile + "\n");
        CQuvProject project;
        ASSERT_TRUE(project.Load(dir / "p.prj"));
        EXPECT_EQ(project.GetName(), "工程");
        ASSERT_EQ(project.GetCount(), 1);
        EXPECT_EQ(project.GetAt(0), c.loaded);
        EXPECT_FALSE(project.IsModified());

        ASSERT_TRUE(project.Save());
        CQuvProject again;
        ASSERT_TRUE(again.Load(dir / "p.prj"));
        EXPECT_EQ(again.ResolvedFiles(), project.ResolvedFiles());
    }

    // A name and its GBK spelling are the same file: listed twice.
    TempFolder dir;
    writeBytes(dir / "程序.e", "%Prog p;\n");
    writeBytes(dir / "p.prj", "[QuvBench]\nProject Name=p\nProject File Num=2\nFile 1=程序.e\nFile 2=" +
                                  gbkName("程序.e") + "\n");
    CQuvProject project;
    std::vector<std::string> messages;
    project.messageSink = [&](const std::string& text) { messages.push_back(text); };
    EXPECT_FALSE(project.Load(dir / "p.prj"));
    EXPECT_EQ(messages, std::vector<std::string>{"The 2th File has been inserted into the project before!"});
}

TEST(ProjectFile, AGoldenProjectRoundTripsUnchanged) {
    TempFolder dir;
    const std::string golden = readBytes(QUV_TEST_DATA "/driver/shop.prj");
    ASSERT_FALSE(golden.empty());
    writeBytes(dir / "shop.prj", golden);
    CQuvProject project;
    ASSERT_TRUE(project.Load(dir / "shop.prj"));
    ASSERT_TRUE(project.Save());
    EXPECT_EQ(readBytes(dir / "shop.prj"), golden);

    // Written afresh, the file holds the same keys in the same order.
    CQuvProject copy;
    copy.SetName("shop");
    copy.SetPath(dir / "new.prj");
    copy.Add("shop.e");
    copy.Add("parts.e");
    ASSERT_TRUE(copy.Save());
    EXPECT_EQ(readBytes(dir / "new.prj"), golden);
    EXPECT_FALSE(copy.IsModified());
    EXPECT_TRUE(copy.IsCreated());
}

// A project of many files loads, and saves back byte for byte; the last of
// them repeating the first is still found.
TEST(ProjectFile, AProjectOfManyFilesRoundTrips) {
    TempFolder dir;
    const int count = 8000;
    std::string text = "[QuvBench]\nProject Name=many\nProject File Num=" + std::to_string(count) + "\n";
    for (int i = 1; i <= count; ++i)
        text += "File " + std::to_string(i) + "=src/f" + std::to_string(i) + ".e\n";
    writeBytes(dir / "many.prj", text);
    CQuvProject project;
    ASSERT_TRUE(project.Load(dir / "many.prj"));
    ASSERT_EQ(project.GetCount(), count);
    ASSERT_TRUE(project.Save());
    EXPECT_EQ(readBytes(dir / "many.prj"), text);

    const size_t last = text.rfind("src/f" + std::to_string(count) + ".e");
    writeBytes(dir / "many.prj", text.substr(0, last) + "src/f1.e\n");
    std::vector<std::string> messages;
    project.messageSink = [&](const std::string& m) { messages.push_back(m); };
    EXPECT_FALSE(project.Load(dir / "many.prj"));
    EXPECT_EQ(messages, std::vector<std::string>{"The " + std::to_string(count) +
                                                 "th File has been inserted into the project before!"});
}

TEST(ProjectFile, NamesWithBlanksAtTheirEndsOrQuotesAroundThemReadBackAsTheyWere) {
    TempFolder dir;
    CQuvProject project;
    project.SetName(" spaced ");
    project.SetPath(dir / "odd.prj");
    const std::vector<std::string> files = {" lead.e", "trail.e\t", "\"q\".e\"", "'s'", "\"", "plain.e"};
    for (const std::string& f : files)
        project.Add(f);
    ASSERT_TRUE(project.Save());
    CQuvProject again;
    ASSERT_TRUE(again.Load(dir / "odd.prj"));
    EXPECT_EQ(again.GetName(), " spaced ");
    ASSERT_EQ(again.GetCount(), static_cast<int>(files.size()));
    for (int i = 0; i < again.GetCount(); ++i)
        EXPECT_EQ(again.GetAt(i), files[i]);
}

TEST(ProjectFile, ASaveOverALongerProjectLeavesTheOldEntriesUnread) {
    TempFolder dir;
    writeBytes(dir / "p.prj", "[QuvBench]\nProject Name=demo\nProject File Num=5\nFile 1=a\nFile 2=b\nFile 3=c\n"
                              "File 4=d\nFile 5=e\n");
    CQuvProject project;
    ASSERT_TRUE(project.Load(dir / "p.prj"));
    project.Remove("a");
    project.Remove("b");
    project.Remove("c");
    ASSERT_TRUE(project.Save());
    EXPECT_EQ(readBytes(dir / "p.prj"),
              "[QuvBench]\nProject Name=demo\nProject File Num=2\nFile 1=d\nFile 2=e\nFile 3=c\nFile 4=d\nFile 5=e\n");
    CQuvProject again;
    ASSERT_TRUE(again.Load(dir / "p.prj"));
    EXPECT_EQ(again.GetCount(), 2);
}

TEST(ProjectFile, AFailedSaveIsShownWithWhyAndKeepsTheProjectModified) {
    TempFolder dir;
    const struct {
        const char* name;
        std::string path, projectName;
        bool fullDisk;  // the file may not grow past a few bytes
        int error;
        std::string reason;
    } cases[] = {
        {"folder missing", dir / "missing/p.prj", "demo", false, ENOENT, "No such file or directory"},
        {"name with a line end", dir / "p.prj", "de\nmo", false, 0,
         "a name holds a line end, which a project file cannot keep"},
        {"no room for the file", dir / "p.prj", "demo", true, EFBIG, "File too large"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CQuvProject project;
        std::vector<std::string> messages;
        project.messageSink = [&](const std::string& text) { messages.push_back(text); };
        project.SetName(c.projectName);
        project.SetPath(c.path);
        project.Add("a.e");
        struct rlimit saved {};
        getrlimit(RLIMIT_FSIZE, &saved);
        const struct rlimit small = {c.fullDisk ? 8 : saved.rlim_cur, saved.rlim_max};
        auto* previous = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        EXPECT_FALSE(project.Save());
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);
        EXPECT_TRUE(project.IsModified());
        EXPECT_FALSE(project.IsCreated());
        EXPECT_EQ(project.LastSaveFailure().error, c.error);
        EXPECT_EQ(messages, std::vector<std::string>{"Cannot write the project file " + c.path + ": " + c.reason});
    }
}

// Writes `bytes` into the named pipe once a reader has it open; gives up
// after a minute without one.
std::thread writerOf(const std::string& fifo, const std::string& bytes) {
    return std::thread([fifo, bytes] {
        const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(1);
        int fd;
        while ((fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC)) < 0 &&
               std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (fd < 0)
            return;
        fcntl(fd, F_SETFL, 0);
        EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(fd);
    });
}

// Runs `step`, which must not wait for a writer of the named pipe: when it
// has not returned within a minute, a writer comes and goes to set it free,
// and the result is false.
bool endsWithoutAWriter(const std::string& fifo, const std::function<void()>& step) {
    auto done = std::async(std::launch::async, step);
    if (done.wait_for(std::chrono::minutes(1)) == std::future_status::ready)
        return true;
    const int fd = open(fifo.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0)
        close(fd);
    done.wait();
    return false;
}

// The IDE opens a project through Load and saves it through Save: a project
// file that is a named pipe loads what is written into it; with no writer,
// the load gives up when asked to and leaves the project open before as it
// was, and a save is refused without waiting for a reader.
TEST(ProjectFile, AProjectFileThatIsAPipe) {
    TempFolder dir;
    const std::string text = "[QuvBench]\nProject Name=piped\nProject File Num=2\nFile 1=a.e\nFile 2=/w/b.e\n";
    writeBytes(dir / "open.prj", "[QuvBench]\nProject Name=open\nProject File Num=1\nFile 1=c.e\n");
    const std::string fifo = dir / "p.prj";
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    CQuvProject project;
    std::vector<std::string> messages;
    project.messageSink = [&](const std::string& m) { messages.push_back(m); };

    std::thread writer = writerOf(fifo, text);
    int asked = 0;
    EXPECT_TRUE(project.Load(fifo, [&asked] { return ++asked < 0; }));
    writer.join();
    EXPECT_GT(asked, 0);
    EXPECT_EQ(project.GetName(), "piped");
    EXPECT_EQ(project.GetPath(), fifo);
    EXPECT_EQ(project.ResolvedFiles(), (std::vector<std::string>{dir / "a.e", "/w/b.e"}));
    EXPECT_TRUE(project.IsCreated());

    ASSERT_TRUE(project.Load(dir / "open.prj"));
    project.Add("d.e");
    asked = 0;
    EXPECT_TRUE(endsWithoutAWriter(fifo, [&] { EXPECT_FALSE(project.Load(fifo, [&asked] { return ++asked == 3; })); }));
    EXPECT_EQ(asked, 3);
    EXPECT_EQ(project.GetName(), "open");
    EXPECT_EQ(project.GetPath(), dir / "open.prj");
    EXPECT_EQ(project.ResolvedFiles(), (std::vector<std::string>{dir / "c.e", dir / "d.e"}));
    EXPECT_TRUE(project.IsModified());
    EXPECT_EQ(messages, std::vector<std::string>{});

    project.SetPath(fifo);
    EXPECT_TRUE(endsWithoutAWriter(fifo, [&] { EXPECT_FALSE(project.Save()); }));
    EXPECT_TRUE(project.IsModified());
    EXPECT_EQ(messages,
              std::vector<std::string>{"Cannot write the project file " + fifo + ": it is not a regular file"});
}

TEST(FileList, RemoveAddReplace) {
    CQuvFileList list;
    EXPECT_EQ(list.Remove("x"), 0);
    EXPECT_TRUE(list.IsModified());
    EXPECT_EQ(list.Add("a"), 0);
    EXPECT_EQ(list.Add("b"), 1);
    EXPECT_EQ(list.Add("c"), 2);
    EXPECT_EQ(list.Remove("x"), 3);
    EXPECT_EQ(list.Remove("a"), 0);
    EXPECT_EQ(list.GetAt(0), "b");
    // The new name goes to the end, not to the old one's place.
    EXPECT_TRUE(list.Replace("b", "d"));
    EXPECT_EQ(list.GetAt(0), "c");
    EXPECT_EQ(list.GetAt(1), "d");
    // Already listed: the old one goes and nothing comes.
    EXPECT_FALSE(list.Replace("c", "d"));
    EXPECT_EQ(list.GetCount(), 1);
    EXPECT_TRUE(list.Contains("d"));
    EXPECT_FALSE(list.Contains("D"));
    list.Clear();
    EXPECT_EQ(list.GetCount(), 0);
}

}  // namespace
