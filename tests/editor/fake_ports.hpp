// A window for the editor model without a window: fixed-width text, and a
// record of everything the model asks of the window system.
#pragma once
#include <deque>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "editor/editor.hpp"

namespace quvpad::test {

struct PosEvent {
    int caretLine, caretColumn, anchorLine, anchorColumn;
    bool operator==(const PosEvent& o) const
    {
        return caretLine == o.caretLine && caretColumn == o.caretColumn && anchorLine == o.anchorLine &&
               anchorColumn == o.anchorColumn;
    }
};

class FakeWindow : public EditorView, public TextMeasurer, public CaretPort, public ScrollBarPort,
                   public ClipboardPort, public EditorEvents {
public:
    // EditorView
    ClientSize GetClientSize() const override { return client; }
    bool HasFocus() const override { return focus; }
    void SetFocus() override
    {
        Note("focus");
        focus = true;
    }
    void CaptureMouse() override
    {
        Note("capture");
        capture = true;
    }
    void ReleaseMouse() override
    {
        Note("release");
        capture = false;
    }
    bool HasCapture() const override { return capture; }
    void Invalidate(const Rect& r, bool erase) override
    {
        Note("invalidate ", r.left, ' ', r.top, ' ', r.right, ' ', r.bottom, erase ? " erase" : "");
        invalidated.push_back({r, erase});
    }
    void InvalidateAll(bool erase) override
    {
        Note("invalidate all", erase ? " erase" : "");
        invalidated.push_back({Rect{0, 0, client.width, client.height}, erase});
    }
    void UpdateNow() override
    {
        Note("update");
        ++updates;
    }
    void ScrollPixels(int dx, int dy) override
    {
        Note("scroll pixels ", dx, ' ', dy);
        scrolls.push_back({dx, dy});
    }
    void PostChar(unsigned ch) override
    {
        Note("post ", ch);
        posted.push_back(ch);
    }
    void NotifyParent(int code) override
    {
        Note("notify ", code);
        notifications.push_back(code);
    }
    void ForwardMouseMove(int x, int y) override
    {
        Note("forward ", x, ' ', y);
        forwarded.push_back({x, y});
    }
    void InvalidateMargin(bool erase) override
    {
        Note("invalidate margin", erase ? " erase" : "");
        ++marginInvalidations;
    }
    void RedrawMarginLine(int line) override
    {
        Note("redraw margin line ", line);
        marginLines.push_back(line);
    }

    // TextMeasurer
    int TextWidth(const char*, size_t length) const override { return static_cast<int>(length) * charWidth; }

    // CaretPort
    void Create(int w, int h) override
    {
        Note("caret create ", w, ' ', h);
        caretCreated = true;
        caretSize = {w, h};
    }
    void Show() override
    {
        Note("caret show");
        caretVisible = true;
    }
    void Hide() override
    {
        Note("caret hide");
        caretVisible = false;
    }
    void Destroy() override
    {
        Note("caret destroy");
        caretCreated = false;
        caretVisible = false;
    }
    void SetPosition(int x, int y) override
    {
        Note("caret at ", x, ' ', y);
        caretAt = {x, y};
    }

    // ScrollBarPort
    void SetScrollInfo(ScrollBar bar, const ScrollInfo& info) override
    {
        Note(bar == ScrollBar::Vertical ? "vbar " : "hbar ", info.min, ' ', info.max, ' ', info.page, ' ', info.pos);
        Bar(bar) = info;
    }
    void SetScrollPos(ScrollBar bar, int pos) override
    {
        Note(bar == ScrollBar::Vertical ? "vbar at " : "hbar at ", pos);
        Bar(bar).pos = pos;
    }
    bool HasScrollBar(ScrollBar) const override { return true; }
    ScrollInfo& Bar(ScrollBar bar) { return bar == ScrollBar::Vertical ? vbar : hbar; }

    // ClipboardPort
    bool Open() override
    {
        Note("clipboard open");
        if (!clipboardOpens || clipboardOpen)
            return false;
        clipboardOpen = true;
        return true;
    }
    void Close() override
    {
        Note("clipboard close");
        clipboardOpen = false;
    }
    bool SetText(const std::string& t) override
    {
        Note("clipboard set ", t.size());
        clipboard = t;
        hasClipboardText = true;
        return true;
    }
    bool GetText(std::string& t) override
    {
        Note("clipboard get");
        if (!hasClipboardText)
            return false;
        t = clipboard;
        return true;
    }
    bool CanPaste() override { return clipboardOpens && hasClipboardText; }

    // EditorEvents
    void PosChanged(int cl, int cc, int al, int ac) override
    {
        Note("pos ", cl, ' ', cc, ' ', al, ' ', ac);
        positions.push_back({cl, cc, al, ac});
    }
    void ModifiedChanged(bool m) override
    {
        Note("modified ", m);
        modifiedEvents.push_back(m);
    }

    EditorPorts Ports() { return EditorPorts{*this, *this, *this, *this, *this, *this}; }

    // While tracing, every call that changes something outside the model is
    // written to `trace`, one line each, in the order the model made them.
    template <class... Parts>
    void Note(const Parts&... parts)
    {
        if (!tracing)
            return;
        std::ostringstream line;
        (line << ... << parts);
        trace += line.str();
        trace += '\n';
    }
    bool tracing = false;
    std::string trace;

    int charWidth = 8;
    ClientSize client{320, 160};
    bool focus = true;
    bool capture = false;
    std::vector<std::pair<Rect, bool>> invalidated;
    int updates = 0;
    std::vector<std::pair<int, int>> scrolls;
    std::deque<unsigned> posted;
    std::vector<int> notifications;
    std::vector<std::pair<int, int>> forwarded;
    int marginInvalidations = 0;
    std::vector<int> marginLines;
    bool caretCreated = false, caretVisible = false;
    std::pair<int, int> caretSize{0, 0}, caretAt{0, 0};
    ScrollInfo vbar, hbar;
    bool clipboardOpens = true, clipboardOpen = false, hasClipboardText = false;
    std::string clipboard;
    std::vector<PosEvent> positions;
    std::vector<bool> modifiedEvents;
};

// Character width 8, line height 16, left margin 4, tab size 4; a client of 40
// columns and 10 lines. Colour of class c is 0x100 + c.
struct EditorFixture {
    SettingsBlock settings;
    FakeWindow win;
    EditorModel model;

