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
    Type* I = Type::integerType;
    Type* F = Type::floatType;
    Type* S = Type::stringType;
    Type* L = Type::logicType;
    Type* B = Type::boolType;
    Type* U = Type::unknownType;
    Type* NM = Type::nmType;
    Type* namedInt = Type::makeNamed(I, "Count");
    Type* ptr = Type::makePointer(I);
    Type* namedPtr = Type::makeNamed(ptr, "IntPtr");
    Type* arr = Type::makeArray(F, 3);
    Type* rec = makeRecordOf({{"a", I}, {"a", S}, {"b", F}});
    Type* recPtr = Type::makePointer(rec);
    Type* chIn = Type::makeChannel(I, true);
    Type* chOut = Type::makeChannel(I, false);
    Type* namedCh = Type::makeNamed(I, "NotAChannel");
    DiagnosticSink::current->clearRecords();  // the repeated field above is not what this test is about

    std::vector<RuleCase> cases = {
        expr("= int float", [&] { return I->checkEq(F); }, B),
        expr("= float int", [&] { return F->checkEq(I); }, B),
        expr("= logic bool", [&] { return L->checkEq(B); }, B),
        expr("= bool logic", [&] { return B->checkEq(L); }, B),
        expr("= string int", [&] { return S->checkEq(I); }, U, two("=", "String", "Integer")),
        expr("/= named int", [&] { return namedInt->checkNe(I); }, B),
        expr("/= string float", [&] { return S->checkNe(F); }, U, two("/=", "String", "Float")),
        expr("< logic logic", [&] { return L->checkLt(L); }, U, two("<", "Logic", "Logic")),
        expr("<= bool bool", [&] { return B->checkLe(B); }, U, two("<=", "BOOL", "BOOL")),
        expr("> string string", [&] { return S->checkGt(S); }, B),
        expr(">= int float", [&] { return I->checkGe(F); }, B),
        expr("< string int", [&] { return S->checkLt(I); }, U, two("<", "String", "Integer")),
        expr("$C bool bool", [&] { return B->checkAnd(B); }, B),
        expr("$C logic bool", [&] { return L->checkAnd(B); }, U, two("$C", "Logic", "BOOL")),
        expr("$V bool int", [&] { return B->checkOr(I); }, U, two("$V", "BOOL", "Integer")),
        expr("+ int int", [&] { return I->checkAdd(I); }, I),
        expr("+ float int", [&] { return F->checkAdd(I); }, F),
        expr("+ int float", [&] { return I->checkAdd(F); }, F),
        expr("+ string bool", [&] { return S->checkAdd(B); }, S),
        expr("+ string logic", [&] { return S->checkAdd(L); }, S),
        expr("+ string float", [&] { return S->checkAdd(F); }, S),
        // Only values the output built-ins can write have a text to append.
        expr("+ string array", [&] { return S->checkAdd(arr); }, U, two("+", "String", arr->getTypeset())),
        expr("+ string control", [&] { return S->checkAdd(NM); }, U, two("+", "String", NM->getTypeset())),
        expr("+ int string", [&] { return I->checkAdd(S); }, U, two("+", "Integer", "String")),
        expr("+ unknown float", [&] { return U->checkAdd(F); }, F),
        expr("+ unknown string", [&] { return U->checkAdd(S); }, S),
        expr("- string string", [&] { return S->checkSub(S); }, U, two("-", "String", "String")),
        expr("* float float", [&] { return F->checkMul(F); }, F),
        expr("/ named int int", [&] { return namedInt->checkDiv(I); }, I),
        expr("% int int", [&] { return I->checkMod(I); }, I),
        expr("% float int", [&] { return F->checkMod(I); }, U, one("%", "Integer")),
        expr("- float", [&] { return F->checkNeg(); }, F),
        expr("- bool", [&] { return B->checkNeg(); }, U, one("-", "BOOL")),
        expr("* named pointer", [&] { return namedPtr->checkDeref(); }, I),
        expr("* int", [&] { return I->checkDeref(); }, U, one("*", "Integer")),
        expr("* unknown", [&] { return U->checkDeref(); }, U, one("*", "")),
        expr("~ bool", [&] { return B->checkNot(); }, B),
        expr("~ logic", [&] { return L->checkNot(); }, U, one("~", "Logic")),
        expr("! output channel", [&] { return chOut->checkCanSend(); }, B),
        expr("! input channel", [&] { return chIn->checkCanSend(); }, B, one("!", "")),
        expr("? input channel", [&] { return chIn->checkCanRecv(); }, B),
        expr("? output channel", [&] { return chOut->checkCanRecv(); }, B, one("?", "")),
        expr("? named non-channel", [&] { return namedCh->checkCanRecv(); }, B, one("?", "NotAChannel")),
        expr("address of", [&] { return I->checkAddressOf(); }, ptr),
        expr("self", [&] { return rec->self(); }, rec),
        expr("if bool int int", [&] { return B->checkIfThenElse(I, I); }, I),
        expr("if bool int float", [&] { return B->checkIfThenElse(I, F); }, U,
             "illegal op: if then else with 1th operand has type BOOL and 2th operand has type Integer and 3th "
             "operand has type Float"),
        expr("if bool unknown int", [&] { return B->checkIfThenElse(U, I); }, U),
        expr("[] array int", [&] { return arr->checkIndex(I); }, F),
        expr("[] array unknown", [&] { return arr->checkIndex(U); }, F),
        expr("[] array float", [&] { return arr->checkIndex(F); }, U, two("[]", "", "Float")),
        expr("[] int int", [&] { return I->checkIndex(I); }, U, two("[]", "Integer", "Integer")),
        expr(". first of duplicates", [&] { return rec->checkField("a"); }, I),
        expr(". other field", [&] { return rec->checkField("b"); }, F),
        expr(". case differs", [&] { return rec->checkField("B"); }, U,
             "illegal op: . with left operand has type \n[\na : Integer;\na : String;\nb : Float and right fieldname is B"),
        expr("-> pointer to record", [&] { return recPtr->checkArrow("b"); }, F),
        expr("-> pointer to int", [&] { return ptr->checkArrow("a"); }, U,
             "illegal op: . with left operand has type Integer and right fieldname is a"),
        expr("-> int", [&] { return I->checkArrow("a"); }, U,
             "illegal op: -> with left operand has type Integer and right fieldname is a"),
        eqn("assign int to float", [&] { return F->checkAssign(I); }, true),
        eqn("assign float to int", [&] { return I->checkAssign(F); }, true),
        eqn("assign string to int", [&] { return I->checkAssign(S); }, false, two("=", "Integer", "String")),
        eqn("receive int", [&] { return chIn->checkReceive(I); }, true),
        eqn("receive on output", [&] { return chOut->checkReceive(I); }, false, two("?", "", "Integer")),
        eqn("send int", [&] { return chOut->checkSend(I); }, true),
        eqn("send string", [&] { return chOut->checkSend(S); }, false, two("!", "", "String")),
        eqn("send on input", [&] { return chIn->checkSend(I); }, false, two("!", "", "Integer")),
        eqn("== on NM", [&] { return NM->checkEquation(); }, true),
        eqn("== on int", [&] { return I->checkEquation(); }, false, one("==", "Integer")),
        eqn("delete on NM", [&] { return NM->checkDelete(); }, true),
        eqn("delete on bool", [&] { return B->checkDelete(); }, false, one("delete", "BOOL")),
    };
    for (const RuleCase& c : cases) {
        SCOPED_TRACE(c.what);
        size_t before = DiagnosticSink::current->records().size();
        if (c.expressionRule)
            EXPECT_EQ(c.expressionRule(), c.result);
        else
            EXPECT_EQ(c.equationRule(), c.answer);
        if (c.diagnostic.empty()) {
            EXPECT_EQ(DiagnosticSink::current->records().size(), before);
        } else {
            ASSERT_EQ(DiagnosticSink::current->records().size(), before + 1);
            const QUVException& e = DiagnosticSink::current->records().back();
            EXPECT_EQ(e.getKind(), 3);
            EXPECT_EQ(e.getNumber(), 9);
            EXPECT_EQ(e.getDetails(), c.diagnostic);
        }
    }
}

TEST(OperatorTypingTest, ChannelOperandsOfEqualityAreAnInternalFailure) {
    DriverScope scope;
    Type* ch = Type::makeChannel(Type::stringType, true);
    EXPECT_THROW(ch->checkEq(ch), QUVRunTimeException);
}

}  // namespace
