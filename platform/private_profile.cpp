#include "platform/private_profile.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "platform/safe_write.hpp"

namespace platform {

namespace {

// One line of the file without its line end, which is kept apart so that
// lines we do not change go back byte for byte.
struct Line {
    std::string text;
    std::string end;  // "\n", "\r\n", "\r", or nothing for a last line without one
};

const char kByteOrderMark[] = "\xEF\xBB\xBF";

// A file as lines. LF, CR LF and a bare CR each end a line, as the editors
// that write these files use them; a UTF-8 byte-order mark at the start is
// kept apart, so that neither it nor the line end style is lost on writing.
struct Lines {
    std::string mark;            // the byte-order mark, or empty
    std::string style = "\n";  // the end of the first line that has one: what new lines get
    std::vector<Line> lines;
    std::string error;           // why the file could not be read; empty when it was
    int errorNumber = 0;         // the same as the system's error number
};

// Whether a file that could not be read must be left as it is: it is there,
// and a write would replace what it holds with the new keys alone. A missing
// file is created, and a folder is refused by the write as any folder is.
bool keptUnread(int errorNumber) {
    return errorNumber != 0 && errorNumber != ENOENT && errorNumber != EISDIR;
}

// The lines of a file's bytes.
Lines linesOf(const std::string& text) {
    Lines read;
    size_t start = 0;
    if (text.compare(0, 3, kByteOrderMark) == 0) {
        read.mark = kByteOrderMark;
        start = 3;
    }
    bool styleKnown = false;
    // Counted first, so that a file of many lines is not moved as it grows.
    size_t ends = 1;
    for (size_t at = text.find_first_of("\r\n", start); at != std::string::npos; at = text.find_first_of("\r\n", at + 1))
        ++ends;
    read.lines.reserve(ends);
    while (start < text.size()) {
        const size_t end = text.find_first_of("\r\n", start);
        Line line;
        if (end == std::string::npos) {
            line.text = text.substr(start);
            start = text.size();
        } else {
            line.text = text.substr(start, end - start);
            const size_t width = text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
            line.end = text.substr(end, width);
            start = end + width;
            if (!styleKnown)
                read.style = line.end;
            styleKnown = true;
        }
        read.lines.push_back(std::move(line));
    }
    return read;
}

// The lines of the file. A named pipe is not read: it would hold the reader
// until someone writes into it, or take a writer's bytes from whoever waits
// for them. It reads as empty, and a write to it is refused as one to any
// file that is not a regular one is.
Lines readLines(const std::string& file) {
    Lines read;
    std::string text;
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        read.errorNumber = errno;
        read.error = std::strerror(errno);
        return read;
    }
    struct stat st;
    const bool stated = ::fstat(fd, &st) == 0;
    if (stated && S_ISFIFO(st.st_mode)) {
        ::close(fd);
        return read;
    }
    // Anything else is read as it always was: to its end, waiting for it.
    if (stated && S_ISREG(st.st_mode) && st.st_size > 0)
        text.reserve(static_cast<size_t>(st.st_size));
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0)
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    char piece[65536];
    for (;;) {
        const ssize_t got = ::read(fd, piece, sizeof piece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            read.errorNumber = errno;
            read.error = std::strerror(errno);
        }
        if (got <= 0)
            break;
        text.append(piece, static_cast<size_t>(got));
    }
    ::close(fd);
    if (!read.error.empty())
        return read;
    return linesOf(text);
}

std::string trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x += 'a' - 'A';
        if (y >= 'A' && y <= 'Z')
            y += 'a' - 'A';
        if (x != y)
            return false;
    }
    return true;
}

// The section name of a "[name]" line; false for any other line.
bool sectionOf(const std::string& text, std::string& name) {
    // Most lines are keys: told apart without a copy.
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos || text[first] != '[')
        return false;
    const std::string t = trim(text);
    size_t close = t.find(']');
    name = trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    return true;
}

// The key of a "key=value" line and where its value starts; false for any other line.
bool keyOf(const std::string& text, std::string& key, size_t& valueStart) {
    size_t eq = text.find('=');
    if (eq == std::string::npos)
        return false;
    key = trim(text.substr(0, eq));
    valueStart = eq + 1;
    return true;
}

