// The QUV/E tree walker: walks the parser's tree of one source file, declares
// and resolves its names in the symbol table and has the code generator build
// the four texts of every construct; the program rule leaves the program in
// the top fragment, whose five output files the driver writes.
//
// Conventions of every rule:
// - The init action names the rule (enterRule), so a diagnostic raised later
//   is filed under the innermost rule entered; the name is never restored.
// - match records the place of every node it accepts; semantic diagnostics
//   carry that place.
// - Child fragments are locals of the rule; its emitter runs after the children.
// - The generated handler reports a recognition error, skips to the next
//   sibling of the node at hand and returns normally; the rest of the rule,
//   its emitter included, is skipped. Internal failures (QUVRunTimeException)
//   are not caught and end the walk.
// - A name whose declaration or resolution gave no node (after a recognition
//   error, or a process declared in another file) is never dereferenced: the
//   actions that need it are skipped, and a block is left only if it was entered.
//
// - Rules that return objects (expressions, equations, statements) return
//   them as std::unique_ptr; the caller keeps them in its locals until its
//   own emitter has run. A construct that failed yields no object and is left
//   out of the lists its caller hands on.
// - The trial of a parenthesised expression (parensHoldExpression) walks
//   without actions: ANTLR guards every action of a rule's body while
//   guessing, so nothing is resolved, declared, reported, allocated or
//   appended during a trial. Init blocks run, so they only name the rule and
//   make empty locals.
//
// - A name that resolves to a node of another class than its use needs (a
//   variable named as a procedure, a procedure as a type) has been reported
//   by the resolution; it stands for nothing, and what needed it is left out.

header "post_include_hpp" {
#include <map>
#include <memory>
#include <string>
#include "compiler/core/core.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/parser/stack_guard.hpp"
#include "compiler/treewalk/walk_support.hpp"
}

options {
	language = "Cpp";
	genHashLines = false;
}

class QUVTreeWalk extends TreeParser;
options {
	importVocab = QUV;
	defaultErrorHandler = true;
}

