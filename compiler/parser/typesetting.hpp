// State of the typesetting pass. The compile driver resets it before a
// typesetting job (text empty, depth and index count 0, typesettingMode on)
// and takes typesetText when QUVParser::typesetProgram returns.
#pragma once
#include <string>

// The reformatted source.
extern std::string typesetText;
// Indentation in TABs of the line being written.
extern int typesetDepth;
// Index brackets opened and not yet closed.
extern int indexBracketCount;
// What the previous item returned; -1 before the first.
extern int typesetState;
