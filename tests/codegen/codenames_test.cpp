#include <gtest/gtest.h>

#include "compiler/codegen/codegen.hpp"
#include "compiler/core/core.hpp"
#include "test_support.hpp"

namespace {

class CodeNamesTest : public ::testing::Test {
protected:
    void SetUp() override { CodeNames::resetForTesting(); }
    void TearDown() override { CodeNames::resetForTesting(); }
};

TEST_F(CodeNamesTest, IdentifiersAndSnippets) {
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
        {CodeNames::pointerDeclaration("_x", Type::integerType), "int (* _p__x);\n"},
        {CodeNames::pointerDeclaration("_x", Type::makeArray(Type::integerType, 5)), "int ((* _p__x)[5]);\n"},
        {CodeNames::programKind(0), "%Prog"},
        {CodeNames::programKind(1), "%DProg"},
        {CodeNames::programKind(2), "%MProg"},
        {CodeNames::programKind(3), "error!"},
        {CodeNames::programKind(-1), "error!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.got, c.want);
}

TEST_F(CodeNamesTest, CountersRunOnAcrossCallsUntilReset) {
    EXPECT_EQ(CodeNames::procName("f"), "_proc_f_0");
    EXPECT_EQ(CodeNames::procName("f"), "_proc_f_1");
    EXPECT_EQ(CodeNames::prosName("p"), "_pros_p_0");
    EXPECT_EQ(CodeNames::nextTemp(), "_next_temp_1");
    EXPECT_EQ(CodeNames::nextTemp(), "_next_temp_2");
    EXPECT_EQ(CodeNames::dptName("p"), "p_dpt1");
    EXPECT_EQ(CodeNames::dptName("q"), "q_dpt2");
    EXPECT_EQ(CodeNames::instanceParamType("p"), "p_instance_param_type1");
    // A second program in the same run goes on counting.
    TopFragment second;
    EXPECT_EQ(CodeNames::procName("f"), "_proc_f_2");
    CodeNames::resetForTesting();
    EXPECT_EQ(CodeNames::procName("f"), "_proc_f_0");
    EXPECT_EQ(CodeNames::nextTemp(), "_next_temp_1");
}

TEST_F(CodeNamesTest, ChannelCallsFollowTheStyleAtEachCall) {
    // Without a driver the style reads as synchronous.
    EXPECT_EQ(CodeNames::channelStyle(), "Syn");
    DriverScope scope;
    TopFragment top;
    scope.driver.setProgramState(&top);
    EXPECT_TRUE(scope.driver.isSynchronous());
    struct Case {
        bool synchronous;
        std::string recv, send, canSend, canRecv, style;
    } cases[] = {
        {true, "c->syn_recv(&v)", "c->syn_send(v)", "_c->syn_can_send()", "_c->syn_can_recv()", "Syn"},
        {false, "c->asyn_recv(&v)", "c->asyn_send(v)", "_c->asyn_can_send()", "_c->asyn_can_recv()", "Asyn"},
        {true, "c->syn_recv(&v)", "c->syn_send(v)", "_c->syn_can_send()", "_c->syn_can_recv()", "Syn"},
    };
    for (const Case& c : cases) {
        scope.driver.setSynchronous(c.synchronous);
        EXPECT_EQ(top.synchronous, c.synchronous);
        EXPECT_EQ(CodeNames::channelRecv("c", "v"), c.recv);
        EXPECT_EQ(CodeNames::channelSend("c", "v"), c.send);
        EXPECT_EQ(CodeNames::channelCanSend("c"), c.canSend);
        EXPECT_EQ(CodeNames::channelCanRecv("c"), c.canRecv);
        EXPECT_EQ(CodeNames::channelStyle(), c.style);
    }
}

TEST_F(CodeNamesTest, TopFragmentStartsWithNoProgramAndSynchronous) {
    TopFragment top;
    EXPECT_EQ(top.programKind, -1);
    EXPECT_TRUE(top.synchronous);
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
    EXPECT_EQ(CodeNames::threadDeclarations("", 0), "");
    EXPECT_EQ(CodeNames::threadDeclarations("P", 0), "");
    CodeNames::threadDeclarations("P", 0);
    CodeNames::threadDeclarations("Q", 0);
    CodeNames::threadDeclarations("R", 0);
    EXPECT_EQ(CodeNames::threadDeclarations("", 0),
              "void P_call(void *params);\nvoid Q_call(void *params);\nvoid R_call(void *params);\n");
    CodeNames::threadDeclarations("Q", 1);
    CodeNames::threadDeclarations("X", 1);
    EXPECT_EQ(CodeNames::threadDeclarations("", 1), "void P_call(void *params);\nvoid R_call(void *params);\n");
    EXPECT_EQ(CodeNames::threadDeclarations("", 0), CodeNames::threadDeclarations("", 1));
}

}  // namespace
