// The state of one typesetting pass. A typesetting job makes one before it
// builds the lexer and parser, hands it to QUVParser::typesetProgram and takes
// typesetText when that returns; the next job makes a new one, so every job
// starts afresh whatever the last one left.
//
//     TypesettingPass pass(job);           // the job's lexers now typeset
//     SourceParser source(in, path, job);
//     source.parser.typesetProgram(pass);  // may throw antlr::ANTLRException
//     use(pass.typesetText);               // also what was written before a throw
#pragma once
#include <memory>
#include <string>

#include "compiler/core/job_state.hpp"
#include "compiler/parser/trial_memo.hpp"

class TypesetJoinTest;

struct TypesettingPass {
    // Switches the job's typesetting on, so comments and line ends reach the
    // pass as tokens, and puts it back as it was when the pass ends.
    explicit TypesettingPass(JobState& job);
    ~TypesettingPass();
    TypesettingPass(const TypesettingPass&) = delete;
    TypesettingPass& operator=(const TypesettingPass&) = delete;

    // The reformatted source.
    std::string typesetText;
    // The longest text the pass writes: twice the longest source a job reads
    // (64 MiB), room for any source's layout. Its indentation grows with the
    // square of the depth, so only a source nested many thousand levels deep
    // reaches it; that one is refused with one diagnostic.
    static constexpr size_t maxTextBytes = size_t(128) << 20;
    // Indentation in TABs of the line being written.
    int typesetDepth = 0;
    // Index brackets opened and not yet closed.
    int indexBracketCount = 0;
    // What the previous item returned; -1 before the first.
    int typesetState = -1;
    // Tokens consumed by the pass so far, and how far (in the same count) the
    // items have looked ahead. An index trial sees the tokens up to that point
    // as they were read, line ends included, and the tokens after it without
    // comments and line ends, as the expression grammar expects.
    long consumedTokens = 0;
    long lookedAheadTo = 0;
    // The token typesetText ends with, which the next text might run into, and
    // the one written right before it without a blank: a number and a "."
    // followed by digits lex as one number. Both are empty after a blank or a
    // line end. The join test tells whether the next text runs into them
    // (made at its first use).
    std::string tokenBefore;
    std::string lastToken;
    std::unique_ptr<TypesetJoinTest> joinTest;
    // What the index trials worked out, for the later trials to share.
    TrialMemo indexTrials;

private:
    JobState& job;
    bool savedMode;
};
