// The C++ code generator: the fragments it fills with their emitters, the
// emitters of the records the core keeps, and the writer of the five output
// files of a source. Those records (CodeFragment, Expression, the field
// records) and the naming functions of CodeNames are in
// compiler/core/code_fragment.hpp; they hold data only. Their emitters are
// the free functions of namespace codegen below, each taking the record it
// fills or reads as its first parameter: codegen::createVarDecl(f, name, t).
//
// How the tree walker drives it:
// - Section records (SectionFragment) start with count 0; call one section
//   emitter per item. Heads of a procedure part go through appendProc or
//   appendPros, bodies through createProcSection or createProsSection.
// - Procedure: codegen::createProcHead on the head fragment, record its
//   typeset and C++ texts in the node (ProNode::setResult), later
//   codegen::createFrameStruct with the same ProNode and those texts. The
//   main body: createFrameStruct with its ProNode, "$Main" and two empty head
//   texts; then the unit emitter (createMain or createMMain) places the entry
//   function after the main body's nested procedures.
// - Process: createProsHead, ProNode::setResult, createProsBody on the same
//   fragment; later createFrameDecl.
// - A variable or parameter of an enclosing procedure is reached from a
//   nested one through the frames: its access text is
//   CodeNames::pointerDeref(C++ name, SymbolTable::getVarPath(node)). The
//   frame of a procedure holds a pointer to each of its parameters and locals.
// - The top fragment (TopFragment) is made by the driver before the walk; the
//   program rule leaves the program in it (setProgram). The walker writes no
//   file: the driver has writeFiles write the five files after the walk, also
//   after a walk that failed once it had left its program.
// - The main body runs inside the program entry as a lambda, so the plain
//   "return ;" that ends every body also ends the main body.
//
// Expressions and statements:
// - A plain variable name: codegen::setVariableAccess(record, getVarPath) on
//   the node's own access record, then use that record; never delete it.
//   Every other access form, every operator and fromVariable/fromConstant
//   return a new object the caller deletes (as a CodeFragment) after its own
//   emitter ran.
//   A literal: Constant::newConstant on a local Expression(), then fromConstant.
// - Operators take the left or only operand (an OperatorExpression) as their
//   first parameter: codegen::createAdd(*L, R),
//   codegen::createIfThenElse(*C, T, E), codegen::createCall(*E, P). Their
//   C++ texts come grouped in parentheses.
// - Equations: new AssignmentEquation(...) with the overload of the form; the
//   caller owns it and, for a sequence, the equations it was made from. The
//   receive and send overloads differ by the second argument: an access
//   record (Expression*) receives, an OperatorExpression* sends.
// - Statements, action records and guarded alternatives: new Statement, then
//   one emitter on it; the caller owns it and everything it passed in (action
//   records, conditions, statement and equation lists), and frees them after
//   the emitter ran. Conditional elements likewise (new ConditionalElement).
// - createGotoCondition takes over its condition; createCaseCondition takes
//   over its goto conditions; the caller deletes the case condition after
//   createStat.
// - A null condition means "none"; a failed condition should be passed as a
//   placeholder expression, or the guard disappears.
//
// Calls and built-ins:
// - The call's fragment is made with new ProcCall (the rule may hand it on as
//   a CodeFragment*: createCall reads its dynamic type) and owned by the caller.
// - A procedure call: each actual/formal pair becomes a new ActualParam from
//   ProcCall::createInParam (value: the expression's OperatorExpression, which
//   the walker then deletes), createIoParam (the variable's access record),
//   createChanInParam or createChanOutParam (the channel name, the peer's
//   control VarNode, the formal name). Then call->createProcCall(procedure
//   node, SymbolTable::getFramePath(procedure), actuals in written order); the
//   walker deletes every ActualParam afterwards. createProcCall throws
//   QUVRunTimeException for an actual naming no formal (not to be caught).
// - A built-in: call->createFopen(file VarNode, name) and so on; the walker
//   keeps and frees its operands (read lists: access records, never deleted;
//   write lists: OperatorExpressions, deleted after the emitter).
// - Either way the filled call goes to Statement::createCallAction (which
//   adds the ";") or, used as a value, to codegen::createCall, which takes
//   the call's expression form; no call text ends in ";".
//
// Processes and parallel statements:
// - A process start: ProcCall::checkActualPair(newActual, *earlier) for each
//   earlier actual of the same start, then
//   ProcCall::createProsStart(control VarNode, actuals, interval, process)
//   returns a new ProcessStart; process is the ProNode the control is bound to
//   by a control-binding equation of the same file, or null when unknown (it
//   only lets the parallel statement compare channel element types).
// - The parallel statement: new Statement, createParallel(starts in written
//   order); then the walker deletes every start's actuals (getActuals) and the
//   start. Its C++ text is a block of its own, so several per body are fine.
// - The parameter block is the run-time's quv_runtime::ProcessBlock: the
//   starter puts each actual under its formal's name, the thread function
//   (createProsBody) takes each formal by name and converts it to the formal's
//   type, so order and number of actuals never matter.
//
// Packages, agents and types: createPackClass and createAgentClass take the
// fathers part as the DerivationFragment the walker filled; a father that is
// the package itself or leads back to it is left out of the base list (the
// walker reports it). createTypeDecl(name, type, TypeNode) sets the node's
// named type; a node marked referenced gives a tagged struct or union.
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "compiler/core/code_fragment.hpp"
#include "compiler/core/job_state.hpp"

