// Find and replace in files over a temporary folder tree: the files a job
// visits, its rows and counts, the exact bytes of every file after a replace,
// files that cannot be read or written, and the job's own copy of its texts.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <regex>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "compiler/core/gbk.hpp"
#include "ide/model/find_in_files.hpp"
#include "ini_fixture.hpp"

namespace ide {
namespace {

namespace fs = std::filesystem;

class FindInFilesTest : public test::IniTest {
protected:
    std::string Put(const std::string& relative, const std::string& bytes)
    {
        const fs::path path = folder_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path.string();
    }
    std::string Get(const std::string& path) const
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::string Dir(const std::string& relative = "") const { return (folder_ / relative).string(); }

    // The rows of a run, as the pane shows them.
    std::vector<std::string> Run(const QuvFindJob& job, const std::atomic<bool>* cancel = nullptr)
    {
        std::vector<std::string> rows;
        FindInFilesRun(job, [&rows](LookupEntry e) { rows.push_back(e.Shown()); }, cancel).Run();
        return rows;
    }
    static QuvFindJob Find(const std::string& text, const std::string& types, const std::string& folders,
                           int subfolders = 0, int regularExpression = 0)
    {
        return QuvFindJob(0, text, types, folders, 1, regularExpression, subfolders, 0);
    }
    static QuvFindJob Replace(const std::string& text, const std::string& by, const std::string& types,
                              const std::string& folders, int regularExpression = 0)
    {
        return QuvFindJob(1, text, by, types, folders, 1, regularExpression, 0, 0);
    }
};

TEST_F(FindInFilesTest, CollectsEveryFolderWithEveryTypeOnceNewestFirst)
{
    const std::string a1 = Put("a/one.e", ""), a2 = Put("a/two.e", ""), a3 = Put("a/two.txt", "");
    const std::string b1 = Put("b/three.e", ""), b2 = Put("b/sub/four.e", ""), b3 = Put("b/sub/deep/five.e", "");
    Put("a/skip.cpp", "");
    fs::create_directories(Dir("a/dir.e"));
    std::vector<std::string> splits;
    QuvSplitList(splits, ";;" + Dir("a") + ";;");
    EXPECT_EQ(splits, std::vector<std::string>{Dir("a")});

    // Two folders and two patterns; "two.*" and "*.e" both take two.e, which comes once.
    FindSettings part = Find("", "*.e;two.*", ";" + Dir("a") + ";;" + Dir("b") + ";").find;
    EXPECT_EQ(CollectFiles(part, {}), (std::vector<std::string>{b1, a3, a2, a1}));
    part.subfolders = 1;
    EXPECT_EQ(CollectFiles(part, {}), (std::vector<std::string>{b3, b2, b1, a3, a2, a1}));
    // The open documents or the project: the job's own list, as it stands.
    part.scope = 2;
    EXPECT_EQ(CollectFiles(part, {"x.e", "y.e"}), (std::vector<std::string>{"x.e", "y.e"}));
}

TEST_F(FindInFilesTest, LinksToFoldersAreNotFollowed)
{
    const std::string real = Put("top/a.e", "x");
    fs::create_directory_symlink(Dir("top"), Dir("top/loop"));
    fs::create_directory_symlink(Dir("top"), Dir("top/again"));
    FindSettings part = Find("x", "*.e", Dir("top"), 1).find;
    EXPECT_EQ(CollectFiles(part, {}), std::vector<std::string>{real});
}

TEST_F(FindInFilesTest, FindLogsEveryFileAndMatchWithItsLine)
{
    const std::string one = Put("f/one.e", gbk::fromUtf8("%Prog 主程序\nx := 1;\n\nx := x+1;\n"));
    const std::string two = Put("f/two.e", "nothing here\n");
    const auto rows = Run(Find("x", "*.e", Dir("f")));
    const std::vector<std::string> expected = {
        "多重文件查找字符串\"x\"开始",
        "",
        "查找字符串\"x\"于文件" + two,
        "共找到0个匹配",
        "",
        "",
        "查找字符串\"x\"于文件" + one,
        one + " (2) : x",
        one + " (4) : x",
        one + " (4) : x",
        "共找到3个匹配",
        "",
        "",
        "多重文件查找字符串\"x\"结束，共搜索2个文件，找到3个匹配",
    };
    EXPECT_EQ(rows, expected);

    // A regular expression, with Chinese text in the match.
    const auto found = Run(Find("Prog .*", "one.e", Dir("f"), 0, 1));
    EXPECT_EQ(found[0], "多重文件查找正规式\"Prog .*\"开始");
    EXPECT_EQ(found[3], one + " (1) : Prog 主程序");

    // No files: the start row, an empty row and the closing row.
    EXPECT_EQ(Run(Find("x", "*.none", Dir("f"))),
              (std::vector<std::string>{"多重文件查找字符串\"x\"开始", "",
                                        "多重文件查找字符串\"x\"结束，共搜索0个文件，找到0个匹配"}));
}

TEST_F(FindInFilesTest, ReplaceRewritesWholeFilesKeepingNulBytesAndPermissions)
{
    const std::string nul = Put("r/nul.e", std::string("a.b\0a.b tail a.b\n", 18));
    const std::string shorter = Put("r/short.e", "long.word long.word\n");
    const std::string untouched = Put("r/none.e", "nothing\n");
    const std::string literal = Put("r/literal.e", "a.b axb\n");
    ::chmod(shorter.c_str(), 0640);
    struct timespec old[2] = {{0, UTIME_OMIT}, {1000000, 0}};
    ::utimensat(AT_FDCWD, untouched.c_str(), old, 0);

    QuvFindJob job = Replace("a.b", "[$&]", "nul.e;literal.e", Dir("r"));
    const auto rows = Run(job);
    EXPECT_EQ(Get(nul), std::string("[a.b]\0[a.b] tail [a.b]\n", 24));
    EXPECT_EQ(Get(literal), "[a.b] axb\n");
    EXPECT_EQ(rows.front(), "多重文件替换字符串\"a.b\"为\"[$&]\"开始");
    EXPECT_EQ(rows.back(), "多重文件替换字符串\"a.b\"为\"[$&]\"结束，共搜索2个文件，替换4个匹配");
    EXPECT_NE(std::find(rows.begin(), rows.end(), "共替换3个匹配"), rows.end());

    Run(Replace("long\\.(\\w+)", "$1", "short.e;none.e", Dir("r"), 1));
    EXPECT_EQ(Get(shorter), "word word\n");
    struct stat st {};
    ::stat(shorter.c_str(), &st);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    ::stat(untouched.c_str(), &st);
    EXPECT_EQ(st.st_mtim.tv_sec, 1000000);
    // No temporary file stays behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir("r")), fs::directory_iterator()), 4);
}

// A plain text is searched as bytes, not through the expression: its rows,
// its counts and the replaced bytes are those of the escaped expression.
TEST_F(FindInFilesTest, PlainTextsFindAndReplaceAsTheirExpressionDoes)
{
    const std::string body = std::string("a.b\0a.b.b\naaa.b\r\n\n$x \xB0\xA1" "a.ba.b\n", 30) + "end a.";
    struct Case {
        std::string text, by;
    };
    const std::vector<Case> cases = {{"a.b", "[x]"}, {"a", "aa"},         {"aa", ""},   {"\n", " "},
                                     {".", "$&$&"},  {"a.b", "\\n"},   {"a.", "$1"}, {"\xB0\xA1", "z"},
                                     {"zzz", "q"},   {"b\na", "-"}};
    for (const Case& c : cases) {
        const std::string text = gbk::toUtf8(c.text);
        const std::string plain = Put("p/t.e", body), asExpression = Put("x/t.e", body);
        // Match rows as line and text; the other rows name the folder and the kind.
        auto matches = [](const QuvFindJob& job) {
            std::vector<std::pair<int, std::string>> rows;
            FindInFilesRun(job, [&rows](LookupEntry e) {
                if (e.Line() >= 0)
                    rows.emplace_back(e.Line(), e.Text());
            }).Run();
            return rows;
        };
        EXPECT_EQ(matches(Find(text, "t.e", Dir("p"))), matches(Find(QuvEscapeRegex(text), "t.e", Dir("x"), 0, 1)))
            << c.text;
        std::vector<std::string> a = Run(Replace(text, c.by, "t.e", Dir("p")));
        std::vector<std::string> b;
        b = Run(Replace(QuvEscapeRegex(text), c.by, "t.e", Dir("x"), 1));
        EXPECT_EQ(a[3], b[3]) << c.text;   // the count
        EXPECT_EQ(Get(plain), Get(asExpression)) << c.text << " by " << c.by;
    }
}

// Every row of a find job, against a plain model: the files walked folder by
// folder and put most recently found first, and each file searched by trying
// every offset, its lines counted as it goes. Random files (fixed seeds) with
// LF, CRLF and CR line ends, GBK characters, empty files, matches at their
// ends and texts that overlap themselves; plain texts, texts ignoring case and
// expressions (modelled with the standard library's engine).
TEST_F(FindInFilesTest, FindRowsAreThoseOfAPlainSearch)
{
    struct Text {
        std::string gbk;         // the find text's bytes
        int regularExpression;
        int matchCase;
    };
    const std::vector<Text> texts = {
        {"a", 0, 1},           {"aa", 0, 1},        {"aba", 0, 1},           {"\n", 0, 1},
        {"\r\n", 0, 1},        {"b\na", 0, 1},      {"\xB0\xA1", 0, 1},      {"A\x81\x41", 0, 1},
        {std::string(70, 'a'), 0, 1},               {"ab", 0, 0},            {"\x81\x61", 0, 0},
        {"ab+", 1, 1},         {"b[ac]", 1, 1},     {"c\r?\n", 1, 1},        {"(ab|ba)a", 1, 1},
        {"[0-9]+", 1, 1},      {"a\xB0\xA1", 1, 1}, {"ba+", 1, 0},
    };
    const std::vector<std::string> pieces = {"a", "b", "c", "A", "B", "7", "12", " ", "\xB0\xA1", "\x81\x41",
                                             "\x81\x61", std::string(1, '\0')};
    const std::vector<std::string> ends = {"\n", "\r\n", "\r"};
    auto fold = [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); };

