#include "compiler/core/symbol_table.hpp"

#include <set>

#include "compiler/core/diagnostics.hpp"
#include "compiler/core/job_state.hpp"

namespace {

// Number of parent steps from `from` up to `to`; -1 when `to` is not `from` or one of its ancestors.
int stepsUp(const BlockNode* from, const BlockNode* to) {
    int steps = 0;
    for (const BlockNode* b = from; b; b = b->getParent(), ++steps)
        if (b == to)
            return steps;
    return -1;
}

bool isPackage(const BlockNode* b) {
    return b->getDefType() == DEF_PACKAGE || b->getDefType() == DEF_AGENT;
}

// The package or agent whose class holds the C++ function of `block`; null
// for a function of the program.
const PackNode* enclosingClass(const BlockNode* block) {
    for (const BlockNode* b = block; b; b = b->getParent())
        if (isPackage(b))
            return static_cast<const PackNode*>(b);
    return nullptr;
}

// Whether the class of `unit` has a variable `name` of its own or from a
// father at any depth: C++ finds a base class's member before a name of the file.
bool classHasVariable(const PackNode* unit, const std::string& name) {
    if (!unit)
        return false;
    if (unit->getFathers().empty())
        return dynamic_cast<const VarNode*>(unit->find(name)) != nullptr;
    std::set<const BlockNode*> seen;
    std::vector<const BlockNode*> pending{unit};
    while (!pending.empty()) {
        const BlockNode* next = pending.back();
        pending.pop_back();
        if (!seen.insert(next).second)
            continue;
        if (dynamic_cast<const VarNode*>(next->find(name)))
            return true;
        if (auto package = dynamic_cast<const PackNode*>(next))
            for (const BlockNode* father : package->getFathers())
                if (father)
                    pending.push_back(father);
    }
    return false;
}

}  // namespace

SymbolTable::SymbolTable(JobState& job_)
    : job(job_), root(std::make_unique<BlockNode>("", DEF_PROJECT, 0, 0, nullptr)), current(root.get()) {}

SymbolTable::~SymbolTable() = default;

bool SymbolTable::isBlockType(int deftype) {
    return deftype >= DEF_PROJECT && deftype <= DEF_PROCESS;
}

bool SymbolTable::matchType(int deftype, int reftype) {
    switch (reftype) {
    case REF_PACKAGE: return deftype == DEF_AGENT || deftype == DEF_PACKAGE;
    case REF_PROCEDURE: return deftype == DEF_PROCEDURE;
    case REF_PROCESS: return deftype == DEF_PROCESS;
    case REF_TYPE: return deftype == DEF_TYPE;
    case REF_VARIABLE:
        return deftype == DEF_SHARED || deftype == DEF_CONSTANT || deftype == DEF_LOCAL ||
               deftype == DEF_VALUE_PARAM || deftype == DEF_REF_PARAM;
    case REF_INPUT_CHANNEL: return deftype == DEF_INPUT_CHANNEL;
    case REF_OUTPUT_CHANNEL: return deftype == DEF_OUTPUT_CHANNEL;
    case REF_CONTROL: return deftype == DEF_CONTROL;
    case REF_FILE: return deftype == DEF_FILE;
    default: throwInternalFailure("illegal def type", "SymbolTable::matchType()");
    }
}

int SymbolTable::genDefFromRef(int reftype) {
    // ORDER: indexed by RefType.
    static const int implicitDef[] = {-1, DEF_PROCEDURE, DEF_PROCESS, DEF_TYPE, DEF_LOCAL, DEF_INPUT_CHANNEL,
                                      DEF_OUTPUT_CHANNEL, DEF_CONTROL, DEF_FILE};
    if (reftype == REF_PACKAGE)
        throwInternalFailure("illegal ref type pack_ref", "SymbolTable::genDefFromRef");
    if (reftype < 0 || reftype > REF_FILE)
        throwInternalFailure("illegal ref type", "SymbolTable::genDefFromRef");
    return implicitDef[reftype];
}

Node* SymbolTable::newDeclNode(const std::string& name, int deftype, int line, int column, BlockNode* parent) {
    switch (deftype) {
    case DEF_PROJECT: return parent->add<BlockNode>(name, deftype, line, column);
    case DEF_PROGRAM: return parent->add<ProgNode>(name, deftype, line, column);
    case DEF_AGENT:
    case DEF_PACKAGE: return parent->add<PackNode>(name, deftype, line, column);
    case DEF_PROCEDURE:
    case DEF_PROCESS: return parent->add<ProNode>(job.numbering, name, deftype, line, column);
    case DEF_TYPE: return parent->add<TypeNode>(job, name, deftype, line, column);
    default:
        if (deftype > DEF_TYPE && deftype <= DEF_OUTPUT_CHANNEL)
            return parent->add<VarNode>(job, name, deftype, line, column);
        throwInternalFailure("illegal def type", "SymbolTable::newDeclNode");
    }
}

Node* SymbolTable::declareFromRef(const std::string& name, int reftype, int line, int column, BlockNode* parent) {
    return newDeclNode(name, genDefFromRef(reftype), line, column, parent);
}

