#include "editor/wx/color_edit_wnd.hpp"

#include <algorithm>
#include <cstring>
#include <iterator>

#include <gtk/gtk.h>

#include <wx/caret.h>
#include <wx/cursor.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/dcclient.h>
#include <wx/graphics.h>
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

namespace {
// The text an editor of this process put on the clipboard, for as long as the
// clipboard holds it: wx deletes its data object once another program, or
// another copy in this one, takes the clipboard. A paste takes these bytes as
// they were copied rather than have the clipboard carry them round through
// the window system and two conversions; other programs read the text as
// the data object offers it.
class CopiedText : public wxTextDataObject {
public:
    // Lines end in CR LF in `bytes`; the clipboard's text ends them in LF.
    explicit CopiedText(std::string bytes) : wxTextDataObject(GbkToWx(LfLines(bytes))), bytes_(std::move(bytes))
    {
        held_ = this;
    }
    ~CopiedText() override
    {
        if (held_ == this)
            held_ = nullptr;
    }
    static const CopiedText* Held() { return held_; }
    const std::string& Bytes() const { return bytes_; }

private:
    static std::string LfLines(const std::string& text)
    {
        std::string lf;
        lf.reserve(text.size());
        for (size_t i = 0; i < text.size(); ++i)
            if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
                lf += text[i];
        return lf;
    }
    static inline CopiedText* held_ = nullptr;
    std::string bytes_;
};
} // namespace

namespace {
// Whether another program's clipboard holds text, asked once for each owner:
// the menus and the tool bar ask after every event, and each question goes
// round through the window system to the clipboard's owner. Where the window
// system tells of a new owner (or of new content set by the same owner), the
// answer is kept until it does; elsewhere the clipboard is asked every time.
class PasteAnswer {
public:
    static PasteAnswer& Get()
    {
        static PasteAnswer answer;
        return answer;
    }
    bool Known() const { return known_; }
    bool Can() const { return can_; }
    void Keep(bool can)
    {
        can_ = can;
        known_ = watching_;
    }

private:
    PasteAnswer()
    {
        GdkDisplay* display = gdk_display_get_default();
        if (display && gdk_display_supports_selection_notification(display)) {
            g_signal_connect(gtk_clipboard_get(GDK_SELECTION_CLIPBOARD), "owner-change", G_CALLBACK(Forget), this);
            watching_ = true;
        }
    }
    static void Forget(GtkClipboard*, GdkEvent*, gpointer self) { static_cast<PasteAnswer*>(self)->known_ = false; }
    bool watching_ = false;
    bool known_ = false;
    bool can_ = false;
};
} // namespace

