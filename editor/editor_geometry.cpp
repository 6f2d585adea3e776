// Where lines and columns lie in the window, and text measured in its font.
#include <algorithm>

#include "editor/editor_model.hpp"
#include "editor/text_columns.hpp"

namespace quvpad {

int EditorModel::GetVisibleLines(bool wholeLines) const
{
    int n = ports_.view.GetClientSize().height / LineHeight();
    return wholeLines ? n : std::min(n, GetLineCount());
}

int EditorModel::GetVisibleColumns() const
{
    return ports_.view.GetClientSize().width / CharWidth() - 1;
}

int EditorModel::GetLastVisibleLine() const
{
    return std::min(firstLine_ + GetVisibleLines(false), GetLineCount());
}

Rect EditorModel::GetLineRect(int line) const
{
    Rect r;
    r.left = 0;
    r.right = ports_.view.GetClientSize().width;
    r.top = (line - firstLine_) * LineHeight();
    r.bottom = r.top + LineHeight();
    return r;
}

Rect EditorModel::GetLinesRect(int line1, int line2) const
{
    Rect r = GetLineRect(std::min(line1, line2));
    r.bottom = GetLineRect(std::max(line1, line2)).bottom;
    return r;
}

// ---- measuring text ----

int EditorModel::TextWidth(const std::string& text) const
{
    return ports_.measurer.TextWidth(text.data(), text.size());
}

// Widths add up character by character (painting places the characters one
// by one), so the walk keeps a running width instead of measuring every prefix.
int EditorModel::ColumnFromX(int x, const std::string& text) const
{
    if (x <= 0)
        return 0;
    int n = static_cast<int>(text.size());
    int width = 0;
    for (int start = 0; start < n;) {
        int length = std::max(1, CharLength(text, start));
        length = std::min(length, n - start);
        width += ports_.measurer.TextWidth(text.data() + start, static_cast<size_t>(length));
        if (width > x)
            return start;
        start += length;
    }
    return n;
}

int EditorModel::XFromColumn(int column, const std::string& text) const
{
    size_t n = static_cast<size_t>(std::clamp(column, 0, static_cast<int>(text.size())));
    return ports_.measurer.TextWidth(text.data(), n);
}

int EditorModel::ColumnFromXOnLine(int x, int line) const
{
    return ColumnFromX(x, document_.LineOrEmpty(line));
}

int EditorModel::XFromColumnOnLine(int column, int line) const
{
    return XFromColumn(column, document_.LineOrEmpty(line));
}

} // namespace quvpad