    for (unsigned seed = 1; seed <= 6; ++seed) {
        fs::remove_all(Dir("d"));
        std::mt19937 random(seed);
        // Folders d, d/s0 and d/s1; every name has ".e" and ".x" files, and
        // "*.e;*.*" finds each ".e" file twice.
        std::vector<std::string> folders = {"d", "d/s0", "d/s1"};
        for (const std::string& folder : folders)
            fs::create_directories(Dir(folder));
        for (int f = 0; f < 12; ++f) {
            const std::string& end = ends[random() % ends.size()];
            std::string bytes;
            const size_t size = f == 0 ? 0 : f % 4 == 0 ? 2000 : random() % 150;
            while (bytes.size() < size) {
                if (random() % 6 == 0)
                    bytes += end;
                else if (random() % 8 == 0)
                    bytes += texts[random() % texts.size()].gbk;
                else
                    bytes += pieces[random() % pieces.size()];
            }
            if (f % 3 == 1)
                bytes += texts[random() % texts.size()].gbk;
            Put(folders[f % 3] + "/f" + std::to_string(f) + (f % 2 ? ".x" : ".e"), bytes);
        }

        std::vector<std::string> walked;
        std::function<void(const std::string&, const std::string&)> walk = [&](const std::string& folder,
                                                                               const std::string& type) {
            std::vector<std::string> names, subfolders;
            for (const auto& entry : fs::directory_iterator(folder))
                (entry.is_directory() ? subfolders : names).push_back(entry.path().filename().string());
            std::sort(names.begin(), names.end());
            std::sort(subfolders.begin(), subfolders.end());
            for (const std::string& name : names)
                if (type == "*.*" || (name.size() > 2 && name.compare(name.size() - 2, 2, ".e") == 0))
                    walked.push_back(folder + "/" + name);
            for (const std::string& sub : subfolders)
                walk(folder + "/" + sub, type);
        };
        walk(Dir("d"), "*.e");
        walk(Dir("d"), "*.*");
        std::vector<std::string> files;
        for (auto name = walked.rbegin(); name != walked.rend(); ++name)
            if (std::find(files.begin(), files.end(), *name) == files.end())
                files.push_back(*name);

        for (const Text& text : texts) {
            const std::string utf8 = gbk::toUtf8(text.gbk);
            const std::string kind = text.regularExpression ? "正规式" : "字符串";
            std::regex::flag_type flags = std::regex::ECMAScript;
            if (!text.matchCase)
                flags |= std::regex::icase;
            const std::regex expression(text.gbk, flags);
            auto same = [&](char a, char b) { return text.matchCase ? a == b : fold(a) == fold(b); };
            std::vector<std::string> expected = {"多重文件查找" + kind + "\"" + utf8 + "\"开始"};
            int total = 0;
            for (const std::string& file : files) {
                expected.push_back("");
                expected.push_back("查找" + kind + "\"" + utf8 + "\"于文件" + file);
                const std::string bytes = Get(file);
                int line = 1, count = 0;
                size_t at = 0;
                while (at < bytes.size()) {
                    size_t length = 0;
                    if (text.regularExpression) {
                        std::smatch m;
                        if (std::regex_search(bytes.begin() + at, bytes.end(), m, expression,
                                              std::regex_constants::match_continuous))
                            length = static_cast<size_t>(m.length(0));
                    } else if (bytes.size() - at >= text.gbk.size() &&
                               std::equal(text.gbk.begin(), text.gbk.end(), bytes.begin() + at, same)) {
                        length = text.gbk.size();
                    }
                    if (length > 0) {
                        expected.push_back(file + " (" + std::to_string(line) + ") : " +
                                           gbk::toUtf8(bytes.substr(at, length)));
                        ++count;
                    }
                    const size_t step = std::max<size_t>(length, 1);
                    line += static_cast<int>(std::count(bytes.begin() + at, bytes.begin() + at + step, '\n'));
                    at += step;
                }
                expected.push_back("共找到" + std::to_string(count) + "个匹配");
                expected.push_back("");
                total += count;
            }
            expected.push_back("");
            expected.push_back("多重文件查找" + kind + "\"" + utf8 + "\"结束，共搜索" + std::to_string(files.size()) +
                               "个文件，找到" + std::to_string(total) + "个匹配");
            const QuvFindJob job(0, utf8, "*.e;*.*", Dir("d"), text.matchCase, text.regularExpression, 1, 0);
            ASSERT_EQ(Run(job), expected) << "seed " << seed << ", text " << utf8;
        }
    }
}

// Files are rewritten side by side, yet their rows come in the files' order;
// a cancel leaves every file it kept from its rows untouched, and one file
// under two names is replaced twice, one name after the other.
TEST_F(FindInFilesTest, ReplaceRowsKeepTheFilesOrderAndACancelLeavesNoFileWithoutRows)
{
    std::vector<std::string> files;
    // Enough files that a cancel after the third row still finds some not
    // begun, however busy the machine is.
    for (int i = 0; i < 400; ++i)
        files.push_back(Put("m/f" + std::to_string(i) + ".e", "a b a\n"));
    std::vector<std::string> rows = Run(Replace("a", "c", "*.e", Dir("m")));
    ASSERT_EQ(rows.size(), 2u + 4 * files.size());
    const std::vector<std::string> order = CollectFiles(Replace("a", "c", "*.e", Dir("m")).replace, {});
    for (size_t i = 0; i < order.size(); ++i) {
        EXPECT_EQ(rows[2 + 4 * i], "替换字符串\"a\"为\"c\"于文件" + order[i]);
        EXPECT_EQ(rows[3 + 4 * i], "共替换2个匹配");
    }

    std::atomic<bool> cancel{false};
    std::vector<std::string> logged;
    FindInFilesRun(Replace("c", "d", "*.e", Dir("m")), [&](LookupEntry e) {
        if (e.Shown().find("于文件") != std::string::npos) {
            logged.push_back(e.Shown().substr(e.Shown().find("于文件") + std::string("于文件").size()));
            if (logged.size() == 3)
                cancel = true;
        }
    }, &cancel).Run();
    EXPECT_GE(logged.size(), 3u);
    EXPECT_LT(logged.size(), files.size());
    for (const std::string& file : files) {
        const bool hasRows = std::find(logged.begin(), logged.end(), file) != logged.end();
        EXPECT_EQ(Get(file), hasRows ? "d b d\n" : "c b c\n") << file;
    }

    const std::string one = Put("h/one.e", "a\n");
    ASSERT_EQ(::link(one.c_str(), Dir("h/two.e").c_str()), 0);
    Run(Replace("a", "aa", "*.e", Dir("h")));
    EXPECT_EQ(Get(one), "aaaa\n");
}

// The file itself is rewritten where a new file would not be the same one:
// the other name of a linked file sees the replacement.
TEST_F(FindInFilesTest, ReplaceWritesALinkedFileInPlace)
{
    const std::string file = Put("l/a.e", "one two\n");
    ASSERT_EQ(::link(file.c_str(), Dir("l/b.e").c_str()), 0);
    QuvFindJob job = Replace("two", "three", "a.e", Dir("l"));
    Run(job);
    EXPECT_EQ(Get(Dir("l/b.e")), "one three\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir("l")), fs::directory_iterator()), 2);
}

TEST_F(FindInFilesTest, AFileThatCannotBeReadOrWrittenKeepsItsBytesAndCountsZero)
{
    const std::string big = Put("w/big.e", std::string(100, 'a'));
    const std::string missing = Dir("w/gone.e");
    QuvFindJob job = Replace("a", "bb", "", "");
    job.replace.scope = 1;
    job.listedFiles = {missing, big};

    // A write that cannot finish: the file may not grow past 150 bytes.
    struct rlimit saved {};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    struct rlimit small = saved;
    small.rlim_cur = 150;
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    const auto rows = Run(job);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(Get(big), std::string(100, 'a'));
    ASSERT_EQ(rows.size(), 12u);
    EXPECT_EQ(rows[3], "无法读取文件" + missing + "：No such file or directory");
    EXPECT_EQ(rows[4], "共替换0个匹配");
    EXPECT_EQ(rows[8], "无法写入文件" + big + "：File too large");
    EXPECT_EQ(rows[9], "共替换0个匹配");
    EXPECT_EQ(rows[11], "多重文件替换字符串\"a\"为\"bb\"结束，共搜索2个文件，替换0个匹配");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir("w")), fs::directory_iterator()), 1);
}

