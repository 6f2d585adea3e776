// The parser's tree operations on hand-made trees: copies keep every place and
// share no node; a name list expands into one declaration per name.
#include <gtest/gtest.h>

#include <antlr/CommonToken.hpp>
#include <antlr/TokenStream.hpp>

#include "compiler/parser/parser.hpp"

namespace {

class EndOfInput : public antlr::TokenStream {
public:
    antlr::RefToken nextToken() override
    {
        return antlr::RefToken(new antlr::CommonToken(antlr::Token::EOF_TYPE, ""));
    }
};

class TreeOperationsTest : public ::testing::Test {
protected:
    TreeOperationsTest() : parser(input) { installNodeFactory(parser, factory); }

    RefQUV_AST node(int type, const std::string& text, int line, int column)
    {
        RefQUV_AST n = RefQUV_AST(factory.create(type, text));
        n->setPosition(line, column);
        return n;
    }

    // Preorder "TEXT@LINE:COLUMN" with children in parentheses; siblings of the root included.
    static std::string shape(RefQUV_AST t)
    {
        std::string out;
        for (; t; t = RefQUV_AST(t->getNextSibling())) {
            if (!out.empty()) out += " ";
            out += t->getText() + "@" + std::to_string(t->getLine()) + ":" + std::to_string(t->getColumn());
            if (t->getFirstChild()) out += "(" + shape(RefQUV_AST(t->getFirstChild())) + ")";
        }
        return out;
    }

    EndOfInput input;
    antlr::ASTFactory factory;
    QUVParser parser;
};

TEST_F(TreeOperationsTest, CopyOfNullIsNull)
{
    EXPECT_FALSE(parser.copySubtree(RefQUV_AST()));
}

TEST_F(TreeOperationsTest, CopyKeepsPlacesAndLeavesSiblingsBehind)
{
    RefQUV_AST record = node(QUVParser::RECORD, "RECORD", 2, 5);
    RefQUV_AST field = node(QUVParser::FIELD_DECL, "FieldDeclaration", 2, 14);
    field->addChild(node(QUVParser::INT, "INT", 2, 16));
    field->addChild(node(QUVParser::IDENT, "a", 2, 12));
    record->addChild(field);
    record->addChild(node(QUVParser::FIELD_DECL, "FieldDeclaration", 3, 7));
    record->setNextSibling(antlr::RefAST(node(QUVParser::IDENT, "after", 9, 9)));

    RefQUV_AST copy = parser.copySubtree(record);
    EXPECT_EQ(shape(copy),
              "RECORD@2:5(FieldDeclaration@2:14(INT@2:16 a@2:12) FieldDeclaration@3:7)");
    EXPECT_EQ(copy->getType(), QUVParser::RECORD);
    EXPECT_EQ(std::string(copy->typeName()), "QUV_AST");

    // The copy is independent: changing it leaves the source as it was.
    RefQUV_AST copiedField = RefQUV_AST(copy->getFirstChild());
    copiedField->setPosition(1, 1);
    copiedField->setFirstChild(antlr::nullAST);
    EXPECT_EQ(shape(RefQUV_AST(record->getFirstChild())),
              "FieldDeclaration@2:14(INT@2:16 a@2:12) FieldDeclaration@3:7");
}

TEST_F(TreeOperationsTest, ExpansionMakesOneDeclarationPerNameInOrder)
{
    RefQUV_AST names = node(QUVParser::IDENT, "a", 4, 3);
    names->setNextSibling(antlr::RefAST(node(QUVParser::IDENT, "b", 4, 6)));
    names->getNextSibling()->setNextSibling(antlr::RefAST(node(QUVParser::IDENT, "c", 4, 9)));
    RefQUV_AST type = node(QUVParser::POINT, "POINT", 4, 12);
    type->addChild(node(QUVParser::INT, "INT", 4, 18));

    RefQUV_AST decls = parser.expandDeclarations(names, type, QUVParser::SHARE_DECL,
                                                 "FieldDeclaration", 4, 3);
    EXPECT_EQ(shape(decls),
              "FieldDeclaration@4:3(POINT@4:12(INT@4:18) a@4:3) "
              "FieldDeclaration@4:3(POINT@4:12(INT@4:18) b@4:6) "
              "FieldDeclaration@4:3(POINT@4:12(INT@4:18) c@4:9)");
    EXPECT_EQ(decls->getType(), QUVParser::SHARE_DECL);

    // No two declarations share a type node, and the inputs are unchanged.
    RefQUV_AST second = RefQUV_AST(decls->getNextSibling());
    EXPECT_NE(decls->getFirstChild().get(), second->getFirstChild().get());
    EXPECT_NE(decls->getFirstChild().get(), antlr::RefAST(type).get());
    EXPECT_FALSE(type->getNextSibling());
    EXPECT_EQ(shape(names), "a@4:3 b@4:6 c@4:9");
}

TEST_F(TreeOperationsTest, ExpansionEdgeCases)
{
    RefQUV_AST type = node(QUVParser::INT, "INT", 1, 5);
    EXPECT_FALSE(parser.expandDeclarations(RefQUV_AST(), type, QUVParser::FIELD_DECL,
                                           "FieldDeclaration", 1, 1));

    RefQUV_AST one = parser.expandDeclarations(node(QUVParser::IDENT, "x", 1, 1), RefQUV_AST(),
                                               QUVParser::FIELD_DECL, "FieldDeclaration", 1, 3);
    EXPECT_EQ(shape(one), "FieldDeclaration@1:3(x@1:1)");
}

TEST(TokenNameTableTest, HasOneEntryPerSharedTokenType)
{
    EndOfInput input;
    QUVParser parser(input);
    ASSERT_EQ(parser.getNumTokens(), 273);
    const char* const* names = parser.getTokenNames();
    struct Row {
        int type;
        const char* name;
    } rows[] = {
        {0, "<0>"}, {1, "EOF"}, {2, "<2>"}, {3, "NULL_TREE_LOOKAHEAD"}, {4, "SYN"},
        {15, "INT"}, {49, "ProCall"}, {58, "QUVEOF"}, {78, "MULTI"}, {97, "\"ASYN\""},
        {104, "\"INT\""}, {155, "IDENT"}, {163, "LT_"}, {173, "\"MOD\""}, {207, "LBACKET"},
        {226, "\"QUVEOF\""}, {227, "\"QUVEof\""}, {264, "\"strlen\""}, {272, "DOLLA_O"},
    };
    for (const Row& row : rows) EXPECT_STREQ(names[row.type], row.name) << row.type;
    EXPECT_EQ(names[273], nullptr);
}

TEST(LabelRecordTest, StartsAsNoLabelAtNoPlace)
{
    LabelRecord record;
    EXPECT_EQ(record.name, "");
    EXPECT_EQ(record.line, -1);
    EXPECT_EQ(record.column, -1);
}

TEST(LabelStateTest, EachParserStartsEmpty)
{
    EndOfInput input;
    QUVParser parser(input);
    EXPECT_TRUE(parser.declaredLabels.empty());
    EXPECT_TRUE(parser.forwardLabels.empty());
    EXPECT_TRUE(parser.exitLabelNames.empty());
    EXPECT_EQ(parser.expectedLb, "");
    EXPECT_EQ(parser.labelMode, 0);
    EXPECT_FALSE(parser.collectExitLabel);
    EXPECT_STREQ(parser.ruleName, "");
}

}  // namespace
