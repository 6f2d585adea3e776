#include "compiler/core/quv_ast.hpp"

#include <vector>

const char* const QUV_AST::TYPE_NAME = "QUV_AST";

namespace {
// The links of the nodes being released on this thread that still wait for
// their turn; null while no release is running.
thread_local std::vector<antlr::RefBaseAST>* pendingLinks = nullptr;
}  // namespace

// A node hands its child and sibling links to the release that runs on this
// thread, or starts one: the links are dropped one at a time from an explicit
// stack, so a tree of any depth or length is released without recursion. A
// node that someone else still holds only loses one holder and keeps its links.
QUV_AST::~QUV_AST() {
    if (!down && !right)
        return;
    if (pendingLinks) {
        if (down) pendingLinks->push_back(down);
        if (right) pendingLinks->push_back(right);
        down = antlr::RefBaseAST();
        right = antlr::RefBaseAST();
        return;
    }
    std::vector<antlr::RefBaseAST> links;
    pendingLinks = &links;
    if (down) links.push_back(down);
    if (right) links.push_back(right);
    down = antlr::RefBaseAST();
    right = antlr::RefBaseAST();
    while (!links.empty()) {
        // Taken out of the vector first: dropping the last holder runs the
        // node's destructor, which pushes its own links onto `links`.
        antlr::RefBaseAST link = links.back();
        links.pop_back();
    }
    pendingLinks = nullptr;
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
