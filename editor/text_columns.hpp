// Character boundaries in an 8-bit line. Columns count bytes, but a GBK
// double-byte character (lead 0x81-0xFE, trail 0x40-0xFE except 0x7F) must never
// be split by the caret, a deletion or a selection end.
#pragma once
#include <string>

namespace quvpad {

bool IsLeadByte(unsigned char c);
bool IsTrailByte(unsigned char c);
// A letter or digit of ASCII: what word steps and double clicks take as a word.
bool IsAsciiAlnum(char c);
// Bytes of the character that starts at `col` (1 or 2); 0 at or past the end.
int CharLength(const std::string& line, int col);
// The character start at or before `col`; `col` itself outside 1..size-1.
int CharStartAtOrBefore(const std::string& line, int col);
// Start of the character before `col` (col > 0).
int PreviousCharStart(const std::string& line, int col);

} // namespace quvpad