{
public:
	// A node of the expected type passes and its place is recorded; anything
	// else throws a MismatchedTokenException without details.
	void match(ANTLR_USE_NAMESPACE(antlr)RefAST node, int type) override;
	void match(ANTLR_USE_NAMESPACE(antlr)RefAST node, const ANTLR_USE_NAMESPACE(antlr)BitSet& set) override;
	// Makes the node the walk's place again, for a check made after its children.
	void placeAt(ANTLR_USE_NAMESPACE(antlr)RefAST node) { match(node, node->getType()); }
	// One diagnostic per recognition error, kind and number by its exact class.
	void reportError(const ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex) override;
	using ANTLR_USE_NAMESPACE(antlr)TreeParser::reportError;
	// A semantic diagnostic of the walker's own, at the walk's place.
	void reportSemantic(const std::string& text);

	// Every rule entry passes here: a tree nested so deeply that the walk would
	// run out of stack ends the walk with one diagnostic (NestingTooDeep), not a crash.
	void traceIn(const char* rule, ANTLR_USE_NAMESPACE(antlr)RefAST node) override;
	void traceOut(const char*, ANTLR_USE_NAMESPACE(antlr)RefAST) override {}

	// The job the walk runs for, given to program: the walk's place, the
	// diagnostics, the symbol table's registry and numbering and every
	// emitter that needs the job go through it.
	JobState* job = nullptr;

	int getLine() const { return line; }
	int getColumn() const { return column; }
	const std::string& getRuleName() const { return ruleName; }
	const std::string& getFileName() const { return fileName; }

private:
	// The symbol table of the file being walked: made and released by program;
	// a walk ended by an internal failure leaves it to the walker's end.
	std::unique_ptr<SymbolTable> symbols;
	int line = 0;
	int column = 0;
	std::string ruleName;
	std::string fileName;
	StackGuard stackGuard;
	// The parser reported a syntax error before the walk, so the tree may lack
	// the nodes the error took; and whether the last failed match met no node.
	bool parseReported = false;
	bool matchMissedNode = false;
	bool isGap(const ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex) const;

	// Helpers beside the grammar (walk_actions.cpp).
	void enterRule(const char* name);
	void startProgram(JobState& compileJob);
	void finishProgram(TopFragment* top, const std::string& name, int kind, Node* program,
		const CodeFragment& mainFragment);
	void setChannelStyle(bool synchronous);
	Node* declareName(ANTLR_USE_NAMESPACE(antlr)RefAST id, const std::string& name, int defKind);
	Node* resolveName(ANTLR_USE_NAMESPACE(antlr)RefAST id, const std::string& name, int refKind);
	ProNode* enterProcedure(Node* node, int kind);
	void leaveProcedure(ProNode* node, int kind);
	void noteNewDecs(ProNode* node, ANTLR_USE_NAMESPACE(antlr)RefAST declaration);
	void emitFrame(CodeFragment* f, ProNode* node, const std::string& name, bool isMain, int kind,
		SectionFragment* locals, SectionFragment* procs, AlgorithmicPart* body);
	void emitHead(CodeFragment* f, ProNode* node, const std::string& name, SectionFragment* params, int kind);
	void noteChannels(ProNode* process);

	// New declarations inside braces of the generated C++ (an element of a
	// %alg part, a statement nested in another) are made at the start of the
	// body instead, so that every later statement of the body sees them.
	int nestDepth = 0;
	std::string bodyDeclarations;
	struct Nesting {
		Nesting(int& depth, bool nested) : depth(depth), nested(nested) { depth += nested; }
		~Nesting() { depth -= nested; }
		int& depth;
		bool nested;
	};
	Type* namedType(Node* definition);
	int localKind(const Type* t);
	void declareVariable(CodeFragment* f, int declaration, Node* node, const std::string& name,
		Type* t, const Expression* value);
	void declareParameter(CodeFragment* f, int defKind, Node* node, const std::string& name,
		Type* t, ProNode* procedure);

	// Variables and expressions (walk_expressions.cpp).
	typedef std::unique_ptr<OperatorExpression> (*BinaryEmitter)(JobState&, const Expression&,
		const OperatorExpression*);
	// Access records made from other access records; they live until the walk ends.
	std::vector<std::unique_ptr<Expression>> accessRecords;
	Expression* keepAccess(std::unique_ptr<Expression> record);
	Expression* accessFromHere(VarNode* v);
	Expression* variableAccess(Node* node);
	Expression* channelAccess(VarNode* channel);
	const OperatorExpression* operand(const OperatorExpression* e);
	std::unique_ptr<OperatorExpression> binary(const OperatorExpression* l, const OperatorExpression* r,
		BinaryEmitter op);
	std::unique_ptr<OperatorExpression> canSend(Node* channel, const OperatorExpression* message, bool withMessage);
	std::unique_ptr<OperatorExpression> canReceive(Node* channel, const Expression* target, bool withTarget);
	void checkRequiredType(const OperatorExpression* e, int mask);
	void checkVariableType(const Expression* v, int mask);
	void checkStoredType(const Expression* v, int mask, const char* builtin);
	std::unique_ptr<OperatorExpression> addressOf(const Expression* v);
	// Whether a value of type from may be stored where a value of type to is:
	// as an assignment takes it, or (by reference) only the same type.
	static bool fitsType(Type* to, Type* from, bool byReference);
	void checkActualTypes(ProNode* callee, const std::vector<std::unique_ptr<ActualParam>>& actuals);
	// The trial of a parenthesised expression, made once per node of a walk:
	// a trial repeated at every level of nested parentheses would take time
	// exponential in their depth.
	std::map<const ANTLR_USE_NAMESPACE(antlr)AST*, bool> parensTrials;
	bool parensHoldExpression(ANTLR_USE_NAMESPACE(antlr)RefAST node);

	// Equations, statements, elements and actions (walk_statements.cpp).
	typedef std::unique_ptr<OperatorExpression> Condition;
	typedef std::vector<std::unique_ptr<Statement>> Statements;
	typedef std::vector<std::unique_ptr<AssignmentEquation>> Equations;
	std::unique_ptr<AssignmentEquation> assignEquation(const Expression* target, const OperatorExpression* value);
	std::unique_ptr<AssignmentEquation> newDeclaration(Node* node, Type* t);
	std::unique_ptr<AssignmentEquation> receiveEquation(Node* channel, const Expression* target);
	std::unique_ptr<AssignmentEquation> sendEquation(Node* channel, const OperatorExpression* value);
	std::unique_ptr<AssignmentEquation> startEquation(Node* control, const std::string& process);
	std::unique_ptr<AssignmentEquation> deleteEquation(Node* control);
	std::unique_ptr<AssignmentEquation> sequenceEquation(Equations& parts);
	const CodeFragment* guardOf(Condition& c, bool present);
	static bool startsWaitGuard(ANTLR_USE_NAMESPACE(antlr)RefAST node);
	std::unique_ptr<Statement> atomicStatement(const std::string& label, const Statement* action);
	std::unique_ptr<Statement> ifStatement(const std::string& label, Condition& c, bool guarded,
		const Statement* thenAction, const Statement* elseAction);
	std::unique_ptr<Statement> caseStatement(const std::string& label, const CaseCondition* c,
		const Statements& statements);
	std::unique_ptr<Statement> loopStatement(const std::string& label, Condition& c, bool guarded,
		const Statements& statements);
	std::unique_ptr<Statement> waitStatement(const std::string& label, const Equations& equations,
		const OperatorExpression* exitCondition, Condition& guard, bool guarded);
	std::unique_ptr<Statement> sequenceStatement(const Statements& statements);
	std::unique_ptr<GotoCondition> gotoConditionOf(Condition& c, const std::string& target);
	std::unique_ptr<ConditionalElement> elementOf(const std::string& label, Condition& c, bool guarded,
		const Statement* action);
	std::unique_ptr<Statement> actionItem(const Equations& equations, const std::string& forward);
	std::unique_ptr<Statement> callAction(const CodeFragment* call);
	std::unique_ptr<Statement> selectOf(const Statements& alternatives);
	std::unique_ptr<Statement> guardedAlternative(Condition& c, const Statement* action);
	std::unique_ptr<Statement> parallelOf(const std::vector<std::unique_ptr<ProcessStart>>& starts);

	// Calls, built-ins and process starts (walk_calls.cpp).
	typedef std::vector<std::unique_ptr<ActualParam>> Actuals;
	typedef std::vector<std::unique_ptr<OperatorExpression>> WriteItems;
	typedef std::unique_ptr<ProcCall> (*FileEmitter)(JobState&, VarNode*, const Expression*);
	typedef std::unique_ptr<ProcCall> (*OperandEmitter)(JobState&, const Expression*);
	typedef std::unique_ptr<ProcCall> (*PairEmitter)(JobState&, const Expression*, const Expression*);
	typedef std::unique_ptr<ProcCall> (*WriteEmitter)(JobState&, const std::vector<OperatorExpression*>&);
	typedef std::unique_ptr<ProcCall> (*FileWriteEmitter)(JobState&, VarNode*, const std::vector<OperatorExpression*>&);
	// The process each control variable is bound to by a control-binding
	// equation of this file: its node, null where it is declared in another
	// file, and its name; neither where the control is bound to more than one.
	struct ControlBinding {
		ProNode* process;
		std::string name;
	};
	std::map<const Node*, ControlBinding> controlProcesses;
	// The operand that stands in for one that failed: no text, the unknown type,
	// which every typing rule accepts, so the failure is not reported twice.
	std::unique_ptr<const OperatorExpression> failedOperand;
	void bindControl(Node* control, Node* process, const std::string& name);
	// Local control variables: how often each name was resolved, and where
	// each was started. One that only ever appears in starts is bound by nothing.
	struct ControlStart {
		const Node* control;
		std::string name;
		int line;
		int column;
	};
	std::map<const Node*, int> controlUses;
	std::vector<ControlStart> controlStarts;
	void noteControlStart(const Node* control, const std::string& name);
	void checkControlStarts();
	std::unique_ptr<ProcCall> userCall(Node* procedure, const Actuals& actuals);
	VarNode* fileNode(Node* file);
	std::unique_ptr<ProcCall> fileCall(Node* file, const Expression* operand, FileEmitter emit);
	std::unique_ptr<ProcCall> closeCall(Node* file);
	std::unique_ptr<ProcCall> operandCall(const Expression* operand, OperandEmitter emit);
	std::unique_ptr<ProcCall> pairCall(const Expression* first, const Expression* second, PairEmitter emit);
	std::unique_ptr<ProcCall> readCall(Node* file, bool fromFile, const std::vector<Expression*>& items);
	std::unique_ptr<ProcCall> writeCall(const WriteItems& items, WriteEmitter emit);
	std::unique_ptr<ProcCall> fileWriteCall(Node* file, const WriteItems& items, FileWriteEmitter emit);
	static void addReadItem(std::vector<Expression*>& items, Expression* v);
	std::unique_ptr<OperatorExpression> valueCall(const OperatorExpression* value, const CodeFragment* call);
	std::unique_ptr<ActualParam> inParam(const OperatorExpression* value, const std::string& formal);
	std::unique_ptr<ActualParam> ioParam(const Expression* variable, const std::string& formal);
	std::unique_ptr<ActualParam> channelParam(const std::string& channel, Node* peer, const std::string& formal,
		bool input);
	void checkPairs(const ActualParam* actual, const Actuals& earlier);
	std::unique_ptr<ProcessStart> processStart(Node* control, Actuals& actuals, int interval);
	int literalValue(ANTLR_USE_NAMESPACE(antlr)RefAST literal);
	bool integerLiteral(ANTLR_USE_NAMESPACE(antlr)RefAST literal, bool negated);
	// The operand of the unary minus being walked, when it is an integer literal.
	const ANTLR_USE_NAMESPACE(antlr)AST* negatedLiteral = nullptr;

	// Types, packages and agents (walk_types.cpp).
	Type* pointerTo(Type* target);
	Type* arrayOf(Type* element, const std::vector<int>& sizes);
	Type* recordOf(FieldListFragment* fields, bool isUnion);
	void addField(FieldListFragment* fields, FieldFragment& item);
	void declareType(CodeFragment* f, const std::string& name, Type* t, Node* node);
	void addFather(DerivationFragment* bases, const std::string& name, Node* father, Node* unit);
	static void setFathers(Node* unit, const DerivationFragment& bases);
	void leaveUnit(Node* unit, int kind);
}

