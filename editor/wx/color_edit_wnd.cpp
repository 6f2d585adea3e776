#include "editor/wx/color_edit_wnd.hpp"

#include <algorithm>
#include <cstring>
#include <iterator>

#include <wx/caret.h>
#include <wx/cursor.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcbuffer.h>
#include <wx/menu.h>
#include <wx/utils.h>

#include "editor/text_columns.hpp"
#include "editor/wx/break_point_wnd.hpp"
#include "editor/wx/editor_font.hpp"
#include "editor/wx/gbk_text.hpp"

namespace quvpad {

wxDEFINE_EVENT(EVT_QUVPAD_EDIT_NOTIFY, wxCommandEvent);

namespace {
// The editor's key codes from wx's; 0 for keys the editor does not know.
int VirtualKey(int code)
{
    switch (code) {
    case WXK_BACK: return KeyBack;
    case WXK_TAB: return KeyTab;
    case WXK_RETURN: case WXK_NUMPAD_ENTER: return KeyReturn;
    case WXK_PAGEUP: case WXK_NUMPAD_PAGEUP: return KeyPrior;
    case WXK_PAGEDOWN: case WXK_NUMPAD_PAGEDOWN: return KeyNext;
    case WXK_END: case WXK_NUMPAD_END: return KeyEnd;
    case WXK_HOME: case WXK_NUMPAD_HOME: return KeyHome;
    case WXK_LEFT: case WXK_NUMPAD_LEFT: return KeyLeft;
    case WXK_UP: case WXK_NUMPAD_UP: return KeyUp;
    case WXK_RIGHT: case WXK_NUMPAD_RIGHT: return KeyRight;
    case WXK_DOWN: case WXK_NUMPAD_DOWN: return KeyDown;
    case WXK_INSERT: case WXK_NUMPAD_INSERT: return KeyInsert;
    case WXK_DELETE: case WXK_NUMPAD_DELETE: return KeyDelete;
    default: break;
    }
    if (code >= 'a' && code <= 'z')
        return code - 'a' + 'A';
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9'))
        return code;
    return 0;
}

int Modifiers(const wxKeyboardState& state)
{
    return (state.ShiftDown() ? ModShift : 0) | (state.RawControlDown() ? ModControl : 0) |
           (state.AltDown() ? ModAlt : 0);
}

int WxOrientation(ScrollBar bar) { return bar == ScrollBar::Vertical ? wxVERTICAL : wxHORIZONTAL; }

// The context menu. ORDER MENU: the items and their separators as the menu shows them.
struct MenuItem {
    EditCommand command;
    const char* label;   // UTF-8
    bool separatorAfter;
};
// wx menu ids stay below 32767, so the items take ids of their own.
constexpr int kMenuIdBase = wxID_HIGHEST + 1;
const MenuItem kContextMenu[] = {
    {EditCommand::Redo, "恢复(&Y)\tCtrl+Y", false},
    {EditCommand::Undo, "撤消(&U)\tCtrl+Z", true},
    {EditCommand::Cut, "剪切(&T)\tCtrl+X", false},
    {EditCommand::Copy, "复制(&C)\tCtrl+C", false},
    {EditCommand::Paste, "粘贴(&P)\tCtrl+V", false},
    {EditCommand::SelectAll, "全选(&A)\tCtrl+A", true},
    {EditCommand::BreakPoint, "断点\tF9", false},
};
} // namespace

bool ClipboardHasText()
{
    if (wxTheClipboard->IsOpened() || !wxTheClipboard->Open())
        return false;
    bool can = wxTheClipboard->IsSupported(wxDF_UNICODETEXT) || wxTheClipboard->IsSupported(wxDF_TEXT);
    wxTheClipboard->Close();
    return can;
}

// ---- the model's ports ----

class ColorEditWnd::WindowPorts : public EditorView,
                                  public TextMeasurer,
                                  public CaretPort,
                                  public ScrollBarPort,
                                  public ClipboardPort {
public:
    explicit WindowPorts(ColorEditWnd& w) : w_(w) {}

    // EditorView
    ClientSize GetClientSize() const override
    {
        wxSize s = w_.GetClientSize();
        return ClientSize{s.x, s.y};
    }
    bool HasFocus() const override { return w_.HasFocus(); }
    void SetFocus() override { w_.SetFocus(); }
    void CaptureMouse() override
    {
        if (!w_.HasCapture())
            w_.CaptureMouse();
    }
    void ReleaseMouse() override
    {
        if (w_.HasCapture())
            w_.ReleaseMouse();
    }
    bool HasCapture() const override { return w_.HasCapture(); }
    void Invalidate(const Rect& rect, bool erase) override
    {
        if (rect.right > rect.left && rect.bottom > rect.top)
            w_.RefreshRect(wxRect(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top), erase);
    }
    void InvalidateAll(bool erase) override { w_.Refresh(erase); }
    void UpdateNow() override { w_.Update(); }
    // The whole text area is painted from the model on every paint, so moving
    // pixels saves nothing here: the area right of the margin is repainted.
    // Lines that move vertically take their break points along, so the
    // break-point margin is repainted too.
    void ScrollPixels(int, int dy) override
    {
        wxSize s = w_.GetClientSize();
        int minX = std::max(0, static_cast<int>(SettingsBlock::Shared().MinX()));
        if (s.x > minX)
            w_.RefreshRect(wxRect(minX, 0, s.x - minX, s.y), false);
        if (dy != 0)
            w_.InvalidateMargin(false);
    }
    void PostChar(unsigned ch) override
    {
        ColorEditWnd& w = w_;
        w_.CallAfter([&w, ch] { w.model_->OnChar(ch); });
    }
    void NotifyParent(int code) override
    {
        wxCommandEvent event(EVT_QUVPAD_EDIT_NOTIFY, w_.controlId_);
        event.SetInt(code);
        event.SetEventObject(&w_);
        w_.HandleWindowEvent(event);
    }
    void ForwardMouseMove(int x, int y) override
    {
        if (!w_.GetParent())
            return;
        wxMouseEvent event(wxEVT_MOTION);
        event.m_x = x;
        event.m_y = y;
        event.SetEventObject(&w_);
        w_.GetParent()->GetEventHandler()->ProcessEvent(event);
    }
    void InvalidateMargin(bool erase) override { w_.InvalidateMargin(erase); }
    void RedrawMarginLine(int line) override
    {
        if (w_.margin_)
            w_.margin_->DrawBreakPoints(line);
    }

    // TextMeasurer: the sum of the characters' widths, each measured once.
    int TextWidth(const char* text, size_t length) const override
    {
        w_.FollowBlockFont();
        std::string line(text, length);
        int width = 0;
        for (size_t i = 0; i < length;) {
            size_t n = std::min<size_t>(std::max(1, CharLength(line, static_cast<int>(i))), length - i);
            width += w_.CharacterWidth(line.substr(i, n));
            i += n;
        }
        return width;
    }

    // CaretPort
    void Create(int width, int height) override { w_.SetCaret(new wxCaret(&w_, width, height)); }
    void Show() override
    {
        if (wxCaret* caret = w_.GetCaret(); caret && !caret->IsVisible())
            caret->Show();
    }
    void Hide() override
    {
        if (wxCaret* caret = w_.GetCaret(); caret && caret->IsVisible())
            caret->Hide();
    }
    void Destroy() override { w_.SetCaret(nullptr); }
    void SetPosition(int x, int y) override
    {
        if (wxCaret* caret = w_.GetCaret())
            caret->Move(x, y);
    }

    // ScrollBarPort
    void SetScrollInfo(ScrollBar bar, const ScrollInfo& info) override
    {
        int range = std::max(1, info.max - info.min + 1);
        w_.SetScrollbar(WxOrientation(bar), info.pos, std::max(1, info.page), range, true);
    }
    void SetScrollPos(ScrollBar bar, int pos) override { w_.SetScrollPos(WxOrientation(bar), pos, true); }
    // The editor is made with both bars, shown even when they cannot scroll.
    bool HasScrollBar(ScrollBar bar) const override { return w_.CanScroll(WxOrientation(bar)); }

    // ClipboardPort
    bool Open() override
    {
        if (wxTheClipboard->IsOpened())
            return false;
        return wxTheClipboard->Open();
    }
    void Close() override
    {
        if (wxTheClipboard->IsOpened())
            wxTheClipboard->Close();
    }
    // The editor separates lines by CR LF on the clipboard; here lines end in LF.
    bool SetText(const std::string& text) override
    {
        std::string lf;
        lf.reserve(text.size());
        for (size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
                lf += text[i];
        return wxTheClipboard->SetData(new wxTextDataObject(GbkToWx(lf)));
    }
    bool GetText(std::string& text) override
    {
        if (!wxTheClipboard->IsOpened() || !wxTheClipboard->IsSupported(wxDF_UNICODETEXT))
            return false;
        wxTextDataObject data;
        if (!wxTheClipboard->GetData(data))
            return false;
        text = WxToGbk(data.GetText());
        return true;
    }
    bool CanPaste() override { return ClipboardHasText(); }

private:
    ColorEditWnd& w_;
};

int ColorEditWnd::CharacterWidth(const std::string& bytes) const
{
    auto it = widthCache_.find(bytes);
    if (it != widthCache_.end())
        return it->second;
    // A NUL byte is kept in the text and takes the room of a space.
    std::string shown = bytes;
    std::replace(shown.begin(), shown.end(), '\0', ' ');
    wxCoord width = 0, height = 0;
    measureDc_.GetTextExtent(GbkToWx(shown), &width, &height);
    widthCache_.emplace(bytes, width);
    return width;
}

// The margin paints every pixel, so erasing makes no difference to it.
void ColorEditWnd::InvalidateMargin(bool)
{
    if (margin_)
        margin_->InvalidateAll();
}

ColorEditWnd::ColorEditWnd(wxWindow* parent, const wxRect& rect, int controlId, EditorEvents& events)
    : controlId_(controlId), measureBitmap_(8, 8)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    wxWindow::Create(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(),
                     wxWANTS_CHARS | wxVSCROLL | wxHSCROLL | wxALWAYS_SHOW_SB | wxBORDER_NONE | wxCLIP_CHILDREN);
    SetCursor(wxCursor(wxCURSOR_IBEAM));
    measureDc_.SelectObject(measureBitmap_);
    CreateEditorFont();
    ports_ = std::make_unique<WindowPorts>(*this);
    model_ = std::make_unique<EditorModel>(SettingsBlock::Shared(),
                                           EditorPorts{*ports_, *ports_, *ports_, *ports_, *ports_, events});

    Bind(wxEVT_PAINT, &ColorEditWnd::OnPaint, this);
    Bind(wxEVT_KEY_DOWN, &ColorEditWnd::OnKeyDown, this);
    Bind(wxEVT_CHAR, &ColorEditWnd::OnChar, this);
    Bind(wxEVT_LEFT_DOWN, &ColorEditWnd::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &ColorEditWnd::OnLeftUp, this);
    Bind(wxEVT_LEFT_DCLICK, &ColorEditWnd::OnLeftDoubleClick, this);
    Bind(wxEVT_MOTION, &ColorEditWnd::OnMotion, this);
    Bind(wxEVT_MOUSEWHEEL, &ColorEditWnd::OnWheel, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &ColorEditWnd::OnCaptureLost, this);
    Bind(wxEVT_SET_FOCUS, &ColorEditWnd::OnSetFocus, this);
    Bind(wxEVT_KILL_FOCUS, &ColorEditWnd::OnKillFocus, this);
    Bind(wxEVT_SIZE, &ColorEditWnd::OnSize, this);
    Bind(wxEVT_CONTEXT_MENU, &ColorEditWnd::OnContextMenu, this);
    Bind(wxEVT_MENU, &ColorEditWnd::OnMenuCommand, this);
    for (const auto& type : {wxEVT_SCROLLWIN_TOP, wxEVT_SCROLLWIN_BOTTOM, wxEVT_SCROLLWIN_LINEUP,
                             wxEVT_SCROLLWIN_LINEDOWN, wxEVT_SCROLLWIN_PAGEUP, wxEVT_SCROLLWIN_PAGEDOWN,
                             wxEVT_SCROLLWIN_THUMBTRACK, wxEVT_SCROLLWIN_THUMBRELEASE})
        Bind(type, &ColorEditWnd::OnScroll, this);
}

ColorEditWnd::~ColorEditWnd()
{
    if (HasCapture())
        ReleaseMouse();
    SetCaret(nullptr);
    // The model reports to ports that are parts of this window.
    model_.reset();
    ports_.reset();
}

void ColorEditWnd::SetBreakPointWnd(BreakPointWnd* margin)
{
    margin_ = margin;
    if (margin_)
        margin_->SetEditor(this);
}

void ColorEditWnd::CreateEditorFont()
{
    const SettingsBlock& block = SettingsBlock::Shared();
    std::memcpy(fontBytes_.data(), block.Bytes().data(), fontBytes_.size());
    font_ = MakeEditorFont(block.Font());
    measureDc_.SetFont(font_);
    widthCache_.clear();
}

void ColorEditWnd::FollowBlockFont()
{
    if (std::memcmp(fontBytes_.data(), SettingsBlock::Shared().Bytes().data(), fontBytes_.size()) != 0)
        CreateEditorFont();
}

void ColorEditWnd::Reconfigure(int mask)
{
    CreateEditorFont();
    MeasureFontInto(SettingsBlock::Shared(), font_);
    // The caret is made one line tall; a new line height needs a new caret.
    model_->UpdateCaret(false);
    if (mask & 1) {
        model_->OnSize();
        InvalidateMargin(true);
        Refresh(true);
    } else if (mask & 2) {
        model_->RecolorAll();
    } else if (mask & 4) {
        model_->OnSize();
        InvalidateMargin(true);
        Refresh(true);
    }
    model_->UpdateCaret(true);
}

// ---- painting ----

void ColorEditWnd::Draw(wxDC& dc)
{
    FollowBlockFont();
    const SettingsBlock& block = SettingsBlock::Shared();
    wxSize size = GetClientSize();
    int lineHeight = block.LineHeight();
    dc.SetFont(font_);
    dc.SetBackgroundMode(wxTRANSPARENT);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ColourFromRef(model_->BackgroundColor())));
    dc.DrawRectangle(0, 0, size.x, size.y);
    for (const LineLayout& line : model_->LayoutView()) {
        if (line.caretLine) {
            dc.SetBrush(wxBrush(ColourFromRef(line.lineBackColor)));
            dc.DrawRectangle(0, line.top, size.x, lineHeight);
        }
        for (const Cell& cell : line.cells) {
            dc.SetBrush(wxBrush(ColourFromRef(cell.backColor)));
            dc.DrawRectangle(cell.x, line.top, cell.width, lineHeight);
            if (cell.bytes.find('\0') != std::string::npos)
                continue;
            dc.SetTextForeground(ColourFromRef(cell.textColor));
            dc.DrawText(GbkToWx(cell.bytes), cell.x, line.top);
        }
    }
}

