#ifndef QUV_LEXER_LEXER_HPP
#define QUV_LEXER_LEXER_HPP

// Public interface of the QUV/E lexer.
//
// The compiler builds a QUVSuperLexer over the opened source, names the file
// and hands the lexer to the parser as its token stream:
//
//     std::ifstream in(path, std::ios::binary);
//     QUVSuperLexer lexer(in, job);        // the job's JobState
//     lexer.setFilename(path);
//     QUVParser parser(lexer);
//
// QUVLexer alone stops at the first bad character with an
// antlr::TokenStreamException; QUVSuperLexer files a diagnostic for it, skips
// one character and goes on. Comments and line ends become tokens only while
// the job's typesetting switch is on.

#include <string>

#include "compiler/lexer/QUVLexer.hpp"
#include "compiler/lexer/QUVLexerTokenTypes.hpp"
#include "compiler/lexer/QUVSuperLexer.hpp"

// The token-name table of the shared numbering (types 0..272, 273 entries)
// followed by a null entry; the parser's generated table holds the same names.
extern const char* const QUVTokenNames[];
constexpr int QUVTokenNameCount = 273;

// The highest token type the lexer can give: its last rule (DOLLA_O_OR_LB).
// Every table indexed by token type (node factories, names) covers 0..this.
constexpr int QUVLastLexerTokenType = QUVLexerTokenTypes::DOLLA_O_OR_LB;

// The table entry for type; for the lexer-only types above 272 the rule name
// (DIGIT .. DOLLA_O_OR_LB); "<N>" for a type outside both.
std::string quvTokenName(int type);

#endif
