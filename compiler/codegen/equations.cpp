// Assignment equations: each evaluates its next-state value into a fresh
// temporary, and its commit text copies the temporary into the variable once
// every equation of the action has been evaluated.
#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"

namespace {
const char* const constructorName = "AssignmentEquation::AssignmentEquation()";

bool isArray(const Type* t) {
    while (auto named = dynamic_cast<const NamedType*>(t))
        t = named->target;
    return t && t->getNumber() == Type::ARRAY;
}

// C++ cannot assign arrays: those are copied element by element by the run-time header.
std::string copy(const std::string& to, const std::string& from, bool array) {
    if (array)
        return "quv_assign(" + to + ", " + from + ")" + base::semicolon() + base::newline();
    return to + " = " + from + base::semicolon() + base::newline();
}

std::string nameOf(const VarNode* n) {
    return n ? n->getName() : std::string();
}

Type* typeOf(JobState& job, const VarNode* n) {
    Type* t = n && n->getExpression() ? n->getExpression()->getType() : nullptr;
    return t ? t : job.types().unknownType();
}

// A channel equation's channel must have its access record and type.
const Expression* channelRecord(const VarNode* c) {
    const Expression* record = c ? c->getExpression() : nullptr;
    if (!record || !record->getType())
        throwInternalFailure("illegal varnode or variable", constructorName);
    return record;
}
}  // namespace

AssignmentEquation::AssignmentEquation(JobState& job, const Expression* v, const OperatorExpression* e) {
    if (!v || !e || !v->getType() || !e->getType())
        throwInternalFailure("illegal variable or expression", constructorName);
    std::string t = CodeNames::nextTemp(job);
    v->getType()->checkAssign(job, e->getType());
    bool array = isArray(v->getType()) || isArray(e->getType());
    typeset = "$O" + v->getTypeset() + " = " + e->getTypeset();
    code = CodeNames::declaration(t, v->getType()) + base::semicolon() + base::newline() +
           copy(t, e->getCode(), array);
    label = copy(v->getCode(), t, array);
}

AssignmentEquation::AssignmentEquation(VarNode* n, Type* T) {
    if (!n || !T || !n->getExpression())
        throwInternalFailure("illegal varnode or type", constructorName);
    // The new name renders and type-checks with its declared type from here on.
    if (n->getExpression()->getType() != T)
        n->setType(T);
    typeset = "$O NewDec (" + n->getName() + " : " + T->getTypeset() + ")";
    code = CodeNames::declaration(CodeNames::varName(n->getName()), T) + base::semicolon() + base::newline();
}

AssignmentEquation::AssignmentEquation(JobState& job, VarNode* c, const Expression* v) {
    const Expression* channel = channelRecord(c);
    if (!v)
        throwInternalFailure("illegal varnode or variable", constructorName);
    Type* target = v->getType() ? v->getType() : job.types().unknownType();
    channel->getType()->checkReceive(job, target);
    typeset = "$O" + c->getName() + "?" + v->getTypeset();
    std::string t = CodeNames::nextTemp(job);
    bool array = isArray(target);
    // The temporary starts with the current value, so a receive that delivers nothing changes nothing.
    code = CodeNames::declaration(t, target) + base::semicolon() + base::newline() + copy(t, v->getCode(), array) +
           CodeNames::channelRecv(job, channel->getCode(), t) + base::semicolon() + base::newline();
    label = copy(v->getCode(), t, array);
}

AssignmentEquation::AssignmentEquation(JobState& job, VarNode* c, const OperatorExpression* e) {
    const Expression* channel = channelRecord(c);
    if (!e)
        throwInternalFailure("illegal varnode or variable", constructorName);
    channel->getType()->checkSend(job, e->getType() ? e->getType() : job.types().unknownType());
    typeset = "$O" + c->getName() + "!" + e->getTypeset();
    code = CodeNames::channelSend(job, channel->getCode(), e->getCode()) + base::semicolon() + base::newline();
}

AssignmentEquation::AssignmentEquation(JobState& job, VarNode* k, std::string process) {
    typeOf(job, k)->checkEquation(job);
    typeset = "$O" + nameOf(k) + " == " + process;
    code = CodeNames::assignment(nameOf(k), process) + base::semicolon() + base::newline();
}

AssignmentEquation::AssignmentEquation(JobState& job, VarNode* k) {
    typeOf(job, k)->checkDelete(job);
    typeset = "$ODelete " + nameOf(k);
    code = CodeNames::deleteProsComment(nameOf(k)) + base::semicolon() + base::newline();
}

AssignmentEquation::AssignmentEquation(const std::vector<AssignmentEquation*>& equations) {
    if (equations.size() < 2)
        throwInternalFailure("illegal seq assignment equation num", "AssignmentEquation::AssignmentEquation");
    typeset = ">>" + base::openBracket();
    for (size_t i = 0; i < equations.size(); ++i) {
        typeset += (i == 0 ? "" : ";" + base::newline()) + equations[i]->getTypeset();
        code += equations[i]->getCode();
        label += equations[i]->getLabel();
    }
    typeset += base::closeBracket();
}
