// The typesetting pass: writes the token stream out again with every block
// bracket on a line of its own and the lines inside indented by TABs. The lexer
// runs in typesetting mode, so comments and line ends arrive as tokens.
#include "compiler/parser/parser.hpp"

#include <algorithm>
#include <limits>
#include <cctype>
#include <antlr/NoViableAltException.hpp>
#include <antlr/TokenStream.hpp>

std::string typesetText;
int typesetDepth = 0;
int indexBracketCount = 0;
int typesetState = -1;

namespace {

// Tokens consumed by the pass so far, and how far (in the same count) the
// items have looked ahead. An index trial sees the tokens up to that point as
// they were read, line ends included, and the tokens after it without comments
// and line ends, as the expression grammar expects.
long consumedTokens = 0;
long lookedAheadTo = 0;

using Types = QUVParserTokenTypes;

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Whether writing `right` directly after `left` would let the lexer read one
// token where there were two: names, numbers and keywords run together, and so
// do the characters of the operators of more than one character.
bool wouldJoin(char left, char right)
{
    if (isWordChar(left) && isWordChar(right)) return true;
    switch (left) {
    case '=': return right == '=' || right == '<' || right == '>';
    case '>': return right == '=' || right == '>';
    case '-': return right == '>';
    case '|': return right == '~' || right == '|' || right == '>';
    case '!': return right == '!';
    case '.': return right == '.' || isDigit(right);
    case '/': return right == '=' || right == '/' || right == '*';
    case '%': return std::isalpha(static_cast<unsigned char>(right)) != 0;
    default: return isDigit(left) && right == '.';
    }
}

bool isLayoutToken(int type)
{
    return type == Types::NEWLINE || type == Types::SL_COMMENT || type == Types::ML_COMMENT;
}

// The parser's tokens from the one after the index "[" on, without comments and
// line ends. They stay in the parser's buffer, so the pass still writes them.
class IndexTrialTokens : public antlr::TokenStream {
public:
    explicit IndexTrialTokens(QUVParser& parser_) : parser(parser_) {}

    antlr::RefToken nextToken() override
    {
        for (;;) {
            antlr::RefToken token = parser.LT(next);
            if (token->getType() == antlr::Token::EOF_TYPE) return token;
            const bool seenBefore = consumedTokens + static_cast<long>(next) <= lookedAheadTo;
            ++next;
            const bool layout = isLayoutToken(token->getType());
            if (layout && cleanTokens == noLayout) cleanTokens = handed;
            if (seenBefore || !layout) {
                ++handed;
                return token;
            }
        }
    }

    // How many tokens were handed before the first layout token was met
    // (handed or left out); noLayout while none was.
    static constexpr long noLayout = std::numeric_limits<long>::max();
    long cleanTokens = noLayout;

private:
    QUVParser& parser;
    unsigned next = 2;
    long handed = 0;
};

// Items after which a plain token and a line end write no separator.
bool endsLine(int previous)
{
    return previous == Types::LBRACKET || previous == Types::RBRACKET || previous == Types::NEWLINE;
}

// Plain tokens: everything the bracket, comment and tight-operator items leave.
bool isPlainToken(int type)
{
    return type >= 4 && type <= 272 && !(type >= Types::SL_COMMENT && type <= Types::RBRACKET) &&
           !(type >= Types::DOT && type <= Types::LNOT);
}

bool isTightOperator(int type)
{
    switch (type) {
    case Types::QUESTION: case Types::STAR: case Types::DOT: case Types::ARROW:
    case Types::EXCLAMATION: case Types::BAND: case Types::LNOT:
        return true;
    default:
        return false;
    }
}

}  // namespace

void QUVParser::appendTypeset(const std::string& text)
{
    if (!text.empty() && !typesetText.empty() && wouldJoin(typesetText.back(), text.front()))
        typesetText += ' ';
    typesetText += text;
}

// Whether the "[" at LT(1) opens an index: an expression and a "]" follow it.
// Trials over a stretch of tokens without layout tokens see the same tokens
// whichever "[" they start from, so what one trial worked out there is shared
// with the later ones (positions in the pass's own count): nested indexes are
// tried once each, not once per enclosing "[".
bool QUVParser::indexExpressionFollows()
{
    IndexTrialTokens tokens(*this);
    QUVParser trial(tokens);
    trial.setASTFactory(astFactory);
    trial.setFilename(getFilename());
    trial.inputState->guessing = 1;
    const long base = tokenPosition() + 1;
    trial.shareTrials(&typesetTrials, base, &tokens.cleanTokens);
    bool held = true;
    try {
        trial.expression();
        trial.match(RBRACKET);
    } catch (antlr::RecognitionException&) {
        held = false;
    }
    ruleName = trial.ruleName;
    if (tokens.cleanTokens == IndexTrialTokens::noLayout) {
        trial.trialOutcomes().forEach([&](TrialMemo::Rule rule, long position, const TrialMemo::Outcome& outcome) {
            TrialMemo::Outcome shared = outcome;
            shared.end += base;
            typesetTrials.remember(rule, position + base, std::move(shared));
        });
    }
    return held;
}