bool ClipboardHasText()
{
    if (CopiedText::Held())
        return true;
    PasteAnswer& answer = PasteAnswer::Get();
    if (answer.Known())
        return answer.Can();
    if (wxTheClipboard->IsOpened() || !wxTheClipboard->Open())
        return false;
    bool can = wxTheClipboard->IsSupported(wxDF_UNICODETEXT) || wxTheClipboard->IsSupported(wxDF_TEXT);
    wxTheClipboard->Close();
    answer.Keep(can);
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
    // GTK paints what was invalidated at its frame clock's next paint, which
    // is at once for a GTK window. A paint forced here (wxWindow::Update)
    // waited for the X server and drew every window of the frame under the
    // damage, and Enter breaks its line with the character that comes after
    // the key: each key paid for two paints of the frame instead of one.
    void UpdateNow() override {}
    // A paint copies the rows that only moved from the picture it keeps, so
    // moving the window's pixels saves nothing more: the area right of the
    // margin is repainted.
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
    void Create(int width, int height) override { w_.caret_.Create(width, height); }
    void Show() override { w_.caret_.Show(); }
    void Hide() override { w_.caret_.Hide(); }
    void Destroy() override { w_.caret_.Destroy(); }
    void SetPosition(int x, int y) override { w_.caret_.Move(x, y); }

    // ScrollBarPort
    // A bar set to what it shows already is left alone: GTK lays the
    // scrolled window out again at every change of a bar, and that paints
    // the whole editor.
    void SetScrollInfo(ScrollBar bar, const ScrollInfo& info) override
    {
        const int orientation = WxOrientation(bar);
        const int range = std::max(1, info.max - info.min + 1);
        const int page = std::max(1, info.page);
        if (w_.GetScrollPos(orientation) == info.pos && w_.GetScrollThumb(orientation) == page &&
            w_.GetScrollRange(orientation) == range)
            return;
        w_.SetScrollbar(orientation, info.pos, page, range, true);
    }
    void SetScrollPos(ScrollBar bar, int pos) override
    {
        const int orientation = WxOrientation(bar);
        if (w_.GetScrollPos(orientation) != pos) {
            w_.SetScrollPos(orientation, pos, true);
        }
    }
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
    bool SetText(const std::string& text) override { return wxTheClipboard->SetData(new CopiedText(text)); }
    bool GetText(std::string& text) override
    {
        if (const CopiedText* copied = CopiedText::Held()) {
            text = copied->Bytes();
            return true;
        }
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
    // Most characters are ASCII; they skip the look-up by string.
    const bool ascii = bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) < 0x80;
    if (ascii && asciiWidths_[static_cast<unsigned char>(bytes[0])] > 0)
        return asciiWidths_[static_cast<unsigned char>(bytes[0])] - 1;
    auto it = widthCache_.find(bytes);
    if (it != widthCache_.end())
        return it->second;
    // A NUL byte is kept in the text and takes the room of a space.
    std::string shown = bytes;
    std::replace(shown.begin(), shown.end(), '\0', ' ');
    wxCoord width = 0, height = 0;
    measureDc_.GetTextExtent(GbkToWx(shown), &width, &height);
    if (ascii)
        asciiWidths_[static_cast<unsigned char>(bytes[0])] = width + 1;
    else
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
    : controlId_(controlId), measureBitmap_(8, 8), caret_(*this)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    wxWindow::Create(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(),
                     wxWANTS_CHARS | wxVSCROLL | wxHSCROLL | wxALWAYS_SHOW_SB | wxBORDER_NONE | wxCLIP_CHILDREN);
    // Scroll bars beside the text, as the editor's bars have always been:
    // GTK's overlay bars fade in and out over the text at every mouse move,
    // and each frame of that would paint the editor again.
    if (GtkWidget* widget = GetHandle(); widget && GTK_IS_SCROLLED_WINDOW(widget))
        gtk_scrolled_window_set_overlay_scrolling(GTK_SCROLLED_WINDOW(widget), FALSE);
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
    // Each paint's context takes the window's font; one of its own spares the
    // look-up of the theme's at every paint.
    SetFont(font_);
    measureDc_.SetFont(font_);
    widthCache_.clear();
    asciiWidths_.fill(0);
    painter_.SetFont(font_);
    ++fontEpoch_;
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
    Draw(dc, wxRect(GetClientSize()));
}

