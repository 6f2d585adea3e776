// The search of a plain text with its lines in one pass, against a plain
// search that tries every offset and counts line feeds as it goes, over random
// bytes (fixed seeds) whose matches overlap, touch, cross the scan's blocks
// and end the bytes.
#include <algorithm>
#include <random>

#include <gtest/gtest.h>

#include "ide/model/literal_scan.hpp"

namespace ide {
namespace {

typedef std::vector<std::pair<size_t, int>> Matches;

Matches plainSearch(const std::string& bytes, const std::string& text)
{
    Matches out;
    int line = 1;
    size_t at = 0;
    while (at < bytes.size()) {
        const bool found = bytes.compare(at, text.size(), text) == 0;
        if (found)
            out.emplace_back(at, line);
        const size_t step = found ? text.size() : 1;
        line += static_cast<int>(std::count(bytes.begin() + at, bytes.begin() + at + step, '\n'));
        at += step;
    }
    return out;
}

Matches scan(const std::string& bytes, const std::string& text)
{
    Matches out;
    LiteralScan scan(bytes, text);
    size_t offset = 0;
    int line = 0;
    while (scan.Next(offset, line))
        out.emplace_back(offset, line);
    return out;
}

std::string randomBytes(std::mt19937& random, const std::string& alphabet, size_t size)
{
    std::string out(size, ' ');
    for (char& c : out)
        c = alphabet[random() % alphabet.size()];
    return out;
}

TEST(LiteralScan, FindsWhatTryingEveryOffsetFinds)
{
    struct Case {
        const char* what;
        std::string alphabet;   // of the bytes and the text
        size_t longestText;
    };
    const std::vector<Case> cases = {
        {"overlapping texts over few letters", "ab\n", 4},
        {"line ends of every kind", "a\r\n", 3},
        {"bytes of all values, NUL too", std::string("\0\x80\xff\n\xb0\xa1z", 8), 3},
        {"texts longer than a block", "aab\n", 90},
    };
    for (const Case& c : cases) {
        for (unsigned seed = 1; seed <= 300; ++seed) {
            std::mt19937 random(seed);
            // Sizes around the 64-byte blocks and a few of many blocks.
            const size_t size = seed % 10 == 0 ? 1000 + random() % 3000 : random() % 200;
            std::string bytes = randomBytes(random, c.alphabet, size);
            const std::string text = randomBytes(random, c.alphabet, 1 + random() % c.longestText);
            // Put the text in a few times, at the end too, so long texts are found.
            for (int k = 0; k < 3 && text.size() <= bytes.size(); ++k) {
                const size_t at = k == 0 ? bytes.size() - text.size() : random() % (bytes.size() - text.size() + 1);
                bytes.replace(at, text.size(), text);
            }
            ASSERT_EQ(scan(bytes, text), plainSearch(bytes, text)) << c.what << ", seed " << seed;
        }
    }
    EXPECT_EQ(scan("", "a"), Matches{});
    EXPECT_EQ(scan("a", "ab"), Matches{});
    EXPECT_EQ(scan(std::string(200, 'a'), "aaa").size(), 66u);
}

TEST(LiteralScan, CountsLineFeedsAsCountDoes)
{
    std::mt19937 random(7);
    // Runs of line feeds longer than a byte counter holds between its sums.
    std::string bytes = std::string(9000, '\n') + randomBytes(random, "\n\r.", 5000);
    for (int i = 0; i < 200; ++i) {
        const size_t from = random() % bytes.size();
        const size_t to = from + random() % (bytes.size() - from + 1);
        ASSERT_EQ(CountLineFeeds(bytes.data() + from, bytes.data() + to),
                  static_cast<size_t>(std::count(bytes.begin() + from, bytes.begin() + to, '\n')))
            << from << " to " << to;
    }
    EXPECT_EQ(CountLineFeeds(bytes.data(), bytes.data() + bytes.size()),
              static_cast<size_t>(std::count(bytes.begin(), bytes.end(), '\n')));
}

} // namespace
} // namespace ide
