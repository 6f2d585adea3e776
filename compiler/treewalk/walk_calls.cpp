// The actions of the walker's call rules: user calls with their actual
// parameters, the built-ins, and the process starts of parallel statements
// with the check of their control variables.
// A call whose procedure, file or operand failed gets no fragment at all, so
// the emitters only ever see what was built.
#include <cstdlib>
#include <memory>
#include <set>

#include "compiler/core/quv_ast.hpp"
#include "compiler/treewalk/treewalk.hpp"

namespace {

// Only a procedure node can be called, only a process node started.
ProNode* procedureNode(Node* node, int kind)
{
    ProNode* procedure = dynamic_cast<ProNode*>(node);
    return procedure && procedure->getDefType() == kind ? procedure : nullptr;
}

}  // namespace

void QUVTreeWalk::bindControl(Node* control, Node* process, const std::string& name)
{
    VarNode* node = variableNode(control);
    if (!node)
        return;
    ProNode* bound = procedureNode(process, DEF_PROCESS);
    // A name of this file that is no process has been reported.
    ControlBinding binding{bound, process && !bound ? std::string() : name};
    auto found = controlProcesses.find(node);
    if (found == controlProcesses.end())
        controlProcesses[node] = binding;
    else if (found->second.process != binding.process || found->second.name != binding.name)
        found->second = ControlBinding{nullptr, std::string()};
}

void QUVTreeWalk::noteControlStart(const Node* control, const std::string& name)
{
    if (control && control->getDefType() == DEF_CONTROL)
        controlStarts.push_back({control, name, line, column});
}

// Checked once the whole file is walked: a binding may follow the start in
// the text (inside a loop), and a procedure may bind the variable through a
// reference parameter, which counts as a use like any other.
void QUVTreeWalk::checkControlStarts()
{
    std::map<const Node*, int> starts;
    for (const ControlStart& s : controlStarts)
        ++starts[s.control];
    std::set<const Node*> reported;
    for (const ControlStart& s : controlStarts) {
        if (controlUses[s.control] > starts[s.control] || !reported.insert(s.control).second)
            continue;
        job->setWalkPosition(s.line, s.column);
        job->setWalkRule("prosCall");
        QUVException diagnostic(*job);
        diagnostic.makeUnsupported("Control variable " + s.name + " is started but never bound to a process: bind it with $O " +
                                   s.name + " == a process before the parallel statement starts it");
    }
    controlStarts.clear();
    controlUses.clear();
}

// A value actual is assigned to its formal, a reference actual must be of the
// formal's own type; for a procedure's call and a process's start alike.
// Actuals that name no formal, or have another attribute, are reported by the
// emitters.
void QUVTreeWalk::checkActualTypes(ProNode* callee, const std::vector<std::unique_ptr<ActualParam>>& actuals)
{
    static const int valueParam = 12;
    static const int referenceParam = 13;
    for (const auto& a : actuals) {
        for (int j = 0; j < callee->getParamCount(); ++j) {
            if (callee->getFormalParamName(j) != a->getFormalName() || callee->getParamAttrib(j) != a->getAttribute())
                continue;
            const bool byReference = a->getAttribute() == referenceParam;
            if ((byReference || a->getAttribute() == valueParam) &&
                !fitsType(callee->getParamType(j), a->getType(), byReference)) {
                QUVException diagnostic(*job);
                diagnostic.makeMismatch(std::string(callee->getDefType() == DEF_PROCESS ? "In the start of process "
                                                                                        : "In the call of procedure ") +
                                        callee->getName() + ", the actual " +
                                        a->getTypeset() + " has type " + a->getType()->getTypeset() +
                                        ", which parameter " + a->getFormalName() + " of type " +
                                        callee->getParamType(j)->getTypeset() + " cannot take");
            }
            break;
        }
    }
}

std::unique_ptr<ProcCall> QUVTreeWalk::userCall(Node* procedure, const Actuals& actuals)
{
    ProNode* callee = procedureNode(procedure, DEF_PROCEDURE);
    if (!callee)
        return nullptr;
    checkActualTypes(callee, actuals);
    return codegen::createProcCall(*job, callee, symbols->getFramePath(callee), actuals);
}

// A file variable is reached like any other variable: through the frames when
// it belongs to a procedure or process around the block being walked. Its
// access record is pointed at that frame here, after the operands are walked.
VarNode* QUVTreeWalk::fileNode(Node* file)
{
    VarNode* node = variableNode(file);
    if (node)
        variableAccess(node);
    return node;
}

std::unique_ptr<ProcCall> QUVTreeWalk::fileCall(Node* file, const Expression* operand, FileEmitter emit)
{
    VarNode* node = fileNode(file);
    if (!node || !operand)
        return nullptr;
    return emit(*job, node, operand);
}

