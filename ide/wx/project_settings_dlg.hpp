// The dialog in which the user names a project, chooses its project file and
// decides which sources it holds. It edits copies; OK writes them back.
#pragma once
#include <wx/dialog.h>

#include "ide/model/project_settings.hpp"
#include "ide/wx/window_services.hpp"

class wxListCtrl;
class wxTextCtrl;

namespace ide {

class CQuvProjectSettingsDlg : public wxDialog {
public:
    // Control ids.
    enum {
        ID_RESTORE = 1058, ID_NAME = 1059, ID_PROJECT_LIST = 1060, ID_ADD_FILES = 1061, ID_REMOVE_SELECTED = 1062,
        ID_ADD_SELECTED = 1063, ID_ADD_ALL = 1064, ID_OPEN_LIST = 1066, ID_PATH = 1067, ID_CHOOSE_PATH = 1068
    };

    // `createMode`: only name, project file, OK and Cancel are usable.
    // `hooks` shows the message of a missing name or path.
    CQuvProjectSettingsDlg(UiHooks& hooks, CQuvProject& project, const CQuvFileList& openFiles, bool createMode,
                           wxWindow* parent = nullptr);

    wxListCtrl* ProjectList() const { return projectList_; }
    wxListCtrl* OpenList() const { return openList_; }
    wxTextCtrl* NameEdit() const { return name_; }
    wxTextCtrl* PathEdit() const { return path_; }

private:
    void Fill();
    void ShowRows();
    void OnAddFiles();
    void OnRemoveSelected();
    void OnChoosePath();
    void OnOk(wxCommandEvent&);

    UiHooks& hooks_;
    CProjectSettingsModel model_;
    wxListCtrl* projectList_ = nullptr;
    wxListCtrl* openList_ = nullptr;
    wxTextCtrl* name_ = nullptr;
    wxTextCtrl* path_ = nullptr;
};

} // namespace ide