void ColorEditWnd::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    Draw(dc);
}

// ---- input ----

void ColorEditWnd::OnKeyDown(wxKeyEvent& event)
{
    int key = VirtualKey(event.GetKeyCode());
    int modifiers = Modifiers(event);
    if (key && model_->TranslateAccelerator(key, modifiers))
        return;
    if (key && model_->OnKeyDown(key, modifiers)) {
        // Enter breaks the line through its character; Ctrl+Enter has posted
        // its own.
        if (key == KeyReturn && !(modifiers & ModControl))
            event.Skip();
        return;
    }
    event.Skip();
}

void ColorEditWnd::OnChar(wxKeyEvent& event)
{
    wxChar ch = event.GetUnicodeKey();
    // Control and Alt combinations are commands, not text.
    if (ch == WXK_NONE || event.RawControlDown() || event.AltDown()) {
        event.Skip();
        return;
    }
    std::string bytes = CharToGbk(ch);
    if (bytes.size() == 1)
        model_->OnChar(static_cast<unsigned char>(bytes[0]));
    else if (bytes.size() == 2)
        model_->OnChar((static_cast<unsigned char>(bytes[0]) << 8) | static_cast<unsigned char>(bytes[1]));
}

void ColorEditWnd::OnLeftDown(wxMouseEvent& event)
{
    model_->OnLButtonDown(event.GetX(), event.GetY(), Modifiers(event));
}

