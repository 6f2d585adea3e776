// A wx frame hosting one QuvPad control, with the events it fired, a settings
// block, synthetic input and screenshots.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include <wx/bitmap.h>
#include <wx/frame.h>
#include <wx/image.h>

#include "editor/wx/color_edit_wnd.hpp"
#include "editor/wx/quvpad.hpp"
#include "editor/wx/quvpad_ctrl.hpp"
#include "tool_run.hpp"   // TempFolder

namespace quvpad::test {

struct Pos {
    int caretLine, caretColumn, anchorLine, anchorColumn;
    bool operator==(const Pos& o) const
    {
        return caretLine == o.caretLine && caretColumn == o.caretColumn && anchorLine == o.anchorLine &&
               anchorColumn == o.anchorColumn;
    }
};

struct EventLog : DQuvPadEvents {
    void ModifiedChanged(bool m) override { modified.push_back(m); }
    void PosChanged(int cl, int cc, int al, int ac) override { positions.push_back({cl, cc, al, ac}); }
    void Clear()
    {
        modified.clear();
        positions.clear();
    }
    std::vector<bool> modified;
    std::vector<Pos> positions;
};

// Colours of the test block, as COLORREF (0x00BBGGRR).
namespace colour {
constexpr uint32_t CurrentLine = 0x00C0FFFF;   // light yellow
constexpr uint32_t Keyword = 0x00C00000;       // blue
constexpr uint32_t Identifier = 0x00000000;    // black
constexpr uint32_t Comment = 0x00008000;       // green
constexpr uint32_t Background = 0x00FFFFFF;    // white
constexpr uint32_t SelectionBack = 0x00800000; // navy
constexpr uint32_t SelectionText = 0x00FFFFFF;
constexpr uint32_t BreakBack = 0x00C0C0C0;     // grey
constexpr uint32_t BreakFore = 0x000000FF;     // red
} // namespace colour

// The host's 136 bytes: a monospaced font, distinct colours, MinX 4, tab 4,
// line distance 2.
std::vector<uint8_t> TestBlock(int fontHeight = -14, const char* face = "DejaVu Sans Mono");

// wx colour of a COLORREF, for pixel probes.
bool SameColour(const wxImage& image, int x, int y, uint32_t colorRef);
std::string ColourAt(const wxImage& image, int x, int y);

class Host {
public:
    explicit Host(int width = 520, int height = 300, bool createEditor = true);
    ~Host();

    CQuvPadCtrl& Ctrl() { return *ctrl_; }
    DQuvPad& Pad() { return *ctrl_; }
    ColorEditWnd& Editor() { return *ctrl_->Editor(); }
    EditorModel& Model() { return ctrl_->Editor()->Model(); }
    EventLog& Log() { return log_; }
    wxFrame& Frame() { return *frame_; }

    // Lets wx deliver what is queued and paint what is invalid.
    static void Pump(int rounds = 4);
    // Pumps until `done` holds or 400 rounds have passed: input from the X
    // server arrives when it arrives, later on a loaded machine.
    template <typename F>
    static bool PumpUntil(F done)
    {
        for (int i = 0; i < 400 && !done(); ++i)
            Pump(1);
        return done();
    }
    void Focus();

    // A key press as wx delivers it: key down, then the character unless the
    // key-down handler consumed it.
    void Key(int keyCode, int modifiers = 0, wxChar ch = 0);
    void Type(const wxString& text);
    void Click(int x, int y, int modifiers = 0);
    void Drag(int x0, int y0, int x1, int y1);
    void DoubleClick(int x, int y);
    void Wheel(int rotation);
    void Scroll(wxEventType type, int orientation, int position = 0);

    // Client point of a position in the editor (fixed-width font, no scroll).
    wxPoint PointOf(int column, int line) const;
    int CharWidth() const;
    int LineHeight() const;

    // What the screen shows of the control, read back from the X server; only
    // what the control invalidated itself has been repainted.
    wxImage Screenshot();
    // Saves an image as build/screenshots/<name>.png and returns the path.
    static std::string Save(const wxImage& image, const std::string& name);

private:
    wxFrame* frame_;
    CQuvPadCtrl* ctrl_;
    EventLog log_;
};

std::wstring Wide(const std::string& utf8);
std::string ClipboardText();   // UTF-8
void SetClipboardText(const std::string& utf8);
std::string WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);

} // namespace quvpad::test
