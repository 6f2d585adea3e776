// The control makes no claim of being safe for untrusted callers: FileSaveAs
// writes whatever path it is given.
#include "editor/wx/quvpad_ctrl.hpp"

#include <algorithm>
#include <atomic>

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>
#include <wx/utils.h>

#include "editor/wx/break_point_wnd.hpp"
#include "editor/wx/color_edit_wnd.hpp"
#include "editor/wx/editor_font.hpp"
#include "editor/wx/gbk_text.hpp"
#include "platform/file_io.hpp"
#include "platform/safe_write.hpp"

namespace quvpad {

namespace {
std::atomic<int> liveControls{0};

constexpr int kMarginWidth = 20;
constexpr int kEditorLeft = 21;

// File names cross the interface as Unicode; the file system takes UTF-8.
std::string PathBytes(const std::wstring& name) { return wxString(name).ToStdString(wxConvUTF8); }
std::wstring WideText(const std::string& text) { return wxString::FromUTF8(text).ToStdWstring(); }
} // namespace

CQuvPadCtrl::CQuvPadCtrl() { ++liveControls; }

CQuvPadCtrl::~CQuvPadCtrl()
{
    if (margin_)
        margin_->SetEditor(nullptr);
    if (editor_) {
        editor_->Destroy();
        editor_ = nullptr;
    }
    if (margin_) {
        margin_->Destroy();
        margin_ = nullptr;
    }
    --liveControls;
}

int CQuvPadCtrl::LiveCount() { return liveControls; }

bool CQuvPadCtrl::Create(wxWindow* parent, int id, int x, int y, int width, int height)
{
    if (!wxWindow::Create(parent, id, wxPoint(x, y), wxSize(width, height), wxBORDER_NONE | wxCLIP_CHILDREN))
        return false;
    Bind(wxEVT_SIZE, &CQuvPadCtrl::OnSize, this);
    Bind(wxEVT_SET_FOCUS, &CQuvPadCtrl::OnSetFocus, this);
    Bind(wxEVT_MOTION, &CQuvPadCtrl::OnMouseMove, this);
    return true;
}

void CQuvPadCtrl::Release()
{
    if (GetHandle())
        wxWindow::Destroy();
    else
        delete this;
}

void CQuvPadCtrl::Advise(DQuvPadEvents* sink)
{
    if (sink && std::find(sinks_.begin(), sinks_.end(), sink) == sinks_.end())
        sinks_.push_back(sink);
}

void CQuvPadCtrl::Unadvise(DQuvPadEvents* sink)
{
    sinks_.erase(std::remove(sinks_.begin(), sinks_.end(), sink), sinks_.end());
}

void CQuvPadCtrl::PosChanged(int caretLine, int caretColumn, int anchorLine, int anchorColumn)
{
    for (DQuvPadEvents* sink : std::vector<DQuvPadEvents*>(sinks_))
        sink->PosChanged(caretLine, caretColumn, anchorLine, anchorColumn);
}

void CQuvPadCtrl::ModifiedChanged(bool modified)
{
    for (DQuvPadEvents* sink : std::vector<DQuvPadEvents*>(sinks_))
        sink->ModifiedChanged(modified);
}

bool CQuvPadCtrl::IsModified() const { return editor_ ? editor_->Model().IsModified() : modified_; }

void CQuvPadCtrl::SetModified(bool modified)
{
    if (editor_) {
        editor_->Model().SetModified(modified);
        return;
    }
    if (modified_ == modified)
        return;
    modified_ = modified;
    ModifiedChanged(modified);
}

// ---- windows ----

bool CQuvPadCtrl::CreateEditor()
{
    if (editor_)
        return true;
    if (!GetHandle())
        return false;
    modified_ = false;
    wxSize client = GetClientSize();
    margin_ = new BreakPointWnd(this, wxRect(0, 0, kEditorLeft, client.y));
    margin_->Disable();
    // Making the editor loads its empty text, which sets the modified flag.
    editor_ = new ColorEditWnd(this, wxRect(std::max(0, client.x - kMarginWidth), 0, kMarginWidth, client.y),
                               kEditorWindowId, *this);
    editor_->SetBreakPointWnd(margin_);
    PlaceChildren();
    margin_->Refresh();
    margin_->Update();
    return true;
}

void CQuvPadCtrl::PlaceChildren()
{
    wxSize client = GetClientSize();
    if (editor_) {
        editor_->SetSize(kEditorLeft, 0, std::max(0, client.x - kEditorLeft), client.y);
        editor_->Show();
        if (margin_) {
            margin_->SetSize(0, 0, kMarginWidth, client.y);
            margin_->Show();
        }
    }
}

void CQuvPadCtrl::OnSize(wxSizeEvent& event)
{
    PlaceChildren();
    event.Skip();
}

void CQuvPadCtrl::OnSetFocus(wxFocusEvent& event)
{
    if (editor_)
        editor_->SetFocus();
    event.Skip();
}

void CQuvPadCtrl::OnMouseMove(wxMouseEvent& event)
{
    if (wxWindow* parent = GetParent()) {
        wxMouseEvent* copy = static_cast<wxMouseEvent*>(event.Clone());
        copy->SetEventObject(this);
        parent->GetEventHandler()->QueueEvent(copy);
    }
}

// ---- files ----

bool CQuvPadCtrl::FileNew()
{
    lastError_ = 0;
    lastErrorText_.clear();
    lastWriteFailure_ = platform::WriteFailure();
    SetModified(true);
    return true;
}

bool CQuvPadCtrl::FileLoad(const std::wstring& fileName)
{
    lastError_ = 0;
    lastErrorText_.clear();
    lastWriteFailure_ = platform::WriteFailure();
    if (!editor_)
        return true;
    std::string data, error;
    if (!platform::ReadWholeFile(PathBytes(fileName), data, error)) {
        lastError_ = kFileAccessError;
        lastErrorText_ = WideText(error);
        return false;
    }
    editor_->Model().SetText(data);
    fileName_ = fileName;
    SetModified(false);
    return true;
}

bool CQuvPadCtrl::FileSaveAs(const std::wstring& fileName)
{
    lastError_ = 0;
    lastErrorText_.clear();
    lastWriteFailure_ = platform::WriteFailure();
    if (!editor_)
        return true;
    const std::string path = PathBytes(fileName);
    std::string reason;
    if (!platform::WriteFileSafely(path, editor_->Model().GetText(), reason, lastWriteFailure_)) {
        lastError_ = kFileAccessError;
        lastErrorText_ = WideText(platform::WriteFailureMessage(path, reason));
        return false;
    }
    SetModified(false);
    return true;
}

bool CQuvPadCtrl::FileSave(const std::wstring& fileName)
{
    bool saved = FileSaveAs(fileName);
    if (saved)
        fileName_ = fileName;
    return saved;
}

// ---- edit commands ----

void CQuvPadCtrl::EditCopy()
{
    if (editor_)
        editor_->Model().DoCommand(EditCommand::Copy);
}

void CQuvPadCtrl::EditCut()
{
    if (editor_)
        editor_->Model().DoCommand(EditCommand::Cut);
}

void CQuvPadCtrl::EditPaste()
{
    if (editor_) {
        wxBusyCursor wait;
        editor_->Model().DoCommand(EditCommand::Paste);
    }
}

void CQuvPadCtrl::EditUndo()
{
    if (editor_)
        editor_->Model().Undo();
}

void CQuvPadCtrl::EditRedo()
{
    if (editor_)
        editor_->Model().Redo();
}

void CQuvPadCtrl::EditBreakPoint()
{
    if (editor_)
        editor_->Model().DoCommand(EditCommand::BreakPoint);
}

void CQuvPadCtrl::EditSelectAll()
{
    if (editor_)
        editor_->Model().DoCommand(EditCommand::SelectAll);
}

void CQuvPadCtrl::LocatePos(long line, long col)
{
    if (editor_)
        editor_->Model().LocatePos(static_cast<int>(line), static_cast<int>(col));
}

bool CQuvPadCtrl::GetBCanCopy() { return editor_ && editor_->Model().HasSelection(); }
bool CQuvPadCtrl::GetBCanCut() { return GetBCanCopy(); }
bool CQuvPadCtrl::GetBCanPaste() { return ClipboardHasText(); }
bool CQuvPadCtrl::GetBCanRedo() { return editor_ && editor_->Model().CanRedo(); }
bool CQuvPadCtrl::GetBCanUndo() { return editor_ && editor_->Model().CanUndo(); }

// ---- settings ----

void CQuvPadCtrl::Configure(const std::vector<uint8_t>& config)
{
    SettingsBlock& block = SettingsBlock::Shared();
    block.CopyFrom(config.data(), config.size());
    MeasureFontInto(block, MakeEditorFont(block.Font()));
}

void CQuvPadCtrl::ReConfigure(const std::vector<uint8_t>& config, long mask)
{
    if (!editor_)
        return;
    SettingsBlock local = SettingsBlock::Shared();
    local.CopyFrom(config.data(), config.size());
    SettingsBlock::Shared().CopyFrom(local.Bytes().data(), SettingsBlock::Size);
    editor_->Reconfigure(static_cast<int>(mask));
}

// ---- text ----

long CQuvPadCtrl::GetTextSize() { return editor_ ? editor_->Model().GetLineCount() : 0; }

std::wstring CQuvPadCtrl::GetLine(long iLine)
{
    if (!editor_ || iLine < 0 || iLine >= editor_->Model().GetLineCount())
        return std::wstring();
    return GbkToWx(editor_->Model().GetLine(static_cast<int>(iLine))).ToStdWstring();
}

long CQuvPadCtrl::GetCharSize() { return editor_ ? editor_->Model().GetCharSize() : 0; }

std::vector<int32_t> CQuvPadCtrl::GetCharColors()
{
    if (!editor_)
        return {};
    std::vector<uint32_t> colors = editor_->Model().GetCharColors();
    return std::vector<int32_t>(colors.begin(), colors.end());
}

long CQuvPadCtrl::GetChangeCount() { return editor_ ? editor_->Model().Document().ChangeCount() : 0; }

std::wstring CQuvPadCtrl::UnloadText()
{
    return editor_ ? GbkToWx(editor_->Model().GetText()).ToStdWstring() : std::wstring();
}

void CQuvPadCtrl::SetSelection(long aline, long acol, long cline, long ccol)
{
    if (!editor_)
        return;
    EditorModel& model = editor_->Model();
    auto clamp = [&model](long& line, long& col) {
        line = std::min<long>(line, model.GetLineCount());
        long length = line >= 1 ? static_cast<long>(model.GetLine(static_cast<int>(line - 1)).size()) : 0;
        col = std::min(col, length + 1);
    };
    clamp(aline, acol);
    clamp(cline, ccol);
    model.SetSelection(static_cast<int>(acol - 1), static_cast<int>(aline - 1), static_cast<int>(ccol - 1),
                       static_cast<int>(cline - 1));
}

void CQuvPadCtrl::ReplaceSelText(const std::wstring& replaceText)
{
    if (!editor_)
        return;
    EditorModel& model = editor_->Model();
    int anchorColumn = model.AnchorColumn(), anchorLine = model.AnchorLine();
    model.ReplaceSelection(WxToGbk(wxString(replaceText)));
    model.SetSelection(anchorColumn, anchorLine, model.CaretColumn(), model.CaretLine());
}

void CQuvPadCtrl::LoadText(const std::wstring& text, long line, long col)
{
    if (!editor_)
        return;
    editor_->Model().SetText(WxToGbk(wxString(text)));
    editor_->Model().LocatePos(static_cast<int>(line), static_cast<int>(col));
}

// ---- about ----

void CQuvPadCtrl::AboutBox()
{
    wxDialog dialog(GetHandle() ? this : nullptr, wxID_ANY, "About QuvPad Control");
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticBitmap(&dialog, wxID_ANY, wxArtProvider::GetBitmap(wxART_INFORMATION, wxART_MESSAGE_BOX)),
             0, wxALL, 10);
    row->Add(new wxStaticText(&dialog, wxID_ANY, "QuvPad Control, Version 1.0"), 1, wxALIGN_CENTER_VERTICAL | wxALL, 10);
    auto* column = new wxBoxSizer(wxVERTICAL);
    column->Add(row, 0, wxEXPAND);
    column->Add(new wxButton(&dialog, wxID_OK, "OK"), 0, wxALIGN_RIGHT | wxALL, 10);
    dialog.SetSizerAndFit(column);
    dialog.ShowModal();
}

} // namespace quvpad
