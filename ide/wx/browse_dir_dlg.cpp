#include "ide/wx/browse_dir_dlg.hpp"

#include <algorithm>

#include <wx/artprov.h>
#include <wx/bmpcbox.h>
#include <wx/button.h>
#include <wx/dir.h>
#include <wx/filefn.h>
#include <wx/imaglist.h>
#include <wx/log.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/wupdlock.h>

#include "ide/wx/menus.hpp"

namespace ide {

namespace {

enum BrowseId : int { IDC_PATH = 1088, IDC_FOLDER_TREE = 1121, IDC_PLACES = 1137 };
enum TreeImage : int { ImagePlace, ImagePlaceOpen, ImageFolder, ImageFolderOpen };

const wxSize kIcon(16, 16);

// A path with one "/" at its end; "/" itself stays.
wxString withSlash(const wxString& path) { return path.EndsWith("/") ? path : path + "/"; }

// A path without "/" at its end, except "/" itself.
wxString withoutSlash(wxString path)
{
    while (path.length() > 1 && path.EndsWith("/"))
        path.RemoveLast();
    return path;
}

wxString lastName(const wxString& path)
{
    const wxString bare = withoutSlash(path);
    return bare == "/" ? bare : bare.AfterLast('/');
}

// The folders in `path`, each with its full path.
wxArrayString foldersIn(const wxString& path)
{
    wxArrayString found;
    wxDir dir;
    {
        wxLogNull quiet;  // an unreadable folder simply shows nothing
        if (!wxDirExists(path) || !dir.Open(path))
            return found;
    }
    wxString name;
    for (bool more = dir.GetFirst(&name, wxEmptyString, wxDIR_DIRS | wxDIR_HIDDEN); more; more = dir.GetNext(&name))
        found.push_back(withSlash(path) + name);
    return found;
}

bool hasSubfolders(const wxString& path)
{
    wxLogNull quiet;
    wxDir dir;
    if (!wxDirExists(path) || !dir.Open(path))
        return false;
    return dir.HasSubDirs();
}

// The start folder whose path leads to `path`, the longest one; -1 for none.
int placeOf(const wxArrayString& places, const wxString& path)
{
    int best = -1;
    for (size_t i = 0; i < places.size(); ++i) {
        const wxString place = withoutSlash(places[i]);
        const bool leads = place == "/" ? path.StartsWith("/") : (path == place || path.StartsWith(place + "/"));
        if (leads && (best < 0 || place.length() > withoutSlash(places[best]).length()))
            best = static_cast<int>(i);
    }
    return best;
}

} // namespace

void SortStringArrayNoCase(wxArrayString& names)
{
    std::stable_sort(names.begin(), names.end(),
                     [](const wxString& a, const wxString& b) { return a.CmpNoCase(b) < 0; });
}

wxArrayString StartFolders()
{
    wxArrayString places;
    places.push_back("/");
    const wxString home = withoutSlash(wxGetHomeDir());
    if (!home.empty() && home != "/")
        places.push_back(home);
    return places;
}

CDirTreeCtrl::CDirTreeCtrl(wxWindow* parent, wxWindowID id)
    : wxTreeCtrl(parent, id, wxDefaultPosition, wxSize(300, 260),
                 wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_HIDE_ROOT | wxTR_SINGLE)
{
    auto* images = new wxImageList(kIcon.x, kIcon.y, true, 4);
    // ORDER TreeImage
    for (const char* art : {wxART_HARDDISK, wxART_HARDDISK, wxART_FOLDER, wxART_FOLDER_OPEN})
        images->Add(wxArtProvider::GetBitmap(art, wxART_OTHER, kIcon));
    AssignImageList(images);
    Bind(wxEVT_TREE_ITEM_EXPANDING, &CDirTreeCtrl::OnExpanding, this);
    Bind(wxEVT_TREE_ITEM_COLLAPSED, &CDirTreeCtrl::OnCollapsed, this);
}

wxTreeItemId CDirTreeCtrl::AddItem(const wxTreeItemId& parent, const wxString& path)
{
    const bool top = parent == GetRootItem();
    const wxString text = top ? withoutSlash(path) : lastName(path);
    const int image = top ? ImagePlace : ImageFolder;
    const wxTreeItemId item = AppendItem(parent, text, image, image + 1);
    // A folder that has folders shows an expand button before it is read.
    if (hasSubfolders(path))
        AppendItem(item, wxEmptyString);
    return item;
}

void CDirTreeCtrl::ShowFolder(const wxTreeItemId& parent, const wxString& path)
{
    wxArrayString folders = foldersIn(path);
    SortStringArrayNoCase(folders);
    wxWindowUpdateLocker noRedraw(this);
    wxBusyCursor wait;
    for (const wxString& folder : folders)
        AddItem(parent, folder);
}

bool CDirTreeCtrl::Fill(const wxString& root)
{
    DeleteAllItems();
    const wxTreeItemId hidden = AddRoot(wxEmptyString);
    if (!root.empty()) {
        root_ = withSlash(root);
        const wxTreeItemId top = AppendItem(hidden, withoutSlash(root), ImagePlace, ImagePlaceOpen);
        ShowFolder(top, root);
        return true;
    }
    for (const wxString& place : StartFolders())
        AddItem(hidden, place);
    root_.clear();
    return true;
}

wxString CDirTreeCtrl::GetFullPath(const wxTreeItemId& item) const
{
    wxArrayString parts;
    for (wxTreeItemId at = item; at.IsOk() && at != GetRootItem(); at = GetItemParent(at))
        parts.insert(parts.begin(), GetItemText(at));
    wxString path;
    for (const wxString& part : parts)
        path = path.empty() ? part : withSlash(path) + part;
    return withoutSlash(path);
}

bool CDirTreeCtrl::SetSelPath(const wxString& wanted)
{
    const wxString path = withoutSlash(wanted);
    if (path.empty() || !wxDirExists(path))
        return false;
    // The top item that leads to the path, then one child per name below it.
    wxArrayString tops;
    std::vector<wxTreeItemId> topItems;
    wxTreeItemIdValue cookie;
    for (wxTreeItemId at = GetFirstChild(GetRootItem(), cookie); at.IsOk(); at = GetNextChild(GetRootItem(), cookie)) {
        tops.push_back(GetItemText(at));
        topItems.push_back(at);
    }
    const int top = placeOf(tops, path);
    if (top < 0)
        return false;
    wxTreeItemId item = topItems[top];
    const wxString rest = path.Mid(withoutSlash(tops[top]).length());
    const wxArrayString names = wxSplit(rest, '/', '\0');
    wxWindowUpdateLocker noRedraw(this);
    Expand(item);
    for (const wxString& name : names) {
        if (name.empty())
            continue;
        wxTreeItemId found;
        for (wxTreeItemId child = GetFirstChild(item, cookie); child.IsOk(); child = GetNextChild(item, cookie))
            if (GetItemText(child) == name) {
                found = child;
                break;
            }
        if (!found.IsOk())
            return false;
        // Read it again: folders may have come or gone since it was last open.
        if (IsExpanded(found))
            Collapse(found);
        Expand(found);
        item = found;
    }
    SelectItem(item);
    EnsureVisible(item);
    return true;
}

void CDirTreeCtrl::OnExpanding(wxTreeEvent& event)
{
    const wxTreeItemId item = event.GetItem();
    DeleteChildren(item);
    ShowFolder(item, GetFullPath(item));
}

void CDirTreeCtrl::OnCollapsed(wxTreeEvent& event)
{
    const wxTreeItemId item = event.GetItem();
    DeleteChildren(item);
    AppendItem(item, wxEmptyString);
}

CBrowseDirDlg::CBrowseDirDlg(wxWindow* parent)
    : wxDialog(parent, wxID_ANY, U8("目录浏览"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, U8("选择文件目录")), 0, wxLEFT | wxTOP, 10);
    pathField_ = new wxTextCtrl(this, IDC_PATH, wxEmptyString, wxDefaultPosition, wxSize(300, -1));
    top->Add(pathField_, 0, wxEXPAND | wxALL, 10);
    tree_ = new CDirTreeCtrl(this, IDC_FOLDER_TREE);
    top->Add(tree_, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);
    top->Add(new wxStaticText(this, wxID_ANY, U8("本地驱动器")), 0, wxLEFT | wxTOP, 10);
    places_ = new wxBitmapComboBox(this, IDC_PLACES, wxEmptyString, wxDefaultPosition, wxSize(300, -1), 0, nullptr,
                                   wxCB_READONLY);
    top->Add(places_, 0, wxEXPAND | wxALL, 10);
    auto* buttons = new wxStdDialogButtonSizer;
    buttons->AddButton(new wxButton(this, wxID_OK, U8("确定")));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, U8("取消")));
    buttons->Realize();
    top->Add(buttons, 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);
    CentreOnParent();

    places_->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent&) { SelectPlace(places_->GetSelection()); });
    tree_->Bind(wxEVT_TREE_SEL_CHANGED, &CBrowseDirDlg::OnTreeSelection, this);
    tree_->Bind(wxEVT_TREE_ITEM_ACTIVATED, &CBrowseDirDlg::OnTreeSelection, this);
    FindWindow(wxID_OK)->Bind(wxEVT_BUTTON, &CBrowseDirDlg::OnOK, this);
}

