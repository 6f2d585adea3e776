// The search of a plain text as bytes that finds the line of each match in
// the same pass: find in files shows a line per match, and counting the line
// feeds between matches in a second pass over the bytes cost as much as the
// search itself when a common text is found many times.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

namespace ide {

// The matches of a text in bytes, leftmost first and none overlapping, as
// repeated memmem calls from the end of each match find them.
class LiteralScan {
public:
    // `bytes` and `literal` must outlive the scan; `literal` is not empty.
    LiteralScan(const std::string& bytes, const std::string& literal);

    // The next match: false when there is none. `line` counts from 1: one
    // more than the line feeds before `offset`.
    bool Next(size_t& offset, int& line);

private:
    bool Matches(size_t at) const;

    const char* data_;
    size_t size_;
    const char* literal_;
    size_t length_;
    size_t block_ = 0;          // the first offset of the block in hand
    bool inBlock_ = false;
    uint64_t candidates_ = 0;   // offsets in the block where the first and last bytes agree
    uint64_t lineFeeds_ = 0;    // the block's line feeds
    size_t linesBefore_ = 0;    // line feeds before the block (or before tail_)
    bool inTail_ = false;       // past the blocks, trying one offset after another
    size_t tail_ = 0;           // the next offset to try there
    size_t allowed_ = 0;        // a match may not start before the end of the last one
};

// The line feeds among the bytes in [from, to).
size_t CountLineFeeds(const char* from, const char* to);

} // namespace ide
