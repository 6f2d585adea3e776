#include "compiler/lexer/lexer.hpp"

// Generated next to the lexer from the vocabulary ANTLR exported.
extern const char* const QUVLexerOnlyTokenNames[];

std::string quvTokenName(int type)
{
    if (type >= 0 && type < QUVTokenNameCount)
        return QUVTokenNames[type];
    if (type >= QUVTokenNameCount) {
        int count = 0;
        while (QUVLexerOnlyTokenNames[count] != nullptr)
            ++count;
        if (type - QUVTokenNameCount < count)
            return QUVLexerOnlyTokenNames[type - QUVTokenNameCount];
    }
    return "<" + std::to_string(type) + ">";
}