std::unique_ptr<ProcCall> QUVTreeWalk::closeCall(Node* file)
{
    VarNode* node = fileNode(file);
    if (!node)
        return nullptr;
    return codegen::createFclose(*job, node);
}

std::unique_ptr<ProcCall> QUVTreeWalk::operandCall(const Expression* operand, OperandEmitter emit)
{
    if (!operand)
        return nullptr;
    return emit(*job, operand);
}

std::unique_ptr<ProcCall> QUVTreeWalk::pairCall(const Expression* first, const Expression* second, PairEmitter emit)
{
    if (!first || !second)
        return nullptr;
    return emit(*job, first, second);
}

std::unique_ptr<ProcCall> QUVTreeWalk::readCall(Node* file, bool fromFile, const std::vector<Expression*>& items)
{
    VarNode* node = fromFile ? fileNode(file) : nullptr;
    if ((fromFile && !node) || items.empty())
        return nullptr;
    return fromFile ? codegen::createFread(*job, node, items) : codegen::createRead(*job, items);
}

std::unique_ptr<ProcCall> QUVTreeWalk::writeCall(const WriteItems& items, WriteEmitter emit)
{
    if (items.empty())
        return nullptr;
    return emit(*job, itemsOf(items));
}

std::unique_ptr<ProcCall> QUVTreeWalk::fileWriteCall(Node* file, const WriteItems& items, FileWriteEmitter emit)
{
    VarNode* node = fileNode(file);
    if (!node || items.empty())
        return nullptr;
    return emit(*job, node, itemsOf(items));
}

// A variable read twice in one call is read once, where it first stands.
void QUVTreeWalk::addReadItem(std::vector<Expression*>& items, Expression* v)
{
    if (!v)
        return;
    for (const Expression* earlier : items)
        if (earlier->getTypeset() == v->getTypeset())
            return;
    items.push_back(v);
}

// A call that could not be made leaves its value alone, which was reported
// with the call; a value that failed gives none.
std::unique_ptr<OperatorExpression> QUVTreeWalk::valueCall(const OperatorExpression* value, const CodeFragment* call)
{
    if (!value)
        return nullptr;
    return call ? codegen::createCall(*job, *value, call) : codegen::createParenExpr(*job, *value);
}

std::unique_ptr<ActualParam> QUVTreeWalk::inParam(const OperatorExpression* value, const std::string& formal)
{
    return value ? codegen::createInActual(*job, value, formal) : nullptr;
}

std::unique_ptr<ActualParam> QUVTreeWalk::ioParam(const Expression* variable, const std::string& formal)
{
    return variable ? codegen::createIoActual(*job, variable, formal) : nullptr;
}

std::unique_ptr<ActualParam> QUVTreeWalk::channelParam(const std::string& channel, Node* peer,
                                                       const std::string& formal, bool input)
{
    VarNode* node = variableNode(peer);
    if (!node)
        return nullptr;
    return input ? codegen::createChanInActual(*job, channel, node, formal)
                 : codegen::createChanOutActual(*job, channel, node, formal);
}

// Each new actual of a start is compared with every earlier one, in order.
void QUVTreeWalk::checkPairs(const ActualParam* actual, const Actuals& earlier)
{
    if (!actual)
        return;
    for (const auto& other : earlier)
        codegen::checkActualPair(*job, *actual, *other);
}

std::unique_ptr<ProcessStart> QUVTreeWalk::processStart(Node* control, Actuals& actuals, int interval)
{
    VarNode* node = variableNode(control);
    if (!node || !node->getExpression())
        return nullptr;
    // The start takes the control's access, which reaches a control of an enclosing procedure.
    accessFromHere(node);
    auto bound = controlProcesses.find(node);
    const ControlBinding binding = bound == controlProcesses.end() ? ControlBinding{nullptr, ""} : bound->second;
    // Only where the control is bound to one process of this file are its formals known.
    if (binding.process)
        checkActualTypes(binding.process, actuals);
    std::unique_ptr<ProcessStart> start =
        codegen::createProsStart(*job, node, std::move(actuals), interval, binding.process);
    start->processName = binding.name;
    return start;
}

// Whether an integer literal stands for an Integer, reported at the literal
// when it does not; only a negated one may be the least Integer.
bool QUVTreeWalk::integerLiteral(antlr::RefAST literal, bool negated)
{
    const std::string text = literal->getText();
    if (codegen::integerLiteralFits(text, negated))
        return true;
    reportSemantic("the integer literal " + text + " is out of the range of Integer");
    return false;
}

// The decimal value of an integer literal; a value past the range of Integer
// is reported and taken as 0.
int QUVTreeWalk::literalValue(antlr::RefAST literal)
{
    if (!integerLiteral(literal, false))
        return 0;
    return static_cast<int>(std::strtoll(literal->getText().c_str(), nullptr, 10));
}
