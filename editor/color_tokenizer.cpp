#include "editor/color_tokenizer.hpp"

#include <cstring>
#include <vector>

namespace quvpad {

// Longer operators come before their prefixes: the first match wins.
const char* const OperatorTable[40] = {
    "-->", "||", "!!", "|>", "|~", "==", "=>", "->", ">>", "$C",
    "$V", "$O", "$U", "$T", "$F", ".", ";", "=", "{", "}",
    "[", "]", "(", ")", ":", "+", "-", "*", "/", "^",
    ",", "?", "!", "$", "%", "&", "~", ">", "<", "|"};

// "WRITELN" holds two slots; the table keeps them both.
const char* const KeywordTable[51] = {
    "EXTERN", "INT", "FLOAT", "STRING", "BOOL", "STREAM", "LOGIC", "STACK", "POINT",
    "ARRAY", "RECORD", "UNION", "SET", "NM", "SYN", "ASYN", "WHERE", "FRIEND",
    "PUBLIC", "PRIVATE", "PROTECT", "FROM", "NEXT", "EXIT", "STOP", "RETURN", "DELETE",
    "FOPEN", "FCLOSE", "EOF", "FEOF", "READ", "FREAD", "WRITE", "FWRITE", "WRITELN",
    "WRITELN", "FWRITELN", "GETC", "UNGETC", "GETCHAR", "UNGETCHAR", "ITOC", "STRLEN", "NEWDEC",
    "TT", "FF", "MOD", "IF", "THEN", "ELSE"};

const char* const DirectiveTable[22] = {
    "%VAR", "%LOC", "%FATHER", "%PROG", "%MPROG", "%DPROG", "%GLOB", "%TYPE",
    "%PACK", "%PROC", "%PROS", "%AGT", "%PROD", "%CHN/", "%INP/", "%IOP/",
    "%ALG", "%STM", "%UNLESS", "%IMP", "%EXP", "%LIB"};

namespace {

// Only ASCII counts: every byte of a double-byte character is neither letter,
// digit nor blank.
bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool StartsWithUpper(const char* text, size_t n, const char* word, size_t len)
{
    if (len > n)
        return false;
    for (size_t i = 0; i < len; ++i)
        if (Upper(text[i]) != Upper(word[i]))
            return false;
    return true;
}

bool StartsWithUpper(const char* text, size_t n, const char* word)
{
    return StartsWithUpper(text, n, word, std::strlen(word));
}

// A table's entries grouped by their first byte (upper-cased), each group in
// table order, with their lengths: a look-up tries only the entries that can
// match, and the first match in table order still wins.
class TableIndex {
public:
    struct Entry {
        const char* text;
        size_t length;
    };

    template <size_t N>
    explicit TableIndex(const char* const (&table)[N])
    {
        for (const char* entry : table)
            if (entry[0] != '\0')
                groups_[static_cast<unsigned char>(Upper(entry[0]))].push_back({entry, std::strlen(entry)});
    }

    const std::vector<Entry>& Group(char first) const { return groups_[static_cast<unsigned char>(Upper(first))]; }

