#include "editor/text_columns.hpp"

namespace quvpad {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
bool IsTrailByte(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }

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
// walking from the line start.
int CharStartAtOrBefore(const std::string& line, int col)
{
    if (col <= 0 || col >= static_cast<int>(line.size()))
        return col;
    int i = 0;
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
