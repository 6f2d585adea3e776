// Editing at the caret: typing, line breaks, Backspace and Delete, removing
// the selection and inserting a text. Every edit goes to the document as whole
// line edits inside an edit step, so that undo puts the step back at once.
#include <algorithm>

#include "editor/editor_model.hpp"
#include "editor/text_columns.hpp"

namespace quvpad {

void EditorModel::BeginEditStep()
{
    document_.BeginEditStep(Positions());
}

void EditorModel::EndEditStep()
{
    SnapToCharacterStarts();
    document_.CommitUndoGroup();
    document_.SetModified(true);
}

void EditorModel::InsertString(const std::string& text, bool redraw)
{
    if (text.empty())
        return;
    if (caretLine_ < GetLineCount()) {
        const std::string line = document_.GetLine(caretLine_);
        size_t at = static_cast<size_t>(std::clamp(caretColumn_, 0, static_cast<int>(line.size())));
        std::string tail = line.substr(at);
        if (!tail.empty())
            InvalidateExtended(CaretLineGrown(), true);
        document_.SetLine(line.substr(0, at) + text + tail, caretLine_, Positions());
        SetCaretCol(static_cast<int>(at + text.size()));
        EnsureCaretVisible();
        UpdateAnchor(false);
        if (redraw)
            InvalidateExtended(CaretLineGrown(), true);
    } else {
        SetCaretLine(GetLineCount());
        document_.InsertLine(text, caretLine_, redraw, Positions());
        InvalidateExtended(CaretLineGrown(), true);
        SetCaretCol(static_cast<int>(text.size()));
        UpdateAnchor(false);
    }
}

void EditorModel::InsertTab()
{
    InsertString(std::string(document_.TabRun(caretColumn_), ' '), true);
}

void EditorModel::NewLine()
{
    if (caretLine_ >= GetLineCount())
        SetCaretPos(document_.LineLength(GetLineCount() - 1), GetLineCount() - 1);
    const std::string line = document_.GetLine(caretLine_);
    size_t at = static_cast<size_t>(std::clamp(caretColumn_, 0, static_cast<int>(line.size())));
    document_.SetLine(line.substr(0, at), caretLine_, Positions());
    SetCaretPos(0, caretLine_ + 1);
    document_.InsertLine(line.substr(at), caretLine_, true, Positions());   // no automatic indentation
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
    const std::string line = document_.GetLine(caretLine_);
    int column = std::min(caretColumn_, static_cast<int>(line.size()));
    if (column > 0) {
        int start = PreviousCharStart(line, column);
        document_.SetLine(line.substr(0, start) + line.substr(column), caretLine_, Positions());
        SetCaretCol(start);
    } else {
        document_.SetLine(line, caretLine_, Positions());
        SetCaretCol(-1);
    }
    if (caretColumn_ < 0) {
        if (caretLine_ == 0) {
            SetCaretCol(0);
        } else {
            int p = document_.LineLength(caretLine_ - 1);
            SetCaretPos(p, caretLine_ - 1);
            const std::string joined = document_.GetLine(caretLine_) + document_.GetLine(caretLine_ + 1);
            document_.SetLine(joined, caretLine_, Positions());
            document_.DeleteLine(caretLine_ + 1, Positions());
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
    const std::string line = document_.GetLine(caretLine_);
    int n = static_cast<int>(line.size());
    if (caretColumn_ < n) {
        int at = std::max(caretColumn_, 0);
        document_.SetLine(line.substr(0, at) + line.substr(at + CharLength(line, at)), caretLine_, Positions());
    } else if (caretLine_ < GetLineCount() - 1) {
        document_.SetLine(line + document_.GetLine(caretLine_ + 1), caretLine_, Positions());
        document_.DeleteLine(caretLine_ + 1, Positions());
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
            document_.DeleteLine(anchorLine_ + 1, Positions());
            SetCaretLine(caretLine_ - 1);
        }
        const std::string caretText = document_.LineOrEmpty(caretLine_);
        const std::string anchorText = document_.LineOrEmpty(anchorLine_);
        std::string tail = caretText.substr(std::min<size_t>(std::max(caretColumn_, 0), caretText.size()));
        std::string head = anchorText.substr(0, std::min<size_t>(std::max(anchorColumn_, 0), anchorText.size()));
        document_.SetLine(head + tail, anchorLine_, Positions());
        document_.DeleteLine(caretLine_, Positions());
        SetCaretLine(caretLine_ - 1);
    } else {
        const std::string line = document_.LineOrEmpty(anchorLine_);
        int n = static_cast<int>(line.size());
        int m = std::clamp(std::min(caretColumn_, anchorColumn_), 0, n);
        int big = std::clamp(std::max(caretColumn_, anchorColumn_), 0, n);
        SetCaretCol(m);
        SetAnchorCol(m);
        document_.SetLine(line.substr(0, m) + line.substr(big), anchorLine_, Positions());
    }
    SetCaretPos(anchorColumn_, anchorLine_);
    RefreshAll();
}

void EditorModel::InsertTyped(const std::string& bytes)
{
    Action action(*this);
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

void EditorModel::InsertText(const std::string& text)
{
    if (UpdateSelection())
        DeleteSelection();
    std::string pending, tail;
    int column = caretColumn_;
    bool broken = false;
    for (char c : text) {
        if (c == '\n') {
            if (!broken && caretLine_ < GetLineCount()) {
                const std::string line = document_.GetLine(caretLine_);
                size_t at = std::min<size_t>(std::max(caretColumn_, 0), line.size());
                tail = line.substr(at);
                document_.SetLine(line.substr(0, at) + pending, caretLine_, Positions());
            } else {
                document_.InsertLine(pending, std::min(caretLine_, GetLineCount()), false, Positions());
            }
            pending.clear();
            SetCaretPos(0, caretLine_ + 1);
            broken = true;
            column = 0;
        } else if (c == '\r') {
            continue;
        } else {
            if (c == '\t') {
                // A tab becomes the spaces up to its stop.
                const int run = document_.TabRun(column);
                pending.append(run, ' ');
                column += run;
            } else {
                pending += c;
                ++column;
            }
        }
    }
    if (broken) {
        // The line after the last line end is inserted even when it is empty,
        // so a pasted line end at the end of a line is kept.
        document_.InsertLine(pending + tail, std::min(caretLine_, GetLineCount()), false, Positions());
        SetCaretCol(static_cast<int>((pending + tail).size()));
    } else if (!pending.empty()) {
        if (caretLine_ < GetLineCount()) {
            const std::string line = document_.GetLine(caretLine_);
            size_t at = std::min<size_t>(std::max(caretColumn_, 0), line.size());
            document_.SetLine(line.substr(0, at) + pending + line.substr(at), caretLine_, Positions());
            SetCaretCol(static_cast<int>(at + pending.size()));
        } else {
            document_.InsertLine(pending, GetLineCount(), true, Positions());
            SetCaretCol(static_cast<int>(pending.size()));
        }
    }
    UpdateAnchor(false);
    document_.RecolorStale();
    UpdateScrollBars();
    ColorVisibleRange();
    ports_.view.InvalidateMargin(true);
    ports_.view.InvalidateAll(false);
    UpdateCaret(true);
}

void EditorModel::ReplaceSelection(const std::string& text)
{
    Action action(*this);
    BeginEditStep();
    InsertText(text);
    EndEditStep();
}

} // namespace quvpad
