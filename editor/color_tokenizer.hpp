// The editor's own line-by-line colouring tokenizer for QUV/E source. It is
// independent of the compiler's lexer: it only has to pick colours, and the only
// state carried from one line to the next is whether a block comment is open.
#pragma once
#include <cstddef>
#include "editor/settings_block.hpp"
#include <string>

namespace quvpad {

// Lexer state at the start of a line.
enum LexState : int { StateNormal = 0, StateInBlockComment = 1 };

// The colouring vocabulary, searched in table order.
extern const char* const OperatorTable[40];
extern const char* const KeywordTable[51];
extern const char* const DirectiveTable[22];

bool IsKeyword(const std::string& word);
bool IsDirective(const std::string& word);
bool IsNumber(const std::string& word);
bool IsDefinitionLabel(const std::string& word);

// One token found at a position of a line: its colour class (0 to 10) and length.
struct ColorToken {
    int colorClass;
    size_t length;
};

// Scans the token that starts at `pos` of `line` (pos < line size) and updates
// `state`. Every token has at least one byte.
ColorToken ScanToken(const std::string& line, size_t pos, int& state);

// The state after the whole of `line` from `state`: what scanning its tokens one
// by one leaves, found without colouring them.
int LineEndState(const std::string& line, int state);

// Cuts one token off the front of `rest` (never empty) and reports it; returns
// whether characters remain after it.
bool NextToken(std::string& rest, int& state, std::string& token, int& colorClass, int& length);

} // namespace quvpad
