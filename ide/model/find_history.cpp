#include "ide/model/find_history.hpp"

#include <algorithm>

#include "ide/model/settings_file.hpp"
#include "platform/private_profile.hpp"

namespace ide {

namespace {

// ORDER SECTIONS: loaded and saved in this order.
struct Section {
    const char* name;
    CQuvFindHistory::List CQuvFindHistory::*list;
};
const Section kSections[] = {{"FindTextSection", &CQuvFindHistory::findTexts},
                             {"ReplaceTextSection", &CQuvFindHistory::replaceTexts},
                             {"FileTypeSection", &CQuvFindHistory::fileTypes},
                             {"DirSection", &CQuvFindHistory::folders}};

bool breaksLine(const std::string& text)
{
    return text.find_first_of("\r\n") != std::string::npos;
}

} // namespace

void CQuvFindHistory::InsertMostRecent(List& list, std::string text)
{
    const auto same = std::find(list.begin(), list.end(), text);
    if (same != list.end())
        list.erase(same);
    list.insert(list.begin(), std::move(text));
}

void CQuvFindHistory::LoadFromIni(const platform::PrivateProfileFile& profile)
{
    for (const Section& s : kSections) {
        for (int k = kHistoryKeys - 1; k >= 0; --k) {
            const std::string value =
                CutToUtf16Units(profile.getString(s.name, std::to_string(k), "", 4096), kHistoryEntryUnits - 1);
            if (!value.empty())
                InsertMostRecent(this->*s.list, value);
        }
    }
}

bool CQuvFindHistory::SaveChanges(const CQuvFindHistory& before, platform::PrivateProfileFile& profile) const
{
    bool wrote = false;
    for (const Section& s : kSections) {
        const List& now = this->*s.list;
        const List& then = before.*s.list;
        if (now == then)
            continue;
        List merged = now;
        for (int k = 0; k < kHistoryKeys; ++k) {
            const std::string value = CutToUtf16Units(profile.getString(s.name, std::to_string(k), "", 4096),
                                                      kHistoryEntryUnits - 1);
            if (!value.empty() && std::find(now.begin(), now.end(), value) == now.end() &&
                std::find(then.begin(), then.end(), value) == then.end() &&
                std::find(merged.begin(), merged.end(), value) == merged.end())
                merged.push_back(value);
        }
        int key = 0;
        for (const std::string& entry : merged) {
            if (key == kHistoryKeys)
                break;
            if (breaksLine(entry))
                continue;
            profile.writeString(s.name, std::to_string(key++), entry);
        }
        wrote = true;
    }
    return wrote;
}

void CQuvFindHistory::SaveToIni(const std::string& file) const
{
    EnsureFolderOf(file);
    for (const Section& s : kSections) {
        int key = 0;
        for (const std::string& entry : this->*s.list) {
            if (key == kHistoryKeys)
                break;
            if (breaksLine(entry))
                continue;
            platform::writePrivateProfileString(s.name, std::to_string(key++), platform::valueReadBackAsItself(entry), file);
        }
    }
}

} // namespace ide
