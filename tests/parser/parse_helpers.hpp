// Runs the real lexer and parser over source text and renders the results.
#pragma once
#include <ostream>
#include <string>
#include <vector>

#include "compiler/parser/parser.hpp"
#include "tool_run.hpp"
#include "diag.hpp"

struct ParseResult {
    std::string tree;     // compact form, see compact()
    std::string dump;     // one node per line, as quvdump prints it
    std::vector<Diag> diags;
    std::string stdoutText;
    std::vector<QUVException> records;  // the diagnostics in full
};

// The diagnostics of the last parse in full.
const std::vector<QUVException>& lastParseRecords();

// Parses with the start rule `program`.
ParseResult parseProgram(const std::string& source);
// Parses with the expression entry rule only.
ParseResult parseExpression(const std::string& source);

// A source piece, the diagnostics its program must give, and a piece its tree must contain.
struct RecoveryRow {
    std::string piece;
    std::vector<Diag> diags;
    std::string tree;
};
// Parses each row's piece wrapped into a whole program by `wrap` and checks it.
void expectRecovery(const std::vector<RecoveryRow>& rows, std::string (*wrap)(const std::string&));

// "NAME:text" for a leaf, "(NAME:text child ...)" otherwise; siblings separated by blanks.
std::string compact(RefQUV_AST tree);

