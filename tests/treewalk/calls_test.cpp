// Calls, built-ins, process starts, types and packages from a source through
// "quvdump translate": the walker's own choices (which node a use needs, what
// it leaves out, which checks it makes), not the emitters' texts.
#include <gtest/gtest.h>

#include <chrono>

#include "tool_run.hpp"
#include "walk_helpers.hpp"

namespace {

// A program with shared variables a, b, i, s, t, a procedure two(x, y), the
// processes src (output channel o of Integer) and dst (input channel c of
// `element`), the given packages, and a main body with the control variables
// c and d, the file f and the statements given.
std::string program(const std::string& statements, const std::string& packages = "",
                    const std::string& element = "Int", const std::string& types = "")
{
    return "%Prog p == [ ] [ " + types + " %Var [ a, b, i : Int; s : String; t : Bool ] "
           "%Proc [ two(%Inp/ x, y : Int) == [ %Stm [ LB = r => $OLB = RETURN ] ] ] "
           "%Pros [ src(%Chn/ o(*, k : NM) : Int) == [ %Stm [ LB = s => $OLB = STOP ] ]; "
           "dst(%Chn/ c(k : NM, *) : " + element + ") == [ %Stm [ LB = s => $OLB = STOP ] ] ] " + packages +
           " [ %Loc [ c, d : NM; f : Stream ] %Stm [ " + statements + " LB = e => $OLB = RETURN ] ] ].";
}

const std::string kStart = "LB = p => || [ c(%Chn/ data(d, *) | o(d, *)); d(%Chn/ data(*, c) | c(*, c)) ];";
const std::string kBind = "LB = b => $O c == src ^ $O d == dst ^ $OLB = NEXT;";

TEST(CallsTest, WalkerChecksAndChoices)
{
    struct Row {
        const char* what;
        std::string source;
        std::string diagLines;
        std::string present = "";  // C++ that must be generated
        std::string absent = "";   // and C++ that must not
    };
    const std::vector<Row> rows = {
        {"a variable read twice is read once", program("LB = r => Read(a, b, a);"), "",
         "std::cin >> _a >> _b;"},
        {"an expression written twice is written twice", program("LB = w => Write(a, a);"), "", "<< _a << _a"},
        // Another block than the callee's: the frame is no local one.
        {"a call from the main body", program("LB = c => two(%Inp/ 1 | x; %Inp/ 2 | y);"), "",
         "_proc_two_0(NULL,1,2);"},
        {"a procedure nested in the main body gets the main frame",
         "%Prog p == [ ] [ [ %Proc [ h( ) == [ %Stm [ LB = r => $OLB = RETURN ] ] ] "
         "%Stm [ LB = c => h( ); LB = e => $OLB = RETURN ] ] ].",
         "", "(&local);"},
        {"two actuals for one formal", program("LB = c => two(%Inp/ 1 | x; %Inp/ 2 | x);"),
         "diag 3 15 1:361 constant1\n", "", "_proc_two_0("},
        {"a variable called as a procedure", program("LB = c => i(%Inp/ 1 | x);"),
         "diag 3 13 1:334 procCall\n", "", "_i("},
        {"a process called as a procedure", program("LB = c => src( );"), "diag 3 13 1:334 procCall\n", "",
         "src("},
        {"feof into an Integer", program("LB = c => Feof(f, i);"), "diag 3 10 1:342 variable\n"},
        {"fopen with an Integer name", program("LB = c => Fopen(f, 1);"), "diag 3 10 1:343 constant1\n"},
        {"itoc of a String", program("LB = c => Itoc(s, s);"), "diag 3 10 1:339 variable\n"},
        {"strlen of an Integer", program("LB = c => Strlen(i, 1);"), "diag 3 10 1:344 constant1\n"},
        // The parser leaves out what a syntax error took; the walk passes the gap by.
        {"fread without a variable", program("LB = c => Fread(f);"), "diag 2 7 1:341 proCall\n"},
        {"ungetc of a literal", program("LB = c => Ungetc(f, \"x\");"), "diag 2 7 1:344 variable1\n"},
        {"a value call runs before its value is taken",
         program("LB = c => $O i = ? a + 1 : two(%Inp/ 1 | x; %Inp/ 2 | y) ^ $OLB = NEXT;"), "",
         "(_proc_two_0(NULL,1,2),(_a + 1))"},
        // The channel element types are compared only where the equations
        // tell which process each control starts.
        {"channel element types of bound controls", program(kBind + kStart, "", "String"),
         "diag 3 15 1:444 actualFormalPair\n"},
        {"channel element types of unbound controls", program(kStart, "", "String"), ""},
        {"matching channel element types", program(kBind + kStart), ""},
        // Controls that nothing binds are reported at their starts, after the walk.
        {"a timer interval", program("LB = p => || [ SetTimer(500) c( ); d( ) ];"),
         "diag 3 15 1:353 prosCall\ndiag 3 15 1:359 prosCall\n", "c_ip.timer_interval = 500;"},
        {"a timer interval out of range", program("LB = p => || [ SetTimer(4294967296) c( ); d( ) ];"),
         "diag 3 15 1:348 prosCall\ndiag 3 15 1:360 prosCall\ndiag 3 15 1:366 prosCall\n",
         "c_ip.timer_interval = 0;"},
        {"an array size out of range", program("", "", "Int", "%Type [ Big = Array(Int; 2147483648) ]"),
         "diag 3 15 1:43 type\n"},
        {"a package that is its own father", program("", "%Pack [ k : %Father [ k ] ]"),
         "diag 3 15 1:305 declFather\n", "class _class_k\n", "public _class_k"},
        {"a father of another kind", program("", "%Pack [ k : %Father [ a ] ]"), "diag 3 13 1:305 declFather\n",
         "class _class_k\n", "public _class_a"},
        // The later lookup in top goes through mid to the base that was replaced.
        {"a redeclared father",
         program("", "%Pack [ base : ]; %Pack [ mid : %Father [ base ] ]; %Pack [ base : ]; "
                     "%Pack [ top : %Father [ mid ] %Proc [ g( ) == [ %Stm [ LB = r => $O zz = 1 ^ $OLB = RETURN ] ] ] ]"),
         "diag 3 12 1:343 defName\ndiag 3 11 1:421 variable\n", "class _class_top: public _class_mid"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Translation t = translate("t", row.source);
        EXPECT_EQ(t.diagLines, row.diagLines);
        EXPECT_FALSE(t.cpp.empty());
        const std::string all = t.cpp + t.proto;
        if (!row.present.empty()) {
            EXPECT_NE(all.find(row.present), std::string::npos) << all;
        }
        if (!row.absent.empty()) {
            EXPECT_EQ(all.find(row.absent), std::string::npos) << all;
        }
    }
}

}  // namespace

namespace {

// A main body with the shared variable x and the control variables c and d,
// whose %stm part holds `statements` and then a returning one; `types` stand
// before the variables, `units` after them.
std::string body(const std::string& statements, const std::string& types = "", const std::string& units = "")
{
    return "(PERCENT_PRO IDENT:p (MAIN_BLOCK " + types + " (PERCENT_VAR (SHARE_DECL INT IDENT:x)) " + units +
           " (PROC_DECL MAIN_PROBODY (PERCENT_LOC (LOCAL_DECL NM IDENT:c) (LOCAL_DECL NM IDENT:d)) (PERCENT_STM " +
           statements + " (ATOM_STAT (LABEL_DECL IDENT:e) (ActionItem RETURN))))))";
}

std::string atom(const std::string& action)
{
    return "(ATOM_STAT (LABEL_DECL IDENT:a) " + action + ")";
}

TEST(CallsTest, WalkerChoosesByTheTreesShape)
{
    struct Row {
        const char* what;
        std::string tree;
        std::vector<Diag> diags;
        std::string present;
        std::string absent = "";
    };
    const std::vector<Row> rows = {
        {"a write without items", body(atom("(WRITELN)")), {{2, 7, 21, 6, "procCall"}}, "//_l_a :", "std::cout"},
        // The walk goes on after the node at hand, the literal, whose siblings
        // end the start's children: the second start is not reached.
        {"a start whose first child is neither a timer nor a control",
         body(atom("(PARALLEL (ProCall STRING_LITERAL:s) (ProCall IDENT:d))")), {{2, 7, 22, 7, "prosCall"}},
         "//_l_a :\n{\n}", "_ip"},
        // The star after the channel makes the first form; a name there the
        // second, which then needs its star after the peer.
        {"a channel actual with no star",
         body(atom("(PARALLEL (ProCall IDENT:c (PERCENT_CHN IDENT:k IDENT:d IDENT:o)) (ProCall IDENT:d))")),
         {{2, 6, 26, 9, "actualFormalPair"}, {3, 15, 23, 8, "prosCall"}}, "d_ip"},
        {"a channel actual of neither form",
         body(atom("(PARALLEL (ProCall IDENT:c (PERCENT_CHN IDENT:k INT_LITERAL:1 IDENT:o)) (ProCall IDENT:d))")),
         {{2, 7, 25, 9, "actualFormalPair"}, {3, 15, 23, 8, "prosCall"}, {3, 15, 29, 8, "prosCall"}}, "d_ip"},
        {"an array without a size", body("", "(PERCENT_TYPE (TYPE_DECL IDENT:T (ARRAY INT)))"),
         {{2, 7, 8, 6, "type"}}, "main"},
        // The agent's block stays open, so the program's cannot be left.
        {"an agent that ends before its process", body("", "", "(PERCENT_AGT (AGENT_DECL IDENT:g))"),
         {{2, 7, 10, 5, "defName"}, {5, 20, 25, 7, "forwardLabel"}}, "", "class"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WalkResult result = walkTree(buildTree(row.tree));
        EXPECT_EQ(result.diags, row.diags);
        EXPECT_NE(result.cpp.find(row.present), std::string::npos) << result.cpp;
        if (!row.absent.empty()) {
            EXPECT_EQ(result.cpp.find(row.absent), std::string::npos) << result.cpp;
        }
    }
}

}  // namespace

namespace {

// An emitter that ends the walk by an internal failure frees what the walker
// made for it and for the constructs around it, whatever it had built so far
// (the leak checker of the test build tells).
TEST(CallsTest, AnEmitterThatThrowsLeavesNothingBehind)
{
    // f(a : Int), called with an actual for no formal z: the call fails.
    const std::string procedure = "(PERCENT_PROC (PROC_DECL_HEADER IDENT:f (INP_DECL INT IDENT:a)) "
                                  "(PROC_DECL IDENT:f (PERCENT_STM (ATOM_STAT (LABEL_DECL IDENT:r) (ActionItem RETURN)))))";
    const std::string failingCall = "(ProCall IDENT:f (PERCENT_INP (PLUS IDENT:x INT_LITERAL:1) IDENT:z))";
    const std::string failingValue = "(COLON IDENT:x " + failingCall + ")";
    const std::string noFormal = "paramorder=-1 in function createProcCall";
    struct Row {
        const char* what;
        std::string tree;
        std::string thrown;
    };
    const std::vector<Row> rows = {
        {"a case statement holding its condition and statements",
         body("(CASE_STAT (LABEL_DECL IDENT:c) (DEFAULT (IMPLY (GT IDENT:x INT_LITERAL:0) IDENT:d) IDENT:d) "
              "(ATOM_STAT (LABEL_DECL IDENT:z) (ActionItem EXIT)))"),
         "can't find in the case condition with ref label =z"},
        {"a call holding its actuals", body(atom(failingCall), "", procedure), noFormal},
        {"an if statement holding its condition",
         body("(IF_STAT (LABEL_DECL IDENT:i) (GT IDENT:x INT_LITERAL:0) " + failingCall + ")", "", procedure),
         noFormal},
        {"an action holding the equations before",
         body(atom("(ActionItem (ASSIGN IDENT:x INT_LITERAL:1) (ASSIGN IDENT:x " + failingValue + "))"), "",
              procedure),
         noFormal},
        {"a parallel statement holding the starts before",
         body(atom("(PARALLEL (ProCall IDENT:d (PERCENT_INP INT_LITERAL:1 IDENT:n)) "
                   "(ProCall IDENT:c (PERCENT_INP " + failingValue + " IDENT:n)))"),
              "", procedure),
         noFormal},
        {"a loop holding the statements before",
         body("(LOOP_STAT (LABEL_DECL IDENT:l) (ATOM_STAT (LABEL_DECL IDENT:s) (ActionItem NEXT)) " +
                  atom(failingCall) + ")",
              "", procedure),
         noFormal},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WalkResult result = walkTree(buildTree(row.tree));
        EXPECT_NE(result.thrown.find(row.thrown), std::string::npos) << result.thrown;
    }
}

}  // namespace

namespace {

// Each level of parentheses is tried once as an expression, not once per
// enclosing level: 100 levels walk in moments rather than never.
TEST(CallsTest, NestedParenthesesAreTriedOncePerLevel)
{
    const std::string open(100, '('), close(100, ')');
    const auto start = std::chrono::steady_clock::now();
    Translation t = translate("deep", program("LB = c => $O i = " + open + "1" + close + " ^ $OLB = NEXT;"));
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(t.diagLines, "");
    EXPECT_NE(t.cpp.find("((((1))))"), std::string::npos);
    EXPECT_LT(took.count(), 30.0);
}

}  // namespace
