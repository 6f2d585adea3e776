// The one place where text changes code page: the compiler's 8-bit strings hold
// Chinese text as GBK bytes, while our sources and the wx layer use UTF-8.
#pragma once
#include <string>

namespace gbk {
// UTF-8 -> GBK bytes. Characters GBK cannot hold become '?'.
std::string fromUtf8(const std::string& utf8);
// GBK bytes -> UTF-8. Invalid sequences become U+FFFD.
std::string toUtf8(const std::string& gbkText);
// True when the bytes are well-formed UTF-8 (ASCII included).
bool isUtf8(const std::string& bytes);
// A file name's bytes, or a text of the driver's that holds them (a stage
// line), as UTF-8 to show. Names on the file system are UTF-8 and stay as
// they are; bytes that are not UTF-8 came from where names are GBK (a
// project file written there) and are converted from GBK.
std::string fileNameToUtf8(const std::string& bytes);
}
