#include "ide/wx/project_settings_dlg.hpp"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include "ide/wx/window_services.hpp"
#include "ide/wx/common_dialogs.hpp"
#include "ide/wx/menus.hpp"

namespace ide {

namespace {

wxListCtrl* pathList(wxWindow* parent, int id)
{
    auto* list = new wxListCtrl(parent, id, wxDefaultPosition, wxSize(420, 140), wxLC_REPORT | wxLC_NO_HEADER);
    list->InsertColumn(0, wxString(), wxLIST_FORMAT_LEFT, 800);
    return list;
}

void showRows(wxListCtrl* list, const std::vector<std::string>& rows)
{
    list->DeleteAllItems();
    for (size_t i = 0; i < rows.size(); ++i)
        list->InsertItem(static_cast<long>(i), wxString::FromUTF8(rows[i]));
}

std::vector<int> selectedRows(wxListCtrl* list)
{
    std::vector<int> rows;
    for (long i = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); i != -1;
         i = list->GetNextItem(i, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
        rows.push_back(static_cast<int>(i));
    return rows;
}

} // namespace

CQuvProjectSettingsDlg::CQuvProjectSettingsDlg(UiHooks& hooks, CQuvProject& project, const CQuvFileList& openFiles,
                                               bool createMode, wxWindow* parent)
    : wxDialog(parent, wxID_ANY, U8("工程设置")), hooks_(hooks), model_(project, openFiles, createMode)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* fields = new wxFlexGridSizer(3, 4, 6);
    fields->AddGrowableCol(1);
    name_ = new wxTextCtrl(this, ID_NAME, "");
    path_ = new wxTextCtrl(this, ID_PATH, "", wxDefaultPosition, wxDefaultSize, wxTE_READONLY);
    fields->Add(new wxStaticText(this, wxID_ANY, U8("工程名称：")), 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(name_, 1, wxEXPAND);
    fields->AddSpacer(0);
    fields->Add(new wxStaticText(this, wxID_ANY, U8("工程路径：")), 0, wxALIGN_CENTER_VERTICAL);
    fields->Add(path_, 1, wxEXPAND);
    fields->Add(new wxButton(this, ID_CHOOSE_PATH, U8("工程路径")));
    top->Add(fields, 0, wxEXPAND | wxALL, 8);

    struct Group {
        const char* title;
        wxListCtrl** list;
        int listId;
        int buttons[2];
        const char* texts[2];
    } groups[] = {
        {"当前工程包含的文档", &projectList_, ID_PROJECT_LIST, {ID_ADD_FILES, ID_REMOVE_SELECTED}, {"添加文档", "移除选定文档"}},
        {"当前打开的QUV/E源文件文档", &openList_, ID_OPEN_LIST, {ID_ADD_SELECTED, ID_ADD_ALL}, {"添加选定文档", "添加所有文档"}},
    };
    for (Group& g : groups) {
        auto* box = new wxStaticBoxSizer(wxVERTICAL, this, U8(g.title));
        *g.list = pathList(this, g.listId);
        box->Add(*g.list, 1, wxEXPAND | wxALL, 4);
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        for (int b = 0; b < 2; ++b)
            row->Add(new wxButton(this, g.buttons[b], U8(g.texts[b])), 0, wxRIGHT, 6);
        box->Add(row, 0, wxALL, 4);
        top->Add(box, 1, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, 8);
    }
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, U8("确定"));
    ok->SetDefault();
    buttons->Add(ok, 0, wxALL, 4);
    buttons->Add(new wxButton(this, wxID_CANCEL, U8("取消")), 0, wxALL, 4);
    buttons->Add(new wxButton(this, ID_RESTORE, U8("还原")), 0, wxALL, 4);
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 4);
    SetSizerAndFit(top);
    CentreOnParent();

    for (int id : {ID_ADD_ALL, ID_ADD_FILES, ID_REMOVE_SELECTED, ID_ADD_SELECTED, ID_RESTORE})
        FindWindow(id)->Enable(!createMode);
    Fill();

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { Fill(); }, ID_RESTORE);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnAddFiles(); }, ID_ADD_FILES);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnRemoveSelected(); }, ID_REMOVE_SELECTED);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        model_.AddSelectedOpenRows(selectedRows(openList_));
        ShowRows();
    }, ID_ADD_SELECTED);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        model_.AddAllOpenRows();
        ShowRows();
    }, ID_ADD_ALL);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnChoosePath(); }, ID_CHOOSE_PATH);
    Bind(wxEVT_BUTTON, &CQuvProjectSettingsDlg::OnOk, this, wxID_OK);
}

void CQuvProjectSettingsDlg::Fill()
{
    model_.Fill();
    ShowRows();
    name_->ChangeValue(wxString::FromUTF8(model_.name));
    path_->ChangeValue(wxString::FromUTF8(model_.path));
}

void CQuvProjectSettingsDlg::ShowRows()
{
    showRows(projectList_, model_.projectRows);
    showRows(openList_, model_.openRows);
}

void CQuvProjectSettingsDlg::OnAddFiles()
{
    FileDialogSpec spec;
    spec.wildcard = U8("QUV/E源文件|*.e");
    spec.style = wxFD_OPEN | wxFD_MULTIPLE | wxFD_FILE_MUST_EXIST;
    wxArrayString paths;
    if (!CommonDialogs::ChooseFiles(spec, paths))
        return;
    std::vector<std::string> chosen;
    for (const wxString& p : paths)
        chosen.push_back(p.utf8_string());
    model_.AddProjectRows(chosen);
    ShowRows();
}

void CQuvProjectSettingsDlg::OnRemoveSelected()
{
    model_.RemoveProjectRows(selectedRows(projectList_));
    ShowRows();
}

void CQuvProjectSettingsDlg::OnChoosePath()
{
    FileDialogSpec spec;
    spec.title = U8("设置新建工程文件名");
    spec.wildcard = U8("QUV/E工程文件 (*.prj) |*.prj");
    spec.defaultExt = ".prj";
    spec.style = wxFD_SAVE | wxFD_OVERWRITE_PROMPT;
    wxArrayString paths;
    if (!CommonDialogs::ChooseFiles(spec, paths) || paths.empty())
        return;
    model_.name = name_->GetValue().utf8_string();
    model_.SetProjectFile(paths[0].utf8_string());
    name_->ChangeValue(wxString::FromUTF8(model_.name));
    path_->ChangeValue(wxString::FromUTF8(model_.path));
}

void CQuvProjectSettingsDlg::OnOk(wxCommandEvent&)
{
    model_.name = name_->GetValue().utf8_string();
    model_.path = path_->GetValue().utf8_string();
    if (!model_.Apply()) {
        hooks_.MessageBox(U8(kEmptyNameOrPathText), U8("提示"), wxOK | wxICON_INFORMATION);
        return;
    }
    EndDialogWith(*this, wxID_OK);
}

} // namespace ide
