// Two IDEs on one settings folder: each writes at its exit only what it
// changed, and merges the recent lists and histories with what the files hold
// by then, so that neither loses the other's changes; the control's
// registration stays as the file holds it. And the reasons the IDE gives in
// its own words.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ide/model/error_text.hpp"
#include "ide/model/workbench.hpp"
#include "platform/file_lock.hpp"
#include "platform/private_profile.hpp"
#include "platform/registry_file.hpp"
#include "tests/ide/ini_fixture.hpp"

namespace ide::test {
namespace {

const char kControlKey[] = "CLSID\\{4F1C0D2E-0000-0000-0000-51A7E0C0FFEE}\\InprocServer32";

class TwoInstances : public IniTest {
protected:
    void SetUp() override
    {
        IniTest::SetUp();
        registry_ = (folder_ / "registry").string();
        setenv("QUVBENCH_REGISTRY", registry_.c_str(), 1);
        platform::RegistryFile registry(registry_);
        registry.SetValue(kControlKey, "", "/opt/quvpad/libquvpad.so");
        ASSERT_TRUE(registry.Save());
    }
    void TearDown() override
    {
        unsetenv("QUVBENCH_REGISTRY");
        IniTest::TearDown();
    }
    static void Quit(Workbench& bench)
    {
        bench.SaveDisplayAndRecentLists();
        bench.SaveHistoriesAndPrintSetting();
        EXPECT_TRUE(bench.SettingsWriteFailures().empty());
    }
    std::vector<std::string> RecentFilesInRegistry() const
    {
        platform::RegistryFile registry(registry_);
        EXPECT_TRUE(registry.Load());
        CRecentFileList read("Recent File List", "File%d", 8, 30);
        read.ReadList(registry);
        return read.Entries();
    }

    std::string registry_;
};

TEST_F(TwoInstances, EachKeepsWhatTheOtherChanged)
{
    // A first run leaves the defaults in the file.
    {
        Workbench first(ini_);
        first.LoadStartSettings();
        first.RecentFiles().Add("/w/old.e");
        Quit(first);
    }
    Workbench a(ini_), b(ini_);
    a.LoadStartSettings();
    b.LoadStartSettings();

    a.DisplaySetting().font.lfHeight = -20;
    a.DisplaySetting().font.lfFaceName = "Mono A";
    a.PrintSetting().iLeft = 250;
    a.RecentFiles().Add("/w/a.e");
    CQuvFindHistory::InsertMostRecent(a.FindHistory().findTexts, "alpha");

    b.DisplaySetting().colors[1] = 0x123456;
    b.DisplaySetting().LineDistance = 3;
    b.PrintSetting().footer = "page &p";
    b.RecentFiles().Add("/w/b.e");
    b.RecentProjects().Add("/w/b.prj");
    CQuvFindHistory::InsertMostRecent(b.FindHistory().findTexts, "beta");

    Quit(a);
    Quit(b);

    Workbench after(ini_);
    after.LoadStartSettings();
    EXPECT_EQ(after.DisplaySetting().font.lfHeight, -20);
    EXPECT_EQ(after.DisplaySetting().font.lfFaceName, "Mono A");
    EXPECT_EQ(after.DisplaySetting().colors[1], 0x123456u);
    EXPECT_EQ(after.DisplaySetting().LineDistance, 3);
    EXPECT_EQ(after.PrintSetting().iLeft, 250);
    EXPECT_EQ(after.PrintSetting().footer, "page &p");
    // The one that quit last comes first; the other's entries follow.
    EXPECT_EQ(after.RecentFiles().Entries(), (std::vector<std::string>{"/w/b.e", "/w/old.e", "/w/a.e"}));
    EXPECT_EQ(after.RecentProjects().Entries(), (std::vector<std::string>{"/w/b.prj"}));
    EXPECT_EQ(after.FindHistory().findTexts, (std::vector<std::string>{"beta", "alpha"}));

    platform::RegistryFile registry(registry_);
    ASSERT_TRUE(registry.Load());
    EXPECT_EQ(registry.GetValue(kControlKey), "/opt/quvpad/libquvpad.so");
}

TEST_F(TwoInstances, AQuitThatChangedNothingWritesNothing)
{
    {
        Workbench first(ini_);
        first.LoadStartSettings();
        first.RecentFiles().Add("/w/old.e");
        Quit(first);
    }
    const auto iniTime = std::filesystem::last_write_time(ini_);
    const std::string ini = Read();
    Workbench idle(ini_);
    idle.LoadStartSettings();
    // Meanwhile the control registers itself anew.
    platform::RegistryFile registry(registry_);
    ASSERT_TRUE(registry.Load());
    registry.SetValue(kControlKey, "", "/usr/lib/libquvpad.so");
    ASSERT_TRUE(registry.Save());
    Quit(idle);
    EXPECT_EQ(Read(), ini);
    EXPECT_EQ(std::filesystem::last_write_time(ini_), iniTime);
    ASSERT_TRUE(registry.Load());
    EXPECT_EQ(registry.GetValue(kControlKey), "/usr/lib/libquvpad.so");
}

TEST_F(TwoInstances, ARemovedEntryStaysRemovedAndTheListKeepsItsSize)
{
    {
        Workbench first(ini_);
        first.LoadStartSettings();
        for (int i = 1; i <= 8; ++i)
            first.RecentFiles().Add("/w/" + std::to_string(i) + ".e");
        Quit(first);
    }
    Workbench a(ini_);
    a.LoadStartSettings();
    a.RecentFiles().Remove(0);  // /w/8.e, gone from the disk
    a.RecentFiles().Add("/w/new.e");
    Quit(a);
    const std::vector<std::string> entries = RecentFilesInRegistry();
    ASSERT_EQ(entries.size(), 8u);
    EXPECT_EQ(entries.front(), "/w/new.e");
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "/w/8.e"), 0);
}

