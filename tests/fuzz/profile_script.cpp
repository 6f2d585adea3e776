#include "profile_script.hpp"

#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/private_profile.hpp"
#include "script_bytes.hpp"

namespace {

std::string folded(std::string name)
{
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return name;
}

std::string trimmed(const std::string& s)
{
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return std::string();
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

// What a read gives of a value that was written: blanks trimmed, one pair of
// matching quotes dropped.
std::string readBack(const std::string& value)
{
    std::string v = trimmed(value);
    if (v.size() >= 2 && (v[0] == '"' || v[0] == '\'') && v.back() == v[0])
        v = v.substr(1, v.size() - 2);
    return v;
}

std::string cut(std::string value, size_t size)
{
    const size_t room = size == 0 ? 0 : size - 1;
    if (value.size() > room)
        value.resize(room);
    return value;
}

std::string fileText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Names the file itself uses, so that a script reaches its sections and keys.
void namesOfFile(const std::string& text, std::vector<std::string>& sections, std::vector<std::string>& keys)
{
    std::istringstream in(text);
    for (std::string line; std::getline(in, line) && sections.size() + keys.size() < 64;) {
        const std::string t = trimmed(line);
        if (!t.empty() && t[0] == '[') {
            const size_t close = t.find(']');
            sections.push_back(trimmed(t.substr(1, close == std::string::npos ? std::string::npos : close - 1)));
        } else if (line.find('=') != std::string::npos) {
            keys.push_back(trimmed(line.substr(0, line.find('='))));
        }
    }
}

const char kMissing[] = "\x01missing";
const size_t kSizes[] = {4096, 0, 1, 2, 6, 260};

class ProfileScript {
public:
    ProfileScript(const std::uint8_t* data, std::size_t size, const std::string& folder)
        : bytes(data, size), oneKey(folder + "/one_key.ini"), wholeFile(folder + "/whole_file.ini")
    {
        initial = bytes.upTo('\0');
        writeText(oneKey, initial);
        writeText(wholeFile, initial);
        sections = {"QuvBench", "quvbench", "Files", "", "S p", " x", "a]b", "[x", "\xD6\xD0"};
        keys = {"Name", "name", "0", "1", "File1", "", "=x", ";c", "[k", " k", "a b", "k\r"};
        values = {"", "v", " padded ", "\"quoted\"", "'q'", "\"", "a=b", "[s]", "x\ny", "0x1F", "-12", "\t", "\r"};
        const size_t ownSections = sections.size(), ownKeys = keys.size();
        namesOfFile(initial, sections, keys);
        readScript(ownSections, ownKeys);
        // What the file gives before any write, for every name the script reads.
        for (const Op& op : ops)
            before.emplace(std::make_pair(folded(sections[op.s]), folded(keys[op.k])),
                           platform::getPrivateProfileString(sections[op.s], keys[op.k], kMissing, 4096, oneKey));
        // First over the bytes read already, as a project is loaded; after each save from the file.
        memory = std::make_unique<platform::PrivateProfileFile>(wholeFile, initial);
    }

    std::string run()
    {
        for (const Op& op : ops) {
            if (!failure.empty())
                break;
            switch (op.kind) {
            case Op::Write: write(op.s, op.k, op.value); break;
            case Op::Read: read(op.s, op.k, op.size); break;
            case Op::ReadInt: readInt(op.s, op.k); break;
            case Op::Save: saveAndReopen(); break;
            }
        }
        if (failure.empty())
            saveAndReopen();
        for (const Op& op : ops)
            if (failure.empty())
                read(op.s, op.k, 4096);
        return failure;
    }

private:
    struct Op {
        enum Kind { Write, Read, ReadInt, Save } kind;
        size_t s = 0, k = 0;
        std::string value;
        size_t size = 4096;
    };

    // The operations, read before any runs. Without any, each key the file
    // names is read, written and read again, in each section it names and in
    // one it does not.
    void readScript(size_t ownSections, size_t ownKeys)
    {
        if (bytes.done()) {
            std::vector<size_t> inSections = {0};
            for (size_t s = ownSections; s < sections.size() && inSections.size() < 8; ++s)
                inSections.push_back(s);
            std::vector<size_t> ofKeys = {0, 4};
            for (size_t k = ownKeys; k < keys.size() && ofKeys.size() < 10; ++k)
                ofKeys.push_back(k);
            for (size_t s : inSections)
                for (size_t k : ofKeys) {
                    ops.push_back({Op::Read, s, k, "", 4096});
                    ops.push_back({Op::Write, s, k, "v" + std::to_string(ops.size()), 4096});
                }
            return;
        }
        while (!bytes.done() && ops.size() < 64) {
            Op op{Op::Save};
            switch (bytes.pick(5)) {
            case 0:
            case 1: {
                op = {Op::Write, bytes.pick(sections.size()), bytes.pick(keys.size())};
                const size_t v = bytes.pick(values.size() + 1);
                op.value = v < values.size() ? values[v] : bytes.text(24);
                break;
            }
            case 2:
                op = {Op::Read, bytes.pick(sections.size()), bytes.pick(keys.size())};
                op.size = kSizes[bytes.pick(std::size(kSizes))];
                break;
            case 3:
                op = {Op::ReadInt, bytes.pick(sections.size()), bytes.pick(keys.size())};
                break;
            default:
                break;
            }
            ops.push_back(op);
        }
    }

private:
    void fail(const std::string& what)
    {
        if (failure.empty())
            failure = what + "\nfile before: " + shown(initial) + "\nfile now: " + shown(fileText(oneKey));
    }

    std::string named(size_t s, size_t k) const { return "[" + shown(sections[s]) + "] " + shown(keys[k]); }

    void write(size_t s, size_t k, const std::string& value)
    {
        const bool oneKeyWrote = platform::writePrivateProfileString(sections[s], keys[k], value, oneKey);
        const bool memoryWrote = memory->writeString(sections[s], keys[k], value);
        if (oneKeyWrote != memoryWrote)
            return fail("write " + named(s, k) + " = " + shown(value) + ": the one-key function says " +
                        std::to_string(oneKeyWrote) + ", the file in memory " + std::to_string(memoryWrote));
        if (oneKeyWrote)
            written[{folded(sections[s]), folded(keys[k])}] = readBack(value);
    }

    std::string expected(size_t s, size_t k, size_t size) const
    {
        const std::pair<std::string, std::string> name{folded(sections[s]), folded(keys[k])};
        const auto w = written.find(name);
        return cut(w != written.end() ? w->second : before.at(name), size);
    }

    void read(size_t s, size_t k, size_t size)
    {
        const std::string model = expected(s, k, size);
        const std::string oneKeyValue = platform::getPrivateProfileString(sections[s], keys[k], kMissing, size, oneKey);
        const std::string memoryValue = memory->getString(sections[s], keys[k], kMissing, size);
        if (oneKeyValue != model || memoryValue != model)
            fail("read " + named(s, k) + " size " + std::to_string(size) + ": model " + shown(model) +
                 ", one-key function " + shown(oneKeyValue) + ", file in memory " + shown(memoryValue));
    }

    void readInt(size_t s, size_t k)
    {
        const int fallback = -7777;
        const int oneKeyValue = platform::getPrivateProfileInt(sections[s], keys[k], fallback, oneKey);
        const int memoryValue = memory->getInt(sections[s], keys[k], fallback);
        if (oneKeyValue != memoryValue)
            fail("read the integer " + named(s, k) + ": one-key function " + std::to_string(oneKeyValue) +
                 ", file in memory " + std::to_string(memoryValue));
    }

    void saveAndReopen()
    {
        if (!memory->save())
            return fail("the file in memory could not be saved");
        const std::string a = fileText(oneKey), b = fileText(wholeFile);
        if (a != b)
            return fail("the bytes differ: one-key functions " + shown(a) + ", file in memory " + shown(b));
        memory = std::make_unique<platform::PrivateProfileFile>(wholeFile);
    }

    ScriptBytes bytes;
    std::string oneKey, wholeFile;
    std::string initial;
    std::vector<std::string> sections, keys, values;
    std::map<std::pair<std::string, std::string>, std::string> before, written;
    std::vector<Op> ops;
    std::unique_ptr<platform::PrivateProfileFile> memory;
    std::string failure;
};

} // namespace

std::string RunProfileScript(const std::uint8_t* data, std::size_t size, const std::string& folder)
{
    return ProfileScript(data, size, folder).run();
}