// Lines [begin, end) of the first section named `section`; begin is the header line.
bool findSection(const std::vector<Line>& lines, const std::string& section, size_t& begin, size_t& end) {
    std::string name;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (!sectionOf(lines[i].text, name) || !sameName(name, section))
            continue;
        begin = i;
        end = i + 1;
        while (end < lines.size() && !sectionOf(lines[end].text, name))
            ++end;
        return true;
    }
    return false;
}

// Index of the first line of the section [begin, end) that sets `key`, or end.
size_t findKey(const std::vector<Line>& lines, size_t begin, size_t end, const std::string& key) {
    std::string name;
    size_t valueStart;
    for (size_t i = begin + 1; i < end; ++i)
        if (keyOf(lines[i].text, name, valueStart) && sameName(name, key))
            return i;
    return end;
}

bool readValue(const std::string& section, const std::string& key, const std::string& file, std::string& value) {
    const std::vector<Line> lines = readLines(file).lines;
    size_t begin, end;
    if (!findSection(lines, section, begin, end))
        return false;
    const size_t at = findKey(lines, begin, end, key);
    if (at == end)
        return false;
    std::string name;
    size_t valueStart;
    keyOf(lines[at].text, name, valueStart);
    value = trim(lines[at].text.substr(valueStart));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return true;
}

// A line that something follows must end: a last line without its end would
// take the next line into it. It ends as the file's lines do.
void endLine(Line& line, const std::string& style) {
    if (line.end.empty())
        line.end = style;
}

// The end of a line put in before `next` (none at the end of the file): the
// file's style, but a bare CR before an empty line ended by LF would read
// back as one CR LF and swallow that blank line, so such a line ends in CR LF.
std::string endBefore(const Line* next, const std::string& style) {
    return style == "\r" && next && next->text.empty() && next->end == "\n" ? "\r\n" : style;
}

