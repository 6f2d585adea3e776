#include "tools/quvdump/dump_common.hpp"

#include <cstdio>
#include <iostream>

#include "compiler/core/core.hpp"

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
    in.open(path, std::ios::binary);
    if (in)
        return true;
    std::cerr << "quvdump: cannot open " << path << '\n';
    return false;
}

} // namespace quvdump
