#include "compiler/core/gbk.hpp"

#include <cerrno>
#include <iconv.h>

namespace {

std::string convert(const std::string& in, const char* to, const char* from, const std::string& badChar,
                    size_t badSkip) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return in;
    // Closed however the conversion ends: a text too large for the memory
    // leaves by std::bad_alloc from an append.
    struct Closer {
        iconv_t cd;
        ~Closer() { iconv_close(cd); }
    } closer{cd};
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

bool isUtf8(const std::string& bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        size_t more;
        unsigned char low = 0x80, high = 0xBF;  // the bounds of the second byte
        if (c < 0x80) {
            ++i;
            continue;
        } else if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            if (c == 0xE0)
                low = 0xA0;  // no overlong form
            else if (c == 0xED)
                high = 0x9F;  // no surrogate
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;  // nothing above U+10FFFF
        } else {
            return false;
        }
        if (i + more >= bytes.size())
            return false;
        for (size_t k = 1; k <= more; ++k) {
            const unsigned char t = static_cast<unsigned char>(bytes[i + k]);
            if (k == 1 ? (t < low || t > high) : (t < 0x80 || t > 0xBF))
                return false;
        }
        i += more + 1;
    }
    return true;
}

std::string fileNameToUtf8(const std::string& bytes) {
    return isUtf8(bytes) ? bytes : toUtf8(bytes);
}

}  // namespace gbk
