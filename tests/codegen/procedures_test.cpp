#include <gtest/gtest.h>

#include "fragment_support.hpp"
#include "test_support.hpp"
#include "tests/support/own_session.hpp"

namespace {

class ProceduresTest : public ::testing::Test {
protected:
    OwnJob job;
    Program program{job};
    Type* I = job.types().integerType();
};

TEST_F(ProceduresTest, ProcedureHeadsPassTheFatherFrameFirst) {
    ProNode* q = program.procedure("q");
    ProNode* plain = program.procedure("f");
    ProNode* withParams = program.procedure("g");
    program.param(withParams, "a", DEF_VALUE_PARAM, I);
    program.param(withParams, "b", DEF_REF_PARAM, I);
    ProNode* nested = program.procedure("h", q);
    struct Case {
        const char* what;
        ProNode* node;
        std::string pack;
        std::string qualifier;
        std::string tail;
        std::string typeset;
    } cases[] = {
        {"no parameters", plain, "", "", " ( void *father )", "f()"},
        {"parameters", withParams, "", "", " ( void *father,int _a,int  &_b )",
         "g(%Pack\n[\n%INP/ a : Integer;\n%IOP/ b : Integer)"},
        {"in a package", plain, "K", "_class_K::", " ( void *father )", "f()"},
        {"nested", nested, "", "", " ( q_local_type *father )", "h()"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SectionFragment params = paramSection(job, c.node);
        Filled<> head("old");
        codegen::createProcHead(job, head, c.node, c.node->getName(), &params, c.pack);
        std::string cpp = c.node->getCppName();
        EXPECT_EQ(textsOf(head), (Texts{c.typeset, "void " + c.qualifier + cpp + c.tail, "", "void " + cpp + c.tail}));
    }
}

TEST_F(ProceduresTest, ProcessHeadHasNoFatherAndKeepsTypesetAndInnerTexts) {
    ProNode* p = program.process("p");
    program.param(p, "a", DEF_VALUE_PARAM, I);
    SectionFragment params = paramSection(job, p);
    Filled<> head("old");
    codegen::createProsHead(job, head, p, "p", &params, "K");
    std::string cpp = p->getCppName();
    EXPECT_EQ(textsOf(head), (Texts{"old0", "void _class_K::" + cpp + " (int _a)", "old2", "void " + cpp + " (int _a);\n"}));
}

TEST_F(ProceduresTest, MainBodyFrameAndTheEntryAfterItsNestedProcedures) {
    ProNode* main = program.mainBody();
    Filled<SectionFragment> locals("L"), procs("P");
    Filled<> body("B");
    CodeFragment frame;
    codegen::createFrameStruct(job, frame, main, "$Main", "", "", &locals, &procs, &body);
    EXPECT_EQ(textsOf(frame), (Texts{"\n[\nL0P0B0\n]\n",
                                     "\n{\nL1main_local_type local;\nL3local.father=NULL;;\n"
                                     "[&]()\n{\nB1\n}\n();\n\n}\n",
                                     "P2B2",
                                     "typedef struct \n{\nL2void *father;\n}\nmain_local_type;\nP3B3"}));
    CodeFragment e, unit;
    codegen::createMain(job, unit, &e, &e, &e, &e, &e, &e, &e, &frame);
    EXPECT_EQ(unit.getCode(), "P1int main()" + frame.getCode());
    codegen::createMMain(job, unit, &e, &e, &e, &frame);
    EXPECT_EQ(unit.getCode(), "P1int  main()" + frame.getCode());
}

// A nested procedure reaches its enclosing procedure's parameters through the
// father frame, as it reaches the locals.
TEST_F(ProceduresTest, ProcedureFramePointsAtParametersAndLocals) {
    ProNode* q = program.procedure("q");
    ProNode* f = program.procedure("f", q);
    program.param(f, "a", DEF_VALUE_PARAM, I);
    program.param(f, "r", DEF_REF_PARAM, job.types().makeArray(I, 3));
    program.param(f, "c", DEF_INPUT_CHANNEL, job.types().makeChannel(I, true));
    Filled<SectionFragment> locals("L"), procs("P");
    Filled<> body("B");
    CodeFragment frame;
    codegen::createFrameStruct(job, frame, f, "f", "HT", "HC", &locals, &procs, &body);
    EXPECT_EQ(textsOf(frame),
              (Texts{"HT\n[\nL0P0B0\n]\n",
                     "P1HC\n{\nL1f_q_local_type local;\nlocal._p__a = &_a;\nlocal._p__r = &_r;\nlocal._p__c = &_c;\n"
                     "L3local.father = father;\nB1\n}\n",
                     "P2B2",
                     "typedef struct \n{\nint (* _p__a);\nint ((* _p__r)[3]);\nChannel<int  > *(* _p__c);\n"
                     "L2q_local_type *father;\n}\nf_q_local_type;\nP3B3"}));
}

TEST_F(ProceduresTest, ProcessFrameHasNoFather) {
    ProNode* p = program.process("p");
    program.param(p, "a", DEF_VALUE_PARAM, I);
    Filled<SectionFragment> locals("L"), procs("P");
    Filled<> body("B");
    CodeFragment frame;
    codegen::createFrameDecl(job, frame, p, "p", "HT", "HC", &locals, &procs, &body);
    EXPECT_EQ(textsOf(frame), (Texts{"HT\n[\nL0P0B0\n]\n", "P1HC\n{\nL1p_local_type local;\nL3;\nB1\n}\n", "P2B2",
                                     "typedef struct \n{\nL2\n}\np_local_type;\nP3B3"}));
}

TEST_F(ProceduresTest, FrameOfANodeThatIsNoProcedureIsAnInternalFailure) {
    DriverScope scope;
    CodeFragment e, frame;
    try {
        codegen::createFrameStruct(job, frame, program.root(), "x", "", "", &e, &e, &e);
        ADD_FAILURE() << "nothing thrown";
    } catch (const QUVRunTimeException& failure) {
        EXPECT_EQ(failure.getDetails(), "not a procedure or process node in function CodeFragment::createFrameStruct()");
    }
}

TEST_F(ProceduresTest, ThreadFunctionOfAProcessWithoutFormals) {
    ProNode* p = program.process("p");
    std::string cpp = p->getCppName();
    Filled<> f("old");
    codegen::createProsBody(job, f, p, "");
    std::string call = cpp + "(\n);\n";
    EXPECT_EQ(textsOf(f),
              (Texts{"",
                     "void p_call(void * params) \n{\n"
                     "quv_runtime::ProcessBlock *temp = (quv_runtime::ProcessBlock*) params;\n"
                     "if (temp->timer_interval==0)\n{\n" + call + "\n}\n"
                     "else\n{\nwhile (true)\n{\n" + call + "quv_runtime::sleep(temp->timer_interval);\n\n}\n\n}\n"
                     "temp->finish();\n_endthread();\n\n}\n",
                     "void p_call(void * params) ;\n",
                     "old3"}));
}

// Each formal takes its actual by name from the run-time block, so the
// starter's order and number of actuals never move what the thread reads.
TEST_F(ProceduresTest, ThreadFunctionTakesEachFormalByName) {
    ProNode* p = program.process("p");
    Type* in = job.types().makeChannel(I, true);
    Type* out = job.types().makeChannel(I, false);
    program.param(p, "a", DEF_INPUT_CHANNEL, in);
    program.param(p, "b", DEF_VALUE_PARAM, I);
    program.param(p, "c", DEF_OUTPUT_CHANNEL, out);
    program.param(p, "d", DEF_OUTPUT_CHANNEL, out);
    program.param(p, "r", DEF_REF_PARAM, job.types().makeArray(I, 3));
    CodeFragment f;
    codegen::createProsBody(job, f, p, "K");
    EXPECT_EQ(f.getInnerTypes(), "void p_call(void * params) ;\n");
    const std::string code = f.getCode();
    const struct {
        const char* what;
        std::string text;
    } markers[] = {
        {"value", "typedef int _dt_b;\n_dt_b _d_b{};\ntemp->take(\"b\",_d_b);\n"},
        {"reference",
         "typedef int (_dt_r[3]);\n_dt_r _do_r{};\n_dt_r& _d_r = temp->ref(\"r\",_do_r);\n"},
        {"creations before the wait",
         "_dt_c _d_c = temp->create_channel<_dt_c>(\"c\");\ntypedef Channel<int  > *_dt_d;\n"
         "_dt_d _d_d = temp->create_channel<_dt_d>(\"d\");\ntypedef Channel<int  > *_dt_a;\n"
         "_dt_a _d_a = temp->await_channel<_dt_a>(\"a\");\nif (temp->timer_interval==0)"},
        {"call through the package instance",
         "==0)\n{\n_class_K global_instance_of_K;\nglobal_instance_of_K." + p->getCppName() +
             "(\n_d_a,_d_b,_d_c,_d_d,_d_r);\n\n}\n"},
        {"periodic call", "_d_r);\nquv_runtime::sleep(temp->timer_interval);"},
        {"end", "temp->finish();\n_endthread();"},
    };
    for (const auto& m : markers)
        EXPECT_NE(code.find(m.text), std::string::npos) << m.what << "\n" << code;
}

}  // namespace
