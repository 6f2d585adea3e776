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

void CQuvFindHistory::LoadFromIni(const std::string& file)
{
    for (const Section& s : kSections) {
        for (int k = kHistoryKeys - 1; k >= 0; --k) {
            const std::string value = CutToUtf16Units(
                platform::getPrivateProfileString(s.name, std::to_string(k), "", 4096, file), kHistoryEntryUnits - 1);
            if (!value.empty())
                InsertMostRecent(this->*s.list, value);
        }
    }
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
