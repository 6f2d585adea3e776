// The break-point margin beside the editor: a dithered strip for every visible
// line and a circle for each line with a break point. It takes no input.
#pragma once
#include <wx/window.h>

namespace quvpad {

class ColorEditWnd;

class BreakPointWnd : public wxWindow {
public:
    BreakPointWnd(wxWindow* parent, const wxRect& rect);

    // Links the editor whose break points, first visible line and line height
    // the margin shows; null unlinks it. An unlinked margin paints nothing.
    void SetEditor(ColorEditWnd* editor);
    // Marks the whole margin for repainting; cheap when it is marked already,
    // as loading a text marks it once for every line.
    void InvalidateAll();
    // Repaints the strip of one line now.
    void DrawBreakPoints(int line);
    // Paints the whole margin into a device context of the client's size.
    void Draw(wxDC& dc);

private:
    void DrawStrip(wxDC& dc, int line, const wxBitmap& strip);
    void OnPaint(wxPaintEvent& event);
    void OnSize(wxSizeEvent& event);

    int height_ = 0;   // client height less a horizontal scroll bar
    int width_ = 0;
    ColorEditWnd* editor_ = nullptr;
    bool repaintPending_ = false;
};

} // namespace quvpad
