#include <gtest/gtest.h>

#include <functional>

#include "test_support.hpp"

namespace {

// What a rule gives: a result type (expression rules) or a yes/no (equations), and the
// details of the one diagnostic it files, or "" for none.
struct RuleCase {
    const char* what;
    std::function<Type*()> expressionRule;
    std::function<bool()> equationRule;
    Type* result;
    bool answer;
    std::string diagnostic;
};

RuleCase expr(const char* what, std::function<Type*()> rule, Type* result, std::string diagnostic = "") {
    return {what, rule, nullptr, result, false, diagnostic};
}

RuleCase eqn(const char* what, std::function<bool()> rule, bool answer, std::string diagnostic = "") {
    return {what, nullptr, rule, nullptr, answer, diagnostic};
}

std::string two(const std::string& op, const std::string& l, const std::string& r) {
    return "illegal op: " + op + " with left operand has type " + l + " and right operand has type " + r;
}

std::string one(const std::string& op, const std::string& t) {
    return "illegal op: " + op + " with operand has type " + t;
}

TEST(OperatorTypingTest, EveryRuleGivesItsResultOrItsDiagnostic) {
    DriverScope scope;
    JobState& job = scope.driver;
    Type* I = job.types().integerType();
    Type* F = job.types().floatType();
    Type* S = job.types().stringType();
    Type* L = job.types().logicType();
    Type* B = job.types().boolType();
    Type* U = job.types().unknownType();
    Type* NM = job.types().nmType();
    Type* namedInt = job.types().makeNamed(job, I, "Count");
    Type* ptr = job.types().makePointer(I);
    Type* namedPtr = job.types().makeNamed(job, ptr, "IntPtr");
    Type* arr = job.types().makeArray(F, 3);
    Type* rec = makeRecordOf(job.types(), {{"a", I}, {"a", S}, {"b", F}});
    Type* recPtr = job.types().makePointer(rec);
    Type* chIn = job.types().makeChannel(I, true);
    Type* chOut = job.types().makeChannel(I, false);
    Type* namedCh = job.types().makeNamed(job, I, "NotAChannel");
    job.clearRecords();  // the repeated field above is not what this test is about

    std::vector<RuleCase> cases = {
        expr("= int float", [&] { return I->checkEq(job, F); }, B),
        expr("= float int", [&] { return F->checkEq(job, I); }, B),
        expr("= logic bool", [&] { return L->checkEq(job, B); }, B),
        expr("= bool logic", [&] { return B->checkEq(job, L); }, B),
        expr("= string int", [&] { return S->checkEq(job, I); }, U, two("=", "String", "Integer")),
        expr("/= named int", [&] { return namedInt->checkNe(job, I); }, B),
        expr("/= string float", [&] { return S->checkNe(job, F); }, U, two("/=", "String", "Float")),
        expr("< logic logic", [&] { return L->checkLt(job, L); }, U, two("<", "Logic", "Logic")),
        expr("<= bool bool", [&] { return B->checkLe(job, B); }, U, two("<=", "BOOL", "BOOL")),
        expr("> string string", [&] { return S->checkGt(job, S); }, B),
        expr(">= int float", [&] { return I->checkGe(job, F); }, B),
        expr("< string int", [&] { return S->checkLt(job, I); }, U, two("<", "String", "Integer")),
        expr("$C bool bool", [&] { return B->checkAnd(job, B); }, B),
        expr("$C logic bool", [&] { return L->checkAnd(job, B); }, U, two("$C", "Logic", "BOOL")),
        expr("$V bool int", [&] { return B->checkOr(job, I); }, U, two("$V", "BOOL", "Integer")),
        expr("+ int int", [&] { return I->checkAdd(job, I); }, I),
        expr("+ float int", [&] { return F->checkAdd(job, I); }, F),
        expr("+ int float", [&] { return I->checkAdd(job, F); }, F),
        expr("+ string bool", [&] { return S->checkAdd(job, B); }, S),
        expr("+ string logic", [&] { return S->checkAdd(job, L); }, S),
        expr("+ string float", [&] { return S->checkAdd(job, F); }, S),
        // Only values the output built-ins can write have a text to append.
        expr("+ string array", [&] { return S->checkAdd(job, arr); }, U, two("+", "String", arr->getTypeset())),
        expr("+ string control", [&] { return S->checkAdd(job, NM); }, U, two("+", "String", NM->getTypeset())),
        expr("+ int string", [&] { return I->checkAdd(job, S); }, U, two("+", "Integer", "String")),
        expr("+ unknown float", [&] { return U->checkAdd(job, F); }, F),
        expr("+ unknown string", [&] { return U->checkAdd(job, S); }, S),
        expr("- string string", [&] { return S->checkSub(job, S); }, U, two("-", "String", "String")),
        expr("* float float", [&] { return F->checkMul(job, F); }, F),
        expr("/ named int int", [&] { return namedInt->checkDiv(job, I); }, I),
        expr("% int int", [&] { return I->checkMod(job, I); }, I),
        expr("% float int", [&] { return F->checkMod(job, I); }, U, one("%", "Integer")),
        expr("- float", [&] { return F->checkNeg(job); }, F),
        expr("- bool", [&] { return B->checkNeg(job); }, U, one("-", "BOOL")),
        expr("* named pointer", [&] { return namedPtr->checkDeref(job); }, I),
        expr("* int", [&] { return I->checkDeref(job); }, U, one("*", "Integer")),
        expr("* unknown", [&] { return U->checkDeref(job); }, U, one("*", "")),
        expr("~ bool", [&] { return B->checkNot(job); }, B),
        expr("~ logic", [&] { return L->checkNot(job); }, U, one("~", "Logic")),
        expr("! output channel", [&] { return chOut->checkCanSend(job); }, B),
        expr("! input channel", [&] { return chIn->checkCanSend(job); }, B, one("!", "")),
        expr("? input channel", [&] { return chIn->checkCanRecv(job); }, B),
        expr("? output channel", [&] { return chOut->checkCanRecv(job); }, B, one("?", "")),
        expr("? named non-channel", [&] { return namedCh->checkCanRecv(job); }, B, one("?", "NotAChannel")),
        expr("address of", [&] { return I->checkAddressOf(job); }, ptr),
        expr("self", [&] { return rec->self(); }, rec),
        expr("if bool int int", [&] { return B->checkIfThenElse(job, I, I); }, I),
        expr("if bool int float", [&] { return B->checkIfThenElse(job, I, F); }, U,
             "illegal op: if then else with 1th operand has type BOOL and 2th operand has type Integer and 3th "
             "operand has type Float"),
        expr("if bool unknown int", [&] { return B->checkIfThenElse(job, U, I); }, U),
        expr("[] array int", [&] { return arr->checkIndex(job, I); }, F),
        expr("[] array unknown", [&] { return arr->checkIndex(job, U); }, F),
        expr("[] array float", [&] { return arr->checkIndex(job, F); }, U, two("[]", "", "Float")),
        expr("[] int int", [&] { return I->checkIndex(job, I); }, U, two("[]", "Integer", "Integer")),
        expr(". first of duplicates", [&] { return rec->checkField(job, "a"); }, I),
        expr(". other field", [&] { return rec->checkField(job, "b"); }, F),
        expr(". case differs", [&] { return rec->checkField(job, "B"); }, U,
             "illegal op: . with left operand has type \n[\na : Integer;\na : String;\nb : Float and right fieldname is B"),
        expr("-> pointer to record", [&] { return recPtr->checkArrow(job, "b"); }, F),
        expr("-> pointer to int", [&] { return ptr->checkArrow(job, "a"); }, U,
             "illegal op: . with left operand has type Integer and right fieldname is a"),
        expr("-> int", [&] { return I->checkArrow(job, "a"); }, U,
             "illegal op: -> with left operand has type Integer and right fieldname is a"),
        eqn("assign int to float", [&] { return F->checkAssign(job, I); }, true),
        eqn("assign float to int", [&] { return I->checkAssign(job, F); }, true),
        eqn("assign string to int", [&] { return I->checkAssign(job, S); }, false, two("=", "Integer", "String")),
        eqn("receive int", [&] { return chIn->checkReceive(job, I); }, true),
        eqn("receive on output", [&] { return chOut->checkReceive(job, I); }, false, two("?", "", "Integer")),
        eqn("send int", [&] { return chOut->checkSend(job, I); }, true),
        eqn("send string", [&] { return chOut->checkSend(job, S); }, false, two("!", "", "String")),
        eqn("send on input", [&] { return chIn->checkSend(job, I); }, false, two("!", "", "Integer")),
        eqn("== on NM", [&] { return NM->checkEquation(job); }, true),
        eqn("== on int", [&] { return I->checkEquation(job); }, false, one("==", "Integer")),
        eqn("delete on NM", [&] { return NM->checkDelete(job); }, true),
        eqn("delete on bool", [&] { return B->checkDelete(job); }, false, one("delete", "BOOL")),
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.what);
        size_t before = job.records().size();
        if (c.expressionRule)
            EXPECT_EQ(c.expressionRule(), c.result);
        else
            EXPECT_EQ(c.equationRule(), c.answer);
        if (c.diagnostic.empty()) {
            EXPECT_EQ(job.records().size(), before);
        } else {
            ASSERT_EQ(job.records().size(), before + 1);
            const QUVException& e = job.records().back();
            EXPECT_EQ(e.getKind(), 3);
            EXPECT_EQ(e.getNumber(), 9);
            EXPECT_EQ(e.getDetails(), c.diagnostic);
        }
    }
}

TEST(OperatorTypingTest, ChannelOperandsOfEqualityAreAnInternalFailure) {
    DriverScope scope;
    JobState& job = scope.driver;
    Type* ch = job.types().makeChannel(job.types().stringType(), true);
    EXPECT_THROW(ch->checkEq(job, ch), QUVRunTimeException);
}

}  // namespace
