#include <gtest/gtest.h>

#include "compiler/codegen/codegen.hpp"
#include "compiler/core/core.hpp"
#include "test_support.hpp"
#include "tests/support/own_session.hpp"

namespace {

class CodeNamesTest : public ::testing::Test {
protected:
};

TEST_F(CodeNamesTest, IdentifiersAndSnippets) {
    OwnJob job;
    struct Case {
        std::string got;
        std::string want;
    } cases[] = {
        {CodeNames::globalInstance(""), ""},
        {CodeNames::globalInstance("P"), "global_instance_of_P"},
        {CodeNames::globalInstanceDecl(""), ""},
        {CodeNames::globalInstanceDecl("P"), "_class_P global_instance_of_P;\n"},
        {CodeNames::assignment("c", "p"), "_c = p_call"},
        {CodeNames::pointerDeref("_x", ""), "_x"},
        {CodeNames::pointerDeref("_x", "father->"), "*(father->_p__x)"},
        {CodeNames::pointerInit("_x"), "local._p__x = &_x;\n"},
        {CodeNames::pointerDeclaration("_x", job.types().integerType()), "int (* _p__x);\n"},
        {CodeNames::pointerDeclaration("_x", job.types().makeArray(job.types().integerType(), 5)), "int ((* _p__x)[5]);\n"},
        {CodeNames::programKind(0), "%Prog"},
        {CodeNames::programKind(1), "%DProg"},
        {CodeNames::programKind(2), "%MProg"},
        {CodeNames::programKind(3), "error!"},
        {CodeNames::programKind(-1), "error!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want);
}

TEST_F(CodeNamesTest, CountersRunOnAcrossCallsAndJobsOfOneSession) {
    CompileSession session;
    JobState job(session);
    GeneratorNumbering& numbering = job.numbering;
    EXPECT_EQ(&numbering, &session.numbering);
    EXPECT_EQ(CodeNames::procName(numbering, "f"), "_proc_f_0");
    EXPECT_EQ(CodeNames::procName(numbering, "f"), "_proc_f_1");
    EXPECT_EQ(CodeNames::prosName(numbering, "p"), "_pros_p_0");
    EXPECT_EQ(CodeNames::nextTemp(job), "_next_temp_1");
    EXPECT_EQ(CodeNames::nextTemp(job), "_next_temp_2");
    EXPECT_EQ(CodeNames::dptName(job, "p"), "p_dpt1");
    EXPECT_EQ(CodeNames::dptName(job, "q"), "q_dpt2");
    EXPECT_EQ(CodeNames::instanceParamType(job, "p"), "p_instance_param_type1");
    // A second program of the same job, and a second job of the same
    // session, go on counting.
    CodeNames::beginProgram(job);
    EXPECT_EQ(CodeNames::procName(job.numbering, "f"), "_proc_f_2");
    EXPECT_EQ(CodeNames::nextTemp(job), "_next_temp_3");
    JobState second(session);
    EXPECT_EQ(CodeNames::procName(second.numbering, "f"), "_proc_f_3");
    EXPECT_EQ(CodeNames::prosName(second.numbering, "p"), "_pros_p_1");
    EXPECT_EQ(CodeNames::nextTemp(second), "_next_temp_4");
    EXPECT_EQ(CodeNames::dptName(second, "p"), "p_dpt3");
    EXPECT_EQ(CodeNames::instanceParamType(second, "p"), "p_instance_param_type2");
    // A job of a new session starts afresh.
    OwnJob fresh;
    EXPECT_EQ(CodeNames::procName(fresh.numbering, "f"), "_proc_f_0");
    EXPECT_EQ(CodeNames::nextTemp(fresh), "_next_temp_1");
}

TEST_F(CodeNamesTest, JobOfItsOwnSessionCountsApart) {
    CompileSession own, common;
    JobState separate(own);
    JobState shared(common);
    EXPECT_EQ(CodeNames::procName(shared.numbering, "f"), "_proc_f_0");
    EXPECT_EQ(CodeNames::procName(shared.numbering, "f"), "_proc_f_1");
    EXPECT_EQ(CodeNames::procName(separate.numbering, "f"), "_proc_f_0");
    EXPECT_EQ(CodeNames::nextTemp(separate), "_next_temp_1");
    EXPECT_EQ(CodeNames::nextTemp(shared), "_next_temp_1");
    EXPECT_EQ(CodeNames::nextTemp(separate), "_next_temp_2");
    EXPECT_EQ(own.numbering.procedure, 1);
    EXPECT_EQ(common.numbering.procedure, 2);
}

TEST_F(CodeNamesTest, TempsAvoidReservedVariablesOfTheProgramOnly) {
    CompileSession session;
    JobState job(session);
    CodeNames::reserveVariable(job, "_next_temp_1");
    CodeNames::reserveVariable(job, "_x");
    EXPECT_EQ(CodeNames::nextTemp(job), "_next_temp_1_2");
    EXPECT_EQ(CodeNames::nextTemp(job), "_next_temp_2");
    // Another job's program has variables of its own.
    JobState other(session);
    CodeNames::reserveVariable(other, "_next_temp_3");
    EXPECT_EQ(CodeNames::nextTemp(job), "_next_temp_3");
    EXPECT_EQ(CodeNames::nextTemp(other), "_next_temp_4");
    // A new program forgets them.
    session.numbering = GeneratorNumbering();
    CodeNames::beginProgram(job);
    EXPECT_EQ(CodeNames::nextTemp(job), "_next_temp_1");
}

TEST_F(CodeNamesTest, ChannelCallsFollowTheStyleAtEachCall) {
    DriverScope scope;
    // A new job is synchronous.
    EXPECT_TRUE(scope.driver.isSynchronous());
    EXPECT_EQ(CodeNames::channelStyle(scope.driver), "Syn");
    struct Case {
        bool synchronous;
        std::string recv, send, canSend, canRecv, style;
    } cases[] = {
        {true, "c->syn_recv(&v)", "c->syn_send(v)", "_c->syn_can_send()", "_c->syn_can_recv()", "Syn"},
        {false, "c->asyn_recv(&v)", "c->asyn_send(v)", "_c->asyn_can_send()", "_c->asyn_can_recv()", "Asyn"},
        {true, "c->syn_recv(&v)", "c->syn_send(v)", "_c->syn_can_send()", "_c->syn_can_recv()", "Syn"},
    };
    OwnJob other;
    for (const Case& c : cases) {
        scope.driver.setSynchronous(c.synchronous);
        EXPECT_EQ(scope.driver.isSynchronous(), c.synchronous);
        EXPECT_EQ(CodeNames::channelRecv(scope.driver, "c", "v"), c.recv);
        EXPECT_EQ(CodeNames::channelSend(scope.driver, "c", "v"), c.send);
        EXPECT_EQ(CodeNames::channelCanSend(scope.driver, "c"), c.canSend);
        EXPECT_EQ(CodeNames::channelCanRecv(scope.driver, "c"), c.canRecv);
        EXPECT_EQ(CodeNames::channelStyle(scope.driver), c.style);
        // The style is the job's own.
        EXPECT_EQ(CodeNames::channelStyle(other), "Syn");
    }
    // A new program starts synchronous again.
    scope.driver.setSynchronous(false);
    CodeNames::beginProgram(scope.driver);
    EXPECT_TRUE(scope.driver.isSynchronous());
}

TEST_F(CodeNamesTest, TopFragmentStartsWithNoProgram) {
    TopFragment top;
    EXPECT_EQ(top.programKind, -1);
    EXPECT_FALSE(top.hasProgram());
}

TEST_F(CodeNamesTest, ControlWordsAndKindNames) {
    struct Case {
        const char* word;
        int kind;
    } words[] = {{"", 1}, {"next", 1}, {"exit", 2}, {"stop", 3}, {"return", 4}, {"Next", 0}, {"L1", 0}};
    for (const Case& c : words)
        EXPECT_EQ(CodeNames::controlWordKind(c.word), c.kind) << c.word;
    EXPECT_EQ(CodeNames::refKindName(7), gbkBytes("控制变量"));
    EXPECT_EQ(CodeNames::defKindName(13), gbkBytes("地址引用参数"));
}

TEST_F(CodeNamesTest, ThreadDeclarationsKeepEachUndeclaredProcessOnce) {
    OwnJob job;
    EXPECT_EQ(CodeNames::threadDeclarations(job, "", 0), "");
    EXPECT_EQ(CodeNames::threadDeclarations(job, "P", 0), "");
    CodeNames::threadDeclarations(job, "P", 0);
    CodeNames::threadDeclarations(job, "Q", 0);
    CodeNames::threadDeclarations(job, "R", 0);
    EXPECT_EQ(CodeNames::threadDeclarations(job, "", 0),
              "void P_call(void *params);\nvoid Q_call(void *params);\nvoid R_call(void *params);\n");
    CodeNames::threadDeclarations(job, "Q", 1);
    CodeNames::threadDeclarations(job, "X", 1);
    EXPECT_EQ(CodeNames::threadDeclarations(job, "", 1), "void P_call(void *params);\nvoid R_call(void *params);\n");
    EXPECT_EQ(CodeNames::threadDeclarations(job, "", 0), CodeNames::threadDeclarations(job, "", 1));
    // They are the program's: another job has none, a new program forgets them.
    OwnJob other;
    EXPECT_EQ(CodeNames::threadDeclarations(other, "", 0), "");
    CodeNames::beginProgram(job);
    EXPECT_EQ(CodeNames::threadDeclarations(job, "", 0), "");
}

}  // namespace
