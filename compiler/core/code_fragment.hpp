// Code fragments: the four texts built side by side for every translated
// construct (typeset QUV/E, C++ code, inner type declarations, prototypes),
// the records that extend them, and the naming functions that turn QUV/E
// names into C++ names.
//
// The emitters are members of the fragment or record they fill. They are
// declared here, where the records live, and defined in the code generator
// (compiler/codegen); nothing in the core calls them.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "compiler/core/job_state.hpp"

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

// A declaration part, a parameter list or a procedure part being gathered item by item.
class SectionFragment : public CodeFragment {
public:
    int count = 0;  // items added so far

    void createTypeSection(const CodeFragment* item);
    void createGlobSection(const CodeFragment* item);
    void createVarSection(const CodeFragment* item);
    void createLocSection(const CodeFragment* item);
    void createProcSection(const CodeFragment* item);
    void createProsSection(const CodeFragment* item);
    void createPackSection(const CodeFragment* item);
    void createAgtSection(const CodeFragment* item);
    void createParamSection(const CodeFragment* item);
    // Heads declared without a body: only prototypes (and a process's thread function).
    void appendProc(const CodeFragment* item);
    void appendPros(const CodeFragment* item);

private:
    void addItem(const std::string& keyword, const CodeFragment* item);
    void addTypesetItem(const std::string& keyword, const CodeFragment* item);
};

// The fathers of a package or agent: its base-class list.
class DerivationFragment : public CodeFragment {
public:
    // father may be null (an undeclared name); a father that is no block is not recorded.
    void createDerivation(const std::string& name, Node* father);
    std::vector<std::string> baseNames;
    std::vector<BlockNode*> fathers;  // not owned
};

// The driver's fragment of one compiled source: the channel style the emitters
// read, and, once written, the file texts and the program kind.
class TopFragment : public CodeFragment, public ProgramState {
public:
    // A new top fragment starts a new program: the records and unions it
    // defines are those its own declarations make.
    TopFragment();

    // Stores the kind, makes the file texts from main and writes the five
    // files; a file that cannot be opened or written gets a file diagnostic.
    void writeFiles(std::string name, int kind, const CodeFragment* main, std::string cppName,
                    std::string protoName, std::string innerName, std::string errName, std::string typesetName);
};

// One field of a record or union: its QUV/E name, its C++ name and its type (not owned).
class FieldEntry : public CodeFragment {
public:
    FieldEntry(const std::string& name, Type* type);
    Type* getType() const { return type; }

private:
    Type* type;
};

typedef std::vector<FieldEntry*> FieldList;

// The fragment of one field declaration, carrying the entry of the declared field.
class FieldFragment : public CodeFragment {
public:
    void createFieldDecl(const std::string& name, Type* t);
    FieldEntry* entry = nullptr;
};

// The fields of one record or union being declared; the type made from it keeps the list.
class FieldListFragment : public CodeFragment {
public:
    explicit FieldListFragment(FieldList* list) : fields(list) {}
    // Adds one field; a field name already in the list is reported and left out of it.
    void createFieldList(const FieldFragment* item);
    FieldList* fields;
    int count = 0;
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

// The result of an operator: texts and a type. It has no definition kind of its
// own (-1); it shares the record's emitters so that operators nest freely.
class OperatorExpression : public Expression {
public:
    OperatorExpression(const std::string& typesetText, const std::string& cppText, Type* type);
};

class Constant {
public:
    // Fills target from a literal. Kinds: 0 integer, 1 float, 2 string, 3 and 4
    // true and false of Logic, 5 and 6 true and false of BOOL, 7 and 8 negative
    // integer and float (text without the minus). Another kind throws.
    static void newConstant(Expression* target, int kind, const std::string& text);
};

// A fragment with the two further texts the statement emitters read: the label
// (of a statement or element; the forward label of an action record; the
// commit text of an assignment equation) and the forward label (of an element;
// the default label of a case condition).
class LabelledFragment : public CodeFragment {
public:
    std::string getLabel() const { return label; }
    std::string getForwardLabel() const { return forwardLabel; }

protected:
    std::string label;
    std::string forwardLabel;
};

class Statement;
class ProcessStart;
class AssignmentEquation;
class GotoCondition;
class CaseCondition;

// One labelled element of an algorithmic part, or (through Statement) a statement.
// Conditions are fragments whose C++ text is a boolean expression; a null
// condition means none. Actions are action records (Statement) that stay the caller's.
class ConditionalElement : public LabelledFragment {
public:
    // Its C++ text leaves a brace open: AlgorithmicPart::createAlg closes it after the jump.
    void createCE(std::string label, const CodeFragment* condition, const Statement* action);
    // The atomic statement.
    void createCE(std::string label, const Statement* action);

