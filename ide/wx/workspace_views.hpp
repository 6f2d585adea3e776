// The two trees of the Workspace bar: the project's files and the open
// documents. Each draws the items of its model (ide/model/workspace_trees)
// and carries the workspace popup menu, whose commands the model runs
// against the application.
#pragma once
#include <memory>
#include <string>

#include <wx/imaglist.h>
#include <wx/treectrl.h>

#include "ide/model/workspace_trees.hpp"
#include "ide/wx/window_services.hpp"

class wxMenu;

namespace ide {

class CWorkspaceTreeView : public wxTreeCtrl {
public:
    // `services` runs the popup menu's commands and opens activated files.
    CWorkspaceTreeView(WindowServices& services, wxWindow* parent, long style);
    ~CWorkspaceTreeView() override;

    virtual CWorkspaceTree& Model() = 0;
    // The text of the selected item when it is a file item, else empty.
    std::string SelectedFile() const;
    // Selects the child with this text, or the root for an empty text.
    void SelectFile(const std::string& text);
    // The workspace popup menu, as its update requests leave it.
    wxMenu* PopupMenuForTest();

protected:
    WindowServices& services_;

    // Makes the tree show the model's items.
    void Sync();
    void SetRootImages(bool expanded);
    virtual int RootImage(bool expanded) const = 0;

private:
    void OnCommand(wxCommandEvent& event);
    void OnUpdateCommand(wxUpdateUIEvent& event);
    void OnActivated(wxTreeEvent& event);
    void OnRightClick(wxTreeEvent& event);
    void OnItemMenu(wxTreeEvent& event);

    wxImageList images_;
    std::unique_ptr<wxMenu> popup_;
};

class CQUVProjectTreeView : public CWorkspaceTreeView {
public:
    CQUVProjectTreeView(WindowServices& services, wxWindow* parent);
    CWorkspaceTree& Model() override { return model_; }
    // Rebuilds the tree from the project.
    void RefreshTree();
    void InsertFileItem(const std::string& name);

protected:
    int RootImage(bool expanded) const override { return expanded ? 1 : 0; }

private:
    CProjectTreeModel model_;
};

class CQUVOpenedFilesTreeView : public CWorkspaceTreeView {
public:
    CQUVOpenedFilesTreeView(WindowServices& services, wxWindow* parent);
    CWorkspaceTree& Model() override { return model_; }
    void InsertFileItem(const std::string& name);
    // The document code tells of documents that opened, closed or were saved under another name.
    void AddFile(const std::string& name);
    void RemoveFile(const std::string& name);
    void RenameFile(const std::string& oldName, const std::string& newName);

protected:
    int RootImage(bool expanded) const override { return expanded ? 3 : 2; }

private:
    COpenedFilesTreeModel model_;
};

// What the document code reports: the opened-files tree and the open-documents
// list follow it (the list alone while there is no tree).
void DocumentOpened(WindowServices& services, const wxString& name);
void DocumentClosed(WindowServices& services, const wxString& name);
void DocumentRenamed(WindowServices& services, const wxString& oldName, const wxString& newName);

// The application as the trees' commands need it.
class CAppWorkspaceHost : public WorkspaceHost {
public:
    explicit CAppWorkspaceHost(WindowServices& services) : services_(services) {}

    bool EnsureProjectCreated() override;
    void OpenDocumentFile(const std::string& path) override;
    void CloseDocumentByPath(const std::string& path) override;
    std::string ActiveDocumentName() override;
    bool ChooseFiles(FileChoice choice, std::vector<std::string>& paths) override;
    void ShowError(const std::string& text, const std::string& caption) override;
    void ProjectSettings() override;
    void RefreshProjectTree() override;

private:
    WindowServices& services_;
};

} // namespace ide
