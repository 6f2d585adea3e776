#include "ide/model/workspace_trees.hpp"

#include <algorithm>
#include <cctype>

namespace ide {

const char kNoProjectText[] = "工程尚未创建";
const char kOpenedFilesText[] = "打开的文件";
const char kAddActiveText[] = "添加当前活动文档";
const char kAddSelectedText[] = "添加选定文档";
const char kNotSourceText[] = "不是一个QUV/E源文件，请确认添加的文件是以.e为扩展名!";
const char kNotSourceCaption[] = "错误!";

bool IsSourceName(const std::string& name)
{
    const size_t n = name.size();
    return n >= 2 && name[n - 2] == '.' && std::tolower(static_cast<unsigned char>(name[n - 1])) == 'e';
}

bool CWorkspaceTree::DeleteChild(const std::string& name)
{
    auto it = std::find(children_.begin(), children_.end(), name);
    if (it == children_.end())
        return false;
    children_.erase(it);
    return true;
}

void CWorkspaceTree::OpenAll(WorkspaceHost& host) const
{
    // Opening a document changes the open list, never the project: a copy keeps the walk simple.
    const std::vector<std::string> entries = project_.ResolvedFiles();
    for (const std::string& path : entries)
        host.OpenDocumentFile(path);
}

bool CWorkspaceTree::CanAdd(const std::string& name) const
{
    return !name.empty() && !InProject(name) && IsSourceName(name);
}

bool CWorkspaceTree::UpdateShared(WorkspaceCommand command, const std::string& selectedFile,
                                  CommandState& state) const
{
    switch (command) {
    case WorkspaceCommand::OpenAll:
        state.enabled = project_.GetCount() > 0;
        return true;
    case WorkspaceCommand::AddAll:
        state.enabled = openFiles_.GetCount() > 0;
        return true;
    case WorkspaceCommand::Remove:
        state.enabled = !selectedFile.empty() && project_.Contains(selectedFile);
        return true;
    case WorkspaceCommand::ProjectSettings:
        state.enabled = true;
        return true;
    default:
        return false;
    }
}

bool CWorkspaceTree::RunShared(WorkspaceCommand command, const std::string& selectedFile, WorkspaceHost& host)
{
    switch (command) {
    case WorkspaceCommand::Close:
        host.CloseDocumentByPath(DocumentPath(selectedFile));
        return true;
    case WorkspaceCommand::OpenAll:
        OpenAll(host);
        return true;
    case WorkspaceCommand::ProjectSettings:
        host.ProjectSettings();
        return true;
    default:
        return false;
    }
}

bool CWorkspaceTree::InProject(const std::string& path) const
{
    if (project_.Contains(path))
        return true;
    const std::vector<std::string> files = project_.ResolvedFiles();
    return std::find(files.begin(), files.end(), path) != files.end();
}

void CWorkspaceTree::AddOpenSources(bool insertItems)
{
    for (int i = 0; i < openFiles_.GetCount(); ++i) {
        const std::string name = openFiles_.GetAt(i);
        if (InProject(name) || !IsSourceName(name))
            continue;
        project_.Add(name);
        if (insertItems)
            InsertFileItem(name);
    }
}

CProjectTreeModel::CProjectTreeModel(CQuvProject& project, CQuvFileList& openFiles)
    : CWorkspaceTree(project, openFiles)
{
    root_ = kNoProjectText;
}

void CProjectTreeModel::Refresh()
{
    root_ = project_.IsCreated() ? project_.GetName() : std::string(kNoProjectText);
    children_.clear();
    for (int i = 0; i < project_.GetCount(); ++i)
        InsertFileItem(project_.GetAt(i));
}

std::string CProjectTreeModel::DocumentPath(const std::string& item) const
{
    return CQuvProject::ResolveName(project_.GetPath(), item);
}

CommandState CProjectTreeModel::Update(WorkspaceCommand command, const std::string& selectedFile,
                                       WorkspaceHost& host) const
{
    const bool fileItem = !selectedFile.empty();
    CommandState state;
    if (UpdateShared(command, selectedFile, state))
        return state;
    switch (command) {
    case WorkspaceCommand::Open:
        state.enabled = fileItem && openFiles_.Contains(DocumentPath(selectedFile));
        break;
    case WorkspaceCommand::Close:
        state.enabled = fileItem;
        break;
    case WorkspaceCommand::AddCurrent:
        state.text = kAddActiveText;
        state.enabled = CanAdd(host.ActiveDocumentName());
        break;
    case WorkspaceCommand::AddDocument:
        state.enabled = true;
        break;
    default:
        break;
    }
    return state;
}

void CProjectTreeModel::Run(WorkspaceCommand command, const std::string& selectedFile, WorkspaceHost& host)
{
    if (RunShared(command, selectedFile, host))
        return;
    switch (command) {
    case WorkspaceCommand::Open:
        host.OpenDocumentFile(DocumentPath(selectedFile));
        break;
    case WorkspaceCommand::AddCurrent: {
        if (!host.EnsureProjectCreated())
            return;
        const std::string active = host.ActiveDocumentName();
        if (CanAdd(active)) {
            project_.Add(active);
            InsertFileItem(active);
        }
        break;
    }
    case WorkspaceCommand::AddAll:
        if (host.EnsureProjectCreated())
            AddOpenSources(true);
        break;
    case WorkspaceCommand::AddDocument: {
        if (!host.EnsureProjectCreated())
            return;
        std::vector<std::string> paths;
        if (!host.ChooseFiles(FileChoice::AddToProject, paths))
            return;
        for (const std::string& path : paths) {
            if (!IsSourceName(path)) {
                host.ShowError(path + kNotSourceText, kNotSourceCaption);
            } else if (!InProject(path)) {
                project_.Add(path);
                InsertFileItem(path);
            }
        }
        break;
    }
    case WorkspaceCommand::Remove:
        project_.Remove(selectedFile);
        DeleteChild(selectedFile);
        break;
    default:
        break;
    }
}

COpenedFilesTreeModel::COpenedFilesTreeModel(CQuvProject& project, CQuvFileList& openFiles)
    : CWorkspaceTree(project, openFiles)
{
    root_ = kOpenedFilesText;
}

void COpenedFilesTreeModel::AddFile(const std::string& name)
{
    if (openFiles_.Contains(name))
        return;
    openFiles_.Add(name);
    InsertFileItem(name);
}

void COpenedFilesTreeModel::RemoveFile(const std::string& name)
{
    if (!openFiles_.Contains(name))
        return;
    openFiles_.Remove(name);
    DeleteChild(name);
}

void COpenedFilesTreeModel::RenameFile(const std::string& oldName, const std::string& newName)
{
    if (!openFiles_.Contains(oldName))
        return;
    // Saved under the name of another open document: that document's item goes.
    if (!openFiles_.Replace(oldName, newName))
        DeleteChild(newName);
    auto it = std::find(children_.begin(), children_.end(), oldName);
    if (it != children_.end())
        *it = newName;
}

CommandState COpenedFilesTreeModel::Update(WorkspaceCommand command, const std::string& selectedFile,
                                           WorkspaceHost& host) const
{
    const bool fileItem = !selectedFile.empty();
    CommandState state;
    if (UpdateShared(command, selectedFile, state))
        return state;
    switch (command) {
    case WorkspaceCommand::Open:
    case WorkspaceCommand::Close:
        state.enabled = fileItem;
        break;
    case WorkspaceCommand::AddCurrent:
        state.text = fileItem ? kAddSelectedText : kAddActiveText;
        state.enabled = CanAdd(fileItem ? selectedFile : host.ActiveDocumentName());
        break;
    case WorkspaceCommand::AddDocument:
        state.enabled = CanAdd(selectedFile);
        break;
    default:
        break;
    }
    return state;
}

void COpenedFilesTreeModel::Run(WorkspaceCommand command, const std::string& selectedFile, WorkspaceHost& host)
{
    if (RunShared(command, selectedFile, host))
        return;
    switch (command) {
    case WorkspaceCommand::Open:
        if (!selectedFile.empty()) {
            host.OpenDocumentFile(selectedFile);
        } else {
            std::vector<std::string> paths;
            if (host.ChooseFiles(FileChoice::OpenFiles, paths))
                for (const std::string& path : paths)
                    if (!openFiles_.Contains(path))
                        host.OpenDocumentFile(path);
        }
        break;
    case WorkspaceCommand::AddCurrent: {
        if (!host.EnsureProjectCreated())
            return;
        const std::string name = selectedFile.empty() ? host.ActiveDocumentName() : selectedFile;
        if (!name.empty() && !InProject(name))
            project_.Add(name);
        host.RefreshProjectTree();
        break;
    }
    case WorkspaceCommand::AddAll:
        if (!host.EnsureProjectCreated())
            return;
        AddOpenSources(false);
        host.RefreshProjectTree();
        break;
    case WorkspaceCommand::AddDocument: {
        if (!host.EnsureProjectCreated())
            return;
        std::vector<std::string> paths;
        if (host.ChooseFiles(FileChoice::AddFromOpened, paths))
            for (const std::string& path : paths)
                if (!InProject(path))
                    project_.Add(path);
        host.RefreshProjectTree();
        break;
    }
    case WorkspaceCommand::Remove:
        project_.Remove(selectedFile);
        host.RefreshProjectTree();
        break;
    default:
        break;
    }
}

} // namespace ide
