// Symbol nodes of one compiled source file: one node per declared name.
// Blocks (project, program, package or agent, procedure or process) own the
// nodes declared directly in them.
#pragma once
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

class BlockNode;
class DiagnosticSink;
class JobState;
class Expression;
struct GeneratorNumbering;
class Type;

// Definition types (ORDER: same numbering as CodeNames::defKindName).
enum DefType {
    DEF_PROJECT = 0, DEF_PROGRAM, DEF_AGENT, DEF_PACKAGE, DEF_PROCEDURE, DEF_PROCESS, DEF_TYPE, DEF_SHARED,
    DEF_CONSTANT, DEF_LOCAL, DEF_CONTROL, DEF_FILE, DEF_VALUE_PARAM, DEF_REF_PARAM, DEF_INPUT_CHANNEL,
    DEF_OUTPUT_CHANNEL
};

class Node {
public:
    // A node of a block is made by the block (BlockNode::add), which owns it.
    Node(const std::string& name, int deftype, int line, int column, BlockNode* parent);
    virtual ~Node() = default;
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    virtual std::string getPackName() const { return std::string(); }

    std::string getName() const { return name; }
    int getDefType() const { return deftype; }
    int getLine() const { return line; }
    int getColumn() const { return column; }
    BlockNode* getParent() const { return parent; }

protected:
    std::string name;
    int deftype;
    int line;
    int column;
    BlockNode* parent;
};

// A node that opens a scope; it owns the nodes declared directly in it.
class BlockNode : public Node {
public:
    BlockNode(const std::string& name, int deftype, int line, int column, BlockNode* parent);

    std::string getPackName() const override { return std::string(); }
    // The first child of that name, or null.
    virtual Node* find(const std::string& name) const;
    // The nodes `name` can denote from this block: the nearest enclosing declaration.
    virtual void lookup(const std::string& name, std::vector<Node*>& out) const;

    // Takes the node out of the children and hands it to the caller.
    std::unique_ptr<Node> remove(Node* node);

    // A generated C++ name for `owner`, unique among those handed out under
    // this block (the root of a file's tree): the form itself when no other
    // owner has it yet, else the form with a suffix "_2", "_3", ...
    std::string uniqueName(const std::string& form, const Node* owner) const;

    // The children in declaration order.
    std::vector<Node*> getChildren() const;
    // A new child of class T, made from args and this block as its parent.
    template <typename T, typename... Args>
    T* add(Args&&... args)
    {
        auto child = std::make_unique<T>(std::forward<Args>(args)..., this);
        T* made = child.get();
        byName[made->getName()].push_back(made);
        children.push_back(std::move(child));
        return made;
    }

protected:
    std::vector<std::unique_ptr<Node>> children;
    // The children of each name in declaration order: a block of many names
    // (a program of thousands of procedures) finds one without a search.
    std::unordered_map<std::string, std::vector<Node*>> byName;
    mutable std::unordered_map<std::string, const Node*> generatedNames;
};

class ProgNode : public BlockNode {
public:
    ProgNode(const std::string& name, int deftype, int line, int column, BlockNode* parent);
};

// A package or an agent; it also sees the names of its fathers.
class PackNode : public BlockNode {
public:
    PackNode(const std::string& name, int deftype, int line, int column, BlockNode* parent);

    std::string getPackName() const override { return name; }
    void lookup(const std::string& name, std::vector<Node*>& out) const override;

    // The fathers are not owned; the package and agent rules assign the whole list at once.
    void setFathers(const std::vector<BlockNode*>& blocks) { fathers = blocks; }
    const std::vector<BlockNode*>& getFathers() const { return fathers; }

private:
    std::vector<BlockNode*> fathers;
    // Set while the fathers are searched, so a package that is its own (indirect)
    // father does not search itself forever.
    mutable bool searchingFathers = false;
};

// A procedure (deftype 4) or a process (deftype 5).
class ProNode : public BlockNode {
public:
    // Its C++ name takes the next procedure or process number of numbering.
    ProNode(GeneratorNumbering& numbering, const std::string& name, int deftype, int line, int column,
            BlockNode* parent);

    std::string getPackName() const override;

    void setResult(const std::string& first, const std::string& second);
    void getResult(std::string& first, std::string& second) const;
    std::string getCppName() const { return cppName; }

    // The records are not owned: they belong to the parameters' variable nodes.
    // A second parameter of one name is reported into job and not kept.
    void addParam(DiagnosticSink& job, Expression* param);
    int getParamCount() const { return static_cast<int>(params.size()); }
    Type* getParamType(int i) const;
    int getParamAttrib(int i) const;
    std::string getFormalParamName(int i) const;

    // C++ name of the frame type, and of the type the frame's father pointer points to.
    std::string getLocalTypeName() const;
    std::string getFatherTypeName() const;

    // A process whose frame a nested procedure reaches: its frame then also
    // points at the process's parameters, as a procedure's frame does.
    void markFrameReached() const { frameReached = true; }
    bool isFrameReached() const { return frameReached; }

    // The names the body declares with NewDec. C++ may declare such a
    // variable at the start of the function, where it hides every outer
    // declaration of its name, also from the uses before the NewDec.
    void noteNewDec(const std::string& name) { newDecs.insert(name); }
    bool hasNewDec(const std::string& name) const { return newDecs.count(name) != 0; }

private:
    const Expression* paramAt(int i, const char* method) const;

    std::string procName;
    std::string resultFirst;
    std::string resultSecond;
    std::string cppName;
    std::vector<Expression*> params;
    mutable bool frameReached = false;
    mutable std::string localTypeName;  // once formed
    std::set<std::string> newDecs;
};

class TypeNode : public Node {
public:
    TypeNode(JobState& job, const std::string& name, int deftype, int line, int column, BlockNode* parent);

    std::string getPackName() const override { return std::string(); }
    // Makes this declaration's named type over `t`.
    void setType(JobState& job, Type* t);
    Type* getType() const { return type; }
    bool isReferenced() const { return referenced; }
    void markReferenced() { referenced = true; }

private:
    Type* type;
    bool referenced = false;
};

// A variable, constant, parameter or channel.
class VarNode : public Node {
public:
    // Of the unknown type until setType.
    VarNode(JobState& job, const std::string& name, int deftype, int line, int column, BlockNode* parent);
    ~VarNode() override;

    std::string getPackName() const override { return std::string(); }
    // Makes a new record from the name, `t` and the deftype.
    void setType(Type* t);
    Expression* getExpression() const { return record; }

private:
    Expression* record = nullptr;
    // Every record made stays alive with the node: parameter lists and
    // generated expressions may still point at an earlier one.
    std::vector<std::unique_ptr<Expression>> records;
};
