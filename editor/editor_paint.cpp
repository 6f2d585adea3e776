// Painting reduced to a layout of cells, and what is painted again when.
// Characters are measured one by one with the font, while horizontal scrolling
// moves in whole character widths; with a proportional font the two differ and
// the cells follow the font.
#include <algorithm>

#include "editor/editor_model.hpp"
#include "editor/text_columns.hpp"

namespace quvpad {

LineLayout EditorModel::LayoutLine(int line) const
{
    LineLayout out;
    out.line = line;
    out.top = (line - firstLine_) * LineHeight();
    out.caretLine = line == caretLine_;
    out.lineBackColor = settings_.Color(out.caretLine ? ClassCurrentLine : ClassBackground);
    const std::string& text = document_.GetLine(line);
    const std::vector<uint32_t>& colors = document_.Text().GetLineColors(line);
    int offset = firstColumn_ * CharWidth();
    int start = ColumnFromX(offset, text);
    int x = XFromColumn(start, text) - offset + settings_.MinX();
    int n = static_cast<int>(text.size());
    for (int i = start; i < n; i += CharLength(text, i)) {
        Cell cell;
        cell.bytes = text.substr(i, CharLength(text, i));
        cell.x = x;
        cell.width = TextWidth(cell.bytes);
        if (IsInSelection(i, line)) {
            cell.textColor = settings_.Color(ClassSelectionText);
            cell.backColor = settings_.Color(ClassSelectionBack);
        } else {
            // A line the lazy colouring has not reached yet is drawn as plain text.
            cell.textColor = i < static_cast<int>(colors.size()) ? colors[i] : settings_.Color(ClassIdentifier);
            cell.backColor = out.lineBackColor;
        }
        x += cell.width;
        out.cells.push_back(std::move(cell));
    }
    return out;
}

std::vector<LineLayout> EditorModel::LayoutView() const
{
    return LayoutView(0, ports_.view.GetClientSize().height);
}

std::vector<LineLayout> EditorModel::LayoutView(int top, int bottom) const
{
    std::vector<LineLayout> out;
    int end = std::min(GetLastVisibleLine() + 1, GetLineCount());
    top = std::max(top, 0);
    bottom = std::min(bottom, ports_.view.GetClientSize().height);
    // Lines above the area are skipped without a look at them.
    int first = std::max({firstLine_, 0, firstLine_ + top / LineHeight()});
    for (int line = first; line < end; ++line) {
        int y = (line - firstLine_) * LineHeight();
        if (y >= bottom)
            break;
        if (y + LineHeight() > top)
            out.push_back(LayoutLine(line));
    }
    return out;
}

// ---- repainting ----

// The visible-range refresh: colour what the view shows, and report the last
// line that colouring reached.
int EditorModel::ColorVisibleRange()
{
    return document_.ColorUpTo(firstLine_, std::min(GetLastVisibleLine() + 1, GetLineCount()));
}

void EditorModel::InvalidateExtended(Rect rect, bool erase)
{
    int last = ColorVisibleRange();
    rect.bottom = std::max(rect.bottom, (last - firstLine_ + 1) * LineHeight());
    ports_.view.Invalidate(rect, erase);
}

void EditorModel::RefreshAll()
{
    ColorVisibleRange();
    ports_.view.InvalidateMargin(true);
    ports_.view.InvalidateAll(false);
}

Rect EditorModel::CaretLineGrown() const
{
    Rect r = GetLineRect(caretLine_);
    r.top -= 4;
    r.bottom += 4;
    return r;
}

void EditorModel::RecolorAll()
{
    document_.RecolorAll();
    ColorVisibleRange();
    ports_.view.InvalidateMargin(true);
    ports_.view.InvalidateAll(true);
}

void EditorModel::RedrawBreakPoint(int line)
{
    ports_.view.RedrawMarginLine(line);
}

} // namespace quvpad
