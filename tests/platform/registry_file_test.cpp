#include "platform/registry_file.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

using platform::RegistryFile;

namespace {

std::string TempDir()
{
    char pattern[] = "/tmp/quv-registry-XXXXXX";
    return mkdtemp(pattern);
}

TEST(RegistryFile, ValuesSurviveAWriteAndARead)
{
    std::string path = TempDir() + "/deep/folder/registry";
    RegistryFile reg(path);
    ASSERT_TRUE(reg.Load());   // a missing file is an empty registry
    struct Row { const char* key; const char* name; const char* value; };
    const Row rows[] = {
        {"Software\\Classes\\CLSID\\{A}", "", "QuvPad Control"},
        {"Software\\Classes\\CLSID\\{A}\\InprocServer32", "", "/lib/with = sign/lib.so"},
        {"Software\\Classes\\CLSID\\{A}\\InprocServer32", "ThreadingModel", "Apartment"},
        {"Software\\Classes\\Odd", "multi", "line one\nline two \\ back"},
        {"Software\\Classes\\Odd", "empty", ""},
    };
    for (const Row& r : rows)
        reg.SetValue(r.key, r.name, r.value);
    ASSERT_TRUE(reg.Save());

    RegistryFile again(path);
    ASSERT_TRUE(again.Load());
    for (const Row& r : rows)
        EXPECT_EQ(again.GetValue(r.key, r.name).value_or("<none>"), r.value) << r.key << " " << r.name;
    // Keys are found whatever the letter case, and a trailing backslash is no other key.
    EXPECT_EQ(again.GetValue("software\\classes\\clsid\\{a}\\").value_or("<none>"), "QuvPad Control");
    EXPECT_FALSE(again.GetValue("Software\\Classes\\CLSID\\{A}", "missing"));
    EXPECT_FALSE(again.GetValue("Software\\Classes\\CLSID\\{B}"));
}

TEST(RegistryFile, DeletingAKeyTakesItsSubkeysButNotItsNeighbours)
{
    RegistryFile reg(TempDir() + "/registry");
    reg.SetValue("Root\\Class", "", "a");
    reg.SetValue("Root\\Class\\Sub", "", "b");
    reg.SetValue("Root\\Class\\Sub\\Deeper", "", "c");
    reg.SetValue("Root\\ClassTwo", "", "d");
    reg.SetValue("Root", "", "e");
    reg.DeleteKey("ROOT\\CLASS");
    EXPECT_FALSE(reg.HasKey("Root\\Class"));
    EXPECT_FALSE(reg.HasKey("Root\\Class\\Sub"));
    EXPECT_FALSE(reg.HasKey("Root\\Class\\Sub\\Deeper"));
    EXPECT_TRUE(reg.HasKey("Root\\ClassTwo"));
    EXPECT_TRUE(reg.HasKey("Root"));
}

} // namespace
