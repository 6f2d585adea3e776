// The C++ code generator: the records it fills, its emitters and the writer
// of the five output files of a source. The core's records (CodeFragment,
// Expression, the field records) and the naming functions of CodeNames are in
// compiler/core/code_fragment.hpp.
//
// Every emitter is a free function of namespace codegen with the job first:
// codegen::createIfStat(job, label, condition, then, otherwise). It either
// fills the fragment it is given next (sections, declarations, heads, frames,
// units) or returns a new record. Operands are only read, except by
// setVariableAccess. An access or operator emitter handed a null operand or a
// null type works on empty texts and the unknown type; a null condition means
// none.
//
// How the tree walker drives it:
// - Heads of a procedure part go through appendProc or appendPros, bodies
//   through createProcSection or createProsSection.
// - A procedure: createProcHead, its typeset and C++ texts recorded in the
//   node (ProNode::setResult), later createFrameStruct with those texts. The
//   main body: createFrameStruct with "$Main" and two empty head texts; the
//   unit emitter (createMain or createMMain) then places the entry function
//   after the main body's nested procedures, which C++ cannot nest.
// - A process: createProsHead, ProNode::setResult, createProsBody on the same
//   fragment; later createFrameDecl.
// - A variable of an enclosing procedure is reached through the frames:
//   CodeNames::pointerDeref(C++ name, SymbolTable::getVarPath(node)); one of
//   the program or of a package is written in its scope where C++ would find
//   another declaration of its name (SymbolTable::getScopeQualifier).
// - A plain variable name uses the node's own access record, pointed at its
//   frame by setVariableAccess; every other access form is a new record.
// - A call is made by one call emitter and then goes to createCallAction
//   (which adds the ";") or, used as a value, to createCall.
// - A process start's process is the ProNode its control is bound to by a
//   control-binding equation of the same file, or null: it only lets the
//   parallel statement compare channel element types. The parameter block
//   holds the actuals by formal name, so their order never matters.
// - The top fragment (TopFragment) is made by the driver; the program rule
//   leaves the program in it (setProgram) and the driver has writeFiles write
//   the five files after the walk.
#pragma once
#include <memory>
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
};

// The fathers of a package or agent: its base-class list.
class DerivationFragment : public CodeFragment {
public:
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

// A fragment with the two further texts the statement emitters read: the label
// (of a statement or element; the forward label of an action record; the
// commit text of an assignment equation) and the forward label (of an element;
// the default label of a case condition).
class LabelledFragment : public CodeFragment {
public:
    std::string getLabel() const { return label; }
    std::string getForwardLabel() const { return forwardLabel; }

    std::string label;
    std::string forwardLabel;
};

// One labelled element of a %alg part; its C++ text leaves a brace open,
// which createAlg closes after the jump.
class ConditionalElement : public LabelledFragment {};

// A statement of a %stm part, an action record (label: the forward label its
// action ends with) or a guarded alternative of a select.
class Statement : public ConditionalElement {};

// One guarded alternative of a case condition: the label is its target.
class GotoCondition : public LabelledFragment {
public:
    const CodeFragment* getCondition() const { return condition.get(); }

    std::unique_ptr<CodeFragment> condition;
};

// The goto conditions of a case statement and its default label (the forward label).
class CaseCondition : public LabelledFragment {
public:
    int getAlternativeCount() const { return static_cast<int>(alternatives.size()); }
    std::string getAlternativeLabel(int i) const { return alternatives.at(i)->getLabel(); }
    const GotoCondition* getAlternative(int i) const { return alternatives.at(i).get(); }

