// Operator typing rules: each accepts its operand types and gives the result
// type, or reports the combination and gives the unknown type, which equal()
// accepts everywhere so one fault does not cascade through enclosing expressions.
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/types.hpp"

namespace {

Type* reject(const std::string& op, Type* l, Type* r) {
    QUVException e;
    e.makeIllegalBinaryOp(op, l, r);
    return Type::unknownType;
}

Type* rejectOne(const std::string& op, Type* t) {
    QUVException e;
    e.makeIllegalOp(op, t);
    return Type::unknownType;
}

Type* rejectField(const std::string& op, Type* l, const std::string& field) {
    QUVException e;
    e.makeIllegalFieldOp(op, l, field);
    return Type::unknownType;
}

}  // namespace

bool Type::eqAccepts(Type* r) {
    return equal(this, r) || (equal(this, integerType) && equal(r, floatType)) ||
           (equal(this, floatType) && equal(r, integerType)) || (equal(this, logicType) && equal(r, boolType)) ||
           (equal(this, boolType) && equal(r, logicType));
}

Type* Type::checkEq(Type* r) {
    return eqAccepts(r) ? boolType : reject("=", this, r);
}

Type* Type::checkNe(Type* r) {
    return eqAccepts(r) ? boolType : reject("/=", this, r);
}

Type* Type::checkComparison(const std::string& op, Type* r) {
    bool ok;
    if (equal(this, r))
        ok = equal(this, integerType) || equal(this, floatType) || equal(this, stringType);
    else
        ok = (equal(this, integerType) && equal(r, floatType)) || (equal(this, floatType) && equal(r, integerType));
    return ok ? boolType : reject(op, this, r);
}

Type* Type::checkLt(Type* r) { return checkComparison("<", r); }
Type* Type::checkLe(Type* r) { return checkComparison("<=", r); }
Type* Type::checkGt(Type* r) { return checkComparison(">", r); }
Type* Type::checkGe(Type* r) { return checkComparison(">=", r); }

Type* Type::checkAnd(Type* r) {
    return equal(this, boolType) && equal(r, boolType) ? boolType : reject("$C", this, r);
}

Type* Type::checkOr(Type* r) {
    return equal(this, boolType) && equal(r, boolType) ? boolType : reject("$V", this, r);
}

Type* Type::checkArithmetic(const std::string& op, Type* r, bool allowString) {
    if (equal(this, integerType) && equal(r, integerType))
        return integerType;
    if (equal(this, floatType) && equal(r, integerType))
        return floatType;
    if (equal(this, integerType) && equal(r, floatType))
        return floatType;
    if (equal(this, floatType) && equal(r, floatType))
        return floatType;
    // A String takes the text of a basic value appended to it, as the output built-ins write it.
    if (allowString && equal(this, stringType) &&
        (equal(r, stringType) || equal(r, integerType) || equal(r, floatType) || equal(r, boolType) ||
         equal(r, logicType)))
        return stringType;
    return reject(op, this, r);
}

Type* Type::checkAdd(Type* r) { return checkArithmetic("+", r, true); }
Type* Type::checkSub(Type* r) { return checkArithmetic("-", r, false); }
Type* Type::checkMul(Type* r) { return checkArithmetic("*", r, false); }
Type* Type::checkDiv(Type* r) { return checkArithmetic("/", r, false); }

Type* Type::checkMod(Type* r) {
    return equal(this, integerType) && equal(r, integerType) ? integerType : rejectOne("%", r);
}

Type* Type::checkNeg() {
    if (equal(this, integerType))
        return integerType;
    if (equal(this, floatType))
        return floatType;
    return rejectOne("-", this);
}

Type* Type::checkDeref() {
    const Type* t = resolveNames(this);
    if (t->number == POINTER)
        return static_cast<const PointerType*>(t)->pointee;
    return rejectOne("*", this);
}

Type* Type::checkNot() {
    return equal(this, boolType) ? boolType : rejectOne("~", this);
}

Type* Type::checkCanSend() {
    if (!(number == CHANNEL && !static_cast<ChannelType*>(this)->isInput))
        rejectOne("!", this);
    return boolType;
}

Type* Type::checkCanRecv() {
    if (!(number == CHANNEL && static_cast<ChannelType*>(this)->isInput))
        rejectOne("?", this);
    return boolType;
}

Type* Type::checkAddressOf() {
    return makePointer(this);
}

Type* Type::self() {
    return this;
}

Type* Type::checkIfThenElse(Type* thenType, Type* elseType) {
    if (equal(this, boolType) && equal(thenType, elseType))
        return thenType;
    QUVException e;
    e.makeIllegalTernaryOp("if then else", this, thenType, elseType);
    return unknownType;
}

Type* Type::checkIndex(Type* index) {
    const Type* t = resolveNames(this);
    if (t->number == ARRAY && equal(index, integerType))
        return static_cast<const ArrayType*>(t)->elementType;
    return reject("[]", this, index);
}

Type* Type::checkArrow(const std::string& field) {
    const Type* t = resolveNames(this);
    if (t->number == POINTER)
        return static_cast<const PointerType*>(t)->pointee->checkField(field);
    return rejectField("->", this, field);
}

Type* Type::checkField(const std::string& field) {
    const Type* t = resolveNames(this);
    if (t->number == RECORD || t->number == UNION) {
        auto record = static_cast<const RecordType*>(t);
        for (int i = 0; i < record->getFieldCount(); ++i)
            if (record->getFieldName(i) == field)
                return record->getFieldType(i);
    }
    return rejectField(".", this, field);
}

bool Type::checkAssign(Type* r) {
    if (eqAccepts(r))
        return true;
    reject("=", this, r);
    return false;
}

bool Type::checkReceive(Type* r) {
    if (number == CHANNEL && static_cast<ChannelType*>(this)->isInput &&
        equal(static_cast<ChannelType*>(this)->elementType, r))
        return true;
    reject("?", this, r);
    return false;
}

bool Type::checkSend(Type* r) {
    if (number == CHANNEL && !static_cast<ChannelType*>(this)->isInput &&
        equal(static_cast<ChannelType*>(this)->elementType, r))
        return true;
    reject("!", this, r);
    return false;
}

bool Type::checkEquation() {
    if (number == CONTROL)
        return true;
    rejectOne("==", this);
    return false;
}

bool Type::checkDelete() {
    if (number == CONTROL)
        return true;
    rejectOne("delete", this);
    return false;
}
