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

// ( wait )=>: a wait's loop action opens with "$O (". When the token after
// "=>" is not "$O", or "$O" is not followed by "(", the generated trial fails
// in dollaO or lparen, having looked at exactly those tokens. Its rule name is
// never seen: the trial of the label equation that follows sets its own.
bool QUVParser::waitFollows()
{
    const unsigned int start = mark();
    ++inputState->guessing;
    bool held = true;
    try {
        definitionalLabelEquation();
        conditionPart();
        match(IMPLY);
        if (LA(1) != DOLLA_O || LA(2) != LPAREN) {
            held = false;
        } else {
            loopAction();
            exitCondition();
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
    bool held = true;
    try {
        definitionalLabelEquation();
        held = LA(1) == type;
    } catch (ANTLR_USE_NAMESPACE(antlr)RecognitionException&) {
        held = false;
    }
    rewind(start);
    --inputState->guessing;
    return held;
}
