#ifndef QUV_LEXER_QUVSUPERLEXER_HPP
#define QUV_LEXER_QUVSUPERLEXER_HPP

#include <istream>
#include <string>

#include <antlr/ANTLRException.hpp>
#include <antlr/CommonToken.hpp>
#include <antlr/TokenRefCount.hpp>

#include "compiler/core/job_state.hpp"
#include "compiler/core/object_pool.hpp"

#include "compiler/lexer/QUVLexer.hpp"
#include "compiler/lexer/source_buffer.hpp"

// The lexer that the compiler hands to the parser: every lexical error becomes
// a diagnostic, the character where scanning stopped is skipped, and scanning
// goes on, so the parser always receives a complete stream ending in EOF.
// The lexer's tokens: common tokens whose storage comes from a pool.
class QUVToken : public antlr::CommonToken, public PoolAllocated<QUVToken> {
public:
    using PoolAllocated<QUVToken>::operator new;
    using PoolAllocated<QUVToken>::operator delete;
    static antlr::RefToken factory() { return antlr::RefToken(new QUVToken); }
    // The text itself; getText returns a copy.
    const std::string& textRef() const { return text; }
};

// The source is read into memory when the lexer is made (SourceBuffer).
class QUVSuperLexer : private SourceBufferHolder, public QUVLexer {
public:
    // Its diagnostics are filed into job, whose typesetting switch it reads.
    QUVSuperLexer(std::istream& in, JobState& job);

    antlr::RefToken nextToken() override;

    // Files one diagnostic for ex (kind and number by its exact class).
    void reportLexerError(const antlr::ANTLRException& ex);
};

#endif
