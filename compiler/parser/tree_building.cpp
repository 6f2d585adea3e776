// Tree operations of the parser's actions: position-keeping copies, the
// expansion of a name list into one declaration per name, and node placing.
#include "compiler/parser/parser.hpp"

void installNodeFactory(QUVParser& parser, antlr::ASTFactory& factory)
{
    factory.setASTNodeFactory("QUV_AST", &QUV_AST::factory);
    parser.initializeASTFactory(factory);
    parser.setASTFactory(&factory);
}

SourceParser::SourceParser(std::istream& in, const std::string& fileName)
    : lexer(in), parser(lexer)
{
    lexer.setFilename(fileName);
    installNodeFactory(parser, factory);
    parser.setFilename(fileName);
}

namespace {

// Structure, types and texts only; made through the factory so every copy is a QUV_AST.
RefQUV_AST duplicateTree(antlr::ASTFactory& factory, RefQUV_AST source)
{
    RefQUV_AST copy = RefQUV_AST(factory.create(source->getType(), source->getText()));
    for (RefQUV_AST child = RefQUV_AST(source->getFirstChild()); child;
         child = RefQUV_AST(child->getNextSibling())) {
        copy->addChild(duplicateTree(factory, child));
    }
    return copy;
}

}  // namespace

RefQUV_AST QUVParser::copySubtree(RefQUV_AST source)
{
    if (!source) return source;
    RefQUV_AST copy = duplicateTree(*astFactory, source);
    copyTreePositions(copy, source);
    return copy;
}

void QUVParser::copyTreePositions(RefQUV_AST copy, RefQUV_AST source)
{
    // Follows the shape of the copy, which is the source's or a part of it.
    while (copy && source) {
        copy->setPosition(source->getLine(), source->getColumn());
        if (copy->getFirstChild())
            copyTreePositions(RefQUV_AST(copy->getFirstChild()), RefQUV_AST(source->getFirstChild()));
        copy = RefQUV_AST(copy->getNextSibling());
        source = RefQUV_AST(source->getNextSibling());
    }
}

RefQUV_AST QUVParser::expandDeclarations(RefQUV_AST names, RefQUV_AST type, int nodeType,
                                         const char* nodeText, int line, int column)
{
    RefQUV_AST first;
    RefQUV_AST last;
    for (RefQUV_AST name = names; name; name = RefQUV_AST(name->getNextSibling())) {
        RefQUV_AST decl = RefQUV_AST(astFactory->create(nodeType, nodeText));
        decl->setPosition(line, column);
        decl->addChild(copySubtree(type));
        decl->addChild(copySubtree(name));
        if (last)
            last->setNextSibling(antlr::RefAST(decl));
        else
            first = decl;
        last = decl;
    }
    return first;
}

void QUVParser::placeAt(RefQUV_AST node, antlr::RefToken token)
{
    if (node && token) node->setPosition(token->getLine(), token->getColumn());
}

RefQUV_AST QUVParser::makeMainBlock(int type, const char* text, antlr::RefToken open,
                                    RefQUV_AST sections, RefQUV_AST body)
{
    RefQUV_AST block = RefQUV_AST(astFactory->create(type, text));
    placeAt(block, open);
    RefQUV_AST procedure = RefQUV_AST(astFactory->create(PROC_DECL, "ProcDeclaration"));
    if (body) procedure->setPosition(body->getLine(), body->getColumn());
    procedure->addChild(RefQUV_AST(astFactory->create(MAIN_PROBODY, "Main")));
    procedure->addChild(body);
    block->addChild(sections);
    block->addChild(procedure);
    return block;
}

void QUVParser::retypeBuiltin(antlr::RefAST root, int type, const char* text, antlr::RefToken first)
{
    RefQUV_AST node = RefQUV_AST(root);
    node->setType(type);
    node->setText(text);
    placeAt(node, first);
}
