// Whole translations, from a source through "quvdump translate" to the five
// output files, and the generated C++ through g++.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <filesystem>

#include "tool_run.hpp"
#include "walk_helpers.hpp"

namespace {

const std::string kData = std::string(QUV_TEST_DATA) + "/treewalk/";

// The programs of the golden fixtures: %Prog, %DProg and %MProg units with
// constants, shared and local variables of every basic type, nested
// procedures and processes with all four parameter kinds.
const char* const kGoldenPrograms[] = {"prog", "dprog", "mprog"};

TEST(TranslateTest, WholeProgramsGiveTheirFiveFiles)
{
    for (const char* name : kGoldenPrograms) {
        SCOPED_TRACE(name);
        Translation t = translate(name, readFile(kData + name + ".e"));
        const std::string expected = kData + "expected/" + name;
        EXPECT_EQ(t.diagLines, "");
        EXPECT_EQ(t.cpp, readFile(expected + ".cpp"));
        EXPECT_EQ(t.proto, readFile(expected + "Proto.hpp"));
        EXPECT_EQ(t.inner, readFile(expected + "Inner.hpp"));
        EXPECT_EQ(t.err, readFile(expected + ".err"));
        EXPECT_EQ(t.typeset, readFile(expected + "TypeSet.e"));
    }
}

TEST(TranslateTest, GeneratedCppCompiles)
{
    for (const char* name : kGoldenPrograms) {
        SCOPED_TRACE(name);
        Translation t = translate(name, readFile(kData + name + ".e"));
        const std::string command = "g++ -std=gnu++17 -fsyntax-only -I " + std::string(QUV_RUNTIME_DIR) + " " +
                                    t.folder + "/" + name + ".cpp";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
    }
}

std::string inProg(const std::string& sections, const std::string& body = "")
{
    return "%Prog p == [ ] [ " + sections + " [ " + body + " %Stm [ LB = m => $OLB = RETURN ] ] ] .";
}

// Procedures of one name nested in each other, each with a parameter and a
// local: every level gets a frame type of its own and the stack guard stays quiet.
TEST(TranslateTest, DeeplyNestedProceduresCompile)
{
    std::string nested = "%Stm [ LB = s => $OLB = RETURN ]";
    for (int i = 0; i < 40; ++i)
        nested = "%Loc [ v : Int ] %Proc [ f(%Inp/ a : Int) == [ " + nested +
                 " ] ] %Stm [ LB = s => $OLB = RETURN ]";
    Translation t = translate("deep", inProg("", nested.substr(0, nested.rfind(" %Stm"))));
    EXPECT_EQ(t.diagLines, "");
    const std::string command =
        "g++ -std=gnu++17 -fsyntax-only -I " + std::string(QUV_RUNTIME_DIR) + " " + t.folder + "/deep.cpp";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
}

// What each family of declarations puts into the output files.
TEST(TranslateTest, DeclarationsReachTheirEmitters)
{
    struct Row {
        const char* what;
        std::string source;
        std::string Translation::*file;
        std::string piece;
    };
    const std::vector<Row> rows = {
        {"negative integer constant", inProg("%Glob [ c = -7 : Int ]"), &Translation::cpp, "const int _c = -7;\n"},
        {"negative float constant", inProg("%Glob [ c = -0.5 : Float ]"), &Translation::cpp,
         "const float _c = -0.5f;\n"},
        {"string constant", inProg("%Glob [ s = \"a\" : String ]"), &Translation::cpp,
         "const std::string _s = static_cast<std::string>(\"a\");\n"},
        {"logic constant", inProg("%Glob [ t = TT : Logic ]"), &Translation::cpp, "const bool _t = true;\n"},
        {"shared variable", inProg("%Var [ v : Float ]"), &Translation::cpp, "float _v;\n"},
        {"shared variables typeset", inProg("%Var [ a, b : Int ]"), &Translation::typeset,
         "%Var\n[\na : Integer;\nb : Integer\n]"},
        {"local of the main body", inProg("", "%Loc [ n : Nm ]"), &Translation::cpp,
         "CONTROL _n;\nmain_local_type local;\nlocal._p__n = &_n;\n"},
        {"procedure without parameters", inProg("%Proc [ f( ) == [ %Stm [ LB = s => $OLB = RETURN ] ] ]"),
         &Translation::proto, "void _proc_f_0 ( void *father );\n"},
        {"value and reference parameters",
         inProg("%Proc [ f(%Inp/ a : Int; %Iop/ b : String) == [ %Stm [ LB = s => $OLB = RETURN ] ] ]"),
         &Translation::cpp, "void _proc_f_0 ( void *father,int _a,std::string  &_b )\n"},
        {"procedure nested in the main body",
         inProg("", "%Proc [ g( ) == [ %Stm [ LB = s => $OLB = RETURN ] ] ]"), &Translation::proto,
         "void _proc_g_1 ( main_local_type *father );\n"},
        {"channel parameters",
         inProg("%Pros [ q(%Chn/ i(k : NM, *) : Int, o(*, j : NM) : Bool) == [ %Stm [ LB = s => $OLB = STOP ] ] ]"),
         &Translation::proto, "void _pros_q_0 (Channel<int  > *_i,Channel<bool  > *_o);\n"},
        {"process thread function",
         inProg("%Pros [ q(%Inp/ n : Int) == [ %Stm [ LB = s => $OLB = STOP ] ] ]"), &Translation::cpp,
         "typedef int _dt_n;\n_dt_n _d_n{};\ntemp->take(\"n\",_d_n);\n"},
        {"asynchronous program", inProg("Asyn"), &Translation::typeset, "[\nAsyn\n]"},
        {"synchronous by default", inProg(""), &Translation::typeset, "[\nSyn\n]"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Translation t = translate("t", row.source);
        EXPECT_EQ(t.diagLines, "");
        EXPECT_NE((t.*row.file).find(row.piece), std::string::npos) << t.*row.file;
    }
}

// Semantic problems of declarations are reported and the translation goes on.
TEST(TranslateTest, DeclarationProblemsAreReported)
{
    struct Row {
        const char* what;
        std::string source;
        std::string diagLines;
    };
    const std::vector<Row> rows = {
        {"name declared twice", inProg("%Glob [ c = 1 : Int ] %Var [ c : Int ]"), "diag 3 12 1:47 defName\n"},
        // Once by the block, once by the parameter list.
        {"parameter given twice",
         inProg("%Proc [ f(%Inp/ a : Int; %Iop/ a : Int) == [ %Stm [ LB = s => $OLB = RETURN ] ] ]"),
         "diag 3 12 1:49 defName\ndiag 3 15 1:49 defName\n"},
        {"undeclared type name", inProg("%Var [ v : Money ]"), "diag 3 11 1:29 type\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Translation t = translate("t", row.source);
        EXPECT_EQ(t.diagLines, row.diagLines);
        EXPECT_FALSE(t.cpp.empty());
    }
}

TEST(TranslateTest, SyntaxErrorsStillGiveAllFiles)
{
    Translation t = translate("bad", inProg("%Var [ v : Int; ]"));
    ASSERT_NE(t.diagLines, "");
    EXPECT_FALSE(t.cpp.empty());
    EXPECT_FALSE(t.proto.empty());
    EXPECT_FALSE(t.inner.empty());
    EXPECT_FALSE(t.typeset.empty());
    EXPECT_NE(t.err.find("\n\xBE\xDF\xCC\xE5\xD0\xC5\xCF\xA2: "), std::string::npos);
}

TEST(TranslateTest, OutputsAreNamedAfterTheSource)
{
    const TempFolder names("quv_treewalk_");
    const std::string& folder = names.path;
    std::ofstream(folder + "/x.y.e") << inProg("");
    const std::string here = std::filesystem::current_path().string();
    std::filesystem::current_path(folder);
    runQuvdump("translate x.y.e");
    std::filesystem::current_path(here);
    for (const char* file : {"x.y.cpp", "x.yProto.hpp", "x.yInner.hpp", "x.y.err", "x.yTypeSet.e"})
        EXPECT_TRUE(std::filesystem::exists(folder + "/" + file)) << file;
    EXPECT_NE(readFile(folder + "/x.y.cpp").find("#include \"x.yInner.hpp\"\n"), std::string::npos);
}

}  // namespace
