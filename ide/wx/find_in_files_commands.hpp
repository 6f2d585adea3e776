// The find-in-files and replace-in-files commands: their dialogs, the job
// they start on a find thread (which the workbench keeps) and the reloading
// of the files a replace job rewrote.
#pragma once
#include <memory>
#include <string>

#include <wx/event.h>

namespace ide {

class QuvFindJob;
class WindowServices;
class Workbench;

class CFindInFilesCommands {
public:
    CFindInFilesCommands(Workbench& bench, WindowServices& services);

    // Binds the commands and their update handlers on `target`.
    void Bind(wxEvtHandler& target);

    // Remembers the job in the find history, shows the emptied find-result
    // pane and runs the job on a new find thread.
    void StartFindJob(std::unique_ptr<QuvFindJob> job);
    // After replace in files wrote `file`: its open editors read it again,
    // unless they hold unsaved changes (then the find pane says so, at once:
    // this runs on the user-interface thread, between the job's rows).
    void ReloadReplacedFile(const std::string& file);

private:
    void OnFindInFiles(wxCommandEvent&);
    void OnReplaceInFiles(wxCommandEvent&);
    void OnUpdateFindInFiles(wxUpdateUIEvent& event);

    Workbench& bench_;
    WindowServices& services_;
};

} // namespace ide