Node* SymbolTable::declare(const std::string& name, int deftype, int line, int column) {
    Node* earlier = current->find(name);
    Node* node = newDeclNode(name, deftype, line, column, current);
    if (earlier) {
        QUVException e(job);
        e.makeRedeclared(name, earlier);
        replaced.push_back(current->remove(earlier));
    } else if (deftype == DEF_PROCESS) {
        job.noteProcessDeclaration(name, line, column);
    } else if (deftype == DEF_SHARED) {
        job.noteSharedVariable(name, line, column);
    }
    if (isBlockType(deftype))
        enterBlock(node, deftype);
    return node;
}

Node* SymbolTable::resolve(const std::string& name, int reftype, int line, int column) {
    std::vector<Node*> candidates;
    current->lookup(name, candidates);
    if (candidates.empty()) {
        if (reftype == REF_PROCESS) {
            // The process may be declared in another file of the project.
            job.noteProcessReference(name, line, column);
            return nullptr;
        }
        QUVException e(job);
        e.makeUndeclared(name, line, column);
        if (reftype == REF_PACKAGE)
            return nullptr;
        // Declared where it is first used, so that later uses resolve without a second report.
        return declareFromRef(name, reftype, line, column, current);
    }
    if (candidates.size() > 1) {
        QUVException e(job);
        e.makeAmbiguous(name, candidates);
    }
    Node* result = candidates.front();
    if (!matchType(result->getDefType(), reftype)) {
        QUVException e(job);
        e.makeRefTypeMismatch(name, reftype, result->getDefType(), result);
    }
    if (reftype == REF_TYPE)
        if (TypeNode* t = dynamic_cast<TypeNode*>(result))
            t->markReferenced();
    return result;
}

void SymbolTable::enterBlock(Node* node, int deftype) {
    const char* method = "SymbolTable::enterBlock()";
    if (!isBlockType(deftype) || !node)
        throwInternalFailure("not a block node type", method);
    if (node->getDefType() != deftype)
        throwInternalFailure("node 's deftype not match the given deftype", method);
    if (node->getParent() != current)
        throwInternalFailure("node 's parent doesn't equal current node", method);
    // Only a node built by hand with a block deftype can get here without being a block.
    BlockNode* block = dynamic_cast<BlockNode*>(node);
    if (!block)
        throwInternalFailure("not a block node type", method);
    current = block;
}

void SymbolTable::exitBlock(int deftype) {
    const char* method = "SymbolTable::exitBlock()";
    if (current->getDefType() != deftype)
        throwInternalFailure("node 's deftype not match the given deftype", method);
    BlockNode* outer = current->getParent();
    // The root has no block to return to; the table stays as it was.
    if (!outer || !isBlockType(outer->getDefType()))
        throwInternalFailure("node 's parent is not a block node", method);
    current = outer;
}

std::string SymbolTable::getVarPath(const Node* var) const {
    const char* method = "VarNode::getVarPath()";
    const BlockNode* holder = var ? var->getParent() : nullptr;
    if (!holder)
        throwInternalFailure("error parent", method);
    int kind = holder->getDefType();
    if (kind >= DEF_PROJECT && kind <= DEF_PACKAGE)
        return std::string();
    if (kind != DEF_PROCEDURE && kind != DEF_PROCESS)
        throwInternalFailure("error parent", method);
    // A frame that does not enclose the current block cannot be reached through father pointers.
    int steps = stepsUp(current, holder);
    if (steps < 0)
        throwInternalFailure("error parent", method);
    std::string path;
    if (kind == DEF_PROCESS && steps > 0) {
        // The father pointer of a procedure nested in a process is untyped:
        // the process's frame is reached through a cast.
        auto process = static_cast<const ProNode*>(holder);
        process->markFrameReached();
        path = "father";
        for (int i = 1; i < steps; ++i)
            path += "->father";
        return "((" + process->getLocalTypeName() + "*)" + path + ")->";
    }
    for (int i = 0; i < steps; ++i)
        path += "father->";
    return path;
}

std::string SymbolTable::getScopeQualifier(const Node* var) const {
    const BlockNode* holder = var ? var->getParent() : nullptr;
    if (!holder || holder->getDefType() == DEF_PROCEDURE || holder->getDefType() == DEF_PROCESS)
        return std::string();
    const std::string name = var->getName();
    auto function = dynamic_cast<const ProNode*>(current);
    const bool hiddenByNewDec = function && function->hasNewDec(name);
    if (isPackage(holder))
        return hiddenByNewDec ? "this->" : std::string();
    return hiddenByNewDec || classHasVariable(enclosingClass(current), name) ? "::" : std::string();
}

std::string SymbolTable::getFramePath(const Node* callee) const {
    const BlockNode* holder = callee ? callee->getParent() : nullptr;
    if (holder && holder == current)
        return "&local";
    if (!holder || (holder->getDefType() != DEF_PROCEDURE && holder->getDefType() != DEF_PROCESS))
        return "NULL";
    // The callee's father frame is the frame of its parent block, `steps` frames out.
    int steps = stepsUp(current, holder);
    if (steps < 1)
        return "NULL";
    std::string path;
    for (int i = 1; i < steps; ++i)
        path += "father->";
    return path + "father";
}
