// The actions of the walker's variable and expression rules: access records
// of names, operands that failed, channel tests and required types.
#include "compiler/core/quv_ast.hpp"
#include "compiler/treewalk/treewalk.hpp"

namespace {

Type* typeOrUnknown(const TypeRegistry& registry, const Expression* e)
{
    Type* t = e ? e->getType() : nullptr;
    return t ? t : registry.unknownType();
}

// The basic types a required-type mask selects, in the order they are tried.
std::vector<Type*> requiredTypes(const TypeRegistry& registry, int mask)
{
    std::vector<Type*> types;
    if (mask & 1)
        types.push_back(registry.integerType());
    if (mask & 2)
        types.push_back(registry.floatType());
    if (mask & 4)
        types.push_back(registry.stringType());
    if (mask & 8)
        types.push_back(registry.boolType());
    return types;
}

}  // namespace

Expression* QUVTreeWalk::keepAccess(std::unique_ptr<Expression> record)
{
    accessRecords.push_back(std::move(record));
    return accessRecords.back().get();
}

// The variable's own access record, pointed at it from the block being
// walked: through the frames when it belongs to an enclosing procedure or
// process, through its scope where C++ would find another declaration of its
// name first.
Expression* QUVTreeWalk::accessFromHere(VarNode* v)
{
    Expression* record = v->getExpression();
    codegen::setVariableAccess(*job, *record, symbols->getVarPath(v), symbols->getScopeQualifier(v));
    return record;
}

// A name that resolved to a node of another class (a procedure or a type used
// as a variable) has been reported by the resolution; it gives no access.
Expression* QUVTreeWalk::variableAccess(Node* node)
{
    VarNode* variable = dynamic_cast<VarNode*>(node);
    if (!variable || !variable->getExpression())
        return nullptr;
    return accessFromHere(variable);
}

// A channel is reached like a variable.
Expression* QUVTreeWalk::channelAccess(VarNode* channel)
{
    return accessFromHere(channel);
}

const OperatorExpression* QUVTreeWalk::operand(const OperatorExpression* e)
{
    return e ? e : failedOperand.get();
}

std::unique_ptr<OperatorExpression> QUVTreeWalk::binary(const OperatorExpression* l, const OperatorExpression* r, BinaryEmitter op)
{
    return op(*job, *operand(l), operand(r));
}

std::unique_ptr<OperatorExpression> QUVTreeWalk::canSend(Node* channel, const OperatorExpression* message, bool withMessage)
{
    VarNode* node = dynamic_cast<VarNode*>(channel);
    if (!node || !node->getExpression())
        return nullptr;
    Expression* record = channelAccess(node);
    std::unique_ptr<OperatorExpression> test = codegen::createCanSend(*job, *record);
    // The plain test has no message to compare with the channel's element type.
    if (withMessage && message)
        typeOrUnknown(job->types(), record)->checkSend(*job, typeOrUnknown(job->types(), message));
    return test;
}

std::unique_ptr<OperatorExpression> QUVTreeWalk::canReceive(Node* channel, const Expression* target, bool withTarget)
{
    VarNode* node = dynamic_cast<VarNode*>(channel);
    if (!node || !node->getExpression())
        return nullptr;
    Expression* record = channelAccess(node);
    std::unique_ptr<OperatorExpression> test = codegen::createCanRecv(*job, *record);
    if (withTarget && target)
        typeOrUnknown(job->types(), record)->checkReceive(*job, typeOrUnknown(job->types(), target));
    return test;
}

void QUVTreeWalk::checkRequiredType(const OperatorExpression* e, int mask)
{
    // An expression that failed has been reported already.
    if (!e)
        return;
    Type* t = typeOrUnknown(job->types(), e);
    for (Type* required : requiredTypes(job->types(), mask))
        if (Type::equal(t, required))
            return;
    QUVException diagnostic(*job);
    diagnostic.makeIllegalType(t, mask);
}

// A variable must be of one of the required types itself, not merely compatible.
void QUVTreeWalk::checkVariableType(const Expression* v, int mask)
{
    if (!v)
        return;
    Type* t = typeOrUnknown(job->types(), v);
    for (Type* required : requiredTypes(job->types(), mask))
        if (Type::same(t, required))
            return;
    QUVException diagnostic(*job);
    diagnostic.makeIllegalType(t, mask);
}

// A built-in's variable operand, which it stores into or reads characters
// from: one of the basic types of the mask (a logic variable counts as Bool).
void QUVTreeWalk::checkStoredType(const Expression* v, int mask, const char* builtin)
{
    if (!v)
        return;
    Type* t = typeOrUnknown(job->types(), v);
    std::vector<Type*> accepted = requiredTypes(job->types(), mask);
    if (mask & 8)
        accepted.push_back(job->types().logicType());
    for (Type* required : accepted)
        if (Type::equal(t, required))
            return;
    static const char* const names[] = {"Int", "Float", "String", "Bool"};
    std::string allowed;
    for (int bit = 0; bit < 4; ++bit)
        if (mask & (1 << bit))
            allowed += std::string(allowed.empty() ? "" : " or ") + names[bit];
    QUVException diagnostic(*job);
    diagnostic.makeMismatch(std::string(builtin) + " cannot take the variable " + v->getTypeset() + ", whose type is " +
                            t->getTypeset() + ": it takes only a variable of type " + allowed);
}

bool QUVTreeWalk::fitsType(Type* to, Type* from, bool byReference)
{
    if (!to || !from || Type::equal(to, from))
        return true;
    const bool logical = (Type::equalsBasic(to, Type::LOGIC) && Type::equalsBasic(from, Type::BOOLEAN)) ||
                         (Type::equalsBasic(to, Type::BOOLEAN) && Type::equalsBasic(from, Type::LOGIC));
    const bool numeric = (Type::equalsBasic(to, Type::INTEGER) && Type::equalsBasic(from, Type::FLOAT)) ||
                         (Type::equalsBasic(to, Type::FLOAT) && Type::equalsBasic(from, Type::INTEGER));
    return logical || (!byReference && numeric);
}

// A constant stays what it was declared: its address would let a pointer change it.
std::unique_ptr<OperatorExpression> QUVTreeWalk::addressOf(const Expression* v)
{
    if (v->getAttribute() == DEF_CONSTANT) {
        QUVException diagnostic(*job);
        diagnostic.makeMismatch("The address of constant " + v->getTypeset() +
                                " cannot be taken: a pointer to it could change the constant");
    }
    return codegen::createAddressOf(*job, *v);
}

// Whether the node's first child walks as an expression, tried without
// actions (guessing) and remembered for the rest of the walk: the trials of
// the parentheses inside it are made during this one, once each.
bool QUVTreeWalk::parensHoldExpression(antlr::RefAST node)
{
    const auto known = parensTrials.find(node.get());
    if (known != parensTrials.end())
        return known->second;
    struct Guessing {
        antlr::TreeParserSharedInputState& state;
        explicit Guessing(antlr::TreeParserSharedInputState& s) : state(s) { ++state->guessing; }
        ~Guessing() { --state->guessing; }
    };
    bool fits = true;
    {
        Guessing trial(inputState);
        try {
            expression(node->getFirstChild());
        } catch (const antlr::RecognitionException&) {
            fits = false;
        }
    }
    parensTrials[node.get()] = fits;
    return fits;
}
