#include "parse_helpers.hpp"

#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "compiler/lexer/lexer.hpp"
#include "tests/support/own_session.hpp"

std::string compact(RefQUV_AST tree)
{
    std::string out;
    for (; tree; tree = RefQUV_AST(tree->getNextSibling())) {
        if (!out.empty()) out += " ";
        std::string node = quvTokenName(tree->getType()) + ":" + tree->getText();
        if (tree->getFirstChild())
            out += "(" + node + " " + compact(RefQUV_AST(tree->getFirstChild())) + ")";
        else
            out += node;
    }
    return out;
}

namespace {

void dumpTree(std::ostream& out, RefQUV_AST node, int depth)
{
    for (; node; node = RefQUV_AST(node->getNextSibling())) {
        out << std::string(2 * depth, ' ') << quvTokenName(node->getType()) << " \""
            << node->getText() << "\" " << node->getLine() << ':' << node->getColumn() << '\n';
        dumpTree(out, RefQUV_AST(node->getFirstChild()), depth + 1);
    }
}

std::vector<QUVException>& lastRecords()
{
    static std::vector<QUVException> records;
    return records;
}

ParseResult parse(const std::string& source, void (QUVParser::*rule)())
{
    OwnJob driver("t.e");
    std::istringstream in(source);
    SourceParser session(in, "t.e", driver);
    QUVParser& parser = session.parser;

    testing::internal::CaptureStdout();
    (parser.*rule)();
    ParseResult result;
    result.stdoutText = testing::internal::GetCapturedStdout();

    RefQUV_AST tree = RefQUV_AST(parser.getAST());
    result.tree = compact(tree);
    std::ostringstream dump;
    dumpTree(dump, tree, 0);
    result.dump = dump.str();
    result.records = driver.records();
    lastRecords() = driver.records();
    for (const QUVException& ex : driver.records())
        result.diags.push_back({ex.getKind(), ex.getNumber(), ex.getLine(), ex.getColumn(), ex.getRule()});
    return result;
}

}  // namespace

const std::vector<QUVException>& lastParseRecords()
{
    return lastRecords();
}

ParseResult parseProgram(const std::string& source)
{
    return parse(source, &QUVParser::program);
}

ParseResult parseExpression(const std::string& source)
{
    return parse(source, &QUVParser::expression);
}

void expectRecovery(const std::vector<RecoveryRow>& rows, std::string (*wrap)(const std::string&))
{
    for (const RecoveryRow& row : rows) {
        ParseResult result = parseProgram(wrap(row.piece));
        EXPECT_EQ(result.diags, row.diags) << row.piece;
        EXPECT_NE(result.tree.find(row.tree), std::string::npos) << row.piece << "\n" << result.tree;
    }
}
