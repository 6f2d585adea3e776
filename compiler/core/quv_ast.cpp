#include "compiler/core/quv_ast.hpp"

const char* const QUV_AST::TYPE_NAME = "QUV_AST";

namespace {
// How many references hold the node; the runtime only shows the count through getRef.
unsigned holders(const antlr::AST* node) {
    antlr::ASTRef* ref = antlr::ASTRef::getRef(node);
    unsigned count = ref->count - 1;
    ref->decrement();
    return count;
}
}  // namespace

QUV_AST::~QUV_AST() {
    antlr::RefAST next = getNextSibling();
    setNextSibling(antlr::nullAST);
    // A sibling someone else still holds keeps the rest of the list for them.
    while (next && holders(next.get()) == 1) {
        antlr::RefAST after = next->getNextSibling();
        next->setNextSibling(antlr::nullAST);
        next = after;
    }
}

void QUV_AST::initialize(antlr::RefToken t) {
    CommonAST::initialize(t);
    line = t->getLine();
    column = t->getColumn();
}

void QUV_AST::initialize(int type, const std::string& text) {
    CommonAST::initialize(type, text);
    line = -1;
    column = -1;
}

void QUV_AST::initialize(antlr::RefAST t) {
    CommonAST::initialize(t);
    // A copy made through the factory keeps the place of the node it copies.
    if (const QUV_AST* other = dynamic_cast<const QUV_AST*>(t.get())) {
        line = other->line;
        column = other->column;
    } else {
        line = -1;
        column = -1;
    }
}

antlr::RefAST QUV_AST::factory() {
    return antlr::RefAST(new QUV_AST);
}
