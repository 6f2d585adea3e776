// Symbol nodes of one compiled source file: one node per declared name.
#pragma once
#include <string>
#include <vector>

class BlockNode;

// Definition types (ORDER: same numbering as CodeNames::defKindName).
enum DefType {
    DEF_PROJECT = 0, DEF_PROGRAM, DEF_AGENT, DEF_PACKAGE, DEF_PROCEDURE, DEF_PROCESS, DEF_TYPE, DEF_SHARED,
    DEF_CONSTANT, DEF_LOCAL, DEF_CONTROL, DEF_FILE, DEF_VALUE_PARAM, DEF_REF_PARAM, DEF_INPUT_CHANNEL,
    DEF_OUTPUT_CHANNEL
};

class Node {
public:
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
    ~BlockNode() override;

    const std::vector<Node*>& getChildren() const { return children; }
    void appendChild(Node* child) { children.push_back(child); }

protected:
    std::vector<Node*> children;
};