void CBrowseDirDlg::SetPath(const wxString& path)
{
    path_ = path;
}

bool CBrowseDirDlg::TransferDataToWindow()
{
    const wxArrayString places = StartFolders();
    places_->Clear();
    for (size_t i = 0; i < places.size(); ++i)
        places_->Append(places[i], wxArtProvider::GetBitmap(i == 0 ? wxART_HARDDISK : wxART_GO_HOME, wxART_OTHER, kIcon));
    const int current = std::max(placeOf(places, withoutSlash(path_)), 0);
    places_->SetSelection(current);
    tree_->Fill(withSlash(places[current]));
    pathField_->ChangeValue(path_);
    tree_->SetSelPath(path_);
    // The tree has its size only once the dialog is on the screen: only then
    // can the selected folder be scrolled into view.
    CallAfter([this] {
        const wxTreeItemId selected = tree_->GetSelection();
        if (selected.IsOk())
            tree_->EnsureVisible(selected);
    });
    return true;
}

void CBrowseDirDlg::SelectPlace(int index)
{
    if (index < 0)
        return;
    const wxString place = places_->GetString(index);
    tree_->Fill(place);
    path_ = withSlash(place);
    pathField_->ChangeValue(path_);
    wxTreeItemIdValue cookie;
    const wxTreeItemId first = tree_->GetFirstChild(tree_->GetRootItem(), cookie);
    if (first.IsOk()) {
        tree_->SelectItem(first);
        tree_->Expand(first);
    }
    // Selecting the top item showed its path; the place keeps the one above.
    path_ = withSlash(place);
    pathField_->ChangeValue(path_);
}

void CBrowseDirDlg::OnTreeSelection(wxTreeEvent& event)
{
    const wxTreeItemId item = event.GetItem();
    // The tree selects its hidden root by itself when nothing else is: no folder.
    if (item.IsOk() && item != tree_->GetRootItem()) {
        path_ = tree_->GetFullPath(item);
        pathField_->ChangeValue(path_);
    }
}

void CBrowseDirDlg::OnOK(wxCommandEvent&)
{
    path_ = pathField_->GetValue();
    EndModal(wxID_OK);
}

} // namespace ide
