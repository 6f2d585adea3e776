#include "platform/registry_file.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <random>

#include "tool_run.hpp"

using platform::RegistryFile;

namespace {


TEST(RegistryFile, ValuesSurviveAWriteAndARead)
{
    const TempFolder dir("quv-registry-");
    std::string path = dir / "deep/folder/registry";
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
    const TempFolder dir("quv-registry-");
    RegistryFile reg(dir / "registry");
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

namespace {

// Random sets, deletes and reads from fixed seeds against a plain model (a map
// of folded key names to their values), with a write and a read of the file
// now and then, which must give back the same registry.
TEST(RegistryFileStore, AgreesWithAMapAndComesBackFromItsFile)
{
    const TempFolder dir("quv-registry-");
    const std::string keys[] = {"Software\\A", "software\\a", "Software\\A\\B", "Software\\A\\", "Software\\AB",
                                "CLSID\\{1}", "x=y", "[z]"};
    const std::string names[] = {"", "File1", "file1", "a=b", "@", "x\ny", "\\", "[n", "[n]", "=", "\\=", "b c"};
    const std::string values[] = {"", "v", "a\nb", "c\\d", "=", "[x]", "\r", " pad ", "\\n"};
    auto fold = [](std::string key) {
        for (char& c : key)
            if (c >= 'A' && c <= 'Z')
                c = static_cast<char>(c - 'A' + 'a');
        while (!key.empty() && key.back() == '\\')
            key.pop_back();
        return key;
    };
    for (unsigned seed = 1; seed <= 80; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const std::string path = dir / ("registry" + std::to_string(seed));
        RegistryFile registry(path);
        ASSERT_TRUE(registry.Load());
        std::map<std::string, std::map<std::string, std::string>> model;
        for (int step = 0; step < 60; ++step) {
            const std::string& key = keys[random() % std::size(keys)];
            switch (random() % 5) {
            case 0:
            case 1: {
                const std::string& name = names[random() % std::size(names)];
                const std::string& value = values[random() % std::size(values)];
                registry.SetValue(key, name, value);
                model[fold(key)][name] = value;
                break;
            }
            case 2: {
                registry.DeleteKey(key);
                const std::string folded = fold(key);
                for (auto it = model.begin(); it != model.end();) {
                    const bool below = it->first.compare(0, folded.size() + 1, folded + "\\") == 0;
                    it = it->first == folded || below ? model.erase(it) : std::next(it);
                }
                break;
            }
            case 3: {
                ASSERT_TRUE(registry.Save());
                RegistryFile again(path);
                ASSERT_TRUE(again.Load());
                registry = again;
                break;
            }
            default:
                break;
            }
            ASSERT_EQ(registry.Keys().size(), model.size()) << "step " << step;
            for (const std::string& k : keys) {
                const auto held = model.find(fold(k));
                ASSERT_EQ(registry.HasKey(k), held != model.end()) << k;
                for (const std::string& name : names) {
                    std::optional<std::string> expected;
                    if (held != model.end() && held->second.count(name))
                        expected = held->second.at(name);
                    ASSERT_EQ(registry.GetValue(k, name), expected) << "step " << step << ": " << k << " / " << name;
                }
            }
        }
    }
}

} // namespace
