// What the user searched for: find texts, replacement texts, file-type
// patterns and folders, newest first, with the options of the last multi-file
// job. The lists survive restarts in four sections of QuvBench.ini, keys "0"
// (newest) to "11".
#pragma once
#include <string>
#include <vector>

namespace platform {
class PrivateProfileFile;
}

namespace ide {

class CQuvFindHistory {
public:
    typedef std::vector<std::string> List;

    // Moves `text` to the front, removing an equal entry further back.
    static void InsertMostRecent(List& list, std::string text);

    List& GetFindTexts() { return findTexts; }
    List& GetReplaceTexts() { return replaceTexts; }

    // From a settings file read once.
    void LoadFromIni(const platform::PrivateProfileFile& profile);
    // Writes up to 12 entries of each list under consecutive keys from "0".
    // An entry that holds a line break cannot live on one line of the file: it
    // is left out and the next entry takes its key; one with blanks at its
    // ends or quotes around it is written inside quotes, so that it reads
    // back as it was. Keys past the last written one keep what the file held.
    void SaveToIni(const std::string& file) const;
    // Writes each list that differs from `before` (what was read at
    // start-up): this one's entries first, then those the file holds now
    // that this one never had (another IDE's). True when anything was written.
    bool SaveChanges(const CQuvFindHistory& before, platform::PrivateProfileFile& profile) const;

    List findTexts;
    List replaceTexts;
    List fileTypes;
    List folders;
    int matchCase = 1;
    int regularExpression = 0;
    // Nothing sets it before the first multi-file job, yet the dialogs read it.
    int subfolders = 0;
    int scope = 0;  // 0 listed folders, 1 open documents, 2 project files
};

inline constexpr int kHistoryKeys = 12;
// The read buffer of one entry, in UTF-16 units with its terminator.
inline constexpr size_t kHistoryEntryUnits = 260;

} // namespace ide
