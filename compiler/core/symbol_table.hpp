// The symbol table of one compiled source file: the symbol tree and the block
// the tree walker stands in. It declares and resolves names, moves between
// blocks and forms the C++ paths that reach variables and procedure frames
// through the chain of father frames.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "compiler/core/job_state.hpp"
#include "compiler/core/symbols.hpp"

// Reference types: what a use of a name asks for (ORDER: same numbering as CodeNames::refKindName).
enum RefType {
    REF_PACKAGE = 0, REF_PROCEDURE, REF_PROCESS, REF_TYPE, REF_VARIABLE, REF_INPUT_CHANNEL, REF_OUTPUT_CHANNEL,
    REF_CONTROL, REF_FILE
};

class SymbolTable {
public:
    // Declares and resolves for job: its diagnostics, its process registry
    // and its numbering of procedure and process names.
    explicit SymbolTable(JobState& job);
    ~SymbolTable();
    SymbolTable(const SymbolTable&) = delete;
    SymbolTable& operator=(const SymbolTable&) = delete;

    static bool isBlockType(int deftype);
    static bool matchType(int deftype, int reftype);
    static int genDefFromRef(int reftype);

    Node* newDeclNode(const std::string& name, int deftype, int line, int column, BlockNode* parent);
    Node* declareFromRef(const std::string& name, int reftype, int line, int column, BlockNode* parent);

    // Declares in the current block; a block node becomes the current block.
    Node* declare(const std::string& name, int deftype, int line, int column);
    // The node a reference denotes; null for an unresolved process or package.
    Node* resolve(const std::string& name, int reftype, int line, int column);

    void enterBlock(Node* node, int deftype);
    void exitBlock(int deftype);

    // C++ prefix that reaches the frame holding `var` from the current block.
    std::string getVarPath(const Node* var) const;
    // The scope a variable of the program or of a package is written in from
    // the current block where C++ would find another declaration of its name
    // first: "::" for the program's (hidden by a member of the class of the
    // package around, its own or a father's, or by a NewDec of the body),
    // "this->" for a package's (hidden by a NewDec of the body); empty where
    // the bare name reaches it, and for a variable of a procedure or process.
    std::string getScopeQualifier(const Node* var) const;
    // C++ expression of the father frame to pass when calling `callee` from the current block.
    std::string getFramePath(const Node* callee) const;

    BlockNode* getRoot() const { return root.get(); }
    BlockNode* getCurrent() const { return current; }

private:
    JobState& job;
    std::unique_ptr<BlockNode> root;
    BlockNode* current;
    // Redeclared nodes, out of their blocks but alive: the tree walker, parameter
    // lists and fathers lists may still point at them.
    std::vector<std::unique_ptr<Node>> replaced;
};
