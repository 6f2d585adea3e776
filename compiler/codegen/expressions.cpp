// Constants, variable accesses and operator expressions.
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

OperatorExpression::OperatorExpression(const std::string& typesetText, const std::string& cppText, Type* t) {
    typeset = typesetText;
    code = cppText;
    type = t;
}

Type* Expression::typeOrUnknown() const {
    return type ? type : Type::unknownType;
}

void Constant::newConstant(Expression*, int, const std::string&) {}

Expression* Expression::createIndex(const OperatorExpression*) const { return new Expression(); }
Expression* Expression::createPtrField(const std::string&) const { return new Expression(); }
Expression* Expression::createField(const std::string&) const { return new Expression(); }
Expression* Expression::createParen() const { return new Expression(); }
Expression* Expression::createDereference() const { return new Expression(); }
void Expression::setVariableAccess(const std::string&) {}
OperatorExpression* Expression::createAddressOf() const { return nullptr; }
OperatorExpression* Expression::createCanSend() const { return nullptr; }
OperatorExpression* Expression::createCanRecv() const { return nullptr; }
OperatorExpression* Expression::fromVariable(const Expression*) { return nullptr; }
OperatorExpression* Expression::fromConstant(const Expression*) { return nullptr; }
OperatorExpression* Expression::createEq(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createNe(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createLt(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createLe(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createGt(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createGe(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createAnd(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createOr(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createAdd(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createSub(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createMul(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createDiv(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createMod(const OperatorExpression*) const { return nullptr; }
OperatorExpression* Expression::createNeg() const { return nullptr; }
OperatorExpression* Expression::createLogicalNot() const { return nullptr; }
OperatorExpression* Expression::createParenExpr() const { return nullptr; }
OperatorExpression* Expression::createIfThenElse(const OperatorExpression*, const OperatorExpression*) const {
    return nullptr;
}
OperatorExpression* Expression::createCall(const CodeFragment*) const { return nullptr; }
