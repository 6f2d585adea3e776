#include "tools/common/terminal_text.hpp"

#include <langinfo.h>

#include <clocale>
#include <cstring>
#include <strings.h>
#include <iostream>
#include <streambuf>

#include "compiler/core/gbk.hpp"

namespace terminal {

namespace {

bool terminalTakesGbk() {
    static const bool takes = [] {
        // Only asked, then put back: the compiler's character tests stay in the "C" locale.
        const std::string before = std::setlocale(LC_CTYPE, nullptr);
        std::setlocale(LC_CTYPE, "");
        const std::string set = nl_langinfo(CODESET);
        std::setlocale(LC_CTYPE, before.c_str());
        for (const char* name : {"GBK", "GB2312", "GB18030", "CP936"})
            if (strcasecmp(set.c_str(), name) == 0)
                return true;
        return false;
    }();
    return takes;
}

// Passes the bytes written to it on to another stream buffer, converted. A
// GBK character is two bytes; a lead byte that arrives alone waits for its
// partner so that no character is split between two conversions.
class ConvertingBuffer : public std::streambuf {
public:
    explicit ConvertingBuffer(std::streambuf* target) : target(target) {}

protected:
    int overflow(int c) override {
        if (c != traits_type::eof())
            pending += static_cast<char>(c);
        return traits_type::not_eof(c);
    }

    std::streamsize xsputn(const char* s, std::streamsize n) override {
        pending.append(s, static_cast<size_t>(n));
        return n;
    }

    int sync() override {
        // A file name is written in the file system's UTF-8; the compiler's own texts in GBK.
        if (gbk::isUtf8(pending)) {
            target->sputn(pending.data(), static_cast<std::streamsize>(pending.size()));
            pending.clear();
            return target->pubsync();
        }
        size_t whole = 0;
        while (whole < pending.size()) {
            const unsigned char c = pending[whole];
            const size_t width = c >= 0x81 && c <= 0xFE ? 2 : 1;
            if (whole + width > pending.size())
                break;
            whole += width;
        }
        const std::string text = fromGbk(pending.substr(0, whole));
        pending.erase(0, whole);
        target->sputn(text.data(), static_cast<std::streamsize>(text.size()));
        return target->pubsync();
    }

private:
    std::streambuf* target;
    std::string pending;
};

}  // namespace

std::string fromGbk(const std::string& text) {
    return terminalTakesGbk() ? text : gbk::toUtf8(text);
}

std::string fromFileName(const std::string& bytes) {
    return terminalTakesGbk() ? bytes : gbk::fileNameToUtf8(bytes);
}

void convertStandardError() {
    if (terminalTakesGbk())
        return;
    // Never freed: standard error is flushed through it until the process ends.
    static ConvertingBuffer* buffer = new ConvertingBuffer(std::cerr.rdbuf());
    std::cerr.rdbuf(buffer);
}

}  // namespace terminal
