// The parser's tokens of lookahead, kept in a plain array with their types
// beside them: a lookahead is an index, not a trip through the runtime's
// token queue, its deferred consumption and a token's virtual getType. Tokens
// are read from the parser's own token buffer one at a time and only when a
// lookahead first reaches them, so the lexer runs (and files its diagnostics)
// at the same moments as it would under the runtime's buffer alone. Marks
// rewind in nested pairs, as the runtime's do.
#pragma once
#include <cstddef>
#include <vector>

#include <antlr/TokenBuffer.hpp>
#include <antlr/TokenRefCount.hpp>

class TokenWindow {
public:
    explicit TokenWindow(antlr::TokenBuffer& source_) : source(source_) {}
    TokenWindow(const TokenWindow&) = delete;
    TokenWindow& operator=(const TokenWindow&) = delete;

    int LA(unsigned int i)
    {
        const std::size_t at = head + i - 1;
        if (at >= types.size()) readUpTo(at);
        return types[at];
    }
    antlr::RefToken LT(unsigned int i)
    {
        const std::size_t at = head + i - 1;
        if (at >= types.size()) readUpTo(at);
        return tokens[at];
    }
    void consume()
    {
        ++head;
        // Tokens behind every mark are dropped now and then, in one move.
        if (markers == 0 && head >= dropAt && head * 2 >= tokens.size()) dropConsumed();
    }
    unsigned int mark()
    {
        ++markers;
        return static_cast<unsigned int>(head);
    }
    void rewind(unsigned int position)
    {
        head = position;
        if (markers > 0) --markers;
    }

private:
    static constexpr std::size_t dropAt = 4096;

    void readUpTo(std::size_t at)
    {
        while (types.size() <= at) {
            antlr::RefToken token = source.LT(1);
            source.consume();
            types.push_back(token->getType());
            tokens.push_back(token);
        }
    }
    void dropConsumed()
    {
        tokens.erase(tokens.begin(), tokens.begin() + static_cast<std::ptrdiff_t>(head));
        types.erase(types.begin(), types.begin() + static_cast<std::ptrdiff_t>(head));
        head = 0;
    }

    antlr::TokenBuffer& source;
    std::vector<antlr::RefToken> tokens;
    std::vector<int> types;
    std::size_t head = 0;  // index of LT(1)
    unsigned int markers = 0;
};
