// The diagnostic builders that describe types and symbols: operator and type
// mismatches, redeclared, ambiguous and mismatched references. They are apart
// from the records and the list, which the types and symbols use.
#include <string>
#include <vector>

#include "compiler/core/base.hpp"
#include "compiler/core/code_fragment.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/symbols.hpp"
#include "compiler/core/types.hpp"

namespace {

std::string typeText(const Type* t) {
    return t ? t->getTypeset() : std::string();
}

std::string seeText(int line, int column) {
    return "\tsee Line: " + std::to_string(line) + ", Col: " + std::to_string(column);
}

}  // namespace

// ---- semantic builders ----------------------------------------------------

QUVException& QUVException::makeIllegalOp(const std::string& op, const Type* t) {
    startAtWalker();
    return finish(OperatorTypeError, "illegal op: " + op + " with operand has type " + typeText(t));
}

QUVException& QUVException::makeIllegalBinaryOp(const std::string& op, const Type* left, const Type* right) {
    startAtWalker();
    return finish(OperatorTypeError, "illegal op: " + op + " with left operand has type " + typeText(left) +
                         " and right operand has type " + typeText(right));
}

QUVException& QUVException::makeIllegalTernaryOp(const std::string& op, const Type* a, const Type* b,
                                                 const Type* c) {
    startAtWalker();
    return finish(OperatorTypeError, "illegal op: " + op + " with 1th operand has type " + typeText(a) +
                                         " and 2th operand has type " + typeText(b) + " and 3th operand has type " +
                                         typeText(c));
}

QUVException& QUVException::makeIllegalFieldOp(const std::string& op, const Type* left, const std::string& field) {
    startAtWalker();
    return finish(OperatorTypeError, "illegal op: " + op + " with left operand has type " + typeText(left) +
                         " and right fieldname is " + field);
}

QUVException& QUVException::makeIllegalType(const Type* t, int allowedMask) {
    static const char* const names[] = {"Int", "Float", "String", "Bool"};
    std::string allowed;
    for (int bit = 0; bit < 4; ++bit) {
        if (!(allowedMask & (1 << bit)))
            continue;
        if (!allowed.empty())
            allowed += " or ";
        allowed += names[bit];
    }
    startAtWalker();
    return finish(TypeMismatchError, "illegal type: " + typeText(t) + "is not match the required type:" + allowed);
}

QUVException& QUVException::makeRedeclared(const std::string& name, const Node* earlier) {
    startAtWalker();
    return finish(RedeclaredError,
                  "Symbol " + name + " redeclared!\n " + seeText(earlier->getLine(), earlier->getColumn()));
}

QUVException& QUVException::makeAmbiguous(const std::string& name, const std::vector<Node*>& candidates) {
    std::string text = "Symbol " + name + " has too many reference! we will choose the first reference as the result!" +
                       base::newline();
    for (const Node* n : candidates)
        text += seeText(n->getLine(), n->getColumn());
    startAtWalker();
    return finish(AmbiguousReferenceError, text);
}

QUVException& QUVException::makeRefTypeMismatch(const std::string& name, int refKind, int defKind,
                                                const Node* definition) {
    startAtWalker();
    return finish(ReferenceMismatchError, "Symbol " + name + " 's reference type " + CodeNames::refKindName(refKind) +
                          " 's doesn't match its definition type " + CodeNames::defKindName(defKind) +
                          "!\n\t see Line: " + std::to_string(definition->getLine()) +
                          ", Col: " + std::to_string(definition->getColumn()));
}
