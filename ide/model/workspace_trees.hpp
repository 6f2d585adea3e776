// What the Workspace bar's two trees show and what their popup menu does,
// without a window: the project tree mirrors the project's file list, the
// opened-files tree the list of open documents. The window layer draws the
// items these models hold and answers the host's questions with the real
// application, dialogs and message boxes.
#pragma once
#include <string>
#include <vector>

#include "compiler/driver/driver.hpp"

namespace ide {

// A QUV/E source: a name whose last two characters are ".e" in any letter case.
bool IsSourceName(const std::string& name);

// The commands of the workspace popup menu. ORDER WORKSPACE MENU: the menu
// lists them in this order, with separators after OpenAll and Remove.
enum class WorkspaceCommand { Open, Close, OpenAll, AddCurrent, AddAll, AddDocument, Remove, ProjectSettings };

// The open-file dialogs the popup menu shows.
enum class FileChoice {
    AddToProject,  // project tree's "添加文档": QUV/E sources only
    OpenFiles,     // opened-files tree's "打开" with no file selected: sources or any file
    AddFromOpened  // opened-files tree's "添加文档": sources, default extension ".e"
};

// What the trees need of the application.
class WorkspaceHost {
public:
    virtual ~WorkspaceHost() = default;
    // True when the project exists or the user has just created it.
    virtual bool EnsureProjectCreated() = 0;
    // Activates the file's document, or opens it.
    virtual void OpenDocumentFile(const std::string& path) = 0;
    virtual void CloseDocumentByPath(const std::string& path) = 0;
    // The name of the active document (its path, or its title while it has
    // none); empty when no document is active.
    virtual std::string ActiveDocumentName() = 0;
    // Runs the open-file dialog; false when cancelled.
    virtual bool ChooseFiles(FileChoice choice, std::vector<std::string>& paths) = 0;
    virtual void ShowError(const std::string& text, const std::string& caption) = 0;
    virtual void ProjectSettings() = 0;
    // Rebuilds the project tree from the project.
    virtual void RefreshProjectTree() = 0;
};

// What the popup menu shows of one command.
struct CommandState {
    bool enabled = false;
    // A text for the menu item; empty keeps the menu's own.
    std::string text;
};

// One tree: a root item and its children's texts, in tree order.
class CWorkspaceTree {
public:
    CWorkspaceTree(CQuvProject& project, CQuvFileList& openFiles) : project_(project), openFiles_(openFiles) {}
    virtual ~CWorkspaceTree() = default;

    const std::string& RootText() const { return root_; }
    const std::vector<std::string>& Children() const { return children_; }
    // Appends a file item under the root.
    void InsertFileItem(const std::string& name) { children_.push_back(name); }

    // `selectedFile` is the text of the selected file item, empty when the
    // root or nothing is selected.
    virtual CommandState Update(WorkspaceCommand command, const std::string& selectedFile, WorkspaceHost& host) const = 0;
    virtual void Run(WorkspaceCommand command, const std::string& selectedFile, WorkspaceHost& host) = 0;
    // The document a file item stands for: the item's text, which for a
    // project entry is what the project file says.
    virtual std::string DocumentPath(const std::string& item) const { return item; }

protected:
    // Deletes the first child with this text; false when there is none.
    bool DeleteChild(const std::string& name);
    void OpenAll(WorkspaceHost& host) const;
    // True when the project lists the file, by this name or by a relative one
    // that stands for it: adding it again would compile it twice.
    bool InProject(const std::string& path) const;
    // A source the project lacks; false for an empty name.
    bool CanAdd(const std::string& name) const;
    // The commands both trees show and run alike; false for the others.
    bool UpdateShared(WorkspaceCommand command, const std::string& selectedFile, CommandState& state) const;
    bool RunShared(WorkspaceCommand command, const std::string& selectedFile, WorkspaceHost& host);
    // Appends every open source document the project lacks.
    void AddOpenSources(bool insertItems);

    CQuvProject& project_;
    CQuvFileList& openFiles_;
    std::string root_;
    std::vector<std::string> children_;
};

// The project tree: the root names the project, one child per project entry.
class CProjectTreeModel : public CWorkspaceTree {
public:
    CProjectTreeModel(CQuvProject& project, CQuvFileList& openFiles);
    // Rebuilds root and children from the project.
    void Refresh();
    CommandState Update(WorkspaceCommand command, const std::string& selectedFile, WorkspaceHost& host) const override;
    void Run(WorkspaceCommand command, const std::string& selectedFile, WorkspaceHost& host) override;
    // A relative entry is taken from the project file's folder.
    std::string DocumentPath(const std::string& item) const override;
};

// The opened-files tree: one child per open document, kept in step with the
// open-documents list by the document code.
class COpenedFilesTreeModel : public CWorkspaceTree {
public:
    COpenedFilesTreeModel(CQuvProject& project, CQuvFileList& openFiles);
    // A document was created or opened.
    void AddFile(const std::string& name);
    // A document was closed.
    void RemoveFile(const std::string& name);
    // A document was saved under another name: its item is renamed in place.
    void RenameFile(const std::string& oldName, const std::string& newName);
    CommandState Update(WorkspaceCommand command, const std::string& selectedFile, WorkspaceHost& host) const override;
    void Run(WorkspaceCommand command, const std::string& selectedFile, WorkspaceHost& host) override;
};

// UTF-8 texts of the trees.
extern const char kNoProjectText[];      // "工程尚未创建"
extern const char kOpenedFilesText[];    // "打开的文件"
extern const char kAddActiveText[];      // "添加当前活动文档"
extern const char kAddSelectedText[];    // "添加选定文档"
extern const char kNotSourceText[];      // appended to the path of a file that is no source
extern const char kNotSourceCaption[];   // "错误!"

} // namespace ide
