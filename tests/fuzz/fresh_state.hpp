// What every harness does around one input: the front end keeps its job state
// in globals, and an input must not see what the one before it left there.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "compiler/parser/parser.hpp"

// Empties the diagnostic list and puts the lexer mode and the indentation
// base back to how a new process starts them (a typesetting pass brings its
// own fresh state).
void startFreshJob();

// The front end writes each diagnostic to standard error as it is filed, and a
// closing line to standard output when a parse gives up; at thousands of
// inputs a second that only slows the fuzzer down and buries its log. Both
// C++ streams are silenced; libFuzzer and the sanitizers report without them.
void silenceFrontEnd();

// The input as the text of a source file.
std::string sourceText(const std::uint8_t* data, std::size_t size);

// Reads every node of a tree, without recursion, so a tree of any depth is
// checked; a node freed too early or a broken link shows up under the sanitizers.
std::size_t visitTree(RefQUV_AST root);
