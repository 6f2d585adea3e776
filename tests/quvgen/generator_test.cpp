// The generator end to end: its programs must parse without a diagnostic,
// hold every construct, and survive the typesetting pass; its C++ files must
// compile, or the benchmark compares against nothing.
#include <gtest/gtest.h>

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

std::string diagnostics(const std::string& dump)
{
    std::istringstream lines(dump);
    std::string line;
    std::string found;
    while (std::getline(lines, line))
        if (line.rfind("diag ", 0) == 0)
            found += line + "\n";
    return found;
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
    ASSERT_EQ(diagnostics(tree.out), "");
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
    ASSERT_EQ(diagnostics(typeset.out), "");
    const std::string again = std::string(QUV_TEST_OUTPUT) + "/typeset.out.e";
    {
        std::ofstream out(again, std::ios::binary);
        out << typeset.out;
    }
    EXPECT_EQ(diagnostics(runQuvdump("tokens " + again).out), "");
    EXPECT_EQ(runQuvdump("parse " + again).out, "");
}

TEST(Generator, CppFileCompiles)
{
    const std::string path = generate("cpp", 2000, "program.cpp");
    const std::string command = "g++ -fsyntax-only -Wall -Werror " + path + " 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

} // namespace
