// The harnesses' scripts on inputs from fixed seeds, so every build runs a
// few seconds of each, and on every input a fuzzer found
// (tests/data/fuzz/HARNESS/), each replayed as it was written.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "driver_script.hpp"
#include "find_script.hpp"
#include "fresh_state.hpp"
#include "makefile_script.hpp"
#include "profile_script.hpp"
#include "script_folder.hpp"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;

std::string fileText(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void append(Bytes& bytes, const std::string& text)
{
    bytes.insert(bytes.end(), text.begin(), text.end());
}

template <size_t N>
const char* oneOf(std::mt19937& random, const char* const (&choices)[N])
{
    return choices[random() % N];
}

// Every reproducer kept for a harness, sorted.
std::vector<fs::path> reproducers(const std::string& harness)
{
    std::vector<fs::path> paths;
    const fs::path folder = fs::path(QUV_TEST_DATA) / "fuzz" / harness;
    if (fs::is_directory(folder))
        for (const auto& entry : fs::directory_iterator(folder))
            paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    return paths;
}

Bytes bytesOf(const fs::path& path)
{
    const std::string text = fileText(path);
    return Bytes(text.begin(), text.end());
}

class ScriptFolder {
public:
    ScriptFolder() : path(makeScriptFolder("quv_scripts_")) {}
    ~ScriptFolder() { fs::remove_all(path); }
    const std::string path;
};

// A settings file of lines a user's or a project's file holds, and some it
// should not, with any line end; then the operations.
Bytes profileInput(std::mt19937& random)
{
    static const char* const lines[] = {
        "[QuvBench]", "[quvbench]", "[Files]", "Project Name=shop", "File 1=a.e", " name = \"x\" ", "", ";comment",
        "=empty key", "[x", "  [ S p ]  ", "k=v", "0=12", "1=0x1F", "Name='q'", "\xD6\xD0=\xCE\xC4", "a b = c=d",
        "[]", "File1 =  spaced  "};
    static const char* const ends[] = {"\n", "\r\n", "\n", "\r"};
    Bytes bytes;
    for (int n = static_cast<int>(random() % 12); n > 0; --n) {
        append(bytes, oneOf(random, lines));
        append(bytes, n > 1 || random() % 2 ? oneOf(random, ends) : "");
    }
    bytes.push_back(0);
    for (int n = static_cast<int>(random() % 80); n > 0; --n)
        bytes.push_back(static_cast<std::uint8_t>(random()));
    return bytes;
}

TEST(ProfileScript, TheOneKeyFunctionsTheFileInMemoryAndAMapAgree)
{
    ScriptFolder folder;
    for (unsigned seed = 1; seed <= 1500; ++seed) {
        std::mt19937 random(seed);
        const Bytes input = profileInput(random);
        const std::string failure = RunProfileScript(input.data(), input.size(), folder.path);
        ASSERT_EQ(failure, "") << "seed " << seed;
    }
    for (const fs::path& path : reproducers("fuzz_profile")) {
        const Bytes input = bytesOf(path);
        EXPECT_EQ(RunProfileScript(input.data(), input.size(), folder.path), "") << path;
    }
}

// Options, a find text and a replacement of the characters expressions and
// formats treat specially, a selection, and a document of short lines with
// GBK characters.
Bytes findInput(std::mt19937& random)
{
    static const char* const pieces[] = {"a", "b", "A", "ab", ".", "*", "+", "?", "(", ")", "[", "]", "|",
                                         "^", "$", "\\", "\\n", "{2}", "\n", " ", "\xD6\xD0", "\xCE", "x*",
                                         "[a-z]+", "(a|b)", "\\b", "$&", "$1", "\\1"};
    static const char* const text[] = {"a", "b", "B", "ab", " ", "\n", "\n\n", "\xD6\xD0", "\xCE\xC4", "(", "]",
                                       ".", "x", "\t", "aab", "\xD6"};
    Bytes bytes;
    bytes.push_back(static_cast<std::uint8_t>(random()));
    for (size_t most : {24, 12}) {
        std::string piece;
        for (int n = static_cast<int>(random() % 5); n > 0; --n)
            piece += oneOf(random, pieces);
        piece.resize(std::min(piece.size(), most));
        bytes.push_back(static_cast<std::uint8_t>(piece.size()));
        append(bytes, piece);
    }
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<std::uint8_t>(random()));
    for (int n = static_cast<int>(random() % 40); n > 0; --n)
        append(bytes, oneOf(random, text));
    return bytes;
}

TEST(FindScript, MatchesReplacementsAndSelectionsAgreeWithPlainModels)
{
    for (unsigned seed = 1; seed <= 3000; ++seed) {
        std::mt19937 random(seed);
        const Bytes input = findInput(random);
        const std::string failure = RunFindScript(input.data(), input.size());
        ASSERT_EQ(failure, "") << "seed " << seed;
    }
    for (const fs::path& path : reproducers("fuzz_find")) {
        const Bytes input = bytesOf(path);
        EXPECT_EQ(RunFindScript(input.data(), input.size()), "") << path;
    }
}

