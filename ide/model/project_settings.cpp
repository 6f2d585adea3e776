#include "ide/model/project_settings.hpp"

#include <algorithm>

#include "ide/model/workspace_trees.hpp"

namespace ide {

const char kEmptyNameOrPathText[] = "工程名或工程路径不能为空!";

std::string FileTitle(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = file.find_last_of('.');
    if (dot != std::string::npos && dot > 0)
        file.erase(dot);
    return file;
}

CProjectSettingsModel::CProjectSettingsModel(CQuvProject& project, const CQuvFileList& openFiles, bool createMode)
    : project_(project), openFiles_(openFiles), createMode_(createMode)
{
    Fill();
}

void CProjectSettingsModel::Fill()
{
    path = project_.GetPath();
    name = project_.GetName();
    projectRows.clear();
    openRows.clear();
    for (int i = 0; i < project_.GetCount(); ++i)
        AddRow(projectRows, project_.GetAt(i));
    for (int i = 0; i < openFiles_.GetCount(); ++i)
        if (IsSourceName(openFiles_.GetAt(i)))
            AddRow(openRows, openFiles_.GetAt(i));
}

void CProjectSettingsModel::AddRow(std::vector<std::string>& rows, const std::string& text)
{
    if (std::find(rows.begin(), rows.end(), text) == rows.end())
        rows.push_back(text);
}

void CProjectSettingsModel::AddProjectRows(const std::vector<std::string>& paths)
{
    for (const std::string& p : paths)
        AddRow(projectRows, p);
}

void CProjectSettingsModel::RemoveProjectRows(const std::vector<int>& selected)
{
    std::vector<std::string> texts;
    for (int index : selected)
        if (index >= 0 && index < static_cast<int>(projectRows.size()))
            texts.push_back(projectRows[index]);
    for (const std::string& text : texts)
        projectRows.erase(std::remove(projectRows.begin(), projectRows.end(), text), projectRows.end());
}

void CProjectSettingsModel::AddSelectedOpenRows(const std::vector<int>& selected)
{
    for (int index : selected)
        if (index >= 0 && index < static_cast<int>(openRows.size()))
            AddRow(projectRows, openRows[index]);
}

void CProjectSettingsModel::AddAllOpenRows()
{
    for (const std::string& row : openRows)
        AddRow(projectRows, row);
}

void CProjectSettingsModel::SetProjectFile(const std::string& chosenPath)
{
    path = chosenPath;
    if (name.empty())
        name = FileTitle(chosenPath);
}

bool CProjectSettingsModel::Apply()
{
    if (name.empty() || path.empty())
        return false;
    project_.SetCreated();
    project_.SetName(name);
    project_.SetPath(path);
    project_.Clear();
    for (const std::string& row : projectRows)
        project_.Add(row);
    return true;
}

} // namespace ide
