// A most-recently-used list of paths (recent files, recent projects), newest
// first, kept in the user's registry file under the application's key as
// values "<prefix>1" .. "<prefix>N" of one section key.
#pragma once
#include <string>
#include <vector>

namespace platform {
class RegistryFile;
}

namespace ide {

// The application's key in the registry file.
inline constexpr char kAppRegistryKey[] = "Software\\Local AppWizard-Generated Applications\\QuvBench";

class CRecentFileList {
public:
    // `section` e.g. "Recent Project List", `entryFormat` e.g. "Project%d".
    CRecentFileList(std::string section, std::string entryFormat, int size, int displayLength);

    // Puts `path` first; an equal entry further back goes, the oldest falls off.
    void Add(const std::string& path);
    void Remove(int index);
    const std::vector<std::string>& Entries() const { return entries_; }
    int Size() const { return size_; }
    // The entry as a menu shows it: the path, or when it is longer than the
    // display length its file name behind "...".
    std::string DisplayName(int index) const;

    void ReadList(const platform::RegistryFile& registry);
    // Rewrites the section: the entries, and no stale value past them.
    void WriteList(platform::RegistryFile& registry) const;
    // When the entries differ from `before` (what was read at start-up):
    // rewrites the section with these entries first, then those the file
    // holds now that this list never had (another IDE's). True when the
    // section changed.
    bool MergeInto(platform::RegistryFile& registry, const std::vector<std::string>& before) const;

    std::string SectionKey() const;
    std::string EntryName(int number) const;

private:
    std::string section_;
    std::string entryFormat_;
    int size_;
    int displayLength_;
    std::vector<std::string> entries_;
};

} // namespace ide
