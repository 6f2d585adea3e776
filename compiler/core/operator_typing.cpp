// Operator typing rules: each accepts its operand types and gives the result
// type, or reports the combination and gives the unknown type, which equal()
// accepts everywhere so one fault does not cascade through enclosing expressions.
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/job_state.hpp"
#include "compiler/core/types.hpp"

namespace {

Type* reject(JobState& job, const std::string& op, Type* l, Type* r) {
    QUVException e(job);
    e.makeIllegalBinaryOp(op, l, r);
    return job.types().unknownType();
}

Type* rejectOne(JobState& job, const std::string& op, Type* t) {
    QUVException e(job);
    e.makeIllegalOp(op, t);
    return job.types().unknownType();
}

Type* rejectField(JobState& job, const std::string& op, Type* l, const std::string& field) {
    QUVException e(job);
    e.makeIllegalFieldOp(op, l, field);
    return job.types().unknownType();
}

}  // namespace

bool Type::eqAccepts(const TypeRegistry& types, Type* r) {
    Type* integerType = types.integerType();
    Type* floatType = types.floatType();
    Type* logicType = types.logicType();
    Type* boolType = types.boolType();
    return equal(this, r) || (equal(this, integerType) && equal(r, floatType)) ||
           (equal(this, floatType) && equal(r, integerType)) || (equal(this, logicType) && equal(r, boolType)) ||
           (equal(this, boolType) && equal(r, logicType));
}

Type* Type::checkEq(JobState& job, Type* r) {
    return eqAccepts(job.types(), r) ? job.types().boolType() : reject(job, "=", this, r);
}

Type* Type::checkNe(JobState& job, Type* r) {
    return eqAccepts(job.types(), r) ? job.types().boolType() : reject(job, "/=", this, r);
}

Type* Type::checkComparison(JobState& job, const std::string& op, Type* r) {
    const TypeRegistry& types = job.types();
    bool ok;
    if (equal(this, r))
        ok = equal(this, types.integerType()) || equal(this, types.floatType()) || equal(this, types.stringType());
    else
        ok = (equal(this, types.integerType()) && equal(r, types.floatType())) ||
             (equal(this, types.floatType()) && equal(r, types.integerType()));
    return ok ? types.boolType() : reject(job, op, this, r);
}

Type* Type::checkLt(JobState& job, Type* r) { return checkComparison(job, "<", r); }
Type* Type::checkLe(JobState& job, Type* r) { return checkComparison(job, "<=", r); }
Type* Type::checkGt(JobState& job, Type* r) { return checkComparison(job, ">", r); }
Type* Type::checkGe(JobState& job, Type* r) { return checkComparison(job, ">=", r); }

Type* Type::checkAnd(JobState& job, Type* r) {
    const TypeRegistry& types = job.types();
    return equal(this, types.boolType()) && equal(r, types.boolType()) ? types.boolType() : reject(job, "$C", this, r);
}

Type* Type::checkOr(JobState& job, Type* r) {
    const TypeRegistry& types = job.types();
    return equal(this, types.boolType()) && equal(r, types.boolType()) ? types.boolType() : reject(job, "$V", this, r);
}

Type* Type::checkArithmetic(JobState& job, const std::string& op, Type* r, bool allowString) {
    const TypeRegistry& types = job.types();
    if (equal(this, types.integerType()) && equal(r, types.integerType()))
        return types.integerType();
    if (equal(this, types.floatType()) && equal(r, types.integerType()))
        return types.floatType();
    if (equal(this, types.integerType()) && equal(r, types.floatType()))
        return types.floatType();
    if (equal(this, types.floatType()) && equal(r, types.floatType()))
        return types.floatType();
    // A String takes the text of a basic value appended to it, as the output built-ins write it.
    if (allowString && equal(this, types.stringType()) &&
        (equal(r, types.stringType()) || equal(r, types.integerType()) || equal(r, types.floatType()) ||
         equal(r, types.boolType()) || equal(r, types.logicType())))
        return types.stringType();
    return reject(job, op, this, r);
}