// An IDE in a child process of its own, round after round: it starts (reads
// the settings) when told, makes the round's change, says it is ready, and
// quits when told, saying whether it noted a failure.
class IdeProcess {
public:
    IdeProcess(const std::string& ini, const std::string& registry,
               const std::function<void(Workbench&, int round)>& change)
    {
        int down[2], up[2];
        if (pipe(down) != 0 || pipe(up) != 0)
            return;
        pid_ = fork();
        if (pid_ == 0) {
            close(down[1]);
            close(up[0]);
            setenv("QUVBENCH_REGISTRY", registry.c_str(), 1);
            char c;
            for (int round = 0; read(down[0], &c, 1) == 1; ++round) {
                char status = 'x';
                {
                    Workbench bench(ini);
                    bench.LoadStartSettings();
                    change(bench, round);
                    if (write(up[1], "r", 1) != 1 || read(down[0], &c, 1) != 1)
                        break;
                    bench.SaveDisplayAndRecentLists();
                    bench.SaveHistoriesAndPrintSetting();
                    status = bench.SettingsWriteFailures().empty() ? 'k' : 'f';
                }
                if (write(up[1], &status, 1) != 1)
                    break;
            }
            _exit(0);
        }
        close(down[0]);
        close(up[1]);
        toChild_ = down[1];
        fromChild_ = up[0];
    }
    ~IdeProcess()
    {
        close(toChild_);  // which ends it
        close(fromChild_);
        if (pid_ > 0)
            waitpid(pid_, nullptr, 0);
    }
    void Tell() const { (void)!write(toChild_, "g", 1); }
    // What the child said last: 'r' ready, 'k' quit and kept its settings,
    // 'f' failed to, '-' nothing (it ended).
    char Heard() const
    {
        char c = '-';
        return read(fromChild_, &c, 1) == 1 ? c : '-';
    }

private:
    pid_t pid_ = -1;
    int toChild_ = -1, fromChild_ = -1;
};

