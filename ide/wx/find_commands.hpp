// The editor view's find commands: Find, Find next, Find previous, Replace
// and bracket matching, over the view's finder. The view creates one with its
// control and forwards the commands and their update events to it.
#pragma once
#include <functional>
#include <memory>

#include <wx/event.h>

#include "ide/model/text_finder.hpp"

class wxWindow;

namespace ide {

class WindowServices;

class CViewFindCommands {
public:
    // `view` receives the commands; `editor` is the view's control with its last reported position;
    // `services` gives the find history, the main frame and the dialog hooks.
    CViewFindCommands(WindowServices& services, wxEvtHandler& view, FinderEditor& editor);

    CTextFinder& Finder() { return finder_; }

    // Parent window of the dialogs; the main frame when none is set.
    void SetDialogParent(wxWindow* parent) { parent_ = parent; }
    // Gives the view the focus back when the replace dialog has closed.
    void SetRefocus(std::function<void()> refocus) { refocus_ = std::move(refocus); }

    void OnEditFind();
    void OnFindNext();
    void OnFindPrevious();
    void OnEditReplace();
    void OnFindMatch();

private:
    void Bind(wxEvtHandler& view);
    void SelectNext(bool previous);
    wxWindow* DialogParent() const;

    WindowServices& services_;
    FinderEditor& editor_;
    CTextFinder finder_;
    wxWindow* parent_ = nullptr;
    std::function<void()> refocus_;
};

} // namespace ide
