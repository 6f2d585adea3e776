// Statements, labels, equations and concurrent parts, parsed from whole programs.
#include <gtest/gtest.h>

#include "parse_helpers.hpp"

namespace {

// A main body holding `part`, an algorithmic or statement part.
std::string program(const std::string& part)
{
    return "%Prog p == [ ] [ [ " + part + " ] ] .";
}

// The tree `program` gives for a body part whose tree is `partTree`.
std::string programTree(const std::string& partTree)
{
    return "(PERCENT_PRO:%Prog IDENT:p (MAIN_BLOCK:MainBlock (PROC_DECL:ProcDeclaration MAIN_PROBODY:Main " +
           partTree + ")))";
}

// Details of every diagnostic of the last parse, in order.
std::vector<std::string> details()
{
    std::vector<std::string> out;
    for (const QUVException& ex : lastParseRecords()) out.push_back(ex.getDetails());
    return out;
}

struct TreeRow {
    std::string part;
    std::string tree;
};

void expectTrees(const std::vector<TreeRow>& rows)
{
    for (const TreeRow& row : rows) {
        ParseResult result = parseProgram(program(row.part));
        EXPECT_EQ(result.tree, programTree(row.tree)) << row.part;
        EXPECT_TRUE(result.diags.empty()) << row.part << "\n" << (result.diags.empty() ? Diag{} : result.diags[0]);
    }
}

const char* const kReturn = "(ActionItem:ActionItem RETURN:RETURN)";

TEST(ConditionalElementTest, ElementsOfAnAlgorithmicPart)
{
    expectTrees({
        {"%Alg [ LB = a => $OLB = RETURN ]",
         std::string("(PERCENT_ALG:%Alg (IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:a) ") + kReturn + "))"},
        {"%Alg [ LB = a ^ x => $O x = 1 ^ $OLB = b; LB = b => q( ); LB = c => $OLB = RETURN ]",
         "(PERCENT_ALG:%Alg (IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:a) IDENT:x "
         "(ActionItem:ActionItem (ASSIGN:= IDENT:x INT_LITERAL:1) IDENT:b)) "
         "(IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:b) (ProCall:ProCall IDENT:q)) "
         "(IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:c) (ActionItem:ActionItem RETURN:RETURN)))"},
    });
}

TEST(ConditionalElementTest, PlacesOfTheBuiltRoots)
{
    ParseResult result = parseProgram(program("%Alg [ LB1 = a =>\n  $O x = 1 ^ $OLB1 = Return ]"));
    EXPECT_EQ(result.dump.substr(result.dump.find("    PROC_DECL")),
              "    PROC_DECL \"ProcDeclaration\" 1:20\n"
              "      MAIN_PROBODY \"Main\" -1:-1\n"
              "      PERCENT_ALG \"%Alg\" 1:20\n"
              "        IMPLY \"=>\" 1:33\n"
              "          LABEL_DECL \"LABEL_DECL\" 1:27\n"
              "            IDENT \"a\" 1:33\n"
              "          ActionItem \"ActionItem\" 2:3\n"
              "            ASSIGN \"=\" 2:8\n"
              "              IDENT \"x\" 2:6\n"
              "              INT_LITERAL \"1\" 2:10\n"
              "            RETURN \"RETURN\" 2:22\n");
}

TEST(EquationTest, FormsOfAssignmentEquations)
{
    const std::string head = "%Stm [ LB = s => ";
    const std::string tail = " ^ $OLB = RETURN ]";
    const std::vector<TreeRow> rows = {
        {"$O c ? v", "(QUESTION:? IDENT:c IDENT:v)"},
        {"$O c ! x + 1", "(EXCLAMATION:! IDENT:c (PLUS:+ IDENT:x INT_LITERAL:1))"},
        {"$O a == b", "(EQUAL:== IDENT:a IDENT:b)"},
        {"$O r.f = 2", "(ASSIGN:= (DOT_VAR:DOT_VAR IDENT:r IDENT:f) INT_LITERAL:2)"},
        {"$O NewDec(n : int)", "(NEWDEC:NEWDEC IDENT:n INT:INT)"},
        {"$o newdec(n : Record(a : int))", "(NEWDEC:NEWDEC IDENT:n (RECORD:RECORD (FIELD_DECL:FieldDeclaration INT:INT IDENT:a)))"},
        {"$O DELETE(n)", "(DELETE:DELETE IDENT:n)"},
        {">> [ $O a = 1 ]", "(SEQ:>> (ASSIGN:= IDENT:a INT_LITERAL:1))"},
        {">> [ $O a = 1; $O b = 2 ^ $O c = 3 ]",
         "(SEQ:>> (SEMI:; (SEMI:; (ASSIGN:= IDENT:a INT_LITERAL:1) (ASSIGN:= IDENT:b INT_LITERAL:2)) "
         "(ASSIGN:= IDENT:c INT_LITERAL:3)))"},
    };
    for (const TreeRow& row : rows) {
        ParseResult result = parseProgram(program(head + row.part + tail));
        EXPECT_EQ(result.tree,
                  programTree("(PERCENT_STM:%Stm (ATOM_STAT:ATOM_STAT (LABEL_DECL:LABEL_DECL IDENT:s) "
                              "(ActionItem:ActionItem " + row.tree + " RETURN:RETURN)))"))
            << row.part;
        EXPECT_TRUE(result.diags.empty()) << row.part;
    }
}

TEST(EquationTest, DeclarationRootsStandAtTheirMarker)
{
    ParseResult result = parseProgram(program("%Stm [ LB = s => $O\nDelete(n) ^ $OLB = RETURN ]"));
    EXPECT_NE(result.dump.find("            DELETE \"DELETE\" 1:37\n"), std::string::npos) << result.dump;
}

TEST(StatementTest, TheSixStatementForms)
{
    expectTrees({
        // Conditional element with both branches ending alike.
        {"%Stm [ LB = s ^ x > 0 => ( $OLB = RETURN | $OLB = RETURN ) ]",
         "(PERCENT_STM:%Stm (IF_STAT:IF_STAT (LABEL_DECL:LABEL_DECL IDENT:s) (GT:> IDENT:x INT_LITERAL:0) "
         "(ActionItem:ActionItem RETURN:RETURN) (ActionItem:ActionItem RETURN:RETURN)))"},
        // Succession, loop and wait end with NEXT before the last statement.
        {"%Stm [ >> ( LB = a => $OLB = Next ); "
         "* [ LB = l ^ x => ( $OLB = l | $OLB = EXIT ) LB = m => $OLB = l ]; "
         "LB = w => $O ( $O x = 1 ^ ^ LB = w ) $U ( x $C y ^ $OLB = exit; "
         "LB = r => $OLB = RETURN ]",
         "(PERCENT_STM:%Stm (SEQ_STAT:SEQ_STAT (ATOM_STAT:ATOM_STAT (LABEL_DECL:LABEL_DECL IDENT:a) "
         "(ActionItem:ActionItem NEXT:NEXT))) "
         "(LOOP_STAT:LOOP_STAT (LABEL_DECL:LABEL_DECL IDENT:l) IDENT:x (ATOM_STAT:ATOM_STAT "
         "(LABEL_DECL:LABEL_DECL IDENT:m) (ActionItem:ActionItem IDENT:l))) "
         "(WAIT_STAT:WAIT_STAT (LABEL_DECL:LABEL_DECL IDENT:w) (ASSIGN:= IDENT:x INT_LITERAL:1) DOLLA_U:$U "
         "(DOLLA_C:$C IDENT:x IDENT:y) \"exit\":exit) "
         "(ATOM_STAT:ATOM_STAT (LABEL_DECL:LABEL_DECL IDENT:r) (ActionItem:ActionItem RETURN:RETURN)))"},
        // Case statement: two gotos and the default over three branches.
        {"%Stm [ ? [ LB = c ^ x = 1 => $OLB = b1 | x = 2 => $OLB = b2 |~ => $OLB = b3; "
         "LB = b1 => $OLB = EXIT; LB = b2 => $OLB = EXIT; LB = b3 => $OLB = EXIT ]; "
         "LB = r => $OLB = RETURN ]",
         "(PERCENT_STM:%Stm (CASE_STAT:CASE_STAT (LABEL_DECL:LABEL_DECL IDENT:c) "
         "(DEFAULT:|~ (IMPLY:=> (ASSIGN:= IDENT:x INT_LITERAL:1) IDENT:b1) (IMPLY:=> (ASSIGN:= IDENT:x INT_LITERAL:2) IDENT:b2) IDENT:b3) "
         "(ATOM_STAT:ATOM_STAT (LABEL_DECL:LABEL_DECL IDENT:b1) (ActionItem:ActionItem EXIT:EXIT)) "
         "(ATOM_STAT:ATOM_STAT (LABEL_DECL:LABEL_DECL IDENT:b2) (ActionItem:ActionItem EXIT:EXIT)) "
         "(ATOM_STAT:ATOM_STAT (LABEL_DECL:LABEL_DECL IDENT:b3) (ActionItem:ActionItem EXIT:EXIT))) "
         "(ATOM_STAT:ATOM_STAT (LABEL_DECL:LABEL_DECL IDENT:r) (ActionItem:ActionItem RETURN:RETURN)))"},
    });
}

// A wait's condition part whose tree an equation could have is held in
// parentheses, so the walker reads it as the condition it is; any other
// condition keeps its own tree.
TEST(StatementTest, AWaitConditionThatLooksLikeAnEquation)
{
    const std::string loop = "=> $O ( $O x = 1 ^ ^ LB = w ) $U ( x > 2 ^ $OLB = EXIT; LB = r => $OLB = RETURN ]";
    const std::string rest = "(ASSIGN:= IDENT:x INT_LITERAL:1) DOLLA_U:$U (GT:> IDENT:x INT_LITERAL:2) \"EXIT\":EXIT) "
                             "(ATOM_STAT:ATOM_STAT (LABEL_DECL:LABEL_DECL IDENT:r) (ActionItem:ActionItem RETURN:RETURN)))";
    expectTrees({
        {"%Stm [ LB = w ^ t = 0 " + loop,
         "(PERCENT_STM:%Stm (WAIT_STAT:WAIT_STAT (LABEL_DECL:LABEL_DECL IDENT:w) "
         "(PARENS:() (ASSIGN:= IDENT:t INT_LITERAL:0)) " + rest},
        {"%Stm [ LB = w ^ c ? v " + loop,
         "(PERCENT_STM:%Stm (WAIT_STAT:WAIT_STAT (LABEL_DECL:LABEL_DECL IDENT:w) "
         "(PARENS:() (QUESTION:? IDENT:c IDENT:v)) " + rest},
        {"%Stm [ LB = w ^ c ? " + loop,
         "(PERCENT_STM:%Stm (WAIT_STAT:WAIT_STAT (LABEL_DECL:LABEL_DECL IDENT:w) (QUESTION:? IDENT:c) " + rest},
        {"%Stm [ LB = w ^ t > 0 " + loop,
         "(PERCENT_STM:%Stm (WAIT_STAT:WAIT_STAT (LABEL_DECL:LABEL_DECL IDENT:w) (GT:> IDENT:t INT_LITERAL:0) " + rest},
    });
}

TEST(ConcurrentTest, ParallelAndSelectParts)
{
    expectTrees({
        {"%Alg [ LB = a => || [ SetTimer(5) w{2}(%Inp/ 1 | n; %Iop/ v | m); u( ) ]; LB = b => $OLB = RETURN ]",
         "(PERCENT_ALG:%Alg (IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:a) (PARALLEL:|| (ProCall:ProCall INT_LITERAL:5 IDENT:w "
         "(PERCENT_INP:%Inp/ INT_LITERAL:1 IDENT:n) (PERCENT_IOP:%Iop/ IDENT:v IDENT:m)) (ProCall:ProCall IDENT:u))) "
         "(IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:b) (ActionItem:ActionItem RETURN:RETURN)))"},
        {"%Alg [ LB = a => !! [ x |> $OLB = EXIT, c? |> $O c ? v ^ $OLB = Exit ] ; LB = b => $OLB = RETURN ]",
         "(PERCENT_ALG:%Alg (IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:a) (SELECT:!! (XOR:|> IDENT:x (ActionItem:ActionItem EXIT:EXIT)) "
         "(XOR:|> (QUESTION:? IDENT:c) (ActionItem:ActionItem (QUESTION:? IDENT:c IDENT:v) EXIT:EXIT)) RBRACKET:])) "
         "(IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:b) (ActionItem:ActionItem RETURN:RETURN)))"},
    });
}

struct DiagRow {
    std::string part;
    std::vector<Diag> diags;
    std::vector<std::string> details;
};

void expectDiagnostics(const std::vector<DiagRow>& rows)
{
    for (const DiagRow& row : rows) {
        ParseResult result = parseProgram(program(row.part));
        EXPECT_EQ(result.diags, row.diags) << row.part;
        EXPECT_EQ(details(), row.details) << row.part;
    }
}

TEST(LabelCheckTest, LabelFormsAndDefinitions)
{
    expectDiagnostics({
        {"%Stm [ LB1 = a => $OLB1 = NEXT; lb1 = b => $OLB1 = RETURN ]", {}, {}},
        {"%Stm [ LB1 = a => $OLB1 = NEXT; LB2 = b => $OLB1 = NEXT; LB2 = c => $OLB1 = RETURN ]",
         {{2, 8, 1, 52, "definitionalLabelEquation"}, {2, 8, 1, 77, "definitionalLabelEquation"}},
         {"Mismatched LB LB2 while expecting LB1\n\tsee line 1, col 27",
          "Mismatched LB LB2 while expecting LB1\n\tsee line 1, col 27"}},
        {"%Stm [ LB = a => $OLB = NEXT; LB = a => $OLB = RETURN ]",
         {{2, 8, 1, 55, "definitionalLabelEquation"}},
         {"Label a redeclared!\n\tsee line 1, col 32"}},
        {"%Alg [ LB = a => $OLB = a; LB = a => $OLB = RETURN ]", {}, {}},
        {"%Alg [ LB = a => $OLB = z; LB = b => $OLB = z; LB = c => $OLB = A; LB = A => $OLB = RETURN ]",
         {{2, 8, 1, 44, "forwardLabel"}},
         {"forward label z hasn't been declared before!"}},
        {"%Stm [ LB = a => $OLB = z; LB = c => $OLB = RETURN ]",
         {{2, 8, 1, 45, "forwardLabel"}},
         {"Mismatched Label IDENT while expecting NEXT\n"}},
    });
}

TEST(LabelCheckTest, EndingsOfStatementsAndBodies)
{
    expectDiagnostics({
        // Every statement but the last ends with NEXT; the body with RETURN.
        {"%Stm [ LB = a => $OLB = STOP; LB = b => $OLB = STOP ]",
         {{2, 8, 1, 48, "forwardLabel"}, {2, 8, 1, 72, "forwardLabel"}},
         {"Mismatched Label STOP while expecting NEXT\n", "Mismatched Label STOP while expecting RETURN\n"}},
        // Only the first element of an algorithmic part is held to the ending.
        {"%Alg [ LB = a => $OLB = STOP; LB = b => $OLB = STOP ]",
         {{2, 8, 1, 48, "forwardLabel"}},
         {"Mismatched Label STOP while expecting RETURN\n"}},
        {"%Alg [ LB = a => $OLB = NEXT; LB = b => $OLB = STOP ]", {}, {}},
        // Branches of a conditional element end alike.
        {"%Stm [ LB = s ^ x => ( $OLB = NEXT | $OLB = EXIT ); LB = r => $OLB = RETURN ]",
         {{2, 8, 1, 69, "forwardLabel"}},
         {"Mismatched Label NEXT while expecting EXIT\n"}},
        // Select alternatives end with EXIT; a loop body with a jump.
        {"%Alg [ LB = a => !! [ x |> $OLB = NEXT, y |> $OLB = EXIT ]; LB = r => $OLB = RETURN ]",
         {{2, 8, 1, 58, "forwardLabel"}},
         {"Mismatched Label NEXT while expecting EXIT\n"}},
        {"%Stm [ * [ LB = l => ( $OLB = STOP | $OLB = EXIT ) LB = m => $OLB = NEXT ]; LB = r => $OLB = RETURN ]",
         {{2, 8, 1, 55, "forwardLabel"}, {2, 8, 1, 93, "forwardLabel"}},
         {"Mismatched Label STOP while expecting IDENT\n", "Mismatched Label NEXT while expecting IDENT\n"}},
    });
}

TEST(LabelCheckTest, CaseStatementGotosAndBranches)
{
    const std::string head = "%Stm [ ? [ LB = c ^ x => $OLB = b1 |~ => $OLB = ";
    expectDiagnostics({
        {head + "b2; LB = b1 => $OLB = EXIT; LB = b2 => $OLB = EXIT ]; LB = r => $OLB = RETURN ]", {}, {}},
        {head + "B2; LB = b1 => $OLB = EXIT; LB = b2 => $OLB = EXIT ]; LB = r => $OLB = RETURN ]",
         {{2, 8, 1, 120, "forwardLabel"}},
         {"Goto label B2 hasn't been declared in current case statement!\n\t see Line 1, col 68"}},
        {head + "b2; LB = b1 => $OLB = EXIT ]; LB = r => $OLB = RETURN ]",
         {{2, 8, 1, 96, "forwardLabel"}, {2, 8, 1, 96, "forwardLabel"}},
         {"In case statement, goto conditions num is 2, while exit conditions num is 1",
          "Goto label b2 hasn't been declared in current case statement!\n\t see Line 1, col 68"}},
        {head + "b2; LB = b1 => $OLB = STOP; LB = b2 => $OLB = NEXT ]; LB = r => $OLB = RETURN ]",
         {{2, 8, 1, 94, "forwardLabel"}, {2, 8, 1, 119, "forwardLabel"}, {2, 8, 1, 120, "forwardLabel"},
          {2, 8, 1, 120, "forwardLabel"}, {2, 8, 1, 120, "forwardLabel"}},
         {"Mismatched Label STOP while expecting NEXT or EXIT\n", "Mismatched Label NEXT while expecting EXIT\n",
          "In case statement, goto conditions num is 2, while exit conditions num is 0",
          "Goto label b1 hasn't been declared in current case statement!\n\t see Line 1, col 52",
          "Goto label b2 hasn't been declared in current case statement!\n\t see Line 1, col 68"}},
    });
}

TEST(RecoveryTest, StatementErrorsResynchronise)
{
    // A statement starting with a name; a labelled element without "=>". The
    // failed statement ends with no kind, which the list's check names.
    ParseResult name = parseProgram(program("%Stm [ x; LB = r => $OLB = RETURN ]"));
    EXPECT_EQ(name.diags, (std::vector<Diag>{{2, 7, 1, 27, "statement"}, {2, 8, 1, 28, "statement"}}));
    EXPECT_EQ(details()[1], "Mismatched Label error_op! while expecting NEXT\n");
    ParseResult arrow = parseProgram(program("%Stm [ LB = a $OLB = NEXT; LB = r => $OLB = RETURN ]"));
    ASSERT_FALSE(arrow.diags.empty());
    EXPECT_EQ(arrow.diags[0], (Diag{2, 7, 1, 27, "definitionalLabelEquation"}));
}

// Each rule reports its error, skips to its follow set and leaves the tree
// without what it dropped; the rest of the part parses as usual.
TEST(RecoveryTest, RulesSkipToTheirFollowSets)
{
    const std::string last = "; LB = r => $OLB = RETURN ]";
    const std::vector<RecoveryRow> rows = {
        // Elements and forward label equations.
        {"%Alg [ LB = a x => $OLB = RETURN ]", {{2, 7, 1, 34, "conditionPart"}},
         std::string("(IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:a) ") + kReturn + ")"},
        {"%Alg [ LB = a => 5" + last, {{2, 7, 1, 37, "actionPart"}}, "(IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:a)) (IMPLY"},
        {"%Alg [ LB = a => $OLB = 5" + last, {{2, 7, 1, 44, "forwardLabel"}}, " ActionItem:ActionItem) (IMPLY"},
        {"%Alg [ LB = a => $OLB RETURN ]", {{2, 6, 1, 42, "forwardLabelEquation"}}, kReturn},
        // Equations.
        {"%Alg [ LB = a => $O x = 1 $OLB = RETURN ]", {{2, 6, 1, 46, "constant1"}},
         "(ActionItem:ActionItem (ASSIGN:= IDENT:x INT_LITERAL:1) RETURN:RETURN)"},
        {"%Alg [ LB = a => $O a[1] ? v ^ $OLB = RETURN ]", {{2, 6, 1, 45, "constant1"}}, kReturn},
        {"%Alg [ LB = a => $O 5 ^ $OLB = RETURN ]", {{2, 7, 1, 40, "variable1"}}, kReturn},
        {"%Alg [ LB = a => >> [ $O a = 1 $O b = 2 ] ^ $OLB = RETURN ]", {{2, 6, 1, 51, "constant1"}},
         "(SEQ:>> (SEMI:; (ASSIGN:= IDENT:a INT_LITERAL:1) (ASSIGN:= IDENT:b INT_LITERAL:2)))"},
        // Conditional elements, loops and case statements.
        {"%Stm [ LB = a ^ x => $OLB = NEXT )" + last, {{2, 6, 1, 41, "variable1"}},
         "(IF_STAT:IF_STAT (LABEL_DECL:LABEL_DECL IDENT:a) IDENT:x (ActionItem:ActionItem NEXT:NEXT)) (ATOM_STAT"},
        {"%Stm [ LB = a ^ x => ( $OLB = NEXT" + last, {{2, 7, 1, 54, "forwardLabel"}, {2, 6, 1, 56, "forwardLabel"}},
         "(PERCENT_STM:%Stm (ATOM_STAT:ATOM_STAT (LABEL_DECL:LABEL_DECL IDENT:r)"},
        {"%Stm [ * [ LB = l => ( $OLB = l | $OLB = NEXT ]",
         {{2, 7, 1, 61, "forwardLabel"}, {2, 8, 1, 66, "forwardLabel"}}, "PERCENT_STM:%Stm)"},
        {"%Stm [ ? [ LB = c ^ x $OLB = b1 |~ => $OLB = b2; LB = b2 => $OLB = EXIT ]" + last,
         {{2, 6, 1, 42, "variable1"}}, "(DEFAULT:|~ IDENT:b2)"},
        // Parallel and select parts and process calls.
        {"%Alg [ LB = a => || [ u( ) ]" + last, {{2, 7, 1, 47, "prosCall"}}, "(IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:a)) (IMPLY"},
        {"%Alg [ LB = a => || [ u( ) v( ) ]" + last, {{2, 6, 1, 47, "prosCall"}},
         "(PARALLEL:|| (ProCall:ProCall IDENT:u) (ProCall:ProCall IDENT:v))"},
        {"%Alg [ LB = a => || [ u 1; v( ) ]" + last, {{2, 7, 1, 44, "prosCall"}}, "(PARALLEL:|| (ProCall:ProCall IDENT:v))"},
        {"%Alg [ LB = a => || [ u( 5 ); v( ) ]" + last, {{2, 7, 1, 45, "prosCall"}}, "(PARALLEL:|| (ProCall:ProCall IDENT:v))"},
        {"%Alg [ LB = a => !! [ x |> $OLB = EXIT ]" + last, {{2, 7, 1, 59, "forwardLabel"}},
         "(IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:a)) (IMPLY"},
    };
    expectRecovery(rows, program);
}

TEST(RecoveryTest, ATimerInErrorLeavesTheCallWithoutIt)
{
    ParseResult result = parseProgram(program(
        "%Alg [ LB = a => || [ SetTimer(x) w( ); u( ) ]; LB = b => $OLB = RETURN ]"));
    EXPECT_NE(result.tree.find("(PARALLEL:|| (ProCall:ProCall IDENT:w) (ProCall:ProCall IDENT:u))"), std::string::npos)
        << result.tree;
    ASSERT_FALSE(result.diags.empty());
    EXPECT_EQ(result.diags[0], (Diag{2, 6, 1, 51, "timerPrefix"}));
}

TEST(RecoveryTest, AGotoWithoutLabelIsNotCounted)
{
    ParseResult result = parseProgram(program(
        "%Stm [ ? [ LB = c ^ x => $OLB = 5 |~ => $OLB = b1; LB = b1 => $OLB = EXIT ]; LB = r => $OLB = RETURN ]"));
    // The bad goto is reported as a syntax error, and no goto of an empty name is checked.
    for (const std::string& text : details()) EXPECT_EQ(text.find("Goto label  "), std::string::npos) << text;
    ASSERT_FALSE(result.diags.empty());
    EXPECT_EQ(result.diags[0].number, 6);
}

TEST(RecoveryTest, AnExitBeforeAnyLabelClosesNoBranch)
{
    // The first statement of the exit list fails before its label is read; its
    // EXIT then finds no branch name to move.
    ParseResult result = parseProgram(program(
        "%Stm [ ? [ LB = c ^ x => $OLB = b1 |~ => $OLB = b1; ? [ ] ]; LB = r => $OLB = RETURN ]"));
    EXPECT_FALSE(result.diags.empty());
}

}  // namespace
