// What the windows and commands of the IDE need of the application: the
// workbench, the documents, the main frame and the hooks through which every
// message box and modal dialog goes (so that tests can answer them). The
// application implements it and hands it to each window and command object
// as it creates them.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <wx/string.h>

class wxDialog;
class wxDocManager;
class wxMenuBar;
class wxWindow;

namespace ide {

class CMainFrame;
class Workbench;
struct Location;

// The message box and modal dialog hooks alone, for the dialogs.
class UiHooks {
public:
    virtual int MessageBox(const wxString& message, const wxString& caption, long style) = 0;
    virtual int ShowModal(wxDialog& dialog) = 0;

protected:
    ~UiHooks() = default;
};

class WindowServices : public UiHooks {
public:
    virtual Workbench& Bench() = 0;
    virtual CMainFrame* MainFrame() const = 0;
    // The program's top window (the main frame once it stands).
    virtual wxWindow* TopWindow() const = 0;
    virtual wxDocManager* DocManager() const = 0;

    // Activates the document of this file, or opens it.
    virtual void OpenDocumentFile(const wxString& path) = 0;
    // Closes the document of this name, asking to save it first.
    virtual void CloseDocumentByPath(const wxString& path) = 0;
    // Opens or activates the file and puts the caret at the line and column.
    virtual void GoToLocation(const Location& at) = 0;
    // Puts the finished typeset job's text in its source's editor.
    virtual void LoadTypesetResult() = 0;
    // Asks about every modified document, then the project; false when the user cancels.
    virtual bool SaveAllModified() = 0;
    virtual void DiscardDocumentChanges() = 0;
    virtual void AddToRecentFileList(const wxString& path) = 0;
    virtual void RefreshRecentMenus(wxMenuBar* bar) = 0;
    // The display settings as the block every editor control is configured with.
    virtual void SettingToSafeArray(std::vector<uint8_t>& out) const = 0;

    // True when a project exists or the user has just created one.
    virtual bool EnsureProjectCreated() = 0;
    // The project settings dialog; on OK the project tree shows the result.
    virtual void ProjectSettings() = 0;

protected:
    ~WindowServices() = default;
};

} // namespace ide
