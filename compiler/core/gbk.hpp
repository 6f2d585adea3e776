// The one place where text changes code page: the compiler's 8-bit strings hold
// Chinese text as GBK bytes, while our sources and the wx layer use UTF-8.
#pragma once
#include <string>

namespace gbk {
// UTF-8 -> GBK bytes. Characters GBK cannot hold become '?'.
std::string fromUtf8(const std::string& utf8);
// GBK bytes -> UTF-8. Invalid sequences become U+FFFD.
std::string toUtf8(const std::string& gbkText);
}
