#include <fstream>
#include <iostream>

#include "compiler/lexer/lexer.hpp"
#include "compiler/parser/parser.hpp"
#include "tools/quvdump/dump_common.hpp"
#include "tools/quvdump/verbs.hpp"

namespace quvdump {

namespace {

// One node per line in preorder, two blanks of indent per depth.
void printTree(std::ostream& out, RefQUV_AST node, int depth)
{
    for (; node; node = RefQUV_AST(node->getNextSibling())) {
        out << std::string(2 * depth, ' ') << quvTokenName(node->getType()) << " \""
            << escapeText(node->getText()) << "\" " << node->getLine() << ':' << node->getColumn()
            << '\n';
        printTree(out, RefQUV_AST(node->getFirstChild()), depth + 1);
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
