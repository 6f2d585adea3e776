// The seven assignment equation forms: evaluation text, commit text and the
// typing rule each applies, silent when the types agree.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "fragment_support.hpp"
#include "test_support.hpp"

namespace {

class Equations : public ::testing::Test {
protected:
    DriverScope scope;
    JobState& job = scope.driver;
    TopFragment program;
    Program symbols{job};
    Type* I = job.types().integerType();
    Type* S = job.types().stringType();
    Type* arr = job.types().makeArray(job.types().integerType(), 3);

    VarNode* node(const std::string& name, int kind, Type* t) {
        auto v = symbols.root()->add<VarNode>(job, name, kind, 1, 1);
        v->setType(t);
        return v;
    }
};

struct EquationCase {
    const char* what;
    std::function<std::unique_ptr<AssignmentEquation>()> make;
    const char* typeset;
    const char* code;
    const char* commit;
    const char* diagnostic;  // the beginning of the one diagnostic, or empty for none
};

TEST_F(Equations, EachFormEvaluatesThenCommits) {
    Expression x("x", I, DEF_LOCAL), a("a", arr, DEF_LOCAL), s("s", S, DEF_LOCAL);
    OperatorExpression plus("x + 1", "(_x + 1)", I), b("b", "_b", arr), text("t", "_t", S);
    VarNode* in = node("c", DEF_INPUT_CHANNEL, job.types().makeChannel(I, true));
    VarNode* out = node("o", DEF_OUTPUT_CHANNEL, job.types().makeChannel(I, false));
    VarNode* control = node("k", DEF_CONTROL, job.types().nmType());
    VarNode* plain = node("n", DEF_LOCAL, I);
    const std::vector<EquationCase> cases = {
        {"assignment", [&] { return codegen::createAssignEquation(job, &x, &plus); }, "$Ox = x + 1",
         "int _next_temp_1;\n_next_temp_1 = (_x + 1);\n", "_x = _next_temp_1;\n", ""},
        {"assignment of another type, still emitted", [&] { return codegen::createAssignEquation(job, &x, &text); }, "$Ox = t",
         "int _next_temp_1;\n_next_temp_1 = _t;\n", "_x = _next_temp_1;\n", "illegal op: = with left"},
        // C++ cannot assign arrays: both copies go through the run-time header.
        {"whole array", [&] { return codegen::createAssignEquation(job, &a, &b); }, "$Oa = b",
         "int (_next_temp_1[3]);\nquv_assign(_next_temp_1, _b);\n", "quv_assign(_a, _next_temp_1);\n", ""},
        {"receive", [&] { return codegen::createReceiveEquation(job, in, &x); }, "$Oc?x",
         "int _next_temp_1;\n_next_temp_1 = _x;\n_c->syn_recv(&_next_temp_1);\n", "_x = _next_temp_1;\n", ""},
        {"receive into another type", [&] { return codegen::createReceiveEquation(job, in, &s); }, "$Oc?s",
         "std::string _next_temp_1;\n_next_temp_1 = _s;\n_c->syn_recv(&_next_temp_1);\n", "_s = _next_temp_1;\n",
         "illegal op: ? with left"},
        {"receive on an output channel", [&] { return codegen::createReceiveEquation(job, out, &x); }, "$Oo?x",
         "int _next_temp_1;\n_next_temp_1 = _x;\n_o->syn_recv(&_next_temp_1);\n", "_x = _next_temp_1;\n",
         "illegal op: ? with left"},
        {"send", [&] { return codegen::createSendEquation(job, out, &plus); }, "$Oo!x + 1", "_o->syn_send((_x + 1));\n", "",
         ""},
        {"send of another type", [&] { return codegen::createSendEquation(job, out, &text); }, "$Oo!t",
         "_o->syn_send(_t);\n", "", "illegal op: ! with left"},
        {"binding", [&] { return codegen::createStartEquation(job, control, "p"); }, "$Ok == p",
         "_k = p_call;\n", "", ""},
        {"binding of no control variable", [&] { return codegen::createStartEquation(job, plain, "p"); },
         "$On == p", "_n = p_call;\n", "", "illegal op: == with operand"},
        {"deletion", [&] { return codegen::createDeleteEquation(job, control); }, "$ODelete k", " // delete pros: _k;\n", "",
         ""},
        {"deletion of no control variable", [&] { return codegen::createDeleteEquation(job, plain); }, "$ODelete n",
         " // delete pros: _n;\n", "", "illegal op: delete with operand"},
        {"sequence", [&] {
             std::unique_ptr<AssignmentEquation> first = codegen::createAssignEquation(job, &x, &plus),
                                                 second = codegen::createReceiveEquation(job, in, &x);
             return codegen::createSeqEquation(job, {first.get(), second.get()});
         },
         ">>\n[\n$Ox = x + 1;\n$Oc?x\n]\n",
         "int _next_temp_1;\n_next_temp_1 = (_x + 1);\nint _next_temp_2;\n_next_temp_2 = _x;\n"
         "_c->syn_recv(&_next_temp_2);\n",
         "_x = _next_temp_1;\n_x = _next_temp_2;\n", ""},
    };
    for (const EquationCase& c : cases) {
        SCOPED_TRACE(c.what);
        job.numbering = GeneratorNumbering();
        std::unique_ptr<AssignmentEquation> q = c.make();
        EXPECT_EQ(textsOf(*q), (Texts{c.typeset, c.code, "", ""}));
        EXPECT_EQ(q->getLabel(), c.commit);
        if (*c.diagnostic) {
            ASSERT_EQ(job.records().size(), 1u);
            EXPECT_EQ(job.records()[0].getDetails().rfind(c.diagnostic, 0), 0u);
        } else {
            EXPECT_TRUE(job.records().empty());
        }
        job.clearRecords();
    }
}

TEST_F(Equations, ANewDeclarationGivesTheNameItsType) {
    VarNode* fresh = node("n", DEF_LOCAL, job.types().unknownType());
    std::unique_ptr<AssignmentEquation> q = codegen::createNewDecEquation(job, fresh, arr);
    EXPECT_EQ(textsOf(*q), (Texts{"$O NewDec (n : )", "int (_n[3]);\n", "", ""}));
    EXPECT_EQ(q->getLabel(), "");
    ASSERT_NE(fresh->getExpression(), nullptr);
    EXPECT_EQ(fresh->getExpression()->getType(), arr);
    // A later use renders and type-checks with the declared type.
    OperatorExpression one("1", "1", I);
    std::unique_ptr<Expression> element = codegen::createIndex(job, *fresh->getExpression(), &one);
    EXPECT_EQ(element->getType(), I);
    EXPECT_EQ(codegen::createNewDecEquation(job, fresh, I)->getTypeset(), "$O NewDec (n : Integer)");
    EXPECT_TRUE(job.records().empty());
}

TEST_F(Equations, MissingOperandsAndShortSequencesStopGeneration) {
    Expression x("x", I, DEF_LOCAL);
    OperatorExpression one("1", "1", I);
    std::unique_ptr<AssignmentEquation> only = codegen::createAssignEquation(job, &x, &one);
    struct Case {
        const char* what;
        std::function<void()> make;
        const char* details;
    };
    const std::vector<Case> cases = {
        {"no value", [&] { codegen::createAssignEquation(job, &x, nullptr); },
         "illegal variable or expression in function AssignmentEquation::AssignmentEquation()"},
        {"no type for the new name", [&] { codegen::createNewDecEquation(job, node("n", DEF_LOCAL, I), nullptr); },
         "illegal varnode or type in function AssignmentEquation::AssignmentEquation()"},
        {"no channel", [&] { codegen::createReceiveEquation(job, nullptr, &x); },
         "illegal varnode or variable in function AssignmentEquation::AssignmentEquation()"},
        {"sequence of one",
         [&] { codegen::createSeqEquation(job, {only.get()}); },
         "illegal seq assignment equation num in function AssignmentEquation::AssignmentEquation"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.make();
            ADD_FAILURE() << "no throw";
        } catch (const QUVRunTimeException& e) {
            EXPECT_EQ(e.getDetails(), c.details);
        }
    }
}

}  // namespace
