// Trees that the procedure, section, agent and sequence rules assemble by hand.
#include "compiler/parser/parser.hpp"

namespace {

RefQUV_AST lastSibling(RefQUV_AST node)
{
    while (node && node->getNextSibling()) node = RefQUV_AST(node->getNextSibling());
    return node;
}

}  // namespace

// The declaration's own root holds a copy of the name, so the header can keep the original.
RefQUV_AST QUVParser::makeDeclarationRoot(int kind, antlr::RefToken name, RefQUV_AST nameNode)
{
    RefQUV_AST root = RefQUV_AST(astFactory->create(kind, kind == PROC_DECL ? "PROC_DECL" : "PROS_DECL"));
    placeAt(root, name);
    RefQUV_AST copy = copySubtree(nameNode);
    if (copy) root->addChild(copy);
    return root;
}

RefQUV_AST QUVParser::finishProDeclaration(int kind, RefQUV_AST holder, antlr::RefToken name,
                                           RefQUV_AST head, RefQUV_AST root, RefQUV_AST tail)
{
    const char* headerText = kind == PROC_DECL ? "PROC_DECL_HEADER" : "PROS_DECL_HEADER";
    RefQUV_AST header = RefQUV_AST(astFactory->create(kind == PROC_DECL ? PROC_DECL_HEADER : PROS_DECL_HEADER,
                                                      headerText));
    placeAt(header, name);
    if (head) header->addChild(head);
    if (holder) appendHeader(holder, header);
    RefQUV_AST declaration = copySubtree(root);
    if (declaration && tail) declaration->addChild(tail);
    return declaration;
}

// Appends one header to a section's holder in constant time: the holder's last
// header is kept beside it until putHeadersFirst hands the headers on.
void QUVParser::appendHeader(RefQUV_AST holder, RefQUV_AST header)
{
    auto known = holderTails.find(holder.get());
    if (known != holderTails.end() && holder->getFirstChild() && !known->second.second->getNextSibling()) {
        known->second.second->setNextSibling(antlr::RefAST(header));
    } else {
        holder->addChild(header);
    }
    holderTails[holder.get()] = std::make_pair(holder, lastSibling(header));
}

RefQUV_AST QUVParser::newHolder()
{
    return RefQUV_AST(astFactory->create(PROC_DECL_HEADER, "PROC_DECL_HEADER"));
}

// Root, then every header of the section, then every declaration.
void QUVParser::putHeadersFirst(RefQUV_AST section, RefQUV_AST holder)
{
    if (!section || !holder) return;
    holderTails.erase(holder.get());
    RefQUV_AST headers = RefQUV_AST(holder->getFirstChild());
    if (!headers) return;
    RefQUV_AST declarations = RefQUV_AST(section->getFirstChild());
    section->setFirstChild(antlr::RefAST(headers));
    lastSibling(headers)->setNextSibling(antlr::RefAST(declarations));
    holder->setFirstChild(antlr::RefAST(antlr::nullAST));
}

// The package's copy becomes the agent; the process's header and a copy of its
// declaration follow the package's children. Without a package there is no agent.
RefQUV_AST QUVParser::makeAgent(RefQUV_AST package, RefQUV_AST holder, RefQUV_AST process)
{
    RefQUV_AST agent = copySubtree(package);
    if (!agent) return agent;
    agent->setText("AGENT_DECL");
    agent->setType(AGENT_DECL);
    RefQUV_AST header = holder ? RefQUV_AST(holder->getFirstChild()) : RefQUV_AST();
    if (header) agent->addChild(header);
    RefQUV_AST declaration = copySubtree(process);
    if (declaration) agent->addChild(declaration);
    return agent;
}

// The equations of a sequence are joined pairwise from the left by SEMI nodes:
// ((e1 ; e2) ; e3) ...; a single equation stands alone.
RefQUV_AST QUVParser::joinSequence(RefQUV_AST equations)
{
    RefQUV_AST joined = equations;
    RefQUV_AST next = equations ? RefQUV_AST(equations->getNextSibling()) : RefQUV_AST();
    if (joined) joined->setNextSibling(antlr::RefAST(antlr::nullAST));
    while (next) {
        RefQUV_AST right = next;
        next = RefQUV_AST(next->getNextSibling());
        right->setNextSibling(antlr::RefAST(antlr::nullAST));
        RefQUV_AST semi = RefQUV_AST(astFactory->create(SEMI, ";"));
        semi->addChild(joined);
        semi->addChild(right);
        joined = semi;
    }
    return joined;
}
