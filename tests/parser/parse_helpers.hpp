// Runs the real lexer and parser over source text and renders the results.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "compiler/parser/parser.hpp"

struct Diag {
    int kind;
    int number;
    int line;
    int column;
    std::string rule;
};
bool operator==(const Diag& a, const Diag& b);
std::ostream& operator<<(std::ostream& out, const Diag& diag);

struct ParseResult {
    std::string tree;     // compact form, see compact()
    std::string dump;     // one node per line, as quvdump prints it
    std::vector<Diag> diags;
    std::string stdoutText;
};

// Parses with the start rule `program`.
ParseResult parseProgram(const std::string& source);
// Parses with the expression entry rule only.
ParseResult parseExpression(const std::string& source);

// "NAME:text" for a leaf, "(NAME:text child ...)" otherwise; siblings separated by blanks.
std::string compact(RefQUV_AST tree);

std::string readFile(const std::string& path);
