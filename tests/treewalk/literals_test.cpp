// Integer and Float literals mean in the translation what they mean in the
// source: an integer literal is decimal whatever its leading zeros, a Float
// literal computes as a Float, and an integer literal that no Integer holds
// is reported at the literal.
#include <gtest/gtest.h>

#include "tool_run.hpp"
#include "walk_helpers.hpp"

namespace {

const std::string kRunData = std::string(QUV_TEST_DATA) + "/treewalk/run/";

// Each literal in every place its text reaches C++: expressions, constants and
// negative constants, array sizes and indexes, actuals of a procedure and of
// a process, conditional expressions, equations and output. g++ builds the
// programs without a warning, also for the Float literals past float's range.
TEST(LiteralsTest, ProgramsComputeWithTheLiteralsTheySay)
{
    struct Row {
        const char* name;
        std::string out;
        const char* written;  // a piece of the typeset text, whose literals stay as written
    };
    const std::vector<Row> rows = {
        // 010 is ten, 09 nine, 000 zero, and a size of 010 gives ten elements;
        // the least Integer is written as its negated literal.
        {"integer_literals", "11 -10 9 0\n"
                             "10 -10 7 10 10 -2147483648 -2147483648 0 2147483647\n"
                             "actual 11\n"
                             "process 12\n"
                             "10 text 10 2 3\n",
         "Writeln(010 + 1,\" \",-010,\" \",09"},
        // A Float equals the literal it was set from, also through a constant,
        // a negative constant, a procedure's and a process's actual and a
        // conditional expression; literals alone compute in float precision;
        // an Integer given a Float literal truncates it. A literal past the
        // range of float is its infinity and one below it zero, stored and compared.
        {"float_literals", "1 1 1 0\n"
                           "0 0 0\n"
                           "1 1\n"
                           "3.5 3 -5 1e-06\n"
                           "2 -2 2 -2 1 1\n"
                           "1 1 inf 1 0 1\n"
                           "1 1\n",
         "Writeln(16777217.0 - 16777216.0,"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Translation t = translate(row.name, readFile(kRunData + row.name + ".e"));
        EXPECT_EQ(t.diagLines, "");
        ProgramRun run = buildAndRun(t, row.name);
        ASSERT_EQ(run.compilerOutput, "");
        EXPECT_EQ(readFile(t.folder + "/" + row.name + ".build"), "");
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out, row.out);
        EXPECT_NE(t.typeset.find(row.written), std::string::npos) << t.typeset;
    }
}

// An integer literal past the range of Integer is reported at the literal,
// wherever it stands; only the negated least Integer is one of its values.
TEST(LiteralsTest, IntegerLiteralsOutOfRangeAreRefusedAtTheLiteral)
{
    struct Row {
        const char* what;
        std::string globals;     // the items of %Glob
        std::string statements;  // the main body's, each ended by ";"
        std::string refused;     // the literal reported, "" for none
        std::string present;     // C++ the translation holds
    };
    const std::vector<Row> rows = {
        {"a constant of 2^32 + 3", "Count = 4294967299 : Int", "", "4294967299", ""},
        {"the least Integer as a negative constant", "least = -2147483648 : Int", "", "",
         "const int _least = -2147483648;"},
        {"one below the least Integer", "below = -2147483649 : Int", "", "2147483649", ""},
        {"the greatest Integer with leading zeros", "most = 0002147483647 : Int", "", "",
         "const int _most = 2147483647;"},
        {"a Float constant given a large integer literal", "x = 4294967299 : Float", "", "4294967299", ""},
        // An int holds the least Integer; C++'s long would hold its magnitude.
        {"the least Integer negated in an expression", "", "LB = a => $O i = -2147483648 ^ $OLB = NEXT;", "",
         "= (-2147483647 - 1);"},
        {"the least Integer's magnitude alone", "", "LB = a => Writeln(2147483648);", "2147483648", ""},
        {"the least Integer's magnitude minus one", "", "LB = a => $O i = 2147483648 - 1 ^ $OLB = NEXT;",
         "2147483648", ""},
        {"the least Integer's magnitude in parentheses", "", "LB = a => $O i = -(2147483648) ^ $OLB = NEXT;",
         "2147483648", ""},
        {"a large literal in a Float expression", "", "LB = a => $O f = 4294967299 * 1.0 ^ $OLB = NEXT;",
         "4294967299", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const std::string source = "%Prog p == [ ] [ %Glob [ " + (row.globals.empty() ? "z = 0 : Int" : row.globals) +
                                   " ] [ %Loc [ i : Int; f : Float ] %Stm [ " + row.statements +
                                   " LB = e => $OLB = RETURN ] ] ].";
        Translation t = translate("t", source);
        if (row.refused.empty()) {
            EXPECT_EQ(t.diagLines, "");
            EXPECT_NE(t.cpp.find(row.present), std::string::npos) << t.cpp;
            continue;
        }
        const std::string rule = row.globals.find("= -") != std::string::npos ? "constant" : "constant1";
        const size_t at = source.find(row.refused);
        EXPECT_EQ(t.diagLines, "diag 3 15 1:" + std::to_string(at + 1) + " " + rule + "\n");
        EXPECT_NE(t.err.find("the integer literal " + row.refused + " is out of the range of Integer"),
                  std::string::npos)
            << t.err;
    }
}

}  // namespace
