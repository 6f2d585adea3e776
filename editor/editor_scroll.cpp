// Scroll positions and bars, the wheel, and keeping the caret in view.
#include <algorithm>
#include <cstdlib>

#include "editor/editor_model.hpp"

namespace quvpad {

namespace {
// Windows' MulDiv(a, 1, c): the quotient rounded half away from zero.
int RoundedDiv(int a, int c)
{
    long long q = (std::llabs(static_cast<long long>(a)) * 2 + std::llabs(static_cast<long long>(c))) /
                  (2 * std::llabs(static_cast<long long>(c)));
    return static_cast<int>((a < 0) != (c < 0) ? -q : q);
}
} // namespace

void EditorModel::OnSize()
{
    UpdateScrollBars();
    ColorVisibleRange();
}

void EditorModel::UpdateScrollBars()
{
    if (actions_ > 0)
        owed_.scrollBars = true;
    else
        SetScrollBars();
}

void EditorModel::SetScrollBars()
{
    ScrollInfo v;
    int visible = GetVisibleLines(false);
    v.max = GetLineCount() > visible ? GetLineCount() - 1 : 0;
    v.page = visible;
    v.pos = firstLine_;
    ports_.scrollBars.SetScrollInfo(ScrollBar::Vertical, v);

    ScrollInfo h;
    int columns = GetVisibleColumns();
    h.max = document_.Text().MaxLineLength() > columns ? document_.Text().MaxLineLength() - 1 : 0;
    h.page = columns;
    h.pos = firstColumn_;
    ports_.scrollBars.SetScrollInfo(ScrollBar::Horizontal, h);
}

void EditorModel::ViewMoved(ScrollBar bar)
{
    if (actions_ > 0) {
        owed_.viewMoved = true;
        return;
    }
    ports_.scrollBars.SetScrollPos(bar, bar == ScrollBar::Vertical ? firstLine_ : firstColumn_);
    ColorVisibleRange();
    ports_.view.InvalidateMargin(true);
    ports_.view.InvalidateAll(true);
}

void EditorModel::SetFirstLine(int line)
{
    firstLine_ = std::clamp(line, 0, GetLineCount() - 1);
    ViewMoved(ScrollBar::Vertical);
}

void EditorModel::KeepWindowFilled()
{
    const int whole = ports_.view.GetClientSize().height / LineHeight();
    const int last = std::max(0, GetLineCount() - whole);
    if (firstLine_ <= last)
        return;
    firstLine_ = last;
    ViewMoved(ScrollBar::Vertical);
}

void EditorModel::EnsureLineVisible(int line)
{
    int whole = ports_.view.GetClientSize().height / LineHeight();
    if (firstLine_ <= line && line < firstLine_ + whole)
        return;
    SetFirstLine(line);
}

void EditorModel::EnsureCaretVisible()
{
    int last = GetLastVisibleLine();
    // The window scrolls down when the text is taller than it, also by just
    // one line (else Ctrl+End leaves the caret below the window). A window
    // lower than one line has no whole line to bring the caret into: a
    // one-line text stays where it is rather than scroll out of sight.
    const int visible = GetVisibleLines(false);
    const int lines = GetLineCount();
    const bool taller = visible < lines - 1 || (visible > 0 && visible == lines - 1);
    bool moved = false;
    if (caretLine_ > last - 1 && taller) {
        firstLine_ = std::max(0, firstLine_ + (caretLine_ - (last - 1)));
        moved = true;
    } else if (caretLine_ < firstLine_) {
        firstLine_ = caretLine_;
        moved = true;
    }
    if (moved)
        ViewMoved(ScrollBar::Vertical);

    int x = XFromColumnOnLine(caretColumn_, caretLine_);
    int w = ports_.view.GetClientSize().width;
    int cw = CharWidth();
    int left = firstColumn_ * cw;
    moved = false;
    if (x > left + w) {
        firstColumn_ = (x - (3 * w) / 4) / cw;
        moved = true;
    } else if (x < left) {
        firstColumn_ = std::max(0, (x - w / 4) / cw);
        moved = true;
    }
    if (moved)
        ViewMoved(ScrollBar::Horizontal);
}

void EditorModel::OnVScroll(int code, int position)
{
    UpdateCaret(false);
    int v = GetVisibleLines(false);
    int lh = LineHeight();
    switch (code) {
    case ScrollLineUp:
        if (firstLine_ >= 1) {
            --firstLine_;
            ports_.view.ScrollPixels(0, lh);
            InvalidateExtended(GetLineRect(firstLine_), true);
        }
        break;
    case ScrollLineDown:
        if (firstLine_ < GetLineCount() - v) {
            ++firstLine_;
            ports_.view.ScrollPixels(0, -lh);
            int last = GetLastVisibleLine();
            InvalidateExtended(GetLinesRect(last - 1, last), true);
        }
        break;
    case ScrollPageUp:
        firstLine_ = std::max(0, firstLine_ - (3 * v) / 4);
        RefreshAll();
        break;
    case ScrollPageDown:
        firstLine_ += (3 * v) / 4;
        RefreshAll();
        break;
    case ScrollThumbPosition:
    case ScrollThumbTrack:
        if (position != firstLine_) {
            int old = firstLine_;
            firstLine_ = std::min(position, GetLineCount());
            int d = firstLine_ - old;
            ports_.view.ScrollPixels(0, -d * lh);
            int last = GetLastVisibleLine();
            InvalidateExtended(d < 1 ? GetLinesRect(firstLine_, old) : GetLinesRect(last - d - 1, last), true);
        }
        break;
    case ScrollTop:
        firstLine_ = 0;
        RefreshAll();
        break;
    case ScrollBottom:
        firstLine_ = std::max(0, GetLineCount() - v);
        RefreshAll();
        break;
    default:
        break;
    }
    PaintNow();
    ports_.scrollBars.SetScrollPos(ScrollBar::Vertical, firstLine_);
    UpdateCaret(true);
}

void EditorModel::OnHScroll(int code, int position)
{
    UpdateCaret(false);
    ClientSize client = ports_.view.GetClientSize();
    int cw = CharWidth();
    int page = client.width / cw;
    int minX = settings_.MinX();
    int maxFirst = document_.Text().MaxLineLength() - GetVisibleColumns();
    switch (code) {
    case ScrollLineUp:
        if (firstColumn_ >= 1) {
            --firstColumn_;
            ports_.view.ScrollPixels(cw, 0);
            InvalidateExtended({0, 0, minX + cw, client.height}, true);
        }
        break;
    case ScrollLineDown:
        if (firstColumn_ < maxFirst) {
            ++firstColumn_;
            ports_.view.ScrollPixels(-cw, 0);
            ports_.view.Invalidate({client.width - cw, 0, client.width, client.height}, true);
        }
        break;
    case ScrollPageUp:
        firstColumn_ = std::max(0, firstColumn_ - (3 * page) / 4);
        RefreshAll();
        break;
    case ScrollPageDown:
        firstColumn_ += (3 * page) / 4;
        RefreshAll();
        break;
    case ScrollThumbPosition:
    case ScrollThumbTrack:
        if (position != firstColumn_) {
            int old = firstColumn_;
            firstColumn_ = std::max(0, std::min(position, maxFirst));
            int d = firstColumn_ - old;
            ports_.view.ScrollPixels(-d * cw, 0);
            if (d < 1)
                InvalidateExtended({0, 0, minX - d * cw, client.height}, true);
            else
                ports_.view.Invalidate({client.width - d * cw, 0, client.width, client.height}, true);
        }
        break;
    case ScrollTop:
        firstColumn_ = 0;
        RefreshAll();
        break;
    case ScrollBottom:
        RefreshAll();   // the column stays where it is
        break;
    default:
        break;
    }
    PaintNow();
    ports_.scrollBars.SetScrollPos(ScrollBar::Horizontal, firstColumn_);
    UpdateCaret(true);
}

void EditorModel::OnMouseWheel(int modifiers, int delta)
{
    if (modifiers & (ModShift | ModControl))
        return;
    bool vertical = ports_.scrollBars.HasScrollBar(ScrollBar::Vertical);
    if (vertical || ports_.scrollBars.HasScrollBar(ScrollBar::Horizontal))
        UpdateCaret(false);
    if (vertical) {
        int n = RoundedDiv(-delta, 120);
        int step = n == -1 ? (delta > 0 ? -5 : 5) : std::min(5 * n, 5);
        int old = firstLine_;
        int visible = GetVisibleLines(false);
        int first = std::max(0, firstLine_ + step);
        if (first >= GetLineCount() - visible)
            first = GetLineCount() - visible;
        firstLine_ = first;
        if (firstLine_ != old) {
            ports_.scrollBars.SetScrollPos(ScrollBar::Vertical, firstLine_);
            ColorVisibleRange();
            ports_.view.InvalidateMargin(true);
            ports_.view.InvalidateAll(false);
        }
    }
    UpdateCaret(true);
}

} // namespace quvpad
