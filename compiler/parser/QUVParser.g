// The QUV/E parser: program frame, declarations, designators, expressions and calls.
//
// Recovery: every named rule stores its name in ruleName from its init action (so
// it is stored while guessing too) and uses the generated default handler: report,
// consume one token, skip to the rule's FOLLOW set. While guessing, every handler
// (the generated ones and those written here) throws the error on to the trial. Those sets are the ones ANTLR
// computes from the whole grammar, so the rules here are written in the shape that
// gives them; never list a set by hand. One-token rules only report (reportError),
// consuming nothing, so the caller meets the same token again.
//
// Statement rules return a termination kind; the label checks and the
// typesetting pass live in small source files beside this grammar.

header "post_include_hpp" {
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>
#include "compiler/core/core.hpp"
#include "compiler/parser/label_record.hpp"
#include "compiler/parser/stack_guard.hpp"
#include "compiler/parser/token_window.hpp"
#include "compiler/parser/trial_memo.hpp"
#include "compiler/parser/typesetting.hpp"
}

options {
	language = "Cpp";
}

class QUVParser extends Parser;
options {
	k = 1;
	importVocab = QUV;
	buildAST = true;
	ASTLabelType = "RefQUV_AST";
	defaultErrorHandler = true;
}

{
public:
	// Files one diagnostic per recognition error (kind and number by its class).
	void reportError(const ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex) override;
	using ANTLR_USE_NAMESPACE(antlr)Parser::reportError;

	// A deep copy of one subtree (not its siblings) that keeps every node's place.
	RefQUV_AST copySubtree(RefQUV_AST source);
	// Whether a condition's tree is also the tree of an equation: an equality,
	// or a channel test with a target or a value.
	static bool readsAsEquation(RefQUV_AST condition);
	void copyTreePositions(RefQUV_AST copy, RefQUV_AST source);
	// One declaration node per name, each holding its own copies of type and name.
	RefQUV_AST expandDeclarations(RefQUV_AST names, RefQUV_AST type, int nodeType,
		const char* nodeText, int line, int column);
	// Nodes the declaration lists of this parse have copied so far: nested lists
	// (record(a, b : record(a, b : ...))) double the tree with every level, so a
	// parse that copies more than a fixed allowance plus a few nodes per token
	// read is refused: real programs stay far below it at any size.
	size_t copiedDeclarationNodes = 0;
	static constexpr size_t declarationCopyAllowance = 50000;
	static constexpr size_t declarationCopiesPerToken = 8;

	// Name of the rule entered last; never restored on return, so an error is
	// filed under the innermost named rule that ran before it. Every name is a
	// string literal, so storing one at each rule entry copies no text.
	const char* ruleName = "";
	// Label state of the algorithmic parts, reset by each of them.
	std::vector<LabelRecord> declaredLabels;
	// Where each name of declaredLabels stands in it, for lookups in constant time.
	std::unordered_map<std::string, size_t> declaredLabelIndex;
	std::vector<LabelRecord> forwardLabels;
	std::string expectedLb;
	int expectedLbLine = -1;
	int expectedLbColumn = -1;
	int labelMode = 0;
	bool collectExitLabel = false;
	std::vector<std::string> exitLabelNames;

	// Every rule entry passes here: a source nested so deeply that the parse
	// would run out of stack ends the parse with one diagnostic, not a crash;
	// a job asked to stop ends here too.
	void traceIn(const char* rule) override final
	{
		if (stackGuard.exhausted()) refuseNestingAt(rule);
		if (job && job->stopRequested()) throw JobStopped();
	}
	void traceOut(const char*) override {}
	// The generated rules enter through this Tracer, not the runtime's: it
	// calls the guard above directly, and on the way out does nothing (the
	// runtime's asks for uncaught exceptions and calls traceOut).
	class Tracer {
	public:
		Tracer(QUVParser* parser, const char* rule) { parser->traceIn(rule); }
		Tracer(const Tracer&) = delete;
		Tracer& operator=(const Tracer&) = delete;
	};

	// Every node factory the parser is given learns every token type the lexer
	// makes, so a token the grammar never expects still becomes a node.
	void setASTFactory(ANTLR_USE_NAMESPACE(antlr)ASTFactory* factory) override;

	// Lookahead through the parser's token window, without the runtime's queue.
	int LA(unsigned int i) override final { return tokenWindow.LA(i); }
	ANTLR_USE_NAMESPACE(antlr)RefToken LT(unsigned int i) override final { return tokenWindow.LT(i); }

	// The parser counts the tokens it consumes, so a trial knows where it stands
	// (trial_memo.cpp); mark and rewind keep the count across a trial.
	void consume() override final;
	unsigned int mark() override final;
	void rewind(unsigned int pos) override final;
	long tokenPosition() const { return consumedCount; }

	// Remembers, while guessing, the outcome of a rule at a token position: the
	// init action of a remembered rule calls replayTrial first and, when it
	// returns false, makes a TrialRecord that files the outcome on the way out.
	class TrialRecord {
	public:
		TrialRecord(QUVParser& parser, TrialMemo::Rule rule);
		~TrialRecord();
		TrialRecord(const TrialRecord&) = delete;
		TrialRecord& operator=(const TrialRecord&) = delete;
	private:
		QUVParser& parser;
		TrialMemo::Rule rule;
		long start;
		int exceptions;
	};
	bool replayTrial(TrialMemo::Rule rule);

	// The outcomes that the index trials of the typesetting pass share: a
	// trial parser may also consult `shared`, whose positions are those of the
	// pass's own token stream, `base` more than its own, while the tokens it
	// has been handed so far (*cleanTokens of them) carried no layout token.
	void shareTrials(const TrialMemo* shared, long base, const long* cleanTokens)
	{
		sharedTrials = shared;
		sharedBase = base;
		sharedCleanTokens = cleanTokens;
	}
	const TrialMemo& trialOutcomes() const { return trialMemo; }

private:
	// Files the nesting diagnostic at LT(1) under `rule` and ends the parse.
	[[noreturn]] void refuseNestingAt(const char* rule);

	TokenWindow tokenWindow{inputState->getInput()};
	StackGuard stackGuard;
	long consumedCount = 0;
	std::vector<long> markedPositions;
	TrialMemo trialMemo;
	const TrialMemo* sharedTrials = nullptr;
	long sharedBase = 0;
	const long* sharedCleanTokens = nullptr;
	// The state of the typesetting pass while typesetProgram runs.
	TypesettingPass* typesetting = nullptr;
public:
	// The job whose diagnostics the parser files; set before it parses.
	JobState* job = nullptr;
private:
	// The last header appended to each section's holder (declaration_trees.cpp).
	std::unordered_map<const QUV_AST*, std::pair<RefQUV_AST, RefQUV_AST>> holderTails;

	// Handler of the start rule: report and close the syntax check.
	void reportAndFinish(const ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex);
	// Handler around the brackets that open a main block: report, skip to `type`.
	void reportAndSkipTo(const ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex, int type);
	static void placeAt(RefQUV_AST node, ANTLR_USE_NAMESPACE(antlr)RefToken token);
	// Wraps a main body as the procedure "Main" and appends it to the block.
	RefQUV_AST makeMainBlock(int type, const char* text,
		ANTLR_USE_NAMESPACE(antlr)RefToken open, RefQUV_AST sections, RefQUV_AST body);
	static void retypeBuiltin(ANTLR_USE_NAMESPACE(antlr)RefAST root, int type,
		const char* text, ANTLR_USE_NAMESPACE(antlr)RefToken first);

	// Label checks (label_state.cpp); they only file diagnostics.
	static std::string terminationKindName(int kind);
	void checkLbForm(ANTLR_USE_NAMESPACE(antlr)RefToken lb);
	void recordLabel(ANTLR_USE_NAMESPACE(antlr)RefToken name);
	const LabelRecord* findDeclaredLabel(const std::string& name);
	void recordForwardLabel(ANTLR_USE_NAMESPACE(antlr)RefToken name);
	void expectKind(int found, int expected);
	void expectEnding(int found, int declarationKind);
	void reportMismatchedKind(int found, int expected);
	void checkForwardLabels();
	void closeBranch(int kind, std::vector<std::string>& branchNames);
	static void fillLabel(LabelRecord& label, ANTLR_USE_NAMESPACE(antlr)RefToken name);
	static void appendReadLabel(std::vector<LabelRecord>& labels, const LabelRecord& label);
	void checkCaseLabels(const std::vector<LabelRecord>& gotoLabels,
		const std::vector<std::string>& branchNames);

	// Trees of procedures, sections, agents and sequences (declaration_trees.cpp).
	RefQUV_AST makeDeclarationRoot(int kind, ANTLR_USE_NAMESPACE(antlr)RefToken name, RefQUV_AST nameNode);
	RefQUV_AST finishProDeclaration(int kind, RefQUV_AST holder, ANTLR_USE_NAMESPACE(antlr)RefToken name,
		RefQUV_AST head, RefQUV_AST root, RefQUV_AST tail);
	RefQUV_AST newHolder();
	void appendHeader(RefQUV_AST holder, RefQUV_AST header);
	void putHeadersFirst(RefQUV_AST section, RefQUV_AST holder);
	RefQUV_AST makeAgent(RefQUV_AST package, RefQUV_AST holder, RefQUV_AST process);
	RefQUV_AST joinSequence(RefQUV_AST equations);

public:
	// The typesetting pass (typesetting.cpp): reformats the whole token stream
	// into pass.typesetText; a token-stream failure ends it as an ANTLRException.
	void typesetProgram(TypesettingPass& pass);

private:
	int typesetItem(int previous);
	bool indexExpressionFollows();
	// Whether a token of this type can start a designator ("(", a name, "*").
	static bool startsDesignator(int type)
	{
		return type == LPAREN || type == IDENT || type == STAR;
	}
	// The trial ( dollaO variable )=> before a token that starts no designator:
	// it fails in variable1 and leaves that rule's name behind.
	bool designatorTrialFails();
	// The trial ( variable )=> at "(" name and a token that neither closes the
	// parenthesis nor extends the name: it fails at that token.
	bool parenthesisTrialFails();
	// Hand-written trials of statement (trials.cpp).
	bool guessLabelEquation();
	bool waitFollows();
	unsigned int plainConditionEnd(unsigned int from);
	bool labelEquationFollowedBy(int type);
	// Whether a token of this type starts a suffix of a designator ("->", ".", "[").
	static bool startsDesignatorSuffix(int type)
	{
		return type == ARROW || type == DOT || type == LBRACKET;
	}
	void appendTypeset(const std::string& text, const std::string& token);
}

