// The editor model's seam to the window system. The model never draws or talks
// to the platform itself: the window layer implements these small interfaces,
// and tests implement them with fakes.
#pragma once
#include <cstddef>
#include <string>

namespace quvpad {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct ClientSize {
    int width = 0, height = 0;
};

// Measures 8-bit text in the editor's font. Widths add up: a text is as wide
// as its characters measured one by one, as painting places them.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    // Width in pixels of `length` bytes of text.
    virtual int TextWidth(const char* text, size_t length) const = 0;
};

// The editor window and the windows around it.
class EditorView {
public:
    virtual ~EditorView() = default;
    virtual ClientSize GetClientSize() const = 0;
    virtual bool HasFocus() const = 0;
    virtual void SetFocus() = 0;
    virtual void CaptureMouse() = 0;
    virtual void ReleaseMouse() = 0;
    virtual bool HasCapture() const = 0;
    // Marks a region (client pixels) for repainting; `erase` as the model asks.
    virtual void Invalidate(const Rect& rect, bool erase) = 0;
    virtual void InvalidateAll(bool erase) = 0;
    // Repaints the marked regions at once.
    virtual void UpdateNow() = 0;
    // Moves the pixels right of the left text margin by (dx, dy); the model
    // invalidates the uncovered strip itself.
    virtual void ScrollPixels(int dx, int dy) = 0;
    // Queues a character for OnChar after the current event (Ctrl+Enter).
    virtual void PostChar(unsigned ch) = 0;
    // Focus notifications to the parent (EditNotify codes).
    virtual void NotifyParent(int code) = 0;
    // Mouse moves are passed on to the parent, x relative to the text margin.
    virtual void ForwardMouseMove(int x, int y) = 0;
    // The break-point margin beside the text.
    virtual void InvalidateMargin(bool erase) = 0;
    virtual void RedrawMarginLine(int line) = 0;
};

// The text caret. Create replaces any caret the window had.
class CaretPort {
public:
    virtual ~CaretPort() = default;
    virtual void Create(int width, int height) = 0;
    virtual void Show() = 0;
    virtual void Hide() = 0;
    virtual void Destroy() = 0;
    virtual void SetPosition(int x, int y) = 0;
};

enum class ScrollBar { Vertical, Horizontal };

// Range min..max, page and position; a bar that cannot scroll is shown disabled.
struct ScrollInfo {
    int min = 0, max = 0, page = 0, pos = 0;
};

class ScrollBarPort {
public:
    virtual ~ScrollBarPort() = default;
    virtual void SetScrollInfo(ScrollBar bar, const ScrollInfo& info) = 0;
    virtual void SetScrollPos(ScrollBar bar, int pos) = 0;
    virtual bool HasScrollBar(ScrollBar bar) const = 0;
};

// 8-bit text on the system clipboard, lines separated by CR LF.
class ClipboardPort {
public:
    virtual ~ClipboardPort() = default;
    virtual bool Open() = 0;
    virtual void Close() = 0;
    // Empties the clipboard and puts the text on it (clipboard open).
    virtual bool SetText(const std::string& text) = 0;
    // The clipboard's text, when it holds any (clipboard open).
    virtual bool GetText(std::string& text) = 0;
    // Whether text can be pasted now (opens and closes by itself).
    virtual bool CanPaste() = 0;
};

// The two events the control reports to its host. Positions are 1-based and
// keep their full range.
class EditorEvents {
public:
    virtual ~EditorEvents() = default;
    virtual void PosChanged(int caretLine, int caretColumn, int anchorLine, int anchorColumn) = 0;
    virtual void ModifiedChanged(bool modified) = 0;
};

struct EditorPorts {
    EditorView& view;
    TextMeasurer& measurer;
    CaretPort& caret;
    ScrollBarPort& scrollBars;
    ClipboardPort& clipboard;
    EditorEvents& events;
};

} // namespace quvpad
