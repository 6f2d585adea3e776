// What every harness does around one input: each input gets a job of its
// own, so an input never sees what the one before it left.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "compiler/parser/parser.hpp"

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