// ---------------------------------------------------------------- program frame

program[JobState& compileJob, TopFragment* top]
{
	startProgram(compileJob);
	enterRule("program");
	std::string name;
	CodeFragment mainFragment;
	Node* unit = nullptr;
	int kind = -1;
}
	:	(	#(PERCENT_PRO unit = defName[name, DEF_PROGRAM] mainBlock[&mainFragment]) { kind = 0; }
		|	#(PERCENT_DPRO unit = defName[name, DEF_PROGRAM] dMainBlock[&mainFragment]) { kind = 1; }
		|	#(PERCENT_MPRO unit = defName[name, DEF_PROGRAM] mMainBlock[&mainFragment]) { kind = 2; }
		)
		{
			finishProgram(top, name, kind, unit, mainFragment);
		}
	;

defName[std::string& name, int defKind] returns [Node* node = nullptr]
{ enterRule("defName"); }
	:	id:IDENT
		{
			name = id->getText();
			node = declareName(id, name, defKind);
		}
	;

// ---------------------------------------------------------------- main blocks

mainBlock[CodeFragment* f]
{
	enterRule("mainBlock");
	SectionFragment types, globs, vars, procs, pros, packs, agents;
	CodeFragment body;
}
	:	#(	MAIN_BLOCK { setChannelStyle(true); }
			(	SYN { setChannelStyle(true); }
			|	ASYN { setChannelStyle(false); }
			)?
			( typeDeclarationPart[&types] )?
			( globalDeclarationPart[&globs] )?
			( sharedDeclarationPart[&vars] )?
			( procDeclarationPart[&procs] )?
			( prosDeclarationPart[&pros] )?
			( packageDeclarationPart[&packs] )?
			( agentDeclarationPart[&agents] )?
			proDeclaration[&body, DEF_PROCEDURE]
		)
		{ codegen::createMain(*job, *f, &types, &globs, &vars, &procs, &pros, &packs, &agents, &body); }
	;

dMainBlock[CodeFragment* f]
{
	enterRule("dMainBlock");
	SectionFragment types, globs, vars, procs, pros, packs, agents;
}
	:	#(	DMAIN_BLOCK { setChannelStyle(true); }
			(	SYN { setChannelStyle(true); }
			|	ASYN { setChannelStyle(false); }
			)?
			( typeDeclarationPart[&types] )?
			( globalDeclarationPart[&globs] )?
			( sharedDeclarationPart[&vars] )?
			( procDeclarationPart[&procs] )?
			( prosDeclarationPart[&pros] )?
			( packageDeclarationPart[&packs] )?
			( agentDeclarationPart[&agents] )?
		)
		{ codegen::createDMain(*job, *f, &types, &globs, &vars, &procs, &pros, &packs, &agents); }
	;

// Files its diagnostics under "mainBlock" like the %Prog form.
mMainBlock[CodeFragment* f]
{
	enterRule("mainBlock");
	SectionFragment types, globs, vars;
	CodeFragment body;
}
	:	#(	MMAIN_BLOCK
			( typeDeclarationPart[&types] )?
			( globalDeclarationPart[&globs] )?
			( sharedDeclarationPart[&vars] )?
			proDeclaration[&body, DEF_PROCEDURE]
		)
		{ codegen::createMMain(*job, *f, &types, &globs, &vars, &body); }
	;

// ---------------------------------------------------------------- declaration parts

typeDeclarationPart[SectionFragment* f]
{ enterRule("typeDeclarationPart"); CodeFragment item; }
	:	#(PERCENT_TYPE ( typeDeclaration[&item] { codegen::createTypeSection(*job, *f, &item); } )+ )
	;

globalDeclarationPart[SectionFragment* f]
{ enterRule("globalDeclarationPart"); CodeFragment item; }
	:	#(PERCENT_GLOB ( varDeclaration[&item, DEF_CONSTANT] { codegen::createGlobSection(*job, *f, &item); } )+ )
	;

sharedDeclarationPart[SectionFragment* f]
{ enterRule("sharedDeclarationPart"); CodeFragment item; }
	:	#(PERCENT_VAR ( varDeclaration[&item, DEF_SHARED] { codegen::createVarSection(*job, *f, &item); } )+ )
	;

