// The compile menu: typeset, syntax check, compile a file, compile the
// project, write the makefile, build, run and stop, with their enable rules;
// loading a typeset result and going to a diagnostic's place. The jobs run
// in the workbench; their reports reach the main frame's panes.
#pragma once
#include <memory>

#include <wx/event.h>
#include <wx/string.h>

#include "ide/model/compile_job.hpp"

class wxDocument;

namespace ide {

class WindowServices;
class Workbench;
struct Location;

class CCompileCommands {
public:
    CCompileCommands(Workbench& bench, WindowServices& services);

    // Binds the menu's commands and their update handlers on `target`.
    void Bind(wxEvtHandler& target);

    CompileCommandState CompileState() const;
    // Opens or activates the typeset job's source and puts the typeset text
    // in its editor, caret at line 1, column 1; the file is not written.
    void LoadTypesetResult();
    // Opens or activates the file, activates its window and puts the caret
    // at the line and column.
    void GoToLocation(const Location& at);

private:
    void OnCompileCommand(wxCommandEvent& event);
    void OnUpdateCompileCommand(wxUpdateUIEvent& event);
    // Saves every open document of the project; false when one could not be
    // saved or its saving was cancelled.
    bool SaveProjectDocuments();
    void StartCompileJob(std::shared_ptr<CCompileJob> job);
    // Reports of the compile thread, on the user-interface thread in the
    // order it made them.
    void OnTypesetDone(bool ok);
    void OnCompileOutOfMemory();
    void OnCompileThreadEnded(int serial);
    // The document of the active editor window; null when none.
    wxDocument* ActiveDocument() const;

    Workbench& bench_;
    WindowServices& services_;
    // The editor's text when the typeset job started, to see edits made since.
    wxString typesetStartText_;
};

} // namespace ide
