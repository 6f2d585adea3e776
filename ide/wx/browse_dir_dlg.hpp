// "目录浏览": picks a folder for the find-in-files dialogs. A combo box offers
// the places to start from (the root folder and the home folder: there are no
// drive letters here), a tree shows the folders below, read from disk each
// time a folder is expanded, and an edit field holds the chosen path.
#pragma once
#include <wx/dialog.h>
#include <wx/treectrl.h>

class wxBitmapComboBox;
class wxTextCtrl;

namespace ide {

// Orders the names ascending without regard to letter case; equal names keep their order.
void SortStringArrayNoCase(wxArrayString& names);

// The folders of the places offered in place of drives: "/" and the home folder.
wxArrayString StartFolders();

class CDirTreeCtrl : public wxTreeCtrl {
public:
    CDirTreeCtrl(wxWindow* parent, wxWindowID id);

    // Shows the folders under `root`, or every start folder for an empty root.
    bool Fill(const wxString& root);
    wxString GetFullPath(const wxTreeItemId& item) const;
    // Expands the tree down to `path` and selects it; false when it is not there.
    bool SetSelPath(const wxString& path);
    const wxString& Error() const { return error_; }

private:
    wxTreeItemId AddItem(const wxTreeItemId& parent, const wxString& path);
    void ShowFolder(const wxTreeItemId& parent, const wxString& path);
    void OnExpanding(wxTreeEvent& event);
    void OnCollapsed(wxTreeEvent& event);

    wxString error_;
    wxString root_;
};

class CBrowseDirDlg : public wxDialog {
public:
    explicit CBrowseDirDlg(wxWindow* parent);

    // Before ShowModal: the folder to start in.
    void SetPath(const wxString& path);
    wxString GetPath() const { return path_; }

    CDirTreeCtrl* Tree() const { return tree_; }
    wxBitmapComboBox* Places() const { return places_; }
    wxTextCtrl* PathField() const { return pathField_; }
    void SelectPlace(int index);

private:
    bool TransferDataToWindow() override;
    void OnTreeSelection(wxTreeEvent& event);
    void OnOK(wxCommandEvent& event);

    wxBitmapComboBox* places_ = nullptr;
    CDirTreeCtrl* tree_ = nullptr;
    wxTextCtrl* pathField_ = nullptr;
    wxString path_;
};

} // namespace ide
