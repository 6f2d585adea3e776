// The keys: every move key and Ctrl combination becomes a caret position, and
// Backspace and Delete edits. Columns land on character boundaries.
#include <algorithm>

#include "editor/editor_model.hpp"
#include "editor/flag_scope.hpp"
#include "editor/text_columns.hpp"

namespace quvpad {

namespace {
// A double-byte character is neither a space nor alphanumeric for word steps.
bool IsSpaceAt(const std::string& s, int i)
{
    char c = s[i];
    return CharLength(s, i) == 1 && (c == ' ' || (c >= '\t' && c <= '\r'));
}

bool IsAlnumAt(const std::string& s, int i)
{
    return CharLength(s, i) == 1 && IsAsciiAlnum(s[i]);
}
} // namespace

void EditorModel::PageTo(int targetLine)
{
    UpdateCaret(false);
    UpdateAnchor(true);
    int x = XFromColumnOnLine(caretColumn_, caretLine_);
    SetCaretPos(ColumnFromXOnLine(x, targetLine), targetLine);
    SetFirstLine(targetLine);
}

void EditorModel::MoveVertically(int targetLine)
{
    UpdateCaret(false);
    UpdateAnchor(true);
    int x = XFromColumnOnLine(caretColumn_, caretLine_);
    SetCaretPos(ColumnFromXOnLine(x, targetLine), targetLine);
}

void EditorModel::MoveLeft()
{
    const std::string line = document_.LineOrEmpty(caretLine_);
    SetCaretPos(caretColumn_ > 0 ? PreviousCharStart(line, caretColumn_) : caretColumn_ - 1, caretLine_);
    if (caretColumn_ < 0) {
        if (caretLine_ > 0)
            SetCaretPos(document_.LineLength(caretLine_ - 1), caretLine_ - 1);
        else
            SetCaretPos(0, 0);
    }
}

void EditorModel::MoveRight()
{
    int last = GetLineCount() - 1;
    if (caretLine_ >= GetLineCount())
        SetCaretPos(document_.LineLength(last), last);
    const std::string line = document_.LineOrEmpty(caretLine_);
    SetCaretPos(caretColumn_ + std::max(1, CharLength(line, caretColumn_)), caretLine_);
    if (caretColumn_ > static_cast<int>(line.size())) {
        if (caretLine_ < last)
            SetCaretPos(0, caretLine_ + 1);
        else
            SetCaretPos(static_cast<int>(line.size()), caretLine_);
    }
}

// Steps left over blanks, then over a word; a lone punctuation character just
// left of the caret is a stop of its own.
void EditorModel::WordLeft()
{
    int c = caretColumn_;
    if (c <= 0) {
        if (caretLine_ > 0)
            SetCaretPos(document_.LineLength(caretLine_ - 1), caretLine_ - 1);
        return;
    }
    const std::string line = document_.LineOrEmpty(caretLine_);
    c = std::min(c, static_cast<int>(line.size()));
    bool seen = false;
    int first = PreviousCharStart(line, c);
    for (int i = first; i >= 0; i = i > 0 ? PreviousCharStart(line, i) : -1) {
        if (!IsSpaceAt(line, i))
            seen = true;
        if (seen && !IsAlnumAt(line, i)) {
            SetCaretCol(i == first ? i : i + CharLength(line, i));
            return;
        }
    }
    SetCaretCol(0);
}

void EditorModel::WordRight()
{
    const std::string line = document_.LineOrEmpty(caretLine_);
    int n = static_cast<int>(line.size());
    int c = caretColumn_;
    if (c >= n) {
        SetCaretLine(caretLine_ + 1);
        if (caretLine_ >= GetLineCount())
            SetCaretPos(document_.LineLength(GetLineCount() - 1), GetLineCount() - 1);
        else
            SetCaretCol(0);
        return;
    }
    bool seen = false;
    for (int i = c; i < n; i += CharLength(line, i)) {
        if (!IsSpaceAt(line, i))
            seen = true;
        if (seen && !IsAlnumAt(line, i)) {
            SetCaretCol(i == c ? i + CharLength(line, i) : i);
            return;
        }
    }
    SetCaretCol(n);
}

namespace {
bool IsNavigationKey(int key)
{
    return key >= KeyPrior && key <= KeyDown;
}
} // namespace

bool EditorModel::OnKeyDown(int key, int modifiers)
{
    Action action(*this);
    shiftHeld_ = (modifiers & ModShift) != 0;
    bool control = (modifiers & ModControl) != 0;
    int last = GetLineCount() - 1;
    // A move without Shift drops any selection: the anchor goes along with the
    // caret, and the lines of the old selection and the old caret line are
    // painted again once the key is done, whatever was painted in between.
    FlagScope follows(anchorFollows_, IsNavigationKey(key) && !shiftHeld_);
    int oldTop = std::min(caretLine_, anchorLine_), oldBottom = std::max(caretLine_, anchorLine_);
    switch (key) {
    case KeyBack:
    case KeyDelete:
        BeginEditStep();
        if (UpdateSelection())
            DeleteSelection();
        else if (key == KeyBack)
            BackSpace();
        else
            DeleteChar();
        EndEditStep();
        break;
    case KeyReturn:
        if (control)
            ports_.view.PostChar('\r');   // Ctrl+Enter breaks the line like Enter
        break;
    case KeyPrior: {
        int target = caretLine_ - GetVisibleLines(false);
        PageTo(target < 1 ? 0 : target);
        break;
    }
    case KeyNext: {
        int target = caretLine_ + GetVisibleLines(false);
        PageTo(target >= last ? last : target);
        break;
    }
    case KeyHome:
        UpdateCaret(false);
        if (control)
            SetCaretPos(0, 0);
        else
            SetCaretCol(0);
        break;
    case KeyEnd:
        UpdateCaret(false);
        if (control)
            SetCaretPos(document_.LineLength(last), last);
        else
            SetCaretCol(document_.LineLength(caretLine_));
        break;
    case KeyUp:
        if (caretLine_ > 0)
            MoveVertically(caretLine_ - 1);
        break;
    case KeyDown:
        if (caretLine_ < last)
            MoveVertically(caretLine_ + 1);
        break;
    case KeyLeft:
        UpdateCaret(false);
        UpdateAnchor(true);
        control ? WordLeft() : MoveLeft();
        break;
    case KeyRight:
        UpdateCaret(false);
        UpdateAnchor(true);
        control ? WordRight() : MoveRight();
        break;
    default:
        return false;
    }
    EnsureCaretVisible();
    UpdateAnchor(true);
    if (IsNavigationKey(key)) {
        InvalidateExtended(GetLinesRect(oldTop, oldBottom), false);
        UpdateSelection();
    }
    PaintNow();
    UpdateCaret(true);
    return true;
}

} // namespace quvpad
