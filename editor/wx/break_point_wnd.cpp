#include "editor/wx/break_point_wnd.hpp"

#include <algorithm>

#include <wx/bitmap.h>
#include <wx/dcbuffer.h>
#include <wx/image.h>
#include <wx/settings.h>

#include "editor/wx/color_edit_wnd.hpp"
#include "editor/wx/editor_font.hpp"

namespace quvpad {

namespace {
// A checker of the break-point background and white: background where x + y
// is even, counting y from `parity`.
wxBitmap Checker(int width, int height, int parity, const wxColour& back)
{
    wxImage image(std::max(width, 1), std::max(height, 1));
    for (int y = 0; y < image.GetHeight(); ++y)
        for (int x = 0; x < image.GetWidth(); ++x) {
            bool even = (x + y + parity) % 2 == 0;
            if (even)
                image.SetRGB(x, y, back.Red(), back.Green(), back.Blue());
            else
                image.SetRGB(x, y, 255, 255, 255);
        }
    return wxBitmap(image);
}
} // namespace

BreakPointWnd::BreakPointWnd(wxWindow* parent, const wxRect& rect)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    wxWindow::Create(parent, wxID_ANY, rect.GetPosition(), rect.GetSize(), wxBORDER_NONE);
    Bind(wxEVT_PAINT, &BreakPointWnd::OnPaint, this);
    Bind(wxEVT_SIZE, &BreakPointWnd::OnSize, this);
    wxSize s = GetClientSize();
    width_ = s.x;
    height_ = s.y - wxSystemSettings::GetMetric(wxSYS_HSCROLL_Y, this);
}

void BreakPointWnd::SetEditor(ColorEditWnd* editor)
{
    editor_ = editor;
}

void BreakPointWnd::OnSize(wxSizeEvent& event)
{
    width_ = event.GetSize().x;
    height_ = event.GetSize().y - wxSystemSettings::GetMetric(wxSYS_HSCROLL_Y, this);
    event.Skip();
}

void BreakPointWnd::DrawStrip(wxDC& dc, int line, const wxBitmap& strip)
{
    const EditorModel& model = editor_->Model();
    const SettingsBlock& block = SettingsBlock::Shared();
    int lineHeight = block.LineHeight();
    int y0 = (line - model.GetFirstVisibleLine()) * lineHeight;
    dc.DrawBitmap(strip, 0, y0);

    // The flags of the lines in view only: a text of a million lines is not
    // walked for the few the margin shows.
    const ColorTextBuffer& text = model.Document().Text();
    int last = std::min(height_ / lineHeight + model.GetFirstVisibleLine(), text.GetLineCount() - 1);
    if (line < 0 || line > last || !text.IsBreakPoint(line))
        return;
    wxColour fore = ColourFromRef(block.Color(ClassBreakPointText));
    int d = std::min(width_, lineHeight);
    int e = d - 4;
    if (e <= 0)
        return;
    dc.SetPen(wxPen(fore));
    dc.SetBrush(wxBrush(fore));
    dc.DrawEllipse((width_ - e) / 2, y0 + (lineHeight - e) / 2, e, e);
}

void BreakPointWnd::Draw(wxDC& dc)
{
    if (!editor_)
        return;
    const SettingsBlock& block = SettingsBlock::Shared();
    int lineHeight = block.LineHeight();
    wxColour back = ColourFromRef(block.Color(ClassBreakPointBack));
    wxBitmap strip = Checker(width_, lineHeight, 0, back);
    int first = editor_->Model().GetFirstVisibleLine();
    int lastDrawn = first + height_ / lineHeight;
    for (int line = first; line <= lastDrawn; ++line)
        DrawStrip(dc, line, strip);
    int below = (lastDrawn - first + 1) * lineHeight;
    int bottom = GetClientSize().y;
    if (bottom > below)
        dc.DrawBitmap(Checker(width_, bottom - below, below, back), 0, below);
}

void BreakPointWnd::InvalidateAll()
{
    if (repaintPending_)
        return;
    repaintPending_ = true;
    Refresh(false);
}

void BreakPointWnd::DrawBreakPoints(int line)
{
    if (!editor_)
        return;
    int lineHeight = SettingsBlock::Shared().LineHeight();
    int y0 = (line - editor_->Model().GetFirstVisibleLine()) * lineHeight;
    RefreshRect(wxRect(0, y0, std::max(width_, 1), lineHeight), false);
    Update();
}

void BreakPointWnd::OnPaint(wxPaintEvent&)
{
    repaintPending_ = false;
    wxAutoBufferedPaintDC dc(this);
    if (!editor_) {
        dc.SetBackground(GetBackgroundColour());
        dc.Clear();
        return;
    }
    Draw(dc);
}

} // namespace quvpad
