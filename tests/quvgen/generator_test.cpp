// The generator end to end: its programs must parse without a diagnostic,
// hold every construct, and survive the typesetting pass; its C++ files must
// compile, or the benchmark compares against nothing. Its valid and random
// programs must pass the walker too, and their C++ must compile.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

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
