// Code fragments: the four texts built side by side for every translated
// construct (typeset QUV/E, C++ code, inner type declarations, prototypes),
// the access record of a variable that the symbols keep, and the naming
// functions that turn QUV/E names into C++ names. The field records and the
// declarations made from a type are with the types (types.hpp).
//
// The fragments that only the code generator fills are declared with their
// emitters in compiler/codegen/codegen.hpp. The emitters of CodeFragment and
// Expression are still members of these records, declared here and defined in
// the code generator; nothing in the core calls them.
#pragma once
#include <string>
#include <vector>

class Type;
class Node;
class BlockNode;
class ProNode;
class TypeNode;

class CodeFragment {
public:
    CodeFragment() = default;
    virtual ~CodeFragment() = default;

    std::string getTypeset() const { return typeset; }
    std::string getCode() const { return code; }
    std::string getInnerTypes() const { return innerTypes; }
    std::string getPrototypes() const { return prototypes; }

    // ---- declarations of one name; each replaces all four texts ----
    // A local variable: the C++ local, its frame member [2] and the statement that points the member at it [3].
    void createVarDecl(std::string name, Type* t);
    void createSharedVarDecl(std::string name, Type* t);
    void createConstDecl(std::string name, Type* t, const CodeFragment* value);
    void createInParam(std::string name, Type* t);
    void createRefParam(std::string name, Type* t);
    void createChanParam(std::string name, Type* t);

    // ---- heads, frames and thread functions of procedures and processes ----
    // params is the parameter section (an empty fragment when there are none);
    // packName is what the node reports as its package, empty outside packages.
    void createProcHead(ProNode* p, std::string name, const CodeFragment* params, std::string packName);
    void createProsHead(ProNode* p, std::string name, const CodeFragment* params, std::string packName);
    // Called on the fragment of createProsHead: the parameter block and the thread function.
    void createProsBody(ProNode* p, std::string packName);
    // The frame and the function of a procedure, or of the main body. The walker
    // passes the procedure's own ProNode as b (its parameters become reachable
    // from nested procedures through the frame, like its locals), the QUV/E
    // name ("$Main" for the main body), the head texts recorded in the node
    // (both empty for the main body), and the locals section, the nested
    // procedure section and the algorithmic part. A nested procedure reaches a
    // local or a parameter of an enclosing procedure by the variable path of
    // SymbolTable::getVarPath and CodeNames::pointerDeref, the same way for both.
    void createFrameStruct(BlockNode* b, std::string name, std::string headTypeset, std::string headCpp,
                           const CodeFragment* locals, const CodeFragment* procs, const CodeFragment* body);
    // The frame and the function of a process; name is not used.
    void createFrameDecl(BlockNode* b, std::string name, std::string headTypeset, std::string headCpp,
                         const CodeFragment* locals, const CodeFragment* procs, const CodeFragment* body);

    // ---- program units; each replaces all four texts ----
    // Parts: T types, G globals, V shared variables, P procedures, S processes,
    // K packages, A agents, M the main body (filled by createFrameStruct).
    void createMain(const CodeFragment* T, const CodeFragment* G, const CodeFragment* V, const CodeFragment* P,
                    const CodeFragment* S, const CodeFragment* K, const CodeFragment* A, const CodeFragment* M);
    void createDMain(const CodeFragment* T, const CodeFragment* G, const CodeFragment* V, const CodeFragment* P,
                     const CodeFragment* S, const CodeFragment* K, const CodeFragment* A);
    void createMMain(const CodeFragment* T, const CodeFragment* G, const CodeFragment* V, const CodeFragment* M);

    // ---- packages, agents and type declarations; each sets the texts it names ----
    // bases is the fathers part (a DerivationFragment), members the local
    // variable part, procs the procedure part. A father that is the package
    // itself, or whose fathers lead back to it, is never written as a base.
    void createPackClass(std::string name, const CodeFragment* bases, const CodeFragment* members,
                         const CodeFragment* procs);
    // As a package, plus the agent's process: the fragment of its head (after
    // createProsHead and createProsBody) and of its declaration (after createFrameDecl).
    void createAgentClass(std::string name, const CodeFragment* bases, const CodeFragment* members,
                          const CodeFragment* procs, const CodeFragment* prosHead, const CodeFragment* prosBody);
    // The typedef of a type declaration; the node records the named type. A
    // node already referenced (the type names itself) gets a struct or union tag.
    void createTypeDecl(std::string name, Type* t, TypeNode* node);

protected:
    std::string typeset;     // [0] the construct printed again as QUV/E source
    std::string code;        // [1] its C++ code
    std::string innerTypes;  // [2] inner type declarations
    std::string prototypes;  // [3] prototypes and type definitions that precede the code

    // The main body's nested procedures: C++ has no nested functions, so they must
    // stand before the program's entry function, whose head the unit emitter writes.
    std::string beforeEntry;
};

class OperatorExpression;
class VarNode;

