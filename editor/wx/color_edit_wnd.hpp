// The editor window: a wx window that implements the editor model's ports,
// forwards its input to the model and paints the model's layout.
#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include <wx/bitmap.h>
#include <wx/dcmemory.h>
#include <wx/event.h>
#include <wx/font.h>
#include <wx/menu.h>
#include <wx/region.h>
#include <wx/timer.h>
#include <wx/window.h>

#include "editor/editor_model.hpp"
#include "editor/wx/cell_painter.hpp"
#include "editor/wx/kept_picture.hpp"

namespace quvpad {

class BreakPointWnd;

// Sent up from the editor window on focus changes; GetInt() is the
// notification code (NotifySetFocus or NotifyKillFocus), GetId() the editor's
// control id.
wxDECLARE_EVENT(EVT_QUVPAD_EDIT_NOTIFY, wxCommandEvent);

// Whether the clipboard can be opened now and holds text.
bool ClipboardHasText();

class ColorEditWnd : public wxWindow {
public:
    // `events` receives the model's PosChanged and ModifiedChanged. The control
    // id names the editor in its notifications (wx window ids stay below 32767).
    ColorEditWnd(wxWindow* parent, const wxRect& rect, int controlId, EditorEvents& events);
    ~ColorEditWnd() override;

    EditorModel& Model() { return *model_; }
    const EditorModel& Model() const { return *model_; }

    // Links the margin, which then reads this editor's break points and first line.
    void SetBreakPointWnd(BreakPointWnd* margin);
    // Makes the font anew from the shared settings block.
    void CreateEditorFont();
    // After the settings block changed: new font and metrics, then the redraw
    // the first set bit of `mask` asks for.
    void Reconfigure(int mask);

    // Paints the editor's picture into any device context of the client's size.
    void Draw(wxDC& dc);
    // The same for the lines that meet `area` (client pixels) only.
    void Draw(wxDC& dc, const wxRect& area);
    // Also remembers what is to be drawn again at the next paint.
    void Refresh(bool erase = true, const wxRect* rect = nullptr) override;
    // Text lines drawn by the paints so far: what a paint cost in lines.
    long LinesPainted() const { return linesPainted_; }
    // Paints that found something changed to bring up to date (not only the
    // caret's blink or pixels the window system asked for again).
    long ChangedPaints() const { return changedPaints_; }

    // The context menu with every item enabled and checked as the editor's
    // state says; its commands go to this window.
    wxMenu* CreateContextMenu();

    bool AcceptsFocus() const override { return true; }

private:
    // The model's ports, implemented on this window.
    class WindowPorts;
    friend class WindowPorts;

    // The block's font may have been changed by another control; the font
    // always follows the block, so text and metrics agree.
    void FollowBlockFont();

    void OnPaint(wxPaintEvent& event);
    // Brings the picture's damaged rows up to date.
    void PaintDamage(cairo_t* cr);
    // A digest of what the picture shows in a row: its line and the lines
    // beside it, whose ink may reach into it.
    uint64_t RowDigest(int row, std::vector<uint64_t>& lineDigests, std::vector<char>& known) const;
    void DrawInto(cairo_t* cr, const wxRegion& area);
    void OnKeyDown(wxKeyEvent& event);
    void OnChar(wxKeyEvent& event);
    void OnLeftDown(wxMouseEvent& event);
    void OnLeftUp(wxMouseEvent& event);
    void OnLeftDoubleClick(wxMouseEvent& event);
    void OnMotion(wxMouseEvent& event);
    void OnWheel(wxMouseEvent& event);
    void OnCaptureLost(wxMouseCaptureLostEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnKillFocus(wxFocusEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnScroll(wxScrollWinEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);
    void OnMenuCommand(wxCommandEvent& event);
    void InvalidateMargin(bool erase);
    // Width of one character (one or two bytes) in the editor's font.
    int CharacterWidth(const std::string& bytes) const;

    // The text caret, drawn by the paint over the picture kept: a black bar
    // that blinks as wx's caret does, repainted from the picture where it was.
    class Caret {
    public:
        explicit Caret(ColorEditWnd& window);
        void Create(int width, int height);
        void Show();
        void Hide();
        void Destroy();
        void Move(int x, int y);
        bool IsShown() const { return shown_; }
        // Where the paint draws it now; null while it is hidden or blinked out.
        const wxRect* Drawn() const { return exists_ && shown_ && on_ ? &rect_ : nullptr; }

    private:
        // The window shows the caret's place again from its picture.
        void Repaint();
        void StartBlink();
        ColorEditWnd& window_;
        wxTimer blink_;
        wxRect rect_;
        bool exists_ = false, shown_ = false, on_ = false;
    };

    int controlId_;
    wxFont font_;
    std::array<uint8_t, SettingsBlock::FontSize> fontBytes_{};
    mutable wxBitmap measureBitmap_;
    mutable wxMemoryDC measureDc_;
    mutable std::unordered_map<std::string, int> widthCache_;
    mutable std::array<int, 128> asciiWidths_{};   // 0: not measured yet
    // Counts the fonts the picture was drawn in: a row drawn in another
    // font is not what the same layout gives now.
    uint64_t fontEpoch_ = 0;
    CellPainter painter_;
    KeptPicture picture_;
    wxRegion damage_;   // client pixels the picture kept does not show yet
    long linesPainted_ = 0;
    long changedPaints_ = 0;
    BreakPointWnd* margin_ = nullptr;
    bool caretHiddenByFocus_ = false;
    Caret caret_;
    std::unique_ptr<WindowPorts> ports_;
    std::unique_ptr<EditorModel> model_;
};

} // namespace quvpad
