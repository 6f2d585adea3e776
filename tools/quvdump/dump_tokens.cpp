#include <charconv>
#include <iostream>
#include <sstream>
#include <string_view>
#include <typeinfo>
#include <vector>

#include "compiler/lexer/lexer.hpp"
#include "tools/quvdump/dump_common.hpp"
#include "tools/quvdump/verbs.hpp"

namespace quvdump {

namespace {

// The names of the shared numbering with their lengths, measured once.
const std::vector<std::string_view>& tokenNames()
{
    static const std::vector<std::string_view> names(QUVTokenNames, QUVTokenNames + QUVTokenNameCount);
    return names;
}

// Appends text as appendEscapedText does; a text with nothing to escape (most
// are) is appended whole.
void appendTokenText(std::string& out, const std::string& text)
{
    for (const unsigned char c : text) {
        if (c < 32 || c > 126 || c == '\\') {
            appendEscapedText(out, text);
            return;
        }
    }
    out.append(text);
}

char* writeNumber(char* at, long value)
{
    return std::to_chars(at, at + 24, value).ptr;
}

}  // namespace

// "LINE:COLUMN TYPE NAME TEXT" per token, EOF included, then the diagnostics.
int dumpTokens(const std::string& path)
{
    std::istringstream in;
    if (const int status = openSource(path, in))
        return status;

    CompileSession session;
    JobState job(session, path);
    QUVSuperLexer lexer(in, job);
    lexer.setFilename(path);
    const std::vector<std::string_view>& names = tokenNames();
    // Lines are gathered into large blocks: one stream call per block, not per piece.
    std::string out;
    out.reserve(1 << 17);
    std::string copiedText;
    for (;;) {
        const antlr::RefToken token = lexer.nextToken();
        const int type = token->getType();
        // The three numbers, written into one piece.
        char numbers[80];
        char* at = writeNumber(numbers, token->getLine());
        *at++ = ':';
        at = writeNumber(at, token->getColumn());
        *at++ = ' ';
        at = writeNumber(at, type);
        *at++ = ' ';
        out.append(numbers, static_cast<size_t>(at - numbers));
        if (type >= 0 && type < QUVTokenNameCount)
            out.append(names[static_cast<size_t>(type)]);
        else
            out += quvTokenName(type);
        out += ' ';
        // The lexer's own tokens lend their text; any other is asked for a copy.
        const antlr::Token& raw = *token;
        if (typeid(raw) == typeid(QUVToken)) {
            appendTokenText(out, static_cast<const QUVToken&>(raw).textRef());
        } else {
            copiedText = raw.getText();
            appendTokenText(out, copiedText);
        }
        out += '\n';
        if (out.size() >= (1 << 16)) {
            std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
            out.clear();
        }
        if (type == antlr::Token::EOF_TYPE)
            break;
    }
    std::cout.write(out.data(), static_cast<std::streamsize>(out.size()));
    printDiagnostics(std::cout, job);
    return kExitOk;
}

} // namespace quvdump