// The heads of a section come before its bodies, so every name the heads
// declare is known before the first body is walked.
procDeclarationPart[SectionFragment* f]
{ enterRule("procDeclarationPart"); CodeFragment head; CodeFragment item; }
	:	#(	PERCENT_PROC
			( proDeclarationHeader[&head, DEF_PROCEDURE] { codegen::appendProc(*job, *f, &head); } )+
			( proDeclaration[&item, DEF_PROCEDURE] { codegen::createProcSection(*job, *f, &item); } )+
		)
	;

// A process may be declared here without a head of its own.
prosDeclarationPart[SectionFragment* f]
{ enterRule("prosDeclarationPart"); CodeFragment head; CodeFragment item; }
	:	#(	PERCENT_PROS
			( proDeclarationHeader[&head, DEF_PROCESS] { codegen::appendPros(*job, *f, &head); } )*
			( proDeclaration[&item, DEF_PROCESS] { codegen::createProsSection(*job, *f, &item); } )+
		)
	;

packageDeclarationPart[SectionFragment* f]
{ enterRule("packageDeclarationPart"); CodeFragment item; }
	:	#(PERCENT_PACK ( packageDeclaration[&item] { codegen::createPackSection(*job, *f, &item); } )+ )
	;

agentDeclarationPart[SectionFragment* f]
{ enterRule("agentDeclarationPart"); CodeFragment item; }
	:	#(PERCENT_AGT ( agentDeclaration[&item] { codegen::createAgtSection(*job, *f, &item); } )+ )
	;

// ---------------------------------------------------------------- procedures and processes

proDeclaration[CodeFragment* f, int kind]
{
	enterRule("proDeclaration");
	SectionFragment locals, procs;
	AlgorithmicPart body;
	std::string name;
	bool isMain = false;
	Node* found = nullptr;
	ProNode* node = nullptr;
}
	:	{ kind == DEF_PROCEDURE }?
		#(	procedure:PROC_DECL
			(	found = main_probody { isMain = true; name = "$Main"; node = dynamic_cast<ProNode*>(found); }
			|	found = refName[name, REF_PROCEDURE] { node = enterProcedure(found, DEF_PROCEDURE); }
			)
			{ noteNewDecs(node, procedure); }
			( localVariableDeclarationPart[&locals] )?
			( procDeclarationPart[&procs] )?
			algorithmicPart[&body]
		)
		{
			emitFrame(f, node, name, isMain, DEF_PROCEDURE, &locals, &procs, &body);
			leaveProcedure(node, DEF_PROCEDURE);
		}
	|	{ kind == DEF_PROCESS }?
		#(	process:PROS_DECL
			found = refName[name, REF_PROCESS] { node = enterProcedure(found, DEF_PROCESS); noteNewDecs(node, process); }
			( localVariableDeclarationPart[&locals] )?
			( procDeclarationPart[&procs] )?
			algorithmicPart[&body]
		)
		{
			emitFrame(f, node, name, false, DEF_PROCESS, &locals, &procs, &body);
			leaveProcedure(node, DEF_PROCESS);
		}
	;

// ---------------------------------------------------------------- variables and parameters

varDeclaration[CodeFragment* f, int kind]
{
	enterRule("varDeclaration");
	Expression value;
	Type* t = nullptr;
	std::string name;
	Node* node = nullptr;
}
	:	{ kind == DEF_CONSTANT }?
		#(CONST_DECL t = type node = defName[name, DEF_CONSTANT] constant[&value])
		{ declareVariable(f, CONST_DECL, node, name, t, &value); }
	|	{ kind == DEF_SHARED }?
		#(SHARE_DECL t = type node = defName[name, DEF_SHARED])
		{ declareVariable(f, SHARE_DECL, node, name, t, nullptr); }
	|	{ kind == DEF_LOCAL }?
		#(LOCAL_DECL t = type node = defName[name, localKind(t)])
		{ declareVariable(f, LOCAL_DECL, node, name, t, nullptr); }
	;

localVariableDeclarationPart[SectionFragment* f]
{ enterRule("localVariableDeclarationPart"); CodeFragment item; }
	:	#(PERCENT_LOC ( varDeclaration[&item, DEF_LOCAL] { codegen::createLocSection(*job, *f, &item); } )+ )
	;

// The parameters are a run of siblings after the procedure's name.
paramDeclarationPart[SectionFragment* f, ProNode* procedure]
{ enterRule("paramDeclarationPart"); CodeFragment item; }
	:	( paramDeclaration[&item, procedure] { codegen::createParamSection(*job, *f, &item); } )+
	;

paramDeclaration[CodeFragment* f, ProNode* procedure]
{
	enterRule("paramDeclaration");
	Type* t = nullptr;
	std::string name;
	Node* node = nullptr;
}
	:	#(INP_DECL t = type node = defName[name, DEF_VALUE_PARAM])
		{ declareParameter(f, DEF_VALUE_PARAM, node, name, t, procedure); }
	|	#(IOP_DECL t = type node = defName[name, DEF_REF_PARAM])
		{ declareParameter(f, DEF_REF_PARAM, node, name, t, procedure); }
	|	#(CHIN_DECL t = type node = defName[name, DEF_INPUT_CHANNEL])
		{ declareParameter(f, DEF_INPUT_CHANNEL, node, name, t, procedure); }
	|	#(CHOUT_DECL t = type node = defName[name, DEF_OUTPUT_CHANNEL])
		{ declareParameter(f, DEF_OUTPUT_CHANNEL, node, name, t, procedure); }
	;

proDeclarationHeader[CodeFragment* f, int kind]
{
	enterRule("proDeclarationHeader");
	SectionFragment params;
	std::string name;
	Node* node = nullptr;
}
	:	{ kind == DEF_PROCEDURE }?
		#(	PROC_DECL_HEADER node = defName[name, DEF_PROCEDURE]
			( paramDeclarationPart[&params, dynamic_cast<ProNode*>(node)] )?
		)
		{ emitHead(f, dynamic_cast<ProNode*>(node), name, &params, DEF_PROCEDURE); }
	|	{ kind == DEF_PROCESS }?
		#(	PROS_DECL_HEADER node = defName[name, DEF_PROCESS]
			( paramDeclarationPart[&params, dynamic_cast<ProNode*>(node)] )?
		)
		{ emitHead(f, dynamic_cast<ProNode*>(node), name, &params, DEF_PROCESS); }
	;

