// The expression emitters: texts, result types and the one diagnostic of a
// mismatch, per operator family; constants; access forms; channel tests.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "fragment_support.hpp"
#include "test_support.hpp"

namespace {

typedef std::unique_ptr<Expression> Owned;

class ExpressionEmitters : public ::testing::Test {
protected:
    DriverScope scope;
    JobState& job = scope.driver;
    TopFragment program;
    Type* I = job.types().integerType();
    Type* F = job.types().floatType();
    Type* S = job.types().stringType();
    Type* B = job.types().boolType();
    Type* U = job.types().unknownType();

    // Silence when want is empty, else exactly one diagnostic that begins with it.
    void expectDiagnostic(const std::string& want) {
        if (want.empty()) {
            EXPECT_TRUE(job.records().empty()) << job.records()[0].getDetails();
        } else {
            ASSERT_EQ(job.records().size(), 1u);
            EXPECT_EQ(job.records()[0].getDetails().rfind(want, 0), 0u)
                << job.records()[0].getDetails();
        }
        job.clearRecords();
    }
};

struct BinaryCase {
    std::unique_ptr<OperatorExpression> (*emit)(JobState&, const Expression&, const OperatorExpression*);
    Type* left;
    Type* right;
    const char* typeset;
    const char* cpp;
    Type* result;
    const char* diagnostic;
};

TEST_F(ExpressionEmitters, BinaryOperatorsGroupTheirCppTextAndTypeTheirResult) {
    Type* arr = job.types().makeArray(I, 2);
    Type* namedArr = job.types().makeNamed(job, arr, "Pair");
    Type* rec = makeRecordOf(job.types(), {{"f", I}});
    const std::vector<BinaryCase> cases = {
        {&codegen::createEq, I, F, "a == b", "(_a == _b)", B, ""},
        {&codegen::createNe, I, I, "a != b", "(_a != _b)", B, ""},
        {&codegen::createLt, S, S, "a < b", "(_a < _b)", B, ""},
        {&codegen::createLe, I, I, "a <= b", "(_a <= _b)", B, ""},
        {&codegen::createGt, F, I, "a > b", "(_a > _b)", B, ""},
        {&codegen::createGe, I, I, "a >= b", "(_a >= _b)", B, ""},
        {&codegen::createAnd, B, B, "a && b", "(_a && _b)", B, ""},
        {&codegen::createOr, B, B, "a || b", "(_a || _b)", B, ""},
        {&codegen::createAdd, S, S, "a + b", "(_a + _b)", S, ""},
        {&codegen::createSub, I, F, "a - b", "(_a - _b)", F, ""},
        {&codegen::createMul, I, I, "a * b", "(_a * _b)", I, ""},
        {&codegen::createDiv, F, F, "a / b", "(_a / _b)", F, ""},
        {&codegen::createMod, I, I, "a Mod b", "(_a % _b)", I, ""},
        // A String plus a value the output built-ins write appends its text.
        {&codegen::createAdd, S, I, "a + b", "(_a + quv_runtime::text(_b))", S, ""},
        {&codegen::createAdd, S, B, "a + b", "(_a + quv_runtime::text(_b))", S, ""},
        {&codegen::createAdd, S, arr, "a + b", "(_a + quv_runtime::text(_b))", U, "illegal op: + with left"},
        // Arrays compare element by element; records through the == written with their definition.
        {&codegen::createEq, arr, arr, "a == b", "(quv_runtime::equal(_a,_b))", B, ""},
        {&codegen::createNe, namedArr, arr, "a != b", "(!quv_runtime::equal(_a,_b))", B, ""},
        {&codegen::createEq, rec, rec, "a == b", "(_a == _b)", B, ""},
        // Each mismatch: one diagnostic naming the QUV/E operator, the unknown type, the texts all the same.
        {&codegen::createEq, I, B, "a == b", "(_a == _b)", U, "illegal op: = with left"},
        {&codegen::createNe, S, I, "a != b", "(_a != _b)", U, "illegal op: /= with left"},
        {&codegen::createAnd, I, B, "a && b", "(_a && _b)", U, "illegal op: $C with left"},
        {&codegen::createOr, B, I, "a || b", "(_a || _b)", U, "illegal op: $V with left"},
        {&codegen::createMod, F, I, "a Mod b", "(_a % _b)", U, "illegal op: % with"},
        // The unknown type of an earlier fault is not reported again.
        {&codegen::createAdd, U, I, "a + b", "(_a + _b)", I, ""},
    };
    for (const BinaryCase& c : cases) {
        SCOPED_TRACE(std::string(c.typeset) + " " + c.left->getTypeset() + "," + c.right->getTypeset());
        OperatorExpression a("a", "_a", c.left), b("b", "_b", c.right);
        Owned r(c.emit(job, a, &b));
        EXPECT_EQ(textsOf(*r), (Texts{c.typeset, c.cpp, "", ""}));
        EXPECT_EQ(r->getType(), c.result);
        expectDiagnostic(c.diagnostic);
    }
}

TEST_F(ExpressionEmitters, NestedOperatorsKeepTheTreesGroupingInCpp) {
    // "a = b $V c": QUV/E groups (a = b) $V c; the typeset text stays flat.
    OperatorExpression a("a", "_a", I), b("b", "_b", I), c("c", "_c", B);
    Owned eq(codegen::createEq(job, a, &b));
    Owned orExpr(codegen::createOr(job, *eq, &c));
    EXPECT_EQ(orExpr->getCode(), "((_a == _b) || _c)");
    EXPECT_EQ(orExpr->getTypeset(), "a == b || c");
    // "If c Then a Else b + 1" is the sum of the conditional and 1.
    OperatorExpression one("1", "1", I);
    Owned cond(codegen::createIfThenElse(job, c, &a, &b));
    Owned sum(codegen::createAdd(job, *cond, &one));
    EXPECT_EQ(sum->getCode(), "(((_c)?_a:_b) + 1)");
    EXPECT_EQ(sum->getTypeset(), "If c Then a Else b + 1");
    // -(a - b) and ~(a = b) without source parentheses still negate the whole operand.
    Owned diff(codegen::createSub(job, a, &b));
    EXPECT_EQ(Owned(codegen::createNeg(job, *diff))->getCode(), "(-(_a - _b))");
    EXPECT_EQ(Owned(codegen::createLogicalNot(job, *eq))->getCode(), "(!(_a == _b))");
    expectDiagnostic("");
}

// A chain of operators built step by step gives what their emitters give,
// each taking the one before as its left operand: texts, type and
// diagnostics, through the String's appended text, the arrays' comparison
// and a mismatch on the way.
TEST_F(ExpressionEmitters, AChainOfOperatorsGivesWhatTheirEmittersGive) {
    using Op = codegen::BinaryOperator;
    Type* arr = job.types().makeArray(I, 2);
    OperatorExpression s("s", "_s", S), i("i", "_i", I), b("b", "_b", B), f("f", "_f", F), v("v", "_v", arr);
    struct Step {
        Op op;
        const OperatorExpression* right;
    };
    const struct {
        const OperatorExpression* first;
        std::vector<Step> steps;
    } chains[] = {
        {&s, {{Op::Add, &i}, {Op::Add, &s}, {Op::Add, &b}, {Op::Lt, &s}, {Op::And, &b}, {Op::Or, &b}, {Op::Ne, &b},
              {Op::Ge, &i}, {Op::Add, &i}, {Op::Eq, &i}}},
        {&v, {{Op::Eq, &v}, {Op::Ne, &b}, {Op::Le, &i}}},
        {&i, {{Op::Mul, &f}, {Op::Sub, &i}, {Op::Div, &f}, {Op::Gt, &i}, {Op::Mod, &i}, {Op::Add, &i}}},
        {nullptr, {{Op::Add, &i}, {Op::Mul, nullptr}}},
    };
    const OperatorExpression none("", "", U);
    auto details = [this] {
        std::vector<std::string> texts;
        for (const QUVException& record : job.records())
            texts.push_back(record.getDetails());
        job.clearRecords();
        return texts;
    };
    for (const auto& chain : chains) {
        for (size_t length = 1; length <= chain.steps.size(); ++length) {
            SCOPED_TRACE(std::string(chain.first ? chain.first->getTypeset() : "none") + " " +
                         std::to_string(length));
            Owned want(new OperatorExpression(chain.first ? *chain.first : none));
            for (size_t k = 0; k < length; ++k) {
                const OperatorExpression* right = chain.steps[k].right ? chain.steps[k].right : &none;
                want = codegen::createBinary(job, chain.steps[k].op, *want, right);
            }
            const std::vector<std::string> wantDetails = details();

            OperatorChain built;
            codegen::startChain(job, built,
                                chain.first ? std::make_unique<OperatorExpression>(*chain.first) : nullptr);
            for (size_t k = 0; k < length; ++k)
                codegen::extendChain(job, built, chain.steps[k].op, chain.steps[k].right ? chain.steps[k].right : &none);
            const Owned got = codegen::finishChain(job, built);
            EXPECT_EQ(textsOf(*got), textsOf(*want));
            EXPECT_EQ(got->getType(), want->getType());
            EXPECT_EQ(details(), wantDetails);
        }
    }
}

struct UnaryCase {
    const char* what;
    std::function<Owned(const OperatorExpression&)> emit;
    Type* operand;
    Texts want;
    Type* result;
    const char* diagnostic;
};

TEST_F(ExpressionEmitters, UnaryConditionalParenthesisAndCallForms) {
    OperatorExpression t("t", "_t", I), e("e", "_e", F), other("s", "_s", S);
    Filled<> call(Texts{"p(1)", "_proc_p_0(NULL,1)", "", ""});
    const std::vector<UnaryCase> cases = {
        {"negation", [&](auto& x) { return codegen::createNeg(job, x); }, F, {"-x", "(-_x)", "", ""}, F, ""},
        {"negation of a string", [&](auto& x) { return codegen::createNeg(job, x); }, S, {"-x", "(-_x)", "", ""}, U,
         "illegal op: - with operand"},
        {"not", [&](auto& x) { return codegen::createLogicalNot(job, x); }, B, {"~x", "(!_x)", "", ""}, B, ""},
        {"not of an integer", [&](auto& x) { return codegen::createLogicalNot(job, x); }, I, {"~x", "(!_x)", "", ""}, U,
         "illegal op: ~ with operand"},
        {"parentheses", [&](auto& x) { return codegen::createParenExpr(job, x); }, S, {"(x)", "(_x)", "", ""}, S, ""},
        {"conditional", [&](auto& x) { return codegen::createIfThenElse(job, x, &t, &t); }, B,
         {"If x Then t Else t", "((_x)?_t:_t)", "", ""}, I, ""},
        {"conditional of two types", [&](auto& x) { return codegen::createIfThenElse(job, x, &t, &other); }, B,
         {"If x Then t Else s", "((_x)?_t:_s)", "", ""}, U, "illegal op: if then else with 1th"},
        {"call", [&](auto& x) { return codegen::createCall(job, x, &call); }, F,
         {"x:p(1)", "(_proc_p_0(NULL,1),_x)", "", ""}, F, ""},
    };
    for (const UnaryCase& c : cases) {
        SCOPED_TRACE(c.what);
        OperatorExpression x("x", "_x", c.operand);
        Owned r(c.emit(x));
        EXPECT_EQ(textsOf(*r), c.want);
        EXPECT_EQ(r->getType(), c.result);
        expectDiagnostic(c.diagnostic);
    }
}

TEST_F(ExpressionEmitters, AccessFormsKeepTheKindAndTypeTheirStep) {
    Type* rec = makeRecordOf(job.types(), {{"f", I}});
    Type* ptr = job.types().makePointer(rec);
    Type* arr = job.types().makeArray(rec, 3);
    OperatorExpression one("1", "1", I), half("0.5", "0.5", F);
    struct Case {
        const char* what;
        std::function<Owned(const Expression&)> emit;
        Type* variable;
        Texts want;
        Type* result;
        const char* diagnostic;
    };
    const std::vector<Case> cases = {
        {"element", [&](auto& v) { return codegen::createIndex(job, v, &one); }, arr, {"v[1]", "_v[1]", "", ""}, rec,
         ""},
        {"element of no array", [&](auto& v) { return codegen::createIndex(job, v, &one); }, I,
         {"v[1]", "_v[1]", "", ""}, U, "illegal op: [] with left"},
        {"element at a float", [&](auto& v) { return codegen::createIndex(job, v, &half); }, arr,
         {"v[0.5]", "_v[0.5]", "", ""}, U, "illegal op: [] with left"},
        {"field", [&](auto& v) { return codegen::createField(job, v, "f"); }, rec, {"v.f", "_v._f_f", "", ""}, I, ""},
        {"missing field", [&](auto& v) { return codegen::createField(job, v, "g"); }, rec,
         {"v.g", "_v._f_g", "", ""}, U, "illegal op: . with left operand has type"},
        {"pointed-to field", [&](auto& v) { return codegen::createPtrField(job, v, "f"); }, ptr,
         {"v->f", "_v->_f_f", "", ""}, I, ""},
        {"parenthesised access", [&](auto& v) { return codegen::createParen(job, v); }, rec, {"(v)", "(_v)", "", ""}, rec,
         ""},
        // A dereference is grouped, so that a field after it selects from the pointed-to record.
        {"dereference", [&](auto& v) { return codegen::createDereference(job, v); }, ptr, {"*v", "(*_v)", "", ""},
         rec, ""},
        {"dereference of no pointer", [&](auto& v) { return codegen::createDereference(job, v); }, I,
         {"*v", "(*_v)", "", ""}, U, "illegal op: * with operand"},
        {"address", [&](auto& v) { return codegen::createAddressOf(job, v); }, I, {"&v", "(&_v)", "", ""},
         job.types().makePointer(I), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Expression v("v", c.variable, DEF_REF_PARAM);
        Owned r(c.emit(v));
        EXPECT_EQ(textsOf(*r), c.want);
        EXPECT_EQ(r->getType(), c.result);
        if (!dynamic_cast<OperatorExpression*>(r.get())) {
            EXPECT_EQ(r->getAttribute(), DEF_REF_PARAM);
        }
        expectDiagnostic(c.diagnostic);
    }

    // A chain: the field of an element of a dereferenced pointer to an array.
    Expression p("p", job.types().makePointer(arr), DEF_LOCAL);
    Owned deref(codegen::createDereference(job, p));
    Owned element(codegen::createIndex(job, *deref, &one));
    Owned field(codegen::createField(job, *element, "f"));
    EXPECT_EQ(field->getCode(), "(*_p)[1]._f_f");
    EXPECT_EQ(field->getType(), I);
    expectDiagnostic("");
}

// String literals as the lexer takes them, in C++ with the same bytes: what
// C++ reads alike is kept as written, the rest is rewritten; the typeset text
// is always the literal as written.
TEST_F(ExpressionEmitters, StringLiteralsKeepTheirBytes) {
    const struct {
        const char* what;
        std::string text;
        std::string cpp;
    } cases[] = {
        {"escapes C++ reads alike", R"("a\n\t\"\\\'\101\7\48\u0041??=")",
         R"(static_cast<std::string>("a\n\t\"\\\'\101\7\48\u0041??="))"},
        {"GBK bytes", "\"\xd6\xd0\x95\\\\\"", "static_cast<std::string>(\"\xd6\xd0\x95\\\\\")"},
        {"line ends inside", "\"a\r\nb\nc\"", R"(static_cast<std::string>("a\r\nb\nc"))"},
        {"several u", R"("\uuu0041\uE9e9")", R"(static_cast<std::string>("\u0041\uE9e9"))"},
        {"a surrogate", R"("\uD800.")", R"(static_cast<std::string>("\355\240\200."))"},
        {"\\4 to \\7 before an octal digit", R"("\477\76\7")", R"(static_cast<std::string>("\0477\76\7"))"},
        {"NUL bytes", std::string("\"a\\0b\\u0000\xc3\0\\000\\101\"", 22),
         R"(std::string("a\0b\u0000)" "\xc3" R"(\000\000\101", 8))"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Expression k;
        codegen::createConstant(job, k, 2, c.text);
        EXPECT_EQ(textsOf(k), (Texts{c.text, c.cpp, "", ""}));
    }
    expectDiagnostic("");
}

TEST_F(ExpressionEmitters, ConstantsByKind) {
    struct Case {
        int kind;
        std::string text;
        std::string cpp;
        Type* type;
    };
    const std::vector<Case> cases = {
        {0, "12", "12", I},
        // Decimal, as written in QUV/E: C++ would read a leading 0 as octal.
        {0, "010", "10", I},
        {0, "000", "0", I},
        // A Float literal is a C++ float; past float's range its infinity, below it its zero.
        {1, "1.5", "1.5f", F},
        {1, "007.5", "007.5f", F},
        {1, "1" + std::string(39, '0') + ".0", "std::numeric_limits<float>::infinity()", F},
        {1, "0." + std::string(50, '0') + "1", "0.0f", F},
        {2, "\"hi\"", "static_cast<std::string>(\"hi\")", S},
        {3, "", "true", job.types().logicType()},
        {4, "", "false", job.types().logicType()},
        {5, "", "true", B},
        {6, "", "false", B},
        {7, "3", "-3", I},
        {7, "0010", "-10", I},
        {8, "2.5", "-2.5f", F},
        {8, "4" + std::string(40, '0') + ".5", "-std::numeric_limits<float>::infinity()", F},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        Expression k;
        codegen::createConstant(job, k, c.kind, c.text);
        EXPECT_EQ(textsOf(k), (Texts{c.text, c.cpp, "", ""}));
        EXPECT_EQ(k.getType(), c.type);
        EXPECT_EQ(k.getAttribute(), c.kind);
        Owned copy(codegen::fromConstant(job, &k));
        EXPECT_EQ(textsOf(*copy), textsOf(k));
    }
    Expression bad;
    try {
        codegen::createConstant(job, bad, 9, "x");
        FAIL() << "no throw";
    } catch (const QUVRunTimeException& e) {
        EXPECT_EQ(e.getDetails(), "illegal constant type in function Constant::newConstant()");
    }
    EXPECT_EQ(bad.getAttribute(), 9);
    EXPECT_EQ(bad.getTypeset(), "x");
}

TEST_F(ExpressionEmitters, ChannelTestsFollowTheChannelStyle) {
    Expression out("o", job.types().makeChannel(I, false), DEF_OUTPUT_CHANNEL);
    Expression in("i", job.types().makeChannel(I, true), DEF_INPUT_CHANNEL);
    for (bool synchronous : {true, false}) {
        SCOPED_TRACE(synchronous);
        job.setSynchronous(synchronous);
        std::string style = synchronous ? "syn" : "asyn";
        Owned send(codegen::createCanSend(job, out)), recv(codegen::createCanRecv(job, in));
        EXPECT_EQ(textsOf(*send), (Texts{"o!", "_o->" + style + "_can_send()", "", ""}));
        EXPECT_EQ(textsOf(*recv), (Texts{"i?", "_i->" + style + "_can_recv()", "", ""}));
        EXPECT_EQ(send->getType(), B);
        EXPECT_EQ(recv->getType(), B);
        expectDiagnostic("");
    }
    // A test on a channel of the other direction is reported and still a condition.
    Owned wrong(codegen::createCanSend(job, in));
    EXPECT_EQ(wrong->getType(), B);
    expectDiagnostic("illegal op: ! with operand");
}

}  // namespace
