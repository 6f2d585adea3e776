// A diagnostic as the parser and walker tests compare it: kind, number, place
// and rule of a record, printed in the form the expected rows are written in.
// Inline here rather than in the support library: the lexer tests link that
// library too and have a Diag of their own, without a rule.
#pragma once
#include <ostream>
#include <string>

struct Diag {
    int kind;
    int number;
    int line;
    int column;
    std::string rule;
};

inline bool operator==(const Diag& a, const Diag& b)
{
    return a.kind == b.kind && a.number == b.number && a.line == b.line && a.column == b.column &&
           a.rule == b.rule;
}

inline std::ostream& operator<<(std::ostream& out, const Diag& diag)
{
    return out << "{" << diag.kind << ", " << diag.number << ", " << diag.line << ", " << diag.column << ", \""
               << diag.rule << "\"}";
}