class Node;
class BlockNode;
class ProNode;
class TypeNode;
class VarNode;

// A declaration part, a parameter list or a procedure part being gathered item by item.
class SectionFragment : public CodeFragment {
public:
    int count = 0;  // items added so far

    void createTypeSection(JobState& job, const CodeFragment* item);
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

// The five files written for one source: its C++ code, the prototype and
// inner-type headers, the diagnostics file and the typeset copy.
struct OutputNames {
    std::string cpp, proto, inner, err, typeset;
    // The names beside base, the source's path without its extension.
    static OutputNames ofBase(const std::string& base);
};

// What the walk of one program leaves for the writer: the program's name and
// kind and the four texts of its main fragment.
struct ProgramResult {
    std::string name;
    int kind = -1;
    std::string code, prototypes, innerTypes, typeset;
};

// The driver's fragment of one compiled source: the program result the walk
// leaves, its kind and, once written, the file texts.
class TopFragment : public CodeFragment {
public:
    // The walk's last step: keeps the program's result and sets the kind.
    void setProgram(const std::string& name, int kind, const CodeFragment& main);
    bool hasProgram() const { return program.has_value(); }

    // Makes the file texts from the program result and writes the five files;
    // a file that cannot be opened or written gets a file diagnostic in job.
    // Without a program result nothing is written.
    void writeFiles(JobState& job, const OutputNames& files);

