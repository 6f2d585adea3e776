// The editor model against a plain editor of the same rules: scripts of keys
// and commands, random from fixed seeds and written out for the cases that
// matter most, compared after every action (see plain_editor.hpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "plain_editor.hpp"

using namespace quvpad;
using namespace quvpad::test;

namespace {

std::vector<uint8_t> RandomScript(unsigned seed, size_t length)
{
    std::mt19937 rng(seed);
    std::vector<uint8_t> script(length);
    for (uint8_t& b : script)
        b = static_cast<uint8_t>(rng());
    return script;
}

TEST(EditorDifferential, RandomScriptsAgreeWithThePlainEditor)
{
    for (unsigned seed = 1; seed <= 20; ++seed) {
        const std::vector<uint8_t> script = RandomScript(seed, 1500);
        EditScript run;
        const std::string difference = run.Run(script.data(), script.size());
        ASSERT_EQ(difference, "") << "seed " << seed;
    }
}

// Op bytes of the script language (plain_editor.hpp).
enum : uint8_t { Type = 0, Enter = 5, Backspace = 6, Delete = 7, Select = 8, Caret = 9, Paste = 10,
                 Undo = 14, Redo = 15, Key = 16, Load = 18 };

TEST(EditorDifferential, LinesRemovedAwayFromTheEditAfterEveryLoadSize)
{
    // A load leaves a little room in the store. Lines typed at the end fill
    // it and cross its growths, while removals near the top move the gap over
    // the whole text, as the lost lines needed. Up to a few hundred lines the
    // text grows by one line at a time with a removal after each, so that a
    // removal comes at every fill, the full store included; larger texts grow
    // a hundred lines at a time.
    const std::vector<uint8_t> oneMore{Key, 1 | 16, Enter, 1, Enter, 1, Delete, 2, 0};   // Ctrl+End
    for (uint8_t pick = 0; pick < 15; ++pick) {
        const int lines = EditScript::LoadLines(pick);
        std::vector<uint8_t> script{Load, pick, 1, pick};
        if (lines <= 100) {
            for (int count = lines; count < std::max(240, 3 * lines); ++count)
                script.insert(script.end(), oneMore.begin(), oneMore.end());
        } else {
            script.insert(script.end(), {Key, 1 | 16});
            for (int added = 0; added < lines / 2; added += 100) {
                script.insert(script.end(), {Enter, 0, 99});
                script.insert(script.end(), {Backspace, 1, 2, Delete, 2, 0, Backspace, 0, 0});
                script.insert(script.end(), {Key, 1 | 16, Enter, 1, Type, 'a'});
            }
        }
        for (uint8_t i = 0; i < 6; ++i)
            script.insert(script.end(), {Backspace, 1, static_cast<uint8_t>(3 + i), Delete, 2, i});
        script.insert(script.end(), {Select, 0, 1, 6, 3, 1, Paste, 0, 50, 3, 0, 0, 0, 0, 0});
        script.insert(script.end(), {Undo, 0, 60, Undo, 0, 60, Redo, 0, 60, Undo, 0, 60});
        EditScript run;
        const std::string difference = run.Run(script.data(), script.size());
        ASSERT_EQ(difference, "") << "load of " << lines << " lines";
    }
}

TEST(EditorDifferential, TheReportedSessionKeepsItsLines)
{
    // Eight lines, Ctrl+End, Enter a few dozen times, Backspace at the start
    // of line 3, save, undo every step.
    EditScript run;
    EditorFixture& f = run.Fixture();
    f.Load("line 1\nline 2\nline 3\nline 4\nline 5\nline 6\nline 7\nline 8\n");
    f.Key(KeyEnd, ModControl);
    for (int i = 0; i < 80; ++i)
        f.Type("\r");
    f.model.SetSelection(0, 2, 0, 2);
    f.Key(KeyBack);
    std::vector<std::string> expected{"line 1", "line 2line 3", "line 4", "line 5", "line 6", "line 7", "line 8"};
    expected.resize(87);
    EXPECT_EQ(f.Lines(), expected);
    while (f.model.CanUndo())
        f.model.Undo();
    EXPECT_EQ(f.model.GetText(), "line 1\nline 2\nline 3\nline 4\nline 5\nline 6\nline 7\nline 8\n");
}

TEST(EditorDifferential, FuzzReproducersAgree)
{
    // What fuzz_editor found, each a script of the same language, played as
    // the fuzzer plays it.
    std::vector<std::filesystem::path> paths;
    for (const auto& entry : std::filesystem::directory_iterator(QUV_TEST_DATA "/fuzz/editor"))
        if (entry.path().extension() == ".script")
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    ASSERT_FALSE(paths.empty());
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        const std::vector<uint8_t> script((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_EQ(EditScript::RunFuzzed(script.data(), script.size()), "") << path;
    }
}

} // namespace
