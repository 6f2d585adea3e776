#include "compiler/core/quv_ast.hpp"

const char* const QUV_AST::TYPE_NAME = "QUV_AST";

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
