// The list of file path names and the project kept in a ".prj" file.
#include "compiler/driver/driver.hpp"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <unordered_set>

#include <sys/stat.h>

#include "compiler/core/gbk.hpp"
#include "platform/file_io.hpp"
#include "platform/private_profile.hpp"

namespace {

const char kSection[] = "QuvBench";
// Values are read as into a buffer of this many characters, terminator included.
const size_t kValueSize = 1024;

std::string fileKey(int number) {
    return "File " + std::to_string(number);
}

std::string numbered(const char* format, int number) {
    char text[kValueSize];
    std::snprintf(text, sizeof text, format, number);
    return text;
}

// Drops the "." steps of a path ("./a/./b.e" is "a/b.e"); ".." is kept, as
// a folder reached through a link has another parent.
std::string withoutDotSteps(const std::string& path) {
    std::string out;
    size_t at = 0;
    while (at <= path.size()) {
        size_t end = path.find('/', at);
        if (end == std::string::npos)
            end = path.size();
        const std::string step = path.substr(at, end - at);
        if (step != "." || end == path.size()) {
            if (!out.empty() || (at > 0 && path[0] == '/'))
                out += '/';
            out += step;
        }
        at = end + 1;
    }
    return out;
}

bool exists(const std::string& path) {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

std::string CQuvProject::ResolveName(const std::string& projectFile, const std::string& name) {
    if (name.empty() || name[0] == '/')
        return name;
    const std::string::size_type slash = projectFile.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : projectFile.substr(0, slash + 1);
    if (folder.empty() && name.find('/') == std::string::npos)
        return name;
    std::string joined = folder + name;
    if (joined[0] != '/') {
        std::error_code error;
        const std::string cwd = std::filesystem::current_path(error).string();
        if (error)
            return joined;
        joined = cwd + (cwd.back() == '/' ? "" : "/") + joined;
    }
    return withoutDotSteps(joined);
}

std::vector<std::string> CQuvProject::ResolvedFiles() const {
    std::vector<std::string> out;
    out.reserve(files.size());
    for (const std::string& file : files)
        out.push_back(ResolveName(path, file));
    return out;
}

int CQuvFileList::Remove(const std::string& name) {
    modified = 1;
    auto it = std::find(files.begin(), files.end(), name);
    const int index = static_cast<int>(it - files.begin());
    if (it != files.end())
        files.erase(it);
    return index;
}

int CQuvFileList::Add(const std::string& name) {
    modified = 1;
    files.push_back(name);
    return static_cast<int>(files.size()) - 1;
}

bool CQuvFileList::Replace(const std::string& oldName, const std::string& newName) {
    Remove(oldName);
    if (Contains(newName))
        return false;
    Add(newName);
    return true;
}

bool CQuvFileList::Contains(const std::string& name) const {
    return std::find(files.begin(), files.end(), name) != files.end();
}

void CQuvFileList::Clear() {
    modified = 1;
    files.clear();
}

void CQuvProject::Reset() {
    name.clear();
    path.clear();
    notCreated = 1;
    modified = 0;
    files.clear();
}

void CQuvProject::show(const std::string& text) const {
    if (messageSink)
        messageSink(text);
}

std::string CQuvProject::LocalName(const std::string& projectFile, const std::string& name) {
    // A name in ASCII reads the same in GBK.
    if (std::all_of(name.begin(), name.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }) ||
        exists(ResolveName(projectFile, name)))
        return name;
    const std::string fromGbk = gbk::toUtf8(name);
    // A name that is not UTF-8 cannot be shown or typed here: when neither
    // exists, the missing file is reported under the name the user gave it.
    if (exists(ResolveName(projectFile, fromGbk)) || !gbk::isUtf8(name))
        return fromGbk;
    return name;
}

bool CQuvProject::Load(const std::string& projectFile, const std::function<bool()>& stopped) {
    // Read once, as a source is, then each key looked up in memory: a pipe
    // gives what a file would, and a project of many files loads in linear time.
    std::string text, readError;
    const platform::ReadEnd end = platform::ReadWithStop(projectFile, text, readError, stopped);
    if (end == platform::ReadEnd::Stopped)
        return false;
    Clear();
    path = projectFile;
    const platform::PrivateProfileFile profile(path, text);
    const std::string projectName = profile.getString(kSection, "Project Name", "", kValueSize);
    if (projectName.empty()) {
        // Whatever the cause, the same first words; the file and why follow,
        // so that a missing or unreadable file is not taken for a bad one.
        const std::string why = end == platform::ReadEnd::Failed ? readError : "no project name";
        show("Illegal Project File With Project Name key not exist or value is empty! " + path + ": " + why);
        return false;
    }
    // A name written where text is GBK reads here as the user wrote it.
    name = gbk::fileNameToUtf8(projectName);
    const int count = profile.getInt(kSection, "Project File Num", -1);
    std::unordered_set<std::string> seen;
    for (int i = 1; i <= count; ++i) {
        const std::string file = LocalName(path, profile.getString(kSection, fileKey(i), "", kValueSize));
        if (file.empty()) {
            show(numbered("Illegal Project File With the %dth File Name not exist or value is empty!", i));
            return false;
        }
        if (!seen.insert(file).second) {
            show(numbered("The %dth File has been inserted into the project before!", i));
            return false;
        }
        Add(file);
    }
    notCreated = 0;
    modified = 0;
    return true;
}

bool CQuvProject::Save() {
    // Every key set in memory, then the file written once. A name the format
    // refuses leaves the file as it was rather than half rewritten.
    platform::PrivateProfileFile profile(path);
    // Names go in quotes where a read would take blanks or quotes off them.
    bool written = profile.writeString(kSection, "Project Name", platform::valueReadBackAsItself(name)) &&
                   profile.writeString(kSection, "Project File Num", std::to_string(GetCount()));
    for (int i = 0; written && i < GetCount(); ++i)
        written = profile.writeString(kSection, fileKey(i + 1), platform::valueReadBackAsItself(files[i]));
    saveFailure = platform::WriteFailure();
    saveReason = "a name holds a line end, which a project file cannot keep";
    written = written && profile.save(saveReason, saveFailure);
    if (!written) {
        // The project still differs from its file: keep it modified so closing offers to save again.
        show("Cannot write the project file " + path + ": " + saveReason);
        return false;
    }
    modified = 0;
    notCreated = 0;
    return true;
}