// ---------------------------------------------------------------- types

type returns [Type* t = nullptr]
{
	enterRule("type");
	std::string name;
	Node* definition = nullptr;
	Type* inner = nullptr;
	std::vector<int> sizes;
	std::unique_ptr<FieldListFragment> fields;
}
	:	definition = refName[name, REF_TYPE] { t = namedType(definition); }
	|	INT { t = job->types().integerType(); }
	|	FLOAT { t = job->types().floatType(); }
	|	STRING { t = job->types().stringType(); }
	|	BOOL { t = job->types().boolType(); }
	|	LOGIC { t = job->types().logicType(); }
	|	NM { t = job->types().nmType(); }
	|	STREAM { t = job->types().streamType(); }
	|	#(POINT inner = type) { t = pointerTo(inner); }
	|	#(u:UNION { fields = std::make_unique<FieldListFragment>(); } fieldDeclarationPart[fields.get()])
		{ placeAt(u); t = recordOf(fields.get(), true); }
	|	#(RECORD { fields = std::make_unique<FieldListFragment>(); } fieldDeclarationPart[fields.get()])
		{ t = recordOf(fields.get(), false); }
	|	#(ARRAY inner = type ( n:INT_LITERAL { sizes.push_back(literalValue(n)); } )+ )
		{ t = arrayOf(inner, sizes); }
	;

// The name is declared before its type is walked, so the type may name it
// (a record holding a pointer to its own type).
typeDeclaration[CodeFragment* f]
{ enterRule("typeDeclaration"); std::string name; Node* node = nullptr; Type* t = nullptr; }
	:	#(TYPE_DECL node = defName[name, DEF_TYPE] t = type)
		{ declareType(f, name, t, node); }
	;

// The fields of a record or union, a run of siblings; each item starts
// without an entry, so a field that failed adds nothing.
fieldDeclarationPart[FieldListFragment* fields]
{ enterRule("fieldDeclarationPart"); FieldFragment item; }
	:	( fieldDeclaration[&item] { addField(fields, item); } )+
	;

fieldDeclaration[FieldFragment* f]
{ enterRule("fieldDeclaration"); Type* t = nullptr; std::string name; }
	:	#(FIELD_DECL t = type id:IDENT { name = id->getText(); })
		{ codegen::createFieldDecl(*job, *f, name, t ? t : job->types().unknownType()); }
	;

// ---------------------------------------------------------------- packages and agents

packageDeclaration[CodeFragment* f]
{
	enterRule("packageDeclaration");
	DerivationFragment bases;
	SectionFragment locals, procs;
	std::string name;
	Node* unit = nullptr;
}
	:	#(	PACK_DECL unit = defName[name, DEF_PACKAGE]
			( fatherDeclarationPart[&bases, unit] )?
			{ setFathers(unit, bases); }
			( unitTypePart[name] )?
			( localVariableDeclarationPart[&locals] )?
			( procDeclarationPart[&procs] )?
		)
		{
			codegen::createPackClass(*job, *f, name, &bases, &locals, &procs);
			leaveUnit(unit, DEF_PACKAGE);
		}
	;

agentDeclaration[CodeFragment* f]
{
	enterRule("agentDeclaration");
	DerivationFragment bases;
	SectionFragment locals, procs;
	CodeFragment head, body;
	std::string name;
	Node* unit = nullptr;
}
	:	#(	AGENT_DECL unit = defName[name, DEF_AGENT]
			( fatherDeclarationPart[&bases, unit] )?
			{ setFathers(unit, bases); }
			( unitTypePart[name] )?
			( localVariableDeclarationPart[&locals] )?
			( procDeclarationPart[&procs] )?
			proDeclarationHeader[&head, DEF_PROCESS]
			proDeclaration[&body, DEF_PROCESS]
		)
		{
			codegen::createAgentClass(*job, *f, name, &bases, &locals, &procs, &head, &body);
			leaveUnit(unit, DEF_AGENT);
		}
	;

// Types are declared for the whole program only: a type part inside a
// package or an agent is reported once, at its place, and left out.
unitTypePart[const std::string& unit]
{ enterRule("unitTypePart"); }
	:	PERCENT_TYPE
		{
			QUVException diagnostic(*job);
			diagnostic.makeUnsupported("The %Type part of " + unit +
				" is not supported: a package or an agent cannot declare types; declare them in the %Type part of the program");
		}
	;

// The fathers are resolved inside the unit's block: each must be a package or
// agent walked before it.
fatherDeclarationPart[DerivationFragment* bases, Node* unit]
{ enterRule("fatherDeclarationPart"); std::string name; Node* father = nullptr; }
	:	#(PERCENT_FATHER ( father = declFather[name] { addFather(bases, name, father, unit); } )+ )
	;

declFather[std::string& name] returns [Node* node = nullptr]
{ enterRule("declFather"); }
	:	id:IDENT
		{
			name = id->getText();
			node = resolveName(id, name, REF_PACKAGE);
		}
	;

// ---------------------------------------------------------------- algorithmic parts

// The walk of the statements or elements ends silently at the first child of
// another kind.
algorithmicPart[AlgorithmicPart* f]
{
	enterRule("algorithmicPart");
	Nesting nesting(nestDepth, _t && _t->getType() == PERCENT_ALG);
	std::vector<std::unique_ptr<Statement>> statements;
	std::vector<std::unique_ptr<ConditionalElement>> elements;
	std::unique_ptr<Statement> s;
	std::unique_ptr<ConditionalElement> e;
}
	:	#(PERCENT_STM ( s = statement { addBuilt(statements, std::move(s)); } )+ )
		{ codegen::createStm(*job, *f, itemsOf(statements)); }
	|	#(PERCENT_ALG ( e = conditionalElement { addBuilt(elements, std::move(e)); } )+ )
		{ codegen::createAlg(*job, *f, itemsOf(elements)); }
	;

conditionalElement returns [std::unique_ptr<ConditionalElement> result]
{
	enterRule("conditionalElement");
	std::string label;
	std::unique_ptr<OperatorExpression> c;
	std::unique_ptr<Statement> a;
	bool guarded = false;
}
	:	#(IMPLY labelDeclaration[label] ( c = condition { guarded = true; } )? a = actionPart)
		{ result = elementOf(label, c, guarded, a.get()); }
	;