    // New goto and case conditions; the caller owns the result. The goto
    // condition takes over its condition, the case condition its alternatives.
    static GotoCondition* createGotoCondition(CodeFragment* condition, std::string target);
    static CaseCondition* createCaseCondition(std::vector<GotoCondition*> alternatives, std::string defaultLabel);
};

// One guarded alternative of a case condition: the label is its target.
class GotoCondition : public LabelledFragment {
public:
    ~GotoCondition() override;
    const CodeFragment* getCondition() const { return condition; }

private:
    CodeFragment* condition = nullptr;  // owned
    friend class ConditionalElement;
};

// The goto conditions of a case statement and its default label (the forward label).
class CaseCondition : public LabelledFragment {
public:
    ~CaseCondition() override;
    int getAlternativeCount() const { return static_cast<int>(alternatives.size()); }
    std::string getAlternativeLabel(int i) const;
    const GotoCondition* getAlternative(int i) const { return alternatives.at(i); }

private:
    std::vector<GotoCondition*> alternatives;  // owned
    friend class ConditionalElement;
};

// A statement of a %stm part, an action record (label: the forward label its
// action ends with) or a guarded alternative of a select. The walker creates
// each with new and calls one emitter on it; lists passed in stay the caller's.
class Statement : public ConditionalElement {
public:
    void createIfStat(std::string label, const CodeFragment* condition, const Statement* thenAction,
                      const Statement* elseAction);
    // The case statement: at least one statement, the first labelled with a target of the condition.
    void createStat(std::string label, const CaseCondition* condition, const std::vector<Statement*>& statements);
    void createLoopStat(std::string label, const CodeFragment* condition, const std::vector<Statement*>& statements);
    // exitCondition: the wait repeats its equations until it holds (none: once).
    // guard: the condition part after the label; the wait runs only when it holds.
    void createWaitStat(std::string label, const std::vector<AssignmentEquation*>& equations,
                        const CodeFragment* exitCondition, const CodeFragment* guard = nullptr);
    void createSeqStat(const std::vector<Statement*>& statements);

    // ---- action records and guarded alternatives ----
    void createActionItem(const std::vector<AssignmentEquation*>& equations, std::string label);
    // call: a procedure call or built-in (ProcCall); its text has no ";" of its own.
    void createCallAction(const CodeFragment* call);
    void createGuardedAlternative(const CodeFragment* condition, const Statement* action);
    void createSelect(const std::vector<Statement*>& alternatives);

    // The parallel statement: starts every process of starts (in written order)
    // and waits for all of them to end. The starts and their actuals stay the caller's.
    void createParallel(const std::vector<ProcessStart*>& starts);
};

// A %alg or %stm part; the elements and statements stay the caller's.
class AlgorithmicPart : public CodeFragment {
public:
    void createAlg(const std::vector<ConditionalElement*>& elements);
    void createStm(const std::vector<Statement*>& statements);
    // Declarations that come before every statement of the part.
    void prependDeclarations(const std::string& declarations) { code = declarations + code; }
};

// One assignment equation: its evaluation (C++ text) computes the next-state
// value into a fresh temporary; its commit text (the label) copies the
// temporaries into the variables once every equation of the action has been
// evaluated. Access records, expressions and nodes passed in stay the caller's.
class AssignmentEquation : public LabelledFragment {
public:
    // $O v = e
    AssignmentEquation(const Expression* target, const OperatorExpression* value);
    // $O NewDec(n : t); the node takes the declared type.
    AssignmentEquation(VarNode* variable, Type* type);
    // $O c ? v
    AssignmentEquation(VarNode* channel, const Expression* target);
    // $O c ! e
    AssignmentEquation(VarNode* channel, const OperatorExpression* value);
    // $O k == p: the control variable k starts process p.
    AssignmentEquation(VarNode* control, std::string process);
    // $O Delete k
    explicit AssignmentEquation(VarNode* control);
    // A sequence of at least two equations, which stay the caller's.
    explicit AssignmentEquation(const std::vector<AssignmentEquation*>& equations);

