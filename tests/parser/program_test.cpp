// Program frames, declaration sections and their recovery, parsed from `program`.
#include <gtest/gtest.h>

#include "parse_helpers.hpp"

namespace {

const char* const kBody = "[ %Stm [ LB=s=>$OLB=RETURN ] ]";
const char* const kBodyTree = "(PROC_DECL:ProcDeclaration MAIN_PROBODY:Main (PERCENT_STM:%Stm "
                               "(ATOM_STAT:ATOM_STAT (LABEL_DECL:LABEL_DECL IDENT:s) (ActionItem:ActionItem RETURN:RETURN))))";

std::string inMainBlock(const std::string& sections)
{
    return "%Prog p == [ ] [ " + sections + " " + kBody + " ] .";
}

std::string mainBlockTree(const std::string& sections)
{
    return std::string("(PERCENT_PRO:%Prog IDENT:p (MAIN_BLOCK:MainBlock ") + sections +
           (sections.empty() ? "" : " ") + kBodyTree + "))";
}

struct Row {
    const char* sections;
    const char* tree;
};

TEST(ProgramTest, FramesOfTheThreeProgramKinds)
{
    ParseResult prog = parseProgram("%Prog p == [ ] [ Syn [ %Alg [ LB=s=>$OLB=RETURN ] ] ] .");
    EXPECT_EQ(prog.tree, "(PERCENT_PRO:%Prog IDENT:p (MAIN_BLOCK:MainBlock SYN:SYN "
                         "(PROC_DECL:ProcDeclaration MAIN_PROBODY:Main (PERCENT_ALG:%Alg "
                         "(IMPLY:=> (LABEL_DECL:LABEL_DECL IDENT:s) (ActionItem:ActionItem RETURN:RETURN))))))");
    EXPECT_TRUE(prog.diags.empty());
    EXPECT_EQ(prog.stdoutText, "");

    ParseResult dprog = parseProgram("%DProg d == [ ] [ asyn %Type [ t = int ] ] .");
    EXPECT_EQ(dprog.tree, "(PERCENT_DPRO:%DProg IDENT:d (DMAIN_BLOCK:DMainBlock ASYN:ASYN "
                          "(PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration IDENT:t INT:INT))))");
    EXPECT_TRUE(dprog.diags.empty());

    ParseResult mprog = parseProgram("%MProg m == [ ] [ %Var [ a : int ] [ %Loc [ b : nm ] %Stm [ LB=s=>$OLB=RETURN ] ] ] .");
    EXPECT_EQ(mprog.tree, "(PERCENT_MPRO:%MProg IDENT:m (MMAIN_BLOCK:MMainBlock "
                          "(PERCENT_VAR:%Var (SHARE_DECL:FieldDeclaration INT:INT IDENT:a)) "
                          "(PROC_DECL:ProcDeclaration MAIN_PROBODY:Main "
                          "(PERCENT_LOC:%Loc (LOCAL_DECL:FieldDeclaration NM:NM IDENT:b)) (PERCENT_STM:%Stm "
                          "(ATOM_STAT:ATOM_STAT (LABEL_DECL:LABEL_DECL IDENT:s) (ActionItem:ActionItem RETURN:RETURN))))))");
    EXPECT_TRUE(mprog.diags.empty());
}

TEST(ProgramTest, BlockAndBodyTakeTheirPlaces)
{
    ParseResult result = parseProgram("%Prog p ==\n[ ]\n  [ [ %Loc [ x : int ] %Stm [ ] ] ] .");
    EXPECT_EQ(result.dump,
              "PERCENT_PRO \"%Prog\" 1:1\n"
              "  IDENT \"p\" 1:7\n"
              "  MAIN_BLOCK \"MainBlock\" 2:1\n"
              "    PROC_DECL \"ProcDeclaration\" 3:7\n"
              "      MAIN_PROBODY \"Main\" -1:-1\n"
              "      PERCENT_LOC \"%Loc\" 3:7\n"
              "        LOCAL_DECL \"FieldDeclaration\" 3:14\n"
              "          INT \"INT\" 3:18\n"
              "          IDENT \"x\" 3:14\n"
              "      PERCENT_STM \"%Stm\" 3:24\n");
}

TEST(DeclarationTest, TypeDeclarations)
{
    const std::vector<Row> rows = {
        {"%Type [ Speed = int ]", "(PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration IDENT:Speed INT:INT))"},
        {"%type [ A = Array(Float; 10, 2) ]",
         "(PERCENT_TYPE:%type (TYPE_DECL:TypeDeclaration IDENT:A "
         "(ARRAY:ARRAY FLOAT:FLOAT INT_LITERAL:10 INT_LITERAL:2)))"},
        {"%Type [ P = point(point(logic)) ]",
         "(PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration IDENT:P (POINT:POINT (POINT:POINT LOGIC:LOGIC))))"},
        {"%Type [ T = Color; S = String ]",
         "(PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration IDENT:T IDENT:Color) "
         "(TYPE_DECL:TypeDeclaration IDENT:S STRING:STRING))"},
        {"%Type [ R = Record(a, b : int; c : Bool) ]",
         "(PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration IDENT:R (RECORD:RECORD "
         "(FIELD_DECL:FieldDeclaration INT:INT IDENT:a) (FIELD_DECL:FieldDeclaration INT:INT IDENT:b) "
         "(FIELD_DECL:FieldDeclaration BOOL:BOOL IDENT:c))))"},
        {"%Type [ U = union(a : int; n : RECORD(x : float)) ]",
         "(PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration IDENT:U (UNION:UNION "
         "(FIELD_DECL:FieldDeclaration INT:INT IDENT:a) (FIELD_DECL:FieldDeclaration "
         "(RECORD:RECORD (FIELD_DECL:FieldDeclaration FLOAT:FLOAT IDENT:x)) IDENT:n))))"},
    };
    for (const Row& row : rows) {
        ParseResult result = parseProgram(inMainBlock(row.sections));
        EXPECT_EQ(result.tree, mainBlockTree(row.tree)) << row.sections;
        EXPECT_TRUE(result.diags.empty()) << row.sections;
    }
}

TEST(DeclarationTest, ConstantAndVariableDeclarations)
{
    const std::vector<Row> rows = {
        {"%Glob [ N = 5 : int ]",
         "(PERCENT_GLOB:%Glob (CONST_DECL:ConstDeclaration INT:INT IDENT:N INT_LITERAL:5))"},
        {"%Glob [ X = -2.5 : float; Y = tt : bool; Z = $t : logic; S = \"s\" : string; M = -3 : int ]",
         "(PERCENT_GLOB:%Glob "
         "(CONST_DECL:ConstDeclaration FLOAT:FLOAT IDENT:X (MINUS:- FLOAT_LITERAL:2.5)) "
         "(CONST_DECL:ConstDeclaration BOOL:BOOL IDENT:Y DOUBLE_T:DOUBLE_T) "
         "(CONST_DECL:ConstDeclaration LOGIC:LOGIC IDENT:Z DOLLA_T:$t) "
         "(CONST_DECL:ConstDeclaration STRING:STRING IDENT:S STRING_LITERAL:\"s\") "
         "(CONST_DECL:ConstDeclaration INT:INT IDENT:M (MINUS:- INT_LITERAL:3)))"},
        {"%Var [ a, b : int; f : Stream; c : Color ]",
         "(PERCENT_VAR:%Var (SHARE_DECL:FieldDeclaration INT:INT IDENT:a) "
         "(SHARE_DECL:FieldDeclaration INT:INT IDENT:b) (SHARE_DECL:FieldDeclaration STREAM:STREAM IDENT:f) "
         "(SHARE_DECL:FieldDeclaration IDENT:Color IDENT:c))"},
        {"ASYN %Type [ t = int ] %Glob [ n = 1 : t ] %Var [ v : t ]",
         "ASYN:ASYN (PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration IDENT:t INT:INT)) "
         "(PERCENT_GLOB:%Glob (CONST_DECL:ConstDeclaration IDENT:t IDENT:n INT_LITERAL:1)) "
         "(PERCENT_VAR:%Var (SHARE_DECL:FieldDeclaration IDENT:t IDENT:v))"},
    };
    for (const Row& row : rows) {
        ParseResult result = parseProgram(inMainBlock(row.sections));
        EXPECT_EQ(result.tree, mainBlockTree(row.tree)) << row.sections;
        EXPECT_TRUE(result.diags.empty()) << row.sections;
    }
}

struct ErrorRow {
    std::string source;
    std::string tree;
    std::vector<Diag> diags;
};

TEST(ProgramErrorTest, RecoveryOfTheFrameAndTheSections)
{
    const std::vector<ErrorRow> rows = {
        // Not a program: reported by `program`, no tree.
        {"p == [ ] [ ] .", "", {{2, 7, 1, 1, "program"}}},
        // Missing "==": `program`'s own handler ends the parse.
        {"%Prog p [ ] [ ] .", "", {{2, 6, 1, 9, "program"}}},
        // A bad program name skips to "==" and the frame goes on.
        {"%Prog 5 == [ ] [ [ %Stm [ LB=s=>$OLB=RETURN ] ] ] .",
         "(PERCENT_PRO:%Prog (MAIN_BLOCK:MainBlock " + std::string(kBodyTree) + "))", {{2, 6, 1, 7, "program"}}},
        // Missing "." and missing "]" before it only cost one diagnostic each,
        // filed under the last named rule entered.
        {"%Prog p == [ ] [ [ %Stm [ LB=s=>$OLB=RETURN ] ] ]", mainBlockTree("").c_str(), {{2, 6, 1, 50, "forwardLabel"}}},
        {"%Prog p == [ ] [ [ %Stm [ LB=s=>$OLB=RETURN ] ] .", mainBlockTree("").c_str(), {{2, 6, 1, 49, "forwardLabel"}}},
        // A bad opening "[" skips to "]"; a bad "]" skips to "[".
        {"%Prog p == x y ] [ [ %Stm [ LB=s=>$OLB=RETURN ] ] ] .", mainBlockTree("").c_str(), {{2, 6, 1, 12, "mainBlock"}}},
        {"%Prog p == [ z [ [ %Stm [ LB=s=>$OLB=RETURN ] ] ] .", mainBlockTree("").c_str(), {{2, 6, 1, 14, "mainBlock"}}},
        // "%MProg" takes no communication mode; "%DProg" takes no body: its
        // sections are passed over only on "]".
        {"%MProg m == [ ] [ Syn [ %Stm [ ] ] ] .", "(PERCENT_MPRO:%MProg IDENT:m)",
         {{2, 7, 1, 19, "mMainBlock"}}},
        {"%DProg d == [ ] [ %Type [ t = int ] [ %Stm [ ] ] ] .", "(PERCENT_DPRO:%DProg IDENT:d)",
         {{2, 7, 1, 37, "basicType"}}},
        // A body that fails leaves the wrapped procedure with its name only.
        {"%Prog p == [ ] [ [ ] ] .",
         "(PERCENT_PRO:%Prog IDENT:p (MAIN_BLOCK:MainBlock (PROC_DECL:ProcDeclaration MAIN_PROBODY:Main)))",
         {{2, 7, 1, 20, "proBody"}}},
        // Sections out of order: skipped to the program's ".".
        {inMainBlock("%Glob [ n = 1 : int ] %Type [ t = int ]"), "(PERCENT_PRO:%Prog IDENT:p)",
         {{2, 7, 1, 40, "basicType"}}},
        // A name error skips to "=": the declaration goes on.
        {inMainBlock("%Type [ 5 = int ]"),
         mainBlockTree("(PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration INT:INT))"),
         {{2, 6, 1, 26, "typeDeclaration"}}},
        // "nm" is no type of a type declaration.
        {inMainBlock("%Type [ t = nm ]"),
         mainBlockTree("(PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration IDENT:t))"),
         {{2, 7, 1, 30, "type"}}},
        // Missing ";" before the next entry or the array bounds: reported, entry kept.
        {inMainBlock("%Type [ X = INT Y = BOOL ]"),
         mainBlockTree("(PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration IDENT:X INT:INT) "
                       "(TYPE_DECL:TypeDeclaration IDENT:Y BOOL:BOOL))"),
         {{2, 6, 1, 34, "basicType"}}},
        {inMainBlock("%Type [ A = ARRAY(INT 10) ]"),
         mainBlockTree("(PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration IDENT:A "
                       "(ARRAY:ARRAY INT:INT INT_LITERAL:10)))"),
         {{2, 6, 1, 40, "basicType"}}},
        // "]" where `semi` is called: no viable alternative, left for the caller;
        // the one-token rules after it report and consume nothing either.
        {inMainBlock("%Type [ A = ARRAY(INT ] ) ]"),
         "(PERCENT_PRO:%Prog IDENT:p)",
         {{2, 7, 1, 40, "basicType"}, {2, 6, 1, 40, "uiList"}, {2, 6, 1, 40, "uiList"},
          {2, 7, 1, 42, "uiList"}}},
        // Field groups: a bad name and a missing ";" between groups.
        {inMainBlock("%Type [ R = record(a, 5, b : int c : int) ]"),
         mainBlockTree("(PERCENT_TYPE:%Type (TYPE_DECL:TypeDeclaration IDENT:R (RECORD:RECORD "
                       "(FIELD_DECL:FieldDeclaration INT:INT IDENT:a) (FIELD_DECL:FieldDeclaration INT:INT IDENT:b) "
                       "(FIELD_DECL:FieldDeclaration INT:INT IDENT:c))))"),
         {{2, 6, 1, 40, "fieldNameList"}, {2, 6, 1, 51, "basicType"}}},
        // Constants: a bad constant keeps type and name; "-" before a string is no constant.
        {inMainBlock("%Glob [ C = - \"s\" : string ]"),
         mainBlockTree("(PERCENT_GLOB:%Glob (CONST_DECL:ConstDeclaration STRING:STRING IDENT:C))"),
         {{2, 7, 1, 30, "constant"}}},
        // Variables: a number between names; a section keyword as the type.
        {inMainBlock("%Var [ a, 5, b : int ]"),
         mainBlockTree("(PERCENT_VAR:%Var (SHARE_DECL:FieldDeclaration INT:INT IDENT:a) "
                       "(SHARE_DECL:FieldDeclaration INT:INT IDENT:b))"),
         {{2, 6, 1, 28, "idList"}}},
        {inMainBlock("%Var [ a : %Loc ]"),
         mainBlockTree("(PERCENT_VAR:%Var (SHARE_DECL:FieldDeclaration IDENT:a))"),
         {{2, 7, 1, 29, "varType"}}},
    };
    for (const ErrorRow& row : rows) {
        ParseResult result = parseProgram(row.source);
        EXPECT_EQ(result.tree, row.tree) << row.source;
        EXPECT_EQ(result.diags, row.diags) << row.source;
    }
}

TEST(ProgramErrorTest, FieldGroupWithoutNameDeclaresNothing)
{
    ParseResult result = parseProgram(inMainBlock("%Type [ R = record(: int; b : int) ]"));
    ASSERT_FALSE(result.diags.empty());
    EXPECT_EQ(result.diags.front(), (Diag{2, 6, 1, 37, "fieldNameList"}));
    EXPECT_EQ(result.tree.find("(FIELD_DECL:FieldDeclaration INT:INT)"), std::string::npos);
}

TEST(ProgramErrorTest, StartRuleClosesTheSyntaxCheck)
{
    ParseResult result = parseProgram("%Prog p [ ] [ ] .");
    EXPECT_EQ(result.stdoutText, "\n-------- Syntax Checking Finished! -------------\n\n");
    EXPECT_EQ(result.tree, "");
}

}  // namespace
