// The caret and the anchor: setting and reporting them, the selection they
// span, and the caret the window shows.
#include <algorithm>
#include <cstdlib>

#include "editor/editor_model.hpp"

namespace quvpad {

void EditorModel::FirePosChanged()
{
    Report({true, caretLine_ + 1, caretColumn_ + 1, anchorLine_ + 1, anchorColumn_ + 1, false});
}

void EditorModel::SetCaretPos(int column, int line)
{
    caretColumn_ = column;
    caretLine_ = line;
    if (anchorFollows_) {
        anchorColumn_ = column;
        anchorLine_ = line;
    }
    FirePosChanged();
}

void EditorModel::SetCaretCol(int column)
{
    SetCaretPos(column, caretLine_);
}

void EditorModel::SetCaretLine(int line)
{
    SetCaretPos(caretColumn_, line);
}

void EditorModel::SetAnchorPos(int column, int line)
{
    anchorColumn_ = column;
    anchorLine_ = line;
    FirePosChanged();
}

void EditorModel::SetAnchorCol(int column)
{
    anchorColumn_ = column;
    FirePosChanged();
}

void EditorModel::SnapToCharacterStarts()
{
    int caret = document_.SnapColumn(caretColumn_, caretLine_);
    int anchor = document_.SnapColumn(anchorColumn_, anchorLine_);
    if (caret == caretColumn_ && anchor == anchorColumn_)
        return;
    // Both ends move before the one report, so no half-moved selection is seen.
    caretColumn_ = caret;
    anchorColumn_ = anchor;
    FirePosChanged();
    InvalidateExtended(GetLinesRect(anchorLine_, caretLine_), false);
}

void EditorModel::UpdateCaret(bool show)
{
    if (!ports_.view.HasFocus())
        return;
    if (caretLine_ >= GetLineCount()) {
        SetCaretLine(GetLineCount() - 1);
        UpdateAnchor(false);
    }
    int x = XFromColumnOnLine(caretColumn_, caretLine_) - firstColumn_ * CharWidth() - 1 + settings_.MinX();
    int y = (caretLine_ - firstLine_) * LineHeight();
    if (show) {
        if (!caretCreated_) {
            ports_.caret.Create(2, LineHeight());
            ports_.caret.Show();
            caretCreated_ = true;
        }
    } else if (caretCreated_) {
        ports_.caret.Hide();
        ports_.caret.Destroy();
        caretCreated_ = false;
    }
    ports_.caret.SetPosition(x, y);
}

void EditorModel::UpdateAnchor(bool extend)
{
    if (!extend) {
        SetAnchorPos(caretColumn_, caretLine_);
        return;
    }
    if (!shiftHeld_)
        SetAnchorPos(caretColumn_, caretLine_);
    InvalidateExtended(GetLinesRect(anchorLine_, caretLine_), false);
}

// ---- selection ----

bool EditorModel::IsInSelection(int column, int line) const
{
    if (!HasSelection())
        return false;
    bool caretFirst = caretLine_ < anchorLine_ || (caretLine_ == anchorLine_ && caretColumn_ < anchorColumn_);
    int sc = caretFirst ? caretColumn_ : anchorColumn_, sl = caretFirst ? caretLine_ : anchorLine_;
    int ec = caretFirst ? anchorColumn_ : caretColumn_, el = caretFirst ? anchorLine_ : caretLine_;
    if (line < sl || line > el)
        return false;
    if (sl == el)
        return column >= sc && column < ec;
    if (line == sl)
        return column >= sc;
    if (line == el)
        return column < ec;
    return true;
}

std::string EditorModel::GetSelectedText() const
{
    if (!HasSelection())
        return std::string();
    bool caretFirst = caretLine_ < anchorLine_ || (caretLine_ == anchorLine_ && caretColumn_ < anchorColumn_);
    int sc = caretFirst ? caretColumn_ : anchorColumn_, sl = caretFirst ? caretLine_ : anchorLine_;
    int ec = caretFirst ? anchorColumn_ : caretColumn_, el = caretFirst ? anchorLine_ : caretLine_;
    auto part = [](const std::string& s, int from, int to) {
        from = std::clamp(from, 0, static_cast<int>(s.size()));
        to = std::clamp(to, from, static_cast<int>(s.size()));
        return s.substr(from, to - from);
    };
    std::string first = document_.LineOrEmpty(sl);
    if (sl == el)
        return part(first, sc, ec);
    std::string out = part(first, sc, static_cast<int>(first.size()));
    for (int l = sl + 1; l < el; ++l)
        out += "\r\n" + document_.LineOrEmpty(l);
    std::string last = document_.LineOrEmpty(el);
    out += "\r\n" + part(last, 0, ec);
    return out;
}

bool EditorModel::UpdateSelection()
{
    bool exists = HasSelection();
    if (exists == selectionShown_)
        return exists;
    selectionShown_ = exists;
    if (exists)
        InvalidateExtended(GetLinesRect(anchorLine_, caretLine_), false);
    else
        ports_.view.InvalidateAll(false);
    return exists;
}

void EditorModel::ClampPosition(int& column, int& line) const
{
    line = std::clamp(line, 0, GetLineCount() - 1);
    column = std::clamp(column, 0, document_.LineLength(line));
    column = document_.SnapColumn(column, line);
}

void EditorModel::SetSelection(int anchorColumn, int anchorLine, int caretColumn, int caretLine)
{
    ClampPosition(anchorColumn, anchorLine);
    ClampPosition(caretColumn, caretLine);
    SetAnchorPos(anchorColumn, anchorLine);
    SetCaretPos(caretColumn, caretLine);
    // What a caller selects (a match found, a bracket's partner) is shown:
    // the whole selection where it fits in the window, else the caret's end.
    const int whole = std::max(1, ports_.view.GetClientSize().height / LineHeight());
    const bool fits = std::abs(caretLine - anchorLine) < whole;
    const int top = fits ? std::min(caretLine, anchorLine) : caretLine;
    const int bottom = fits ? std::max(caretLine, anchorLine) : caretLine;
    if (top < firstLine_)
        SetFirstLine(top);
    else if (bottom >= firstLine_ + whole)
        SetFirstLine(bottom - whole + 1);
    EnsureCaretVisible();
    UpdateCaret(true);
    ColorVisibleRange();
    ports_.view.InvalidateMargin(true);
    ports_.view.InvalidateAll(true);
}

void EditorModel::LocatePos(int line, int column)
{
    UpdateCaret(false);
    line = std::clamp(line, 1, GetLineCount());
    column = std::clamp(column, 1, document_.LineLength(line - 1) + 1);
    SetCaretPos(document_.SnapColumn(column - 1, line - 1), line - 1);
    EnsureCaretVisible();
    SetAnchorPos(caretColumn_, caretLine_);
    ports_.view.InvalidateAll(true);
    UpdateCaret(true);
}

} // namespace quvpad
