// The lexer's character source: the whole stream read into memory at once, so
// a character of lookahead is an index into it rather than a trip through the
// runtime's queue and the stream. It behaves as the runtime's CharBuffer does:
// characters as 0..255, EOF past the end however far one looks or consumes,
// and marks that rewind in nested pairs.
#ifndef QUV_LEXER_SOURCE_BUFFER_HPP
#define QUV_LEXER_SOURCE_BUFFER_HPP

#include <cstddef>
#include <istream>
#include <streambuf>
#include <string>
#include <utility>

#include <antlr/InputBuffer.hpp>

class SourceBuffer final : public antlr::InputBuffer {
public:
    explicit SourceBuffer(std::istream& in) : text(readAll(in)) {}

    void reset() override
    {
        InputBuffer::reset();
        position = 0;
    }
    // Holds `source` in place of the text read so far, from its start.
    void restart(std::string source)
    {
        text = std::move(source);
        reset();
    }
    void consume() override { ++position; }
    void fill(unsigned int) override {}
    int getChar() override { return LA(1); }
    int LA(unsigned int i) override { return peek(i); }
    // LA without the virtual call, for a lexer that knows its buffer.
    int peek(unsigned int i) const
    {
        const std::size_t at = position + i - 1;
        return at < text.size() ? static_cast<unsigned char>(text[at]) : std::char_traits<char>::eof();
    }
    unsigned int mark() override
    {
        ++nMarkers;
        return static_cast<unsigned int>(position);
    }
    bool isMarked() const override { return nMarkers != 0; }
    void rewind(unsigned int mark) override
    {
        position = mark;
        --nMarkers;
    }
    unsigned int entries() const override
    {
        return position < text.size() ? static_cast<unsigned int>(text.size() - position) : 0;
    }

private:
    // Everything left in the stream's buffer, read in large pieces (not a
    // character at a time) and, like an istreambuf_iterator, without touching
    // the stream's state.
    static std::string readAll(std::istream& in)
    {
        std::string all;
        std::streambuf* source = in.rdbuf();
        if (!source) return all;
        char piece[1 << 16];
        for (;;) {
            const std::streamsize got = source->sgetn(piece, sizeof piece);
            if (got <= 0) break;
            all.append(piece, static_cast<std::size_t>(got));
        }
        return all;
    }

    std::string text;
    std::size_t position = 0;
};

// Holds the buffer of a lexer that is built over it: as a base listed before
// the lexer, it is made before the lexer and outlives it.
struct SourceBufferHolder {
    explicit SourceBufferHolder(std::istream& in) : sourceBuffer(in) {}
    SourceBuffer sourceBuffer;
};

#endif