TEST_F(FindInFilesTest, TheJobKeepsItsOwnTextsAndRemembersThemWhenBuilt)
{
    const std::string file = Put("h/a.e", "old new\n");
    CQuvFindHistory history;
    history.findTexts = {"earlier", "old"};
    history.fileTypes = {"*.e"};
    const QuvFindJob job = Replace("old", "NEW", "*.e", Dir("h"));
    RememberFindJob(history, job);
    EXPECT_EQ(history.findTexts, (std::vector<std::string>{"old", "earlier"}));
    EXPECT_EQ(history.replaceTexts, std::vector<std::string>{"NEW"});
    EXPECT_EQ(history.fileTypes, std::vector<std::string>{"*.e"});
    EXPECT_EQ(history.folders, std::vector<std::string>{Dir("h")});
    EXPECT_EQ(history.matchCase, 1);

    // The editor's dialogs change the history while the job runs: the job does not see it.
    history.findTexts.insert(history.findTexts.begin(), "new");
    history.replaceTexts.insert(history.replaceTexts.begin(), "");
    Run(job);
    EXPECT_EQ(Get(file), "NEW new\n");

    // Other scopes leave the type and folder lists alone.
    RememberFindJob(history, QuvFindJob(0, "f", "*.x", "/nowhere", 0, 1, 1, 2));
    EXPECT_EQ(history.fileTypes, std::vector<std::string>{"*.e"});
    EXPECT_EQ(history.scope, 2);
    EXPECT_EQ(history.matchCase, 0);
    EXPECT_EQ(history.regularExpression, 1);
}

TEST_F(FindInFilesTest, ACancelledJobStopsBetweenFiles)
{
    Put("c/a.e", "x");
    Put("c/b.e", "x");
    std::atomic<bool> cancel{true};
    EXPECT_EQ(Run(Find("x", "*.e", Dir("c")), &cancel), std::vector<std::string>{"多重文件查找字符串\"x\"开始"});
    EXPECT_EQ(Get(Dir("c/a.e")), "x");
}

} // namespace
} // namespace ide
