// Trials written by hand where the generated ones would throw an exception
// at a token that already tells the outcome. Each runs the same rules in the
// same guessing mode, looks at the same tokens, and ends with the same rule
// name wherever that name can still reach a diagnostic.
#include <antlr/RecognitionException.hpp>

#include "compiler/parser/parser.hpp"

// ( dollaO variable )=> when the token after "$O" starts no designator: the
// generated trial enters variable and variable1, and variable1 finds no
// alternative.
bool QUVParser::designatorTrialFails()
{
    ruleName = "variable1";
    return false;
}

// ( variable )=> at "(" name x, where x is neither ")" nor a designator suffix:
// the generated trial enters variable and variable1, matches "(", reads the
// name as a whole designator (variable, variable1) and fails in rparen at x,
// leaving variable1's name behind. The parenthesised expression is parsed next.
bool QUVParser::parenthesisTrialFails()
{
    if (LA(1) != LPAREN || LA(2) != IDENT) return false;
    const int after = LA(3);
    if (after == RPAREN || startsDesignatorSuffix(after)) return false;
    ruleName = "variable1";
    return true;
}

namespace {

using Types = QUVParserTokenTypes;

bool isSimpleOperand(int type)
{
    switch (type) {
    case Types::INT_LITERAL: case Types::FLOAT_LITERAL: case Types::STRING_LITERAL:
    case Types::DOLLA_T: case Types::DOLLA_F:
    case Types::LITERAL_TT: case Types::LITERAL_tt: case Types::LITERAL_FF: case Types::LITERAL_ff:
        return true;
    default:
        return false;
    }
}

bool isBinaryOperator(int type)
{
    switch (type) {
    case Types::ASSIGN: case Types::LT_: case Types::LTE: case Types::GT: case Types::GTE: case Types::NE:
    case Types::DOLLA_V: case Types::DOLLA_C: case Types::PLUS: case Types::MINUS:
    case Types::STAR: case Types::DIV: case Types::MOD:
    case Types::LITERAL_MOD: case Types::LITERAL_Mod: case Types::LITERAL_mod:
        return true;
    default:
        return false;
    }
}

// Names after which a name is more than a plain operand: a channel operation
// or a designator suffix follows.
bool extendsName(int type)
{
    return type == Types::EXCLAMATION || type == Types::QUESTION || type == Types::DOT ||
           type == Types::ARROW || type == Types::LBRACKET;
}

}  // namespace

// Where a condition made only of plain operands (names, literals, each maybe
// after "~" or "-") and binary operators ends in "=>", the position of that
// "=>" as LA's argument, counted from `from`; 0 when the condition is anything
// else or longer than the scan goes. The expression rules accept exactly such
// a condition and look at exactly these tokens on their way to the "=>".
unsigned int QUVParser::plainConditionEnd(unsigned int from)
{
    constexpr unsigned int longest = 256;
    unsigned int at = from;
    for (;;) {
        if (at - from > longest) return 0;
        int type = LA(at);
        if (type == LNOT || type == MINUS) type = LA(++at);
        if (type == IDENT) {
            if (extendsName(LA(at + 1))) return 0;
        } else if (!isSimpleOperand(type)) {
            return 0;
        }
        const int next = LA(++at);
        if (next == IMPLY) return at;
        if (!isBinaryOperator(next)) return 0;
        ++at;
    }
}

// definitionalLabelEquation while guessing, where it runs no action and builds
// no tree: it enters its rules (and so the stack guard) in the same order,
// leaves the same rule name and tree, and matches LB "=" name. Whether it held.
bool QUVParser::guessLabelEquation()
{
    traceIn("definitionalLabelEquation");
    returnAST = RefQUV_AST(ANTLR_USE_NAMESPACE(antlr)nullAST);
    ruleName = "definitionalLabelEquation";
    static const char* const rules[] = {"lbLabel", "assign", "labelName"};
    static const int types[] = {LB, ASSIGN, IDENT};
    for (int i = 0; i < 3; ++i) {
        traceIn(rules[i]);
        if (LA(1) != types[i]) return false;
        consume();
    }
    return true;
}

// ( wait )=>: a wait's loop action opens with "$O (". When the token after
// "=>" is not "$O", or "$O" is not followed by "(", the generated trial fails
// in dollaO or lparen, having looked at exactly those tokens. Its rule name is
// never seen: the trial of the label equation that follows sets its own.
bool QUVParser::waitFollows()
{
    const unsigned int start = mark();
    ++inputState->guessing;
    bool held = false;
    try {
        if (guessLabelEquation()) {
            // A plain condition is not parsed here: the "=>" after it and the
            // two tokens after that decide, as they would at the end of its parse.
            const unsigned int imply = LA(1) == AND ? plainConditionEnd(2) : 0;
            if (imply != 0) {
                held = LA(imply + 1) == DOLLA_O && LA(imply + 2) == LPAREN;
                if (held) {
                    conditionPart();
                    match(IMPLY);
                    loopAction();
                    exitCondition();
                }
            } else {
                conditionPart();
                match(IMPLY);
                held = LA(1) == DOLLA_O && LA(2) == LPAREN;
                if (held) {
                    loopAction();
                    exitCondition();
                }
            }
        }
    } catch (ANTLR_USE_NAMESPACE(antlr)RecognitionException&) {
        held = false;
    }
    rewind(start);
    --inputState->guessing;
    return held;
}

// ( definitionalLabelEquation IMPLY )=> and ( definitionalLabelEquation andOp )=>:
// the token after the equation decides, as the generated match would.
bool QUVParser::labelEquationFollowedBy(int type)
{
    const unsigned int start = mark();
    ++inputState->guessing;
    const bool held = guessLabelEquation() && LA(1) == type;
    rewind(start);
    --inputState->guessing;
    return held;
}
