// The IDE's typed front of one QuvPad editor control. The control comes from
// its library through the registry file, by class id, and the IDE touches it
// only through its dispatch interface: every method here is one call on it.
// Strings cross as the IDE's wxString; the control converts to its own text.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <wx/gdicmn.h>
#include <wx/string.h>

#include "editor/wx/quvpad.hpp"

class wxWindow;

namespace ide {

class CQuvPad {
public:
    CQuvPad() = default;
    // Ends the control with its window.
    ~CQuvPad();
    CQuvPad(const CQuvPad&) = delete;
    CQuvPad& operator=(const CQuvPad&) = delete;

    // Creates the control by its class id as a child of `parent`. False when
    // the control library cannot be found or loaded, or the window cannot be
    // made; `error` then says why.
    bool Create(wxWindow* parent, int id, const wxRect& rect, std::string& error);
    bool IsCreated() const { return pad_ != nullptr; }
    // The control's window; null before Create.
    wxWindow* GetWindow() const;
    // True while the keyboard focus is in the control's editor window (a
    // direct child of the control window).
    bool HasEditorFocus() const;
    // Gives the keyboard focus to the control, which passes it to its editor.
    void Focus();
    void Advise(quvpad::DQuvPadEvents* sink);
    void Unadvise(quvpad::DQuvPadEvents* sink);

    // The file calls answer false when the file could not be read or written.
    bool FileLoad(const wxString& path);
    bool FileSaveAs(const wxString& path);
    bool FileSave(const wxString& path);
    // Why the last file call failed, naming the file; empty after a success.
    wxString LastErrorText() const;
    // The system's error number of the last failed save, 0 when none; whether
    // that save lost the file's old contents.
    int LastSystemError() const;
    bool LastSaveLostOldContents() const;
    void EditCopy();
    void EditCut();
    void EditPaste();
    void EditUndo();
    void EditRedo();
    void EditBreakPoint();
    void EditSelectAll();
    // Lines and columns count from 1.
    void LocatePos(long line, long column);
    bool GetBCanCopy();
    bool GetBCanCut();
    bool GetBCanPaste();
    bool GetBCanRedo();
    bool GetBCanUndo();
    // The settings block of the display settings (CQuvBenchApp::SettingToSafeArray).
    void Configure(const std::vector<uint8_t>& settings);
    // mask: quvpad::ConfigFont, ConfigColors or ConfigSpaces.
    void ReConfigure(const std::vector<uint8_t>& settings, long mask);
    bool CreateEditor();
    long GetTextSize();
    // iLine counts from 0.
    wxString GetLine(long iLine);
    long GetCharSize();
    std::vector<int32_t> GetCharColors();
    wxString UnloadText();
    void SetSelection(long aline, long acol, long cline, long ccol);
    void ReplaceSelText(const wxString& text);
    // Replaces the whole text and puts the caret at line, column.
    void LoadText(const wxString& text, long line, long column);
    // Grows with every change of the text.
    long GetChangeCount();

private:
    quvpad::DQuvPad* pad_ = nullptr;
};

} // namespace ide