    // Whether the whole of word[0, n) is an entry, letters in either case.
    bool Contains(const char* word, size_t n) const
    {
        if (n == 0)
            return false;
        for (const Entry& e : Group(word[0]))
            if (e.length == n && StartsWithUpper(word, n, e.text, e.length))
                return true;
        return false;
    }

private:
    std::vector<Entry> groups_[256];
};

const TableIndex& Operators()
{
    static const TableIndex index(OperatorTable);
    return index;
}

const TableIndex& Keywords()
{
    static const TableIndex index(KeywordTable);
    return index;
}

const TableIndex& Directives()
{
    static const TableIndex index(DirectiveTable);
    return index;
}

ColorToken OperatorRule(const char* r, size_t n)
{
    for (const TableIndex::Entry& op : Operators().Group(r[0]))
        if (StartsWithUpper(r, n, op.text, op.length))
            return {ClassOperator, op.length};
    return {ClassError, 1};
}

ColorToken InsideBlockComment(const char* r, size_t n, int& state)
{
    for (size_t i = 1; i < n; ++i)
        if (r[i - 1] == '*' && r[i] == '/') {
            state = StateNormal;
            return {ClassComment, i + 1};
        }
    return {ClassComment, n};
}

ColorToken StringToken(const char* r, size_t n)
{
    for (size_t i = 1; i < n; ++i)
        if (r[i] == '"' && r[i - 1] != '\\')
            return {ClassString, i + 1};
    return {ClassError, n};   // strings never continue on the next line
}

ColorToken DollarToken(const char* r, size_t n)
{
    if (!StartsWithUpper(r, n, "$OLB"))
        return OperatorRule(r, n);
    size_t i = 4;
    while (i < n && IsDigit(r[i]))
        ++i;
    if (i < n && (IsLetter(r[i]) || r[i] == '_'))
        return OperatorRule(r, n);
    return {ClassJumpLabel, i};
}

ColorToken PercentToken(const char* r, size_t n)
{
    size_t i = 1;
    while (i < n && (IsLetter(r[i]) || r[i] == '_'))
        ++i;
    if (i == 1)
        return OperatorRule(r, n);
    if (i < n && r[i] == '/')
        ++i;
    return {Directives().Contains(r, i) ? ClassBlockDelimiter : ClassError, i};
}

ColorToken SlashToken(const char* r, size_t n, int& state)
{
    if (n == 1)
        return OperatorRule(r, n);
    if (r[1] == '/')
        return {ClassComment, n};
    if (r[1] != '*')
        return OperatorRule(r, n);
    // The star of the opening may not close the comment, so the search starts at 3.
    for (size_t i = 3; i < n; ++i)
        if (r[i - 1] == '*' && r[i] == '/')
            return {ClassComment, i + 1};
    state = StateInBlockComment;
    return {ClassComment, n};
}

bool IsNumber(const char* word, size_t n)
{
    if (n == 0 || word[0] == '.' || word[n - 1] == '.')
        return false;
    int points = 0;
    for (size_t i = 0; i < n; ++i) {
        if (word[i] == '.')
            ++points;
        else if (!IsDigit(word[i]))
            return false;
    }
    return points <= 1;
}

bool IsDefinitionLabel(const char* word, size_t n)
{
    if (n < 2 || Upper(word[0]) != 'L' || Upper(word[1]) != 'B')
        return false;
    for (size_t i = 2; i < n; ++i)
        if (!IsDigit(word[i]))
            return false;
    return true;
}

ColorToken NumberToken(const char* r, size_t n)
{
    size_t i = 1;
    while (i < n && (IsLetter(r[i]) || IsDigit(r[i]) || r[i] == '.' || r[i] == '_'))
        ++i;
    return {IsNumber(r, i) ? ClassNumber : ClassError, i};
}

ColorToken WordToken(const char* r, size_t n)
{
    size_t i = 1;
    while (i < n && (IsLetter(r[i]) || IsDigit(r[i]) || r[i] == '_'))
        ++i;
    if (Keywords().Contains(r, i))
        return {ClassKeyword, i};
    return {IsDefinitionLabel(r, i) ? ClassDefinitionLabel : ClassIdentifier, i};
}

} // namespace

bool IsKeyword(const std::string& word) { return Keywords().Contains(word.data(), word.size()); }
bool IsDirective(const std::string& word) { return Directives().Contains(word.data(), word.size()); }
bool IsNumber(const std::string& word) { return IsNumber(word.data(), word.size()); }
bool IsDefinitionLabel(const std::string& word) { return IsDefinitionLabel(word.data(), word.size()); }

ColorToken ScanToken(const std::string& line, size_t pos, int& state)
{
    const char* r = line.data() + pos;
    size_t n = line.size() - pos;
    if (state == StateInBlockComment)
        return InsideBlockComment(r, n, state);
    if (IsBlank(r[0])) {
        size_t i = 1;
        while (i < n && IsBlank(r[i]))
            ++i;
        return {ClassCurrentLine, i};
    }
    switch (r[0]) {
    case '"': return StringToken(r, n);
    case '$': return DollarToken(r, n);
    case '%': return PercentToken(r, n);
    case '/': return SlashToken(r, n, state);
    default: break;
    }
    if (IsDigit(r[0]))
        return NumberToken(r, n);
    if (IsLetter(r[0]))
        return WordToken(r, n);
    return OperatorRule(r, n);
}

namespace {
// The bytes that start a token LineEndState must follow: '"', '%' and '/'.
struct OpenerTable {
    bool is[256] = {};
    OpenerTable() { is[static_cast<unsigned char>('"')] = is[static_cast<unsigned char>('%')] = is['/'] = true; }
};
const OpenerTable Openers;
} // namespace

// Only strings, comments and directives (which may end in '/') can hold a
// byte that would start a comment elsewhere; every other token is free of '"',
// '%' and '/' after its first byte, so those bytes alone need a closer look.
int LineEndState(const std::string& line, int state)
{
    const char* r = line.data();
    const size_t n = line.size();
    // A comment opens and closes only at a '/'.
    if (n == 0 || !std::memchr(r, '/', n))
        return state;
    size_t i = 0;
    while (i < n) {
        if (state == StateInBlockComment) {
            size_t j = i + 1;
            while (j < n && !(r[j - 1] == '*' && r[j] == '/'))
                ++j;
            if (j >= n)
                return state;
            state = StateNormal;
            i = j + 1;
            continue;
        }
        while (i < n && !Openers.is[static_cast<unsigned char>(r[i])])
            ++i;
        if (i >= n)
            break;
        switch (r[i]) {
        case '"': {
            size_t j = i + 1;
            while (j < n && !(r[j] == '"' && r[j - 1] != '\\'))
                ++j;
            if (j >= n)
                return state;
            i = j + 1;
            break;
        }
        case '%': {
            size_t j = i + 1;
            while (j < n && (IsLetter(r[j]) || r[j] == '_'))
                ++j;
            if (j > i + 1 && j < n && r[j] == '/')
                ++j;
            i = j;
            break;
        }
        case '/':
            if (i + 1 < n && r[i + 1] == '/')
                return state;
            if (i + 1 < n && r[i + 1] == '*') {
                size_t j = i + 3;
                while (j < n && !(r[j - 1] == '*' && r[j] == '/'))
                    ++j;
                if (j >= n)
                    return StateInBlockComment;
                i = j + 1;
            } else {
                ++i;
            }
            break;
        default:
            ++i;
            break;
        }
    }
    return state;
}

bool NextToken(std::string& rest, int& state, std::string& token, int& colorClass, int& length)
{
    ColorToken t = ScanToken(rest, 0, state);
    token = rest.substr(0, t.length);
    colorClass = t.colorClass;
    length = static_cast<int>(t.length);
    rest.erase(0, t.length);
    return !rest.empty();
}

} // namespace quvpad
