#include "ide/model/recent_list.hpp"

#include <algorithm>
#include <cstdio>

#include "platform/registry_file.hpp"

namespace ide {

CRecentFileList::CRecentFileList(std::string section, std::string entryFormat, int size, int displayLength)
    : section_(std::move(section)), entryFormat_(std::move(entryFormat)), size_(size), displayLength_(displayLength)
{
}

void CRecentFileList::Add(const std::string& path)
{
    if (path.empty())
        return;
    const auto same = std::find(entries_.begin(), entries_.end(), path);
    if (same != entries_.end())
        entries_.erase(same);
    entries_.insert(entries_.begin(), path);
    if (static_cast<int>(entries_.size()) > size_)
        entries_.resize(size_);
}

void CRecentFileList::Remove(int index)
{
    if (index >= 0 && index < static_cast<int>(entries_.size()))
        entries_.erase(entries_.begin() + index);
}

std::string CRecentFileList::DisplayName(int index) const
{
    const std::string& path = entries_.at(index);
    if (static_cast<int>(path.size()) <= displayLength_)
        return path;
    const size_t slash = path.find_last_of('/');
    if (slash != std::string::npos)
        return "..." + path.substr(slash);
    // Never from inside a character: a name cut in a UTF-8 sequence would show as nothing.
    size_t from = path.size() - displayLength_;
    while (from < path.size() && (static_cast<unsigned char>(path[from]) & 0xC0) == 0x80)
        ++from;
    return "..." + path.substr(from);
}

std::string CRecentFileList::SectionKey() const
{
    return std::string(kAppRegistryKey) + "\\" + section_;
}

std::string CRecentFileList::EntryName(int number) const
{
    char name[64];
    std::snprintf(name, sizeof name, entryFormat_.c_str(), number);
    return name;
}

void CRecentFileList::ReadList(const platform::RegistryFile& registry)
{
    entries_.clear();
    for (int i = 1; i <= size_; ++i) {
        const auto value = registry.GetValue(SectionKey(), EntryName(i));
        if (value && !value->empty())
            entries_.push_back(*value);
    }
}

bool CRecentFileList::MergeInto(platform::RegistryFile& registry, const std::vector<std::string>& before) const
{
    if (entries_ == before)
        return false;
    CRecentFileList merged(section_, entryFormat_, size_, displayLength_);
    merged.ReadList(registry);
    const std::vector<std::string> inFile = merged.entries_;
    merged.entries_ = entries_;
    auto has = [](const std::vector<std::string>& list, const std::string& path) {
        return std::find(list.begin(), list.end(), path) != list.end();
    };
    for (const std::string& path : inFile)
        if (static_cast<int>(merged.entries_.size()) < size_ && !has(entries_, path) && !has(before, path))
            merged.entries_.push_back(path);
    if (merged.entries_ == inFile)
        return false;
    merged.WriteList(registry);
    return true;
}

void CRecentFileList::WriteList(platform::RegistryFile& registry) const
{
    registry.DeleteKey(SectionKey());
    for (size_t i = 0; i < entries_.size(); ++i)
        registry.SetValue(SectionKey(), EntryName(static_cast<int>(i) + 1), entries_[i]);
}

} // namespace ide