// ---------------------------------------------------------------- program frame

program
{ ruleName = "program"; collectExitLabel = false; }
	:	(	PERCENT_PRO^ programName EQUAL! mainBlock
		|	PERCENT_DPRO^ programName EQUAL! dMainBlock
		|	PERCENT_MPRO^ programName EQUAL! mMainBlock
		)
		dot! EOF!
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] {
		reportAndFinish(ex);
	}

programName
	:	IDENT
	;

mainBlock
{ ruleName = "mainBlock"; ANTLR_USE_NAMESPACE(antlr)RefToken open = LT(1); }
	:	o:LBRACKET! c:RBRACKET! lbracket!
		( communicationModeDeclaration )?
		( typeDeclarationPart )?
		( globalDeclarationPart )?
		( sharedVariableDeclarationPart )?
		( procDeclarationPart )?
		( prosDeclarationPart )?
		( packageDeclarationPart )?
		( agentDeclarationPart )?
		b:proBody[PROC_DECL]!
		rbracket!
		{ #mainBlock = makeMainBlock(MAIN_BLOCK, "MainBlock", open, #mainBlock, #b); }
	;
	exception [o] catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] {
		reportAndSkipTo(ex, RBRACKET);
	}
	exception [c] catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] {
		reportAndSkipTo(ex, LBRACKET);
	}

dMainBlock
{ ruleName = "dMainBlock"; ANTLR_USE_NAMESPACE(antlr)RefToken open = LT(1); }
	:	o:LBRACKET! c:RBRACKET! lbracket!
		( communicationModeDeclaration )?
		( typeDeclarationPart )?
		( globalDeclarationPart )?
		( sharedVariableDeclarationPart )?
		( procDeclarationPart )?
		( prosDeclarationPart )?
		( packageDeclarationPart )?
		( agentDeclarationPart )?
		rbracket!
		{
			RefQUV_AST block = RefQUV_AST(#[DMAIN_BLOCK, "DMainBlock"]);
			placeAt(block, open);
			#dMainBlock = #(block, #dMainBlock);
		}
	;
	exception [o] catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] {
		reportAndSkipTo(ex, RBRACKET);
	}
	exception [c] catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] {
		reportAndSkipTo(ex, LBRACKET);
	}

