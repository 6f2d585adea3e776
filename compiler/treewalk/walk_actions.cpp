// The actions of the tree grammar that are more than one call: the program's
// frame, declaring and resolving names, and handing the declarations of
// procedures, processes, variables and parameters to the code generator.
#include <algorithm>

#include "compiler/core/quv_ast.hpp"
#include "compiler/treewalk/treewalk.hpp"

namespace {

int lineOf(const antlr::RefAST& node)
{
    const QUV_AST* quv = dynamic_cast<const QUV_AST*>(node.get());
    return quv ? quv->getLine() : -1;
}

int columnOf(const antlr::RefAST& node)
{
    const QUV_AST* quv = dynamic_cast<const QUV_AST*>(node.get());
    return quv ? quv->getColumn() : -1;
}

// A type expression that could not be read still declares its name, with the unknown type.
Type* orUnknown(const TypeRegistry& types, Type* t)
{
    return t ? t : types.unknownType();
}

}  // namespace

void QUVTreeWalk::enterRule(const char* name)
{
    ruleName = name;
    job->setWalkRule(ruleName);
}

void QUVTreeWalk::startProgram(JobState& compileJob)
{
    job = &compileJob;
    fileName = job->getFileName();
    parseReported = std::any_of(job->records().begin(), job->records().end(),
                                [](const QUVException& r) { return r.getKind() == QUVException::SyntaxError; });
    failedOperand = std::make_unique<OperatorExpression>("", "", job->types().unknownType());
    symbols = std::make_unique<SymbolTable>(*job);
    CodeNames::beginProgram(*job);
}

void QUVTreeWalk::finishProgram(TopFragment* top, const std::string& name, int kind, Node* program,
                                const CodeFragment& mainFragment)
{
    checkControlStarts();
    // From here on the program's files are due: the driver writes them after
    // the walk even when closing the block below fails.
    top->setProgram(name, kind, mainFragment);
    // A program name that could not be read opened no block.
    if (program)
        symbols->exitBlock(DEF_PROGRAM);
    symbols.reset();
}

void QUVTreeWalk::setChannelStyle(bool synchronous)
{
    job->setSynchronous(synchronous);
}

Node* QUVTreeWalk::declareName(antlr::RefAST id, const std::string& name, int defKind)
{
    Node* node = symbols->declare(name, defKind, lineOf(id), columnOf(id));
    // A process declared here needs no forward declaration of its thread function.
    if (defKind == DEF_PROCESS)
        CodeNames::threadDeclarations(*job, name, 1);
    return node;
}

Node* QUVTreeWalk::resolveName(antlr::RefAST id, const std::string& name, int refKind)
{
    Node* node = symbols->resolve(name, refKind, lineOf(id), columnOf(id));
    if (node && node->getDefType() == DEF_CONTROL)
        ++controlUses[node];
    return node;
}

ProNode* QUVTreeWalk::enterProcedure(Node* node, int kind)
{
    // A process declared in another file of the project resolves to nothing here.
    if (!node)
        return nullptr;
    symbols->enterBlock(node, kind);
    return dynamic_cast<ProNode*>(node);
}

// Before the body is walked: the names its NewDecs declare, those of the
// procedures nested in it left to them. The tree is searched without
// recursion, as an expression in it may be nested deeply.
void QUVTreeWalk::noteNewDecs(ProNode* node, antlr::RefAST declaration)
{
    if (!node || !declaration)
        return;
    std::vector<antlr::RefAST> pending{declaration->getFirstChild()};
    while (!pending.empty()) {
        antlr::RefAST at = pending.back();
        pending.pop_back();
        for (; at; at = at->getNextSibling()) {
            const int type = at->getType();
            if (type == PROC_DECL || type == PROS_DECL || type == PROC_DECL_HEADER || type == PROS_DECL_HEADER)
                continue;
            if (type == NEWDEC && at->getFirstChild())
                node->noteNewDec(at->getFirstChild()->getText());
            if (at->getFirstChild())
                pending.push_back(at->getFirstChild());
        }
    }
}

void QUVTreeWalk::leaveProcedure(ProNode* node, int kind)
{
    if (node)
        symbols->exitBlock(kind);
}

