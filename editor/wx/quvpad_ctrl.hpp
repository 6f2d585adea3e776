// The QuvPad control object: the control window with its break-point margin and
// editor window, the dispatch methods and the events to the host.
#pragma once
#include <string>
#include <vector>

#include <wx/window.h>

#include "editor/ports.hpp"
#include "editor/wx/quvpad.hpp"
#include "platform/safe_write.hpp"

namespace quvpad {

class BreakPointWnd;
class ColorEditWnd;

class CQuvPadCtrl : public wxWindow, public DQuvPad, private EditorEvents {
public:
    CQuvPadCtrl();
    ~CQuvPadCtrl() override;

    // How many controls are alive in the process.
    static int LiveCount();

    bool Create(wxWindow* parent, int id, int x, int y, int width, int height) override;
    wxWindow* Window() override { return this; }
    void Release() override;
    void Advise(DQuvPadEvents* sink) override;
    void Unadvise(DQuvPadEvents* sink) override;
    std::string ClassId() const override { return kControlClsid; }
    std::vector<std::string> PropertyPageIds() const override { return {kPropPageClsid}; }

    bool FileNew() override;
    bool FileLoad(const std::wstring& fileName) override;
    bool FileSaveAs(const std::wstring& fileName) override;
    bool FileClose() override { return true; }
    void EditCopy() override;
    void EditCut() override;
    void EditPaste() override;
    void EditUndo() override;
    void EditRedo() override;
    bool FileSave(const std::wstring& fileName) override;
    void EditBreakPoint() override;
    void EditSelectAll() override;
    void LocatePos(long line, long col) override;
    bool GetBCanCopy() override;
    bool GetBCanCut() override;
    bool GetBCanPaste() override;
    bool GetBCanRedo() override;
    bool GetBCanUndo() override;
    void Configure(const std::vector<uint8_t>& config) override;
    void ReConfigure(const std::vector<uint8_t>& config, long mask) override;
    bool CreateEditor() override;
    long GetTextSize() override;
    std::wstring GetLine(long iLine) override;
    long GetCharSize() override;
    std::vector<int32_t> GetCharColors() override;
    std::wstring UnloadText() override;
    void SetSelection(long aline, long acol, long cline, long ccol) override;
    void ReplaceSelText(const std::wstring& replaceText) override;
    void LoadText(const std::wstring& text, long line, long col) override;
    long GetChangeCount() override;
    void AboutBox() override;
    int32_t LastError() const override { return lastError_; }
    std::wstring LastErrorText() const override { return lastErrorText_; }
    int32_t LastSystemError() const override { return lastWriteFailure_.error; }
    bool LastSaveLostOldContents() const override { return lastWriteFailure_.oldContentsLost; }

    // The child windows, null before CreateEditor.
    ColorEditWnd* Editor() { return editor_; }
    BreakPointWnd* Margin() { return margin_; }
    const std::wstring& FileName() const { return fileName_; }
    bool IsModified() const;

private:
    // EditorEvents: the editor's reports, passed on to every sink.
    void PosChanged(int caretLine, int caretColumn, int anchorLine, int anchorColumn) override;
    void ModifiedChanged(bool modified) override;

    void SetModified(bool modified);
    void PlaceChildren();
    void OnSize(wxSizeEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnMouseMove(wxMouseEvent& event);

    ColorEditWnd* editor_ = nullptr;
    BreakPointWnd* margin_ = nullptr;
    std::wstring fileName_;
    bool modified_ = false;   // the flag while there is no editor; the editor keeps its own
    std::vector<DQuvPadEvents*> sinks_;
    int32_t lastError_ = 0;
    std::wstring lastErrorText_;
    platform::WriteFailure lastWriteFailure_;
};

} // namespace quvpad
