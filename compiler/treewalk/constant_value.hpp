// The value of a constant declaration: the literal's typeset and C++ texts,
// its constant kind and its type. The constant rules of the walker fill it and
// the constant's declaration emitter reads its C++ text.
#pragma once
#include <string>

#include "compiler/core/code_fragment.hpp"

class ConstantValue : public CodeFragment {
public:
    // Kinds: 0 integer, 1 float, 2 string, 3 and 4 true and false of Logic,
    // 5 and 6 true and false of BOOL, 7 negative integer, 8 negative float
    // (text without its sign). Another kind is an internal failure.
    void newConstant(int kind, const std::string& text);

    int getKind() const { return kind; }
    Type* getType() const { return type; }

private:
    int kind = -1;
    Type* type = nullptr;
};