void QUVTreeWalk::emitFrame(CodeFragment* f, ProNode* node, const std::string& name, bool isMain, int kind,
                            SectionFragment* locals, SectionFragment* procs, AlgorithmicPart* body)
{
    std::string declarations;
    declarations.swap(bodyDeclarations);
    if (!node)
        return;
    body->prependDeclarations(declarations);
    std::string headTypeset, headCode;
    if (!isMain)
        node->getResult(headTypeset, headCode);
    if (kind == DEF_PROCESS)
        codegen::createFrameDecl(*job, *f, node, name, headTypeset, headCode, locals, procs, body);
    else
        codegen::createFrameStruct(*job, *f, node, isMain ? std::string("$Main") : name, headTypeset, headCode, locals,
                                   procs, body);
}

// The project's link check compares the channel formals of processes that
// a parallel statement of another file joins.
void QUVTreeWalk::noteChannels(ProNode* process)
{
    std::vector<ChannelFormal> formals;
    for (int i = 0; i < process->getParamCount(); ++i) {
        const int kind = process->getParamAttrib(i);
        auto channel = dynamic_cast<const ChannelType*>(process->getParamType(i));
        if ((kind == DEF_INPUT_CHANNEL || kind == DEF_OUTPUT_CHANNEL) && channel)
            formals.push_back({process->getFormalParamName(i), kind == DEF_INPUT_CHANNEL, channel->elementType});
    }
    job->noteProcessChannels(process->getName(), process->getLine(), process->getColumn(), formals);
}

void QUVTreeWalk::emitHead(CodeFragment* f, ProNode* node, const std::string& name, SectionFragment* params,
                           int kind)
{
    // No name was declared, so no block was entered either.
    if (!node)
        return;
    std::string package = node->getPackName();
    if (kind == DEF_PROCEDURE) {
        codegen::createProcHead(*job, *f, node, name, params, package);
        node->setResult(f->getTypeset(), f->getCode());
    } else {
        codegen::createProsHead(*job, *f, node, name, params, package);
        node->setResult(f->getTypeset(), f->getCode());
        codegen::createProsBody(*job, *f, node, package);
        noteChannels(node);
    }
    // The body's declaration enters the block again.
    symbols->exitBlock(kind);
}

Type* QUVTreeWalk::namedType(Node* definition)
{
    if (!definition)
        return nullptr;
    // A name of another kind has been reported by the resolution; it types nothing.
    if (TypeNode* t = dynamic_cast<TypeNode*>(definition))
        return t->getType();
    return job->types().unknownType();
}

int QUVTreeWalk::localKind(const Type* t)
{
    if (t == job->types().nmType())
        return DEF_CONTROL;
    if (t == job->types().streamType())
        return DEF_FILE;
    return DEF_LOCAL;
}

void QUVTreeWalk::declareVariable(CodeFragment* f, int declaration, Node* node, const std::string& name, Type* t,
                                  const Expression* value)
{
    Type* type = orUnknown(job->types(), t);
    if (VarNode* variable = dynamic_cast<VarNode*>(node))
        variable->setType(type);
    if (declaration == CONST_DECL && value && !fitsType(type, value->getType(), false)) {
        QUVException diagnostic(*job);
        diagnostic.makeMismatch("Constant " + name + " is declared of type " + type->getTypeset() + " but its value " +
                                value->getTypeset() + " has type " + value->getType()->getTypeset());
    }
    switch (declaration) {
    case CONST_DECL: codegen::createConstDecl(*job, *f, name, type, value); break;
    case SHARE_DECL: codegen::createSharedVarDecl(*job, *f, name, type); break;
    default: codegen::createVarDecl(*job, *f, name, type); break;
    }
}

void QUVTreeWalk::declareParameter(CodeFragment* f, int defKind, Node* node, const std::string& name, Type* t,
                                   ProNode* procedure)
{
    Type* element = orUnknown(job->types(), t);
    Type* type = element;
    bool channel = defKind == DEF_INPUT_CHANNEL || defKind == DEF_OUTPUT_CHANNEL;
    if (channel) {
        type = job->types().makeChannel(element, defKind == DEF_INPUT_CHANNEL);
        if (element->getNumber() == Type::RECORD || element->getNumber() == Type::UNION) {
            QUVException e(*job);
            e.makeSemantic(0);
        }
    }
    if (defKind == DEF_VALUE_PARAM)
        codegen::createInParam(*job, *f, name, type);
    else if (defKind == DEF_REF_PARAM)
        codegen::createRefParam(*job, *f, name, type);
    else
        codegen::createChanParam(*job, *f, name, type);
    VarNode* parameter = dynamic_cast<VarNode*>(node);
    if (!parameter)
        return;
    parameter->setType(type);
    if (procedure)
        procedure->addParam(*job, parameter->getExpression());
}
