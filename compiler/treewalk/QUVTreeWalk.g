// The QUV/E tree walker: walks the parser's tree of one source file, declares
// and resolves its names in the symbol table and has the code generator build
// the four texts of every construct, then the five output files.
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
// Rules marked INTERIM skip their subtree until their construct is translated.

header "post_include_hpp" {
#include <memory>
#include <string>
#include "compiler/core/core.hpp"
#include "compiler/codegen/codegen.hpp"
#include "compiler/parser/stack_guard.hpp"
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
	// One diagnostic per recognition error, kind and number by its exact class.
	void reportError(const ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex) override;
	using ANTLR_USE_NAMESPACE(antlr)TreeParser::reportError;

	// Every rule entry passes here: a tree nested so deeply that the walk would
	// run out of stack ends the walk with one diagnostic, not a crash.
	void traceIn(const char* rule, ANTLR_USE_NAMESPACE(antlr)RefAST node) override;
	void traceOut(const char*, ANTLR_USE_NAMESPACE(antlr)RefAST) override {}

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

	// Helpers beside the grammar (walk_actions.cpp).
	void enterRule(const char* name);
	void startProgram(TopFragment* top);
	void finishProgram(TopFragment* top, const std::string& name, int kind, Node* program,
		CodeFragment* mainFragment, const std::string& cppName, const std::string& protoName,
		const std::string& innerName, const std::string& errName, const std::string& typesetName);
	void setChannelStyle(bool synchronous);
	Node* declareName(ANTLR_USE_NAMESPACE(antlr)RefAST id, const std::string& name, int defKind);
	Node* resolveName(ANTLR_USE_NAMESPACE(antlr)RefAST id, const std::string& name, int refKind);
	ProNode* enterProcedure(Node* node, int kind);
	void leaveProcedure(ProNode* node, int kind);
	void emitFrame(CodeFragment* f, ProNode* node, const std::string& name, bool isMain, int kind,
		SectionFragment* locals, SectionFragment* procs, CodeFragment* body);
	void emitHead(CodeFragment* f, ProNode* node, const std::string& name, SectionFragment* params, int kind);
	Type* namedType(Node* definition);
	static int localKind(const Type* t);
	void declareVariable(CodeFragment* f, int declaration, Node* node, const std::string& name,
		Type* t, const Expression* value);
	void declareParameter(CodeFragment* f, int defKind, Node* node, const std::string& name,
		Type* t, ProNode* procedure);
}

// ---------------------------------------------------------------- program frame

program[TopFragment* top, std::string cppName, std::string protoName, std::string innerName,
		std::string errName, std::string typesetName]
{
	enterRule("program");
	startProgram(top);
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
			finishProgram(top, name, kind, unit, &mainFragment,
				cppName, protoName, innerName, errName, typesetName);
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
		{ f->createMain(&types, &globs, &vars, &procs, &pros, &packs, &agents, &body); }
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
		{ f->createDMain(&types, &globs, &vars, &procs, &pros, &packs, &agents); }
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
		{ f->createMMain(&types, &globs, &vars, &body); }
	;

// ---------------------------------------------------------------- declaration parts

typeDeclarationPart[SectionFragment* f]
{ enterRule("typeDeclarationPart"); CodeFragment item; }
	:	#(PERCENT_TYPE ( typeDeclaration[&item] { f->createTypeSection(&item); } )+ )
	;

globalDeclarationPart[SectionFragment* f]
{ enterRule("globalDeclarationPart"); CodeFragment item; }
	:	#(PERCENT_GLOB ( varDeclaration[&item, DEF_CONSTANT] { f->createGlobSection(&item); } )+ )
	;

sharedDeclarationPart[SectionFragment* f]
{ enterRule("sharedDeclarationPart"); CodeFragment item; }
	:	#(PERCENT_VAR ( varDeclaration[&item, DEF_SHARED] { f->createVarSection(&item); } )+ )
	;

// The heads of a section come before its bodies, so every name the heads
// declare is known before the first body is walked.
procDeclarationPart[SectionFragment* f]
{ enterRule("procDeclarationPart"); CodeFragment head; CodeFragment item; }
	:	#(	PERCENT_PROC
			( proDeclarationHeader[&head, DEF_PROCEDURE] { f->appendProc(&head); } )+
			( proDeclaration[&item, DEF_PROCEDURE] { f->createProcSection(&item); } )+
		)
	;

// A process may be declared here without a head of its own.
prosDeclarationPart[SectionFragment* f]
{ enterRule("prosDeclarationPart"); CodeFragment head; CodeFragment item; }
	:	#(	PERCENT_PROS
			( proDeclarationHeader[&head, DEF_PROCESS] { f->appendPros(&head); } )*
			( proDeclaration[&item, DEF_PROCESS] { f->createProsSection(&item); } )+
		)
	;

packageDeclarationPart[SectionFragment* f]
{ enterRule("packageDeclarationPart"); CodeFragment item; }
	:	#(PERCENT_PACK ( packageDeclaration[&item] { f->createPackSection(&item); } )+ )
	;

