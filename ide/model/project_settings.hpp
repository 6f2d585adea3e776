// The project settings dialog without its window: it edits copies of the
// project's name, project file and entries, and only Apply (the dialog's OK)
// writes them back into the project.
#pragma once
#include <string>
#include <vector>

#include "compiler/driver/driver.hpp"

namespace ide {

class CProjectSettingsModel {
public:
    // `createMode`: shown because a command needs a project that does not exist yet.
    CProjectSettingsModel(CQuvProject& project, const CQuvFileList& openFiles, bool createMode);

    bool CreateMode() const { return createMode_; }
    // Takes name, path and entries from the project and the open sources from
    // the open list, dropping every change (the "还原" button does this too).
    void Fill();

    // Appends a row unless one with exactly this text is there.
    static void AddRow(std::vector<std::string>& rows, const std::string& text);
    void AddProjectRows(const std::vector<std::string>& paths);
    // Removes every project row whose text equals that of a selected row.
    void RemoveProjectRows(const std::vector<int>& selected);
    void AddSelectedOpenRows(const std::vector<int>& selected);
    void AddAllOpenRows();
    // A project file chosen in the save dialog; an empty name becomes the file's title.
    void SetProjectFile(const std::string& chosenPath);

    // The dialog's OK: false, changing nothing, when name or path is empty;
    // otherwise the project is created with the name, path and rows.
    bool Apply();

    std::string name;
    std::string path;
    std::vector<std::string> projectRows;
    std::vector<std::string> openRows;

private:
    CQuvProject& project_;
    const CQuvFileList& openFiles_;
    bool createMode_;
};

// The file name without folder and extension.
std::string FileTitle(const std::string& path);

extern const char kEmptyNameOrPathText[];  // "工程名或工程路径不能为空!"

} // namespace ide