condition returns [std::unique_ptr<OperatorExpression> e]
{ enterRule("condition"); }
	:	e = typedExpression[8]
	;

// ---------------------------------------------------------------- statements

statement returns [std::unique_ptr<Statement> result]
{
	enterRule("statement");
	Nesting nesting(nestDepth, _t && _t->getType() != ATOM_STAT);
	std::string label;
	std::unique_ptr<OperatorExpression> c, until;
	std::unique_ptr<Statement> a, otherwise, s;
	std::unique_ptr<CaseCondition> k;
	std::unique_ptr<AssignmentEquation> q;
	std::vector<std::unique_ptr<Statement>> statements;
	std::vector<std::unique_ptr<AssignmentEquation>> equations;
	bool guarded = false;
}
	:	#(ATOM_STAT labelDeclaration[label] a = actionPart)
		{ result = atomicStatement(label, a.get()); }
	|	#(IF_STAT labelDeclaration[label] ( c = condition { guarded = true; } )? a = actionPart
			( otherwise = actionPart )?
		)
		{ result = ifStatement(label, c, guarded, a.get(), otherwise.get()); }
	|	#(CASE_STAT labelDeclaration[label] k = caseCondition ( s = statement { addBuilt(statements, std::move(s)); } )+ )
		{ result = caseStatement(label, k.get(), statements); }
	|	#(LOOP_STAT labelDeclaration[label] ( c = condition { guarded = true; } )?
			( s = statement { addBuilt(statements, std::move(s)); } )+
		)
		{ result = loopStatement(label, c, guarded, statements); }
	// The condition part after the label guards the whole wait.
	|	#(WAIT_STAT labelDeclaration[label]
			(	options { generateAmbigWarnings = false; }
			:	{ startsWaitGuard(_t) }? c = condition { guarded = true; }
			)?
			( q = assignmentEquation { addBuilt(equations, std::move(q)); } )*
			DOLLA_U until = condition
		)
		{ result = waitStatement(label, equations, until.get(), c, guarded); }
	|	#(SEQ_STAT ( s = statement { addBuilt(statements, std::move(s)); } )+ )
		{ result = sequenceStatement(statements); }
	;

caseCondition returns [std::unique_ptr<CaseCondition> result]
{
	enterRule("caseCondition");
	std::vector<std::unique_ptr<GotoCondition>> gotos;
	std::unique_ptr<GotoCondition> g;
	std::string fallback;
}
	:	#(DEFAULT ( g = gotoCondition { addBuilt(gotos, std::move(g)); } )+ labelRef[fallback])
		{ result = codegen::createCaseCondition(*job, std::move(gotos), fallback); }
	;

gotoCondition returns [std::unique_ptr<GotoCondition> result]
{ enterRule("gotoCondition"); std::unique_ptr<OperatorExpression> c; std::string target; }
	:	#(IMPLY c = condition labelRef[target])
		{ result = gotoConditionOf(c, target); }
	;

// Keeps the rule name of its caller; the name is neither resolved nor checked.
labelRef[std::string& label]
	:	id:IDENT { label = id->getText(); }
	;

// ---------------------------------------------------------------- action parts

actionPart returns [std::unique_ptr<Statement> result]
{
	enterRule("actionPart");
	std::unique_ptr<ProcCall> call;
	std::unique_ptr<Statement> g;
	std::unique_ptr<AssignmentEquation> q;
	std::vector<std::unique_ptr<Statement>> alternatives;
	std::vector<std::unique_ptr<AssignmentEquation>> equations;
	std::vector<std::unique_ptr<ProcessStart>> starts;
	std::unique_ptr<ProcessStart> start;
	std::string forward;
}
	:	call = procCall { result = callAction(call.get()); }
	|	#(PARALLEL ( start = prosCall { addBuilt(starts, std::move(start)); } )+ )
		{ result = parallelOf(starts); }
	|	#(SELECT ( g = conAct { addBuilt(alternatives, std::move(g)); } )+ )
		{ result = selectOf(alternatives); }
	|	#(ActionItem ( q = assignmentEquation { addBuilt(equations, std::move(q)); } )* ( forwardLabel[forward] )? )
		{ result = actionItem(equations, forward); }
	;

conAct returns [std::unique_ptr<Statement> result]
{ enterRule("conAct"); std::unique_ptr<OperatorExpression> c; std::unique_ptr<Statement> a; }
	:	#(XOR c = condition a = actionPart)
		{ result = guardedAlternative(c, a.get()); }
	;

forwardLabel[std::string& label]
{ enterRule("forwardLabel"); }
	:	labelRef[label]
	|	STOP { label = "stop"; }
	|	NEXT { label = "next"; }
	|	RETURN { label = "return"; }
	|	EXIT { label = "exit"; }
	;

