// Caret, selection, navigation keys and the mouse: every key action and every
// click or drag becomes a position. Columns land on character boundaries.
#include <algorithm>

#include "editor/editor_model.hpp"
#include "editor/text_columns.hpp"

namespace quvpad {

namespace {
bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

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

int FloorDiv(int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int CeilDiv(int a, int b) { return -FloorDiv(-a, b); }
} // namespace

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
    return ColumnFromX(x, LineOrEmpty(line));
}

int EditorModel::XFromColumnOnLine(int column, int line) const
{
    return XFromColumn(column, LineOrEmpty(line));
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

// ---- keys ----

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
    const std::string line = LineOrEmpty(caretLine_);
    SetCaretPos(caretColumn_ > 0 ? PreviousCharStart(line, caretColumn_) : caretColumn_ - 1, caretLine_);
    if (caretColumn_ < 0) {
        if (caretLine_ > 0)
            SetCaretPos(LineLength(caretLine_ - 1), caretLine_ - 1);
        else
            SetCaretPos(0, 0);
    }
}

void EditorModel::MoveRight()
{
    int last = GetLineCount() - 1;
    if (caretLine_ >= GetLineCount())
        SetCaretPos(LineLength(last), last);
    const std::string line = LineOrEmpty(caretLine_);
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
            SetCaretPos(LineLength(caretLine_ - 1), caretLine_ - 1);
        return;
    }
    const std::string line = LineOrEmpty(caretLine_);
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
    const std::string line = LineOrEmpty(caretLine_);
    int n = static_cast<int>(line.size());
    int c = caretColumn_;
    if (c >= n) {
        SetCaretLine(caretLine_ + 1);
        if (caretLine_ >= GetLineCount())
            SetCaretPos(LineLength(GetLineCount() - 1), GetLineCount() - 1);
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

void EditorModel::SnapToCharacterStarts()
{
    int caret = SnapColumn(caretColumn_, caretLine_);
    int anchor = SnapColumn(anchorColumn_, anchorLine_);
    if (caret == caretColumn_ && anchor == anchorColumn_)
        return;
    // Both ends move before the one report, so no half-moved selection is seen.
    caretColumn_ = caret;
    anchorColumn_ = anchor;
    FirePosChanged();
    InvalidateExtended(GetLinesRect(anchorLine_, caretLine_), false);
}

namespace {
bool IsNavigationKey(int key)
{
    return key >= KeyPrior && key <= KeyDown;
}

// Sets a flag for the length of a scope, also when it is left by an exception.
class FlagScope {
public:
    FlagScope(bool& flag, bool value) : flag_(flag), old_(flag) { flag_ = value; }
    ~FlagScope() { flag_ = old_; }

private:
    bool& flag_;
    bool old_;
};
} // namespace

bool EditorModel::OnKeyDown(int key, int modifiers)
{
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
            SetCaretPos(LineLength(last), last);
        else
            SetCaretCol(LineLength(caretLine_));
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
    ports_.view.UpdateNow();
    UpdateCaret(true);
    return true;
}

// ---- mouse ----

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
        SetCaretPos(std::min(column, LineLength(line)), line);
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
        column = SnapColumn(std::clamp(column, 0, LineLength(line)), line);
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

} // namespace quvpad
