#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <antlr/ASTFactory.hpp>
#include <antlr/CommonToken.hpp>

#include "test_support.hpp"

namespace {

antlr::RefToken token(int type, const std::string& text, int line, int column) {
    antlr::RefToken t(new antlr::CommonToken(type, text));
    t->setLine(line);
    t->setColumn(column);
    return t;
}

TEST(QuvAstTest, NodesKeepTheirPlaceThroughTheFactoryAndCopies) {
    antlr::ASTFactory factory("QUV_AST", QUV_AST::factory);
    factory.setMaxNodeType(272);
    RefQUV_AST fromToken = RefQUV_AST(factory.create(token(155, "abc", 12, 4)));
    EXPECT_EQ(fromToken->getType(), 155);
    EXPECT_EQ(fromToken->getText(), "abc");
    EXPECT_EQ(fromToken->getLine(), 12);
    EXPECT_EQ(fromToken->getColumn(), 4);

    RefQUV_AST imaginary = RefQUV_AST(factory.create(73, "MainBlock"));
    EXPECT_EQ(imaginary->getLine(), -1);
    EXPECT_EQ(imaginary->getColumn(), -1);
    imaginary->setPosition(3, 9);
    EXPECT_EQ(imaginary->getLine(), 3);

    imaginary->addChild(fromToken);
    RefQUV_AST copy = RefQUV_AST(factory.dupTree(antlr::RefAST(imaginary)));
    EXPECT_EQ(copy->getLine(), 3);
    EXPECT_EQ(copy->getColumn(), 9);
    RefQUV_AST child = RefQUV_AST(copy->getFirstChild());
    ASSERT_TRUE(child);
    EXPECT_EQ(child->getLine(), 12);
    EXPECT_EQ(child->getText(), "abc");
    EXPECT_NE(child.get(), fromToken.get());
}

TEST(QuvAstTest, LongSiblingListsAreReleasedWithoutDeepRecursion) {
    antlr::ASTFactory factory("QUV_AST", QUV_AST::factory);
    factory.setMaxNodeType(272);
    RefQUV_AST head = RefQUV_AST(factory.create(155, "n0"));
    RefQUV_AST kept;
    RefQUV_AST last = head;
    for (int i = 1; i < 1000000; ++i) {
        RefQUV_AST node = RefQUV_AST(factory.create(155, "n" + std::to_string(i)));
        last->setNextSibling(antlr::RefAST(node));
        last = node;
        if (i == 999990)
            kept = node;
    }
    last = RefQUV_AST();
    head = RefQUV_AST();
    // A node held elsewhere keeps its own siblings.
    int rest = 0;
    for (RefQUV_AST n = kept; n; n = RefQUV_AST(n->getNextSibling()))
        ++rest;
    EXPECT_EQ(rest, 10);
    EXPECT_EQ(kept->getText(), "n999990");
}

TEST(QuvAstTest, DeepTreesAreReleasedWithoutRecursion) {
    antlr::ASTFactory factory("QUV_AST", QUV_AST::factory);
    factory.setMaxNodeType(272);
    // A million levels of first children, each with a sibling of its own:
    // the shape of a long left-deep sum, far past any stack.
    RefQUV_AST root = RefQUV_AST(factory.create(155, "top"));
    RefQUV_AST held;
    RefQUV_AST parent = root;
    for (int i = 0; i < 1000000; ++i) {
        RefQUV_AST child = RefQUV_AST(factory.create(155, "c"));
        child->setNextSibling(factory.create(155, "s"));
        parent->setFirstChild(antlr::RefAST(child));
        parent = child;
        if (i == 999000)
            held = child;
    }
    parent = RefQUV_AST();
    root = RefQUV_AST();
    // A subtree someone else holds survives with all its nodes.
    int depth = 0;
    for (RefQUV_AST n = held; n; n = RefQUV_AST(n->getFirstChild())) {
        ++depth;
        ASSERT_TRUE(n->getNextSibling());
        EXPECT_EQ(n->getNextSibling()->getText(), "s");
    }
    EXPECT_EQ(depth, 1000);
}

TEST(QuvAstTest, ReleasedNodesAreReusedAndFreshNodesStartClean) {
    antlr::ASTFactory factory("QUV_AST", QUV_AST::factory);
    factory.setMaxNodeType(272);
    for (int round = 0; round < 3; ++round) {
        std::vector<RefQUV_AST> nodes;
        for (int i = 0; i < 5000; ++i) {
            RefQUV_AST node = RefQUV_AST(factory.create(155, "n" + std::to_string(i)));
            EXPECT_FALSE(node->getFirstChild());
            EXPECT_FALSE(node->getNextSibling());
            EXPECT_EQ(node->getLine(), -1);
            if (!nodes.empty()) nodes.back()->addChild(node);
            nodes.push_back(node);
        }
        EXPECT_EQ(nodes[4999]->getText(), "n4999");
    }
}

}  // namespace