TEST(MakefileScript, ReadsTheDriversMakefileAndStopsWhatWouldNotEnd)
{
    const std::string shop = fileText(fs::path(QUV_TEST_DATA) / "driver" / "expected" / "shop.mak");
    ASSERT_FALSE(shop.empty());
    EXPECT_EQ(ReadMakefileScript(reinterpret_cast<const std::uint8_t*>(shop.data()), shop.size()), "");

    // Macros that name the one below twice would double forty times.
    std::string doubling = "M0 = x\n";
    for (int level = 1; level <= 40; ++level)
        doubling += "M" + std::to_string(level) + " = $(M" + std::to_string(level - 1) + ")$(M" +
                    std::to_string(level - 1) + ")\n";
    doubling += "ALL : $(M40)\n";
    EXPECT_NE(ReadMakefileScript(reinterpret_cast<const std::uint8_t*>(doubling.data()), doubling.size())
                  .find("a macro expands to more than"),
              std::string::npos);

    // Lines of the dialect shuffled and cut: each reads or is refused.
    std::vector<std::string> lines;
    std::istringstream in(shop);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    for (unsigned seed = 1; seed <= 500; ++seed) {
        std::mt19937 random(seed);
        std::string makefile;
        for (int n = static_cast<int>(random() % 30); n > 0; --n) {
            std::string line = lines[random() % lines.size()];
            if (random() % 4 == 0)
                line = line.substr(0, random() % (line.size() + 1));
            makefile += line + (random() % 8 ? "\n" : "\r\n");
        }
        ReadMakefileScript(reinterpret_cast<const std::uint8_t*>(makefile.data()), makefile.size());
    }
    for (const fs::path& path : reproducers("fuzz_nmake")) {
        const Bytes input = bytesOf(path);
        ReadMakefileScript(input.data(), input.size());
    }
}

// The driver's sources and project files, with a few bytes changed, deleted
// or repeated.
std::string mutated(std::mt19937& random, std::string text)
{
    for (int n = static_cast<int>(random() % 4); n > 0 && !text.empty(); --n) {
        const size_t at = random() % text.size();
        switch (random() % 3) {
        case 0: text[at] = static_cast<char>(random()); break;
        case 1: text.erase(at, random() % 8); break;
        default: text.insert(at, text.substr(at, random() % 16)); break;
        }
    }
    return text;
}

TEST(DriverScript, CompilesMutatedSourcesAndProjectsAndReadsBackWhatItSaves)
{
    const fs::path data = fs::path(QUV_TEST_DATA) / "driver";
    std::vector<std::string> sources, projects;
    for (const auto& entry : fs::directory_iterator(data)) {
        if (entry.path().extension() == ".e")
            sources.push_back(fileText(entry.path()));
        else if (entry.path().extension() == ".prj")
            projects.push_back(fileText(entry.path()));
    }
    std::sort(sources.begin(), sources.end());
    std::sort(projects.begin(), projects.end());
    ASSERT_FALSE(sources.empty());
    ASSERT_FALSE(projects.empty());
    // The front end writes every diagnostic to the C++ streams; they are
    // given back before the buffer that silences them goes.
    std::streambuf* const out = std::cout.rdbuf();
    std::streambuf* const err = std::cerr.rdbuf();
    silenceFrontEnd();
    struct GiveBack {
        std::streambuf* out;
        std::streambuf* err;
        ~GiveBack()
        {
            std::cout.rdbuf(out);
            std::cerr.rdbuf(err);
        }
    } giveBack{out, err};
    ScriptFolder folder;
    int translated = 0;
    for (unsigned seed = 1; seed <= 90; ++seed) {
        std::mt19937 random(seed);
        std::string input = mutated(random, sources[random() % sources.size()]);
        if (seed % 3 != 0) {
            // Its own project, naming the source as the harness writes it.
            std::string project = mutated(random, projects[random() % projects.size()]);
            const size_t file1 = project.find("File 1=");
            if (file1 != std::string::npos)
                project.replace(file1, project.find_first_of("\r\n", file1) - file1, "File 1=fuzz.e");
            input += std::string(1, '\0') + project;
        }
        const std::string failure =
            RunDriverScript(reinterpret_cast<const std::uint8_t*>(input.data()), input.size(), folder.path);
        ASSERT_EQ(failure, "") << "seed " << seed;
        translated += fs::exists(folder.path + "/fuzz.cpp");
    }
    EXPECT_GT(translated, 0);
    for (const fs::path& path : reproducers("fuzz_driver")) {
        const Bytes input = bytesOf(path);
        EXPECT_EQ(RunDriverScript(input.data(), input.size(), folder.path), "") << path;
    }
}

} // namespace
