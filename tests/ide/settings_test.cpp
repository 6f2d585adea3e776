// The settings that live in QuvBench.ini and the registry file: defaults from
// a missing file, round trips, foreign keys kept, and the line-break guard.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "ide/model/display_setting.hpp"
#include "ide/model/error_text.hpp"
#include "ide/model/find_history.hpp"
#include "ide/model/frame_placement.hpp"
#include "ide/model/print_setting.hpp"
#include "ide/model/recent_list.hpp"
#include "ide/model/workbench.hpp"
#include "ini_fixture.hpp"
#include "open_count.hpp"
#include "platform/class_registry.hpp"
#include "platform/private_profile.hpp"
#include "platform/registry_file.hpp"

namespace ide {
namespace {

using test::IniTest;

class StartSettingsTest : public IniTest {};

// Every setting the IDE takes from QuvBench.ini at start-up comes from one
// read of it: a file of many lines read once per key kept the window from
// showing for minutes.
TEST_F(StartSettingsTest, TheFileIsReadOnceForEveryKey)
{
    setenv("QUVBENCH_REGISTRY", (folder_ / "registry").c_str(), 1);
    std::string text = "[Other]\n";
    for (int i = 0; i < 5000; ++i)
        text += "key" + std::to_string(i) + "=a value the IDE does not use\n";
    Write(text + "[DISPLAY_FONT]\nlfHeight=-14\nlfFaceName=Mono\n[COLORS]\n注释=0x123456\n[SPACES]\nTabSize=8\n"
                 "[PAGE_SETUP_INFO]\niLeft=250\nfooter=p &p\n[PRINT_FONT]\nlfHeight=10\n[FindTextSection]\n0=alpha\n"
                 "[DirSection]\n0=/src\n[FRAME_PLACEMENT]\nleft=10\ntop=20\nwidth=800\nheight=600\n");
    test::OpenCount count(ini_);
    ASSERT_TRUE(count.Watching());
    Workbench bench(ini_);
    bench.LoadStartSettings();
    EXPECT_EQ(count.Opens(), 1);
    unsetenv("QUVBENCH_REGISTRY");

    const struct {
        const char* key;
        long long got, want;
    } rows[] = {
        {"lfHeight", bench.DisplaySetting().font.lfHeight, -14},
        {"注释", bench.DisplaySetting().colors[9], 0x123456},
        {"关键词 (default)", bench.DisplaySetting().colors[1], kDefaultColors[1]},
        {"TabSize", bench.DisplaySetting().TabSize, 8},
        {"iLeft", bench.PrintSetting().iLeft, 250},
        {"print lfHeight", bench.PrintSetting().printFont.lfHeight, 10},
        {"width", bench.FramePlacement().width, 800},
        {"top", bench.FramePlacement().y, 20},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.got, r.want) << r.key;
    EXPECT_EQ(bench.DisplaySetting().font.lfFaceName, "Mono");
    EXPECT_EQ(bench.PrintSetting().footer, "p &p");
    EXPECT_EQ(bench.FindHistory().findTexts, CQuvFindHistory::List{"alpha"});
    EXPECT_EQ(bench.FindHistory().folders, CQuvFindHistory::List{"/src"});
}

class DisplaySettingTest : public IniTest {};

TEST_F(DisplaySettingTest, MissingFileGivesDefaultsAndZeroFont)
{
    CDisplaySetting s;
    LoadDisplaySetting(s, Profile());
    EXPECT_EQ(s.font, LogFont());
    for (int i = 0; i < kColorCount; ++i)
        EXPECT_EQ(s.colors[i], kDefaultColors[i]) << i;
    EXPECT_EQ(s.MinX, 0);
    EXPECT_EQ(s.TabSize, 2);
    EXPECT_EQ(s.LineDistance, 0);
}

TEST_F(DisplaySettingTest, RoundTripKeepsEveryFieldAndForeignKeys)
{
    Write("[Other]\nmine=1\n[COLORS]\n注释=0x123456\nextra=keep me\n");
    CDisplaySetting s;
    LoadDisplaySetting(s, Profile());
    EXPECT_EQ(s.colors[9], 0x123456u);
    s.font.lfHeight = -16;
    s.font.lfWeight = 700;
    s.font.lfCharSet = 134;
    s.font.lfPitchAndFamily = 255;
    s.font.lfFaceName = "文泉驿等宽微米黑";
    s.colors[1] = 0xFF0000;
    s.MinX = 3;
    s.TabSize = 8;
    s.LineDistance = -1;
    SaveDisplaySetting(s, ini_);

    CDisplaySetting back;
    LoadDisplaySetting(back, Profile());
    EXPECT_EQ(back, s);
    const std::string text = Read();
    EXPECT_NE(text.find("关键词=0xff0000\n"), std::string::npos);
    EXPECT_NE(text.find("lfCharSet=134\n"), std::string::npos);
    EXPECT_NE(text.find("[Other]\nmine=1\n"), std::string::npos);
    EXPECT_NE(text.find("extra=keep me\n"), std::string::npos);

    // A second save of what was read changes nothing.
    SaveDisplaySetting(back, ini_);
    EXPECT_EQ(Read(), text);
}

TEST_F(DisplaySettingTest, FontSectionReading)
{
    struct Case {
        const char* section;
        int height;
        const char* face;
    } cases[] = {
        {"lfHeight=0\nlfWeight=700\nlfFaceName=Mono\n", 0, "keep"},  // zero height: nothing else read
        {"lfWeight=700\n", 0, "keep"},                                // no height
        {"lfHeight=-12\n", -12, "System"},                            // face missing
        {"lfHeight=0x10\nlfFaceName=Mono\n", 16, "Mono"},
        {"lfHeight=12\nlfFaceName=ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghij\n", 12, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcde"},
    };
    for (const Case& c : cases) {
        Write(std::string("[F]\n") + c.section);
        LogFont font;
        font.lfFaceName = "keep";
        ReadLogFont("F", font, Profile());
        EXPECT_EQ(font.lfHeight, c.height) << c.section;
        EXPECT_EQ(font.lfFaceName, c.face) << c.section;
    }
}

TEST_F(DisplaySettingTest, ColourValuesReadInBothForms)
{
    Write("[COLORS]\n当前行背景色=255\n关键词=0XFF\n定义标号=-1\n");
    CDisplaySetting s;
    LoadDisplaySetting(s, Profile());
    EXPECT_EQ(s.colors[0], 255u);
    EXPECT_EQ(s.colors[1], 255u);
    EXPECT_EQ(s.colors[2], 0xFFFFFFFFu);
    EXPECT_EQ(FormatColor(0xFF), "0x0000ff");
}

// The frame's restored rectangle: the one kept, made to fit the screen, or a
// fair share of it; never under the smallest that holds the panes.
TEST(FramePlacement, RestoredRectangleFitsTheScreen)
{
    const FrameRect screen{0, 0, 1280, 1024};
    const struct {
        const char* name;
        FrameRect saved, work, restored;
    } rows[] = {
        {"none kept: three quarters, centred", {}, screen, {160, 128, 960, 768}},
        {"kept as it was", {100, 50, 802, 625}, screen, {100, 50, 802, 625}},
        {"a sliver grows to the smallest", {5, 5, 368, 70}, screen, {5, 5, 640, 480}},
        {"larger than this screen", {0, 0, 2560, 1440}, screen, screen},
        {"beyond its edges comes back", {3000, -200, 800, 600}, {0, 30, 1280, 994}, {480, 30, 800, 600}},
        {"on a second screen to the left", {-1500, 100, 800, 600}, {-1920, 0, 1920, 1080}, {-1500, 100, 800, 600}},
        {"a screen smaller than the smallest", {}, {0, 0, 600, 400}, {0, 0, 600, 400}},
    };
    for (const auto& r : rows)
        EXPECT_EQ(RestoredFrameRect(r.saved, r.work), r.restored) << r.name;
}

class PrintSettingTest : public IniTest {};

TEST_F(PrintSettingTest, MissingFileGivesDefaults)
{
    CPrintSetting s;
    s.Load(Profile());
    EXPECT_TRUE(s.SamePersistentFields(CPrintSetting()));
    EXPECT_EQ(s.header, "文件: &f  %x, %X");
    EXPECT_EQ(s.footer, "第 &p 页");
    EXPECT_EQ(s.bHeaderAlign, 1);
    EXPECT_EQ(s.bFooterAlign, 2);
    EXPECT_EQ(s.iLeft, 100);
    EXPECT_EQ(s.iPageSeperatorCode, 12);
    EXPECT_EQ(s.iLineDistance, 12);
    EXPECT_EQ(s.bPrintSyntax, 1);
}

TEST_F(PrintSettingTest, RoundTripKeepsFieldsAndForeignKeys)
{
    Write("[PAGE_SETUP_INFO]\nvendor=x\n[Mine]\na=b\n");
    CPrintSetting s;
    s.header = "&n - %Y";
    s.footer = "";
    s.bHeaderStop = 1;
    s.iTop = 250;
    s.bInchUnit = 0;
    s.headerFooterColor = 0x00FF00;
    s.printFont.lfHeight = 10;
    s.printFont.lfFaceName = "Courier";
    s.Save(ini_);
    const std::string first = Read();
    EXPECT_NE(first.find("vendor=x\n"), std::string::npos);
    EXPECT_NE(first.find("[Mine]\na=b\n"), std::string::npos);
    EXPECT_NE(first.find("PRINT_HEADER_FOOTER_COLOR=0x00ff00\n"), std::string::npos);

    CPrintSetting back;
    back.Load(Profile());
    EXPECT_TRUE(back.SamePersistentFields(s));
    EXPECT_EQ(back.footer, "");
    back.Save(ini_);
    EXPECT_EQ(Read(), first);
}

TEST(PrintTemplate, Expansion)
{
    CPrintSetting s;
    std::tm t{};
    t.tm_year = 2026 - 1900;
    t.tm_mon = 11;
    t.tm_mday = 9;
    t.tm_hour = 8;
    t.tm_min = 5;
    t.tm_isdst = -1;
    s.SetJobInfo("/work/demo", std::mktime(&t), 3, 7, 150);
    struct Case {
        const char* text;
        const char* expanded;
    } cases[] = {
        {"", " "},
        {"第 &p 页", "第 3 页"},
        {"&f|&n|&t|&p|&&p", "/work/demo|demo|7|3|&p"},
        {"&q&", "&q&"},
        {"%Y&p", "20263"},
        {"%H:%M %%", "08:05 %"},
        {"100%", "100%"},          // a lone "%" at the end
        {"%Q %E %k %-", "%Q %E %k %-"},  // unknown, modifier alone or platform-only conversions
        {"%F|%D|%e|%T|%R", "2026-12-09|12/09/26| 9|08:05:00|08:05"},
        {"%C %y %g %G %V %u %h", "20 26 26 2026 50 3 Dec"},
        {"%I%p %r", "08AM 08:05:00 AM"},
        {"a%nb%tc", "a\nb\tc"},
        {"%%Y", "%Y"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(s.ExpandTemplate(c.text), c.expanded) << c.text;
    // The zone's offset, as the local time of the stamp has it.
    const std::string zone = s.ExpandTemplate("%z");
    ASSERT_EQ(zone.size(), 5u);
    EXPECT_TRUE(zone[0] == '+' || zone[0] == '-') << zone;

    s.SetJobInfo("demo", 0, 1, 1, 1);
    EXPECT_EQ(s.ExpandTemplate("&n"), "demo");
    s.header = "";
    EXPECT_EQ(s.FormatHeader(), " ");
    s.bHeaderStop = 1;
    EXPECT_EQ(s.FormatHeader(), "");
}

TEST(PrintTemplate, LineNumbersAndAlignment)
{
    CPrintSetting s;
    s.SetPageInfo(1, 1, 150);
    EXPECT_EQ(s.FormatLineNumber(0), "");
    s.bPrintLineNo = 1;
    EXPECT_EQ(s.FormatLineNumber(0), "  1  ");
    EXPECT_EQ(s.FormatLineNumber(149), "150  ");
    EXPECT_EQ(CPrintSetting::AlignCode(0), 0);
    EXPECT_EQ(CPrintSetting::AlignCode(1), 1);
    EXPECT_EQ(CPrintSetting::AlignCode(-1), 2);
    EXPECT_EQ(CPrintSetting::AlignCode(7), 2);
}

class FindHistoryTest : public IniTest {};

TEST_F(FindHistoryTest, LoadCollapsesDuplicatesNewestFirst)
{
    Write("[FindTextSection]\n0=A\n1=B\n2=A\n[DirSection]\n11=old\n0=new\n");
    CQuvFindHistory h;
    h.LoadFromIni(Profile());
    EXPECT_EQ(h.findTexts, (CQuvFindHistory::List{"A", "B"}));
    EXPECT_EQ(h.folders, (CQuvFindHistory::List{"new", "old"}));
    EXPECT_TRUE(h.replaceTexts.empty());
    EXPECT_TRUE(h.fileTypes.empty());
}

TEST_F(FindHistoryTest, SaveWritesTwelveNewestAndRoundTrips)
{
    Write("[Keep]\nx=1\n[FileTypeSection]\nmine=2\n");
    CQuvFindHistory h;
    for (int i = 0; i < 15; ++i)
        CQuvFindHistory::InsertMostRecent(h.findTexts, "t" + std::to_string(i));
    h.replaceTexts = {"替换", "b"};
    h.fileTypes = {"*.e;*.prj"};
    h.folders = {"/a;/b"};
    h.SaveToIni(ini_);

    CQuvFindHistory back;
    back.LoadFromIni(Profile());
    EXPECT_EQ(back.findTexts.size(), 12u);
    EXPECT_EQ(back.findTexts.front(), "t14");
    EXPECT_EQ(back.findTexts.back(), "t3");
    EXPECT_EQ(back.replaceTexts, h.replaceTexts);
    EXPECT_EQ(back.fileTypes, h.fileTypes);
    EXPECT_EQ(back.folders, h.folders);
    const std::string text = Read();
    EXPECT_NE(text.find("[Keep]\nx=1\n"), std::string::npos);
    EXPECT_NE(text.find("mine=2\n"), std::string::npos);
}

TEST_F(FindHistoryTest, EntriesWithLineBreaksAreLeftOut)
{
    CQuvFindHistory h;
    h.findTexts = {"one", "two\n[COLORS]\n关键词=0", "three\r", "four"};
    h.SaveToIni(ini_);
    EXPECT_EQ(platform::getPrivateProfileString("FindTextSection", "0", "", 260, ini_), "one");
    EXPECT_EQ(platform::getPrivateProfileString("FindTextSection", "1", "", 260, ini_), "four");
    EXPECT_EQ(platform::getPrivateProfileString("FindTextSection", "2", "-", 260, ini_), "-");
    EXPECT_EQ(platform::getPrivateProfileString("COLORS", "关键词", "-", 260, ini_), "-");
    EXPECT_EQ(Read().find("three"), std::string::npos);
}

TEST(FindHistory, InsertMostRecentMovesWithoutDuplicating)
{
    CQuvFindHistory::List list{"a", "b", "c"};
    CQuvFindHistory::InsertMostRecent(list, "b");
    EXPECT_EQ(list, (CQuvFindHistory::List{"b", "a", "c"}));
    CQuvFindHistory::InsertMostRecent(list, "B");
    EXPECT_EQ(list, (CQuvFindHistory::List{"B", "b", "a", "c"}));
}

class RecentListTest : public IniTest {};

TEST_F(RecentListTest, KeepsEightNewestAndRoundTripsThroughTheRegistry)
{
    platform::RegistryFile registry((folder_ / "registry").string());
    registry.SetValue(std::string(kAppRegistryKey) + "\\Recent Project List", "Project8", "stale");
    CRecentFileList projects("Recent Project List", "Project%d", 8, 30);
    CRecentFileList files("Recent File List", "File%d", 8, 30);
    for (int i = 0; i < 10; ++i) {
        projects.Add("/p/" + std::to_string(i) + ".prj");
        files.Add("/f/" + std::to_string(i) + ".e");
    }
    files.Add("/home/张三/项目/程序.e");
    projects.Add("/p/5.prj");
    ASSERT_EQ(projects.Entries().size(), 8u);
    EXPECT_EQ(projects.Entries()[0], "/p/5.prj");
    EXPECT_EQ(projects.Entries()[1], "/p/9.prj");
    EXPECT_EQ(projects.Entries()[7], "/p/2.prj");
    projects.Remove(1);
    projects.WriteList(registry);
    files.WriteList(registry);
    ASSERT_TRUE(registry.Save());

    platform::RegistryFile again(registry.Path());
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetValue(projects.SectionKey(), "Project1"), "/p/5.prj");
    EXPECT_FALSE(again.GetValue(projects.SectionKey(), "Project8").has_value());
    CRecentFileList projectsBack("Recent Project List", "Project%d", 8, 30);
    CRecentFileList filesBack("Recent File List", "File%d", 8, 30);
    projectsBack.ReadList(again);
    filesBack.ReadList(again);
    EXPECT_EQ(projectsBack.Entries(), projects.Entries());
    EXPECT_EQ(filesBack.Entries(), files.Entries());
}

// The box of an editor control that could not be created names the registry
// file and why it could not be read, or that it does not register the
// control, and how quvreg registers it again.
TEST_F(RecentListTest, AControlThatCannotBeCreatedNamesTheRegistryFile)
{
    const char classId[] = "{4F1C0D2E-0000-0000-0000-51A7E0C0FFEE}";
    const std::string notRegistered = std::string(classId) + " is not registered";
    const std::string path = (folder_ / "registry").string();
    const auto registered = [&] {
        platform::RegistryFile registry(path);
        registry.SetValue(platform::ClassKey(classId) + "\\InprocServer32", "", "/opt/quvpad/libquvpad.so");
        ASSERT_TRUE(registry.Save());
    };
    const struct {
        const char* name;
        std::function<void()> make;
        std::string error;
        std::vector<std::string> told;  // each in the text, in this order
    } rows[] = {
        {"a folder", [&] { std::filesystem::create_directory(path); }, notRegistered,
         {path, "无法读取：这是一个文件夹", "移走或修好它以后，用 quvreg 注册编辑控件"}},
        {"binary data", [&] { std::ofstream(path, std::ios::binary) << std::string("\x7f" "ELF\x02\x01\0\0=\n\xff", 11); },
         notRegistered, {path, "无法读取：第 1 行不是注册表的内容", "用 quvreg 注册编辑控件", "它会重写这个文件"}},
        {"another file's text", [&] { std::ofstream(path) << "[Section]\nkey=value\njust words\n"; }, notRegistered,
         {path, "第 3 行不是注册表的内容"}},
        {"no registration", [&] { std::ofstream(path) << "[Software\\Other]\n@=x\n\n"; }, notRegistered,
         {notRegistered + "\n注册表文件 " + path + " 中没有编辑控件的登记：用 quvreg 注册编辑控件"}},
        {"no file", [] {}, notRegistered, {notRegistered + "\n", path, "quvreg"}},
        {"registered, the library failed", registered, "cannot open the library", {"cannot open the library"}},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        std::filesystem::remove_all(path);
        r.make();
        const std::string told = ControlCreationFailure(path, classId, r.error);
        size_t at = 0;
        for (const std::string& part : r.told) {
            at = told.find(part, at);
            ASSERT_NE(at, std::string::npos) << part << " in " << told;
        }
    }
    // A library that cannot be created tells nothing else.
    EXPECT_EQ(ControlCreationFailure(path, classId, "cannot open the library"), "cannot open the library");
}

TEST(RecentList, DisplayNameShortensLongPaths)
{
    const struct {
        const char* path;
        const char* shown;
    } cases[] = {
        {"/short/shop.prj", "/short/shop.prj"},
        {"/a/very/long/folder/name/that/goes/on/shop.prj", ".../shop.prj"},
        {"/home/张三/项目/程序.e", "/home/张三/项目/程序.e"},
        {"/home/张三/我的项目/第一个程序.prj", ".../第一个程序.prj"},
        // Without a folder the cut counts bytes, but never splits a character.
        {"一二三四五六七八九十一二.prj", "...五六七八九十一二.prj"},
    };
    for (const auto& c : cases) {
        CRecentFileList list("S", "E%d", 8, 30);
        list.Add(c.path);
        EXPECT_EQ(list.DisplayName(0), c.shown) << c.path;
    }
}

} // namespace
} // namespace ide
