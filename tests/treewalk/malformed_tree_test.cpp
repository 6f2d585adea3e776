// Trees the parser would not build, handed to the walker by hand: each
// recognition error becomes one diagnostic at the last matched node, under the
// rule entered last, and the walk goes on.
#include <gtest/gtest.h>

#include <antlr/MismatchedCharException.hpp>
#include <antlr/MismatchedTokenException.hpp>
#include <antlr/NoViableAltException.hpp>
#include <antlr/SemanticException.hpp>

#include "compiler/codegen/codegen.hpp"
#include "compiler/lexer/lexer.hpp"
#include "compiler/treewalk/treewalk.hpp"
#include "walk_helpers.hpp"
#include "tests/support/own_session.hpp"

namespace {

// The least algorithmic parts: one statement, one element, each returning.
const std::string kStm = "(PERCENT_STM (ATOM_STAT (LABEL_DECL IDENT:s) (ActionItem RETURN)))";
const std::string kAlg = "(PERCENT_ALG (IMPLY (LABEL_DECL IDENT:a) (ActionItem RETURN)))";

// A main block around `sections`, with a main body; the nodes before the
// sections are numbered 1 (root) to 3 (MAIN_BLOCK).
std::string prog(const std::string& sections)
{
    return "(PERCENT_PRO IDENT:p (MAIN_BLOCK " + sections + " (PROC_DECL MAIN_PROBODY " + kStm + ")))";
}

struct Row {
    const char* what;
    std::string tree;
    std::vector<Diag> diags;
    bool filesWritten;
    std::string cppPiece = "";  // a piece of C++ the walk still produces
};

TEST(MalformedTreeTest, RecognitionErrorsAreReportedWhereTheyArise)
{
    const std::vector<Row> rows = {
        {"empty tree", "", {{2, 7, 0, 0, "program"}}, false},
        {"root of no program", "(IDENT:p MAIN_BLOCK)", {{2, 7, 0, 0, "program"}}, false},
        {"program name not an identifier",
         "(PERCENT_PRO INT (MAIN_BLOCK (PROC_DECL MAIN_PROBODY " + kStm + ")))", {{2, 6, 1, 1, "defName"}}, true},
        // The rule name is never restored: the error after the %Glob part is
        // filed under the last rule entered inside it, at its last matched node.
        {"sections out of order",
         prog("(PERCENT_GLOB (CONST_DECL INT IDENT:c INT_LITERAL:1)) (PERCENT_TYPE TYPE_DECL)"),
         {{2, 7, 8, 5, "constant1"}}, true},
        {"%Prog without a main body", "(PERCENT_PRO IDENT:p (MAIN_BLOCK (PERCENT_VAR (SHARE_DECL INT IDENT:v))))",
         {{2, 7, 7, 5, "defName"}}, true},
        {"no main block at all", "(PERCENT_PRO IDENT:p)", {{2, 6, 2, 2, "mainBlock"}}, true},
        {"process as the main body", "(PERCENT_PRO IDENT:p (MAIN_BLOCK (PROS_DECL IDENT:q " + kStm + ")))",
         {{2, 7, 3, 2, "proDeclaration"}}, true},
        {"%MProg with a procedure part",
         "(PERCENT_MPRO IDENT:m (MMAIN_BLOCK (PERCENT_PROC PROC_DECL_HEADER) (PROC_DECL MAIN_PROBODY " + kStm + ")))",
         {{2, 7, 3, 2, "mainBlock"}}, true},
        {"%Glob holding a shared variable, then a constant",
         prog("(PERCENT_GLOB (SHARE_DECL INT IDENT:v) (CONST_DECL INT IDENT:c INT_LITERAL:2))"),
         {{2, 7, 4, 3, "varDeclaration"}}, true, "const int _c = 2;\n"},
        {"%Loc holding a constant",
         "(PERCENT_PRO IDENT:p (MAIN_BLOCK (PROC_DECL MAIN_PROBODY (PERCENT_LOC (CONST_DECL INT IDENT:c "
         "INT_LITERAL:1)) " + kStm + ")))",
         {{2, 7, 6, 4, "varDeclaration"}}, true},
        {"negative string constant",
         prog("(PERCENT_GLOB (CONST_DECL STRING IDENT:s (MINUS STRING_LITERAL:\"x\")))"),
         {{2, 7, 8, 5, "constant"}}, true},
        // The section skips to the sibling of the node in error, the end of its
        // own children, so the main block meets the end of a list too.
        {"procedure part with bodies but no heads", prog("(PERCENT_PROC (PROC_DECL IDENT:f " + kStm + "))"),
         {{2, 7, 4, 3, "procDeclarationPart"}, {2, 7, 4, 3, "procDeclarationPart"}}, true},
        {"process declaration in a procedure part",
         prog("(PERCENT_PROC (PROC_DECL_HEADER IDENT:f) (PROS_DECL IDENT:f " + kStm + "))"),
         {{2, 7, 6, 5, "proDeclaration"}}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WalkResult result = walkTree(buildTree(row.tree));
        EXPECT_EQ(result.diags, row.diags);
        EXPECT_EQ(result.filesWritten, row.filesWritten);
        EXPECT_NE(result.cpp.find(row.cppPiece), std::string::npos) << result.cpp;
    }
}

// The top fragment starts with no program kind; a walk that reaches the end of
// a program unit records its kind, one that matches no unit leaves it unset.
TEST(MalformedTreeTest, ProgramKindIsRecordedOnlyForAProgram)
{
    struct KindRow {
        std::string tree;
        int kind;
    };
    const KindRow rows[] = {
        {"(PERCENT_PRO IDENT:p (MAIN_BLOCK (PROC_DECL MAIN_PROBODY " + kStm + ")))", 0},
        {"(PERCENT_DPRO IDENT:d DMAIN_BLOCK)", 1},
        {"(PERCENT_MPRO IDENT:m (MMAIN_BLOCK (PROC_DECL MAIN_PROBODY " + kAlg + ")))", 2},
        {"(PERCENT_PROS IDENT:q MAIN_BLOCK)", -1},
        {"", -1},
    };
    for (const KindRow& row : rows) {
        SCOPED_TRACE(row.tree);
        WalkResult result = walkTree(buildTree(row.tree));
        EXPECT_EQ(result.programKind, row.kind);
        EXPECT_EQ(result.filesWritten, row.kind != -1);
        EXPECT_TRUE(result.thrown.empty());
    }
}

TEST(MalformedTreeTest, MismatchCarriesTheWholeMessage)
{
    WalkResult result = walkTree(buildTree("(PERCENT_PRO INT (MAIN_BLOCK (PROC_DECL MAIN_PROBODY " + kStm + ")))"));
    ASSERT_EQ(result.details.size(), 1u);
    EXPECT_EQ(result.details[0], "Mismatched Token: expecting any AST node");
}

// Parser and walker share one numbering; a drifting vocabulary would make the
// walker misread every tree.
TEST(MalformedTreeTest, TokenNamesAreTheSharedOnes)
{
    QUVTreeWalk walker;
    ASSERT_EQ(walker.getNumTokens(), QUVTokenNameCount);
    for (int type = 0; type < QUVTokenNameCount; ++type)
        EXPECT_STREQ(walker.getTokenName(type), QUVTokenNames[type]) << type;
}

TEST(MalformedTreeTest, ErrorsAreClassifiedByTheirExactClass)
{
    struct ClassRow {
        const char* what;
        const antlr::RecognitionException& ex;
        int kind;
        int number;
    };
    const antlr::MismatchedTokenException mismatch;
    const antlr::NoViableAltException noViable(antlr::RefAST(buildTree("IDENT:x")));
    const antlr::SemanticException semantic("failed predicate");
    const antlr::MismatchedCharException mismatchedChar;
    const antlr::RecognitionException other("other");
    const ClassRow rows[] = {
        {"mismatched node", mismatch, 2, 6},
        {"no viable alternative", noViable, 2, 7},
        {"semantic", semantic, 3, 15},
        {"a lexer's mismatch", mismatchedChar, 5, 21},
        {"anything else", other, 5, 21},
    };
    for (const ClassRow& row : rows) {
        SCOPED_TRACE(row.what);
        OwnJob driver("t.e");
        QUVTreeWalk walker;
        walker.job = &driver;
        walker.reportError(row.ex);
        ASSERT_EQ(driver.records().size(), 1u);
        EXPECT_EQ(driver.records()[0].getKind(), row.kind);
        EXPECT_EQ(driver.records()[0].getNumber(), row.number);
    }
}

// A name that gives no node is never used: a process body without a head is
// legal, and a head whose name could not be read opens no block to leave.
TEST(MalformedTreeTest, NamesWithoutNodesAreSkipped)
{
    WalkResult headless = walkTree(buildTree(prog("(PERCENT_PROS (PROS_DECL IDENT:ghost " + kStm + "))")));
    EXPECT_TRUE(headless.diags.empty());
    EXPECT_TRUE(headless.thrown.empty());
    EXPECT_TRUE(headless.filesWritten);

    WalkResult nameless = walkTree(buildTree(
        prog("(PERCENT_PROC (PROC_DECL_HEADER INT (INP_DECL INT IDENT:a)) (PROC_DECL IDENT:f " + kStm + "))")));
    ASSERT_FALSE(nameless.diags.empty());
    EXPECT_EQ(nameless.diags.front(), (Diag{2, 6, 5, 4, "defName"}));
    EXPECT_TRUE(nameless.thrown.empty());
    EXPECT_TRUE(nameless.filesWritten);
}

// A process walked without a declaration in this file waits for the forward
// declaration of its thread function; one declared here does not.
TEST(MalformedTreeTest, UndeclaredProcessesAwaitTheirThreadDeclaration)
{
    WalkResult undeclared = walkTree(buildTree(prog("(PERCENT_PROS (PROS_DECL IDENT:ghost " + kStm + "))")));
    EXPECT_EQ(undeclared.threadDeclarations, "void ghost_call(void *params);\n");

    WalkResult declared =
        walkTree(buildTree(prog("(PERCENT_PROS (PROS_DECL_HEADER IDENT:q) (PROS_DECL IDENT:q " + kStm + "))")));
    EXPECT_EQ(declared.threadDeclarations, "");
}

// A block left open by an error is still the current block at the end: the
// files are written, then leaving the program's block fails as an internal
// error. The error's skip lands at the end of a child list, and the rules
// that meet that end report it too.
TEST(MalformedTreeTest, BlockLeftOpenEndsTheWalkAfterTheFiles)
{
    const std::vector<Row> rows = {
        // A process head with a node after its name that is no parameter.
        {"bad head", prog("(PERCENT_PROS (PROS_DECL_HEADER IDENT:g IDENT:x) (PROS_DECL IDENT:h " + kStm + "))"),
         {{2, 7, 6, 5, "defName"}}, true},
        // What the parser leaves of a main body whose brackets hold nothing.
        {"body without algorithmic part", "(PERCENT_PRO IDENT:p (MAIN_BLOCK (PROC_DECL MAIN_PROBODY)))",
         {{2, 7, 5, 4, "main_probody"}}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WalkResult result = walkTree(buildTree(row.tree));
        ASSERT_GE(result.diags.size(), 2u);
        EXPECT_EQ(result.diags.front(), row.diags[0]);
        EXPECT_EQ(result.diags.back().kind, 5);
        EXPECT_EQ(result.diags.back().number, 20);
        EXPECT_EQ(result.thrown, "node 's deftype not match the given deftype in function SymbolTable::exitBlock()");
        EXPECT_TRUE(result.filesWritten);
    }
}

TEST(MalformedTreeTest, TooDeepATreeEndsTheWalkWithOneDiagnostic)
{
    // Procedures nested in procedures, far deeper than any source the parser
    // accepts; built from the inside out, since reading it would nest as deeply.
    RefQUV_AST inner = buildTree("(PROC_DECL IDENT:f " + kStm + ")");
    for (int i = 0; i < 20000; ++i) {
        RefQUV_AST part = buildTree("(PERCENT_PROC (PROC_DECL_HEADER IDENT:f))");
        part->addChild(inner);
        inner = buildTree("(PROC_DECL IDENT:f)");
        inner->addChild(part);
        inner->addChild(buildTree(kStm));
    }
    RefQUV_AST body = buildTree("(PROC_DECL MAIN_PROBODY)");
    // The outermost procedure part, with the algorithmic part after it.
    body->addChild(RefQUV_AST(inner->getFirstChild()->getNextSibling()));
    RefQUV_AST root = buildTree("(PERCENT_PRO IDENT:p MAIN_BLOCK)");
    RefQUV_AST(root->getFirstChild()->getNextSibling())->addChild(body);
    inner = RefQUV_AST();
    WalkResult result = walkTree(root);
    releaseDeepTree(root);
    ASSERT_EQ(result.diags.size(), 1u);
    EXPECT_EQ(result.diags[0].kind, 5);
    EXPECT_EQ(result.diags[0].number, 21);
    EXPECT_EQ(result.thrown, NestingTooDeep().getMessage());
    EXPECT_FALSE(result.filesWritten);
}

}  // namespace
