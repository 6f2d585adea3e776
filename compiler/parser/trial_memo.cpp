// The token count of the parser and the remembered outcomes of its trials.
#include <exception>

#include <antlr/RecognitionException.hpp>

#include "compiler/parser/parser.hpp"

void QUVParser::consume()
{
    tokenWindow.consume();
    ++consumedCount;
    if (inputState->guessing == 0) trialMemo.forgetBefore(consumedCount);
}

// Trials mark and rewind in nested pairs, so the counts are kept as a stack.
unsigned int QUVParser::mark()
{
    markedPositions.push_back(consumedCount);
    return tokenWindow.mark();
}

void QUVParser::rewind(unsigned int pos)
{
    tokenWindow.rewind(pos);
    if (!markedPositions.empty()) {
        consumedCount = markedPositions.back();
        markedPositions.pop_back();
    }
}

// While guessing, a remembered outcome is replayed: the rule name it left, then
// a failure thrown to the trial or the tokens it matched consumed.
bool QUVParser::replayTrial(TrialMemo::Rule rule)
{
    if (inputState->guessing == 0) return false;
    long offset = 0;
    const TrialMemo::Outcome* outcome = trialMemo.find(rule, consumedCount);
    if (!outcome && sharedTrials && consumedCount <= *sharedCleanTokens) {
        outcome = sharedTrials->find(rule, consumedCount + sharedBase);
        offset = sharedBase;
    }
    if (!outcome) return false;
    ruleName = outcome->ruleName;
    if (!outcome->held) throw ANTLR_USE_NAMESPACE(antlr)RecognitionException("remembered failure");
    const long end = outcome->end - offset;
    // The token buffer only drops tokens it has read, so they are read first
    // (a shared outcome may cover tokens this parser has not looked at yet).
    if (end > consumedCount) LT(static_cast<unsigned int>(end - consumedCount));
    while (consumedCount < end) consume();
    return true;
}

QUVParser::TrialRecord::TrialRecord(QUVParser& parser_, TrialMemo::Rule rule_)
    : parser(parser_), rule(rule_), start(parser_.inputState->guessing > 0 ? parser_.consumedCount : -1),
      exceptions(start >= 0 ? std::uncaught_exceptions() : 0)
{
}

// A rule left by an exception failed; one that returned held.
QUVParser::TrialRecord::~TrialRecord()
{
    if (start < 0) return;
    TrialMemo::Outcome outcome;
    outcome.held = std::uncaught_exceptions() <= exceptions;
    outcome.end = parser.consumedCount;
    outcome.ruleName = parser.ruleName;
    parser.trialMemo.remember(rule, start, std::move(outcome));
}
