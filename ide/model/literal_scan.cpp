#include "ide/model/literal_scan.hpp"

#include <cstring>

#ifdef __SSE2__
#include <emmintrin.h>
#endif

namespace ide {

namespace {

// Bytes are taken 64 at a time: a bit per byte in a 64-bit mask.
constexpr size_t kBlock = 64;

inline int bitCount(uint64_t bits) { return __builtin_popcountll(bits); }

// For the 64 offsets from `at`: where the first byte of the text and its last
// byte (length - 1 further on) agree with the text's, and where a line feed is.
inline void blockMasks(const char* at, size_t length, char first, char last, uint64_t& candidates,
                       uint64_t& lineFeeds)
{
    candidates = 0;
    lineFeeds = 0;
#ifdef __SSE2__
    const __m128i firsts = _mm_set1_epi8(first), lasts = _mm_set1_epi8(last), feeds = _mm_set1_epi8('\n');
    for (size_t i = 0; i < kBlock; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + i));
        const __m128i z = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at + length - 1 + i));
        const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(a, firsts), _mm_cmpeq_epi8(z, lasts));
        candidates |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(both))) << i;
        lineFeeds |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(a, feeds)))) << i;
    }
#else
    for (size_t i = 0; i < kBlock; ++i) {
        candidates |= static_cast<uint64_t>(at[i] == first && at[i + length - 1] == last) << i;
        lineFeeds |= static_cast<uint64_t>(at[i] == '\n') << i;
    }
#endif
}

} // namespace

LiteralScan::LiteralScan(const std::string& bytes, const std::string& literal)
    : data_(bytes.data()), size_(bytes.size()), literal_(literal.data()), length_(literal.size())
{
}

bool LiteralScan::Matches(size_t at) const { return std::memcmp(data_ + at, literal_, length_) == 0; }

bool LiteralScan::Next(size_t& offset, int& line)
{
    if (length_ == 0)
        return false;
    // Whole blocks while the last byte's view of a block stays inside the bytes.
    while (!inTail_ && block_ + kBlock + length_ - 1 <= size_) {
        if (!inBlock_) {
            blockMasks(data_ + block_, length_, literal_[0], literal_[length_ - 1], candidates_, lineFeeds_);
            inBlock_ = true;
        }
        while (candidates_ != 0) {
            const unsigned k = static_cast<unsigned>(__builtin_ctzll(candidates_));
            candidates_ &= candidates_ - 1;
            const size_t at = block_ + k;
            if (at < allowed_ || !Matches(at))
                continue;
            offset = at;
            line = 1 + static_cast<int>(linesBefore_) + bitCount(lineFeeds_ & ((uint64_t(1) << k) - 1));
            allowed_ = at + length_;
            return true;
        }
        linesBefore_ += static_cast<size_t>(bitCount(lineFeeds_));
        block_ += kBlock;
        inBlock_ = false;
    }
    // The rest, a byte at a time.
    if (!inTail_) {
        inTail_ = true;
        tail_ = block_;
    }
    while (tail_ + length_ <= size_) {
        const size_t at = tail_++;
        const bool found = at >= allowed_ && Matches(at);
        const int lineOfAt = 1 + static_cast<int>(linesBefore_);
        if (data_[at] == '\n')
            ++linesBefore_;
        if (found) {
            offset = at;
            line = lineOfAt;
            allowed_ = at + length_;
            return true;
        }
    }
    return false;
}

size_t CountLineFeeds(const char* from, const char* to)
{
    size_t n = 0;
#ifdef __SSE2__
    // Each byte lane counts up to 255 line feeds before the lanes are summed.
    const __m128i feeds = _mm_set1_epi8('\n'), zero = _mm_setzero_si128();
    while (to - from >= 16) {
        size_t blocks = static_cast<size_t>(to - from) / 16;
        if (blocks > 255)
            blocks = 255;
        __m128i lanes = zero;
        for (size_t i = 0; i < blocks; ++i, from += 16)
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)), feeds));
        const __m128i sums = _mm_sad_epu8(lanes, zero);
        n += static_cast<size_t>(_mm_extract_epi16(sums, 0)) + static_cast<size_t>(_mm_extract_epi16(sums, 4));
    }
#endif
    for (; from < to; ++from)
        n += *from == '\n';
    return n;
}

} // namespace ide