    int programKind = -1;  // -1 until the walk leaves a program: no program

private:
    std::optional<ProgramResult> program;
};

// The result of an operator: texts and a type. It has no definition kind of its
// own (-1); being an Expression, it is an operand of every operator, so that
// operators nest freely.
class OperatorExpression : public Expression {
public:
    OperatorExpression(const std::string& typesetText, const std::string& cppText, Type* type);
};

class Constant {
public:
    // Fills target from a literal. Kinds: 0 integer, 1 float, 2 string, 3 and 4
    // true and false of Logic, 5 and 6 true and false of BOOL, 7 and 8 negative
    // integer and float (text without the minus). Another kind throws.
    static void newConstant(JobState& job, Expression* target, int kind, const std::string& text);
};

// The emitters of the core's records CodeFragment and Expression. They are
// free functions of this namespace rather than members of the records, so the
// core keeps only data; the namespace keeps them apart from the like-named
// member emitters of the fragments below (ProcCall::createInParam and others).
namespace codegen {
// ---- declarations of one name; each replaces all four texts of f ----
// A local variable: the C++ local, its frame member [2] and the statement that points the member at it [3].
void createVarDecl(JobState& job, CodeFragment& f, std::string name, Type* t);
void createSharedVarDecl(JobState& job, CodeFragment& f, std::string name, Type* t);
void createConstDecl(JobState& job, CodeFragment& f, std::string name, Type* t, const CodeFragment* value);
void createInParam(JobState& job, CodeFragment& f, std::string name, Type* t);
void createRefParam(JobState& job, CodeFragment& f, std::string name, Type* t);
void createChanParam(JobState& job, CodeFragment& f, std::string name, Type* t);

// ---- heads, frames and thread functions of procedures and processes ----
// params is the parameter section (an empty fragment when there are none);
// packName is what the node reports as its package, empty outside packages.
void createProcHead(CodeFragment& f, ProNode* p, std::string name, const CodeFragment* params, std::string packName);
void createProsHead(CodeFragment& f, ProNode* p, std::string name, const CodeFragment* params, std::string packName);
// On the fragment of createProsHead: the parameter block and the thread function.
void createProsBody(JobState& job, CodeFragment& f, ProNode* p, std::string packName);
// The frame and the function of a procedure, or of the main body. The walker
// passes the procedure's own ProNode as b (its parameters become reachable
// from nested procedures through the frame, like its locals), the QUV/E
// name ("$Main" for the main body), the head texts recorded in the node
// (both empty for the main body), and the locals section, the nested
// procedure section and the algorithmic part. A nested procedure reaches a
// local or a parameter of an enclosing procedure by the variable path of
// SymbolTable::getVarPath and CodeNames::pointerDeref, the same way for both.
void createFrameStruct(JobState& job, CodeFragment& f, BlockNode* b, std::string name, std::string headTypeset,
                       std::string headCpp, const CodeFragment* locals, const CodeFragment* procs,
                       const CodeFragment* body);
// The frame and the function of a process; name is not used.
void createFrameDecl(JobState& job, CodeFragment& f, BlockNode* b, std::string name, std::string headTypeset,
                     std::string headCpp, const CodeFragment* locals, const CodeFragment* procs,
                     const CodeFragment* body);

// ---- program units; each replaces all four texts of f ----
// Parts: T types, G globals, V shared variables, P procedures, S processes,
// K packages, A agents, M the main body (filled by createFrameStruct).
void createMain(JobState& job, CodeFragment& f, const CodeFragment* T, const CodeFragment* G, const CodeFragment* V,
                const CodeFragment* P, const CodeFragment* S, const CodeFragment* K, const CodeFragment* A,
                const CodeFragment* M);
void createDMain(JobState& job, CodeFragment& f, const CodeFragment* T, const CodeFragment* G, const CodeFragment* V,
                 const CodeFragment* P, const CodeFragment* S, const CodeFragment* K, const CodeFragment* A);
void createMMain(JobState& job, CodeFragment& f, const CodeFragment* T, const CodeFragment* G, const CodeFragment* V,
                 const CodeFragment* M);

// ---- packages, agents and type declarations; each sets the texts it names ----
// bases is the fathers part (a DerivationFragment), members the local
// variable part, procs the procedure part. A father that is the package
// itself, or whose fathers lead back to it, is never written as a base.
void createPackClass(CodeFragment& f, std::string name, const CodeFragment* bases, const CodeFragment* members,
                     const CodeFragment* procs);
// As a package, plus the agent's process: the fragment of its head (after
// createProsHead and createProsBody) and of its declaration (after createFrameDecl).
void createAgentClass(CodeFragment& f, std::string name, const CodeFragment* bases, const CodeFragment* members,
                      const CodeFragment* procs, const CodeFragment* prosHead, const CodeFragment* prosBody);
// The typedef of a type declaration; the node records the named type. A
// node already referenced (the type names itself) gets a struct or union tag.
void createTypeDecl(JobState& job, CodeFragment& f, std::string name, Type* t, TypeNode* node);

// Every emitter below that returns a pointer allocates a new object and hands
// it to the caller, who deletes it (as a CodeFragment) once its texts are
// taken; operands are never changed, except by setVariableAccess. The type is
// never owned. An emitter handed a null operand or a null type works on empty
// texts and the unknown type.

// ---- access forms: a new access record with the kind of e ----
Expression* createIndex(JobState& job, const Expression& e, const OperatorExpression* i);
Expression* createPtrField(JobState& job, const Expression& e, const std::string& m);
Expression* createField(JobState& job, const Expression& e, const std::string& m);
Expression* createParen(JobState& job, const Expression& e);
Expression* createDereference(JobState& job, const Expression& e);
// In place: the C++ text of e becomes the access through the frame path of
// the variable (empty for a variable of the current block).
void setVariableAccess(Expression& e, const std::string& path);

// ---- operators on a variable ----
OperatorExpression* createAddressOf(JobState& job, const Expression& e);
OperatorExpression* createCanSend(JobState& job, const Expression& e);
OperatorExpression* createCanRecv(JobState& job, const Expression& e);

// A new operator expression with the record's texts and type.
OperatorExpression* fromVariable(JobState& job, const Expression* record);
OperatorExpression* fromConstant(JobState& job, const Expression* record);

// ---- operators on an expression (l or e is the left or only operand); each
// type rule reports its own mismatch and gives the unknown type, and the
// texts are built all the same ----
OperatorExpression* createEq(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createNe(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createLt(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createLe(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createGt(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createGe(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createAnd(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createOr(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createAdd(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createSub(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createMul(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createDiv(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createMod(JobState& job, const Expression& l, const OperatorExpression* r);
OperatorExpression* createNeg(JobState& job, const Expression& e);
OperatorExpression* createLogicalNot(JobState& job, const Expression& e);
OperatorExpression* createParenExpr(JobState& job, const Expression& e);
// c is the condition.
OperatorExpression* createIfThenElse(JobState& job, const Expression& c, const OperatorExpression* t,
                                     const OperatorExpression* e);
// p is the fragment of a procedure call, run before the value of e is taken.
OperatorExpression* createCall(JobState& job, const Expression& e, const CodeFragment* p);
}  // namespace codegen

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
    void createParallel(JobState& job, const std::vector<ProcessStart*>& starts);
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
    AssignmentEquation(JobState& job, const Expression* target, const OperatorExpression* value);
    // $O NewDec(n : t); the node takes the declared type.
    AssignmentEquation(VarNode* variable, Type* type);
    // $O c ? v
    AssignmentEquation(JobState& job, VarNode* channel, const Expression* target);
    // $O c ! e
    AssignmentEquation(JobState& job, VarNode* channel, const OperatorExpression* value);
    // $O k == p: the control variable k starts process p.
    AssignmentEquation(JobState& job, VarNode* control, std::string process);
    // $O Delete k
    AssignmentEquation(JobState& job, VarNode* control);
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
// codegen::createCall. No text ends in ";": the call action adds it.
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
    static bool checkActualPair(JobState& job, const ActualParam& actual, const ActualParam& other);

    // A new process start the caller deletes (not its actuals). process: the
    // process the control is known to start (a control-binding equation of the
    // same file), or null; it lets the parallel statement compare channel element types.
    static ProcessStart* createProsStart(JobState& job, VarNode* control, const std::vector<ActualParam*>& actuals,
                                         int interval, ProNode* process = nullptr);
    // The C++ text of a start's parameter block; link(from, to) names the
    // channel from one control to another.
    static std::string startCode(JobState& job, const ProcessStart* s,
                                 const std::function<std::string(std::string, std::string)>& link);

    // ---- calls ----
    // frame: SymbolTable::getFramePath of the procedure. Matches the actuals to
    // the formals by name; reports and leaves the C++ text empty on a count
    // mismatch or two actuals of one formal; throws QUVRunTimeException for an
    // actual naming no formal.
    void createProcCall(JobState& job, ProNode* procedure, std::string frame,
                        const std::vector<ActualParam*>& actuals);

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

