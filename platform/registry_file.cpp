#include "platform/registry_file.hpp"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "platform/file_io.hpp"
#include "platform/safe_write.hpp"

namespace platform {

namespace {
// Values are one line each; backslash and line ends are escaped.
std::string Escape(const std::string& s)
{
    std::string out;
    for (char c : s) {
        if (c == '\\')
            out += "\\\\";
        else if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out;
}

// A value's name also stands before the first unescaped "=" of its line, is
// "@" only for the default value, and must not make its line read as a key's
// "[name]": an "=" in it, a name "@" and a "[" at its start are escaped too.
std::string EscapeName(const std::string& name)
{
    if (name.empty())
        return "@";
    std::string out;
    for (char c : Escape(name)) {
        if (c == '=' || (out.empty() && (c == '@' || c == '[')))
            out += '\\';
        out += c;
    }
    return out;
}

// Where the name of a value line ends: its first "=" that no backslash escapes.
size_t NameEnd(const std::string& line)
{
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\\')
            ++i;
        else if (line[i] == '=')
            return i;
    }
    return std::string::npos;
}

std::string Unescape(const std::string& s)
{
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 1 < s.size()) {
            char n = s[++i];
            out += n == 'n' ? '\n' : n == 'r' ? '\r' : n;
        } else {
            out += s[i];
        }
    }
    return out;
}

bool MakeFolders(const std::string& path)
{
    for (size_t at = path.find('/', 1); at != std::string::npos; at = path.find('/', at + 1)) {
        std::string dir = path.substr(0, at);
        if (mkdir(dir.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    return true;
}
} // namespace

std::string RegistryFile::UserPath()
{
    if (const char* p = std::getenv("QUVBENCH_REGISTRY"); p && *p)
        return p;
    if (const char* x = std::getenv("XDG_CONFIG_HOME"); x && *x)
        return std::string(x) + "/QuvBench/registry";
    const char* home = std::getenv("HOME");
    return std::string(home ? home : ".") + "/.config/QuvBench/registry";
}

RegistryFile::RegistryFile(std::string path) : path_(std::move(path)) {}

std::string RegistryFile::Fold(const std::string& key)
{
    std::string out = key;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    while (!out.empty() && out.back() == '\\')
        out.pop_back();
    return out;
}

// The file: "[key]" lines open a key, "name=value" lines follow, where the
// name "@" stands for the default value.
bool RegistryFile::Load()
{
    keys_.clear();
    error_.clear();
    strayLine_ = 0;
    std::string data;
    struct stat st;
    if (stat(path_.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return true;
        error_ = std::strerror(errno);
        return false;
    }
    if (!ReadWholeFile(path_, data, error_))
        return false;
    std::istringstream in(data);
    std::string line;
    Key* current = nullptr;
    for (size_t number = 1; std::getline(in, line); ++number) {
        const bool stray = line.find('\0') != std::string::npos ||
                           (!line.empty() && !(line.front() == '[' && line.back() == ']') &&
                            (!current || NameEnd(line) == std::string::npos));
        if (stray && strayLine_ == 0)
            strayLine_ = number;
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            std::string name = line.substr(1, line.size() - 2);
            Key& k = keys_[Fold(name)];
            if (k.name.empty())
                k.name = name;
            current = &k;
        } else if (current) {
            size_t eq = NameEnd(line);
            if (eq == std::string::npos)
                continue;
            std::string name = line.substr(0, eq);
            current->values[name == "@" ? std::string() : Unescape(name)] = Unescape(line.substr(eq + 1));
        }
    }
    return true;
}

bool RegistryFile::Save() const
{
    std::string reason;
    WriteFailure why;
    return Save(reason, why);
}

bool RegistryFile::Save(std::string& reason, WriteFailure& why) const
{
    std::string out;
    for (const auto& [folded, key] : keys_) {
        out += "[" + key.name + "]\n";
        for (const auto& [name, value] : key.values)
            out += EscapeName(name) + "=" + Escape(value) + "\n";
    }
    if (!MakeFolders(path_)) {
        why = WriteFailure();
        why.error = errno;
        reason = std::strerror(errno);
        return false;
    }
    return WriteFileSafely(path_, out, reason, why);
}

void RegistryFile::SetValue(const std::string& key, const std::string& name, const std::string& value)
{
    Key& k = keys_[Fold(key)];
    if (k.name.empty())
        k.name = key;
    k.values[name] = value;
}

std::optional<std::string> RegistryFile::GetValue(const std::string& key, const std::string& name) const
{
    auto k = keys_.find(Fold(key));
    if (k == keys_.end())
        return std::nullopt;
    auto v = k->second.values.find(name);
    if (v == k->second.values.end())
        return std::nullopt;
    return v->second;
}

bool RegistryFile::HasKey(const std::string& key) const
{
    return keys_.count(Fold(key)) != 0;
}

void RegistryFile::DeleteKey(const std::string& key)
{
    std::string folded = Fold(key);
    for (auto it = keys_.begin(); it != keys_.end();) {
        const std::string& k = it->first;
        bool below = k.size() > folded.size() && k.compare(0, folded.size(), folded) == 0 && k[folded.size()] == '\\';
        if (k == folded || below)
            it = keys_.erase(it);
        else
            ++it;
    }
}

std::vector<std::string> RegistryFile::Keys() const
{
    std::vector<std::string> out;
    for (const auto& [folded, key] : keys_)
        out.push_back(key.name);
    return out;
}

} // namespace platform
