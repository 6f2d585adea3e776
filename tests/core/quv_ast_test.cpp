#include <gtest/gtest.h>

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

}  // namespace
