// The QUV/E parser: program frame, declarations, designators, expressions and calls.
//
// Recovery: every named rule stores its name in ruleName from its init action (so
// it is stored while guessing too) and uses the generated default handler: report,
// consume one token, skip to the rule's FOLLOW set. While guessing, every handler
// (the generated ones and those written here) throws the error on to the trial. Those sets are the ones ANTLR
// computes from the whole grammar, so the rules here are written in the shape that
// gives them; never list a set by hand. One-token rules only report (reportOnly).
//
// Rules marked INTERIM stand in for the statement, label, procedure, process,
// package and agent rules that do not exist yet; until they do, the FOLLOW sets
// that reach into them (semi, expression, proBody, ...) are smaller than they
// will be.

header "post_include_hpp" {
#include <string>
#include <vector>
#include "compiler/core/core.hpp"
#include "compiler/parser/label_record.hpp"
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
	void copyTreePositions(RefQUV_AST copy, RefQUV_AST source);
	// One declaration node per name, each holding its own copies of type and name.
	RefQUV_AST expandDeclarations(RefQUV_AST names, RefQUV_AST type, int nodeType,
		const char* nodeText, int line, int column);

	// Name of the rule entered last; never restored on return, so an error is
	// filed under the innermost named rule that ran before it.
	std::string ruleName;
	// Label state of the algorithmic parts, reset by each of them.
	std::vector<LabelRecord> declaredLabels;
	std::vector<LabelRecord> forwardLabels;
	std::string expectedLb;
	int expectedLbLine = -1;
	int expectedLbColumn = -1;
	int labelMode = 0;
	bool collectExitLabel = false;
	std::vector<std::string> exitLabelNames;

private:
	// Handler of the rules that match a single token: report, consume nothing,
	// so the caller meets the same token again.
	void reportOnly(const ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex);
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
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportOnly(ex); }

lbracket
	:	LBRACKET
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportOnly(ex); }

rbracket
	:	RBRACKET
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportOnly(ex); }

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

// INTERIM: procedure, process, package and agent sections and algorithmic parts
// keep only their keyword node and pass over one bracketed group unread.
procDeclarationPart
{ ruleName = "procDeclarationPart"; }
	:	PERCENT_PROC^ interimGroup!
	;

prosDeclarationPart
{ ruleName = "prosDeclarationPart"; }
	:	PERCENT_PROS^ interimGroup!
	;

packageDeclarationPart
{ ruleName = "packageDeclarationPart"; }
	:	PERCENT_PACK^ interimGroup! ( semi! PERCENT_PACK! interimGroup! )*
	;

agentDeclarationPart
{ ruleName = "agentDeclarationPart"; }
	:	PERCENT_AGT^ interimGroup!
	;

algorithmicPart[int kind]
{ ruleName = "algorithmicPart"; declaredLabels.clear(); forwardLabels.clear(); expectedLb.clear(); }
	:	(	PERCENT_STM^ { labelMode = 1; }
		|	PERCENT_ALG^ { labelMode = 0; }
		)
		interimGroup!
	;

// INTERIM: a bracketed group of any tokens, brackets balanced.
interimGroup!
	:	LBRACKET ( ~(LBRACKET | RBRACKET) | interimGroup )* RBRACKET
	;

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
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportOnly(ex); }

// A missing ";" before a token that starts the next entry is demanded anyway, so
// it is reported as a mismatch; a trial accepts it silently (actions do not run).
semi
	:	SEMI
	|	{ match(SEMI); }
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportOnly(ex); }

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
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportOnly(ex); }

rparen
	:	RPAREN
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportOnly(ex); }

fieldName
	:	IDENT
	;

intLiteral
	:	INT_LITERAL
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportOnly(ex); }

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
	|	( MINUS INT_LITERAL )=> MINUS^ INT_LITERAL
	|	( MINUS FLOAT_LITERAL )=> MINUS^ FLOAT_LITERAL
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
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportOnly(ex); }

// ---------------------------------------------------------------- designators

// Each step works on a copy of the designator so far, so the returned tree
// shares no node with the trees of the sub-rules.
variable
{ ruleName = "variable"; RefQUV_AST last; }
	:	h:variable1 { last = copySubtree(#h); }
		(	// A suffix after "*" p belongs to p: the star takes the whole designator.
			options { warnWhenFollowAmbig = false; }
		:	s:variableSuffix[last] { last = copySubtree(#s); }
		)*
		{ #variable = last; }
	;

variable1
{ ruleName = "variable1"; }
	:	p:LPAREN^ { #p->setType(PARENS); } variable rparen!
	|	idName
	|	STAR^ variable
	;

variableSuffix[RefQUV_AST designator]
{
	ruleName = "variableSuffix";
	RefQUV_AST prefix = copySubtree(designator);
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
{ ruleName = "expression"; }
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
primaryExpression
{ ruleName = "primaryExpression"; }
	:	valueCall
	|	BAND^ variable
	|	constant1
	|	( IDENT EXCLAMATION variable )=> chParIdent EXCLAMATION^ variable
	|	( IDENT EXCLAMATION )=> chParIdent EXCLAMATION^
	|	( IDENT QUESTION primaryExpression )=> chParIdent QUESTION^ primaryExpression
	|	( IDENT QUESTION )=> chParIdent QUESTION^
	|	( variable )=> variable
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
	:	( IDENT lparen STAR )=>
		chParIdent lparen! STAR comma! chParIdent2 rparen!
		orOp! chParIdent lparen! STAR! comma! chParIdent2! rparen!
	|	( IDENT lparen IDENT )=>
		chParIdent lparen! IDENT comma! STAR rparen!
		orOp! chParIdent lparen! chParIdent2! comma! STAR! rparen!
	;

orOp
	:	OR
	;
	exception catch [ANTLR_USE_NAMESPACE(antlr)RecognitionException& ex] { reportOnly(ex); }

procArgName
	:	IDENT
	;

formalParamName
	:	IDENT
	;
