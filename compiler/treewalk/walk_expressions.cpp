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

namespace {

using T = QUVTreeWalkTokenTypes;

// Whether an expression can begin with a node of this type. ORDER: the types
// the alternatives of the rules expression, variable and constant1 begin
// with. A MINUS before any other node is walked by the rule's own MINUS
// alternative, as it always was.
bool beginsExpression(int type)
{
    switch (type) {
    case T::ASSIGN: case T::LT_: case T::LTE: case T::GT: case T::GTE: case T::NE: case T::DOLLA_V:
    case T::DOLLA_C: case T::PLUS: case T::MINUS: case T::MULTI: case T::DIV: case T::MOD: case T::LNOT:
    case T::IF: case T::EXCLAMATION: case T::QUESTION: case T::BAND: case T::COLON: case T::PARENS:
    case T::DOT_VAR: case T::ARROW_VAR: case T::BRACKETS: case T::STAR: case T::IDENT: case T::INT_LITERAL:
    case T::FLOAT_LITERAL: case T::STRING_LITERAL: case T::DOUBLE_T: case T::DOUBLE_F: case T::DOLLA_T:
    case T::DOLLA_F:
        return true;
    default:
        return false;
    }
}

// The operator of a binary operator's node. A MINUS is one only with a
// second operand; with one it is a negation.
bool binaryOperatorOf(const antlr::RefAST& node, codegen::BinaryOperator& op)
{
    using Op = codegen::BinaryOperator;
    if (!node)
        return false;
    switch (node->getType()) {
    case T::ASSIGN: op = Op::Eq; return true;
    case T::NE: op = Op::Ne; return true;
    case T::LT_: op = Op::Lt; return true;
    case T::LTE: op = Op::Le; return true;
    case T::GT: op = Op::Gt; return true;
    case T::GTE: op = Op::Ge; return true;
    case T::DOLLA_C: op = Op::And; return true;
    case T::DOLLA_V: op = Op::Or; return true;
    case T::PLUS: op = Op::Add; return true;
    case T::MINUS: {
        op = Op::Sub;
        const antlr::RefAST left = node->getFirstChild();
        return left && left->getNextSibling() && beginsExpression(left->getNextSibling()->getType());
    }
    case T::MULTI: op = Op::Mul; return true;
    case T::DIV: op = Op::Div; return true;
    case T::MOD: op = Op::Mod; return true;
    default: return false;
    }
}

}  // namespace

bool QUVTreeWalk::startsOperatorChain(antlr::RefAST node)
{
    codegen::BinaryOperator op;
    return binaryOperatorOf(node, op);
}

// The walk a rule per operator would make, in its order: each operator's node
// matched on the way down (the place of a diagnostic before the operands),
// then the innermost left operand, then on the way out each right operand
// followed by its operator's emitter. The operands are expressions of their
// own; whatever nests in them is theirs.
std::unique_ptr<OperatorExpression> QUVTreeWalk::walkOperatorChain(antlr::RefAST root)
{
    struct Step {
        antlr::RefAST node;
        codegen::BinaryOperator op;
    };
    std::vector<Step> steps;
    codegen::BinaryOperator op;
    for (antlr::RefAST node = root; binaryOperatorOf(node, op); node = node->getFirstChild()) {
        traceIn("expression", node);
        steps.push_back({node, op});
    }
    enterRule("expression");
    for (const Step& step : steps)
        match(step.node, step.node->getType());

    const bool acting = inputState->guessing == 0;
    OperatorChain chain;
    std::unique_ptr<OperatorExpression> left = expression(steps.back().node->getFirstChild());
    antlr::RefAST next = _retTree;
    if (acting)
        codegen::startChain(*job, chain, std::move(left));
    for (auto step = steps.rbegin(); step != steps.rend(); ++step) {
        if (step != steps.rbegin())
            next = std::prev(step)->node->getNextSibling();
        const std::unique_ptr<OperatorExpression> right = expression(next);
        if (acting)
            codegen::extendChain(*job, chain, step->op, operand(right.get()));
    }
    chainWalked = true;
    if (!acting)
        return nullptr;
    return codegen::finishChain(*job, chain);
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
