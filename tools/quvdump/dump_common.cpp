#include "tools/quvdump/dump_common.hpp"

#include <cstdio>
#include <cstring>
#include <iostream>

#include "compiler/core/core.hpp"
#include "platform/file_io.hpp"

namespace quvdump {

void appendEscapedText(std::string& out, const std::string& text)
{
    for (unsigned char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        case '\n': out += "\\n"; break;
        default:
            if (c >= 32 && c <= 126) {
                out += static_cast<char>(c);
            } else {
                char hex[5];
                std::snprintf(hex, sizeof hex, "\\x%02X", c);
                out += hex;
            }
        }
    }
}

void printDiagnostics(std::ostream& out, const DiagnosticSink& job)
{
    for (const QUVException& ex : job.records()) {
        const std::string rule = ex.getRule();
        out << "diag " << ex.getKind() << ' ' << ex.getNumber() << ' ' << ex.getLine() << ':'
            << ex.getColumn() << ' ' << (rule.empty() ? "-" : rule) << '\n';
    }
}

int openSource(const std::string& path, std::istringstream& in)
{
    // A folder opens as a file does, but its first read fails: asked first,
    // so that the lexer never meets it.
    const int error = platform::ReadOpenError(path);
    if (error != 0) {
        std::cerr << "quvdump: cannot open " << path << ": " << std::strerror(error) << '\n';
        return kExitUsage;
    }
    // Read whole, and so no further than quvc reads: a source that never
    // ends (/dev/zero) is refused before it fills the memory.
    std::string text, why;
    if (!platform::ReadWholeFile(path, text, why)) {
        std::cerr << "quvdump: " << why << '\n';
        return kExitStopped;
    }
    in.str(std::move(text));
    return kExitOk;
}

} // namespace quvdump
