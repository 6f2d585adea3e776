#include "ide/wx/workspace_views.hpp"

#include <wx/artprov.h>
#include <wx/filedlg.h>
#include <wx/menu.h>

#include "ide/model/workbench.hpp"
#include "ide/wx/common_dialogs.hpp"
#include "ide/wx/doc_view.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/menus.hpp"

namespace ide {

namespace {

constexpr int kFileImage = 4;

// ORDER WORKSPACE MENU: the popup menu "工作区", top to bottom.
struct MenuEntry {
    int id;
    WorkspaceCommand command;
    const char* text;
    bool separatorAfter;
};
const MenuEntry kMenu[] = {
    {ID_WORKSPACE_OPEN, WorkspaceCommand::Open, "打开", false},
    {ID_WORKSPACE_CLOSE, WorkspaceCommand::Close, "关闭", false},
    {ID_WORKSPACE_OPEN_ALL, WorkspaceCommand::OpenAll, "打开所有", true},
    {ID_WORKSPACE_ADD_CURRENT, WorkspaceCommand::AddCurrent, "添加当前", false},
    {ID_WORKSPACE_ADD_ALL, WorkspaceCommand::AddAll, "添加所有", false},
    {ID_WORKSPACE_ADD_DOCUMENT, WorkspaceCommand::AddDocument, "添加文档", false},
    {ID_WORKSPACE_REMOVE, WorkspaceCommand::Remove, "移除", true},
    {ID_WORKSPACE_PROJECT_SETTINGS, WorkspaceCommand::ProjectSettings, "工程设置", false},
};

const MenuEntry* entryFor(int id)
{
    for (const MenuEntry& e : kMenu)
        if (e.id == id)
            return &e;
    return nullptr;
}

wxString fromUtf8(const std::string& s) { return wxString::FromUTF8(s.data(), s.size()); }

} // namespace

CWorkspaceTreeView::CWorkspaceTreeView(WindowServices& services, wxWindow* parent, long style)
    : wxTreeCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, style | wxBORDER_NONE), services_(services),
      images_(16, 16, true, 1)
{
    // ORDER TREE IMAGES: project root collapsed and expanded, open-documents
    // root collapsed and expanded, a file.
    const wxArtID art[] = {wxART_FOLDER, wxART_FOLDER_OPEN, wxART_FOLDER, wxART_FOLDER_OPEN, wxART_NORMAL_FILE};
    for (const wxArtID& id : art)
        images_.Add(wxArtProvider::GetBitmap(id, wxART_OTHER, wxSize(16, 16)));
    SetImageList(&images_);

    popup_.reset(new wxMenu(U8("工作区")));
    for (const MenuEntry& e : kMenu) {
        popup_->Append(e.id, U8(e.text));
        if (e.separatorAfter)
            popup_->AppendSeparator();
        Bind(wxEVT_MENU, &CWorkspaceTreeView::OnCommand, this, e.id);
        Bind(wxEVT_UPDATE_UI, &CWorkspaceTreeView::OnUpdateCommand, this, e.id);
    }
    Bind(wxEVT_TREE_ITEM_ACTIVATED, &CWorkspaceTreeView::OnActivated, this);
    Bind(wxEVT_TREE_ITEM_RIGHT_CLICK, &CWorkspaceTreeView::OnRightClick, this);
    Bind(wxEVT_TREE_ITEM_MENU, &CWorkspaceTreeView::OnItemMenu, this);
    Bind(wxEVT_TREE_ITEM_EXPANDING, [this](wxTreeEvent& e) { SetRootImages(true); e.Skip(); });
    Bind(wxEVT_TREE_ITEM_COLLAPSING, [this](wxTreeEvent& e) { SetRootImages(false); e.Skip(); });
}

CWorkspaceTreeView::~CWorkspaceTreeView()
{
    SetImageList(nullptr);
}

std::string CWorkspaceTreeView::SelectedFile() const
{
    const wxTreeItemId item = GetSelection();
    if (!item.IsOk() || item == GetRootItem())
        return std::string();
    return GetItemText(item).utf8_string();
}