// The names two IDEs reach the settings file and the registry file by.
struct Names {
    std::string iniA, registryA, iniB, registryB;
};

// Two IDEs quit at the same moment, 100 times, each with changes of its own
// to `iniFile` and `registryFile`, and neither loses any.
void BothKeepTheirChanges(const std::string& iniFile, const std::string& registryFile, const Names& files)
{
    const IdeProcess a(files.iniA, files.registryA, [](Workbench& bench, int round) {
        const std::string r = std::to_string(round);
        bench.DisplaySetting().font.lfHeight = -10 - round;
        bench.PrintSetting().iLeft = 200 + round;
        bench.RecentFiles().Add("/w/a" + r + ".e");
        CQuvFindHistory::InsertMostRecent(bench.FindHistory().findTexts, "a" + r);
    });
    const IdeProcess b(files.iniB, files.registryB, [](Workbench& bench, int round) {
        const std::string r = std::to_string(round);
        bench.DisplaySetting().colors[1] = 1 + round;
        bench.PrintSetting().footer = "b" + r;
        bench.RecentFiles().Add("/w/b" + r + ".e");
        CQuvFindHistory::InsertMostRecent(bench.FindHistory().findTexts, "b" + r);
    });
    std::string lost;
    for (int round = 0; round < 100 && lost.empty(); ++round) {
        const std::string r = std::to_string(round);
        // Each round starts afresh, with no settings file and only the
        // control's registration, so that no list fills up (a full list
        // drops its oldest entries) and the IDEs start quickly.
        std::filesystem::remove(iniFile);
        platform::RegistryFile registry(registryFile);
        registry.SetValue(kControlKey, "", "/opt/quvpad/libquvpad.so");
        ASSERT_TRUE(registry.Save());
        a.Tell();
        b.Tell();
        ASSERT_EQ(std::string() + a.Heard() + b.Heard(), "rr");
        a.Tell();  // both quit at once
        b.Tell();
        ASSERT_EQ(std::string() + a.Heard() + b.Heard(), "kk");

        // Each file read once, as it is on disk.
        const platform::PrivateProfileFile ini(iniFile);
        ASSERT_TRUE(registry.Load());
        CRecentFileList recent("Recent File List", "File%d", 8, 30);
        recent.ReadList(registry);
        const auto has = [](const std::vector<std::string>& list, const std::string& entry) {
            return std::find(list.begin(), list.end(), entry) != list.end();
        };
        std::vector<std::string> found;
        for (int k = 0; k < kHistoryKeys; ++k)
            found.push_back(ini.getString("FindTextSection", std::to_string(k), "", 4096));
        const struct {
            const char* what;
            bool kept;
        } changes[] = {
            {"a's font", ini.getInt("DISPLAY_FONT", "lfHeight", 0) == -10 - round},
            {"a's margin", ini.getInt("PAGE_SETUP_INFO", "iLeft", 0) == 200 + round},
            {"a's recent file", has(recent.Entries(), "/w/a" + r + ".e")},
            {"a's find text", has(found, "a" + r)},
            {"b's colour", ini.getInt("COLORS", kColorKeys[1], 0) == 1 + round},
            {"b's footer", ini.getString("PAGE_SETUP_INFO", "footer", "", 4096) == "b" + r},
            {"b's recent file", has(recent.Entries(), "/w/b" + r + ".e")},
            {"b's find text", has(found, "b" + r)},
            {"the control's registration", registry.GetValue(kControlKey) == "/opt/quvpad/libquvpad.so"},
        };
        for (const auto& c : changes)
            if (!c.kept)
                lost += " " + std::string(c.what);
        if (!lost.empty())
            lost = "round " + r + " lost" + lost;
    }
    EXPECT_EQ(lost, "");
}

