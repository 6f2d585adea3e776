// The C++ code generator: the emitters that fill code fragments (declared on
// the fragment records in compiler/core/code_fragment.hpp), the naming
// functions of CodeNames, and the writer of the five output files of a source.
//
// How the tree walker drives it:
// - Section records (SectionFragment) start with count 0; call one section
//   emitter per item. Heads of a procedure part go through appendProc or
//   appendPros, bodies through createProcSection or createProsSection.
// - Procedure: createProcHead on the head fragment, record its typeset and C++
//   texts in the node (ProNode::setResult), later createFrameStruct with the
//   same ProNode and those texts. The main body: createFrameStruct with its
//   ProNode, "$Main" and two empty head texts; then the unit emitter
//   (createMain or createMMain) places the entry function after the main
//   body's nested procedures.
// - Process: createProsHead, ProNode::setResult, createProsBody on the same
//   fragment; later createFrameDecl.
// - A variable or parameter of an enclosing procedure is reached from a
//   nested one through the frames: its access text is
//   CodeNames::pointerDeref(C++ name, SymbolTable::getVarPath(node)). The
//   frame of a procedure holds a pointer to each of its parameters and locals.
// - The top fragment (TopFragment) is made by the driver before the walk; the
//   program rule hands it the main fragment through writeFiles.
// - The main body runs inside the program entry as a lambda, so the plain
//   "return ;" that ends every body also ends the main body.
//
// Expressions and statements:
// - A plain variable name: call setVariableAccess(getVarPath) on the node's
//   own access record and use that record; never delete it. Every other
//   access form, every operator and fromVariable/fromConstant return a new
//   object the caller deletes (as a CodeFragment) after its own emitter ran.
//   A literal: Constant::newConstant on a local Expression(), then fromConstant.
// - Operators are members of Expression called on the left or only operand
//   (an OperatorExpression): L->createAdd(R), C->createIfThenElse(T, E),
//   E->createCall(P). Their C++ texts come grouped in parentheses.
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
//   adds the ";") or, used as a value, to Expression::createCall, which takes
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
#include <string>

#include "compiler/core/code_fragment.hpp"

// The text of entry i of the diagnostic list, as the diagnostics file holds it.
std::string formatDiagnostic(int i);
