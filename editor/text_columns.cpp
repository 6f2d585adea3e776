#include "editor/text_columns.hpp"

namespace quvpad {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

int CharLength(const std::string& line, int col)
{
    int n = static_cast<int>(line.size());
    if (col < 0 || col >= n)
        return 0;
    if (IsLeadByte(static_cast<unsigned char>(line[col])) && col + 1 < n &&
        IsTrailByte(static_cast<unsigned char>(line[col + 1])))
        return 2;
    return 1;
}

// A trail byte can look like an ASCII letter, so boundaries are found by
// walking forwards from a known one. A character starts after every byte that
// cannot be a lead byte (it ends a character, alone or as a trail byte), so
// the walk starts after the last such byte before `col` and costs the run of
// possible lead bytes before `col`, not the whole line: a step back through an
// ASCII word costs one byte.
int CharStartAtOrBefore(const std::string& line, int col)
{
    if (col <= 0 || col >= static_cast<int>(line.size()))
        return col;
    int i = col;
    while (i > 0 && IsLeadByte(static_cast<unsigned char>(line[i - 1])))
        --i;
    while (true) {
        int next = i + CharLength(line, i);
        if (next > col)
            return i;
        i = next;
    }
}

int PreviousCharStart(const std::string& line, int col)
{
    if (col > static_cast<int>(line.size()))
        return col - 1;
    return CharStartAtOrBefore(line, col - 1);
}

} // namespace quvpad
