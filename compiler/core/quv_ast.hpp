// The node of every tree the parser builds and the tree walker reads: an ANTLR
// common AST node that remembers the source place of its token, so semantic
// diagnostics can point into the source.
#pragma once
#include <antlr/ASTRefCount.hpp>
#include <antlr/CommonAST.hpp>
#include <antlr/Token.hpp>
#include <iosfwd>

#include "compiler/core/object_pool.hpp"

class QUV_AST;
typedef antlr::ASTRefCount<QUV_AST> RefQUV_AST;

class QUV_AST : public antlr::CommonAST, public PoolAllocated<QUV_AST> {
public:
    QUV_AST() = default;
    QUV_AST(const QUV_AST& other) : CommonAST(other), line(other.line), column(other.column) {}
    // Releases the subtree and the rest of the sibling list without recursion
    // (an explicit stack per thread): the runtime's own release recurses once
    // per child and per sibling, and a deep or long tree would exhaust the stack.
    ~QUV_AST() override;

    const char* typeName() const override { return TYPE_NAME; }
    antlr::RefAST clone() const override { return antlr::RefAST(new QUV_AST(*this)); }

    void initialize(antlr::RefToken t) override;
    void initialize(int type, const std::string& text) override;
    void initialize(antlr::RefAST t) override;

    void addChild(RefQUV_AST child) { BaseAST::addChild(antlr::RefAST(child)); }
    void setPosition(int line_, int column_) {
        line = line_;
        column = column_;
    }
    int getLine() const { return line; }
    int getColumn() const { return column; }

    using PoolAllocated<QUV_AST>::operator new;
    using PoolAllocated<QUV_AST>::operator delete;

    // The node factory installed in the parser, so every node it makes is a QUV_AST.
    static antlr::RefAST factory();

    static const char* const TYPE_NAME;

private:
    int line = -1;
    int column = -1;
};

// Writes what `tree->toStringTree()` returns, byte for byte (" ( TEXT" before a
// node's children, " )" after them, " TEXT" for a leaf; the root's siblings are
// left out), without building the text as one string and without recursion: a
// tree of any depth or length streams in time linear in its size.
void writeStringTree(std::ostream& out, const antlr::RefAST& tree);