    static SettingsBlock& Configure(SettingsBlock& s)
    {
        for (int c = 0; c < ColorClassCount; ++c)
            s.SetColor(c, 0x100 + c);
        s.SetMinX(4);
        s.SetTabSize(4);
        s.SetLineDistance(0);
        s.SetMetrics(8, 16, 0);
        return s;
    }

    EditorFixture() : model(Configure(settings), win.Ports()) {}

    std::vector<std::string> Lines() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < model.GetLineCount(); ++i)
            out.push_back(model.GetLine(i));
        return out;
    }
    std::pair<int, int> Caret() const { return {model.CaretColumn(), model.CaretLine()}; }
    std::pair<int, int> Anchor() const { return {model.AnchorColumn(), model.AnchorLine()}; }

    void Type(const std::string& bytes)
    {
        for (unsigned char c : bytes)
            model.OnChar(c);
    }
    // A key press, then what the window posted in the meantime.
    void Key(int key, int modifiers = ModNone)
    {
        model.OnKeyDown(key, modifiers);
        while (!win.posted.empty()) {
            unsigned ch = win.posted.front();
            win.posted.pop_front();
            model.OnChar(ch);
        }
    }
    // Loads a text and forgets the events of loading.
    void Load(const std::string& text)
    {
        model.SetText(text);
        model.SetModified(false);
        win.positions.clear();
        win.modifiedEvents.clear();
    }
    // Pixel point of a position (fixed-width font, no scrolling).
    int X(int column) const { return 4 + column * 8; }
    int Y(int line) const { return line * 16 + 3; }
};

} // namespace quvpad::test
