// The typesetting pass: writes the token stream out again with every block
// bracket on a line of its own and the lines inside indented by TABs. The lexer
// runs in typesetting mode, so comments and line ends arrive as tokens.
#include "compiler/parser/parser.hpp"

#include <algorithm>
#include <cctype>
#include <limits>
#include <optional>
#include <sstream>
#include <utility>
#include <vector>
#include <antlr/NoViableAltException.hpp>
#include <antlr/TokenStream.hpp>

namespace {

using Types = QUVParserTokenTypes;

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

bool isDigit(char c)
{
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Whether a token ending in `left` and a text starting with `right` can run
// together at all: names, numbers and keywords, and the characters of the
// operators of more than one character. A quick test before asking the lexer;
// it must hold wherever the lexer would read the two otherwise.
bool mayJoin(char left, char right)
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

}  // namespace

// Whether a text written directly after the last tokens written would lex
// into other tokens than with a blank between them: "$O" then "r" is still
// "$O" and "r", but "$O" then "LB1" is one label, "=" then "=" is "==", and
// "1" and "." then "5" is a number. One lexer serves the whole pass, pointed
// at each text in turn: making one builds its keyword tables, which costs far
// more than reading a few characters.
class TypesetJoinTest {
public:
    TypesetJoinTest() : buffer(noInput), lexer(buffer) { lexer.useSourceBuffer(&buffer); }

    // `last` is the token the text so far ends with, `before` the one written
    // right before it with no blank between them (empty when there was one).
    bool runsInto(const std::string& before, const std::string& last, const std::string& text)
    {
        if (last.empty() || text.empty() || !mayJoin(last.back(), text.front())) return false;
        // A name, keyword or label takes every word character after it.
        if (std::isalpha(static_cast<unsigned char>(last.front())) && isWordChar(text.front())) return true;
        const std::string written = before + last;
        const std::optional<Tokens> joined = tokensOf(written + text);
        return !joined || joined != tokensOf(written + ' ' + text);
    }

private:
    using Tokens = std::vector<std::pair<int, std::string>>;

    // The tokens of text, in the mode the pass runs the lexer in; none when
    // the lexer stops at an error.
    std::optional<Tokens> tokensOf(std::string text)
    {
        buffer.restart(std::move(text));
        lexer.getInputState()->reset();
        Tokens tokens;
        try {
            for (antlr::RefToken token = lexer.nextToken(); token->getType() != antlr::Token::EOF_TYPE;
                 token = lexer.nextToken())
                tokens.emplace_back(token->getType(), token->getText());
        } catch (const antlr::ANTLRException&) {
            return std::nullopt;
        }
        return tokens;
    }

