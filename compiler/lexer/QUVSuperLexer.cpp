#include "compiler/lexer/QUVSuperLexer.hpp"

#include "compiler/core/core.hpp"

QUVSuperLexer::QUVSuperLexer(std::istream& in, JobState& job_)
    : SourceBufferHolder(in), QUVLexer(sourceBuffer)
{
    job = &job_;
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
    QUVException(*job, QUVException::classOf(ex), getLine(), getColumn(), ruleName, getFilename(), ex.getMessage());
}