    // Takes a new declaration's C++ text out of the equation, for the caller
    // to place where the rest of the body sees it.
    std::string takeDeclaration() {
        std::string declaration;
        declaration.swap(code);
        return declaration;
    }
};

// One actual/formal pair of a call, made by a ProcCall::create...Param
// factory. Its typeset text is the pair as QUV/E; its other texts are empty.
class ActualParam : public CodeFragment {
public:
    std::string getActualCode() const { return actualCode; }
    std::string getFormalName() const { return formalName; }
    std::string getPeerControl() const { return peerControl; }  // channel pairs only
    int getAttribute() const { return attribute; }              // 12 value, 13 reference, 14 input, 15 output channel
    Type* getType() const { return type; }                      // not owned

private:
    std::string actualCode;  // the C++ expression the actual passes
    std::string formalName;
    std::string peerControl;
    int attribute = 0;
    Type* type = nullptr;
    friend class ProcCall;
};

// One process start of a parallel statement. Its texts: typeset the start as
// QUV/E, C++ the filling of its parameter block, inner types empty.
class ProcessStart : public CodeFragment {
public:
    std::string getControlName() const { return controlName; }
    // The call's actuals in written order; the records stay the caller's.
    const std::vector<ActualParam*>& getActuals() const { return actuals; }
    std::string getThreadStart() const { return threadStart; }
    std::string getEndFlag() const { return endFlag; }
    // The process the control variable is known to start, or null.
    ProNode* getProcess() const { return process; }

private:
    std::string controlName;
    std::vector<ActualParam*> actuals;
    std::string threadStart;
    std::string endFlag;
    int interval = 0;
    ProNode* process = nullptr;  // not owned
    friend class ProcCall;
    friend class Statement;
};

// A call of a user procedure or of a built-in. The walker fills one with a
// single emitter and hands it to Statement::createCallAction or to
// Expression::createCall. No text ends in ";": the call action adds it.
class ProcCall : public CodeFragment {
public:
    // ---- actual/formal pairs: each returns a new record the caller deletes ----
    // expression: the value (an OperatorExpression or access record).
    static ActualParam* createInParam(const Expression* expression, std::string formal);
    static ActualParam* createIoParam(const Expression* variable, std::string formal);
    // peer: the control variable of the process at the other end.
    static ActualParam* createChanInParam(std::string channel, VarNode* peer, std::string formal);
    static ActualParam* createChanOutParam(std::string channel, VarNode* peer, std::string formal);
    // Reports a conflict of a new actual of a process call with an earlier one and returns false.
    static bool checkActualPair(const ActualParam& actual, const ActualParam& other);

    // A new process start the caller deletes (not its actuals). process: the
    // process the control is known to start (a control-binding equation of the
    // same file), or null; it lets the parallel statement compare channel element types.
    static ProcessStart* createProsStart(VarNode* control, const std::vector<ActualParam*>& actuals, int interval,
                                         ProNode* process = nullptr);
    // The C++ text of a start's parameter block; link(from, to) names the
    // channel from one control to another.
    static std::string startCode(const ProcessStart* s,
                                 const std::function<std::string(std::string, std::string)>& link);

    // ---- calls ----
    // frame: SymbolTable::getFramePath of the procedure. Matches the actuals to
    // the formals by name; reports and leaves the C++ text empty on a count
    // mismatch or two actuals of one formal; throws QUVRunTimeException for an
    // actual naming no formal.
    void createProcCall(ProNode* procedure, std::string frame, const std::vector<ActualParam*>& actuals);

    // ---- the built-ins; operands stay the caller's ----
    void createFopen(VarNode* file, const Expression* name);
    void createFclose(VarNode* file);
    void createFeof(VarNode* file, const Expression* target);
    void createQuvEof(VarNode* file, const Expression* marker);
    void createFread(VarNode* file, const std::vector<Expression*>& items);
    void createRead(const std::vector<Expression*>& items);
    void createFwrite(VarNode* file, const std::vector<OperatorExpression*>& items);
    void createWrite(const std::vector<OperatorExpression*>& items);
    void createFwriteln(VarNode* file, const std::vector<OperatorExpression*>& items);
    void createWriteln(const std::vector<OperatorExpression*>& items);
    void createGetc(VarNode* file, const Expression* target);
    void createGetchar(const Expression* target);
    void createUnGetc(VarNode* file, const Expression* source);
    void createUnGetChar(const Expression* source);
    void createItoc(const Expression* value, const Expression* target);
    void createStrlen(const Expression* target, const Expression* value);

    // The call as a C++ expression, for a call used as a value (the character
    // built-ins' C++ texts are statement blocks).
    std::string getValueCode() const { return valueCode.empty() ? code : valueCode; }

private:
    std::string valueCode;
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

// Declarations from a type: without ";", and the frame member that points at n.
std::string declaration(const std::string& n, const Type* t);
std::string pointerDeclaration(std::string n, const Type* t);

FieldEntry* fieldTempName(const std::string& name, Type* t);

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
