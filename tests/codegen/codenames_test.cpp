#include <gtest/gtest.h>

#include <cctype>
#include <map>
#include <set>

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

// Only a name that begins with a whole prefix word (its "_" too), with a
// capital letter, or that is a whole library or system name is escaped: any
// other keeps its C++ name of old.
TEST_F(CodeNamesTest, OnlyNamesThatCouldMeetAGeneratedOneAreEscaped) {
    const std::pair<const char*, const char*> cases[] = {
        {"t", "_t"},         {"tx", "_tx"},           {"next_x", "_next_x"}, {"x_t_", "_x_t_"},
        {"lower", "_lower"}, {"t_cell", "_u_t_cell"}, {"u_x", "_u_u_x"},     {"Limit", "_u_Limit"},
        {"start", "_u_start"}, {"started", "_started"},
    };
    for (const auto& [name, cpp] : cases)
        EXPECT_EQ(CodeNames::varName(name), cpp) << name;
}

// Every kind of name made from a user's name, over names that begin with
// every prefix the generator uses: no two names that can be seen in one
// place are one C++ name, none is a name of the run-time library or of the
// generated program's own, and none is one C++ reserves ("_" and a capital
// letter, or "__"). The names of a file are seen everywhere; the locals of a
// process's thread function, the start blocks of a parallel statement, the
// fields of a record and the labels each meet only those and each other.
TEST_F(CodeNamesTest, EveryKindOfGeneratedNameIsOneToOne) {
    CompileSession session;
    JobState job(session);
    const std::vector<std::string> users = {
        "x",       "cell",     "t_cell",    "u_t_cell", "Cell",      "u_Cell",   "f_x",      "class_pk", "pk",
        "l_A",     "A",        "proc_f_0",  "f",        "pros_w_0",  "w",        "next_temp_1", "next_temp_0",
        "d_x",     "dt_x",     "do_x",      "t_x",      "o_x",       "p_x",      "i_x",      "u_x",      "u",
        "x_call",  "x_ip",     "x_local_type", "ch_a",  "global_instance_of_x", "beginthread", "endthread",
        "tolower", "toupper",  "GNU_SOURCE", "LP64",    "Complex",   "t",        "d",        "class",
        "start",   "u_start",
    };
    const std::set<std::string> taken = {"_beginthread", "_endthread", "_tolower", "_toupper", "main",
                                         "local",        "father",     "temp",     "params",   "quv_runtime"};
    enum Scope { File, Thread, Block, Fields, Labels };
    struct Made {
        Scope scope;
        std::string what;
    };
    std::map<std::string, std::vector<Made>> made;  // C++ name -> what it was made from
    auto add = [&](Scope scope, const std::string& kind, const std::string& user, const std::string& cpp) {
        for (const Made& other : made[cpp])
            EXPECT_FALSE(other.scope == scope || other.scope == File || scope == File)
                << cpp << ": " << kind << " " << user << " and " << other.what;
        made[cpp].push_back({scope, kind + " " + user});
        EXPECT_EQ(taken.count(cpp), 0u) << cpp;
        EXPECT_FALSE(cpp.size() > 1 && cpp[0] == '_' && std::isupper(static_cast<unsigned char>(cpp[1]))) << cpp;
        EXPECT_NE(cpp.compare(0, 2, "__"), 0) << cpp;
    };
    for (int i = 0; i < 3; ++i)
        add(File, "temporary", "", CodeNames::nextTemp(job));
    for (const std::string& n : users) {
        add(File, "variable", n, CodeNames::varName(n));
        add(File, "type", n, CodeNames::typeName(n));
        add(File, "package", n, CodeNames::className(n));
        add(File, "procedure", n, CodeNames::procName(job.numbering, n));
        add(File, "process", n, CodeNames::prosName(job.numbering, n));
        add(File, "thread", n, CodeNames::callName(n));
        add(Thread, "formal", n, CodeNames::dName(n));
        add(Thread, "formal type", n, CodeNames::dtName(n));
        add(Thread, "formal holder", n, CodeNames::doName(n));
        add(Thread, "instance", n, CodeNames::globalInstance(n));
        add(Block, "start block", n, CodeNames::instanceParamName(n));
        for (const char* peer : {"a", "ip", "call", "b_c"})
            add(Block, "channel link", n + " " + peer, CodeNames::channelName(n, peer));
        add(Fields, "field", n, CodeNames::fieldName(n));
        add(Labels, "label", n, CodeNames::labelName(n));
    }
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
