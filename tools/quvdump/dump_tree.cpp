#include <charconv>
#include <iostream>
#include <memory>
#include <sstream>
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
void printTree(std::ostream& stream, RefQUV_AST node, int depth)
{
    // Lines are gathered into large blocks: one stream call per block.
    std::string out;
    out.reserve(1 << 17);
    auto appendNumber = [&out](long value) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        out.append(digits, static_cast<size_t>(end - digits));
    };
    std::vector<std::pair<RefQUV_AST, int>> pending;
    if (node) pending.emplace_back(node, depth);
    while (!pending.empty()) {
        RefQUV_AST current = pending.back().first;
        const int level = pending.back().second;
        pending.pop_back();
        out.append(static_cast<size_t>(2 * level), ' ');
        const int type = current->getType();
        if (type >= 0 && type < QUVTokenNameCount)
            out += QUVTokenNames[type];
        else
            out += quvTokenName(type);
        out += " \"";
        appendEscapedText(out, current->getText());
        out += "\" ";
        appendNumber(current->getLine());
        out += ':';
        appendNumber(current->getColumn());
        out += '\n';
        if (out.size() >= (1 << 16)) {
            stream.write(out.data(), static_cast<std::streamsize>(out.size()));
            out.clear();
        }
        // The sibling waits below the children, which print first.
        if (RefQUV_AST next = RefQUV_AST(current->getNextSibling())) pending.emplace_back(next, level);
        if (RefQUV_AST child = RefQUV_AST(current->getFirstChild())) pending.emplace_back(child, level + 1);
    }
    stream.write(out.data(), static_cast<std::streamsize>(out.size()));
}

int dumpParse(const std::string& path, void (QUVParser::*startRule)())
{
    std::istringstream in;
    if (const int status = openSource(path, in))
        return status;

    // The process ends right after printing, so the parser and its tree are
    // left to the end of the process instead of being released node by node
    // (as clang's -disable-free does). Under AddressSanitizer they are
    // released, so its leak check still sees every node.
    CompileSession session;
    JobState job(session, path);
    std::unique_ptr<SourceParser> source(new SourceParser(in, path, job));
    QUVParser& parser = source->parser;
    try {
        (parser.*startRule)();
    } catch (const antlr::ANTLRException& ex) {
        // Only a parse that cannot go on gets here; its diagnostic is already filed.
        std::cerr << "quvdump: parsing stopped: " << ex.getMessage() << '\n';
    }
    printTree(std::cout, RefQUV_AST(parser.getAST()), 0);
    printDiagnostics(std::cout, job);
#ifndef QUV_POOL_DISABLED
    source.release();
#endif
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