void ColorEditWnd::OnLeftUp(wxMouseEvent&) { model_->OnLButtonUp(); }

void ColorEditWnd::OnLeftDoubleClick(wxMouseEvent& event) { model_->OnDoubleClick(event.GetX(), event.GetY()); }

void ColorEditWnd::OnMotion(wxMouseEvent& event) { model_->OnMouseMove(event.GetX(), event.GetY()); }

void ColorEditWnd::OnWheel(wxMouseEvent& event)
{
    if (event.GetWheelAxis() != wxMOUSE_WHEEL_VERTICAL)
        return;
    model_->OnMouseWheel(Modifiers(event), event.GetWheelRotation());
}

void ColorEditWnd::OnCaptureLost(wxMouseCaptureLostEvent&) { model_->OnLButtonUp(); }

void ColorEditWnd::OnSetFocus(wxFocusEvent& event)
{
    if (caretHiddenByFocus_) {
        caretHiddenByFocus_ = false;
        ports_->Show();
    }
    model_->OnSetFocus();
    event.Skip();
}

void ColorEditWnd::OnKillFocus(wxFocusEvent& event)
{
    // Only the focused window shows a caret.
    if (wxCaret* caret = GetCaret(); caret && caret->IsVisible()) {
        caret->Hide();
        caretHiddenByFocus_ = true;
    }
    model_->OnKillFocus();
    event.Skip();
}

