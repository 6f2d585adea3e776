#include <fstream>
#include <iostream>
#include <utility>
#include <vector>

#include "compiler/lexer/lexer.hpp"
#include "compiler/parser/parser.hpp"
#include "tools/quvdump/dump_common.hpp"
#include "tools/quvdump/verbs.hpp"

namespace quvdump {

namespace {

// One node per line in preorder, two blanks of indent per depth. The tree is
// walked with a stack of its own, so a tree of any depth prints.
void printTree(std::ostream& out, RefQUV_AST node, int depth)
{
    std::vector<std::pair<RefQUV_AST, int>> pending;
    if (node) pending.emplace_back(node, depth);
    while (!pending.empty()) {
        RefQUV_AST current = pending.back().first;
        const int level = pending.back().second;
        pending.pop_back();
        out << std::string(2 * level, ' ') << quvTokenName(current->getType()) << " \""
            << escapeText(current->getText()) << "\" " << current->getLine() << ':' << current->getColumn()
            << '\n';
        // The sibling waits below the children, which print first.
        if (RefQUV_AST next = RefQUV_AST(current->getNextSibling())) pending.emplace_back(next, level);
        if (RefQUV_AST child = RefQUV_AST(current->getFirstChild())) pending.emplace_back(child, level + 1);
    }
}

int dumpParse(const std::string& path, void (QUVParser::*startRule)())
{
    std::ifstream in;
    if (!openSource(path, in))
        return kExitUsage;

    SourceParser source(in, path);
    QUVParser& parser = source.parser;
    try {
        (parser.*startRule)();
    } catch (const antlr::ANTLRException& ex) {
        // Only a parse that cannot go on gets here; its diagnostic is already filed.
        std::cerr << "quvdump: parsing stopped: " << ex.getMessage() << '\n';
    }
    printTree(std::cout, RefQUV_AST(parser.getAST()), 0);
    printDiagnostics(std::cout);
    return kExitOk;
}

} // namespace

// The tree of the whole program, then the diagnostics.
int dumpTree(const std::string& path)
{
    return dumpParse(path, &QUVParser::program);
}

// The tree of the file's text read as one expression, then the diagnostics.
int dumpExpression(const std::string& path)
{
    return dumpParse(path, &QUVParser::expression);
}

} // namespace quvdump
