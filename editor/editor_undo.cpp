// Undo and redo by replaying line records, and the edit commands with the rules
// that enable them.
#include <algorithm>

#include "editor/editor_model.hpp"

namespace quvpad {

void EditorModel::BeginEditStep()
{
    stepCaretColumn_ = caretColumn_;
    stepCaretLine_ = caretLine_;
    stepAnchorColumn_ = anchorColumn_;
    stepAnchorLine_ = anchorLine_;
    pending_.Clear();
    redo_.clear();
}

void EditorModel::EndEditStep()
{
    SnapToCharacterStarts();
    CommitUndoGroup();
    SetModified(true);
}

void EditorModel::CommitUndoGroup()
{
    if (!pending_.Empty())
        undo_.push_back(pending_);
    pending_.Clear();
}

// With nothing to undo or redo the text is unchanged, so the modified flag is
// left alone.
void EditorModel::Undo()
{
    if (undo_.empty())
        return;
    ReplayGroup(undo_, redo_);
    SnapToCharacterStarts();
    SetModified(true);
}

void EditorModel::Redo()
{
    if (redo_.empty())
        return;
    ReplayGroup(redo_, undo_);
    SnapToCharacterStarts();
    SetModified(true);
}

void EditorModel::SetModified(bool modified)
{
    if (modified_ == modified)
        return;
    modified_ = modified;
    ports_.events.ModifiedChanged(modified);
}

// Applies the last group of `source` backwards and pushes its inverse onto
// `target`. Ops come back last-first and the inverse is filled in that order,
// so replaying the inverse later restores the order of the first edits.
void EditorModel::ReplayGroup(std::deque<UndoGroup>& source, std::deque<UndoGroup>& target)
{
    if (source.empty())
        return;
    UndoGroup group = source.back();
    source.pop_back();
    UpdateCaret(false);
    UndoGroup inverse;
    Rect area = GetLineRect(group.Ops().empty() ? firstLine_ : group.Ops().back().line);
    // The selection the replay replaces goes from the screen too.
    const Rect selection = GetLinesRect(anchorLine_, caretLine_);
    area.top = std::min(area.top, selection.top);
    area.bottom = std::max(area.bottom, selection.bottom);
    EditOp op;
    while (group.PopOp(op)) {
        Rect r = GetLineRect(op.line);
        area.top = std::min(area.top, r.top);
        area.bottom = std::max(area.bottom, r.bottom);
        EnsureLineVisible(op.line);
        EditOp back{std::string(), op.kind, op.line, caretColumn_, caretLine_, anchorColumn_, anchorLine_};
        switch (op.kind) {
        case OpInsertLine:
            back.kind = OpDeleteLine;
            back.text = LineOrEmpty(op.line);
            DeleteLine(op.line, true);
            break;
        case OpDeleteLine:
            back.kind = OpInsertLine;
            InsertLine(op.text, std::clamp(op.line, 0, GetLineCount()), true, true);
            break;
        case OpReplaceLine:
            back.text = LineOrEmpty(op.line);
            if (op.line >= 0 && op.line < GetLineCount())
                SetLine(op.text, op.line, true);
            break;
        }
        // The anchor is in place before the caret is reported: the host may
        // paint at a report, and no report shows a selection from the old
        // anchor to the new caret.
        anchorColumn_ = op.anchorColumn;
        anchorLine_ = op.anchorLine;
        SetCaretPos(op.caretColumn, op.caretLine);
        SetAnchorPos(op.anchorColumn, op.anchorLine);
        inverse.PushOp(back);
    }
    target.push_back(inverse);
    // Showing each edited line may have put one at the top of the window.
    KeepWindowFilled();
    UpdateCaret(true);
    InvalidateExtended(area, true);
}

void EditorModel::SelectAll()
{
    int last = GetLineCount() - 1;
    SetAnchorPos(0, 0);
    SetCaretPos(LineLength(last), last);
    EnsureCaretVisible();
    UpdateCaret(true);
    ports_.view.InvalidateAll(false);
}

void EditorModel::ToggleBreakPointAtCaret()
{
    if (caretLine_ < 0 || caretLine_ >= GetLineCount())
        return;
    text_.ToggleBreakPoint(caretLine_);
    RedrawBreakPoint(caretLine_);
}

CommandState EditorModel::QueryCommand(EditCommand command)
{
    CommandState s;
    switch (command) {
    case EditCommand::Redo: s.enabled = CanRedo(); break;
    case EditCommand::Undo: s.enabled = CanUndo(); break;
    case EditCommand::Cut:
    case EditCommand::Copy: s.enabled = HasSelection(); break;
    case EditCommand::Paste: s.enabled = ports_.clipboard.CanPaste(); break;
    case EditCommand::SelectAll: s.enabled = true; break;
    case EditCommand::BreakPoint:
        s.enabled = caretLine_ >= 0 && caretLine_ < GetLineCount();
        s.checked = s.enabled && text_.IsBreakPoint(caretLine_) != 0;
        break;
    }
    return s;
}

void EditorModel::DoCommand(EditCommand command)
{
    switch (command) {
    case EditCommand::Redo: Redo(); break;
    case EditCommand::Undo: Undo(); break;
    case EditCommand::Cut: Cut(); break;
    case EditCommand::Copy: Copy(); break;
    case EditCommand::Paste: Paste(); break;
    case EditCommand::SelectAll: SelectAll(); break;
    case EditCommand::BreakPoint: ToggleBreakPointAtCaret(); break;
    }
}

bool EditorModel::TranslateAccelerator(int key, int modifiers)
{
    // There is deliberately no Ctrl+V (the host's menu has it) and no F9.
    struct Accel { int key; int modifiers; EditCommand command; };
    static const Accel table[] = {
        {'Y', ModControl, EditCommand::Redo},
        {'Z', ModControl, EditCommand::Undo},
        {KeyBack, ModAlt, EditCommand::Undo},
        {'X', ModControl, EditCommand::Cut},
        {KeyDelete, ModShift, EditCommand::Cut},
        {'C', ModControl, EditCommand::Copy},
        {KeyInsert, ModShift, EditCommand::Paste},
        {'A', ModControl, EditCommand::SelectAll},
    };
    for (const Accel& a : table)
        if (a.key == key && a.modifiers == modifiers) {
            DoCommand(a.command);
            return true;
        }
    return false;
}

} // namespace quvpad
