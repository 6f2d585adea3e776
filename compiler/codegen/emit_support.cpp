// The helpers the emitter files share (emit_support.hpp).
#include "compiler/codegen/emit_support.hpp"

#include "compiler/core/base.hpp"
#include "compiler/core/diagnostics.hpp"
#include "compiler/core/job_state.hpp"
#include "compiler/core/types.hpp"

namespace emit {
// Tagged definitions ("struct name {...};"), so that a declaration can name a
// record before its definition where only a pointer to it is needed.
std::string recordDefinitions(JobState& job) {
    std::string text;
    for (const RecordType* r : job.takeUndefinedRecords()) {
        std::string body = r->getStructText();
        size_t keywordEnd = body.find(' ');
        text += body.substr(0, keywordEnd) + " " + r->getCppBase() + body.substr(keywordEnd + 1) + ";" +
                base::newline() + recordEquality(r->getCppBase(), r);
    }
    return text;
}

// QUV/E compares records and unions field by field.
std::string recordEquality(const std::string& cppName, const RecordType* r) {
    const std::string NL = base::newline();
    std::string head = "inline bool operator==(const " + cppName + "& a, const " + cppName + "& b) ";
    std::string test = "true";
    for (int i = 0; i < r->getFieldCount(); ++i) {
        std::string f = CodeNames::fieldName(r->getFieldName(i));
        test += " && quv_runtime::equal(a." + f + ", b." + f + ")";
    }
    return head + "{ return " + test + "; }" + NL + "inline bool operator!=(const " + cppName + "& a, const " +
           cppName + "& b) { return !(a == b); }" + NL;
}

std::string quoted(const std::string& text) {
    static const char digits[] = "01234567";
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x7f) {
            // Octal, so that a byte of a multi-byte name never joins the next character.
            out += '\\';
            out += digits[(c >> 6) & 7];
            out += digits[(c >> 3) & 7];
            out += digits[c & 7];
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::string typeId(JobState& job, const Type* t) {
    return CodeNames::declaration("", orUnknown(job, t));
}

void report(JobState& job, int message) {
    QUVException(job).makeSemantic(message);
}
}  // namespace emit
