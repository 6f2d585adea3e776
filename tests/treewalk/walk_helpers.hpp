// Walks hand-built trees and translates sources, and renders what came out.
#pragma once
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "compiler/core/core.hpp"
#include "diag.hpp"
#include "tool_run.hpp"

// A tree from "(ROOT child ...)" and leaves "NAME" or "NAME:text" (names from
// the shared token table; the text defaults to the name). Each node is placed
// at line = its preorder number from 1 and column = its depth from 1, so a
// diagnostic's place tells which node was matched last. "" is the empty tree.
RefQUV_AST buildTree(const std::string& text);

// Takes a tree apart one node at a time: a very deep tree would exhaust the
// stack if its nodes were released recursively.
void releaseDeepTree(RefQUV_AST tree);

struct WalkResult {
    std::vector<Diag> diags;
    std::vector<std::string> details;
    bool filesWritten = false;  // the ".cpp" file exists after the walk
    std::string thrown;         // what ended the walk by an exception, empty when it returned
    std::string cpp;            // the top fragment's C++ text after the walk
    int programKind = -1;
    std::string threadDeclarations;  // those the program still needs after the walk
};

// Walks the tree with `program`, as the driver sets it up, writing into a fresh folder.
WalkResult walkTree(RefQUV_AST tree);

// Writes `source` as folder/name.e and runs "quvdump translate name.e" in
// that folder, a fresh one that goes with the last copy of the translation.
struct Translation {
    std::shared_ptr<const TempFolder> owner;
    std::string folder;
    std::string diagLines;  // quvdump's standard output
    std::string cpp, proto, inner, err, typeset;
};
Translation translate(const std::string& name, const std::string& source);

// Builds the translation's ".cpp" file with g++ (optimised, and with the
// further options given: a sanitizer) against the run-time header and runs it
// in the translation's folder under a time limit, with `input` as its
// standard input (at its end, there is no more).
struct ProgramRun {
    std::string compilerOutput;  // empty when it compiled cleanly
    int status = -1;             // the program's exit status; 124 when it hung
    std::string out;             // its standard output and error
};
ProgramRun buildAndRun(const Translation& t, const std::string& name, const std::string& options = "",
                       const std::string& input = "");