void CWorkspaceTreeView::SelectFile(const std::string& text)
{
    const wxTreeItemId root = GetRootItem();
    if (text.empty()) {
        SelectItem(root);
        return;
    }
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(root, cookie); child.IsOk(); child = GetNextChild(root, cookie))
        if (GetItemText(child).utf8_string() == text) {
            SelectItem(child);
            return;
        }
}

wxMenu* CWorkspaceTreeView::PopupMenuForTest()
{
    popup_->UpdateUI(GetEventHandler());
    return popup_.get();
}

void CWorkspaceTreeView::Sync()
{
    const CWorkspaceTree& model = Model();
    wxTreeItemId root = GetRootItem();
    if (!root.IsOk())
        root = AddRoot(fromUtf8(model.RootText()), RootImage(false), RootImage(false));
    if (GetItemText(root).utf8_string() != model.RootText())
        SetItemText(root, fromUtf8(model.RootText()));

    std::vector<std::string> shown;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(root, cookie); child.IsOk(); child = GetNextChild(root, cookie))
        shown.push_back(GetItemText(child).utf8_string());
    if (shown != model.Children()) {
        const std::string selected = SelectedFile();
        DeleteChildren(root);
        for (const std::string& name : model.Children())
            AppendItem(root, fromUtf8(name), kFileImage, kFileImage);
        if (!selected.empty())
            SelectFile(selected);
    }
    Expand(root);
    SetRootImages(true);
}

void CWorkspaceTreeView::SetRootImages(bool expanded)
{
    const wxTreeItemId root = GetRootItem();
    if (!root.IsOk())
        return;
    SetItemImage(root, RootImage(expanded), wxTreeItemIcon_Normal);
    SetItemImage(root, RootImage(expanded), wxTreeItemIcon_Selected);
}

void CWorkspaceTreeView::OnCommand(wxCommandEvent& event)
{
    const MenuEntry* entry = entryFor(event.GetId());
    if (!entry)
        return;
    CAppWorkspaceHost host(services_);
    // The command may refresh this very tree through the application; the
    // selection it acts on is taken first.
    const std::string selected = SelectedFile();
    Model().Run(entry->command, selected, host);
    Sync();
}

void CWorkspaceTreeView::OnUpdateCommand(wxUpdateUIEvent& event)
{
    const MenuEntry* entry = entryFor(event.GetId());
    if (!entry)
        return;
    CAppWorkspaceHost host(services_);
    const CommandState state = Model().Update(entry->command, SelectedFile(), host);
    event.Enable(state.enabled);
    if (!state.text.empty())
        event.SetText(U8(state.text.c_str()));
}

void CWorkspaceTreeView::OnActivated(wxTreeEvent& event)
{
    const wxTreeItemId item = event.GetItem();
    if (item.IsOk() && item != GetRootItem())
        services_.OpenDocumentFile(wxString::FromUTF8(Model().DocumentPath(GetItemText(item).utf8_string())));
    event.Skip();
}

void CWorkspaceTreeView::OnRightClick(wxTreeEvent& event)
{
    const wxTreeItemId item = event.GetItem();
    if (item.IsOk() && item != GetSelection())
        SelectItem(item);
    event.Skip();
}

void CWorkspaceTreeView::OnItemMenu(wxTreeEvent&)
{
    PopupMenu(popup_.get());
}

CQUVProjectTreeView::CQUVProjectTreeView(WindowServices& services, wxWindow* parent)
    : CWorkspaceTreeView(services, parent, wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE),
      model_(services.Bench().Project(), services.Bench().OpenFiles())
{
    Sync();
    SetItemBold(GetRootItem());
    RefreshTree();
}

void CQUVProjectTreeView::RefreshTree()
{
    model_.Refresh();
    Sync();
}

void CQUVProjectTreeView::InsertFileItem(const std::string& name)
{
    model_.InsertFileItem(name);
    Sync();
}

CQUVOpenedFilesTreeView::CQUVOpenedFilesTreeView(WindowServices& services, wxWindow* parent)
    : CWorkspaceTreeView(services, parent, wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_SINGLE),
      model_(services.Bench().Project(), services.Bench().OpenFiles())
{
    Sync();
}

