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
    EXPECT_EQ(QUVException::list()[0].getDetails(), "Mismatched Label RETURN while expecting STOP\n");
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

TEST(UnitDeclarationTest, WholeProgramMatchesItsTree)
{
    const std::string dir = std::string(QUV_TEST_DATA) + "/parser2/";
    ParseResult result = parseProgram(readFile(dir + "everything.e"));
    EXPECT_EQ(result.dump, readFile(dir + "everything.tree"));
    EXPECT_TRUE(result.diags.empty()) << (result.diags.empty() ? Diag{} : result.diags[0]);
}

}  // namespace
