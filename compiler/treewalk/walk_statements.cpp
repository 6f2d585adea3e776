// The actions of the walker's equation, statement, element and action rules:
// each builds its object through one emitter, or none when a part it needs
// failed, so that the emitters never see a missing part.
#include <memory>

#include "compiler/core/quv_ast.hpp"
#include "compiler/treewalk/treewalk.hpp"

namespace {

// A condition that was written but failed still guards what it guarded: with
// a condition that never holds, instead of none at all.
std::unique_ptr<OperatorExpression> failedCondition(const TypeRegistry& types)
{
    return std::make_unique<OperatorExpression>("", "false", types.unknownType());
}

}  // namespace

// ---- assignment equations ----------------------------------------------------------------------

std::unique_ptr<AssignmentEquation> QUVTreeWalk::assignEquation(const Expression* target,
                                                                const OperatorExpression* value)
{
    if (!target || !value)
        return nullptr;
    return codegen::createAssignEquation(*job, target, value);
}

std::unique_ptr<AssignmentEquation> QUVTreeWalk::newDeclaration(Node* node, Type* t)
{
    VarNode* variable = variableNode(node);
    if (!variable)
        return nullptr;
    // The equation gives the node its declared type, so later uses render and check with it.
    auto q = codegen::createNewDecEquation(*job, variable, t ? t : job->types().unknownType());
    if (nestDepth > 0)
        bodyDeclarations += q->takeDeclaration();
    return q;
}

std::unique_ptr<AssignmentEquation> QUVTreeWalk::receiveEquation(Node* channel, const Expression* target)
{
    VarNode* node = variableNode(channel);
    if (!node || !target || !node->getExpression())
        return nullptr;
    channelAccess(node);
    return codegen::createReceiveEquation(*job, node, target);
}

std::unique_ptr<AssignmentEquation> QUVTreeWalk::sendEquation(Node* channel, const OperatorExpression* value)
{
    VarNode* node = variableNode(channel);
    if (!node || !value || !node->getExpression())
        return nullptr;
    channelAccess(node);
    return codegen::createSendEquation(*job, node, value);
}

std::unique_ptr<AssignmentEquation> QUVTreeWalk::startEquation(Node* control, const std::string& process)
{
    VarNode* node = variableNode(control);
    if (!node || !node->getExpression())
        return nullptr;
    // A control of an enclosing procedure is bound through the frames.
    accessFromHere(node);
    return codegen::createStartEquation(*job, node, process);
}

std::unique_ptr<AssignmentEquation> QUVTreeWalk::deleteEquation(Node* control)
{
    VarNode* node = variableNode(control);
    if (!node)
        return nullptr;
    return codegen::createDeleteEquation(*job, node);
}

// A sequence of one equation (written alone, or the only one that could be
// built) is that equation.
std::unique_ptr<AssignmentEquation> QUVTreeWalk::sequenceEquation(Equations& parts)
{
    if (parts.empty())
        return nullptr;
    if (parts.size() == 1)
        return std::move(parts.front());
    return codegen::createSeqEquation(*job, itemsOf(parts));
}

// ---- conditions ----------------------------------------------------------------------------------

const CodeFragment* QUVTreeWalk::guardOf(Condition& c, bool present)
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

std::unique_ptr<GotoCondition> QUVTreeWalk::gotoConditionOf(Condition& c, const std::string& target)
{
    guardOf(c, true);
    return codegen::createGotoCondition(*job, std::move(c), target);
}

// ---- statements ----------------------------------------------------------------------------------

std::unique_ptr<Statement> QUVTreeWalk::atomicStatement(const std::string& label, const Statement* action)
{
    if (!action)
        return nullptr;
    return codegen::createAtomicStat(*job, label, action);
}

std::unique_ptr<Statement> QUVTreeWalk::ifStatement(const std::string& label, Condition& c, bool guarded,
                                                    const Statement* thenAction, const Statement* elseAction)
{
    if (!thenAction)
        return nullptr;
    return codegen::createIfStat(*job, label, guardOf(c, guarded), thenAction, elseAction);
}

// Without its condition a case statement has no alternative to put its statements in.
std::unique_ptr<Statement> QUVTreeWalk::caseStatement(const std::string& label, const CaseCondition* c,
                                                      const Statements& statements)
{
    if (!c)
        return nullptr;
    return codegen::createStat(*job, label, c, itemsOf(statements));
}

std::unique_ptr<Statement> QUVTreeWalk::loopStatement(const std::string& label, Condition& c, bool guarded,
                                                      const Statements& statements)
{
    return codegen::createLoopStat(*job, label, guardOf(c, guarded), itemsOf(statements));
}

// An exit condition that failed ends the wait after one round rather than never.
std::unique_ptr<Statement> QUVTreeWalk::waitStatement(const std::string& label, const Equations& equations,
                                                      const OperatorExpression* exitCondition, Condition& guard,
                                                      bool guarded)
{
    return codegen::createWaitStat(*job, label, itemsOf(equations), exitCondition, guardOf(guard, guarded));
}

std::unique_ptr<Statement> QUVTreeWalk::sequenceStatement(const Statements& statements)
{
    return codegen::createSeqStat(*job, itemsOf(statements));
}

std::unique_ptr<ConditionalElement> QUVTreeWalk::elementOf(const std::string& label, Condition& c, bool guarded,
                                                           const Statement* action)
{
    if (!action)
        return nullptr;
    return codegen::createCE(*job, label, guardOf(c, guarded), action);
}

// ---- action parts --------------------------------------------------------------------------------

std::unique_ptr<Statement> QUVTreeWalk::actionItem(const Equations& equations, const std::string& forward)
{
    return codegen::createActionItem(*job, itemsOf(equations), forward);
}

std::unique_ptr<Statement> QUVTreeWalk::callAction(const CodeFragment* call)
{
    return codegen::createCallAction(*job, call);
}

std::unique_ptr<Statement> QUVTreeWalk::selectOf(const Statements& alternatives)
{
    return codegen::createSelect(*job, itemsOf(alternatives));
}

std::unique_ptr<Statement> QUVTreeWalk::guardedAlternative(Condition& c, const Statement* action)
{
    if (!action)
        return nullptr;
    return codegen::createGuardedAlternative(*job, guardOf(c, true), action);
}

std::unique_ptr<Statement> QUVTreeWalk::parallelOf(const std::vector<std::unique_ptr<ProcessStart>>& starts)
{
    return codegen::createParallel(*job, itemsOf(starts));
}
