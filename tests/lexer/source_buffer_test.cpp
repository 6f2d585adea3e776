// The lexer's in-memory source: the same tokens as the runtime's stream
// buffer gave, on any bytes, and lookahead that behaves as the runtime's.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "compiler/lexer/lexer.hpp"
#include "lex_helpers.hpp"

namespace {

TEST(SourceBuffer, LookaheadConsumeMarkAndRewind)
{
    std::istringstream in(std::string("ab\xff", 3));
    SourceBuffer buffer(in);
    EXPECT_EQ(buffer.LA(1), 'a');
    EXPECT_EQ(buffer.LA(3), 0xff);
    EXPECT_EQ(buffer.LA(4), EOF);
    EXPECT_EQ(buffer.LA(100), EOF);
    const unsigned int start = buffer.mark();
    EXPECT_TRUE(buffer.isMarked());
    buffer.consume();
    EXPECT_EQ(buffer.LA(1), 'b');
    buffer.rewind(start);
    EXPECT_FALSE(buffer.isMarked());
    EXPECT_EQ(buffer.LA(1), 'a');
    for (int i = 0; i < 10; ++i) buffer.consume();  // past the end stays at the end
    EXPECT_EQ(buffer.LA(1), EOF);
    EXPECT_EQ(buffer.entries(), 0u);
}

TEST(SourceBuffer, EveryByteValueLexesAndTheStreamEnds)
{
    std::string bytes;
    for (int c = 0; c < 256; ++c) bytes += static_cast<char>(c);
    const LexResult result = lexAll(bytes + " x ");
    ASSERT_FALSE(result.tokens.empty());
    EXPECT_EQ(result.tokens.back().type, 1);  // EOF
}

TEST(SourceBuffer, LargeSourcesLexToTheEnd)
{
    std::string source;
    const int lines = 20000;
    for (int i = 0; i < lines; ++i) source += "LB" + std::to_string(i % 7) + " = name" + std::to_string(i) + " ;\n";
    const LexResult result = lexAll(source);
    EXPECT_TRUE(result.diags.empty());
    ASSERT_EQ(result.tokens.size(), 4u * lines + 1);
    const Tok& last = result.tokens[result.tokens.size() - 2];
    EXPECT_EQ(last.text, ";");
    EXPECT_EQ(last.line, lines);
}

TEST(TokenTypes, TheLastLexerTypeIsTheLastRule)
{
    EXPECT_EQ(QUVLastLexerTokenType, 280);
    EXPECT_EQ(quvTokenName(QUVLastLexerTokenType), "DOLLA_O_OR_LB");
    EXPECT_EQ(quvTokenName(QUVLastLexerTokenType + 1), "<281>");
}

}  // namespace
