// The mouse: a click places the caret, a drag or a Shift+click selects, and a
// double click selects a word.
#include <algorithm>

#include "editor/editor_model.hpp"
#include "editor/flag_scope.hpp"
#include "editor/text_columns.hpp"

namespace quvpad {

namespace {
int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int CeilDiv(int a, int b) { return -FloorDiv(-a, b); }
} // namespace

void EditorModel::OnLButtonDown(int x, int y, int modifiers)
{
    shiftHeld_ = (modifiers & ModShift) != 0;
    mouseDownX_ = x - settings_.MinX();
    dragging_ = true;
    ports_.view.SetFocus();
    ports_.view.CaptureMouse();
    UpdateCaret(false);
    int oldTop = std::min(caretLine_, anchorLine_), oldBottom = std::max(caretLine_, anchorLine_);
    int line = std::clamp(y / LineHeight() + firstLine_, 0, GetLineCount() - 1);
    int column = ColumnFromXOnLine(firstColumn_ * CharWidth() + x - settings_.MinX(), line);
    {
        FlagScope follows(anchorFollows_, !shiftHeld_);
        SetCaretPos(std::min(column, document_.LineLength(line)), line);
    }
    if (!shiftHeld_) {
        UpdateAnchor(false);
        UpdateSelection();
        // The current-line background leaves the old caret line for the new
        // one, and an old selection goes.
        ports_.view.Invalidate(GetLinesRect(oldTop, oldBottom), false);
        ports_.view.Invalidate(GetLineRect(line), false);
    } else {
        ports_.view.InvalidateAll(false);
    }
    UpdateCaret(true);
}

void EditorModel::OnMouseMove(int x, int y)
{
    if (dragging_) {
        int line = std::clamp(y / LineHeight() + firstLine_, 0, GetLineCount() - 1);
        int d = x - settings_.MinX();
        int w = CharWidth();
        int column = mouseDownX_ < d ? FloorDiv(d + w, w) + firstColumn_ - 1 : CeilDiv(d - w, w) + firstColumn_;
        column = document_.SnapColumn(std::clamp(column, 0, document_.LineLength(line)), line);
        int oldColumn = caretColumn_, oldLine = caretLine_;
        SetCaretPos(column, line);
        if (column != oldColumn || line != oldLine) {
            UpdateCaret(false);
            InvalidateExtended(GetLinesRect(oldLine, line), false);
            UpdateCaret(true);
        }
    }
    ports_.view.ForwardMouseMove(x - settings_.MinX(), y);
}

void EditorModel::OnLButtonUp()
{
    dragging_ = false;
    ports_.view.ReleaseMouse();
}

// Selects the word under the point; a character that is not a letter or digit
// is selected on its own. The walk goes by characters, so a double-byte
// character is never split (and its trail byte never read as a letter); each
// step back inside the word costs one byte (see CharStartAtOrBefore).
void EditorModel::OnDoubleClick(int x, int y)
{
    dragging_ = false;
    ports_.view.SetFocus();
    UpdateCaret(false);
    InvalidateExtended(GetLinesRect(anchorLine_, caretLine_), false);
    int cw = CharWidth();
    int column = (x - settings_.MinX() + cw / 2) / cw + firstColumn_;
    int line = std::clamp(y / LineHeight() + firstLine_, 0, GetLineCount() - 1);
    const std::string& text = document_.GetLine(line);
    int length = static_cast<int>(text.size());
    column = document_.SnapColumn(std::clamp(column, 0, length), line);
    SetAnchorPos(caretColumn_, caretLine_);

    int start = 0;
    for (int i = column; i >= 0;) {
        if (i < length && !IsAsciiAlnum(text[i]) ) {
            start = i + CharLength(text, i);
            break;
        }
        if (i == 0)
            break;
        i = PreviousCharStart(text, i);
    }
    int end = column;
    while (end < length && IsAsciiAlnum(text[end]))
        ++end;

    ClampPosition(start, line);
    ClampPosition(end, line);
    SetCaretPos(start, line);
    SetAnchorPos(end, line);
    ports_.view.Invalidate(GetLineRect(line), false);
    UpdateCaret(true);
}

} // namespace quvpad
