#include <gtest/gtest.h>

#include "compiler/codegen/emit_support.hpp"
#include "fragment_support.hpp"
#include "test_support.hpp"
#include "tests/support/own_session.hpp"

namespace {

class SectionsTest : public ::testing::Test {
protected:
    // A new program: no record or union of an earlier test waits for its definition.
    TopFragment program;
    OwnJob job;
};

TEST_F(SectionsTest, KeywordSectionsOpenWithTheFirstItemAndSeparateLaterOnes) {
    struct Case {
        void (*emit)(JobState&, SectionFragment&, const CodeFragment*);
        const char* keyword;
    } cases[] = {
        {&codegen::createGlobSection, "%Glob"}, {&codegen::createVarSection, "%Var"},
        {&codegen::createLocSection, "%Loc"},   {&codegen::createProcSection, "%Proc"},
        {&codegen::createProsSection, "%Pros"}, {&codegen::createPackSection, "%Pack"},
        {&codegen::createAgtSection, "%AGT"},
    };
    Filled<> a("a"), b("b");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.keyword);
        SectionFragment s;
        c.emit(job, s, &a);
        EXPECT_EQ(textsOf(s), (Texts{std::string(c.keyword) + "\n[\na0", "a1", "a2", "a3"}));
        c.emit(job, s, &b);
        EXPECT_EQ(textsOf(s), (Texts{std::string(c.keyword) + "\n[\na0;\nb0", "a1b1", "a2b2", "a3b3"}));
        EXPECT_EQ(s.count, 2);
    }
}

TEST_F(SectionsTest, TypeSectionMovesTheTypedefsIntoThePrototypes) {
    Filled<> a("a"), b("b");
    SectionFragment s;
    codegen::createTypeSection(job, s, &a);
    codegen::createTypeSection(job, s, &b);
    EXPECT_EQ(textsOf(s), (Texts{"%TYPE\n[\na0;\nb0", "", "", "a1b1"}));
    EXPECT_EQ(s.count, 2);
}

TEST_F(SectionsTest, ParameterListsSeparateTheirDeclarationsByCommas) {
    struct Case {
        int items;
        Texts want;
    } cases[] = {
        {0, {"", "", "", ""}},
        {1, {"%Pack\n[\np0", "p1", "p2", "p3"}},
        {3, {"%Pack\n[\np0;\np0;\np0", "p1,p1,p1", "p2p2p2", "p3p3p3"}},
    };
    Filled<> p("p");
    for (const Case& c : cases) {
        SectionFragment s;
        for (int i = 0; i < c.items; ++i)
            codegen::createParamSection(job, s, &p);
        EXPECT_EQ(textsOf(s), c.want) << c.items;
        EXPECT_EQ(s.count, c.items);
    }
}

TEST_F(SectionsTest, HeadsWithoutBodyAddOnlyDeclarations) {
    Filled<> head("h"), body("b");
    SectionFragment procs;
    codegen::appendProc(job, procs, &head);
    codegen::createProcSection(job, procs, &body);
    EXPECT_EQ(textsOf(procs), (Texts{"%Proc\n[\nb0", "b1", "b2", "h3;\nb3"}));

    // A process head brings its thread function and the parameter block type it needs.
    SectionFragment pros;
    codegen::appendPros(job, pros, &head);
    EXPECT_EQ(textsOf(pros), (Texts{"", "h1", "h2", "h3;\n"}));
    EXPECT_EQ(pros.count, 0);
}

TEST_F(SectionsTest, DerivationListsTheBasesAndKeepsTheFathers) {
    ProgNode root("prog", DEF_PROGRAM, 1, 1, nullptr);
    auto a = root.add<PackNode>("A", DEF_PACKAGE, 1, 1);
    auto v = root.add<VarNode>(job, "v", DEF_LOCAL, 1, 1);
    DerivationFragment d;
    codegen::createDerivation(job, d, "A", a);
    EXPECT_EQ(d.getCode(), ": public _class_A");
    codegen::createDerivation(job, d, "B", nullptr);
    codegen::createDerivation(job, d, "v", v);
    EXPECT_EQ(textsOf(d), (Texts{"ABv", ": public _class_A,_class_B,_class_v", "", ""}));
    EXPECT_EQ(d.baseNames, (std::vector<std::string>{"A", "B", "v"}));
    EXPECT_EQ(d.fathers, (std::vector<BlockNode*>{a}));
}

