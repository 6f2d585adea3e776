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
#pragma once
#include <string>

#include "compiler/core/code_fragment.hpp"

// The text of entry i of the diagnostic list, as the diagnostics file holds it.
std::string formatDiagnostic(int i);