// Runs to the end of input; a token-stream failure ends the pass with what was
// written so far.
void QUVParser::typesetProgram()
{
    typesetState = -1;
    consumedTokens = 0;
    lookedAheadTo = 0;
    typesetTrials.clear();
    try {
        while (LA(1) != antlr::Token::EOF_TYPE) typesetState = typesetItem(typesetState);
    } catch (antlr::ANTLRException& ex) {
        throw antlr::ANTLRException(ex.getMessage());
    }
}

int QUVParser::typesetItem(int previous)
{
    antlr::RefToken first = LT(1);
    const int type = first->getType();
    const std::string text = first->getText();
    const int d = typesetDepth;
    typesettingMode = true;

    auto LA = [this](unsigned i) {
        lookedAheadTo = std::max(lookedAheadTo, consumedTokens + static_cast<long>(i));
        return QUVParser::LA(i);
    };
    // Tokens ahead that are line ends, counted from position `from`.
    auto skipLineEnds = [&LA](unsigned from) {
        while (LA(from) == NEWLINE) ++from;
        return from;
    };
    auto consumeTokens = [this](unsigned count) {
        for (unsigned i = 0; i < count; ++i) consume();
        consumedTokens += count;
    };
    auto consume = [&consumeTokens]() { consumeTokens(1); };

    if (type == SL_COMMENT) {
        consume();
        appendTypeset(text + base::indent(d));
        return type;
    }
    if (type == ML_COMMENT) {
        consume();
        appendTypeset(text);
        return type;
    }
    if ((type == QUESTION || type == STAR) && LA(2) == LBRACKET) {
        consumeTokens(2);
        appendTypeset("\n" + base::indent(d) + text + "[\n" + base::indent(d + 1));
        typesetDepth = d + 1;
        return LBRACKET;
    }
    if (type == RBRACKET && LA(2) == SEMI) {
        consumeTokens(2);
        typesetDepth = d - 1;
        appendTypeset("\n" + base::indent(d - 1) + "];\n" + base::indent(d - 1));
        return SEMI;
    }
    if (isTightOperator(type)) {
        consume();
        appendTypeset(text);
        return type;
    }
    if (type == LBRACKET && LA(skipLineEnds(2)) == RBRACKET) {
        consumeTokens(skipLineEnds(2));
        appendTypeset("[]");
        return RBRACKET;
    }
    if (type == RBRACKET && LA(2) == DOT && LA(skipLineEnds(3)) == antlr::Token::EOF_TYPE) {
        consumeTokens(skipLineEnds(3) - 1);
        typesetDepth = d - 1;
        appendTypeset("\n" + base::indent(d - 1) + "].");
        return -1;
    }
    if (type == LBRACKET && LA(skipLineEnds(2)) == LBRACKET) {
        consume();
        appendTypeset("\n" + base::indent(d) + "[");
        typesetDepth = d + 1;
        return LBRACKET;
    }
    if (type == LBRACKET && indexExpressionFollows()) {
        consume();
        appendTypeset("[");
        ++indexBracketCount;
        return LBRACKET;
    }
    if (type == LBRACKET || (type == NEWLINE && LA(2) == LBRACKET)) {
        consumeTokens(type == NEWLINE ? 2 : 1);
        appendTypeset("\n" + base::indent(d) + "[\n" + base::indent(d + 1));
        typesetDepth = d + 1;
        return type;
    }
    if (type == RBRACKET) {
        const int after = LA(skipLineEnds(2));
        consume();
        if (after == RBRACKET || after == LBRACKET) {
            typesetDepth = d - 1;
            appendTypeset("\n" + base::indent(d - 1) + "]");
        } else if (indexBracketCount > 0) {
            --indexBracketCount;
            appendTypeset("]");
        } else {
            typesetDepth = d - 1;
            appendTypeset("\n" + base::indent(d - 1) + "]\n" + base::indent(d - 1));
        }
        return RBRACKET;
    }
    if (type == NEWLINE) {
        consume();
        if (!endsLine(previous)) appendTypeset("\n" + base::indent(d));
        return NEWLINE;
    }
    // A token that no item knows is still written, so no source text is lost.
    if (!isPlainToken(type)) reportError(antlr::NoViableAltException(first, getFilename()));
    consume();
    appendTypeset(endsLine(previous) ? text : text + " ");
    return type;
}
