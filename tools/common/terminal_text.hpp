// What the command-line tools show of the compiler's 8-bit text: the driver
// holds Chinese kind names and messages in GBK, while a terminal under a
// UTF-8 locale expects UTF-8. Files the compiler writes are never converted.
#pragma once
#include <string>

namespace terminal {

// The text in the terminal's encoding: kept as it is when the locale's
// character set is of the GBK family, converted to UTF-8 otherwise.
std::string fromGbk(const std::string& text);

// A file name, or a stage line that holds one, in the terminal's encoding:
// kept as it is when the locale is of the GBK family, else as UTF-8 (a
// name's own bytes when they are UTF-8, converted from GBK when not).
std::string fromFileName(const std::string& bytes);

// From now on, what the compiler writes to standard error reaches the
// terminal converted as fromGbk does; a piece that is UTF-8 as a whole
// (a report that names a file) passes unchanged. Call once, first thing in main.
void convertStandardError();

}  // namespace terminal
