#include <charconv>
#include <fstream>
#include <iostream>

#include "compiler/lexer/lexer.hpp"
#include "tools/quvdump/dump_common.hpp"
#include "tools/quvdump/verbs.hpp"

namespace quvdump {

// "LINE:COLUMN TYPE NAME TEXT" per token, EOF included, then the diagnostics.
int dumpTokens(const std::string& path)
{
    std::ifstream in;
    if (!openSource(path, in))
        return kExitUsage;

    QUVSuperLexer lexer(in);
    lexer.setFilename(path);
    // Lines are gathered into large blocks: one stream call per block, not per piece.
    std::string out;
    out.reserve(1 << 17);
    auto appendNumber = [&out](long value) {
        char digits[24];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        out.append(digits, static_cast<size_t>(end - digits));
    };
    for (;;) {
        const antlr::RefToken token = lexer.nextToken();
        const int type = token->getType();
        appendNumber(token->getLine());
        out += ':';
        appendNumber(token->getColumn());
        out += ' ';
        appendNumber(type);
        out += ' ';
        if (type >= 0 && type < QUVTokenNameCount)
            out += QUVTokenNames[type];
        else
            out += quvTokenName(type);
        out += ' ';
        appendEscapedText(out, token->getText());
        out += '\n';
        if (out.size() >= (1 << 16)) {
            std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
            out.clear();
        }
        if (type == antlr::Token::EOF_TYPE)
            break;
    }
    std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
    printDiagnostics(std::cout);
    return kExitOk;
}

} // namespace quvdump