// A user call or a built-in; the call fragment is made only once its
// emitter can run with every operand it needs.
procCall returns [std::unique_ptr<ProcCall> f]
{
	enterRule("procCall");
	std::string name;
	Node* procedure = nullptr;
	Node* file = nullptr;
	std::unique_ptr<ActualParam> actual;
	std::vector<std::unique_ptr<ActualParam>> actuals;
	std::unique_ptr<OperatorExpression> x, item;
	std::vector<std::unique_ptr<OperatorExpression>> items;
	Expression* v = nullptr;
	std::vector<Expression*> targets;
}
	:	#(ProCall procedure = refName[name, REF_PROCEDURE] ( actual = actualFormalPair { addBuilt(actuals, std::move(actual)); } )* )
		{ f = userCall(procedure, actuals); }
	|	#(FOPEN file = refName[name, REF_FILE] x = typedExpression[4])
		{ f = fileCall(file, x.get(), &codegen::createFopen); }
	|	#(FCLOSE file = refName[name, REF_FILE])
		{ f = closeCall(file); }
	|	#(FEOF file = refName[name, REF_FILE] v = typedVariable[8])
		{ f = fileCall(file, v, &codegen::createFeof); }
	|	#(QUVEOF file = refName[name, REF_FILE] x = typedExpression[4])
		{ f = fileCall(file, x.get(), &codegen::createQuvEof); }
	|	#(FREAD file = refName[name, REF_FILE] ( v = variable { checkStoredType(v, 15, "Fread"); addReadItem(targets, v); } )+ )
		{ f = readCall(file, true, targets); }
	|	#(READ ( v = variable { checkStoredType(v, 15, "Read"); addReadItem(targets, v); } )+ )
		{ f = readCall(nullptr, false, targets); }
	|	#(FWRITE file = refName[name, REF_FILE] ( item = typedExpression[15] { addBuilt(items, std::move(item)); } )+ )
		{ f = fileWriteCall(file, items, &codegen::createFwrite); }
	|	#(WRITE ( item = typedExpression[15] { addBuilt(items, std::move(item)); } )+ )
		{ f = writeCall(items, &codegen::createWrite); }
	|	#(FWRITELN file = refName[name, REF_FILE] ( item = typedExpression[15] { addBuilt(items, std::move(item)); } )+ )
		{ f = fileWriteCall(file, items, &codegen::createFwriteln); }
	|	#(WRITELN ( item = typedExpression[15] { addBuilt(items, std::move(item)); } )+ )
		{ f = writeCall(items, &codegen::createWriteln); }
	|	#(GETC file = refName[name, REF_FILE] v = variable { checkStoredType(v, 15, "Getc"); })
		{ f = fileCall(file, v, &codegen::createGetc); }
	|	#(GETCHAR v = variable { checkStoredType(v, 15, "Getchar"); })
		{ f = operandCall(v, &codegen::createGetchar); }
	|	#(UNGETC file = refName[name, REF_FILE] v = variable { checkStoredType(v, 4, "UnGetc"); })
		{ f = fileCall(file, v, &codegen::createUnGetc); }
	|	#(UNGETCHAR v = variable { checkStoredType(v, 4, "UnGetChar"); })
		{ f = operandCall(v, &codegen::createUnGetChar); }
	|	#(ITOC x = typedExpression[1] v = variable { checkStoredType(v, 4, "Itoc"); })
		{ f = pairCall(x.get(), v, &codegen::createItoc); }
	|	#(STRLEN v = variable { checkStoredType(v, 15, "Strlen"); } x = typedExpression[4])
		{ f = pairCall(v, x.get(), &codegen::createStrlen); }
	;

// One process of a parallel statement: an optional timer interval, the
// control variable naming the instance, and the actuals.
prosCall returns [std::unique_ptr<ProcessStart> result]
{
	enterRule("prosCall");
	std::string name;
	Node* control = nullptr;
	int interval = 0;
	std::unique_ptr<ActualParam> actual;
	std::vector<std::unique_ptr<ActualParam>> actuals;
}
	:	#(	ProCall
			( t:INT_LITERAL { interval = literalValue(t); } )?
			control = refName[name, REF_CONTROL] { noteControlStart(control, name); }
			( actual = actualFormalPair { checkPairs(actual.get(), actuals); addBuilt(actuals, std::move(actual)); } )*
		)
		{ result = processStart(control, actuals, interval); }
	;

// A value, a reference or a channel actual with the formal it is for. The
// two channel forms differ in where the star stands: before the peer for an
// input channel, after it for an output channel.
actualFormalPair returns [std::unique_ptr<ActualParam> result]
{
	enterRule("actualFormalPair");
	std::unique_ptr<OperatorExpression> e;
	Expression* v = nullptr;
	Node* peer = nullptr;
	std::string formal, channel, name;
	bool input = false;
}
	:	#(PERCENT_INP e = expression f1:IDENT { formal = f1->getText(); })
		{ result = inParam(e.get(), formal); }
	|	#(PERCENT_IOP v = variable f2:IDENT { formal = f2->getText(); })
		{ result = ioParam(v, formal); }
	|	#(	PERCENT_CHN c:IDENT { channel = c->getText(); }
			(	STAR peer = refName[name, REF_CONTROL] { input = true; }
			|	peer = refName[name, REF_CONTROL] STAR
			)
			f3:IDENT { formal = f3->getText(); }
		)
		{ result = channelParam(channel, peer, formal, input); }
	;

// ---------------------------------------------------------------- assignment equations

assignmentEquation returns [std::unique_ptr<AssignmentEquation> q]
{
	enterRule("assignmentEquation");
	Expression* target = nullptr;
	std::unique_ptr<OperatorExpression> value;
	Node* node = nullptr;
	Node* processNode = nullptr;
	Type* t = nullptr;
	std::string name, process;
	std::vector<std::unique_ptr<AssignmentEquation>> parts;
}
	:	#(ASSIGN target = variable value = expression)
		{ q = assignEquation(target, value.get()); }
	|	#(NEWDEC node = defName[name, DEF_LOCAL] t = type)
		{ q = newDeclaration(node, t); }
	|	#(QUESTION node = refName[name, REF_INPUT_CHANNEL] target = variable)
		{ q = receiveEquation(node, target); }
	|	#(EXCLAMATION node = refName[name, REF_OUTPUT_CHANNEL] value = expression)
		{ q = sendEquation(node, value.get()); }
	|	#(EQUAL node = refName[name, REF_CONTROL] processNode = refName[process, REF_PROCESS])
		{ q = startEquation(node, process); bindControl(node, processNode, process); }
	|	#(DELETE node = refName[name, REF_CONTROL])
		{ q = deleteEquation(node); }
	|	#(SEQ assignmentEquationList[parts])
		{ q = sequenceEquation(parts); }
	;

// SEMI nodes join the equations of a sequence pairwise, in any shape; the
// list gets them from left to right.
assignmentEquationList[std::vector<std::unique_ptr<AssignmentEquation>>& list]
{
	enterRule("assignmentEquationList");
	std::vector<std::unique_ptr<AssignmentEquation>> first, second;
	std::unique_ptr<AssignmentEquation> q;
}
	:	#(SEMI assignmentEquationList[first] assignmentEquationList[second])
		{ appendBuilt(list, first); appendBuilt(list, second); }
	|	q = assignmentEquation { addBuilt(list, std::move(q)); }
	;

typedExpression[int mask] returns [std::unique_ptr<OperatorExpression> e]
{ enterRule("typedExpression"); }
	:	e = expression { checkRequiredType(e.get(), mask); }
	;

// ---------------------------------------------------------------- variables