// Names that, once written, the reader finds again under the same name. A
// line end or NUL would break the line (or cut the name where the file is
// read as C text), blanks at the ends are trimmed away on reading, "]" ends a
// section name, "=" ends a key, and a key line starting with "[" reads as a
// section header or with ";" as a comment.
bool readsBackAsName(const std::string& name) {
    if (name.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        return false;
    return name.empty() || (name.find_first_of(" \t") != 0 && name.find_last_of(" \t") != name.size() - 1);
}

bool readsBackAsSection(const std::string& section) {
    return readsBackAsName(section) && section.find(']') == std::string::npos;
}

bool readsBackAsKey(const std::string& key) {
    return readsBackAsName(key) && !key.empty() && key.find('=') == std::string::npos && key[0] != '[' &&
           key[0] != ';';
}

// The value of a key line: trimmed, without one pair of matching quotes.
std::string valueOf(const std::string& text, size_t valueStart) {
    std::string value = trim(text.substr(valueStart));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        value = value.substr(1, value.size() - 2);
    return value;
}

// A value as the caller's buffer of `size` bytes takes it.
std::string cutToSize(std::string value, size_t size) {
    const size_t room = size == 0 ? 0 : size - 1;
    if (value.size() > room)
        value.resize(room);
    return value;
}

// A value read as an integer: optional sign, then decimal digits or "0x" and
// hex digits, up to the first other character.
int integerOf(const std::string& value) {
    size_t i = 0;
    bool negative = false;
    if (i < value.size() && (value[i] == '+' || value[i] == '-'))
        negative = value[i++] == '-';
    unsigned base = 10;
    if (i + 1 < value.size() && value[i] == '0' && (value[i + 1] == 'x' || value[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    unsigned long long n = 0;
    for (; i < value.size(); ++i) {
        char c = value[i];
        unsigned digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            break;
        // Past 32 bits the value wraps as an unsigned word does; we only keep it from overflowing here.
        n = (n * base + digit) & 0xFFFFFFFFull;
    }
    const unsigned int word = static_cast<unsigned int>(negative ? 0u - n : n);
    return static_cast<int>(word);
}

// What writePrivateProfileString refuses: a name that would not read back
// under itself, or a value that would break the line structure.
bool refusedEntry(const std::string& section, const std::string& key, const std::string& value) {
    return !readsBackAsSection(section) || !readsBackAsKey(key) || value.find_first_of("\r\n") != std::string::npos;
}

// A name as the comparisons see it: ASCII letters in lower case.
std::string folded(std::string name) {
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return name;
}

}  // namespace

std::string getPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& fallback, size_t size, const std::string& file) {
    std::string value;
    if (!readValue(section, key, file, value))
        value = fallback;
    return cutToSize(value, size);
}

int getPrivateProfileInt(const std::string& section, const std::string& key, int fallback,
                         const std::string& file) {
    std::string value;
    if (!readValue(section, key, file, value))
        return fallback;
    return integerOf(value);
}

std::string valueReadBackAsItself(const std::string& value) {
    return valueOf("=" + value, 1) == value ? value : "\"" + value + "\"";
}

bool writePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& file) {
    if (refusedEntry(section, key, value))
        return false;

    Lines read = readLines(file);
    if (keptUnread(read.errorNumber))
        return false;
    std::vector<Line>& lines = read.lines;
    const Line entry{key + "=" + value, read.style};
    size_t begin, end;
    if (findSection(lines, section, begin, end)) {
        const size_t at = findKey(lines, begin, end, key);
        if (at != end) {
            lines[at].text = entry.text;
        } else {
            // After the section's last non-blank line, so a blank line before the next section stays.
            size_t after = end;
            while (after > begin + 1 && trim(lines[after - 1].text).empty())
                --after;
            endLine(lines[after - 1], read.style);
            Line inserted = entry;
            inserted.end = endBefore(after < lines.size() ? &lines[after] : nullptr, read.style);
            lines.insert(lines.begin() + after, inserted);
        }
    } else {
        if (!lines.empty())
            endLine(lines.back(), read.style);
        lines.push_back(Line{"[" + section + "]", read.style});
        lines.push_back(entry);
    }

    std::string out = read.mark;
    for (const Line& line : lines)
        out += line.text + line.end;
    std::string reason;
    return WriteFileSafely(file, out, reason);
}

// The file as its sections: the lines before the first section header, then
// each header with the lines up to the next one. Each section knows the first
// line of each key, and the file the first section of each name, so a lookup
// does not scan; a key is inserted only before blank lines, so the places of
// the keys never move.
struct PrivateProfileFile::Data {
    struct Section {
        Line header;
        std::vector<Line> body;
        std::unordered_map<std::string, size_t> keys;  // folded key -> first line in body
    };
    std::string mark;   // the byte-order mark the file started with
    std::string style;  // the line end new lines get
    std::string error;  // why the file could not be read
    int errorNumber = 0;
    std::vector<Line> preamble;
    std::vector<Section> sections;
    std::unordered_map<std::string, size_t> names;  // folded name -> first section

    // Takes the lines the file was read into.
    void take(Lines&& read) {
        mark = read.mark;
        style = read.style;
        error = read.error;
        errorNumber = read.errorNumber;
        std::string name;
        // The lines of each section counted first, so that neither its lines
        // nor its keys are moved as a large file is taken.
        std::vector<size_t> sizes;
        size_t before = 0;
        for (const Line& line : read.lines) {
            if (sectionOf(line.text, name))
                sizes.push_back(0);
            else
                ++(sizes.empty() ? before : sizes.back());
        }
        preamble.reserve(before);
        sections.reserve(sizes.size());
        for (Line& line : read.lines) {
            if (sectionOf(line.text, name)) {
                names.emplace(folded(name), sections.size());
                sections.emplace_back();
                sections.back().header = std::move(line);
                sections.back().body.reserve(sizes[sections.size() - 1]);
                sections.back().keys.reserve(sizes[sections.size() - 1]);
            } else if (sections.empty()) {
                preamble.push_back(std::move(line));
            } else {
                Section& section = sections.back();
                section.body.push_back(std::move(line));
                add(section, section.body.size() - 1);
            }
        }
    }
    void add(Section& section, size_t at) {
        std::string key;
        size_t valueStart;
        if (keyOf(section.body[at].text, key, valueStart))
            section.keys.emplace(folded(std::move(key)), at);
    }
    const Line* find(const std::string& section, const std::string& key, size_t& valueStart) const {
        const auto s = names.find(folded(section));
        if (s == names.end())
            return nullptr;
        const Section& found = sections[s->second];
        const auto k = found.keys.find(folded(key));
        if (k == found.keys.end())
            return nullptr;
        const Line& line = found.body[k->second];
        std::string name;
        keyOf(line.text, name, valueStart);
        return &line;
    }
    Line& last() {
        if (!sections.empty())
            return sections.back().body.empty() ? sections.back().header : sections.back().body.back();
        return preamble.back();
    }
    bool empty() const { return preamble.empty() && sections.empty(); }
};

PrivateProfileFile::PrivateProfileFile(const std::string& file_) : file(file_), data(new Data) {
    data->take(readLines(file));
}

PrivateProfileFile::PrivateProfileFile(const std::string& file_, const std::string& text)
    : file(file_), data(new Data) {
    data->take(linesOf(text));
}

PrivateProfileFile::~PrivateProfileFile() {
    delete data;
}

std::string PrivateProfileFile::getString(const std::string& section, const std::string& key,
                                          const std::string& fallback, size_t size) const {
    size_t valueStart;
    const Line* line = data->find(section, key, valueStart);
    return cutToSize(line ? valueOf(line->text, valueStart) : fallback, size);
}

int PrivateProfileFile::getInt(const std::string& section, const std::string& key, int fallback) const {
    size_t valueStart;
    const Line* line = data->find(section, key, valueStart);
    return line ? integerOf(valueOf(line->text, valueStart)) : fallback;
}

bool PrivateProfileFile::writeString(const std::string& section, const std::string& key, const std::string& value) {
    if (refusedEntry(section, key, value))
        return false;
    Line entry{key + "=" + value, data->style};
    const auto s = data->names.find(folded(section));
    if (s == data->names.end()) {
        if (!data->empty())
            endLine(data->last(), data->style);
        Line header{"[" + section + "]", data->style};
        // Known by the name its header line reads back as, like every other section.
        std::string name;
        sectionOf(header.text, name);
        data->names.emplace(folded(name), data->sections.size());
        data->sections.emplace_back();
        Data::Section& added = data->sections.back();
        added.header = std::move(header);
        added.body.push_back(std::move(entry));
        data->add(added, 0);
        return true;
    }
    Data::Section& found = data->sections[s->second];
    const auto k = found.keys.find(folded(key));
    if (k != found.keys.end()) {
        found.body[k->second].text = entry.text;
        return true;
    }
    // After the section's last non-blank line, so a blank line before the next section stays.
    size_t after = found.body.size();
    while (after > 0 && trim(found.body[after - 1].text).empty())
        --after;
    Line& before = after > 0 ? found.body[after - 1] : found.header;
    endLine(before, data->style);
    entry.end = endBefore(after < found.body.size() ? &found.body[after] : nullptr, data->style);
    found.body.insert(found.body.begin() + static_cast<std::ptrdiff_t>(after), std::move(entry));
    data->add(found, after);
    return true;
}

const std::string& PrivateProfileFile::readError() const {
    return data->error;
}

bool PrivateProfileFile::hasKey(const std::string& section, const std::string& key) const {
    size_t valueStart;
    return data->find(section, key, valueStart) != nullptr;
}

bool PrivateProfileFile::save() {
    std::string reason;
    WriteFailure why;
    return save(reason, why);
}

bool PrivateProfileFile::save(std::string& reason, WriteFailure& why) {
    if (keptUnread(data->errorNumber)) {
        why = WriteFailure{data->errorNumber, false};
        reason = data->error;
        return false;
    }
    std::string text = data->mark;
    auto append = [&text](const Line& line) {
        text += line.text;
        text += line.end;
    };
    for (const Line& line : data->preamble)
        append(line);
    for (const Data::Section& section : data->sections) {
        append(section.header);
        for (const Line& line : section.body)
            append(line);
    }
    return WriteFileSafely(file, text, reason, why);
}

}  // namespace platform
