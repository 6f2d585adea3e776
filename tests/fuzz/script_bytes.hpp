// The bytes of one fuzz input (or of a seeded random run in the tests) read
// as a script: small numbers that pick operations and names, and pieces of
// text. Past the end every read gives zero or an empty text, so any input is
// a whole script.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

class ScriptBytes {
public:
    ScriptBytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool done() const { return at_ >= size_; }
    std::uint8_t byte() { return done() ? 0 : data_[at_++]; }
    // A number below `count` (count > 0).
    std::size_t pick(std::size_t count) { return byte() % count; }
    // A number below 65,536 from two bytes.
    std::size_t word() { return byte() | static_cast<std::size_t>(byte()) << 8; }
    // A text of up to `most` bytes: its length first, then its bytes.
    std::string text(std::size_t most)
    {
        const std::size_t length = pick(most + 1);
        std::string piece;
        while (piece.size() < length && !done())
            piece += static_cast<char>(byte());
        return piece;
    }
    // Everything not read yet.
    std::string rest()
    {
        std::string all(reinterpret_cast<const char*>(data_) + at_, size_ - at_);
        at_ = size_;
        return all;
    }
    // The text up to the next byte `mark` (which is skipped), or the rest.
    std::string upTo(char mark)
    {
        std::string piece;
        while (!done()) {
            const char c = static_cast<char>(byte());
            if (c == mark)
                break;
            piece += c;
        }
        return piece;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// Bytes as a failure message shows them: quoted, with every byte outside
// printable ASCII (and the quote and backslash) as \xHH.
inline std::string shown(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out + "\"";
}