void ColorEditWnd::Draw(wxDC& dc, const wxRect& area)
{
    FollowBlockFont();
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (gc && painter_.CanDraw()) {
        DrawInto(static_cast<cairo_t*>(gc->GetNativeContext()), wxRegion(area));
        return;
    }
    const SettingsBlock& block = SettingsBlock::Shared();
    wxSize size = GetClientSize();
    int lineHeight = block.LineHeight();
    dc.SetFont(font_);
    dc.SetBackgroundMode(wxTRANSPARENT);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(ColourFromRef(model_->BackgroundColor())));
    dc.DrawRectangle(area);
    for (const LineLayout& line : model_->LayoutView(area.GetTop(), area.GetBottom() + 1)) {
        ++linesPainted_;
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

// Draws the area as a paint of the whole client draws it: the background,
// then every line in order, each over the one above it, so that what a
// character draws beyond its line's band comes out as it always has. Only
// the lines that can reach into the area are drawn, and nothing outside it.
void ColorEditWnd::DrawInto(cairo_t* cr, const wxRegion& area)
{
    const SettingsBlock& block = SettingsBlock::Shared();
    const int lineHeight = block.LineHeight();
    const int width = GetClientSize().x;
    painter_.Begin(cr);
    for (wxRegionIterator it(area); it; ++it) {
        const wxRect r = it.GetRect();
        cairo_save(cr);
        cairo_rectangle(cr, r.x, r.y, r.width, r.height);
        cairo_clip(cr);
        painter_.Fill(model_->BackgroundColor(), r.x, r.y, r.width, r.height);
        for (const LineLayout& line : model_->LayoutView(r.GetTop() - lineHeight, r.GetBottom() + 1 + lineHeight)) {
            ++linesPainted_;
            painter_.DrawLine(line, lineHeight, width);
        }
        cairo_restore(cr);
    }
    painter_.End();
}

namespace {
// Mixes a value into a digest so that nearby values part widely.
void Mix(uint64_t& digest, uint64_t value)
{
    digest ^= value + 0x9E3779B97F4A7C15ull + (digest << 6) + (digest >> 2);
    digest *= 0xBF58476D1CE4E5B9ull;
    digest ^= digest >> 31;
}

// Everything of a line's layout that its pixels depend on, but its place.
uint64_t LayoutDigest(const LineLayout& line)
{
    uint64_t digest = 0x2545F4914F6CDD1Dull;
    Mix(digest, line.caretLine ? 1 : 2);
    Mix(digest, line.lineBackColor);
    for (const Cell& cell : line.cells) {
        Mix(digest, static_cast<uint32_t>(cell.x));
        Mix(digest, static_cast<uint32_t>(cell.width));
        Mix(digest, (static_cast<uint64_t>(cell.textColor) << 32) | cell.backColor);
        uint64_t bytes = cell.bytes.size();
        for (char c : cell.bytes)
            bytes = (bytes << 8) | static_cast<unsigned char>(c);
        Mix(digest, bytes);
    }
    return digest;
}

// No line in the row: the text ended above it.
constexpr uint64_t kNoLine = 0x51ED270B27A1C3F7ull;
} // namespace

uint64_t ColorEditWnd::RowDigest(int row, std::vector<uint64_t>& lineDigests, std::vector<char>& known) const
{
    const int lineHeight = picture_.RowHeight();
    uint64_t digest = fontEpoch_;
    Mix(digest, static_cast<uint32_t>(lineHeight));
    Mix(digest, static_cast<uint32_t>(GetClientSize().x));
    Mix(digest, model_->BackgroundColor());
    for (int k = row - 1; k <= row + 1; ++k) {
        if (k < 0 || k >= picture_.RowCount()) {
            Mix(digest, kNoLine);
            continue;
        }
        if (!known[k]) {
            const std::vector<LineLayout> line = model_->LayoutView(k * lineHeight, k * lineHeight + 1);
            lineDigests[k] = line.empty() ? kNoLine : LayoutDigest(line.front());
            known[k] = 1;
        }
        Mix(digest, lineDigests[k]);
    }
    return digest == 0 ? 1 : digest;
}

// A row that shows what it is to show is left as it is; one whose lines only
// moved (a line broken or joined above them, the view scrolled by a few
// lines) is copied from where the picture shows them; only the rest is drawn.
void ColorEditWnd::PaintDamage(cairo_t* cr)
{
    const int lineHeight = SettingsBlock::Shared().LineHeight();
    picture_.SetRowHeight(lineHeight);
    const int rows = picture_.RowCount();
    if (lineHeight <= 0 || rows == 0) {
        DrawInto(cr, damage_);
        return;
    }
    const int height = GetClientSize().y;
    const int width = GetClientSize().x;
    std::vector<char> damaged(static_cast<size_t>(rows), 0);
    for (wxRegionIterator it(damage_); it; ++it) {
        const wxRect r = it.GetRect();
        const int last = std::min(rows - 1, r.GetBottom() / lineHeight);
        for (int row = std::max(0, r.GetTop() / lineHeight); row <= last; ++row)
            damaged[static_cast<size_t>(row)] = 1;
    }
    // The rows the picture shows whole, by what they show.
    std::unordered_map<uint64_t, int> shown;
    for (int row = 0; row < rows && (row + 1) * lineHeight <= height; ++row)
        if (picture_.Row(row) != 0)
            shown.emplace(picture_.Row(row), row);
    std::vector<uint64_t> lineDigests(static_cast<size_t>(rows), 0);
    std::vector<char> known(static_cast<size_t>(rows), 0);
    std::vector<std::pair<int, int>> moves;
    std::vector<std::pair<int, uint64_t>> drawn;
    wxRegion draw;
    for (int row = 0; row < rows; ++row) {
        if (!damaged[static_cast<size_t>(row)])
            continue;
        const uint64_t digest = RowDigest(row, lineDigests, known);
        if (picture_.Row(row) == digest)
            continue;
        if (auto from = shown.find(digest); from != shown.end()) {
            moves.emplace_back(row, from->second);
            continue;
        }
        draw.Union(wxRect(0, row * lineHeight, width, lineHeight));
        drawn.emplace_back(row, digest);
    }
    picture_.CopyRows(moves);
    draw.Intersect(wxRect(0, 0, width, height));
    if (!draw.IsEmpty())
        DrawInto(cr, draw);
    for (const auto& [row, digest] : drawn)
        picture_.SetRow(row, digest);
}

void ColorEditWnd::Refresh(bool erase, const wxRect* rect)
{
    damage_.Union(rect ? *rect : wxRect(GetClientSize()));
    wxWindow::Refresh(erase, rect);
}

// The picture is kept, and a paint draws only what was refreshed since the
// last (what an edit, a scroll or a new size changed): the window system
// also asks for what it merely covered, laid out again or faded over, and
// that is copied from the picture kept.
void ColorEditWnd::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);
    FollowBlockFont();
    wxGraphicsContext* gc = dc.GetGraphicsContext();
    if (!damage_.IsEmpty())
        ++changedPaints_;
    if (!gc || !painter_.CanDraw()) {
        damage_.Clear();
        picture_.ForgetRows();
        Draw(dc, GetUpdateRegion().GetBox());
        if (const wxRect* caret = caret_.Drawn()) {
            dc.SetBrush(*wxBLACK_BRUSH);
            dc.DrawRectangle(*caret);
        }
        return;
    }
    auto* target = static_cast<cairo_t*>(gc->GetNativeContext());
    const wxSize size = GetClientSize();
    if (size.x <= 0 || size.y <= 0)
        return;
    if (!picture_.Fits(target, size.x, size.y)) {
        picture_.Make(target, size.x, size.y);
        damage_ = wxRegion(wxRect(size));
    }
    damage_.Intersect(wxRect(size));
    if (!damage_.IsEmpty()) {
        cairo_t* cr = cairo_create(picture_.Surface());
        PaintDamage(cr);
        cairo_destroy(cr);
        damage_.Clear();
    }
    cairo_save(target);
    cairo_set_source_surface(target, picture_.Surface(), 0, 0);
    cairo_paint(target);
    if (const wxRect* caret = caret_.Drawn()) {
        cairo_set_source_rgb(target, 0, 0, 0);
        cairo_rectangle(target, caret->x, caret->y, caret->width, caret->height);
        cairo_fill(target);
    }
    cairo_restore(target);
}

