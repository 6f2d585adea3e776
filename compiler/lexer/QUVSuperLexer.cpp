#include "compiler/lexer/QUVSuperLexer.hpp"

#include <typeinfo>

#include <antlr/CharStreamIOException.hpp>
#include <antlr/TokenStreamIOException.hpp>
#include <antlr/TokenStreamRecognitionException.hpp>
#include <antlr/TokenStreamRetryException.hpp>

#include "compiler/core/core.hpp"

namespace {

struct LexerErrorClass {
    int kind;
    int number;
};

// Chosen by the exact class of the exception, not by a base class.
// Recognition and retry errors carry kind 0 rather than 1: that numbering is
// established in the diagnostics users see, so it stays.
LexerErrorClass classify(const antlr::ANTLRException& ex)
{
    const std::type_info& type = typeid(ex);
    if (type == typeid(antlr::CharStreamIOException))
        return {1, 0};
    if (type == typeid(antlr::TokenStreamIOException))
        return {1, 1};
    if (type == typeid(antlr::TokenStreamRecognitionException))
        return {0, 2};
    if (type == typeid(antlr::TokenStreamRetryException))
        return {0, 3};
    return {5, 21};
}

} // namespace

QUVSuperLexer::QUVSuperLexer(std::istream& in)
    : SourceBufferHolder(in), QUVLexer(sourceBuffer)
{
    useSourceBuffer(&sourceBuffer);
    setTokenObjectFactory(&QUVToken::factory);
}

antlr::RefToken QUVSuperLexer::nextToken()
{
    for (;;) {
        try {
            return QUVLexer::nextToken();
        } catch (const antlr::ANTLRException& ex) {
            reportLexerError(ex);
            // The failing rule stopped before this character; at the end of
            // the input this consumes nothing and the next call yields EOF.
            consume();
        }
    }
}

void QUVSuperLexer::reportLexerError(const antlr::ANTLRException& ex)
{
    const LexerErrorClass errorClass = classify(ex);
    QUVException(errorClass.kind, errorClass.number, getLine(), getColumn(),
                 ruleName, getFilename(), ex.getMessage());
}
