#include "lex_helpers.hpp"

#include <sstream>

#include "compiler/core/core.hpp"
#include "compiler/lexer/lexer.hpp"
#include "tests/support/own_session.hpp"

bool operator==(const Tok& a, const Tok& b)
{
    return a.type == b.type && a.text == b.text && a.line == b.line && a.column == b.column;
}

std::ostream& operator<<(std::ostream& out, const Tok& tok)
{
    return out << "{" << tok.type << " " << quvTokenName(tok.type) << " \"" << tok.text
               << "\" " << tok.line << ":" << tok.column << "}";
}

bool operator==(const Diag& a, const Diag& b)
{
    return a.kind == b.kind && a.number == b.number && a.line == b.line && a.column == b.column;
}

std::ostream& operator<<(std::ostream& out, const Diag& diag)
{
    return out << "{kind " << diag.kind << " number " << diag.number << " at " << diag.line
               << ":" << diag.column << "}";
}

namespace {

} // namespace

LexResult lexAll(const std::string& source, bool typesetting)
{
    OwnJob job("t.e");
    job.typesetting = typesetting;
    std::istringstream in(source);
    QUVSuperLexer lexer(in, job);
    lexer.setFilename("t.e");

    LexResult result;
    for (;;) {
        antlr::RefToken token = lexer.nextToken();
        result.tokens.push_back(
            {token->getType(), token->getText(), token->getLine(), token->getColumn()});
        if (token->getType() == antlr::Token::EOF_TYPE)
            break;
    }
    result.records = job.records();
    for (const QUVException& ex : job.records())
        result.diags.push_back({ex.getKind(), ex.getNumber(), ex.getLine(), ex.getColumn()});
    return result;
}

std::vector<int> typesOf(const std::string& source, bool typesetting)
{
    std::vector<int> types;
    for (const Tok& tok : lexAll(source, typesetting).tokens)
        types.push_back(tok.type);
    return types;
}
