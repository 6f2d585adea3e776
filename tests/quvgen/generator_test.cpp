// The generator end to end: its programs must parse without a diagnostic,
// hold every construct, and survive the typesetting pass; its C++ files must
// compile, or the benchmark compares against nothing. Its valid and random
// programs must pass the walker too, and their C++ must compile.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <future>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "tool_run.hpp"

namespace {

long countLines(const std::string& text)
{
    long n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

// Writes `quvgen MODE LINES` to a file of the test's output folder; returns its path.
std::string generate(const std::string& mode, long lines, const std::string& name)
{
    const std::string path = std::string(QUV_TEST_OUTPUT) + "/" + name;
    const std::string command =
        std::string(QUVGEN_PATH) + " " + mode + " " + std::to_string(lines) + " > " + path;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return path;
}

TEST(Generator, WritesExactlyTheLinesAskedFor)
{
    for (long lines : {600L, 2000L, 2001L}) {
        for (const char* mode : {"e", "cpp"}) {
            const std::string path = generate(mode, lines, std::string("count.") + mode);
            EXPECT_EQ(countLines(readFile(path)), lines) << mode << ' ' << lines;
        }
    }
}

TEST(Generator, ProgramParsesWithoutDiagnostics)
{
    const std::string path = generate("e", 2000, "program.e");
    const RunResult parsed = runQuvdump("parse " + path);
    EXPECT_EQ(parsed.status, 0);
    EXPECT_EQ(parsed.out, "");
}

TEST(Generator, ProgramHoldsEveryConstruct)
{
    const std::string path = generate("e", 2000, "constructs.e");
    const RunResult tree = runQuvdump("tree " + path);
    ASSERT_EQ(diagLines(tree.out), "");
    // Node kinds as the tree prints them; each stands for a rule or a spelling.
    const char* const kinds[] = {
        "ASYN", "PERCENT_TYPE", "PERCENT_GLOB", "PERCENT_VAR", "PERCENT_PROC", "PERCENT_PROS",
        "PERCENT_PACK", "PERCENT_FATHER", "PERCENT_AGT", "PERCENT_LOC", "PERCENT_STM", "PERCENT_ALG",
        "RECORD", "UNION", "POINT", "ARRAY", "INT", "FLOAT", "STRING", "BOOL", "LOGIC", "NM", "STREAM",
        "CHIN_DECL", "CHOUT_DECL", "INP_DECL", "IOP_DECL", "CONST_DECL", "DOUBLE_T", "DOUBLE_F",
        "DOLLA_T", "DOLLA_F", "FLOAT_LITERAL", "STRING_LITERAL", "ATOM_STAT", "IF_STAT", "CASE_STAT",
        "DEFAULT", "LOOP_STAT", "WAIT_STAT", "SEQ_STAT", "SEQ", "NEWDEC", "DELETE", "PARALLEL",
        "SELECT", "XOR", "EQUAL", "QUESTION", "EXCLAMATION", "BAND", "LNOT", "IF", "MULTI", "DIV",
        "MOD", "PLUS", "MINUS", "DOLLA_C", "DOLLA_V", "LT_", "LTE", "GT", "GTE", "NE", "ASSIGN",
        "PARENS", "BRACKETS", "ARROW_VAR", "DOT_VAR", "COLON", "ProCall", "PERCENT_INP",
        "PERCENT_IOP", "PERCENT_CHN", "STOP", "RETURN", "EXIT", "NEXT", "FOPEN", "FCLOSE", "FEOF",
        "QUVEOF", "FREAD", "READ", "FWRITE", "WRITE", "FWRITELN", "WRITELN", "GETC", "GETCHAR",
        "UNGETC", "UNGETCHAR", "ITOC", "STRLEN",
    };
    for (const char* kind : kinds) {
        const std::string line = "\n" + std::string(kind) + " ";
        const std::string indented = " " + std::string(kind) + " \"";
        EXPECT_TRUE(tree.out.find(line) != std::string::npos || tree.out.find(indented) != std::string::npos)
            << kind;
    }
}

TEST(Generator, TypesetProgramLexesAndParsesCleanly)
{
    const std::string path = generate("e", 2000, "typeset.e");
    const RunResult typeset = runQuvdump("typeset " + path);
    ASSERT_EQ(diagLines(typeset.out), "");
    const std::string again = std::string(QUV_TEST_OUTPUT) + "/typeset.out.e";
    {
        std::ofstream out(again, std::ios::binary);
        out << typeset.out;
    }
    EXPECT_EQ(diagLines(runQuvdump("tokens " + again).out), "");
    EXPECT_EQ(runQuvdump("parse " + again).out, "");
}

// Writes `quvgen random SEED` into a folder of its own (a translation writes
// its files beside its source); returns the program's path.
// Each test writes into a folder of its own: CTest runs the tests of this
// file side by side, and two writing one seed's file would truncate it under
// the other's reader.
std::string generateRandom(unsigned seed)
{
    const std::string dir = std::string(QUV_TEST_OUTPUT) + "/" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-random-" +
                            std::to_string(seed);
    const std::string path = dir + "/r.e";
    const std::string command =
        "mkdir -p " + dir + " && " + std::string(QUVGEN_PATH) + " random " + std::to_string(seed) + " > " + path;
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    return path;
}

TEST(RandomPrograms, SameSeedSameProgramOtherSeedOther)
{
    const std::string first = readFile(generateRandom(7));
    EXPECT_FALSE(first.empty());
    EXPECT_EQ(readFile(generateRandom(7)), first);
    EXPECT_NE(readFile(generateRandom(8)), first);
    EXPECT_EQ(runCommand(std::string(QUVGEN_PATH) + " random 7 bogus 2>/dev/null").status, 2);
    EXPECT_EQ(runCommand(std::string(QUVGEN_PATH) + " random 7 pending 2>/dev/null").status, 2);
    EXPECT_EQ(runCommand(std::string(QUVGEN_PATH) + " random -1 2>/dev/null").status, 2);
}

TEST(RandomPrograms, TranslateWithoutDiagnosticsAndCompile)
{
    for (unsigned seed : {1u, 2u, 3u, 5u, 8u, 13u, 21u, 34u, 55u, 89u, 144u, 233u}) {
        const std::string path = generateRandom(seed);
        const RunResult translated = runQuvdump("translate " + path);
        EXPECT_EQ(translated.status, 0) << seed;
        EXPECT_EQ(diagLines(translated.out), "") << "seed " << seed << ": " << path;
        if (seed > 5 || !diagLines(translated.out).empty())
            continue;
        // The options our cl.exe passes to g++.
        const std::string cpp = path.substr(0, path.size() - 2) + ".cpp";
        const std::string command = "g++ -std=gnu++17 -pthread -DWIN32 -DNDEBUG -D_CONSOLE -D_MBCS -fsyntax-only -I " +
                                    std::string(QUV_RUNTIME_DIR) + " " + cpp + " 2>&1";
        const RunResult compiled = runCommand(command);
        EXPECT_EQ(compiled.status, 0) << command << "\n" << compiled.out;
    }
}

TEST(RandomPrograms, SeedsTogetherHoldEveryConstruct)
{
    std::string trees;
    for (unsigned seed = 1; seed <= 80; ++seed)
        trees += runQuvdump("tree " + generateRandom(seed)).out;
    ASSERT_EQ(diagLines(trees), "");
    const char* const kinds[] = {
        "SYN", "ASYN", "PERCENT_TYPE", "PERCENT_GLOB", "PERCENT_VAR", "PERCENT_PROC", "PERCENT_PROS", "PERCENT_PACK",
        "PERCENT_FATHER", "PERCENT_AGT", "PERCENT_LOC", "PERCENT_STM", "PERCENT_ALG", "RECORD", "UNION", "POINT",
        "ARRAY", "INT", "FLOAT", "STRING", "BOOL", "LOGIC", "NM", "STREAM", "CHIN_DECL", "CHOUT_DECL", "INP_DECL",
        "IOP_DECL", "CONST_DECL", "DOUBLE_T", "DOUBLE_F", "DOLLA_T", "DOLLA_F", "FLOAT_LITERAL", "STRING_LITERAL",
        "ATOM_STAT", "IF_STAT", "CASE_STAT", "DEFAULT", "LOOP_STAT", "WAIT_STAT", "SEQ_STAT", "SEQ", "NEWDEC",
        "DELETE", "PARALLEL", "SELECT", "XOR", "EQUAL", "QUESTION", "EXCLAMATION", "BAND", "LNOT", "IF", "MULTI",
        "DIV", "MOD", "PLUS", "MINUS", "DOLLA_C", "DOLLA_V", "LT_", "LTE", "GT", "GTE", "NE", "ASSIGN", "PARENS",
        "BRACKETS", "ARROW_VAR", "DOT_VAR", "COLON", "ProCall", "PERCENT_INP", "PERCENT_IOP", "PERCENT_CHN", "STOP",
        "RETURN", "EXIT", "NEXT", "FOPEN", "FCLOSE", "FEOF", "QUVEOF", "FREAD", "READ", "FWRITE", "WRITE",
        "FWRITELN", "WRITELN", "GETC", "GETCHAR", "UNGETC", "UNGETCHAR", "ITOC", "STRLEN",
    };
    for (const char* kind : kinds) {
        const std::string line = "\n" + std::string(kind) + " ";
        const std::string indented = " " + std::string(kind) + " \"";
        EXPECT_TRUE(trees.find(line) != std::string::npos || trees.find(indented) != std::string::npos) << kind;
    }
}

// Constructs whose translation once failed in g++ are written by default, so
// that the differential check keeps seeing them; what the compiler reports by
// design (a String in a union, a %Type part in a package) never is.
TEST(RandomPrograms, SeedsTogetherWriteOnceFailingConstructsOnly)
{
    std::string texts;
    for (unsigned seed = 1; seed <= 80; ++seed)
        texts += readFile(generateRandom(seed));
    for (const char* piece : {"\tmain(", ": Point(Node", "\"\\uuuu0041\"", "\"two\nlines\""})
        EXPECT_NE(texts.find(piece), std::string::npos) << piece;
    std::istringstream lines(texts);
    std::string line;
    while (std::getline(lines, line)) {
        std::transform(line.begin(), line.end(), line.begin(), [](unsigned char c) { return std::tolower(c); });
        EXPECT_FALSE(line.find("union(") != std::string::npos && line.find("string") != std::string::npos) << line;
        EXPECT_FALSE(line.find("%pack") != std::string::npos && line.find("%type") != std::string::npos) << line;
    }
}

// Writes `quvgen random SEED --files DIR [--without MARKS]` into a folder of
// the test's own; returns the folder, empty when quvgen's exit status was not 0.
std::string generateFiles(unsigned seed, const std::string& name, const std::string& without = "")
{
    const std::string dir = std::string(QUV_TEST_OUTPUT) + "/" +
                            ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" + name;
    const std::string command = "rm -rf " + dir + " && mkdir -p " + dir + " && " + QUVGEN_PATH + " random " +
                                std::to_string(seed) + " --files " + dir +
                                (without.empty() ? "" : " --without " + without) + " 2>/dev/null";
    return runCommand(command).status == 0 ? dir : "";
}

std::vector<std::string> sourcesOf(const std::string& dir)
{
    const std::string project = readFile(dir + "/r.prj");
    if (project.empty())
        return {"r"};
    std::vector<std::string> names;
    std::istringstream lines(project);
    std::string line;
    while (std::getline(lines, line))
        if (line.rfind("File ", 0) == 0)
            names.push_back(line.substr(line.find('=') + 1, line.size() - line.find('=') - 3));
    return names;
}

// Translates the program in DIR as scripts/oracle does, builds it with the
// options our cl.exe passes and the run-time library, and runs it with
// standard input at its end; returns what it printed, or a line that says
// which step failed.
std::string buildAndRun(const std::string& dir, const std::string& library)
{
    const bool project = !readFile(dir + "/r.prj").empty();
    const RunResult translated = project ? runCommand("cd " + dir + " && " + QUVC_PATH + " makefile r.prj 2>&1")
                                          : runQuvdump("translate " + dir + "/r.e");
    if (!diagLines(translated.out).empty() || translated.status != 0)
        return "<translation failed>\n" + translated.out;
    std::string sources;
    for (const std::string& s : sourcesOf(dir))
        sources += " " + s + ".cpp";
    const RunResult built =
        runCommand("cd " + dir + " && g++ -std=gnu++17 -pthread -DWIN32 -DNDEBUG -D_CONSOLE -D_MBCS -I " +
                   QUV_RUNTIME_DIR + sources + " " + library + " -o r 2>&1");
    if (built.status != 0)
        return "<build failed>\n" + built.out.substr(0, built.out.find("error:") + 200);
    const RunResult ran = runCommand("cd " + dir + " && timeout 60 ./r </dev/null 2>/dev/null");
    return ran.status == 0 ? ran.out : "<exit status " + std::to_string(ran.status) + ">\n" + ran.out;
}

// The run-time library, compiled once into the test's folder.
std::string runtimeLibrary()
{
    const std::string object = std::string(QUV_TEST_OUTPUT) + "/quvfuncs-" +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".o";
    const RunResult compiled = runCommand("g++ -std=gnu++17 -O2 -pthread -c -I " + std::string(QUV_RUNTIME_DIR) + " " +
                                          QUV_RUNTIME_DIR + "/quvfuncs.cpp -o " + object + " 2>&1");
    EXPECT_EQ(compiled.status, 0) << compiled.out;
    return object;
}

// The generator's outputs end to end: a few programs, among them a project
// with a %DProg source, an agent whose package hides a global's name, the
// input read at its end, a file used from a nested procedure, a NewDec of a
// global's name, Float sums that hold in float only, leading-zero literals and
// the ends of the Int range, each print exactly what quvgen says they print.
// Seed 1056's agent package procedure calls a procedure of the program right
// after a process with a loop counter was written: its actual reads only
// names that procedure reaches.
TEST(RandomPrograms, PrintTheOutputWrittenBesideThem)
{
    const unsigned seeds[] = {6, 3, 28, 1056};
    const std::string library = runtimeLibrary();
    std::vector<std::string> dirs;
    std::vector<std::future<std::string>> runs;
    for (unsigned seed : seeds) {
        dirs.push_back(generateFiles(seed, std::to_string(seed)));
        ASSERT_NE(dirs.back(), "") << seed;
        runs.push_back(std::async(std::launch::async, buildAndRun, dirs.back(), library));
    }
    std::string all;
    for (std::size_t i = 0; i < dirs.size(); ++i) {
        const std::string expected = readFile(dirs[i] + "/r.expected");
        EXPECT_EQ(runs[i].get(), expected) << "seed " << seeds[i] << ": " << dirs[i];
        all += readFile(dirs[i] + "/r.e") + readFile(dirs[i] + "/r1.e");
    }
    for (const char* piece :
         {"%DProg", "%Father", "nodir/", "* 10.0 = ", "Ungetchar", "NewDec", "= 0.3", "-2147483648", "02147483647"})
        EXPECT_NE(all.find(piece), std::string::npos) << piece;
}

// A program without some of its marked pieces is written from the same draws,
// with the output it then prints; where that output cannot be told (a
// variable's setting left out before it is printed) quvgen says so.
TEST(RandomPrograms, LeaveOutMarkedPiecesWithTheirOutput)
{
    const unsigned seed = 5;
    const std::string full = generateFiles(seed, "full");
    ASSERT_NE(full, "");
    const std::string text = readFile(full + "/r.e"), output = readFile(full + "/r.expected");
    EXPECT_EQ(text.find_first_of("\1\2\3"), std::string::npos);
    EXPECT_EQ(readFile(generateFiles(seed, "again") + "/r.e"), text);
    std::istringstream marks(readFile(full + "/r.marks"));
    int untold = 0;
    std::string changed;  // a program whose output changed
    // The first marks, until one of each kind was met: every quvgen run counts.
    int tried = 0;
    for (std::string mark; std::getline(marks, mark) && tried < 60 && (untold == 0 || changed.empty()); ++tried) {
        const std::string dir = generateFiles(seed, "without-" + mark, mark);
        if (dir.empty()) {
            ++untold;
            continue;
        }
        EXPECT_LT(readFile(dir + "/r.e").size(), text.size()) << mark;
        if (changed.empty() && readFile(dir + "/r.expected") != output)
            changed = dir;
    }
    EXPECT_GT(untold, 0);
    ASSERT_NE(changed, "");
    EXPECT_EQ(buildAndRun(changed, runtimeLibrary()), readFile(changed + "/r.expected")) << changed;
    EXPECT_EQ(runCommand(std::string(QUVGEN_PATH) + " random 5 --files " + full + " --without 3,x 2>/dev/null").status, 2);
    EXPECT_EQ(runCommand(std::string(QUVGEN_PATH) + " random 4 --files 2>/dev/null").status, 2);
}

TEST(Generator, ValidProgramTranslatesAndCompiles)
{
    for (long lines : {200L, 2000L, 2001L}) {
        const std::string dir = std::string(QUV_TEST_OUTPUT) + "/valid-" + std::to_string(lines);
        ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
        const std::string path = generate("valid", lines, "valid-" + std::to_string(lines) + "/valid.e");
        EXPECT_EQ(countLines(readFile(path)), lines);
        const RunResult translated = runQuvdump("translate " + path);
        EXPECT_EQ(translated.status, 0);
        EXPECT_EQ(diagLines(translated.out), "") << lines;
        if (lines != 200)
            continue;
        const std::string command = "g++ -std=gnu++17 -pthread -DWIN32 -DNDEBUG -D_CONSOLE -D_MBCS -fsyntax-only -I " +
                                    std::string(QUV_RUNTIME_DIR) + " " + dir + "/valid.cpp 2>&1";
        const RunResult compiled = runCommand(command);
        EXPECT_EQ(compiled.status, 0) << command << "\n" << compiled.out;
    }
}

TEST(Generator, CppFileCompiles)
{
    const std::string path = generate("cpp", 2000, "program.cpp");
    const std::string command = "g++ -fsyntax-only -Wall -Werror " + path + " 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

} // namespace