mMainBlock
{ ruleName = "mMainBlock"; ANTLR_USE_NAMESPACE(antlr)RefToken open = LT(1); }
	:	o:LBRACKET! c:RBRACKET! lbracket!
		( typeDeclarationPart )?
		( globalDeclarationPart )?
		( sharedVariableDeclarationPart )?
		b:mProBody!
		rbracket!
		{ #mMainBlock = makeMainBlock(MMAIN_BLOCK, "MMainBlock", open, #mMainBlock, #b); }
	;
	exception [o] catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] {
		reportAndSkipTo(ex, RBRACKET);
	}
	exception [c] catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] {
		reportAndSkipTo(ex, LBRACKET);
	}

communicationModeDeclaration
{ ruleName = "communicationModeDeclaration"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); }
	:	( "ASYN"! | "Asyn"! | "asyn"! )
		{ #communicationModeDeclaration = #[ASYN, "ASYN"]; placeAt(#communicationModeDeclaration, first); }
	|	( "SYN"! | "Syn"! | "syn"! )
		{ #communicationModeDeclaration = #[SYN, "SYN"]; placeAt(#communicationModeDeclaration, first); }
	;

proBody[int kind]
{ ruleName = "proBody"; }
	:	lbracket!
		( localVariableDeclarationPart )?
		( procDeclarationPart )?
		algorithmicPart[kind]
		rbracket!
	;

mProBody
{ ruleName = "mProBody"; }
	:	proBody[PROC_DECL]
	;

dot
	:	DOT
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

lbracket
	:	LBRACKET
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

rbracket
	:	RBRACKET
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

// ---------------------------------------------------------------- declaration sections

typeDeclarationPart
{ ruleName = "typeDeclarationPart"; }
	:	PERCENT_TYPE^ lbracket! typeDeclaration ( semi! typeDeclaration )* rbracket!
	;

globalDeclarationPart
{ ruleName = "globalDeclarationPart"; }
	:	PERCENT_GLOB^ lbracket! constantDeclaration ( semi! constantDeclaration )* rbracket!
	;

sharedVariableDeclarationPart
{ ruleName = "sharedVariableDeclarationPart"; }
	:	PERCENT_VAR^ variableDeclarationPart[SHARE_DECL]
	;

// The headers of all procedures of the section come before the first body.
procDeclarationPart
{ ruleName = "procDeclarationPart"; RefQUV_AST holder = newHolder(); }
	:	PERCENT_PROC^ lbracket!
		proDeclaration[PROC_DECL, holder] ( semi! proDeclaration[PROC_DECL, holder] )*
		rbracket!
		{ putHeadersFirst(#procDeclarationPart, holder); }
	;

prosDeclarationPart
{ ruleName = "prosDeclarationPart"; RefQUV_AST holder = newHolder(); }
	:	PERCENT_PROS^ lbracket!
		proDeclaration[PROS_DECL, holder] ( semi! proDeclaration[PROS_DECL, holder] )*
		rbracket!
		{ putHeadersFirst(#prosDeclarationPart, holder); }
	;

// Packages carry their own keyword; the section gets one root whatever the spelling.
packageDeclarationPart
{ ruleName = "packageDeclarationPart"; }
	:	packageDeclaration ( semi! packageDeclaration )*
		{ #packageDeclarationPart = #(#[PERCENT_PACK, "%PACK"], #packageDeclarationPart); }
	;

agentDeclarationPart
{ ruleName = "agentDeclarationPart"; }
	:	PERCENT_AGT^ lbracket! agentDeclaration ( semi! agentDeclaration )* rbracket!
	;

// ---------------------------------------------------------------- packages, fathers and agents

packageDeclaration
{ ruleName = "packageDeclaration"; }
	:	p:PERCENT_PACK^ { #p->setType(PACK_DECL); #p->setText("PackDeclaration"); }
		lbracket! packageName COLON!
		( fatherDeclarationPart )?
		( typeDeclarationPart )?
		( localVariableDeclarationPart )?
		( procDeclarationPart )?
		rbracket!
	;

packageName
	:	IDENT
	;

fatherDeclarationPart
{ ruleName = "fatherDeclarationPart"; }
	:	PERCENT_FATHER^ lbracket! fatherList rbracket!
	;

fatherList
{ ruleName = "fatherList"; }
	:	fatherName ( comma! fatherName )*
	;

fatherName
	:	IDENT
	;

// An agent is its package with the process's header and declaration appended.
agentDeclaration
{
	ruleName = "agentDeclaration";
	RefQUV_AST holder = RefQUV_AST(astFactory->create(PROS_DECL_HEADER, "PROS_DECL_HEADER"));
}
	:	lbracket! pr:proDeclaration[PROS_DECL, holder]! semi! pk:packageDeclaration! rbracket!
		{ #agentDeclaration = makeAgent(#pk, holder, #pr); }
	;

// ---------------------------------------------------------------- parameter declarations

paramDeclarationPart[int kind]
{ ruleName = "paramDeclarationPart"; }
	:	PERCENT_INP! variableDeclaration[INP_DECL]
	|	PERCENT_IOP! variableDeclaration[IOP_DECL]
	|	{ kind == PROS_DECL }? PERCENT_CHN! chParDeclaration
	;

chParDeclaration
{ ruleName = "chParDeclaration"; }
	:	chParList ( comma! chParList )*
	;

// The index name and its NM type are matched but not kept: an input and an
// output channel differ only in the root. The NM keyword is matched here, not
// in a rule of its own, so a wrong index type drops the whole channel.
chParList
{ ruleName = "chParList"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); }
	:	{ LA(2) == LPAREN && LA(3) == IDENT }? ( IDENT lparen IDENT )=>
		i:chParIdent! lparen! chParIdent2! COLON! ( "NM"! | "Nm"! | "nm"! ) comma! STAR! rparen! COLON! it:type!
		{ #chParList = #(#[CHIN_DECL, "CHIN_DECL"], #it, #i); placeAt(#chParList, first); }
	|	{ LA(2) == LPAREN && LA(3) == STAR }? ( IDENT lparen STAR )=>
		o:chParIdent! lparen! STAR! comma! chParIdent2! COLON! ( "NM"! | "Nm"! | "nm"! ) rparen! COLON! ot:type!
		{ #chParList = #(#[CHOUT_DECL, "CHOUT_DECL"], #ot, #o); placeAt(#chParList, first); }
	;

// ---------------------------------------------------------------- procedures and processes

// The header (name and parameters) goes to the section's holder; the
// declaration itself keeps copies of the name and the body.
proDeclaration[int kind, RefQUV_AST holder]
{ ruleName = "proDeclaration"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); RefQUV_AST root; }
	:	h:proDeclarationHead[kind, root]! equal! t:proDeclarationTail[kind]!
		{ #proDeclaration = finishProDeclaration(kind, holder, first, #h, root, #t); }
	;

proDeclarationHead[int kind, RefQUV_AST& root]
{ ruleName = "proDeclarationHead"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); }
	:	n:proName { root = makeDeclarationRoot(kind, first, #n); }
		lparen!
		( paramDeclarationPart[kind] ( semi! paramDeclarationPart[kind] )* )?
		rparen!
	;

equal
	:	EQUAL
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

proDeclarationTail[int kind]
{ ruleName = "proDeclarationTail"; }
	:	proBody[kind]
	;

algorithmicPart[int kind]
{
	ruleName = "algorithmicPart";
	declaredLabels.clear();
	declaredLabelIndex.clear();
	forwardLabels.clear();
	expectedLb.clear();
	int ending = 0;
	int laterEnding = 0;
}
	:	PERCENT_STM^ { labelMode = 1; }
		lbracket! ending = statementList { expectEnding(ending, kind); }
		rbracket!
	|	PERCENT_ALG^ { labelMode = 0; }
		lbracket! ending = conditionalElement
		{ if (ending == RETURN || ending == STOP) expectEnding(ending, kind); }
		// Only the first element's ending is held to the body's kind.
		( semi! laterEnding = conditionalElement )*
		rbracket!
		{ checkForwardLabels(); (void)laterEnding; }
	;

// ---------------------------------------------------------------- labels

// Statement rules return a termination kind: the token type that tells how
// control leaves them (STOP, RETURN, EXIT, NEXT, or IDENT for a jump). A rule
// whose own handler ran returns 0, which no check accepts.

lbLabel
	:	t:LB { checkLbForm(t); }
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

labelName
	:	t:IDENT { recordLabel(t); }
	;

forwardLabelName
	:	t:IDENT { recordForwardLabel(t); }
	;

// ---------------------------------------------------------------- conditional elements

conditionalElement returns [int kind = 0]
{ ANTLR_USE_NAMESPACE(antlr)RefToken name = LT(3); ruleName = "conditionalElement"; }
	:	l:definitionalLabelEquation! c:conditionPart! i:IMPLY! kind = a:actionPart!
		{ #conditionalElement = #(#i, #l, #c, #a); placeAt(#conditionalElement, name); }
	;

statementList returns [int kind = 0]
{ ruleName = "statementList"; }
	:	kind = statement
		(	{ expectKind(kind, NEXT); }
			semi! kind = statement
		)*
	;

definitionalLabelEquation
{ ANTLR_USE_NAMESPACE(antlr)RefToken lb = LT(1); ruleName = "definitionalLabelEquation"; }
	:	lbLabel! assign! n:labelName!
		{ #definitionalLabelEquation = #(#[LABEL_DECL, "LABEL_DECL"], #n); placeAt(#definitionalLabelEquation, lb); }
	;

conditionPart
{ ruleName = "conditionPart"; }
	:	( andOp! condition )?
	;

actionPart returns [int kind = 0]
{ ruleName = "actionPart"; }
	:	kind = executableAction
	|	concurrentActivation { kind = NEXT; }
	;

andOp
	:	AND
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

// ---------------------------------------------------------------- forward labels

forwardLabelEquation returns [int kind = 0]
{ ruleName = "forwardLabelEquation"; }
	:	dollaOLb! assign! kind = forwardLabel
	;

// The target keywords leave one node of their kind, whatever their letter case.
forwardLabel returns [int kind = 0]
{ ANTLR_USE_NAMESPACE(antlr)RefToken target = LT(1); ruleName = "forwardLabel"; }
	:	forwardLabelName { kind = IDENT; }
	|	( "STOP"! | "Stop"! | "stop"! )
		{ #forwardLabel = #[STOP, "STOP"]; placeAt(#forwardLabel, target); kind = STOP; }
	|	( "RETURN"! | "Return"! | "return"! )
		{ #forwardLabel = #[RETURN, "RETURN"]; placeAt(#forwardLabel, target); kind = RETURN; }
	|	( "EXIT"! | "Exit"! | "exit"! )
		{ #forwardLabel = #[EXIT, "EXIT"]; placeAt(#forwardLabel, target); kind = EXIT; }
	|	( "NEXT"! | "Next"! | "next"! )
		{ #forwardLabel = #[NEXT, "NEXT"]; placeAt(#forwardLabel, target); kind = NEXT; }
	;

// ---------------------------------------------------------------- actions

executableAction returns [int kind = 0]
{ ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); ruleName = "executableAction"; }
	:	proCall { kind = NEXT; }
	|	e:actionItemPart! kind = f:forwardLabelEquation!
		{
			#executableAction = #(#[ActionItem, "ActionItem"], #e, #f);
			placeAt(#executableAction, first);
		}
	;

concurrentActivation
{ ruleName = "concurrentActivation"; }
	:	parallelPart
	|	selectPart
	;

// Every equation of an action item is closed by "^", the last one too.
actionItemPart
{ ruleName = "actionItemPart"; }
	:	( assignmentEquation andOp! )*
	;

// ---------------------------------------------------------------- assignment equations

// The "$O" forms are told apart by trials; the channel forms come first because
// a channel name is also a designator.
assignmentEquation
{ ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); ruleName = "assignmentEquation"; }
	:	{ LA(2) == IDENT && LA(3) == QUESTION }? ( dollaO IDENT QUESTION )=>
		dollaO! chParIdent QUESTION^ variable
	|	{ LA(2) == IDENT && LA(3) == EXCLAMATION }? ( dollaO IDENT EXCLAMATION )=>
		dollaO! chParIdent EXCLAMATION^ expression
	|	{ LA(2) == IDENT && LA(3) == EQUAL }? ( dollaO IDENT EQUAL )=>
		dollaO! chParIdent2 EQUAL^ assignIdent
		// A name that no suffix follows is a whole designator: no trial needed.
	|	{ LA(2) == IDENT && !startsDesignatorSuffix(LA(3)) }?
		dollaO! v1:variable! a1:ASSIGN! e1:expression!
		{ #assignmentEquation = #(#a1, #v1, #e1); }
	|	{ startsDesignator(LA(2)) || designatorTrialFails() }?
		( dollaO variable )=> dollaO! v:variable! a:ASSIGN! e:expression!
		{ #assignmentEquation = #(#a, #v, #e); }
	|	{ LA(2) == LITERAL_NEWDEC || LA(2) == LITERAL_NewDec || LA(2) == LITERAL_newdec }?
		( dollaO ( "NEWDEC" | "NewDec" | "newdec" ) )=>
		dollaO! ( "NEWDEC"! | "NewDec"! | "newdec"! ) lparen! n:idName! COLON! t:type! rparen!
		{ #assignmentEquation = #(#[NEWDEC, "NEWDEC"], #n, #t); placeAt(#assignmentEquation, first); }
	|	dollaO! ( "DELETE"! | "Delete"! | "delete"! ) lparen! d:chParIdent2! rparen!
		{ #assignmentEquation = #(#[DELETE, "DELETE"], #d); placeAt(#assignmentEquation, first); }
	|	s:SEQ! LBRACKET! l:assignmentEquationListList! rbracket!
		{ #assignmentEquation = #(#s, joinSequence(#l)); }
	;

assignmentEquationList
{ ruleName = "assignmentEquationList"; }
	:	assignmentEquation ( andOp! assignmentEquation )*
	;

assignmentEquationListList
{ ruleName = "assignmentEquationListList"; }
	:	assignmentEquationList ( semi! assignmentEquationList )*
	;

dollaO
	:	DOLLA_O
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

dollaOLb
	:	DOLLA_O_LB
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

assignIdent
	:	IDENT
	;

// ---------------------------------------------------------------- statements

// The three labelled forms share their label equation; trials in this order
// choose (trials.cpp: the trials of ( wait )=>, ( definitionalLabelEquation
// IMPLY )=> and ( definitionalLabelEquation andOp )=>, which stop where a
// token tells they fail).
statement returns [int kind = 0]
{ ruleName = "statement"; }
	:	caseStatement { kind = NEXT; }
	|	loopStatement { kind = NEXT; }
	|	kind = succession
	|	{ waitFollows() }? wait { kind = NEXT; }
	|	{ labelEquationFollowedBy(IMPLY) }? kind = sElement
	|	{ labelEquationFollowedBy(AND) }? kind = sConditionalElement
	;

wait
{ ANTLR_USE_NAMESPACE(antlr)RefToken name = LT(3); ruleName = "wait"; }
	:	l:definitionalLabelEquation! c:conditionPart! IMPLY! a:loopAction! e:exitCondition!
		{
			// A condition whose tree an equation of the loop action could have
			// (an equality, a channel test with an operand) is held in
			// parentheses, as if written so: it compares, it does not assign.
			if (#c && readsAsEquation(#c)) {
				RefQUV_AST held = #c;
				#c = #(#[PARENS, "()"], held);
				#c->setPosition(held->getLine(), held->getColumn());
			}
			#wait = #(#[WAIT_STAT, "WAIT_STAT"], #l, #c, #a, #e);
			placeAt(#wait, name);
		}
	;

sElement returns [int kind = 0]
{ ruleName = "sElement"; }
	:	l:definitionalLabelEquation! i:IMPLY! kind = a:actionPart!
		{ #sElement = #(#[ATOM_STAT, "ATOM_STAT"], #l, #a); placeAt(#sElement, i); }
	;

// Both branches of a conditional element must end alike.
sConditionalElement returns [int kind = 0]
{ ruleName = "sConditionalElement"; int elseKind = 0; }
	:	l:definitionalLabelEquation! c:conditionPart! i:IMPLY! lparen!
		kind = t:ifPart!
		(	orOp! elseKind = e:elsePart!
			{ if (elseKind != kind) reportMismatchedKind(kind, elseKind); }
		)?
		rparen!
		{
			#sConditionalElement = #(#[IF_STAT, "IF_STAT"], #l, #c, #t, #e);
			placeAt(#sConditionalElement, i);
		}
	;

ifPart returns [int kind = 0]
{ ruleName = "ifPart"; }
	:	kind = actionPart
	;

elsePart returns [int kind = 0]
{ ruleName = "elsePart"; }
	:	kind = actionPart
	;

// ---------------------------------------------------------------- case statements

// Goto labels and branch names are collected while parsing and compared once
// the closing bracket has been read.
caseStatement
{
	ruleName = "caseStatement";
	std::vector<LabelRecord> gotoLabels;
	std::vector<std::string> branchNames;
}
	:	q:QUESTION^ { #q->setType(CASE_STAT); #q->setText("CASE_STAT"); }
		lbracket! definitionalLabelEquation andOp! caseCondition[gotoLabels] semi!
		exitStatementListList[branchNames] rbracket!
		{ checkCaseLabels(gotoLabels, branchNames); }
	;

caseCondition[std::vector<LabelRecord>& gotoLabels]
{ ruleName = "caseCondition"; LabelRecord label; }
	:	gotoConditionList[gotoLabels] DEFAULT^ IMPLY! dollaOLb! assign! gotoLabelName[label]
		{ appendReadLabel(gotoLabels, label); }
	;

gotoConditionList[std::vector<LabelRecord>& gotoLabels]
{ ruleName = "gotoConditionList"; LabelRecord label; }
	:	gotoCondition[label] { appendReadLabel(gotoLabels, label); }
		(	orOp! { label = LabelRecord(); }
			gotoCondition[label] { appendReadLabel(gotoLabels, label); }
		)*
	;

gotoCondition[LabelRecord& label]
{ ruleName = "gotoCondition"; }
	:	c:condition! i:IMPLY! dollaOLb! assign! n:gotoLabelName[label]!
		{ #gotoCondition = #(#i, #c, #n); }
	;

gotoLabelName[LabelRecord& label]
	:	t:IDENT { fillLabel(label, t); }
	;

// ---------------------------------------------------------------- loops, successions and exits

loopStatement
{ ANTLR_USE_NAMESPACE(antlr)RefToken name = LT(5); ruleName = "loopStatement"; int ending = 0; }
	:	STAR! lbracket! l:definitionalLabelEquation! c:conditionPart! IMPLY! lparen!
		ending = forwardLabelEquation! { expectKind(ending, IDENT); }
		orOp! dollaOLb! assign! ( "EXIT"! | "Exit"! | "exit"! ) rparen!
		ending = b:statementList! { expectKind(ending, IDENT); }
		rbracket!
		{ #loopStatement = #(#[LOOP_STAT, "LOOP_STAT"], #l, #c, #b); placeAt(#loopStatement, name); }
	;

succession returns [int kind = 0]
{ ruleName = "succession"; }
	:	s:SEQ^ { #s->setType(SEQ_STAT); #s->setText("SEQ_STAT"); }
		lparen! kind = statementList rparen!
	;

// Each branch opens at the first statement and after every statement that ends
// with EXIT; the first label defined in it names the branch.
exitStatementListList[std::vector<std::string>& branchNames]
{ ruleName = "exitStatementListList"; int kind = 0; collectExitLabel = true; }
	:	kind = statement { closeBranch(kind, branchNames); }
		(	{ expectKind(kind, NEXT_OR_EXIT); }
			semi! kind = statement { closeBranch(kind, branchNames); }
		)*
		{ collectExitLabel = false; expectKind(kind, EXIT); }
	;

loopAction
{ ruleName = "loopAction"; }
	:	dollaO! lparen! a:actionItemPart! andOp! lbLabel! assign! forwardLabelName! rparen!
		{ #loopAction = #a; }
	;

exitCondition
{ ruleName = "exitCondition"; }
	:	DOLLA_U lparen! condition andOp! dollaOLb! assign! ( "EXIT" | "Exit" | "exit" )
	;

// ---------------------------------------------------------------- parallel and select parts

parallelPart
{ ruleName = "parallelPart"; }
	:	PARALLEL^ lbracket! prosCall ( semi! prosCall )+ rbracket!
	;

// The closing bracket stays as the last child of a select part.
selectPart
{ ruleName = "selectPart"; }
	:	SELECT^ lbracket! conAct ( comma! conAct )+ rbracket
	;

conAct
{ ruleName = "conAct"; int kind = 0; }
	:	condition XOR^ kind = actionPart { expectKind(kind, EXIT); }
	;

// ---------------------------------------------------------------- process calls and timers

prosCall
{ ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); ruleName = "prosCall"; }
	:	( t:timerPrefix! )?
		n:proName!
		( lcurly! intLiteral! rcurly! )?
		lparen! ( a:actualParameterPart! )? rparen!
		{ #prosCall = #(#[ProCall, "ProCall"], #t, #n, #a); placeAt(#prosCall, first); }
	;

timerPrefix
{ ruleName = "timerPrefix"; }
	:	( "SetTimer"! | "SETTIMER"! | "setTimer"! | "settimer"! ) lparen! intLiteral rparen!
	;

lcurly
	:	LCURLY
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

rcurly
	:	RCURLY
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

// ---------------------------------------------------------------- type declarations

typeDeclaration
{ ruleName = "typeDeclaration"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); }
	:	n:typeName! assign! t:type!
		{
			#typeDeclaration = #(#[TYPE_DECL, "TypeDeclaration"], #n, #t);
			placeAt(#typeDeclaration, first);
		}
	;

typeName
	:	IDENT
	;

assign
	:	ASSIGN
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

// A missing ";" before a token that starts the next entry is demanded anyway, so
// it is reported as a mismatch; a trial accepts it silently (actions do not run).
semi
	:	SEMI
	|	{ match(SEMI); }
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

type
{ ruleName = "type"; }
	:	basicType
	|	systemType
	|	userDefType
	;

userDefType
{ ruleName = "userDefType"; }
	:	userTypeName
	;

basicType
{ ruleName = "basicType"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); }
	:	( "INT" | "Int" | "int" )
		{ #basicType = #[INT, "INT"]; placeAt(#basicType, first); }
	|	( "FLOAT" | "Float" | "float" )
		{ #basicType = #[FLOAT, "FLOAT"]; placeAt(#basicType, first); }
	|	( "STRING" | "String" | "string" )
		{ #basicType = #[STRING, "STRING"]; placeAt(#basicType, first); }
	|	( "BOOL" | "Bool" | "bool" )
		{ #basicType = #[BOOL, "BOOL"]; placeAt(#basicType, first); }
	|	( "LOGIC" | "Logic" | "logic" )
		{ #basicType = #[LOGIC, "LOGIC"]; placeAt(#basicType, first); }
	;

systemType
{ ruleName = "systemType"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); }
	:	( "POINT"! | "Point"! | "point"! ) lparen! p:type! rparen!
		{ #systemType = #(#[POINT, "POINT"], #p); placeAt(#systemType, first); }
	|	( "UNION"! | "Union"! | "union"! ) lparen! u:fieldList! rparen!
		{ #systemType = #(#[UNION, "UNION"], #u); placeAt(#systemType, first); }
	|	( "RECORD"! | "Record"! | "record"! ) lparen! r:fieldList! rparen!
		{ #systemType = #(#[RECORD, "RECORD"], #r); placeAt(#systemType, first); }
	|	( "ARRAY"! | "Array"! | "array"! ) lparen! e:type! semi! d:uiList! rparen!
		{ #systemType = #(#[ARRAY, "ARRAY"], #e, #d); placeAt(#systemType, first); }
	;

// ---------------------------------------------------------------- record and union fields

fieldList
{ ruleName = "fieldList"; }
	:	fields ( semi! fields )*
	;

fields
{ ruleName = "fields"; }
	:	n:fieldNameList! c:COLON! t:type!
		{
			#fields = expandDeclarations(#n, #t, FIELD_DECL, "FieldDeclaration",
				c->getLine(), c->getColumn());
		}
	;

fieldNameList
{ ruleName = "fieldNameList"; }
	:	fieldName ( COMMA! fieldName )*
	;

uiList
{ ruleName = "uiList"; }
	:	intLiteral ( COMMA! intLiteral )*
	;

userTypeName
	:	IDENT
	;

lparen
	:	LPAREN
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

rparen
	:	RPAREN
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

fieldName
	:	IDENT
	;

intLiteral
	:	INT_LITERAL
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

// ---------------------------------------------------------------- constants and variables

constantDeclaration
{ ruleName = "constantDeclaration"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); }
	:	n:constName! assign! v:constant! COLON! t:type!
		{
			#constantDeclaration = #(#[CONST_DECL, "ConstDeclaration"], #t, #n, #v);
			placeAt(#constantDeclaration, first);
		}
	;

constName
	:	IDENT
	;

constant
{ ruleName = "constant"; }
	:	constant1
	|	{ LA(2) == INT_LITERAL }? ( MINUS INT_LITERAL )=> MINUS^ INT_LITERAL
	|	{ LA(2) == FLOAT_LITERAL }? ( MINUS FLOAT_LITERAL )=> MINUS^ FLOAT_LITERAL
	;

constant1
{ ruleName = "constant1"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); }
	:	INT_LITERAL
	|	FLOAT_LITERAL
	|	STRING_LITERAL
	|	DOLLA_T
	|	DOLLA_F
	|	( "TT"! | "tt"! )
		{ #constant1 = #[DOUBLE_T, "DOUBLE_T"]; placeAt(#constant1, first); }
	|	( "FF"! | "ff"! )
		{ #constant1 = #[DOUBLE_F, "DOUBLE_F"]; placeAt(#constant1, first); }
	;

variableDeclarationPart[int kind]
{ ruleName = "variableDeclarationPart"; }
	:	lbracket! variableDeclaration[kind] ( semi! variableDeclaration[kind] )* rbracket!
	;

localVariableDeclarationPart
{ ruleName = "localVariableDeclarationPart"; }
	:	PERCENT_LOC^ variableDeclarationPart[LOCAL_DECL]
	;

variableDeclaration[int kind]
{ ruleName = "variableDeclaration"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); }
	:	n:idList! COLON! t:varType!
		{
			#variableDeclaration = expandDeclarations(#n, #t, kind, "FieldDeclaration",
				first->getLine(), first->getColumn());
		}
	;

idList
{ ruleName = "idList"; }
	:	idName ( comma! idName )*
	;

varType
{ ruleName = "varType"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); }
	:	type
	|	( "NM"! | "Nm"! | "nm"! )
		{ #varType = #[NM, "NM"]; placeAt(#varType, first); }
	|	( "STREAM"! | "Stream"! | "stream"! )
		{ #varType = #[STREAM, "STREAM"]; placeAt(#varType, first); }
	;

idName
	:	IDENT
	;

comma
	:	COMMA
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

// ---------------------------------------------------------------- designators

// Each suffix takes the designator so far as its first child; the sub-rules'
// trees are kept out of the rule's own list, so each node is linked once and
// the chain grows in constant time and memory per suffix.
variable
{
	ruleName = "variable";
	if (replayTrial(TrialMemo::Variable)) return;
	TrialRecord trialRecord(*this, TrialMemo::Variable);
	RefQUV_AST last;
}
	:	h:variable1! { last = #h; }
		(	// A suffix after "*" p belongs to p: the star takes the whole designator.
			options { warnWhenFollowAmbig = false; }
		:	s:variableSuffix[last]! { last = #s; }
		)*
		{ #variable = last; }
	;

variable1
{ ruleName = "variable1"; }
	:	p:LPAREN^ { #p->setType(PARENS); } variable rparen!
	|	idName
	|	STAR^ variable
	;

variableSuffix[RefQUV_AST prefix]
{
	ruleName = "variableSuffix";
	ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1);
}
	:	ARROW! a:fieldName!
		{ #variableSuffix = #(#[ARROW_VAR, "ARROW_VAR"], prefix, #a); placeAt(#variableSuffix, first); }
	|	dot! d:fieldName!
		{ #variableSuffix = #(#[DOT_VAR, "DOT_VAR"], prefix, #d); placeAt(#variableSuffix, first); }
	|	lbracket! i:expression! rbracket!
		{ #variableSuffix = #(#[BRACKETS, "[]"], prefix, #i); placeAt(#variableSuffix, first); }
	;

// ---------------------------------------------------------------- expressions

expression
{
	ruleName = "expression";
	if (replayTrial(TrialMemo::Expression)) return;
	TrialRecord trialRecord(*this, TrialMemo::Expression);
}
	:	relationalExpression
	;

relationalExpression
{ ruleName = "relationalExpression"; }
	:	logicOrExpression
		( ( ASSIGN^ | LT_^ | LTE^ | GT^ | GTE^ | NE^ ) logicOrExpression )*
	;

logicOrExpression
{ ruleName = "logicOrExpression"; }
	:	logicAndExpression ( DOLLA_V^ logicAndExpression )*
	;

logicAndExpression
{ ruleName = "logicAndExpression"; }
	:	additiveExpression ( DOLLA_C^ additiveExpression )*
	;

additiveExpression
{ ruleName = "additiveExpression"; }
	:	multiplicativeExpression ( ( PLUS^ | MINUS^ ) multiplicativeExpression )*
	;

// "*" becomes MULTI, to tell it from the pointer of a designator; every spelling
// of the remainder keyword becomes MOD.
multiplicativeExpression
{ ruleName = "multiplicativeExpression"; }
	:	unaryExpression
		(	(	s:STAR^ { #s->setType(MULTI); }
			|	DIV^
			|	MOD^
			|	m1:"MOD"^ { #m1->setType(MOD); }
			|	m2:"Mod"^ { #m2->setType(MOD); }
			|	m3:"mod"^ { #m3->setType(MOD); }
			)
			unaryExpression
		)*
	;

unaryExpression
{ ruleName = "unaryExpression"; }
	:	LNOT^ primaryExpression
	|	MINUS^ primaryExpression
	|	( "IF"^ | "If"^ | "if"^ )
		condition
		( "THEN"! | "Then"! | "then"! )
		expression
		( "ELSE"! | "Else"! | "else"! )
		primaryExpression
		{ currentAST.root->setType(IF); }
	|	primaryExpression
	;

// Operands that one token cannot tell apart are chosen by trials, in this order.
// The second token rules out the trials that could only fail at it, and a
// name that no suffix follows is a designator without a trial.
primaryExpression
{
	ruleName = "primaryExpression";
	if (replayTrial(TrialMemo::PrimaryExpression)) return;
	TrialRecord trialRecord(*this, TrialMemo::PrimaryExpression);
}
	:	valueCall
	|	BAND^ variable
	|	constant1
	|	{ LA(2) == EXCLAMATION }? ( IDENT EXCLAMATION variable )=> chParIdent EXCLAMATION^ variable
	|	{ LA(2) == EXCLAMATION }? chParIdent EXCLAMATION^
	|	{ LA(2) == QUESTION }? ( IDENT QUESTION primaryExpression )=> chParIdent QUESTION^ primaryExpression
	|	{ LA(2) == QUESTION }? chParIdent QUESTION^
	|	{ LA(1) == IDENT && !startsDesignatorSuffix(LA(2)) }? variable
		// "(" before a token that starts no designator is a parenthesised expression.
	|	{ (LA(1) != LPAREN || startsDesignator(LA(2))) && !parenthesisTrialFails() }? ( variable )=> variable
	|	p:LPAREN^ { #p->setType(PARENS); #p->setText("()"); } expression rparen!
	;

condition
{ ruleName = "condition"; }
	:	expression
	;

valueCall
{ ruleName = "valueCall"; }
	:	QUESTION! expression COLON^ proCall
	;

chParIdent
	:	IDENT
	;

chParIdent2
	:	IDENT
	;

// ---------------------------------------------------------------- calls

proCall
{ ruleName = "proCall"; ANTLR_USE_NAMESPACE(antlr)RefToken first = LT(1); }
	:	n:proName! lparen!
		(	a:actualParameterPart!
			{ #proCall = #(#[ProCall, "ProCall"], #n, #a); }
		|	{ #proCall = #(#[ProCall, "ProCall"], #n); }
		)
		rparen!
		{ placeAt(#proCall, first); #proCall->setText("ProCall"); #proCall->setType(ProCall); }
	|	( "FOPEN"^ | "Fopen"^ | "fopen"^ )
		lparen! procArgName comma! expression rparen!
		{ retypeBuiltin(currentAST.root, FOPEN, "FOPEN", first); }
	|	( "FCLOSE"^ | "Fclose"^ | "fclose"^ )
		lparen! procArgName rparen!
		{ retypeBuiltin(currentAST.root, FCLOSE, "FCLOSE", first); }
	|	( "FEOF"^ | "Feof"^ | "feof"^ )
		lparen! procArgName comma! idName rparen!
		{ retypeBuiltin(currentAST.root, FEOF, "FEOF", first); }
	|	( "QUVEOF"^ | "QUVEof"^ | "quveof"^ )
		lparen! procArgName comma! expression rparen!
		{ retypeBuiltin(currentAST.root, QUVEOF, "QUVEOF", first); }
	|	( "FREAD"^ | "Fread"^ | "fread"^ )
		lparen! procArgName ( comma! variable )+ rparen!
		{ retypeBuiltin(currentAST.root, FREAD, "FREAD", first); }
	|	( "READ"^ | "Read"^ | "read"^ )
		lparen! variable ( comma! variable )* rparen!
		{ retypeBuiltin(currentAST.root, READ, "READ", first); }
	|	( "FWRITE"^ | "Fwrite"^ | "fwrite"^ )
		lparen! procArgName ( comma! expression )+ rparen!
		{ retypeBuiltin(currentAST.root, FWRITE, "FWRITE", first); }
	|	( "WRITE"^ | "Write"^ | "write"^ )
		lparen! expression ( comma! expression )* rparen!
		{ retypeBuiltin(currentAST.root, WRITE, "WRITE", first); }
	|	( "FWRITELN"^ | "Fwriteln"^ | "fwriteln"^ )
		lparen! procArgName ( comma! expression )+ rparen!
		{ retypeBuiltin(currentAST.root, FWRITELN, "FWRITELN", first); }
	|	( "WRITELN"^ | "Writeln"^ | "writeln"^ )
		lparen! expression ( comma! expression )* rparen!
		{ retypeBuiltin(currentAST.root, WRITELN, "WRITELN", first); }
	|	( "GETC"^ | "Getc"^ | "getc"^ )
		lparen! procArgName comma! idName rparen!
		{ retypeBuiltin(currentAST.root, GETC, "GETC", first); }
	|	( "GETCHAR"^ | "Getchar"^ | "getchar"^ )
		lparen! idName rparen!
		{ retypeBuiltin(currentAST.root, GETCHAR, "GETCHAR", first); }
	|	( "UNGETC"^ | "Ungetc"^ | "ungetc"^ )
		lparen! procArgName comma! variable rparen!
		{ retypeBuiltin(currentAST.root, UNGETC, "UNGETC", first); }
	|	( "UNGETCHAR"^ | "Ungetchar"^ | "ungetchar"^ )
		lparen! idName rparen!
		{ retypeBuiltin(currentAST.root, UNGETCHAR, "UNGETCHAR", first); }
	|	( "ITOC"^ | "Itoc"^ | "itoc"^ )
		lparen! expression comma! variable rparen!
		{ retypeBuiltin(currentAST.root, ITOC, "ITOC", first); }
	|	( "STRLEN"^ | "Strlen"^ | "strlen"^ )
		lparen! variable comma! expression rparen!
		{ retypeBuiltin(currentAST.root, STRLEN, "STRLEN", first); }
	;

proName
	:	IDENT
	;

// ---------------------------------------------------------------- actual parameters

actualParameterPart
{ ruleName = "actualParameterPart"; }
	:	actualFormalPair ( semi! actualFormalPair )*
	;

actualFormalPair
{ ruleName = "actualFormalPair"; }
	:	PERCENT_INP^ expression orOp! formalParamName
	|	PERCENT_IOP^ variable orOp! formalParamName
	|	PERCENT_CHN^ chnActualFormalPair
	;

// The two channel forms differ only after "(": the "*" comes first or last.
chnActualFormalPair
{ ruleName = "chnActualFormalPair"; }
	:	{ LA(2) == LPAREN && LA(3) == STAR }? ( IDENT lparen STAR )=>
		chParIdent lparen! STAR comma! chParIdent2 rparen!
		orOp! chParIdent lparen! STAR! comma! chParIdent2! rparen!
	|	{ LA(2) == LPAREN && LA(3) == IDENT }? ( IDENT lparen IDENT )=>
		chParIdent lparen! IDENT comma! STAR rparen!
		orOp! chParIdent lparen! chParIdent2! comma! STAR! rparen!
	;

orOp
	:	OR
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportError(ex); }

procArgName
	:	IDENT
	;

formalParamName
	:	IDENT
	;
