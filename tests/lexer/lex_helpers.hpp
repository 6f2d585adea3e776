#ifndef QUV_TESTS_LEXER_LEX_HELPERS_HPP
#define QUV_TESTS_LEXER_LEX_HELPERS_HPP

#include <ostream>
#include <string>
#include <vector>

#include "compiler/core/diagnostics.hpp"

// A token as the parser sees it.
struct Tok {
    int type;
    std::string text;
    int line;
    int column;
};

bool operator==(const Tok& a, const Tok& b);
std::ostream& operator<<(std::ostream& out, const Tok& tok);

// A lexical diagnostic, reduced to what the lexer decides.
struct Diag {
    int kind;
    int number;
    int line;
    int column;
};

bool operator==(const Diag& a, const Diag& b);
std::ostream& operator<<(std::ostream& out, const Diag& diag);

struct LexResult {
    std::vector<Tok> tokens;  // up to and including EOF
    std::vector<Diag> diags;
    std::vector<QUVException> records;  // the diagnostics in full
};

// Scans source with QUVSuperLexer (file name "t.e") in a job of its own,
// typesetting as given.
LexResult lexAll(const std::string& source, bool typesetting = false);

// Only the token types, EOF included.
std::vector<int> typesOf(const std::string& source, bool typesetting = false);

#endif
