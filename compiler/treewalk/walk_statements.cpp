// The actions of the walker's equation, statement, element and action rules:
// each builds its object through one emitter, or none when a part it needs
// failed, so that the emitters never see a missing part. An object is held
// by its owner while its emitter runs: an emitter that throws frees it.
#include <memory>

#include "compiler/core/quv_ast.hpp"
#include "compiler/treewalk/treewalk.hpp"

namespace {

// A condition that was written but failed still guards what it guarded: with
// a condition that never holds, instead of none at all.
OperatorExpression* failedCondition(const TypeRegistry& types)
{
    return new OperatorExpression("", "false", types.unknownType());
}

// Only a variable node can be a channel, a control variable or a new name; a
// node of another class has been reported by the resolution.
VarNode* variableNode(Node* node)
{
    VarNode* variable = dynamic_cast<VarNode*>(node);
    return variable && variable->getExpression() ? variable : nullptr;
}

}  // namespace

// ---- assignment equations ----------------------------------------------------------------------

AssignmentEquation* QUVTreeWalk::assignEquation(const Expression* target, const OperatorExpression* value)
{
    if (!target || !value)
        return nullptr;
    return new AssignmentEquation(*job, target, value);
}

AssignmentEquation* QUVTreeWalk::newDeclaration(Node* node, Type* t)
{
    VarNode* variable = variableNode(node);
    if (!variable)
        return nullptr;
    // The equation gives the node its declared type, so later uses render and check with it.
    auto q = new AssignmentEquation(variable, t ? t : job->types().unknownType());
    if (nestDepth > 0)
        bodyDeclarations += q->takeDeclaration();
    return q;
}

AssignmentEquation* QUVTreeWalk::receiveEquation(Node* channel, const Expression* target)
{
    VarNode* node = variableNode(channel);
    if (!node || !target || !node->getExpression())
        return nullptr;
    channelAccess(node);
    return new AssignmentEquation(*job, node, target);
}

AssignmentEquation* QUVTreeWalk::sendEquation(Node* channel, const OperatorExpression* value)
{
    VarNode* node = variableNode(channel);
    if (!node || !value || !node->getExpression())
        return nullptr;
    channelAccess(node);
    return new AssignmentEquation(*job, node, value);
}

AssignmentEquation* QUVTreeWalk::startEquation(Node* control, const std::string& process)
{
    VarNode* node = variableNode(control);
    if (!node)
        return nullptr;
    return new AssignmentEquation(*job, node, process);
}

AssignmentEquation* QUVTreeWalk::deleteEquation(Node* control)
{
    VarNode* node = variableNode(control);
    if (!node)
        return nullptr;
    return new AssignmentEquation(*job, node);
}

// A sequence of one equation (written alone, or the only one that could be
// built) is that equation.
AssignmentEquation* QUVTreeWalk::sequenceEquation(OwnedList<AssignmentEquation>& parts)
{
    if (parts.size() == 0)
        return nullptr;
    if (parts.size() == 1)
        return parts.release().front();
    return new AssignmentEquation(parts.items());
}

// ---- conditions ----------------------------------------------------------------------------------

const CodeFragment* QUVTreeWalk::guardOf(Owned<OperatorExpression>& c, bool present)
{
    if (!present)
        return nullptr;
    if (!c)
        c = failedCondition(job->types());
    return c.get();
}

// A condition part and an assignment equation may both stand after a wait's
// label: an equality, can-send or can-receive test of an equation's shape is
// read as the equation, every other expression as the condition part.
bool QUVTreeWalk::startsWaitGuard(antlr::RefAST node)
{
    switch (node->getType()) {
    case ASSIGN: return false;
    case QUESTION:
    case EXCLAMATION: return !node->getFirstChild() || !node->getFirstChild()->getNextSibling();
    default: return true;
    }
}

GotoCondition* QUVTreeWalk::gotoConditionOf(Owned<OperatorExpression>& c, const std::string& target)
{
    guardOf(c, true);
    return ConditionalElement::createGotoCondition(c.release(), target);
}

// ---- statements ----------------------------------------------------------------------------------

Statement* QUVTreeWalk::atomicStatement(const std::string& label, const Statement* action)
{
    if (!action)
        return nullptr;
    std::unique_ptr<Statement> s(new Statement);
    s->createCE(label, action);
    return s.release();
}

Statement* QUVTreeWalk::ifStatement(const std::string& label, Owned<OperatorExpression>& c, bool guarded,
                                    const Statement* thenAction, const Statement* elseAction)
{
    if (!thenAction)
        return nullptr;
    std::unique_ptr<Statement> s(new Statement);
    s->createIfStat(label, guardOf(c, guarded), thenAction, elseAction);
    return s.release();
}

// Without its condition a case statement has no alternative to put its statements in.
Statement* QUVTreeWalk::caseStatement(const std::string& label, const CaseCondition* c,
                                      const OwnedList<Statement>& statements)
{
    if (!c)
        return nullptr;
    std::unique_ptr<Statement> s(new Statement);
    s->createStat(label, c, statements.items());
    return s.release();
}

Statement* QUVTreeWalk::loopStatement(const std::string& label, Owned<OperatorExpression>& c, bool guarded,
                                      const OwnedList<Statement>& statements)
{
    std::unique_ptr<Statement> s(new Statement);
    s->createLoopStat(label, guardOf(c, guarded), statements.items());
    return s.release();
}

// An exit condition that failed ends the wait after one round rather than never.
Statement* QUVTreeWalk::waitStatement(const std::string& label, const OwnedList<AssignmentEquation>& equations,
                                      const OperatorExpression* exitCondition, Owned<OperatorExpression>& guard,
                                      bool guarded)
{
    std::unique_ptr<Statement> s(new Statement);
    s->createWaitStat(label, equations.items(), exitCondition, guardOf(guard, guarded));
    return s.release();
}

Statement* QUVTreeWalk::sequenceStatement(const OwnedList<Statement>& statements)
{
    std::unique_ptr<Statement> s(new Statement);
    s->createSeqStat(statements.items());
    return s.release();
}

ConditionalElement* QUVTreeWalk::elementOf(const std::string& label, Owned<OperatorExpression>& c, bool guarded,
                                           const Statement* action)
{
    if (!action)
        return nullptr;
    std::unique_ptr<ConditionalElement> e(new ConditionalElement);
    e->createCE(label, guardOf(c, guarded), action);
    return e.release();
}

// ---- action parts --------------------------------------------------------------------------------

Statement* QUVTreeWalk::actionItem(const OwnedList<AssignmentEquation>& equations, const std::string& forward)
{
    std::unique_ptr<Statement> s(new Statement);
    s->createActionItem(equations.items(), forward);
    return s.release();
}

Statement* QUVTreeWalk::callAction(const CodeFragment* call)
{
    std::unique_ptr<Statement> s(new Statement);
    s->createCallAction(call);
    return s.release();
}

Statement* QUVTreeWalk::selectOf(const OwnedList<Statement>& alternatives)
{
    std::unique_ptr<Statement> s(new Statement);
    s->createSelect(alternatives.items());
    return s.release();
}

Statement* QUVTreeWalk::guardedAlternative(Owned<OperatorExpression>& c, const Statement* action)
{
    if (!action)
        return nullptr;
    std::unique_ptr<Statement> g(new Statement);
    g->createGuardedAlternative(guardOf(c, true), action);
    return g.release();
}

Statement* QUVTreeWalk::parallelOf(const OwnedStarts& starts)
{
    std::unique_ptr<Statement> s(new Statement);
    s->createParallel(*job, starts.items());
    return s.release();
}
