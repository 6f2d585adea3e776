// Operator typing rules: each accepts its operand types and gives the result
// type, or reports the combination and gives the unknown type, which equal()
// accepts everywhere so one fault does not cascade through enclosing expressions.
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/types.hpp"

namespace {

Type* reject(DiagnosticSink& job, const std::string& op, Type* l, Type* r) {
    QUVException e(job);
    e.makeIllegalBinaryOp(op, l, r);
    return Type::unknownType;
}

Type* rejectOne(DiagnosticSink& job, const std::string& op, Type* t) {
    QUVException e(job);
    e.makeIllegalOp(op, t);
    return Type::unknownType;
}

Type* rejectField(DiagnosticSink& job, const std::string& op, Type* l, const std::string& field) {
    QUVException e(job);
    e.makeIllegalFieldOp(op, l, field);
    return Type::unknownType;
}

}  // namespace

bool Type::eqAccepts(Type* r) {
    return equal(this, r) || (equal(this, integerType) && equal(r, floatType)) ||
           (equal(this, floatType) && equal(r, integerType)) || (equal(this, logicType) && equal(r, boolType)) ||
           (equal(this, boolType) && equal(r, logicType));
}

Type* Type::checkEq(DiagnosticSink& job, Type* r) {
    return eqAccepts(r) ? boolType : reject(job, "=", this, r);
}

Type* Type::checkNe(DiagnosticSink& job, Type* r) {
    return eqAccepts(r) ? boolType : reject(job, "/=", this, r);
}

Type* Type::checkComparison(DiagnosticSink& job, const std::string& op, Type* r) {
    bool ok;
    if (equal(this, r))
        ok = equal(this, integerType) || equal(this, floatType) || equal(this, stringType);
    else
        ok = (equal(this, integerType) && equal(r, floatType)) || (equal(this, floatType) && equal(r, integerType));
    return ok ? boolType : reject(job, op, this, r);
}

Type* Type::checkLt(DiagnosticSink& job, Type* r) { return checkComparison(job, "<", r); }
Type* Type::checkLe(DiagnosticSink& job, Type* r) { return checkComparison(job, "<=", r); }
Type* Type::checkGt(DiagnosticSink& job, Type* r) { return checkComparison(job, ">", r); }
Type* Type::checkGe(DiagnosticSink& job, Type* r) { return checkComparison(job, ">=", r); }

Type* Type::checkAnd(DiagnosticSink& job, Type* r) {
    return equal(this, boolType) && equal(r, boolType) ? boolType : reject(job, "$C", this, r);
}

Type* Type::checkOr(DiagnosticSink& job, Type* r) {
    return equal(this, boolType) && equal(r, boolType) ? boolType : reject(job, "$V", this, r);
}

Type* Type::checkArithmetic(DiagnosticSink& job, const std::string& op, Type* r, bool allowString) {
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
    return reject(job, op, this, r);
}

Type* Type::checkAdd(DiagnosticSink& job, Type* r) { return checkArithmetic(job, "+", r, true); }
Type* Type::checkSub(DiagnosticSink& job, Type* r) { return checkArithmetic(job, "-", r, false); }
Type* Type::checkMul(DiagnosticSink& job, Type* r) { return checkArithmetic(job, "*", r, false); }
Type* Type::checkDiv(DiagnosticSink& job, Type* r) { return checkArithmetic(job, "/", r, false); }

Type* Type::checkMod(DiagnosticSink& job, Type* r) {
    return equal(this, integerType) && equal(r, integerType) ? integerType : rejectOne(job, "%", r);
}

Type* Type::checkNeg(DiagnosticSink& job) {
    if (equal(this, integerType))
        return integerType;
    if (equal(this, floatType))
        return floatType;
    return rejectOne(job, "-", this);
}

Type* Type::checkDeref(DiagnosticSink& job) {
    const Type* t = resolveNames(this);
    if (t->number == POINTER)
        return static_cast<const PointerType*>(t)->pointee;
    return rejectOne(job, "*", this);
}

Type* Type::checkNot(DiagnosticSink& job) {
    return equal(this, boolType) ? boolType : rejectOne(job, "~", this);
}

Type* Type::checkCanSend(DiagnosticSink& job) {
    if (!(number == CHANNEL && !static_cast<ChannelType*>(this)->isInput))
        rejectOne(job, "!", this);
    return boolType;
}

Type* Type::checkCanRecv(DiagnosticSink& job) {
    if (!(number == CHANNEL && static_cast<ChannelType*>(this)->isInput))
        rejectOne(job, "?", this);
    return boolType;
}

Type* Type::checkAddressOf() {
    return makePointer(this);
}

Type* Type::self() {
    return this;
}

Type* Type::checkIfThenElse(DiagnosticSink& job, Type* thenType, Type* elseType) {
    if (equal(this, boolType) && equal(thenType, elseType))
        return thenType;
    QUVException e(job);
    e.makeIllegalTernaryOp("if then else", this, thenType, elseType);
    return unknownType;
}

Type* Type::checkIndex(DiagnosticSink& job, Type* index) {
    const Type* t = resolveNames(this);
    if (t->number == ARRAY && equal(index, integerType))
        return static_cast<const ArrayType*>(t)->elementType;
    return reject(job, "[]", this, index);
}

Type* Type::checkArrow(DiagnosticSink& job, const std::string& field) {
    const Type* t = resolveNames(this);
    if (t->number == POINTER)
        return static_cast<const PointerType*>(t)->pointee->checkField(job, field);
    return rejectField(job, "->", this, field);
}

Type* Type::checkField(DiagnosticSink& job, const std::string& field) {
    const Type* t = resolveNames(this);
    if (t->number == RECORD || t->number == UNION) {
        auto record = static_cast<const RecordType*>(t);
        for (int i = 0; i < record->getFieldCount(); ++i)
            if (record->getFieldName(i) == field)
                return record->getFieldType(i);
    }
    return rejectField(job, ".", this, field);
}

bool Type::checkAssign(DiagnosticSink& job, Type* r) {
    if (eqAccepts(r))
        return true;
    reject(job, "=", this, r);
    return false;
}

bool Type::checkReceive(DiagnosticSink& job, Type* r) {
    if (number == CHANNEL && static_cast<ChannelType*>(this)->isInput &&
        equal(static_cast<ChannelType*>(this)->elementType, r))
        return true;
    reject(job, "?", this, r);
    return false;
}

bool Type::checkSend(DiagnosticSink& job, Type* r) {
    if (number == CHANNEL && !static_cast<ChannelType*>(this)->isInput &&
        equal(static_cast<ChannelType*>(this)->elementType, r))
        return true;
    reject(job, "!", this, r);
    return false;
}

bool Type::checkEquation(DiagnosticSink& job) {
    if (number == CONTROL)
        return true;
    rejectOne(job, "==", this);
    return false;
}

bool Type::checkDelete(DiagnosticSink& job) {
    if (number == CONTROL)
        return true;
    rejectOne(job, "delete", this);
    return false;
}