// ---- the caret ----

ColorEditWnd::Caret::Caret(ColorEditWnd& window) : window_(window)
{
    blink_.Bind(wxEVT_TIMER, [this](wxTimerEvent&) {
        on_ = !on_;
        Repaint();
    });
}

// Only the bar's pixels are asked for: the paint copies them from the
// picture and draws the bar over them when it is on.
void ColorEditWnd::Caret::Repaint()
{
    if (exists_ && !rect_.IsEmpty())
        window_.wxWindow::Refresh(false, &rect_);
}

void ColorEditWnd::Caret::StartBlink()
{
    on_ = true;
    const int period = wxCaret::GetBlinkTime();
    if (period > 0)
        blink_.Start(period);
    else
        blink_.Stop();
}

void ColorEditWnd::Caret::Create(int width, int height)
{
    Destroy();
    exists_ = true;
    rect_.SetSize(wxSize(width, height));
}

void ColorEditWnd::Caret::Show()
{
    if (!exists_ || shown_)
        return;
    shown_ = true;
    StartBlink();
    Repaint();
}

void ColorEditWnd::Caret::Hide()
{
    if (!shown_)
        return;
    shown_ = false;
    blink_.Stop();
    Repaint();
}

void ColorEditWnd::Caret::Destroy()
{
    Hide();
    exists_ = false;
}

void ColorEditWnd::Caret::Move(int x, int y)
{
    if (rect_.GetPosition() == wxPoint(x, y))
        return;
    Repaint();
    rect_.SetPosition(wxPoint(x, y));
    if (shown_)
        StartBlink();
    Repaint();
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
        caret_.Show();
    }
    model_->OnSetFocus();
    event.Skip();
}

void ColorEditWnd::OnKillFocus(wxFocusEvent& event)
{
    // Only the focused window shows a caret.
    if (caret_.IsShown()) {
        caret_.Hide();
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
