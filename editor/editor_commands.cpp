// The edit commands and their accelerators: undo and redo, the clipboard,
// select all and the break point at the caret, with the rules that enable them.
#include <algorithm>

#include "editor/editor_model.hpp"

namespace quvpad {

namespace {
// The band of lines from the higher top to the lower bottom of the two.
Rect Spanning(Rect a, const Rect& b)
{
    a.top = std::min(a.top, b.top);
    a.bottom = std::max(a.bottom, b.bottom);
    return a;
}
} // namespace

// With nothing to undo or redo the text is unchanged, so the modified flag is
// left alone.
void EditorModel::Undo()
{
    Action action(*this);
    if (!document_.CanUndo())
        return;
    Replay(true);
    SnapToCharacterStarts();
    document_.SetModified(true);
}

void EditorModel::Redo()
{
    Action action(*this);
    if (!document_.CanRedo())
        return;
    Replay(false);
    SnapToCharacterStarts();
    document_.SetModified(true);
}

// Shows each line before it is put back, and gathers the area to repaint
// after: the lines as they stood in the window when they were put back, and
// below a line that came or went every line, as they all moved.
class EditorModel::ReplayView : public ReplayPositions {
public:
    ReplayView(EditorModel& view, Rect area) : view_(view), area_(area) {}
    const Rect& Area() const { return area_; }

    CaretAndAnchor BeforeReplay(const EditOp& op) override
    {
        Rect r = view_.GetLineRect(op.line);
        if (op.kind != OpReplaceLine)
            r.bottom = std::max(r.bottom, view_.ports_.view.GetClientSize().height);
        area_ = Spanning(area_, r);
        view_.EnsureLineVisible(op.line);
        return view_.Positions();
    }
    void AfterReplay(const EditOp& op) override
    {
        // The anchor is in place before the caret is reported: the host may
        // paint at a report, and no report shows a selection from the old
        // anchor to the new caret.
        view_.anchorColumn_ = op.anchorColumn;
        view_.anchorLine_ = op.anchorLine;
        view_.SetCaretPos(op.caretColumn, op.caretLine);
        view_.SetAnchorPos(op.anchorColumn, op.anchorLine);
    }

private:
    EditorModel& view_;
    Rect area_;
};

void EditorModel::Replay(bool undo)
{
    UpdateCaret(false);
    const UndoGroup& group = undo ? document_.UndoDeque().back() : document_.RedoDeque().back();
    // The selection the replay replaces goes from the screen too.
    const Rect area = Spanning(GetLineRect(group.Ops().empty() ? firstLine_ : group.Ops().back().line),
                               GetLinesRect(anchorLine_, caretLine_));
    ReplayView replay(*this, area);
    if (undo)
        document_.Undo(replay);
    else
        document_.Redo(replay);
    // Showing each edited line may have put one at the top of the window.
    KeepWindowFilled();
    UpdateCaret(true);
    // The caret line and selection the replay gives back may lie elsewhere.
    InvalidateExtended(Spanning(replay.Area(), GetLinesRect(anchorLine_, caretLine_)), true);
}

void EditorModel::SelectAll()
{
    int last = GetLineCount() - 1;
    SetAnchorPos(0, 0);
    SetCaretPos(document_.LineLength(last), last);
    EnsureCaretVisible();
    UpdateCaret(true);
    ports_.view.InvalidateAll(false);
}

void EditorModel::ToggleBreakPointAtCaret()
{
    if (caretLine_ < 0 || caretLine_ >= GetLineCount())
        return;
    document_.ToggleBreakPoint(caretLine_);
}

// ---- clipboard ----

void EditorModel::Copy()
{
    if (!ports_.clipboard.Open())
        return;
    if (HasSelection())
        ports_.clipboard.SetText(GetSelectedText());
    ports_.clipboard.Close();
}

void EditorModel::Cut()
{
    Action action(*this);
    try {
        UpdateCaret(false);
        BeginEditStep();
        Copy();
        DeleteSelection();
        EndEditStep();
        UpdateCaret(true);
    } catch (...) {
    }
}

void EditorModel::Paste()
{
    Action action(*this);
    try {
        UpdateCaret(false);
        ports_.clipboard.Open();
        std::string data;
        if (ports_.clipboard.GetText(data)) {
            BeginEditStep();
            InsertText(data);
            EndEditStep();
            ports_.clipboard.Close();
            EnsureCaretVisible();
            UpdateCaret(true);
        } else {
            ports_.clipboard.Close();
        }
    } catch (...) {
    }
}

// ---- commands ----

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
        s.checked = s.enabled && document_.Text().IsBreakPoint(caretLine_) != 0;
        break;
    }
    return s;
}

void EditorModel::DoCommand(EditCommand command)
{
    Action action(*this);
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
