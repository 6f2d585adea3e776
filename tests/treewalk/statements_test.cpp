// Bodies of procedures and the main program, from a source through
// "quvdump translate": programs that compile and run, the diagnostics of
// conditions, operators, equations and names, and the walker's own choices
// on trees the parser builds rarely or not at all.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "tool_run.hpp"
#include "walk_helpers.hpp"

namespace {

const std::string kRunData = std::string(QUV_TEST_DATA) + "/treewalk/run/";

// Whole programs print what they computed: a labelled %alg counting loop with
// a select; a %stm body with case, loop, guarded and unguarded waits, if and
// succession; equations that swap values, a sequence of equations and a new
// name used by later statements; processes started by a parallel statement
// that talk over a synchronous and over an asynchronous channel, with a
// producer ahead of its consumer and one behind it, and one that ends while
// its channel still holds values; a file written and read back through the
// built-ins; records, arrays, a union, a package, calls with value and
// reference actuals and a value call; selects that wait on two and on three
// channels. The programs whose processes talk run again under the thread
// sanitizer, which fails a run on any data race, and the one that leaves
// values behind under the address sanitizer, which fails it on a leak.
TEST(StatementsTest, TranslatedProgramsRun)
{
    const std::string races = "-fsanitize=thread -g", leaks = "-fsanitize=address -g";
    struct Row {
        const char* name;
        std::string out;
        std::vector<std::string> checks = {};  // further builds with these options, the same output
    };
    const std::vector<Row> rows = {
        // Each round adds the old i: 0+1+2+3+4; s stays small, so the second alternative is picked.
        {"counting", "5 10 2\n"},
        // n counts 3, 2, 1 through the case; the wait counts k to 4; the guarded wait never runs.
        {"statements", "0 4 1 1 1 1 40\n"},
        // Swapped, then a sequence whose equations both see the old values; q is declared on the way.
        {"swap", "1 7 2 1 16\n"},
        {"producer_consumer", "got 10\ngot 20\ngot 30\ndone\n", {races}},
        {"producer_consumer_async", "got 10\ngot 20\ngot 30\ndone\n", {races}},
        // 1..3000 each time: the consumer works between its receives, then the producer between its sends.
        {"uneven_pace", "ahead 4501500 1\nbehind 4501500 1\n", {races}},
        // The consumer takes three of the 5,000 values; the rest end with the channel.
        {"queued_at_end", "got queued value number 1\ngot queued value number 2\ngot queued value number 3\ndone",
         {races, leaks}},
        // A select over two channels takes each of the 600 values once: 1..300 and 1001..1300.
        {"select_channels", "390300 300 300\n", {races}},
        // Over three asynchronous channels: 1..300, 1001..1300 and 2001..2300.
        {"select_three_async", "1035450 300 300 300\n", {races}},
        // Fread reads a once although it is named twice, so b gets 30 and c the 7 after "word".
        {"files", "word 12 30 7 49\n"},
        // total = 1 + 3*4, then the value call adds 12 again before n takes total + 1.
        {"shapes", "25 0149 18 7 26\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Translation t = translate(row.name, readFile(kRunData + row.name + ".e"));
        EXPECT_EQ(t.diagLines, "");
        std::vector<std::string> builds = {""};
        builds.insert(builds.end(), row.checks.begin(), row.checks.end());
        for (const std::string& options : builds) {
            SCOPED_TRACE(options);
            ProgramRun run = buildAndRun(t, row.name, options);
            ASSERT_EQ(run.compilerOutput, "");
            EXPECT_EQ(run.status, 0);
            EXPECT_EQ(run.out, row.out);
        }
    }
}

// Four processes write 3,000 numbered lines each side by side, every line in
// several pieces: each line arrives whole, each process's lines in order, and
// the main body's last text, without a line end, is not lost at the end.
TEST(StatementsTest, ProcessesSideBySideWriteWholeLines)
{
    Translation t = translate("lines", readFile(kRunData + "lines.e"));
    EXPECT_EQ(t.diagLines, "");
    ProgramRun run = buildAndRun(t, "lines");
    ASSERT_EQ(run.compilerOutput, "");
    EXPECT_EQ(run.status, 0);
    std::istringstream in(run.out);
    std::string line;
    std::vector<int> next(5, 1);
    int lines = 0;
    while (std::getline(in, line) && line.rfind("process ", 0) == 0) {
        int k = 0, i = 0, n = 0;
        char rest[16] = "";
        ASSERT_EQ(std::sscanf(line.c_str(), "process %d line %d of %d %15[a-z ]", &k, &i, &n, rest), 4) << line;
        ASSERT_EQ(std::string(rest), "ends here") << line;
        ASSERT_TRUE(k >= 1 && k <= 4) << line;
        ASSERT_EQ(i, next[k]) << "process " << k << "'s lines out of order";
        ++next[k];
        ++lines;
    }
    EXPECT_EQ(lines, 4 * 3000);
    EXPECT_EQ(line, "all 4 done");
    EXPECT_TRUE(in.eof());
}

// A program with shared variables, a procedure f, and the main body's statements.
std::string inMain(const std::string& vars, const std::string& statements, const std::string& more = "")
{
    return "%Prog p == [ ] [ %Var [ " + vars + " ] %Proc [ f( ) == [ %Stm [ LB = r => $OLB = RETURN ] ] ] " +
           more + " [ %Stm [ " + statements + " LB = e => $OLB = RETURN ] ] ].";
}

// A process with an output channel o and an input channel c of Integer, and a local.
std::string inProcess(const std::string& local, const std::string& statements)
{
    return "%Prog p == [ ] [ %Pros [ q(%Chn/ o(*, j : NM) : Int, c(k : NM, *) : Int) == [ %Loc [ " + local +
           " ] %Stm [ " + statements + " LB = e => $OLB = STOP ] ] ] [ %Stm [ LB = m => $OLB = RETURN ] ] ].";
}

TEST(StatementsTest, DiagnosticsAreExactlyThoseOfTheChecks)
{
    struct Row {
        const char* what;
        std::string source;
        std::string diagLines;
        std::string absent = "";  // C++ that must not be generated
    };
    const std::vector<Row> rows = {
        {"well-typed operators", inMain("i : Int; b : Bool; x : Float; s : String",
            "LB = a => $O i = (i + 1 - 2 * 3 / 4 Mod 5) - -i ^ $O x = x / 2.5 ^ $O s = s + \"t\" ^ "
            "$O b = ((i = 1) $V ~(i /= 2)) $C (i =< 3) $C (i >= 4) $C (i < 5) $C (i > 6) ^ "
            "$O i = If b Then i Else 0 ^ $OLB = NEXT;"), ""},
        {"condition of type Integer", inMain("i : Int", "LB = a ^ i + 1 => ( $O i = 1 ^ $OLB = NEXT );"),
         "diag 3 10 1:113 constant1\n"},
        {"operands that do not match", inMain("i : Int", "LB = a => $O i = i + \"t\" ^ $OLB = NEXT;"),
         "diag 3 9 1:121 constant1\n"},
        {"undeclared name, used twice", inMain("i : Int", "LB = a => $O i = z + z ^ $OLB = NEXT;"),
         "diag 3 11 1:117 variable\n"},
        // The name is declared where first used, with the unknown type; the
        // index is reported for its type and then by the index's typing rule.
        {"index not an Integer", inMain("i : Int", "LB = a => $O z[1.5] = 0 ^ $OLB = NEXT;"),
         "diag 3 11 1:113 variable\ndiag 3 10 1:115 constant1\ndiag 3 9 1:115 constant1\n"},
        // The trial of a parenthesised expression resolves nothing: one report, not two.
        {"procedure in parentheses", inMain("i : Int", "LB = a => $O i = (f) ^ $OLB = NEXT;"),
         "diag 3 13 1:118 variable\n"},
        // A name of another class is reported once and stands for nothing.
        {"procedure assigned to", inMain("i : Int", "LB = a => $O f = 1 ^ $OLB = NEXT;"),
         "diag 3 13 1:113 variable\n", "_f = "},
        {"procedure as an operand", inMain("i : Int", "LB = a => $O i = f + 1 ^ $OLB = NEXT;"),
         "diag 3 13 1:117 variable\n"},
        {"message of another type", inProcess("t : String", "LB = a => $O o ! t ^ $OLB = NEXT;"),
         "diag 3 9 1:123 variable\n"},
        {"channel tests without operands", inProcess("t : Int", "LB = a ^ o! $C c? => ( $O t = 1 ^ $OLB = NEXT );"),
         ""},
        {"channel tests with operands of their types",
         inProcess("t : Int", "LB = a ^ o ! t $C c ? t => ( $O c ? t ^ $O o ! t + 1 ^ $OLB = NEXT );"), ""},
        {"receive into another type", inProcess("t : String", "LB = a => $O c ? t ^ $OLB = NEXT;"),
         "diag 3 9 1:123 variable\n"},
        // A channel of the other direction is used as it is, after its report.
        {"input channel sent to", inProcess("t : Int", "LB = a => $O c ! t ^ $OLB = NEXT;"),
         "diag 3 13 1:116 assignmentEquation\ndiag 3 9 1:120 variable\n"},
        {"process started and deleted", inProcess("k : Nm", "LB = a => $O k == q ^ $O Delete(k) ^ $OLB = NEXT;"),
         ""},
        {"process started by a variable of another kind",
         inProcess("k : Int", "LB = a => $O k == q ^ $OLB = NEXT;"),
         "diag 3 13 1:116 assignmentEquation\ndiag 3 9 1:121 assignmentEquation\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Translation t = translate("t", row.source);
        EXPECT_EQ(t.diagLines, row.diagLines);
        EXPECT_FALSE(t.cpp.empty());
        if (!row.absent.empty()) {
            EXPECT_EQ(t.cpp.find(row.absent), std::string::npos) << t.cpp;
        }
    }
}

// The same variable gets, at each use, the path from the block being walked
// to the frame that holds it.
TEST(StatementsTest, VariablesAreReachedFromTheBlockBeingWalked)
{
    Translation t = translate("frame", "%Prog frame == [ ] [ [ %Loc [ i : Int ] %Proc [ g( ) == [ %Loc [ j : Int ] "
                                       "%Proc [ h( ) == [ %Stm [ LB = t => $O i = j + i ^ $OLB = RETURN ] ] ] "
                                       "%Stm [ LB = s => $O i = i + 1 ^ $O j = i ^ $OLB = RETURN ] ] ] "
                                       "%Stm [ LB = m => $O i = 1 ^ $OLB = RETURN ] ] ].");
    EXPECT_EQ(t.diagLines, "");
    for (const char* piece : {"(*(father->_p__j) + *(father->father->_p__i))", "(*(father->_p__i) + 1)",
                              "\n_j = _next_temp_3;", "\n_i = _next_temp_4;"})
        EXPECT_NE(t.cpp.find(piece), std::string::npos) << piece;
    const std::string command =
        "g++ -std=gnu++17 -fsyntax-only -I " + std::string(QUV_RUNTIME_DIR) + " " + t.folder + "/frame.cpp";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

// Each forward label of an %alg part reaches the jump it names; the walk of
// the elements ends silently at a node that is none.
TEST(StatementsTest, ForwardLabelsOfAnAlgPartBecomeJumps)
{
    WalkResult result = walkTree(buildTree(
        "(PERCENT_PRO IDENT:p (MAIN_BLOCK (PROC_DECL MAIN_PROBODY (PERCENT_ALG "
        "(IMPLY (LABEL_DECL IDENT:a) (ActionItem NEXT)) (IMPLY (LABEL_DECL IDENT:b) (ActionItem IDENT:a)) "
        "(IMPLY (LABEL_DECL IDENT:c) (ActionItem STOP)) (IMPLY (LABEL_DECL IDENT:d) (ActionItem RETURN)) "
        "INT_LITERAL:9 (IMPLY (LABEL_DECL IDENT:z) (ActionItem NEXT))))))"));
    EXPECT_TRUE(result.diags.empty());
    const std::string& cpp = result.cpp;
    const auto at = [&](const std::string& label) { return cpp.find("_l_" + label + " :"); };
    ASSERT_NE(at("d"), std::string::npos) << cpp;
    EXPECT_NE(cpp.find("goto _l_b;", at("a")), std::string::npos);
    EXPECT_LT(cpp.find("goto _l_a;", at("b")), at("c"));
    EXPECT_LT(cpp.find("return ;", at("c")), at("d"));
    EXPECT_NE(cpp.find("return ;", at("d")), std::string::npos);
    EXPECT_EQ(at("z"), std::string::npos);
}

// A main body with the shared variables x and y, whose %stm part holds
// `statements` and then a returning one. The statements' nodes are numbered
// from 14 on; the first statement's root stands at depth 5.
std::string body(const std::string& statements)
{
    return "(PERCENT_PRO IDENT:p (MAIN_BLOCK (PERCENT_VAR (SHARE_DECL INT IDENT:x) (SHARE_DECL INT IDENT:y)) "
           "(PROC_DECL MAIN_PROBODY (PERCENT_STM " +
           statements + " (ATOM_STAT (LABEL_DECL IDENT:e) (ActionItem RETURN))))))";
}

std::string atom(const std::string& action)
{
    return "(ATOM_STAT (LABEL_DECL IDENT:a) " + action + ")";
}

TEST(StatementsTest, WalkerChoosesByTheTreesShape)
{
    struct Row {
        const char* what;
        std::string tree;
        std::vector<Diag> diags;
        std::string present;
        std::string absent = "";
    };
    const std::vector<Row> rows = {
        {"minus with one operand", body(atom("(ActionItem (ASSIGN IDENT:x (MINUS IDENT:y)))")), {},
         "_next_temp_1 = (-_y);"},
        {"minus whose second operand is no expression",
         body(atom("(ActionItem (ASSIGN IDENT:x (MINUS IDENT:y LABEL_DECL)) (ASSIGN IDENT:y INT_LITERAL:1))")),
         {{2, 7, 21, 9, "variable"}}, "_y = _next_temp_1;", "_x ="},
        {"wait with a condition part", body("(WAIT_STAT (LABEL_DECL IDENT:w) (GT IDENT:x INT_LITERAL:0) "
                                            "(ASSIGN IDENT:x INT_LITERAL:1) DOLLA_U (GT IDENT:x INT_LITERAL:0))"),
         {}, "//_l_w :\nif ((_x > 0))\n{\ndo"},
        // An equality test and an assignment have the same tree: the equation is meant.
        {"wait whose first node reads as an equation", body("(WAIT_STAT (LABEL_DECL IDENT:w) "
                                            "(ASSIGN IDENT:x INT_LITERAL:1) DOLLA_U (GT IDENT:x INT_LITERAL:0))"),
         {}, "//_l_w :\ndo\n{\nint _next_temp_1;"},
        {"wait without its $U", body("(WAIT_STAT (LABEL_DECL IDENT:w) (ASSIGN IDENT:x INT_LITERAL:1) "
                                     "(GT IDENT:x INT_LITERAL:0))"),
         {{2, 6, 19, 7, "constant1"}}, "[&]()", "_l_w"},
        {"sequence of one equation", body(atom("(ActionItem (SEQ (ASSIGN IDENT:x INT_LITERAL:1)))")), {},
         "_x = _next_temp_1;"},
        {"sequence joined on the right",
         body(atom("(ActionItem (SEQ (SEMI (ASSIGN IDENT:x INT_LITERAL:1) (SEMI (ASSIGN IDENT:y INT_LITERAL:2) "
                   "(ASSIGN IDENT:x INT_LITERAL:3)))))")),
         {}, "_x = _next_temp_1;\n_y = _next_temp_2;\n_x = _next_temp_3;\n"},
        {"sequence joined on the left",
         body(atom("(ActionItem (SEQ (SEMI (SEMI (ASSIGN IDENT:x INT_LITERAL:1) (ASSIGN IDENT:y INT_LITERAL:2)) "
                   "(ASSIGN IDENT:x INT_LITERAL:3))))")),
         {}, "_x = _next_temp_1;\n_y = _next_temp_2;\n_x = _next_temp_3;\n"},
        // An operand that failed leaves an empty operand; a condition that
        // failed as a whole a guard that never holds, not an unguarded action.
        {"operand that failed", body("(IF_STAT (LABEL_DECL IDENT:i) (LT_ IDENT:x) "
                                     "(ActionItem (ASSIGN IDENT:y INT_LITERAL:1)))"),
         {{2, 7, 18, 7, "expression"}}, "if ((_x < ))"},
        {"condition that failed", body("(IF_STAT (LABEL_DECL IDENT:i) PARENS "
                                       "(ActionItem (ASSIGN IDENT:y INT_LITERAL:1)))"),
         {{2, 7, 17, 6, "variable"}}, "//_l_i :\nif (false)\n{\n"},
        {"case without goto conditions", body("(CASE_STAT (LABEL_DECL IDENT:c) (DEFAULT IDENT:d) "
                                              "(ATOM_STAT (LABEL_DECL IDENT:d) (ActionItem EXIT)))"),
         {{2, 7, 17, 6, "caseCondition"}, {2, 7, 17, 6, "caseCondition"}}, "[&]()", "_l_c"},
        {"forward label of no kind", body(atom("(ActionItem (ASSIGN IDENT:x INT_LITERAL:1) INT_LITERAL:2)")),
         {{2, 7, 20, 8, "constant1"}}, "//_l_e :", "_l_a"},
        // Built from the innermost access outwards. The undeclared name has the
        // unknown type, which no access form accepts.
        {"access chain", body(atom("(ActionItem (ASSIGN (DOT_VAR (BRACKETS (STAR IDENT:z) INT_LITERAL:1) IDENT:m) "
                                   "INT_LITERAL:2))")),
         {{3, 11, 22, 11, "variable"}, {3, 9, 22, 11, "variable"}, {3, 9, 23, 10, "constant1"},
          {3, 9, 24, 9, "constant1"}},
         "(*_z)[1]._f_m = _next_temp_1;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WalkResult result = walkTree(buildTree(row.tree));
        EXPECT_EQ(result.diags, row.diags);
        EXPECT_EQ(result.thrown, "");
        EXPECT_NE(result.cpp.find(row.present), std::string::npos) << result.cpp;
        if (!row.absent.empty()) {
            EXPECT_EQ(result.cpp.find(row.absent), std::string::npos) << result.cpp;
        }
    }
}

}  // namespace
