// Text pieces from which the emitters build their output and the typesetting
// pass builds its indentation.
#pragma once
#include <string>

class base {
public:
    static std::string indent(int n);
    // Generated text carries no indentation: the depth is always zero.
    static std::string tab() { return indent(0); }
    static std::string lineFeed() { return "\n"; }
    static std::string newline() { return lineFeed() + tab(); }
    static std::string semicolon() { return ";"; }
    static std::string openBrace() { return newline() + "{" + newline(); }
    static std::string closeBrace() { return newline() + "}" + newline(); }
    static std::string openBracket() { return newline() + "[" + newline(); }
    static std::string closeBracket() { return newline() + "]" + newline(); }
};
