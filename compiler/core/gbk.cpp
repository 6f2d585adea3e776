#include "compiler/core/gbk.hpp"

#include <cerrno>
#include <iconv.h>

namespace {

std::string convert(const std::string& in, const char* to, const char* from, const std::string& badChar,
                    size_t badSkip) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return in;
    std::string out;
    char buf[256];
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, dst - buf);
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // Unconvertible or truncated input: substitute and step over it.
            out += badChar;
            size_t skip = std::min(badSkip, srcLeft);
            src += skip;
            srcLeft -= skip;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    char* dst = buf;
    size_t dstLeft = sizeof buf;
    iconv(cd, nullptr, nullptr, &dst, &dstLeft);
    out.append(buf, dst - buf);
    iconv_close(cd);
    return out;
}

}  // namespace

namespace gbk {

std::string fromUtf8(const std::string& utf8) {
    return convert(utf8, "GBK", "UTF-8", "?", 1);
}

std::string toUtf8(const std::string& gbkText) {
    return convert(gbkText, "UTF-8", "GBK", "\xEF\xBF\xBD", 1);
}

}  // namespace gbk
