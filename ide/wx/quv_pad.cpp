#include "ide/wx/quv_pad.hpp"

#include <wx/window.h>

#include "platform/class_registry.hpp"
#include "platform/registry_file.hpp"

namespace ide {

namespace {
std::wstring wide(const wxString& s) { return s.ToStdWstring(); }
} // namespace

CQuvPad::~CQuvPad()
{
    if (pad_)
        pad_->Release();
}

bool CQuvPad::Create(wxWindow* parent, int id, const wxRect& rect, std::string& error)
{
    if (pad_)
        return true;
    void* object = platform::CreateObject(platform::RegistryFile::UserPath(), quvpad::kControlClsid,
                                          quvpad::kDispatchIid, error);
    if (!object)
        return false;
    pad_ = static_cast<quvpad::DQuvPad*>(object);
    if (!pad_->Create(parent, id, rect.x, rect.y, rect.width, rect.height)) {
        pad_->Release();
        pad_ = nullptr;
        error = "编辑控件的窗口无法创建";
        return false;
    }
    // The window may go with its parent first: the control is gone with it.
    wxWindow* window = pad_->Window();
    window->Bind(wxEVT_DESTROY, [this, window](wxWindowDestroyEvent& e) {
        if (e.GetEventObject() == window)
            pad_ = nullptr;
        e.Skip();
    });
    return true;
}

wxWindow* CQuvPad::GetWindow() const { return pad_ ? pad_->Window() : nullptr; }

bool CQuvPad::HasEditorFocus() const
{
    wxWindow* focus = wxWindow::FindFocus();
    return pad_ && focus && focus->GetParent() == pad_->Window();
}

void CQuvPad::Focus()
{
    if (pad_)
        pad_->Window()->SetFocus();
}

void CQuvPad::Advise(quvpad::DQuvPadEvents* sink) { pad_->Advise(sink); }
void CQuvPad::Unadvise(quvpad::DQuvPadEvents* sink) { pad_->Unadvise(sink); }

bool CQuvPad::FileLoad(const wxString& path) { return pad_->FileLoad(wide(path)); }
bool CQuvPad::FileSaveAs(const wxString& path) { return pad_->FileSaveAs(wide(path)); }
bool CQuvPad::FileSave(const wxString& path) { return pad_->FileSave(wide(path)); }
wxString CQuvPad::LastErrorText() const { return pad_ ? wxString(pad_->LastErrorText()) : wxString(); }
int CQuvPad::LastSystemError() const { return pad_ ? pad_->LastSystemError() : 0; }
bool CQuvPad::LastSaveLostOldContents() const { return pad_ && pad_->LastSaveLostOldContents(); }
void CQuvPad::EditCopy() { pad_->EditCopy(); }
void CQuvPad::EditCut() { pad_->EditCut(); }
void CQuvPad::EditPaste() { pad_->EditPaste(); }
void CQuvPad::EditUndo() { pad_->EditUndo(); }
void CQuvPad::EditRedo() { pad_->EditRedo(); }
void CQuvPad::EditBreakPoint() { pad_->EditBreakPoint(); }
void CQuvPad::EditSelectAll() { pad_->EditSelectAll(); }
void CQuvPad::LocatePos(long line, long column) { pad_->LocatePos(line, column); }
bool CQuvPad::GetBCanCopy() { return pad_->GetBCanCopy(); }
bool CQuvPad::GetBCanCut() { return pad_->GetBCanCut(); }
bool CQuvPad::GetBCanPaste() { return pad_->GetBCanPaste(); }
bool CQuvPad::GetBCanRedo() { return pad_->GetBCanRedo(); }
bool CQuvPad::GetBCanUndo() { return pad_->GetBCanUndo(); }
void CQuvPad::Configure(const std::vector<uint8_t>& settings) { pad_->Configure(settings); }
void CQuvPad::ReConfigure(const std::vector<uint8_t>& settings, long mask) { pad_->ReConfigure(settings, mask); }
bool CQuvPad::CreateEditor() { return pad_->CreateEditor(); }
long CQuvPad::GetTextSize() { return pad_->GetTextSize(); }
wxString CQuvPad::GetLine(long iLine) { return wxString(pad_->GetLine(iLine)); }
long CQuvPad::GetCharSize() { return pad_->GetCharSize(); }
std::vector<int32_t> CQuvPad::GetCharColors() { return pad_->GetCharColors(); }
wxString CQuvPad::UnloadText() { return wxString(pad_->UnloadText()); }
void CQuvPad::SetSelection(long aline, long acol, long cline, long ccol) { pad_->SetSelection(aline, acol, cline, ccol); }
void CQuvPad::ReplaceSelText(const wxString& text) { pad_->ReplaceSelText(wide(text)); }
void CQuvPad::LoadText(const wxString& text, long line, long column) { pad_->LoadText(wide(text), line, column); }
long CQuvPad::GetChangeCount() { return pad_->GetChangeCount(); }

} // namespace ide