// The access record of a variable, parameter or constant: its QUV/E name [0],
// its C++ access [1], its definition kind and its type.
//
// Every emitter that returns a pointer here allocates a new object and hands
// it to the caller, who deletes it (as a CodeFragment) once its texts are
// taken; operands are never changed, except by setVariableAccess. The type is
// never owned. An emitter handed a null operand or a null type works on empty
// texts and the unknown type.
class Expression : public CodeFragment {
public:
    Expression(const std::string& name, Type* type, int attribute);
    // An empty record for Constant::newConstant to fill: kind -1, no type yet.
    Expression();
    int getAttribute() const { return attribute; }
    Type* getType() const { return type; }

    // ---- access forms: a new access record with this record's kind ----
    Expression* createIndex(const OperatorExpression* i) const;
    Expression* createPtrField(const std::string& m) const;
    Expression* createField(const std::string& m) const;
    Expression* createParen() const;
    Expression* createDereference() const;
    // In place: the C++ text becomes the access through the frame path of the
    // variable (empty for a variable of the current block).
    void setVariableAccess(const std::string& path);

    // ---- operators on a variable ----
    OperatorExpression* createAddressOf() const;
    OperatorExpression* createCanSend() const;
    OperatorExpression* createCanRecv() const;

    // A new operator expression with the record's texts and type.
    static OperatorExpression* fromVariable(const Expression* record);
    static OperatorExpression* fromConstant(const Expression* record);

    // ---- operators on an expression (the receiver is the left or only
    // operand); each type rule reports its own mismatch and gives the unknown
    // type, and the texts are built all the same ----
    OperatorExpression* createEq(const OperatorExpression* r) const;
    OperatorExpression* createNe(const OperatorExpression* r) const;
    OperatorExpression* createLt(const OperatorExpression* r) const;
    OperatorExpression* createLe(const OperatorExpression* r) const;
    OperatorExpression* createGt(const OperatorExpression* r) const;
    OperatorExpression* createGe(const OperatorExpression* r) const;
    OperatorExpression* createAnd(const OperatorExpression* r) const;
    OperatorExpression* createOr(const OperatorExpression* r) const;
    OperatorExpression* createAdd(const OperatorExpression* r) const;
    OperatorExpression* createSub(const OperatorExpression* r) const;
    OperatorExpression* createMul(const OperatorExpression* r) const;
    OperatorExpression* createDiv(const OperatorExpression* r) const;
    OperatorExpression* createMod(const OperatorExpression* r) const;
    OperatorExpression* createNeg() const;
    OperatorExpression* createLogicalNot() const;
    OperatorExpression* createParenExpr() const;
    // The receiver is the condition.
    OperatorExpression* createIfThenElse(const OperatorExpression* t, const OperatorExpression* e) const;
    // p is the fragment of a procedure call, run before the receiver's value is taken.
    OperatorExpression* createCall(const CodeFragment* p) const;

protected:
    Type* typeOrUnknown() const;
    std::string selectable() const;
    // A new access record of this record's kind with the given texts.
    Expression* derive(const std::string& typesetText, const std::string& cppText, Type* t) const;

    int attribute;
    Type* type;
    friend class Constant;
};

namespace CodeNames {
// Identifiers.
std::string varName(std::string n);
std::string paramName(std::string n);
std::string fieldName(const std::string& n);
std::string typeName(const std::string& n);
std::string className(std::string n);
std::string agentClassName(std::string n);
std::string procName(const std::string& n);
std::string prosName(const std::string& n);
std::string labelName(std::string n);
std::string nextTemp();
std::string callName(std::string n);
std::string dpName(std::string n);
std::string dptName(std::string n);
std::string dName(std::string n);
std::string instanceParamName(std::string n);
std::string instanceParamType(std::string n);
std::string instanceName(std::string n);
std::string globalInstance(std::string n);
std::string channelName(std::string a, std::string b);

// Snippets; the channel calls follow the current program's channel style at the time of the call.
std::string globalInstanceDecl(std::string n);
std::string assignment(std::string a, std::string b);
std::string deleteProsComment(std::string n);
std::string channelRecv(std::string a, std::string b);
std::string channelSend(std::string a, std::string b);
std::string channelCanSend(std::string n);
std::string channelCanRecv(std::string n);
std::string channelStyle();
std::string pointerDeref(std::string n, std::string path);
std::string pointerInit(std::string n);


// Kind names: program kinds 0..2 ("error!" otherwise); reference kinds 0..8 and
// definition kinds 0..15 in GBK (empty outside).
std::string programKind(int k);
std::string refKindName(int k);
std::string defKindName(int k);
// 1 for "" and "next", 2 "exit", 3 "stop", 4 "return", 0 for any other word.
int controlWordKind(std::string w);

// The processes a program uses without declaring them: mode 0 adds name, any
// other mode removes it; the empty name gives their thread-function declarations.
std::string threadDeclarations(std::string name, int mode);
// Forgets them and the variables below: each program file has its own.
void beginProgram();
// A variable's C++ name, which a temporary of nextTemp then never takes.
void reserveVariable(const std::string& cppName);

// Puts every generator counter back to its start and empties the process list.
// The generator itself never resets them during a run; tests do.
void resetForTesting();
}  // namespace CodeNames