void ColorEditWnd::OnSize(wxSizeEvent& event)
{
    model_->OnSize();
    Refresh(false);
    InvalidateMargin(false);
    event.Skip();
}

void ColorEditWnd::OnScroll(wxScrollWinEvent& event)
{
    wxEventType type = event.GetEventType();
    int code = type == wxEVT_SCROLLWIN_LINEUP       ? ScrollLineUp
               : type == wxEVT_SCROLLWIN_LINEDOWN   ? ScrollLineDown
               : type == wxEVT_SCROLLWIN_PAGEUP     ? ScrollPageUp
               : type == wxEVT_SCROLLWIN_PAGEDOWN   ? ScrollPageDown
               : type == wxEVT_SCROLLWIN_THUMBTRACK ? ScrollThumbTrack
               : type == wxEVT_SCROLLWIN_TOP        ? ScrollTop
               : type == wxEVT_SCROLLWIN_BOTTOM     ? ScrollBottom
                                                    : ScrollThumbPosition;
    if (event.GetOrientation() == wxVERTICAL)
        model_->OnVScroll(code, event.GetPosition());
    else
        model_->OnHScroll(code, event.GetPosition());
}

wxMenu* ColorEditWnd::CreateContextMenu()
{
    auto* menu = new wxMenu;
    for (const MenuItem& item : kContextMenu) {
        int id = kMenuIdBase + static_cast<int>(&item - kContextMenu);
        CommandState state = model_->QueryCommand(item.command);
        wxMenuItem* added = item.command == EditCommand::BreakPoint
                                ? menu->AppendCheckItem(id, wxString::FromUTF8(item.label))
                                : menu->Append(id, wxString::FromUTF8(item.label));
        added->Enable(state.enabled);
        if (added->IsCheckable())
            added->Check(state.checked);
        if (item.separatorAfter)
            menu->AppendSeparator();
    }
    return menu;
}

void ColorEditWnd::OnContextMenu(wxContextMenuEvent& event)
{
    SetFocus();
    std::unique_ptr<wxMenu> menu(CreateContextMenu());
    wxPoint at = event.GetPosition();
    PopupMenu(menu.get(), at == wxDefaultPosition ? wxDefaultPosition : ScreenToClient(at));
}

void ColorEditWnd::OnMenuCommand(wxCommandEvent& event)
{
    int index = event.GetId() - kMenuIdBase;
    if (index < 0 || index >= static_cast<int>(std::size(kContextMenu))) {
        event.Skip();
        return;
    }
    EditCommand command = kContextMenu[index].command;
    std::unique_ptr<wxBusyCursor> wait(command == EditCommand::Paste ? new wxBusyCursor : nullptr);
    model_->DoCommand(command);
}

} // namespace quvpad