    std::vector<std::unique_ptr<GotoCondition>> alternatives;
};

// A %alg or %stm part.
class AlgorithmicPart : public CodeFragment {
public:
    // Declarations that come before every statement of the part.
    void prependDeclarations(const std::string& declarations) { code = declarations + code; }
};

// One assignment equation: its evaluation (C++ text) computes the next-state
// value into a fresh temporary; its commit text (the label) copies the
// temporaries into the variables once every equation of the action has been
// evaluated.
class AssignmentEquation : public LabelledFragment {
public:
    // Takes a new declaration's C++ text out of the equation, for the caller
    // to place where the rest of the body sees it.
    std::string takeDeclaration() {
        std::string declaration;
        declaration.swap(code);
        return declaration;
    }
};

// One actual/formal pair of a call. Its typeset text is the pair as QUV/E;
// its other texts are empty.
class ActualParam : public CodeFragment {
public:
    std::string getActualCode() const { return actualCode; }
    std::string getFormalName() const { return formalName; }
    std::string getPeerControl() const { return peerControl; }  // channel pairs only
    int getAttribute() const { return attribute; }              // 12 value, 13 reference, 14 input, 15 output channel
    Type* getType() const { return type; }                      // not owned

    std::string actualCode;  // the C++ expression the actual passes
    std::string formalName;
    std::string peerControl;
    int attribute = 0;
    Type* type = nullptr;
};

// One process start of a parallel statement, with its actuals in written
// order. Its texts: typeset the start as QUV/E, C++ the filling of its
// parameter block, inner types empty.
class ProcessStart : public CodeFragment {
public:
    std::string getControlName() const { return controlName; }
    const std::vector<std::unique_ptr<ActualParam>>& getActuals() const { return actuals; }
    std::string getThreadStart() const { return threadStart; }
    std::string getEndFlag() const { return endFlag; }
    // The process the control variable is known to start, or null.
    ProNode* getProcess() const { return process; }

    std::string controlName;
    std::vector<std::unique_ptr<ActualParam>> actuals;
    std::string threadStart;
    std::string endFlag;
    int interval = 0;
    ProNode* process = nullptr;  // not owned
    // The name of the process the control is bound to, also of one declared
    // in another file; empty where that is not known.
    std::string processName;
};

// A call of a user procedure or of a built-in. No text ends in ";": the call
// action adds it.
class ProcCall : public CodeFragment {
public:
    // The call as a C++ expression, for a call used as a value (the character
    // built-ins' C++ texts are statement blocks).
    std::string getValueCode() const { return valueCode.empty() ? code : valueCode; }

