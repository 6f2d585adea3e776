// The lexer's in-memory source: the same tokens as the runtime's stream
// buffer gave, on any bytes, and lookahead that behaves as the runtime's.
#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

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

namespace {

// Random lookahead, consumes, marks and rewinds from fixed seeds against a
// plain model: the text, a position and the stack of marks.
TEST(SourceBufferStore, AgreesWithAStringAPositionAndAStackOfMarks)
{
    for (unsigned seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        std::string text;
        for (int n = static_cast<int>(random() % 40); n > 0; --n)
            text += static_cast<char>(random());
        std::istringstream in(text);
        SourceBuffer buffer(in);
        size_t position = 0;
        std::vector<size_t> marks;
        const auto at = [&](size_t i) {
            const size_t where = position + i - 1;
            return where < text.size() ? static_cast<unsigned char>(text[where]) : EOF;
        };
        for (int step = 0; step < 300; ++step) {
            switch (random() % 6) {
            case 0:
            case 1:
                buffer.consume();
                ++position;
                break;
            case 2:
                ASSERT_EQ(buffer.mark(), position);
                marks.push_back(position);
                break;
            case 3:
                if (!marks.empty()) {
                    buffer.rewind(static_cast<unsigned int>(marks.back()));
                    position = marks.back();
                    marks.pop_back();
                }
                break;
            case 4:
                if (random() % 8 == 0) {
                    buffer.reset();
                    position = 0;
                    marks.clear();
                }
                break;
            default:
                break;
            }
            const unsigned int i = 1 + random() % 5;
            ASSERT_EQ(buffer.LA(i), at(i)) << "step " << step;
            ASSERT_EQ(buffer.getChar(), at(1));
            ASSERT_EQ(buffer.isMarked(), !marks.empty());
            ASSERT_EQ(buffer.entries(), position < text.size() ? text.size() - position : 0);
        }
    }
}

} // namespace