// A logout: two IDEs quit at the same moment, each with changes of its own
// to the settings file and to the recent lists, and neither loses any: also
// when each reaches the files through a symbolic link of its own.
TEST_F(TwoInstances, TwoThatQuitAtTheSameMomentBothKeepTheirChanges)
{
    namespace fs = std::filesystem;
    fs::create_directories(folder_ / "a");
    fs::create_directories(folder_ / "b");
    fs::create_symlink("../QuvBench.ini", folder_ / "a/QuvBench.ini");
    fs::create_symlink("../registry", folder_ / "a/registry");
    fs::create_symlink(ini_, folder_ / "b/settings.ini");
    fs::create_symlink(folder_ / "a/registry", folder_ / "b/registry");
    const struct {
        const char* name;
        Names files;
    } rows[] = {
        {"one name", {ini_, registry_, ini_, registry_}},
        {"two links to each file",
         {(folder_ / "a/QuvBench.ini").string(), (folder_ / "a/registry").string(),
          (folder_ / "b/settings.ini").string(), (folder_ / "b/registry").string()}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BothKeepTheirChanges(ini_, registry_, row.files);
    }
}

// Another process holds the settings' lock past the wait: this IDE's changes
// are reported as not kept, as a failed write is, and the file stays as it was.
TEST_F(TwoInstances, ALockHeldTooLongIsReportedAsAFailedWrite)
{
    Write("[PAGE_SETUP_INFO]\niLeft=100\n");
    Workbench a(ini_);
    a.LoadStartSettings();
    a.PrintSetting().iLeft = 250;
    {
        const platform::FileLock other(ini_, std::chrono::milliseconds(0));
        ASSERT_EQ(other.Error(), 0);
        a.SaveHistoriesAndPrintSetting();
    }
    ASSERT_EQ(a.SettingsWriteFailures().size(), 1u);
    EXPECT_EQ(a.SettingsWriteFailures()[0].file, ini_);
    EXPECT_EQ(a.SettingsWriteFailures()[0].reason, ErrorText(EBUSY));
    EXPECT_EQ(Read(), "[PAGE_SETUP_INFO]\niLeft=100\n");
}

// A registry file that cannot be read is not replaced by one holding only the
// recent lists: the registration would be gone.
TEST_F(TwoInstances, AnUnreadableRegistryIsLeftAloneAndSaidSo)
{
    Workbench a(ini_);
    a.LoadStartSettings();
    a.RecentFiles().Add("/w/a.e");
    std::filesystem::remove(registry_);
    std::filesystem::create_directory(registry_);
    a.SaveDisplayAndRecentLists();
    ASSERT_EQ(a.SettingsWriteFailures().size(), 1u);
    EXPECT_EQ(a.SettingsWriteFailures()[0].file, registry_);
    EXPECT_EQ(a.SettingsWriteFailures()[0].reason, ErrorText(EISDIR));
    EXPECT_TRUE(std::filesystem::is_directory(registry_));
}

TEST(ErrorWords, CommonErrorsInOurWordsOthersInTheSystems)
{
    struct Row {
        int error;
        const char* text;
    };
    const Row rows[] = {{ENOENT, "文件或文件夹不存在"}, {EACCES, "没有访问权限"},  {EROFS, "文件系统是只读的"},
                        {ENOSPC, "磁盘空间不足"},       {EDQUOT, "已超出磁盘配额"}, {EISDIR, "这是一个文件夹"},
                        {ENAMETOOLONG, "文件名太长"},   {EPERM, "不允许此操作"}};
    for (const Row& r : rows)
        EXPECT_EQ(ErrorText(r.error), r.text) << r.error;
    EXPECT_EQ(ErrorText(EXDEV), std::strerror(EXDEV));
    EXPECT_EQ(SaveFailureReason(ENOSPC, true, "x"), "磁盘空间不足；文件原有的内容未能恢复");
    EXPECT_EQ(SaveFailureReason(0, false, "it is not a regular file"), "it is not a regular file");
}

} // namespace
} // namespace ide::test
