#include "ide/model/find_regex.hpp"

#include <algorithm>
#include <cstring>
#include <iterator>

#include "compiler/core/gbk.hpp"

namespace ide {

static_assert(int(kFindMatchFlags) == 2240, "the match flags of every find and replace");

std::string QuvEscapeRegex(const std::string& text)
{
    static const char kSpecial[] = "\\.|*?+(){}[]^$";
    std::string out;
    out.reserve(text.size() * 2);
    for (char c : text) {
        if (c != '\0' && std::strchr(kSpecial, c))
            out += '\\';
        out += c;
    }
    return out;
}

bool QuvIsValidRegex(const std::string& utf8Text, int regularExpression)
{
    if (!regularExpression)
        return true;
    try {
        boost::regex(gbk::fromUtf8(utf8Text), boost::regex::normal);
        return true;
    } catch (const boost::regex_error&) {
        return false;
    }
}

boost::regex MakeFindExpression(const std::string& utf8Text, int regularExpression, int matchCase)
{
    // Convert first: a character GBK lacks becomes a literal, escaped like the rest.
    std::string pattern = gbk::fromUtf8(utf8Text);
    if (!regularExpression)
        pattern = QuvEscapeRegex(pattern);
    return boost::regex(pattern, matchCase ? boost::regex::normal : boost::regex::normal | boost::regex::icase);
}

void GrepAll(const boost::regex& expression, const std::string& text,
             const std::function<void(size_t offset, const std::string& what)>& onMatch)
{
    boost::sregex_iterator it(text.begin(), text.end(), expression, kFindMatchFlags), end;
    for (; it != end; ++it)
        onMatch(static_cast<size_t>(it->position(size_t(0))), it->str(0));
}

std::string MergeAll(const boost::regex& expression, const std::string& text, const std::string& utf8Format,
                     int* count)
{
    const std::string format = gbk::fromUtf8(utf8Format);
    std::string out;
    out.reserve(text.size());
    auto last = text.begin();
    int n = 0;
    boost::sregex_iterator it(text.begin(), text.end(), expression, kFindMatchFlags), end;
    for (; it != end; ++it) {
        const boost::smatch& m = *it;
        out.append(last, m[0].first);
        m.format(std::back_inserter(out), format, kFindMatchFlags);
        last = m[0].second;
        ++n;
    }
    out.append(last, text.end());
    if (count)
        *count = n;
    return out;
}

bool FindLiteral(const std::string& utf8Text, int regularExpression, int matchCase, std::string& bytes)
{
    if (regularExpression || !matchCase)
        return false;
    bytes = gbk::fromUtf8(utf8Text);
    return !bytes.empty();
}

bool LiteralFormat(const std::string& utf8Format, std::string& bytes)
{
    bytes = gbk::fromUtf8(utf8Format);
    return bytes.find_first_of("$\\") == std::string::npos;
}

int LineOfOffset(const std::string& text, size_t offset)
{
    offset = std::min(offset, text.size());
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
}

} // namespace ide
