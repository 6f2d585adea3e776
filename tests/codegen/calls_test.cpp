// Procedure calls, actual parameters and the input/output built-ins.
#include <gtest/gtest.h>

#include <functional>

#include "fragment_support.hpp"
#include "test_support.hpp"

namespace {

class Calls : public ::testing::Test {
protected:
    DriverScope scope;
    JobState& job = scope.driver;
    TopFragment top;
    Program symbols{job};
    Type* I = job.types().integerType();
    Type* S = job.types().stringType();

    VarNode* node(const std::string& name, int kind, Type* t) {
        auto v = symbols.root()->add<VarNode>(job, name, kind, 1, 1);
        v->setType(t);
        return v;
    }
    // The details of the diagnostics made since `from`.
    std::vector<std::string> detailsSince(size_t from) {
        std::vector<std::string> out;
        for (size_t i = from; i < job.records().size(); ++i)
            out.push_back(job.records()[i].getDetails());
        return out;
    }
};

const char* const kSameFormal = "In ProcCall/ProsCall, two actual param is connected with the same formal param ";

TEST_F(Calls, ActualParametersKeepTheirPairAndKind) {
    OperatorExpression value("1 + x", "(1 + _x)", I);
    Expression variable("y", S, DEF_LOCAL);
    codegen::setVariableAccess(job, variable, "");
    VarNode* peer = node("k", DEF_CONTROL, job.types().nmType());
    const struct {
        std::function<std::unique_ptr<ActualParam>()> make;
        const char* typeset;
        const char* actual;
        int attribute;
        const char* peer;
        Type* type;
    } cases[] = {
        {[&] { return codegen::createInActual(job, &value, "a"); }, "%INP/ 1 + x | a", "(1 + _x)", DEF_VALUE_PARAM, "", I},
        {[&] { return codegen::createIoActual(job, &variable, "b"); }, "%IOP/ y | b", "_y", DEF_REF_PARAM, "", S},
        {[&] { return codegen::createChanInActual(job, "c", peer, "i"); }, "%CHN/ c (*,k) | i (*, nouse)", "_c",
         DEF_INPUT_CHANNEL, "k", job.types().nmType()},
        {[&] { return codegen::createChanOutActual(job, "c", peer, "o"); }, "%CHN/ c (k,*) | o (nouse,*)", "_c",
         DEF_OUTPUT_CHANNEL, "k", job.types().nmType()},
    };
    for (const auto& c : cases) {
        std::unique_ptr<ActualParam> a = c.make();
        SCOPED_TRACE(c.typeset);
        EXPECT_EQ(textsOf(*a), (Texts{c.typeset, "", "", ""}));
        EXPECT_EQ(a->getActualCode(), c.actual);
        EXPECT_EQ(a->getAttribute(), c.attribute);
        EXPECT_EQ(a->getPeerControl(), c.peer);
        EXPECT_EQ(a->getType(), c.type);
    }
}

TEST_F(Calls, ActualPairConflictsOfAProcessCall) {
    VarNode* k = node("k", DEF_CONTROL, job.types().nmType());
    VarNode* m = node("m", DEF_CONTROL, job.types().nmType());
    OperatorExpression x("x", "_x", I);
    Expression xv("x", I, DEF_LOCAL);
    codegen::setVariableAccess(job, xv, "");
    std::unique_ptr<ActualParam> in1(codegen::createChanInActual(job, "c", k, "i1")),
        in2(codegen::createChanInActual(job, "d", k, "i2")), outK(codegen::createChanOutActual(job, "e", k, "o")),
        inM(codegen::createChanInActual(job, "f", m, "i1")), val(codegen::createInActual(job, &x, "v")),
        ref(codegen::createIoActual(job, &xv, "r")), val2(codegen::createInActual(job, &x, "w"));
    const struct {
        const char* what;
        const ActualParam& actual;
        const ActualParam& other;
        const char* message;  // empty: no conflict
    } cases[] = {
        {"two inputs from one peer", *in2, *in1, "In ProsCall, two channels communicated with the same process"},
        {"both directions with one peer", *outK, *in1, ""},
        {"one formal twice", *inM, *in1, kSameFormal},
        {"a reference aliasing an earlier value", *ref, *val, "In ProCall, two iop param is pointed"},
        {"a value after a reference", *val, *ref, ""},
        {"two values of one variable", *val2, *val, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        size_t before = job.records().size();
        bool ok = codegen::checkActualPair(job, c.actual, c.other);
        std::vector<std::string> d = detailsSince(before);
        EXPECT_EQ(ok, *c.message == 0);
        if (*c.message) {
            ASSERT_EQ(d.size(), 1u);
            EXPECT_EQ(d[0].rfind(c.message, 0), 0u) << d[0];
        } else {
            EXPECT_TRUE(d.empty());
        }
    }
}

TEST_F(Calls, ProcedureCallsMatchActualsToFormalsByName) {
    ProNode* p = symbols.procedure("P");
    symbols.param(p, "a", DEF_VALUE_PARAM, I);
    symbols.param(p, "b", DEF_VALUE_PARAM, I);
    symbols.param(p, "c", DEF_REF_PARAM, I);
    OperatorExpression one("1", "1", I), two("2", "2", I), three("3", "3", I);
    Expression v("v", I, DEF_LOCAL);
    codegen::setVariableAccess(job, v, "");
    auto in = [&](const OperatorExpression& e, const char* f) { return codegen::createInActual(job, &e, f); };
    const std::string cpp = p->getCppName();
    const struct {
        const char* what;
        std::function<std::vector<std::unique_ptr<ActualParam>>()> actuals;
        std::string code;           // the call's C++ text, without ";"
        std::vector<std::string> messages;
    } cases[] = {
        {"formal order", [&] { return actualList(in(one, "a"), in(two, "b"), codegen::createIoActual(job, &v, "c")); },
         cpp + "(&local,1,2,_v)", {}},
        {"rotated order", [&] { return actualList(codegen::createIoActual(job, &v, "c"), in(one, "a"), in(two, "b")); },
         cpp + "(&local,1,2,_v)", {}},
        {"one actual too few", [&] { return actualList(in(one, "a"), in(two, "b")); }, "",
         {"Procedure Call's actual param num not equal to it's formal param num!"}},
        {"attribute mismatch, still called", [&] { return actualList(in(one, "a"), in(two, "b"), in(three, "c")); },
         cpp + "(&local,1,2,3)", {"actual param and formal param 's attrib is mismatched in current ProcCall!"}},
        // Two actuals of one formal would leave another formal without an argument.
        {"one formal twice", [&] { return actualList(in(one, "a"), in(two, "a"), codegen::createIoActual(job, &v, "c")); },
         "", {kSameFormal}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::unique_ptr<ActualParam>> actuals = c.actuals();
        size_t before = job.records().size();
        std::unique_ptr<ProcCall> call = codegen::createProcCall(job, p, "&local", actuals);
        EXPECT_EQ(call->getCode(), c.code);
        EXPECT_EQ(detailsSince(before), c.messages);
        EXPECT_EQ(codegen::createCallAction(job, call.get())->getCode(), c.code.empty() ? "" : c.code + ";");
    }
}

TEST_F(Calls, ProcedureCallTypesetKeepsTheWrittenOrder) {
    ProNode* p = symbols.procedure("P");
    symbols.param(p, "a", DEF_VALUE_PARAM, I);
    symbols.param(p, "b", DEF_VALUE_PARAM, I);
    OperatorExpression one("1", "1", I), two("2", "2", I);
    std::unique_ptr<ProcCall> call =
        codegen::createProcCall(job, p, "father", actualList(codegen::createInActual(job, &two, "b"),
                                                             codegen::createInActual(job, &one, "a")));
    EXPECT_EQ(textsOf(*call), (Texts{"P(%INP/ 2 | b;%INP/ 1 | a)", p->getCppName() + "(father,1,2)", "", ""}));

    ProNode* q = symbols.procedure("Q");
    std::unique_ptr<ProcCall> bare = codegen::createProcCall(job, q, "&local", {});
    EXPECT_EQ(textsOf(*bare), (Texts{"Q()", q->getCppName() + "(&local)", "", ""}));
}

TEST_F(Calls, AnActualNamingNoFormalEndsTheCall) {
    ProNode* p = symbols.procedure("P");
    symbols.param(p, "a", DEF_VALUE_PARAM, I);
    OperatorExpression one("1", "1", I);
    std::vector<std::unique_ptr<ActualParam>> z = actualList(codegen::createInActual(job, &one, "z"));
    size_t before = job.records().size();
    std::string failure;
    try {
        codegen::createProcCall(job, p, "&local", z);
        ADD_FAILURE() << "no internal failure thrown";
    } catch (QUVRunTimeException& e) {
        failure = e.getDetails();
        // The failure is the catcher's to file, after what the call reported.
        std::vector<std::string> d = detailsSince(before);
        ASSERT_EQ(d.size(), 1u);
        EXPECT_EQ(d[0], "Procedure Call have no required formal param!");
        job.fileFailure(e);
    }
    EXPECT_EQ(failure, "paramorder=-1 in function createProcCall");
    std::vector<std::string> d = detailsSince(before);
    ASSERT_EQ(d.size(), 2u);
    EXPECT_EQ(d[1], "paramorder=-1 in function createProcCall");
}

// A call used as a value runs before the value is taken; its text has no ";"
// and the character built-ins, which are blocks, become a lambda called in place.
TEST_F(Calls, CallsUsedAsValuesAreExpressions) {
    ProNode* p = symbols.procedure("P");
    Expression x("x", I, DEF_LOCAL), v("v", S, DEF_LOCAL);
    codegen::setVariableAccess(job, x, "");
    codegen::setVariableAccess(job, v, "");
    std::unique_ptr<ProcCall> user = codegen::createProcCall(job, p, "&local", {});
    std::unique_ptr<ProcCall> getchar = codegen::createGetchar(job, &v);
    std::unique_ptr<OperatorExpression> a = codegen::createCall(job, x, user.get()),
                                        b = codegen::createCall(job, x, getchar.get());
    EXPECT_EQ(a->getCode(), "(" + p->getCppName() + "(&local),_x)");
    EXPECT_EQ(b->getCode(), "([&]()\n{\nchar c;\nif (std::cin.get(c))\n_v = c;\n\n}\n(),_x)");
}

TEST_F(Calls, EachBuiltInWritesItsStreamCode) {
    VarNode* f = node("f", DEF_FILE, job.types().streamType());
    codegen::setVariableAccess(job, *f->getExpression(), "");
    Expression v("v", S, DEF_LOCAL), b("b", job.types().boolType(), DEF_LOCAL), n("n", I, DEF_LOCAL);
    codegen::setVariableAccess(job, v, "");
    codegen::setVariableAccess(job, b, "");
    codegen::setVariableAccess(job, n, "");
    OperatorExpression name("\"a.txt\"", "static_cast<std::string>(\"a.txt\")", S), s("s", "_s", S),
        k("k", "_k", I);
    std::vector<Expression*> reads{&n, &v};
    std::vector<OperatorExpression*> writes{&k, &s};
    const std::string getBlock = "\n{\nchar c;\nif (_f.get(c))\n_v = c;\n\n}\n";
    const struct {
        std::function<std::unique_ptr<ProcCall>()> emit;
        const char* typeset;
        std::string code;
    } cases[] = {
        {[&] { return codegen::createFopen(job, f, &name); }, "Fopen(f,\"a.txt\")",
         "_f.open(static_cast<std::string>(\"a.txt\").c_str())"},
        {[&] { return codegen::createFclose(job, f); }, "Fclose(f)", "_f.close()"},
        {[&] { return codegen::createFeof(job, f, &b); }, "Feof(b,f)", "_b = _f.eof()"},
        {[&] { return codegen::createQuvEof(job, f, &s); }, "QuvEof(f,s)", "quveof(_f,_s)"},
        {[&] { return codegen::createFread(job, f, reads); }, "Fread(f,n,v)", "_f >> _n >> _v"},
        {[&] { return codegen::createRead(job, {&n}); }, "Read(n)", "std::cin >> _n"},
        {[&] { return codegen::createFwrite(job, f, writes); }, "Fwrite(f,k,s)", "_f << _k << (_s) << std::flush"},
        {[&] { return codegen::createWrite(job, {}); }, "Write()", "std::cout << std::flush"},
        {[&] { return codegen::createFwriteln(job, f, writes); }, "Fwriteln(f,k,s)",
         "_f << _k << (_s) << std::endl << std::flush"},
        {[&] { return codegen::createWriteln(job, writes); }, "Writeln(k,s)",
         "std::cout << _k << (_s) << std::endl << std::flush"},
        {[&] { return codegen::createGetc(job, f, &v); }, "Getc(f,v)", getBlock},
        {[&] { return codegen::createGetchar(job, &v); }, "Getchar(v)",
         "\n{\nchar c;\nif (std::cin.get(c))\n_v = c;\n\n}\n"},
        {[&] { return codegen::createUnGetc(job, f, &v); }, "UnGetc(f,v)", "\n{\nchar c = _v[0];\n_f.pushback(c);\n\n}\n"},
        {[&] { return codegen::createUnGetChar(job, &v); }, "UnGetChar(v)",
         "\n{\nchar c = _v[0];\nquv_runtime::pushback(std::cin, c);\n\n}\n"},
        {[&] { return codegen::createItoc(job, &k, &v); }, "Itoc(k,v)", "_v = itoc(_k)"},
        {[&] { return codegen::createStrlen(job, &n, &s); }, "Strlen(n,s)", "_n = strlen(_s)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typeset);
        std::unique_ptr<ProcCall> call = c.emit();
        EXPECT_EQ(textsOf(*call), (Texts{c.typeset, c.code, "", ""}));
        EXPECT_EQ(codegen::createCallAction(job, call.get())->getCode(), c.code + ";");
    }
}

}  // namespace
