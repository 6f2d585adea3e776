// Settings files in the private-profile (INI) format: "[section]" lines and
// "key=value" lines. Section and key names compare without regard to ASCII
// case, and the first matching section and key win. LF, CR LF and a bare CR
// each end a line, and a UTF-8 byte-order mark at the start is skipped; a
// write keeps both, and new lines end as the file's first line does.
// QuvBench.ini and the ".prj" project files are kept in it.
#pragma once
#include <cstddef>
#include <string>

#include "platform/safe_write.hpp"

namespace platform {

// The value of `key` in `section` of `file`, or `fallback` when the file, the
// section or the key is missing. The value is trimmed of blanks, loses one
// pair of matching quotes around it, and is cut to size - 1 bytes (the
// caller's buffer, terminator included).
std::string getPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& fallback, size_t size, const std::string& file);

// The value as an integer: optional sign, then decimal digits or "0x" and hex
// digits, read up to the first other character (0 when no digit follows);
// `fallback` when the key is missing.
int getPrivateProfileInt(const std::string& section, const std::string& key, int fallback,
                         const std::string& file);

// Sets `key` in `section` to `value`: replaces the first matching key line in
// place, or appends the key to its section, or the section to the file (a
// last line without its end ended first), and leaves every other line as it
// was; creates the file when it is missing. The file is written
// through platform::WriteFileSafely. A file that is there but cannot be read
// is left as it is and the result is false: written, it would lose its keys.
// A name the reader could not find again, or a value that would break the
// line structure, is refused: a line end or NUL anywhere in a name, blanks at
// its ends, ']' in the section, an empty key, '=' in the key or a key that
// starts with '[' or ';', a line end in the value. Nothing is written then
// and the result is false, as it is when the file cannot be written.
bool writePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& file);

// `value` as a writer passes it so that a read gives it back as it was: a
// read trims blanks from a value's ends and takes away one pair of quotes
// around it, so a value that would lose either is put inside quotes.
std::string valueReadBackAsItself(const std::string& value);

// A whole settings file held in memory, for reading or writing many keys at
// once: it reads the file once and writes it once, and each key costs time
// independent of the file's size. Reads and writes give exactly what the
// functions above give after the same calls, and `save` leaves the bytes they
// would have left.
class PrivateProfileFile {
public:
    // Reads `file`; a missing or unreadable one reads as empty, and so does
    // a named pipe, which is not waited for.
    explicit PrivateProfileFile(const std::string& file);
    // The same over `text`, the bytes of `file` read already (once, by a
    // reader that can give up waiting for a pipe); `save` writes `file`.
    PrivateProfileFile(const std::string& file, const std::string& text);
    ~PrivateProfileFile();
    PrivateProfileFile(const PrivateProfileFile&) = delete;
    PrivateProfileFile& operator=(const PrivateProfileFile&) = delete;

    std::string getString(const std::string& section, const std::string& key, const std::string& fallback,
                          size_t size) const;
    int getInt(const std::string& section, const std::string& key, int fallback) const;
    // Sets the key in memory under the rules of writePrivateProfileString;
    // false, changing nothing, for a name or value it refuses.
    bool writeString(const std::string& section, const std::string& key, const std::string& value);
    // Whether the section holds the key.
    bool hasKey(const std::string& section, const std::string& key) const;
    // Writes the lines to the file; false when it cannot be written, and
    // false, leaving it as it is, when it was there but could not be read.
    bool save();
    // The same, saying why it failed (the system's error number in `why`).
    bool save(std::string& reason, WriteFailure& why);
    // Why the file could not be read, in the system's words ("No such file or
    // directory"); empty when it was read.
    const std::string& readError() const;

private:
    struct Data;
    std::string file;
    Data* data;
};

}  // namespace platform
