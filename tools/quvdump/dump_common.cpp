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

bool openSource(const std::string& path, std::ifstream& in)
{
    // A folder opens as a file does, but its first read fails: asked first,
    // so that the lexer never meets it.
    int error = platform::ReadOpenError(path);
    if (error == 0) {
        in.open(path, std::ios::binary);
        if (in)
            return true;
        error = errno;
    }
    std::cerr << "quvdump: cannot open " << path << ": " << std::strerror(error) << '\n';
    return false;
}

} // namespace quvdump