    std::string valueCode;
};

namespace codegen {
// ---- sections: each adds item to s ----
void createTypeSection(JobState& job, SectionFragment& s, const CodeFragment* item);
void createGlobSection(JobState& job, SectionFragment& s, const CodeFragment* item);
void createVarSection(JobState& job, SectionFragment& s, const CodeFragment* item);
void createLocSection(JobState& job, SectionFragment& s, const CodeFragment* item);
void createProcSection(JobState& job, SectionFragment& s, const CodeFragment* item);
void createProsSection(JobState& job, SectionFragment& s, const CodeFragment* item);
void createPackSection(JobState& job, SectionFragment& s, const CodeFragment* item);
void createAgtSection(JobState& job, SectionFragment& s, const CodeFragment* item);
void createParamSection(JobState& job, SectionFragment& s, const CodeFragment* item);
// Heads declared without a body: only prototypes (and a process's thread function).
void appendProc(JobState& job, SectionFragment& s, const CodeFragment* item);
void appendPros(JobState& job, SectionFragment& s, const CodeFragment* item);
// father may be null (an undeclared name); a father that is no block is not recorded.
void createDerivation(JobState& job, DerivationFragment& d, const std::string& name, Node* father);

// ---- declarations of one name; each replaces all four texts of f ----
// A local variable: the C++ local, its frame member [2] and the statement that points the member at it [3].
void createVarDecl(JobState& job, CodeFragment& f, std::string name, Type* t);
void createSharedVarDecl(JobState& job, CodeFragment& f, std::string name, Type* t);
void createConstDecl(JobState& job, CodeFragment& f, std::string name, Type* t, const CodeFragment* value);
void createInParam(JobState& job, CodeFragment& f, std::string name, Type* t);
void createRefParam(JobState& job, CodeFragment& f, std::string name, Type* t);
void createChanParam(JobState& job, CodeFragment& f, std::string name, Type* t);
// One field of a record or union; f carries the field's entry until a list takes it.
void createFieldDecl(JobState& job, FieldFragment& f, const std::string& name, Type* t);
// Adds the field of item to list, taking its entry; a field name already in
// the list is reported and left out of it (the item keeps its entry).
void createFieldList(JobState& job, FieldListFragment& list, FieldFragment& item);
// Fills target from a literal. Kinds: 0 integer, 1 float, 2 string, 3 and 4
// true and false of Logic, 5 and 6 true and false of BOOL, 7 and 8 negative
// integer and float (text without the minus). Another kind throws.
void createConstant(JobState& job, Expression& target, int kind, const std::string& text);
// Whether an integer literal as written stands for an Integer; a negated one
// may stand for the least Integer, whose magnitude no Integer holds.
bool integerLiteralFits(const std::string& written, bool negated);

// ---- heads, frames and thread functions of procedures and processes ----
// params is the parameter section (an empty fragment when there are none);
// packName is what the node reports as its package, empty outside packages.
void createProcHead(JobState& job, CodeFragment& f, ProNode* p, std::string name, const CodeFragment* params,
                    std::string packName);
void createProsHead(JobState& job, CodeFragment& f, ProNode* p, std::string name, const CodeFragment* params,
                    std::string packName);
// On the fragment of createProsHead: the parameter block and the thread function.
void createProsBody(JobState& job, CodeFragment& f, ProNode* p, std::string packName);
// The frame and the function of a procedure, or of the main body: b is the
// procedure's own ProNode, name its QUV/E name ("$Main" for the main body),
// the head texts those recorded in the node (both empty for the main body).
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
// bases is the fathers part. A father that is the package itself, or whose
// fathers lead back to it, is never written as a base.
void createPackClass(JobState& job, CodeFragment& f, std::string name, const CodeFragment* bases,
                     const CodeFragment* members, const CodeFragment* procs);
// As a package, plus the agent's process: the fragment of its head (after
// createProsHead and createProsBody) and of its declaration (after createFrameDecl).
void createAgentClass(JobState& job, CodeFragment& f, std::string name, const CodeFragment* bases,
                      const CodeFragment* members, const CodeFragment* procs, const CodeFragment* prosHead,
                      const CodeFragment* prosBody);
// The typedef of a type declaration; the node records the named type. A
// node already referenced (the type names itself) gets a struct or union tag.
void createTypeDecl(JobState& job, CodeFragment& f, std::string name, Type* t, TypeNode* node);

// ---- access forms: a new access record with the kind of e ----
std::unique_ptr<Expression> createIndex(JobState& job, const Expression& e, const OperatorExpression* i);
std::unique_ptr<Expression> createPtrField(JobState& job, const Expression& e, const std::string& m);
std::unique_ptr<Expression> createField(JobState& job, const Expression& e, const std::string& m);
std::unique_ptr<Expression> createParen(JobState& job, const Expression& e);
std::unique_ptr<Expression> createDereference(JobState& job, const Expression& e);
// In place: the C++ text of e becomes the access through the frame path of
// the variable (empty for a variable of the current block), written in the
// scope given (SymbolTable::getScopeQualifier) where C++ needs one.
void setVariableAccess(JobState& job, Expression& e, const std::string& path, const std::string& scope = "");

// ---- operators on a variable ----
std::unique_ptr<OperatorExpression> createAddressOf(JobState& job, const Expression& e);
std::unique_ptr<OperatorExpression> createCanSend(JobState& job, const Expression& e);
std::unique_ptr<OperatorExpression> createCanRecv(JobState& job, const Expression& e);

// An operator expression with the record's texts and type.
std::unique_ptr<OperatorExpression> fromVariable(JobState& job, const Expression* record);
std::unique_ptr<OperatorExpression> fromConstant(JobState& job, const Expression* record);

// ---- operators on an expression (l or e is the left or only operand); each
// type rule reports its own mismatch and gives the unknown type, and the
// texts are built all the same. Their C++ texts come grouped in parentheses. ----
std::unique_ptr<OperatorExpression> createEq(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createNe(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createLt(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createLe(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createGt(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createGe(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createAnd(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createOr(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createAdd(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createSub(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createMul(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createDiv(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createMod(JobState& job, const Expression& l, const OperatorExpression* r);
std::unique_ptr<OperatorExpression> createNeg(JobState& job, const Expression& e);
std::unique_ptr<OperatorExpression> createLogicalNot(JobState& job, const Expression& e);
std::unique_ptr<OperatorExpression> createParenExpr(JobState& job, const Expression& e);
// c is the condition.
std::unique_ptr<OperatorExpression> createIfThenElse(JobState& job, const Expression& c, const OperatorExpression* t,
                                                     const OperatorExpression* e);
// p is the fragment of a procedure call, run before the value of e is taken.
std::unique_ptr<OperatorExpression> createCall(JobState& job, const Expression& e, const CodeFragment* p);

// ---- assignment equations ----
// $O v = e
std::unique_ptr<AssignmentEquation> createAssignEquation(JobState& job, const Expression* target,
                                                         const OperatorExpression* value);
// $O NewDec(n : t); the node takes the declared type.
std::unique_ptr<AssignmentEquation> createNewDecEquation(JobState& job, VarNode* variable, Type* type);
// $O c ? v
std::unique_ptr<AssignmentEquation> createReceiveEquation(JobState& job, VarNode* channel, const Expression* target);
// $O c ! e
std::unique_ptr<AssignmentEquation> createSendEquation(JobState& job, VarNode* channel,
                                                       const OperatorExpression* value);
// $O k == p: the control variable k starts process p.
std::unique_ptr<AssignmentEquation> createStartEquation(JobState& job, VarNode* control, std::string process);
// $O Delete k
std::unique_ptr<AssignmentEquation> createDeleteEquation(JobState& job, VarNode* control);
// A sequence of at least two equations.
std::unique_ptr<AssignmentEquation> createSeqEquation(JobState& job,
                                                      const std::vector<AssignmentEquation*>& equations);

// ---- conditional elements, conditions and statements ----
// Conditions are fragments whose C++ text is a boolean expression.
std::unique_ptr<ConditionalElement> createCE(JobState& job, std::string label, const CodeFragment* condition,
                                             const Statement* action);
// The atomic statement.
std::unique_ptr<Statement> createAtomicStat(JobState& job, std::string label, const Statement* action);
std::unique_ptr<GotoCondition> createGotoCondition(JobState& job, std::unique_ptr<CodeFragment> condition,
                                                   std::string target);
std::unique_ptr<CaseCondition> createCaseCondition(JobState& job,
                                                   std::vector<std::unique_ptr<GotoCondition>> alternatives,
                                                   std::string defaultLabel);
std::unique_ptr<Statement> createIfStat(JobState& job, std::string label, const CodeFragment* condition,
                                        const Statement* thenAction, const Statement* elseAction);
// The case statement: at least one statement, the first labelled with a target of the condition.
std::unique_ptr<Statement> createStat(JobState& job, std::string label, const CaseCondition* condition,
                                      const std::vector<Statement*>& statements);
std::unique_ptr<Statement> createLoopStat(JobState& job, std::string label, const CodeFragment* condition,
                                          const std::vector<Statement*>& statements);
// exitCondition: the wait repeats its equations until it holds (none: once).
// guard: the condition part after the label; the wait runs only when it holds.
std::unique_ptr<Statement> createWaitStat(JobState& job, std::string label,
                                          const std::vector<AssignmentEquation*>& equations,
                                          const CodeFragment* exitCondition, const CodeFragment* guard = nullptr);
std::unique_ptr<Statement> createSeqStat(JobState& job, const std::vector<Statement*>& statements);

// ---- action records and guarded alternatives ----
std::unique_ptr<Statement> createActionItem(JobState& job, const std::vector<AssignmentEquation*>& equations,
                                            std::string label);
// call: a procedure call or built-in (ProcCall); its text has no ";" of its own.
std::unique_ptr<Statement> createCallAction(JobState& job, const CodeFragment* call);
std::unique_ptr<Statement> createGuardedAlternative(JobState& job, const CodeFragment* condition,
                                                    const Statement* action);
std::unique_ptr<Statement> createSelect(JobState& job, const std::vector<Statement*>& alternatives);

// ---- algorithmic parts; each replaces the texts of part ----
void createAlg(JobState& job, AlgorithmicPart& part, const std::vector<ConditionalElement*>& elements);
void createStm(JobState& job, AlgorithmicPart& part, const std::vector<Statement*>& statements);

// ---- actual/formal pairs of calls and process starts ----
// expression: the value (an OperatorExpression or access record).
std::unique_ptr<ActualParam> createInActual(JobState& job, const Expression* expression, std::string formal);
std::unique_ptr<ActualParam> createIoActual(JobState& job, const Expression* variable, std::string formal);
// peer: the control variable of the process at the other end.
std::unique_ptr<ActualParam> createChanInActual(JobState& job, std::string channel, VarNode* peer,
                                                std::string formal);
std::unique_ptr<ActualParam> createChanOutActual(JobState& job, std::string channel, VarNode* peer,
                                                 std::string formal);

// ---- calls ----
// frame: SymbolTable::getFramePath of the procedure. Matches the actuals to
// the formals by name; reports and leaves the C++ text empty on a count
// mismatch or two actuals of one formal; throws QUVRunTimeException for an
// actual naming no formal.
std::unique_ptr<ProcCall> createProcCall(JobState& job, ProNode* procedure, std::string frame,
                                         const std::vector<std::unique_ptr<ActualParam>>& actuals);
std::unique_ptr<ProcCall> createFopen(JobState& job, VarNode* file, const Expression* name);
std::unique_ptr<ProcCall> createFclose(JobState& job, VarNode* file);
std::unique_ptr<ProcCall> createFeof(JobState& job, VarNode* file, const Expression* target);
std::unique_ptr<ProcCall> createQuvEof(JobState& job, VarNode* file, const Expression* marker);
std::unique_ptr<ProcCall> createFread(JobState& job, VarNode* file, const std::vector<Expression*>& items);
std::unique_ptr<ProcCall> createRead(JobState& job, const std::vector<Expression*>& items);
std::unique_ptr<ProcCall> createFwrite(JobState& job, VarNode* file, const std::vector<OperatorExpression*>& items);
std::unique_ptr<ProcCall> createWrite(JobState& job, const std::vector<OperatorExpression*>& items);
std::unique_ptr<ProcCall> createFwriteln(JobState& job, VarNode* file,
                                         const std::vector<OperatorExpression*>& items);
std::unique_ptr<ProcCall> createWriteln(JobState& job, const std::vector<OperatorExpression*>& items);
std::unique_ptr<ProcCall> createGetc(JobState& job, VarNode* file, const Expression* target);
std::unique_ptr<ProcCall> createGetchar(JobState& job, const Expression* target);
std::unique_ptr<ProcCall> createUnGetc(JobState& job, VarNode* file, const Expression* source);
std::unique_ptr<ProcCall> createUnGetChar(JobState& job, const Expression* source);
std::unique_ptr<ProcCall> createItoc(JobState& job, const Expression* value, const Expression* target);
std::unique_ptr<ProcCall> createStrlen(JobState& job, const Expression* target, const Expression* value);

// ---- process starts and parallel statements ----
// Reports a conflict of a new actual of a process start with an earlier one and returns false.
bool checkActualPair(JobState& job, const ActualParam& actual, const ActualParam& other);
// process: the process the control is known to start, or null.
std::unique_ptr<ProcessStart> createProsStart(JobState& job, VarNode* control,
                                              std::vector<std::unique_ptr<ActualParam>> actuals, int interval,
                                              ProNode* process = nullptr);
// Starts every process of starts (in written order) and waits for all of them
// to end; a block of its own, so several per body are fine. It may rename the
// channels of the starts' parameter blocks.
std::unique_ptr<Statement> createParallel(JobState& job, const std::vector<ProcessStart*>& starts);
}  // namespace codegen