TEST_F(SectionsTest, UnitsAssembleTheirPartsColumnByColumn) {
    DriverScope scope;
    scope.driver.setSynchronous(false);
    Filled<> T("T"), G("G"), V("V"), P("P"), S("S"), K("K"), A("A"), M("M");
    const std::string OB = "\n[\n", CB = "\n]\n";

    CodeFragment main;
    codegen::createMain(scope.driver, main, &T, &G, &V, &P, &S, &K, &A, &M);
    EXPECT_EQ(textsOf(main),
              (Texts{OB + "Asyn" + "T0" + CB + "G0" + CB + "V0" + CB + "P0" + CB + "S0" + CB + "K0" + CB + "A0" + CB +
                         OB + CB + "M0" + CB + CB + CB + CB + CB,
                     "T1G1V1P1S1K1A1int main()M1", "T2G2V2P2S2K2A2M2", "T3G3V3P3S3K3A3M3"}));

    CodeFragment dmain;
    codegen::createDMain(scope.driver, dmain, &T, &G, &V, &P, &S, &K, &A);
    EXPECT_EQ(textsOf(dmain),
              (Texts{OB + "Asyn" + "T0" + CB + "G0" + CB + "V0" + CB + "P0" + CB + "S0" + CB + "K0" + CB + "A0" + CB +
                         CB,
                     "T1G1V1P1S1K1A1", "T2G2V2P2S2K2A2", "T3G3V3P3S3K3A3"}));

    CodeNames::threadDeclarations(scope.driver, "Q", 0);
    CodeFragment mmain;
    codegen::createMMain(scope.driver, mmain, &T, &G, &V, &M);
    EXPECT_EQ(textsOf(mmain), (Texts{OB + "T0" + CB + "G0" + CB + "V0" + CB + OB + "M0" + CB + CB + CB,
                                     "T1G1V1int  main()M1", "T2G2V2M2void Q_call(void *params);\n", "T3G3V3M3"}));
}

TEST_F(SectionsTest, EmptyPartsStillCloseTheirBrackets) {
    CodeFragment e;
    CodeFragment main;
    codegen::createMain(job, main, &e, &e, &e, &e, &e, &e, &e, &e);
    EXPECT_EQ(main.getTypeset().substr(0, 11), "\n[\nSyn\n]\n\n]");
    EXPECT_EQ(main.getCode(), "int main()");
    EXPECT_EQ(main.getPrototypes(), "");
}

// Each record or union of the program is defined once, before the first text
// that names it: in the type part before the typedef that uses it, the others
// right after the type part.
TEST_F(SectionsTest, RecordDefinitionsPrecedeTheirUses) {
    Type* I = job.types().integerType();
    Type* inner = makeRecordOf(job, {{"a", I}});
    Type* outer = makeRecordOf(job, {{"in", inner}});
    SectionFragment types;
    Filled<> typedefItem(Texts{"T = ...", "typedef " + outer->getCppBase() + " _t_T;\n", "", ""});
    codegen::createTypeSection(job, types, &typedefItem);
    auto equality = [](const Type* t) {
        return emit::recordEquality(t->getCppBase(), static_cast<const RecordType*>(t));
    };
    std::string innerDef = "struct " + inner->getCppBase() + "\n{\nint _f_a;\n}\n;\n" + equality(inner);
    std::string outerDef =
        "struct " + outer->getCppBase() + "\n{\n" + inner->getCppBase() + " _f_in;\n}\n;\n" + equality(outer);
    EXPECT_EQ(types.getPrototypes(), innerDef + outerDef + typedefItem.getCode());

    Type* local = makeUnionOf(job, {{"u", job.types().makeNamed(job, I, "T2")}});
    makeRecordOf(job, {{"a", I}});  // already defined above
    Filled<> G("G"), e;
    CodeFragment main;
    codegen::createMain(job, main, &types, &G, &e, &e, &e, &e, &e, &e);
    EXPECT_EQ(main.getPrototypes(),
              types.getPrototypes() + "union " + local->getCppBase() + "\n{\n_t_T2 _f_u;\n}\n;\n" + equality(local) + "G3");
}

}  // namespace
