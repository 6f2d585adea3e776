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
    for (;;) {
        const antlr::RefToken token = lexer.nextToken();
        const int type = token->getType();
        std::cout << token->getLine() << ':' << token->getColumn() << ' ' << type
                  << ' ' << quvTokenName(type) << ' '
                  << escapeText(token->getText()) << '\n';
        if (type == antlr::Token::EOF_TYPE)
            break;
    }
    printDiagnostics(std::cout);
    return kExitOk;
}

} // namespace quvdump