Type* Type::checkAdd(JobState& job, Type* r) { return checkArithmetic(job, "+", r, true); }
Type* Type::checkSub(JobState& job, Type* r) { return checkArithmetic(job, "-", r, false); }
Type* Type::checkMul(JobState& job, Type* r) { return checkArithmetic(job, "*", r, false); }
Type* Type::checkDiv(JobState& job, Type* r) { return checkArithmetic(job, "/", r, false); }

Type* Type::checkMod(JobState& job, Type* r) {
    const TypeRegistry& types = job.types();
    return equal(this, types.integerType()) && equal(r, types.integerType()) ? types.integerType()
                                                                               : rejectOne(job, "%", r);
}

Type* Type::checkNeg(JobState& job) {
    const TypeRegistry& types = job.types();
    if (equal(this, types.integerType()))
        return types.integerType();
    if (equal(this, types.floatType()))
        return types.floatType();
    return rejectOne(job, "-", this);
}

Type* Type::checkDeref(JobState& job) {
    const Type* t = resolveNames(this);
    if (t->number == POINTER)
        return static_cast<const PointerType*>(t)->pointee;
    return rejectOne(job, "*", this);
}

Type* Type::checkNot(JobState& job) {
    const TypeRegistry& types = job.types();
    return equal(this, types.boolType()) ? types.boolType() : rejectOne(job, "~", this);
}

Type* Type::checkCanSend(JobState& job) {
    if (!(number == CHANNEL && !static_cast<ChannelType*>(this)->isInput))
        rejectOne(job, "!", this);
    return job.types().boolType();
}

Type* Type::checkCanRecv(JobState& job) {
    if (!(number == CHANNEL && static_cast<ChannelType*>(this)->isInput))
        rejectOne(job, "?", this);
    return job.types().boolType();
}

Type* Type::checkAddressOf(JobState& job) {
    return job.types().makePointer(this);
}

Type* Type::self() {
    return this;
}

Type* Type::checkIfThenElse(JobState& job, Type* thenType, Type* elseType) {
    const TypeRegistry& types = job.types();
    if (equal(this, types.boolType()) && equal(thenType, elseType))
        return thenType;
    QUVException e(job);
    e.makeIllegalTernaryOp("if then else", this, thenType, elseType);
    return types.unknownType();
}

Type* Type::checkIndex(JobState& job, Type* index) {
    const Type* t = resolveNames(this);
    if (t->number == ARRAY && equal(index, job.types().integerType()))
        return static_cast<const ArrayType*>(t)->elementType;
    return reject(job, "[]", this, index);
}

Type* Type::checkArrow(JobState& job, const std::string& field) {
    const Type* t = resolveNames(this);
    if (t->number == POINTER)
        return static_cast<const PointerType*>(t)->pointee->checkField(job, field);
    return rejectField(job, "->", this, field);
}

Type* Type::checkField(JobState& job, const std::string& field) {
    const Type* t = resolveNames(this);
    if (t->number == RECORD || t->number == UNION) {
        auto record = static_cast<const RecordType*>(t);
        for (int i = 0; i < record->getFieldCount(); ++i)
            if (record->getFieldName(i) == field)
                return record->getFieldType(i);
    }
    return rejectField(job, ".", this, field);
}

bool Type::checkAssign(JobState& job, Type* r) {
    if (eqAccepts(job.types(), r))
        return true;
    reject(job, "=", this, r);
    return false;
}

bool Type::checkReceive(JobState& job, Type* r) {
    if (number == CHANNEL && static_cast<ChannelType*>(this)->isInput &&
        equal(static_cast<ChannelType*>(this)->elementType, r))
        return true;
    reject(job, "?", this, r);
    return false;
}

bool Type::checkSend(JobState& job, Type* r) {
    if (number == CHANNEL && !static_cast<ChannelType*>(this)->isInput &&
        equal(static_cast<ChannelType*>(this)->elementType, r))
        return true;
    reject(job, "!", this, r);
    return false;
}

bool Type::checkEquation(JobState& job) {
    if (number == CONTROL)
        return true;
    rejectOne(job, "==", this);
    return false;
}

bool Type::checkDelete(JobState& job) {
    if (number == CONTROL)
        return true;
    rejectOne(job, "delete", this);
    return false;
}
