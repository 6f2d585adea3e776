// Editing primitives. The store is only ever changed through InsertLine, SetLine
// and DeleteLine, which leave the line records undo replays.
#include <algorithm>

#include "editor/editor_model.hpp"
#include "editor/text_columns.hpp"

namespace quvpad {

EditOp EditorModel::Record(EditOpKind kind, int line, std::string text) const
{
    // A step may move the caret before its first line edit (deleting a
    // selection puts its ends in order first).
    if (pending_.Empty())
        return {std::move(text), kind, line, stepCaretColumn_, stepCaretLine_, stepAnchorColumn_, stepAnchorLine_};
    return {std::move(text), kind, line, caretColumn_, caretLine_, anchorColumn_, anchorLine_};
}

void EditorModel::InsertLine(const std::string& text, int line, bool colourNow, bool noRecord)
{
    if (!noRecord)
        pending_.PushOp(Record(OpInsertLine, line, std::string()));
    text_.InsertLine(text, line, colourNow);
    // The break points below move down with their lines.
    ports_.view.InvalidateMargin(false);
    if (colourNow)
        UpdateScrollBars();
}

void EditorModel::SetLine(const std::string& text, int line, bool noRecord, bool updateScroll)
{
    if (!noRecord)
        pending_.PushOp(Record(OpReplaceLine, line, text_.GetLine(line)));
    text_.SetLine(text, line);
    if (updateScroll)
        UpdateScrollBars();
}

void EditorModel::DeleteLine(int line, bool noRecord, bool updateScroll)
{
    if (line < 0 || line >= GetLineCount())
        return;
    if (!noRecord)
        pending_.PushOp(Record(OpDeleteLine, line, text_.GetLine(line)));
    text_.RemoveLine(line);
    KeepWindowFilled();
    ports_.view.InvalidateMargin(false);
    if (updateScroll)
        UpdateScrollBars();
}

void EditorModel::ClearText()
{
    for (int i = 0; i < GetLineCount(); ++i)
        pending_.PushOp({text_.GetLine(i), OpDeleteLine, i, caretColumn_, caretLine_, anchorColumn_, anchorLine_});
    text_.Reset();
    UpdateScrollBars();
    SetModified(true);
}

void EditorModel::InsertString(const std::string& text, bool redraw)
{
    if (text.empty())
        return;
    if (caretLine_ < GetLineCount()) {
        const std::string line = text_.GetLine(caretLine_);
        size_t at = static_cast<size_t>(std::clamp(caretColumn_, 0, static_cast<int>(line.size())));
        std::string tail = line.substr(at);
        if (!tail.empty())
            InvalidateExtended(CaretLineGrown(), true);
        SetLine(line.substr(0, at) + text + tail, caretLine_);
        SetCaretCol(static_cast<int>(at + text.size()));
        EnsureCaretVisible();
        UpdateAnchor(false);
        if (redraw)
            InvalidateExtended(CaretLineGrown(), true);
    } else {
        SetCaretLine(GetLineCount());
        InsertLine(text, caretLine_, redraw);
        InvalidateExtended(CaretLineGrown(), true);
        SetCaretCol(static_cast<int>(text.size()));
        UpdateAnchor(false);
    }
}

void EditorModel::InsertTab()
{
    InsertString(std::string(TabRun(caretColumn_), ' '), true);
}

void EditorModel::NewLine()
{
    if (caretLine_ >= GetLineCount())
        SetCaretPos(LineLength(GetLineCount() - 1), GetLineCount() - 1);
    const std::string line = text_.GetLine(caretLine_);
    size_t at = static_cast<size_t>(std::clamp(caretColumn_, 0, static_cast<int>(line.size())));
    SetLine(line.substr(0, at), caretLine_);
    SetCaretPos(0, caretLine_ + 1);
    InsertLine(line.substr(at), caretLine_, true);   // no automatic indentation
    EnsureCaretVisible();
    Rect r = GetLineRect(caretLine_ - 1);
    int last = ColorVisibleRange();
    r.bottom = std::max(ports_.view.GetClientSize().height, (last - firstLine_ + 1) * LineHeight());
    ports_.view.Invalidate(r, true);
    UpdateAnchor(false);
}

// Removes the whole character before the caret; at a line start joins the line
// to the one above.
void EditorModel::BackSpace()
{
    if (caretColumn_ <= 0 && caretLine_ <= 0)
        return;
    if (caretLine_ >= GetLineCount())
        return;
    const std::string line = text_.GetLine(caretLine_);
    int column = std::min(caretColumn_, static_cast<int>(line.size()));
    if (column > 0) {
        int start = PreviousCharStart(line, column);
        SetLine(line.substr(0, start) + line.substr(column), caretLine_);
        SetCaretCol(start);
    } else {
        SetLine(line, caretLine_);
        SetCaretCol(-1);
    }
    if (caretColumn_ < 0) {
        if (caretLine_ == 0) {
            SetCaretCol(0);
        } else {
            int p = LineLength(caretLine_ - 1);
            SetCaretPos(p, caretLine_ - 1);
            SetLine(text_.GetLine(caretLine_) + text_.GetLine(caretLine_ + 1), caretLine_);
            DeleteLine(caretLine_ + 1);
            RefreshAll();
            SetCaretCol(p);
        }
    }
    InvalidateExtended(CaretLineGrown(), true);
    UpdateAnchor(false);
    UpdateCaret(true);
}

// Removes the whole character at the caret; at a line end joins the next line.
void EditorModel::DeleteChar()
{
    if (caretLine_ < 0 || caretLine_ >= GetLineCount())
        return;
    const std::string line = text_.GetLine(caretLine_);
    int n = static_cast<int>(line.size());
    if (caretColumn_ < n) {
        int at = std::max(caretColumn_, 0);
        SetLine(line.substr(0, at) + line.substr(at + CharLength(line, at)), caretLine_);
    } else if (caretLine_ < GetLineCount() - 1) {
        SetLine(line + text_.GetLine(caretLine_ + 1), caretLine_);
        DeleteLine(caretLine_ + 1);
        RefreshAll();
    }
    UpdateAnchor(false);
    InvalidateExtended(CaretLineGrown(), true);
}

void EditorModel::DeleteSelection()
{
    if (!HasSelection())
        return;
    if (caretLine_ < anchorLine_) {
        int c = caretColumn_, l = caretLine_;
        SetCaretPos(anchorColumn_, anchorLine_);
        SetAnchorPos(c, l);
    }
    if (caretLine_ != anchorLine_) {
        while (caretLine_ > anchorLine_ + 1) {
            DeleteLine(anchorLine_ + 1);
            SetCaretLine(caretLine_ - 1);
        }
        const std::string caretText = LineOrEmpty(caretLine_);
        const std::string anchorText = LineOrEmpty(anchorLine_);
        std::string tail = caretText.substr(std::min<size_t>(std::max(caretColumn_, 0), caretText.size()));
        std::string head = anchorText.substr(0, std::min<size_t>(std::max(anchorColumn_, 0), anchorText.size()));
        SetLine(head + tail, anchorLine_);
        DeleteLine(caretLine_);
        SetCaretLine(caretLine_ - 1);
    } else {
        const std::string line = LineOrEmpty(anchorLine_);
        int n = static_cast<int>(line.size());
        int m = std::clamp(std::min(caretColumn_, anchorColumn_), 0, n);
        int big = std::clamp(std::max(caretColumn_, anchorColumn_), 0, n);
        SetCaretCol(m);
        SetAnchorCol(m);
        SetLine(line.substr(0, m) + line.substr(big), anchorLine_);
    }
    SetCaretPos(anchorColumn_, anchorLine_);
    RefreshAll();
}

void EditorModel::InsertTyped(const std::string& bytes)
{
    try {
        UpdateCaret(false);
        BeginEditStep();
        if (UpdateSelection())
            DeleteSelection();
        if (bytes == "\t")
            InsertTab();
        else if (bytes == "\r")
            NewLine();
        else
            InsertString(bytes, true);
        EndEditStep();
        if (UpdateSelection()) {
            int top = std::min(anchorLine_, caretLine_) - 1, bottom = std::max(anchorLine_, caretLine_) + 1;
            InvalidateExtended(GetLinesRect(top, bottom), true);
        }
        UpdateCaret(true);
    } catch (...) {
        // The text keeps what was already changed; the records stay pending
        // until the next edit step starts.
    }
}

void EditorModel::OnChar(unsigned ch)
{
    if (ch > 0xFF) {
        pendingLead_ = -1;
        InsertTyped(std::string{static_cast<char>(ch >> 8), static_cast<char>(ch & 0xFF)});
        return;
    }
    if (pendingLead_ >= 0) {
        int lead = pendingLead_;
        pendingLead_ = -1;
        if (IsTrailByte(static_cast<unsigned char>(ch))) {
            InsertTyped(std::string{static_cast<char>(lead), static_cast<char>(ch)});
            return;
        }
        // A lead byte without its trail byte is dropped rather than stored half.
    }
    if (IsLeadByte(static_cast<unsigned char>(ch))) {
        pendingLead_ = static_cast<int>(ch);
        return;
    }
    bool printable = ch >= 0x20 && ch != 0x7F;
    if (!printable && ch != '\r' && ch != '\t')
        return;
    InsertTyped(std::string(1, static_cast<char>(ch)));
}

} // namespace quvpad
