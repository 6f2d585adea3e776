#include "compiler/core/symbols.hpp"

#include <algorithm>

#include "compiler/core/code_fragment.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/job_state.hpp"
#include "compiler/core/types.hpp"

namespace {
// The duplicate-parameter text of QUVException::makeSemantic.
const int duplicateParam = 17;
}  // namespace

Node::Node(const std::string& name_, int deftype_, int line_, int column_, BlockNode* parent_)
    : name(name_), deftype(deftype_), line(line_), column(column_), parent(parent_) {}

// ---- BlockNode ----------------------------------------------------------------

BlockNode::BlockNode(const std::string& name_, int deftype_, int line_, int column_, BlockNode* parent_)
    : Node(name_, deftype_, line_, column_, parent_) {}

std::vector<Node*> BlockNode::getChildren() const {
    std::vector<Node*> out;
    out.reserve(children.size());
    for (const auto& child : children)
        out.push_back(child.get());
    return out;
}

Node* BlockNode::find(const std::string& wanted) const {
    auto named = byName.find(wanted);
    return named == byName.end() || named->second.empty() ? nullptr : named->second.front();
}

void BlockNode::lookup(const std::string& wanted, std::vector<Node*>& out) const {
    if (Node* n = find(wanted)) {
        out.push_back(n);
        return;
    }
    if (parent) {
        std::vector<Node*> outer;
        parent->lookup(wanted, outer);
        out.insert(out.end(), outer.begin(), outer.end());
    }
}

std::unique_ptr<Node> BlockNode::remove(Node* node) {
    if (!node || node->getParent() != this)
        throwInternalFailure("remove a child not its children", "BlockNode::remove");
    std::unique_ptr<Node> removed;
    auto it = std::find_if(children.begin(), children.end(), [&](const auto& child) { return child.get() == node; });
    if (it != children.end()) {
        removed = std::move(*it);
        children.erase(it);
    }
    auto named = byName.find(node->getName());
    if (named != byName.end()) {
        std::vector<Node*>& same = named->second;
        same.erase(std::remove(same.begin(), same.end(), node), same.end());
    }
    return removed;
}

ProgNode::ProgNode(const std::string& name_, int deftype_, int line_, int column_, BlockNode* parent_)
    : BlockNode(name_, deftype_, line_, column_, parent_) {}

// ---- PackNode -----------------------------------------------------------------

PackNode::PackNode(const std::string& name_, int deftype_, int line_, int column_, BlockNode* parent_)
    : BlockNode(name_, deftype_, line_, column_, parent_) {}

void PackNode::lookup(const std::string& wanted, std::vector<Node*>& out) const {
    BlockNode::lookup(wanted, out);
    if (!out.empty() || searchingFathers)
        return;
    searchingFathers = true;
    for (const BlockNode* father : fathers) {
        if (!father)
            continue;
        std::vector<Node*> found;
        father->lookup(wanted, found);
        out.insert(out.end(), found.begin(), found.end());
    }
    searchingFathers = false;
}

// ---- ProNode ------------------------------------------------------------------

std::string BlockNode::uniqueName(const std::string& form, const Node* owner) const {
    auto it = generatedNames.emplace(form, owner).first;
    if (it->second == owner)
        return form;
    for (int k = 2;; ++k) {
        std::string candidate = form + "_" + std::to_string(k);
        if (generatedNames.emplace(candidate, owner).second)
            return candidate;
    }
}

ProNode::ProNode(GeneratorNumbering& numbering, const std::string& name_, int deftype_, int line_, int column_,
                 BlockNode* parent_)
    : BlockNode(name_, deftype_, line_, column_, parent_), procName(name_),
      cppName(deftype_ == DEF_PROCEDURE ? CodeNames::procName(numbering, name_)
                                        : CodeNames::prosName(numbering, name_)) {}

std::string ProNode::getPackName() const {
    return parent ? parent->getPackName() : std::string();
}

void ProNode::setResult(const std::string& first, const std::string& second) {
    resultFirst = first;
    resultSecond = second;
}

void ProNode::getResult(std::string& first, std::string& second) const {
    first = resultFirst;
    second = resultSecond;
}

void ProNode::addParam(DiagnosticSink& job, Expression* param) {
    for (const Expression* p : params) {
        if (p->getTypeset() == param->getTypeset()) {
            QUVException e(job);
            e.makeSemantic(duplicateParam);
            return;
        }
    }
    params.push_back(param);
}

const Expression* ProNode::paramAt(int i, const char* method) const {
    // A negative index is as far out of the list as one past its end.
    if (i < 0 || i >= getParamCount())
        throwInternalFailure("index in too large", method);
    return params[static_cast<size_t>(i)];
}

Type* ProNode::getParamType(int i) const {
    return paramAt(i, "ProNode::getParamType()")->getType();
}

int ProNode::getParamAttrib(int i) const {
    return paramAt(i, "ProNode::getParamAttrib()")->getAttribute();
}

std::string ProNode::getFormalParamName(int i) const {
    return paramAt(i, "ProNode::getFormalParamName()")->getTypeset();
}

std::string ProNode::getLocalTypeName() const {
    if (!localTypeName.empty())
        return localTypeName;
    std::string s = procName == "$Main" ? "main" : CodeNames::leadingName(procName);
    const ProNode* enclosing = dynamic_cast<const ProNode*>(parent);
    if (!enclosing || (enclosing->getDefType() != DEF_PROCEDURE && enclosing->getDefType() != DEF_PROCESS))
        s += "_local_type";
    else
        s += "_" + enclosing->getLocalTypeName();
    // A procedure p nested in q and a procedure p_q both form p_q_local_type.
    const BlockNode* root = this;
    while (root->getParent())
        root = root->getParent();
    localTypeName = root->uniqueName(s, this);
    return localTypeName;
}

std::string ProNode::getFatherTypeName() const {
    const ProNode* enclosing = dynamic_cast<const ProNode*>(parent);
    if (enclosing && enclosing->getDefType() == DEF_PROCEDURE)
        return enclosing->getLocalTypeName();
    return "void";
}

// ---- TypeNode and VarNode ---------------------------------------------------

TypeNode::TypeNode(JobState& job, const std::string& name_, int deftype_, int line_, int column_, BlockNode* parent_)
    : Node(name_, deftype_, line_, column_, parent_),
      type(job.types().makeNamed(job, job.types().unknownType(), name_)) {}

void TypeNode::setType(JobState& job, Type* t) {
    Type* standIn = type;
    type = job.types().makeNamed(job, t, name);
    // Uses of the name inside its own type expression hold the stand-in.
    auto named = dynamic_cast<NamedType*>(standIn);
    if (named && named != type && named->target == job.types().unknownType() && !named->completion)
        named->complete(type);
}

VarNode::VarNode(JobState& job, const std::string& name_, int deftype_, int line_, int column_, BlockNode* parent_)
    : Node(name_, deftype_, line_, column_, parent_) {
    setType(job.types().unknownType());
}

VarNode::~VarNode() = default;

void VarNode::setType(Type* t) {
    records.push_back(std::make_unique<Expression>(name, t, deftype));
    record = records.back().get();
}
