#include "compiler/core/quv_ast.hpp"

#include <ostream>
#include <string>
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

void writeStringTree(std::ostream& out, const antlr::RefAST& tree) {
    antlr::AST* const root = tree.get();
    if (!root)
        return;
    // The text is gathered into blocks, one stream call each: the log goes to
    // an unbuffered standard error.
    std::string block;
    block.reserve(1 << 16);
    auto flushIfFull = [&] {
        if (block.size() >= (1 << 16)) {
            out.write(block.data(), static_cast<std::streamsize>(block.size()));
            block.clear();
        }
    };
    // The nodes whose children are being written, each owing its " )".
    std::vector<antlr::AST*> open;
    antlr::AST* node = root;
    while (node) {
        if (antlr::AST* child = node->getFirstChild().get()) {
            block += " ( ";
            block += node->toString();
            open.push_back(node);
            node = child;
            flushIfFull();
            continue;
        }
        block += ' ';
        block += node->toString();
        flushIfFull();
        // On to the next sibling; at the end of a list its parent closes and
        // the parent's own next sibling follows. The root's siblings are not
        // part of its tree.
        while (true) {
            if (node == root) {
                node = nullptr;
                break;
            }
            if (antlr::AST* next = node->getNextSibling().get()) {
                node = next;
                break;
            }
            node = open.back();
            open.pop_back();
            block += " )";
        }
    }
    out.write(block.data(), static_cast<std::streamsize>(block.size()));
}