agentDeclarationPart[SectionFragment* f]
{ enterRule("agentDeclarationPart"); CodeFragment item; }
	:	#(PERCENT_AGT ( agentDeclaration[&item] { f->createAgtSection(&item); } )+ )
	;

// ---------------------------------------------------------------- procedures and processes

proDeclaration[CodeFragment* f, int kind]
{
	enterRule("proDeclaration");
	SectionFragment locals, procs;
	CodeFragment body;
	std::string name;
	bool isMain = false;
	Node* found = nullptr;
	ProNode* node = nullptr;
}
	:	{ kind == DEF_PROCEDURE }?
		#(	PROC_DECL
			(	found = main_probody { isMain = true; name = "$Main"; node = dynamic_cast<ProNode*>(found); }
			|	found = refName[name, REF_PROCEDURE] { node = enterProcedure(found, DEF_PROCEDURE); }
			)
			( localVariableDeclarationPart[&locals] )?
			( procDeclarationPart[&procs] )?
			algorithmicPart[&body]
		)
		{
			emitFrame(f, node, name, isMain, DEF_PROCEDURE, &locals, &procs, &body);
			leaveProcedure(node, DEF_PROCEDURE);
		}
	|	{ kind == DEF_PROCESS }?
		#(	PROS_DECL
			found = refName[name, REF_PROCESS] { node = enterProcedure(found, DEF_PROCESS); }
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
	:	#(PERCENT_LOC ( varDeclaration[&item, DEF_LOCAL] { f->createLocSection(&item); } )+ )
	;

// The parameters are a run of siblings after the procedure's name.
paramDeclarationPart[SectionFragment* f, ProNode* procedure]
{ enterRule("paramDeclarationPart"); CodeFragment item; }
	:	( paramDeclaration[&item, procedure] { f->createParamSection(&item); } )+
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

// Basic and named types. INTERIM: pointer, union, record and array types are
// skipped and give the unknown type until type declarations are translated.
type returns [Type* t = nullptr]
{ enterRule("type"); std::string name; Node* definition = nullptr; }
	:	definition = refName[name, REF_TYPE] { t = namedType(definition); }
	|	INT { t = Type::integerType; }
	|	FLOAT { t = Type::floatType; }
	|	STRING { t = Type::stringType; }
	|	BOOL { t = Type::boolType; }
	|	LOGIC { t = Type::logicType; }
	|	NM { t = Type::nmType; }
	|	STREAM { t = Type::streamType; }
	|	POINT { t = Type::unknownType; }
	|	UNION { t = Type::unknownType; }
	|	RECORD { t = Type::unknownType; }
	|	ARRAY { t = Type::unknownType; }
	;

// INTERIM: type declarations are skipped; the section still counts them.
typeDeclaration[CodeFragment* f]
{ enterRule("typeDeclaration"); }
	:	TYPE_DECL
	;

// INTERIM: packages are skipped; the section still counts them.
packageDeclaration[CodeFragment* f]
{ enterRule("packageDeclaration"); }
	:	PACK_DECL
	;

// INTERIM: agents are skipped; the section still counts them.
agentDeclaration[CodeFragment* f]
{ enterRule("agentDeclaration"); }
	:	AGENT_DECL
	;

// INTERIM: the algorithmic part is skipped and leaves the body empty.
algorithmicPart[CodeFragment* f]
{ enterRule("algorithmicPart"); }
	:	PERCENT_ALG
	|	PERCENT_STM
	;

// ---------------------------------------------------------------- names, labels and constants

// Keeps the rule name of its caller.
refName[std::string& name, int refKind] returns [Node* node = nullptr]
	:	id:IDENT
		{
			node = resolveName(id, id->getText(), refKind);
			name = id->getText();
			if (refKind == REF_PROCESS)
				CodeNames::threadDeclarations(name, node ? 1 : 0);
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
			(	i:INT_LITERAL { Constant::newConstant(value, 7, i->getText()); }
			|	r:FLOAT_LITERAL { Constant::newConstant(value, 8, r->getText()); }
			)
		)
	;

constant1[Expression* value]
{ enterRule("constant1"); }
	:	i:INT_LITERAL { Constant::newConstant(value, 0, i->getText()); }
	|	r:FLOAT_LITERAL { Constant::newConstant(value, 1, r->getText()); }
	|	s:STRING_LITERAL { Constant::newConstant(value, 2, s->getText()); }
	|	DOUBLE_T { Constant::newConstant(value, 3, ""); }
	|	DOUBLE_F { Constant::newConstant(value, 4, ""); }
	|	DOLLA_T { Constant::newConstant(value, 5, ""); }
	|	DOLLA_F { Constant::newConstant(value, 6, ""); }
	;

// The main body is the procedure "$Main" of the program's block.
main_probody returns [Node* node = nullptr]
{ enterRule("main_probody"); }
	:	m:MAIN_PROBODY { node = declareName(m, "$Main", DEF_PROCEDURE); }
	;