// A plain name gives its node's own access record, pointed at the frame that
// holds it from the block being walked; every other form a new record.
variable returns [Expression* v = nullptr]
{
	enterRule("variable");
	Expression* inner = nullptr;
	std::unique_ptr<OperatorExpression> index;
	std::string member, name;
	Node* node = nullptr;
}
	:	#(DOT_VAR inner = variable memberName[member])
		{ if (inner) v = keepAccess(codegen::createField(*job, *inner, member)); }
	|	#(ARROW_VAR inner = variable memberName[member])
		{ if (inner) v = keepAccess(codegen::createPtrField(*job, *inner, member)); }
	|	#(BRACKETS inner = variable index = typedExpression[1])
		{ if (inner) v = keepAccess(codegen::createIndex(*job, *inner, index.get())); }
	|	#(PARENS inner = variable)
		{ if (inner) v = keepAccess(codegen::createParen(*job, *inner)); }
	|	#(STAR inner = variable)
		{ if (inner) v = keepAccess(codegen::createDereference(*job, *inner)); }
	|	node = refName[name, REF_VARIABLE]
		{ v = variableAccess(node); }
	;

// Keeps the rule name of its caller.
memberName[std::string& member]
	:	id:IDENT { member = id->getText(); }
	;

typedVariable[int mask] returns [Expression* v = nullptr]
{ enterRule("typedVariable"); }
	:	v = variable { checkVariableType(v, mask); }
	;

// ---------------------------------------------------------------- expressions

// Each operator's emitter types it and reports a mismatch itself. An operand
// that failed stands as an empty operand of the unknown type.
expression returns [std::unique_ptr<OperatorExpression> e]
{
	enterRule("expression");
	std::unique_ptr<OperatorExpression> l, r, c;
	Expression* v = nullptr;
	Expression k;
	Node* channel = nullptr;
	std::unique_ptr<ProcCall> call;
	std::string name;
	bool second = false;
}
	:	#(ASSIGN l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createEq); }
	|	#(LT_ l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createLt); }
	|	#(LTE l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createLe); }
	|	#(GT l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createGt); }
	|	#(GTE l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createGe); }
	|	#(NE l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createNe); }
	|	#(DOLLA_V l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createOr); }
	|	#(DOLLA_C l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createAnd); }
	|	#(PLUS l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createAdd); }
	|	#(	MINUS { if (_t && _t != ASTNULL && _t->getType() == INT_LITERAL && !_t->getNextSibling()) negatedLiteral = _t.get(); }
			l = expression ( r = expression { second = true; } )?
		)
		{ e = second ? binary(l.get(), r.get(), &codegen::createSub) : codegen::createNeg(*job, *operand(l.get())); }
	|	#(MULTI l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createMul); }
	|	#(DIV l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createDiv); }
	|	#(MOD l = expression r = expression) { e = binary(l.get(), r.get(), &codegen::createMod); }
	|	#(LNOT l = expression) { e = codegen::createLogicalNot(*job, *operand(l.get())); }
	|	#(IF c = condition l = expression r = expression)
		{ e = codegen::createIfThenElse(*job, *operand(c.get()), l.get(), r.get()); }
	|	#(EXCLAMATION channel = refName[name, REF_OUTPUT_CHANNEL] ( l = expression { second = true; } )? )
		{ e = canSend(channel, l.get(), second); }
	|	#(QUESTION channel = refName[name, REF_INPUT_CHANNEL] ( v = variable { second = true; } )? )
		{ e = canReceive(channel, v, second); }
	|	#(BAND v = variable) { if (v) e = addressOf(v); }
	// The value is taken after the call has run.
	|	#(COLON l = expression call = procCall) { e = valueCall(l.get(), call.get()); }
	|	constant1[&k] { e = codegen::fromConstant(*job, &k); }
	// The trial stays a syntactic predicate, which has every action of the
	// walker guarded against guessing; the remembered trial decides it.
	|	( { parensHoldExpression(_t) }? PARENS )=> #(PARENS l = expression)
		{ e = codegen::createParenExpr(*job, *operand(l.get())); }
	|	v = variable { if (v) e = codegen::fromVariable(*job, v); }
	;

// ---------------------------------------------------------------- names, labels and constants

// Keeps the rule name of its caller.
refName[std::string& name, int refKind] returns [Node* node = nullptr]
	:	id:IDENT
		{
			node = resolveName(id, id->getText(), refKind);
			name = id->getText();
			if (refKind == REF_PROCESS)
				CodeNames::threadDeclarations(*job, name, node ? 1 : 0);
		}
	;

labelDeclaration[std::string& label]
{ enterRule("labelDeclaration"); }
	:	#(LABEL_DECL labelName[label])
	;

// Keeps the rule name of its caller.
labelName[std::string& label]
	:	id:IDENT { label = id->getText(); }
	;

// The sign of a negative literal goes to the C++ text; the literal keeps its own text.
constant[Expression* value]
{ enterRule("constant"); }
	:	constant1[value]
	|	#(MINUS
			(	i:INT_LITERAL { integerLiteral(i, true); codegen::createConstant(*job, *value, 7, i->getText()); }
			|	r:FLOAT_LITERAL { codegen::createConstant(*job, *value, 8, r->getText()); }
			)
		)
	;

constant1[Expression* value]
{ enterRule("constant1"); }
	:	i:INT_LITERAL
		{
			integerLiteral(i, i.get() == negatedLiteral);
			negatedLiteral = nullptr;
			codegen::createConstant(*job, *value, 0, i->getText());
		}
	|	r:FLOAT_LITERAL { codegen::createConstant(*job, *value, 1, r->getText()); }
	|	s:STRING_LITERAL { codegen::createConstant(*job, *value, 2, s->getText()); }
	|	DOUBLE_T { codegen::createConstant(*job, *value, 3, ""); }
	|	DOUBLE_F { codegen::createConstant(*job, *value, 4, ""); }
	|	DOLLA_T { codegen::createConstant(*job, *value, 5, ""); }
	|	DOLLA_F { codegen::createConstant(*job, *value, 6, ""); }
	;

// The main body is the procedure "$Main" of the program's block.
main_probody returns [Node* node = nullptr]
{ enterRule("main_probody"); }
	:	m:MAIN_PROBODY { node = declareName(m, "$Main", DEF_PROCEDURE); }
	;
