// Procedures, processes, parameters, packages and agents, and the golden tree
// of a program that uses every construct.
#include <fstream>
#include <gtest/gtest.h>

#include "parse_helpers.hpp"

namespace {

const char* const kBody = "[ %Stm [ LB=s=>$OLB=RETURN ] ]";

std::string inBlock(const std::string& sections)
{
    return std::string("%Prog p == [ ] [ ") + sections + " " + kBody + " ] .";
}

TEST(UnitDeclarationTest, HeadersStandBeforeTheBodies)
{
    ParseResult result = parseProgram(inBlock(
        "%Proc [ f(%Inp/ a : int) == [ %Alg [ LB = x => $OLB = RETURN ] ]; g( ) == [ %Alg [ LB = y => $OLB = RETURN ] ] ]"));
    EXPECT_NE(result.tree.find(
                  "(PERCENT_PROC:%Proc (PROC_DECL_HEADER:PROC_DECL_HEADER IDENT:f (INP_DECL:FieldDeclaration INT:INT IDENT:a)) "
                  "(PROC_DECL_HEADER:PROC_DECL_HEADER IDENT:g) (PROC_DECL:PROC_DECL IDENT:f (PERCENT_ALG:%Alg "),
              std::string::npos)
        << result.tree;
    EXPECT_TRUE(result.diags.empty());
}

TEST(UnitDeclarationTest, ChannelParametersBelongToProcesses)
{
    ParseResult process = parseProgram(inBlock(
        "%Pros [ w(%Chn/ c(i : NM, *) : Int, d(*, j : Nm) : Float) == [ %Stm [ LB = x => $OLB = STOP ] ] ]"));
    EXPECT_NE(process.tree.find("(PROS_DECL_HEADER:PROS_DECL_HEADER IDENT:w (CHIN_DECL:CHIN_DECL INT:INT IDENT:c) "
                                "(CHOUT_DECL:CHOUT_DECL FLOAT:FLOAT IDENT:d))"),
              std::string::npos)
        << process.tree;
    EXPECT_TRUE(process.diags.empty());

    ParseResult procedure = parseProgram(inBlock(
        "%Proc [ w(%Chn/ c(i : NM, *) : Int) == [ %Stm [ LB = x => $OLB = RETURN ] ] ]"));
    ASSERT_FALSE(procedure.diags.empty());
    EXPECT_EQ(procedure.diags[0], (Diag{2, 7, 1, 28, "paramDeclarationPart"}));
}

TEST(UnitDeclarationTest, BodiesEndAsTheirKindRequires)
{
    ParseResult result = parseProgram(inBlock(
        "%Pros [ w( ) == [ %Stm [ LB = x => $OLB = RETURN ] ] ]"));
    ASSERT_EQ(result.diags.size(), 1u);
    EXPECT_EQ(result.records[0].getDetails(), "Mismatched Label RETURN while expecting STOP\n");
}

TEST(UnitDeclarationTest, PackagesAndAgents)
{
    ParseResult result = parseProgram(inBlock(
        "%pack [ k : ] %Agt [ [ a( ) == [ %Stm [ LB = x => $OLB = STOP ] ]; %Pack [ e : %Father [ k ] ] ] ]"));
    EXPECT_NE(result.tree.find("(PERCENT_PACK:%PACK (PACK_DECL:PackDeclaration IDENT:k)) "
                               "(PERCENT_AGT:%Agt (AGENT_DECL:AGENT_DECL IDENT:e (PERCENT_FATHER:%Father IDENT:k) "
                               "(PROS_DECL_HEADER:PROS_DECL_HEADER IDENT:a) (PROS_DECL:PROS_DECL IDENT:a "),
              std::string::npos)
        << result.tree;
    EXPECT_TRUE(result.diags.empty());
}

// Each rule reports its error, skips to its follow set and leaves the tree
// without what it dropped; the sections after it parse as usual.
TEST(UnitDeclarationTest, RulesSkipToTheirFollowSets)
{
    const std::string proc = " == [ %Stm [ LB = y => $OLB = RETURN ] ] ]";
    const std::string pros = " == [ %Stm [ LB = y => $OLB = STOP ] ] ]";
    const std::vector<RecoveryRow> rows = {
        // Parameter groups and channels: a wrong index type drops the channel.
        {"%Proc [ f(%Inp/ a : int; x : int)" + proc, {{2, 7, 1, 43, "paramDeclarationPart"}},
         "(PERCENT_PROC:%Proc (PROC_DECL_HEADER:PROC_DECL_HEADER IDENT:f (INP_DECL:FieldDeclaration INT:INT IDENT:a)) "
         "(PROC_DECL:PROC_DECL IDENT:f (PERCENT_STM"},
        {"%Pros [ w(%Chn/ d(*, j : INT)" + pros, {{2, 7, 1, 43, "chParList"}},
         "(PERCENT_PROS:%Pros (PROS_DECL_HEADER:PROS_DECL_HEADER IDENT:w) (PROS_DECL"},
        {"%Pros [ w(%Chn/ c(i : Int)" + pros, {{2, 7, 1, 40, "chParList"}},
         "(PERCENT_PROS:%Pros (PROS_DECL_HEADER:PROS_DECL_HEADER IDENT:w) (PROS_DECL"},
        {"%Pros [ w(%Chn/ d(*, 5 : nm) : Float)" + pros, {{2, 6, 1, 39, "chParList"}},
         "(PROS_DECL_HEADER:PROS_DECL_HEADER IDENT:w (CHOUT_DECL:CHOUT_DECL FLOAT:FLOAT IDENT:d)) (PROS_DECL"},
        {"%Pros [ w(%Chn/ d : Float)" + pros, {{2, 7, 1, 34, "chParList"}},
         "(PERCENT_PROS:%Pros (PROS_DECL_HEADER:PROS_DECL_HEADER IDENT:w) (PROS_DECL"},
        // Heads: the declaration keeps its root and body whatever the head lost.
        {"%Proc [ f[ )" + proc, {{2, 6, 1, 27, "proDeclarationHead"}, {2, 7, 1, 27, "proDeclarationHead"}},
         "(PERCENT_PROC:%Proc PROC_DECL_HEADER:PROC_DECL_HEADER (PROC_DECL:PROC_DECL IDENT:f (PERCENT_STM"},
        {"%Proc [ 5( )" + proc, {{2, 6, 1, 26, "proDeclarationHead"}},
         "(PERCENT_PROC:%Proc PROC_DECL_HEADER:PROC_DECL_HEADER (PROC_DECL:PROC_DECL (PERCENT_STM"},
        {"%Proc [ f( ) [ %Stm [ LB = y => $OLB = RETURN ] ] ]", {{2, 6, 1, 31, "proDeclarationHead"}},
         "(PERCENT_PROC:%Proc (PROC_DECL_HEADER:PROC_DECL_HEADER IDENT:f) (PROC_DECL:PROC_DECL IDENT:f (PERCENT_STM"},
        // Packages, fathers and agents.
        {"%Pack [ e : x %Pack [ f : ]", {{2, 7, 1, 30, "packageDeclaration"}, {2, 6, 1, 32, "packageDeclaration"}},
         "(PERCENT_PACK:%PACK (PACK_DECL:PackDeclaration IDENT:f)) (PROC_DECL"},
        {"%Pack [ 5 : ]", {{2, 6, 1, 26, "packageDeclaration"}}, "(PERCENT_PACK:%PACK PACK_DECL:PackDeclaration) (PROC_DECL"},
        {"%Pack [ e : %Father [ k, 5 ] ]", {{2, 6, 1, 43, "fatherList"}},
         "(PERCENT_PACK:%PACK (PACK_DECL:PackDeclaration IDENT:e (PERCENT_FATHER:%Father IDENT:k))) (PROC_DECL"},
        // A missing "," ends the father list; the package is skipped.
        {"%Pack [ e : %Father [ k m ; %Pack [ f : ]", {{2, 6, 1, 42, "fatherList"}, {2, 7, 1, 42, "fatherList"}},
         "(PERCENT_PACK:%PACK (PACK_DECL:PackDeclaration IDENT:f)) (PROC_DECL"},
        // An agent whose package failed leaves no tree.
        {"%Agt [ [ a( )" + pros.substr(0, pros.size() - 2) + "; %Pack [ e x ] ]", {{2, 6, 1, 81, "packageDeclaration"}},
         "(MAIN_BLOCK:MainBlock PERCENT_AGT:%Agt (PROC_DECL"},
    };
    expectRecovery(rows, inBlock);
}

TEST(UnitDeclarationTest, WholeProgramMatchesItsTree)
{
    const std::string dir = std::string(QUV_TEST_DATA) + "/parser2/";
    ParseResult result = parseProgram(readFile(dir + "everything.e"));
    EXPECT_EQ(result.dump, readFile(dir + "everything.tree"));
    EXPECT_TRUE(result.diags.empty()) << (result.diags.empty() ? Diag{} : result.diags[0]);
}

}  // namespace