void CQUVOpenedFilesTreeView::InsertFileItem(const std::string& name)
{
    model_.InsertFileItem(name);
    Sync();
}

void CQUVOpenedFilesTreeView::AddFile(const std::string& name)
{
    model_.AddFile(name);
    Sync();
}

void CQUVOpenedFilesTreeView::RemoveFile(const std::string& name)
{
    model_.RemoveFile(name);
    Sync();
    Refresh();
}

void CQUVOpenedFilesTreeView::RenameFile(const std::string& oldName, const std::string& newName)
{
    model_.RenameFile(oldName, newName);
    Sync();
}

namespace {

// The tree of the main frame while that stands; a document closed as the
// program ends may outlive it.
CQUVOpenedFilesTreeView* openedFilesTree(WindowServices& services)
{
    auto* frame = dynamic_cast<CMainFrame*>(services.TopWindow());
    return frame && !frame->IsBeingDeleted() ? frame->OpenedFilesTree() : nullptr;
}

// Runs `change` on the tree, or on a model of no tree over the same list.
template <typename F>
void changeOpenedFiles(WindowServices& services, F change)
{
    if (CQUVOpenedFilesTreeView* tree = openedFilesTree(services)) {
        change(*tree);
        return;
    }
    COpenedFilesTreeModel list(services.Bench().Project(), services.Bench().OpenFiles());
    change(list);
}

} // namespace

void DocumentOpened(WindowServices& services, const wxString& name)
{
    changeOpenedFiles(services, [&](auto& files) { files.AddFile(name.utf8_string()); });
}

void DocumentClosed(WindowServices& services, const wxString& name)
{
    changeOpenedFiles(services, [&](auto& files) { files.RemoveFile(name.utf8_string()); });
}

void DocumentRenamed(WindowServices& services, const wxString& oldName, const wxString& newName)
{
    changeOpenedFiles(services, [&](auto& files) { files.RenameFile(oldName.utf8_string(), newName.utf8_string()); });
}

bool CAppWorkspaceHost::EnsureProjectCreated()
{
    return services_.EnsureProjectCreated();
}

void CAppWorkspaceHost::OpenDocumentFile(const std::string& path)
{
    services_.OpenDocumentFile(fromUtf8(path));
}

void CAppWorkspaceHost::CloseDocumentByPath(const std::string& path)
{
    services_.CloseDocumentByPath(fromUtf8(path));
}

std::string CAppWorkspaceHost::ActiveDocumentName()
{
    wxDocManager* manager = services_.DocManager();
    wxDocument* doc = manager ? manager->GetCurrentDocument() : nullptr;
    return doc ? DocumentName(doc).utf8_string() : std::string();
}

bool CAppWorkspaceHost::ChooseFiles(FileChoice choice, std::vector<std::string>& paths)
{
    FileDialogSpec spec;
    spec.style = wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST;
    switch (choice) {
    case FileChoice::AddToProject:
        spec.wildcard = U8("QUV/E源文件|*.e");
        break;
    case FileChoice::OpenFiles:
        spec.wildcard = U8("QUV/E源文件|*.e|所有文件|*.*");
        break;
    case FileChoice::AddFromOpened:
        spec.wildcard = U8("QUV/E源文件|*.e");
        spec.defaultExt = ".e";
        break;
    }
    wxArrayString chosen;
    if (!CommonDialogs::ChooseFiles(spec, chosen))
        return false;
    for (const wxString& p : chosen)
        paths.push_back(p.utf8_string());
    return true;
}

void CAppWorkspaceHost::ShowError(const std::string& text, const std::string& caption)
{
    services_.MessageBox(fromUtf8(text), fromUtf8(caption), wxOK | wxICON_ERROR);
}

void CAppWorkspaceHost::ProjectSettings()
{
    services_.ProjectSettings();
}

void CAppWorkspaceHost::RefreshProjectTree()
{
    if (CMainFrame* frame = services_.MainFrame())
        frame->ProjectTree()->RefreshTree();
}

} // namespace ide
