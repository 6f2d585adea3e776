// Assignment equations: each evaluates its next-state value into a fresh
// temporary, and its commit text copies the temporary into the variable once
// every equation of the action has been evaluated.
#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/codegen/emit_support.hpp"

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

std::unique_ptr<AssignmentEquation> codegen::createAssignEquation(JobState& job, const Expression* v,
                                                                  const OperatorExpression* e) {
    auto q = std::make_unique<AssignmentEquation>();
    if (!v || !e || !v->getType() || !e->getType())
        throwInternalFailure("illegal variable or expression", constructorName);
    std::string t = CodeNames::nextTemp(job);
    v->getType()->checkAssign(job, e->getType());
    bool array = isArray(v->getType()) || isArray(e->getType());
    q->typeset = "$O" + v->getTypeset() + " = " + e->getTypeset();
    q->code = CodeNames::declaration(t, v->getType()) + base::semicolon() + base::newline() +
              copy(t, e->getCode(), array);
    q->label = copy(v->getCode(), t, array);
    return q;
}

std::unique_ptr<AssignmentEquation> codegen::createNewDecEquation(JobState&, VarNode* n, Type* T) {
    auto q = std::make_unique<AssignmentEquation>();
    if (!n || !T || !n->getExpression())
        throwInternalFailure("illegal varnode or type", constructorName);
    // The new name renders and type-checks with its declared type from here on.
    if (n->getExpression()->getType() != T)
        n->setType(T);
    q->typeset = "$O NewDec (" + n->getName() + " : " + T->getTypeset() + ")";
    q->code = CodeNames::declaration(CodeNames::varName(n->getName()), T) + base::semicolon() + base::newline();
    return q;
}

std::unique_ptr<AssignmentEquation> codegen::createReceiveEquation(JobState& job, VarNode* c, const Expression* v) {
    auto q = std::make_unique<AssignmentEquation>();
    const Expression* channel = channelRecord(c);
    if (!v)
        throwInternalFailure("illegal varnode or variable", constructorName);
    Type* target = v->getType() ? v->getType() : job.types().unknownType();
    channel->getType()->checkReceive(job, target);
    q->typeset = "$O" + c->getName() + "?" + v->getTypeset();
    std::string t = CodeNames::nextTemp(job);
    bool array = isArray(target);
    // The temporary starts with the current value, so a receive that delivers nothing changes nothing.
    q->code = CodeNames::declaration(t, target) + base::semicolon() + base::newline() + copy(t, v->getCode(), array) +
              CodeNames::channelRecv(job, channel->getCode(), t) + base::semicolon() + base::newline();
    q->label = copy(v->getCode(), t, array);
    return q;
}

std::unique_ptr<AssignmentEquation> codegen::createSendEquation(JobState& job, VarNode* c,
                                                                const OperatorExpression* e) {
    auto q = std::make_unique<AssignmentEquation>();
    const Expression* channel = channelRecord(c);
    if (!e)
        throwInternalFailure("illegal varnode or variable", constructorName);
    channel->getType()->checkSend(job, e->getType() ? e->getType() : job.types().unknownType());
    q->typeset = "$O" + c->getName() + "!" + e->getTypeset();
    q->code = CodeNames::channelSend(job, channel->getCode(), e->getCode()) + base::semicolon() + base::newline();
    return q;
}

std::unique_ptr<AssignmentEquation> codegen::createStartEquation(JobState& job, VarNode* k, std::string process) {
    auto q = std::make_unique<AssignmentEquation>();
    typeOf(job, k)->checkEquation(job);
    q->typeset = "$O" + nameOf(k) + " == " + process;
    std::string binding = CodeNames::assignment(nameOf(k), process);
    if (k && k->getExpression())
        binding = emit::onAccess(binding, nameOf(k), k->getExpression()->getCode());
    q->code = binding + base::semicolon() + base::newline();
    return q;
}

std::unique_ptr<AssignmentEquation> codegen::createDeleteEquation(JobState& job, VarNode* k) {
    auto q = std::make_unique<AssignmentEquation>();
    typeOf(job, k)->checkDelete(job);
    q->typeset = "$ODelete " + nameOf(k);
    q->code = CodeNames::deleteProsComment(nameOf(k)) + base::semicolon() + base::newline();
    return q;
}

std::unique_ptr<AssignmentEquation> codegen::createSeqEquation(JobState&,
                                                               const std::vector<AssignmentEquation*>& equations) {
    auto q = std::make_unique<AssignmentEquation>();
    if (equations.size() < 2)
        throwInternalFailure("illegal seq assignment equation num", "AssignmentEquation::AssignmentEquation");
    q->typeset = ">>" + base::openBracket();
    for (size_t i = 0; i < equations.size(); ++i) {
        q->typeset += (i == 0 ? "" : ";" + base::newline()) + equations[i]->getTypeset();
        q->code += equations[i]->getCode();
        q->label += equations[i]->getLabel();
    }
    q->typeset += base::closeBracket();
    return q;
}
