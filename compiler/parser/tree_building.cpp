// Tree operations of the parser's actions: position-keeping copies, the
// expansion of a name list into one declaration per name, and node placing.
#include "compiler/parser/parser.hpp"

#include <utility>
#include <vector>

namespace {

// The nodes of one subtree (the root and everything under it, not its siblings),
// counted with a stack of its own.
size_t countSubtreeNodes(RefQUV_AST root)
{
    if (!root) return 0;
    size_t count = 0;
    std::vector<antlr::RefAST> pending{antlr::RefAST(root)};
    while (!pending.empty()) {
        antlr::RefAST node = pending.back();
        pending.pop_back();
        ++count;
        for (antlr::RefAST child = node->getFirstChild(); child; child = child->getNextSibling())
            pending.push_back(child);
    }
    return count;
}

}  // namespace

void installNodeFactory(QUVParser& parser, antlr::ASTFactory& factory)
{
    factory.setASTNodeFactory("QUV_AST", &QUV_AST::factory);
    parser.initializeASTFactory(factory);
    parser.setASTFactory(&factory);
}

SourceParser::SourceParser(std::istream& in, const std::string& fileName, JobState& job)
    : lexer(in, job), parser(lexer)
{
    parser.job = &job;
    lexer.setFilename(fileName);
    installNodeFactory(parser, factory);
    parser.setFilename(fileName);
}

void QUVParser::setASTFactory(antlr::ASTFactory* factory)
{
    antlr::LLkParser::setASTFactory(factory);
    if (factory) factory->setMaxNodeType(QUVLastLexerTokenType);
}

// A copy made through the factory, so every node is a QUV_AST, with the place
// of the node it copies. The tree is walked with a stack of its own and each
// child list keeps its tail, so neither depth nor breadth costs more than the
// nodes themselves.
RefQUV_AST QUVParser::copySubtree(RefQUV_AST source)
{
    if (!source) return source;
    auto copyNode = [this](const RefQUV_AST& node) {
        RefQUV_AST copy = RefQUV_AST(astFactory->create(node->getType(), node->getText()));
        copy->setPosition(node->getLine(), node->getColumn());
        return copy;
    };
    RefQUV_AST root = copyNode(source);
    std::vector<std::pair<RefQUV_AST, RefQUV_AST>> pending{{source, root}};
    while (!pending.empty()) {
        const RefQUV_AST from = pending.back().first;
        const RefQUV_AST to = pending.back().second;
        pending.pop_back();
        RefQUV_AST tail;
        for (RefQUV_AST child = RefQUV_AST(from->getFirstChild()); child;
             child = RefQUV_AST(child->getNextSibling())) {
            RefQUV_AST copy = copyNode(child);
            if (tail)
                tail->setNextSibling(antlr::RefAST(copy));
            else
                to->setFirstChild(antlr::RefAST(copy));
            tail = copy;
            pending.emplace_back(child, copy);
        }
    }
    return root;
}

void QUVParser::copyTreePositions(RefQUV_AST copy, RefQUV_AST source)
{
    // Follows the shape of the copy, which is the source's or a part of it.
    std::vector<std::pair<RefQUV_AST, RefQUV_AST>> pending{{copy, source}};
    while (!pending.empty()) {
        RefQUV_AST to = pending.back().first;
        RefQUV_AST from = pending.back().second;
        pending.pop_back();
        for (; to && from; to = RefQUV_AST(to->getNextSibling()), from = RefQUV_AST(from->getNextSibling())) {
            to->setPosition(from->getLine(), from->getColumn());
            if (to->getFirstChild())
                pending.emplace_back(RefQUV_AST(to->getFirstChild()), RefQUV_AST(from->getFirstChild()));
        }
    }
}

RefQUV_AST QUVParser::expandDeclarations(RefQUV_AST names, RefQUV_AST type, int nodeType,
                                         const char* nodeText, int line, int column)
{
    RefQUV_AST first;
    RefQUV_AST last;
    const size_t typeSize = countSubtreeNodes(type);
    for (RefQUV_AST name = names; name; name = RefQUV_AST(name->getNextSibling())) {
        copiedDeclarationNodes += typeSize + 1;
        if (copiedDeclarationNodes > declarationCopyAllowance
                + declarationCopiesPerToken * static_cast<size_t>(tokenPosition()))
            refuseNesting(*job, ruleName, line, column, getFilename());
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

bool QUVParser::readsAsEquation(RefQUV_AST condition)
{
    switch (condition->getType()) {
    case ASSIGN: return true;
    case QUESTION:
    case EXCLAMATION: return condition->getFirstChild() && condition->getFirstChild()->getNextSibling();
    default: return false;
    }
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