    std::istringstream noInput;
    SourceBuffer buffer;
    QUVLexer lexer;
};

TypesettingPass::TypesettingPass(JobState& job_) : job(job_), savedMode(job_.typesetting)
{
    job.typesetting = true;
}

TypesettingPass::~TypesettingPass()
{
    job.typesetting = savedMode;
}

namespace {

bool isLayoutChar(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isLayoutToken(int type)
{
    return type == Types::NEWLINE || type == Types::SL_COMMENT || type == Types::ML_COMMENT;
}

// The parser's tokens from the one after the index "[" on, without comments and
// line ends. They stay in the parser's buffer, so the pass still writes them.
class IndexTrialTokens : public antlr::TokenStream {
public:
    IndexTrialTokens(QUVParser& parser_, const TypesettingPass& pass_) : parser(parser_), pass(pass_) {}

    antlr::RefToken nextToken() override
    {
        for (;;) {
            antlr::RefToken token = parser.LT(next);
            if (token->getType() == antlr::Token::EOF_TYPE) return token;
            const bool seenBefore = pass.consumedTokens + static_cast<long>(next) <= pass.lookedAheadTo;
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
    const TypesettingPass& pass;
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

// A blank goes between two texts only where the lexer would read them
// otherwise without it. `token` is the item's first token: a text that does
// not end in layout is that token alone, or ends with a one-character token
// of its row ("[", "]" or the "." of "].").
void QUVParser::appendTypeset(const std::string& text, const std::string& token)
{
    if (text.empty()) return;
    TypesettingPass& pass = *typesetting;
    if (!pass.joinTest) pass.joinTest = std::make_unique<TypesetJoinTest>();
    const bool blank = pass.joinTest->runsInto(pass.tokenBefore, pass.lastToken, text);
    if (blank) pass.typesetText += ' ';
    pass.typesetText += text;
    if (isLayoutChar(text.back())) {
        pass.tokenBefore.clear();
        pass.lastToken.clear();
    } else if (text == token) {
        pass.tokenBefore = blank ? std::string() : pass.lastToken;
        pass.lastToken = token;
    } else {
        pass.tokenBefore.clear();
        pass.lastToken = text.substr(text.size() - 1);
    }
}

// Whether the "[" at LT(1) opens an index: an expression and a "]" follow it.
// Trials over a stretch of tokens without layout tokens see the same tokens
// whichever "[" they start from, so what one trial worked out there is shared
// with the later ones (positions in the pass's own count): nested indexes are
// tried once each, not once per enclosing "[".
bool QUVParser::indexExpressionFollows()
{
    TypesettingPass& pass = *typesetting;
    IndexTrialTokens tokens(*this, pass);
    QUVParser trial(tokens);
    trial.job = job;
    trial.setASTFactory(astFactory);
    trial.setFilename(getFilename());
    trial.inputState->guessing = 1;
    const long base = tokenPosition() + 1;
    trial.shareTrials(&pass.indexTrials, base, &tokens.cleanTokens);
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
            pass.indexTrials.remember(rule, position + base, std::move(shared));
        });
    }
    return held;
}

// Runs to the end of input; a token-stream failure ends the pass with what was
// written so far in pass.typesetText.
void QUVParser::typesetProgram(TypesettingPass& pass)
{
    struct Running {
        TypesettingPass*& current;
        Running(TypesettingPass*& current_, TypesettingPass& pass_) : current(current_) { current = &pass_; }
        ~Running() { current = nullptr; }
    } running(typesetting, pass);
    try {
        while (LA(1) != antlr::Token::EOF_TYPE) {
            if (job && job->stopRequested()) throw JobStopped();
            pass.typesetState = typesetItem(pass.typesetState);
        }
    } catch (NestingTooDeep&) {
        // Its diagnostic is filed: the caller files no other.
        throw;
    } catch (antlr::ANTLRException& ex) {
        throw antlr::ANTLRException(ex.getMessage());
    }
}

int QUVParser::typesetItem(int previous)
{
    antlr::RefToken first = LT(1);
    const int type = first->getType();
    const std::string text = first->getText();
    TypesettingPass& pass = *typesetting;
    int& typesetDepth = pass.typesetDepth;
    const int d = typesetDepth;

    auto LA = [this, &pass](unsigned i) {
        pass.lookedAheadTo = std::max(pass.lookedAheadTo, pass.consumedTokens + static_cast<long>(i));
        return QUVParser::LA(i);
    };
    // Tokens ahead that are line ends, counted from position `from`.
    auto skipLineEnds = [&LA](unsigned from) {
        while (LA(from) == NEWLINE) ++from;
        return from;
    };
    auto consumeTokens = [this, &pass](unsigned count) {
        for (unsigned i = 0; i < count; ++i) consume();
        pass.consumedTokens += count;
    };
    auto consume = [&consumeTokens]() { consumeTokens(1); };
    auto appendTypeset = [this, &text, &first, &pass](const std::string& piece) {
        if (pass.typesetText.size() + piece.size() + 1 > TypesettingPass::maxTextBytes)
            refuseNesting(*job, "typesetItem", first->getLine(), first->getColumn(), getFilename(),
                          "the source is nested too deeply to be typeset: its text would pass 128 MiB");
        QUVParser::appendTypeset(piece, text);
    };

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
        ++pass.indexBracketCount;
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
        } else if (pass.indexBracketCount > 0) {
            --pass.indexBracketCount;
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
