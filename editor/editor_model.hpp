// The editor window's logic without a window: text, caret and anchor, undo and
// redo, scrolling values and clipboard texts. Every contact with the window
// system goes through the ports; the window layer forwards its events here.
//
// Positions are 0-based (column, line); a column counts bytes of the stored line
// (tabs are expanded to spaces on the way in) and may equal the line's length.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "editor/color_text_buffer.hpp"
#include "editor/line_layout.hpp"
#include "editor/ports.hpp"
#include "editor/settings_block.hpp"
#include "editor/undo_group.hpp"

namespace quvpad {

// Virtual keys the model handles; the values are the platform's key codes.
enum Key : int {
    KeyBack = 8, KeyTab = 9, KeyReturn = 13, KeyPrior = 33, KeyNext = 34, KeyEnd = 35,
    KeyHome = 36, KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40,
    KeyInsert = 45, KeyDelete = 46
    // letters are their upper-case ASCII codes
};

enum Modifier : int { ModNone = 0, ModShift = 1, ModControl = 2, ModAlt = 4 };

// Scroll-bar request codes.
enum ScrollCode : int {
    ScrollLineUp = 0, ScrollLineDown = 1, ScrollPageUp = 2, ScrollPageDown = 3,
    ScrollThumbPosition = 4, ScrollThumbTrack = 5, ScrollTop = 6, ScrollBottom = 7
};

// Focus notification codes sent to the parent.
enum EditNotify : int { NotifySetFocus = 0x100, NotifyKillFocus = 0x200 };

// The edit commands with their command ids.
enum class EditCommand : int {
    Copy = 57634, Cut = 57635, Paste = 57637, SelectAll = 57642,
    Undo = 57643, Redo = 57644, BreakPoint = 32791
};

struct CommandState {
    bool enabled = false;
    bool checked = false;
};

class EditorModel {
public:
    EditorModel(SettingsBlock& settings, const EditorPorts& ports);

    // Whole text.
    void Reset();
    // Replaces the whole text: LF ends a line, CR is dropped, tabs become spaces.
    void SetText(const std::string& text);
    // Every line followed by LF.
    std::string GetText() const;
    std::string GetLine(int line) const { return text_.GetLine(line); }
    int GetLineCount() const { return text_.GetLineCount(); }
    int GetCharSize() const;
    // The colour of every byte, line after line; colours stale lines first.
    std::vector<uint32_t> GetCharColors();
    const ColorTextBuffer& Text() const { return text_; }

    // Geometry.
    int GetVisibleLines(bool wholeLines) const;
    int GetVisibleColumns() const;
    int GetFirstVisibleLine() const { return firstLine_; }
    int GetFirstVisibleColumn() const { return firstColumn_; }
    int GetLastVisibleLine() const;
    Rect GetLineRect(int line) const;
    Rect GetLinesRect(int line1, int line2) const;
    // Spaces a tab at `column` expands to.
    int TabRun(int column) const;
    // Appends c of a loaded or pasted line to `pending`, a tab as its spaces,
    // and moves `column` past it.
    void AppendToLine(std::string& pending, int& column, char c) const;

    // Caret and anchor; every setter reports PosChanged, also for no change.
    int CaretColumn() const { return caretColumn_; }
    int CaretLine() const { return caretLine_; }
    int AnchorColumn() const { return anchorColumn_; }
    int AnchorLine() const { return anchorLine_; }
    void SetCaretPos(int column, int line);
    void SetCaretCol(int column);
    void SetCaretLine(int line);
    void SetAnchorPos(int column, int line);
    void SetAnchorCol(int column);
    bool HasSelection() const { return anchorColumn_ != caretColumn_ || anchorLine_ != caretLine_; }
    bool IsInSelection(int column, int line) const;
    std::string GetSelectedText() const;   // lines joined by CR LF

    // Positions, selection entry points and focus.
    void ClampPosition(int& column, int& line) const;
    void SetSelection(int anchorColumn, int anchorLine, int caretColumn, int caretLine);
    void LocatePos(int line, int column);   // 1-based
    void OnSetFocus();
    void OnKillFocus();
    void OnDoubleClick(int x, int y);
    void RedrawBreakPoint(int line);

    // Caret, keys and mouse.
    int TextWidth(const std::string& text) const;
    int ColumnFromX(int x, const std::string& text) const;
    int XFromColumn(int column, const std::string& text) const;
    int ColumnFromXOnLine(int x, int line) const;
    int XFromColumnOnLine(int column, int line) const;
    void UpdateCaret(bool show);
    bool UpdateSelection();
    void UpdateAnchor(bool extend);
    // False when the key is left to default handling.
    bool OnKeyDown(int key, int modifiers);
    void OnLButtonDown(int x, int y, int modifiers);
    void OnMouseMove(int x, int y);
    void OnLButtonUp();
    bool IsDragging() const { return dragging_; }

    // Undo, redo and edit commands.
    void BeginEditStep();
    void EndEditStep();
    void CommitUndoGroup();
    void Undo();
    void Redo();
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    const std::deque<UndoGroup>& UndoDeque() const { return undo_; }
    const std::deque<UndoGroup>& RedoDeque() const { return redo_; }
    const UndoGroup& PendingGroup() const { return pending_; }
    void SetModified(bool modified);
    bool IsModified() const { return modified_; }
    CommandState QueryCommand(EditCommand command);
    void DoCommand(EditCommand command);
    // The editor's accelerators; true when the key ran a command.
    bool TranslateAccelerator(int key, int modifiers);

    // Editing primitives.
    void InsertLine(const std::string& text, int line, bool colourNow, bool noRecord = false);
    void SetLine(const std::string& text, int line, bool noRecord = false, bool updateScroll = true);
    void DeleteLine(int line, bool noRecord = false, bool updateScroll = true);
    void ClearText();
    void InsertString(const std::string& text, bool redraw);
    void InsertTab();
    void NewLine();
    void BackSpace();
    void DeleteChar();
    void DeleteSelection();
    // A byte, or a double-byte character as lead * 256 + trail. A lead byte on
    // its own waits for its trail byte, so the character is one edit step.
    void OnChar(unsigned ch);

    // Painting as a layout: the client is filled with BackgroundColor, then
    // the visible lines are drawn cell by cell.
    uint32_t BackgroundColor() const { return settings_.Color(ClassBackground); }
    LineLayout LayoutLine(int line) const;
    std::vector<LineLayout> LayoutView() const;

    // Scrolling and clipboard.
    // After the client size changed: new bar values, and colours for the lines
    // that came into view.
    void OnSize();
    // After the colours or the font of the settings block changed.
    void RecolorAll();
    void UpdateScrollBars();
    void SetFirstLine(int line);
    void EnsureLineVisible(int line);
    void EnsureCaretVisible();
    void OnVScroll(int code, int position);
    void OnHScroll(int code, int position);
    void OnMouseWheel(int modifiers, int delta);
    void Copy();
    void Cut();
    void Paste();
    void InsertText(const std::string& text);
    void ReplaceSelection(const std::string& text);

private:
    int CharWidth() const { return settings_.CharWidth(); }
    int LineHeight() const { return settings_.LineHeight(); }
    int LineLength(int line) const;
    std::string LineOrEmpty(int line) const;
    int SnapColumn(int column, int line) const;
    void FirePosChanged();
    int ColorVisibleRange();
    void InvalidateExtended(Rect rect, bool erase);
    void RefreshAll();
    Rect CaretLineGrown() const;
    void ReplayGroup(std::deque<UndoGroup>& source, std::deque<UndoGroup>& target);
    // The record of a line edit; the first of a step holds the caret and
    // anchor the step began with, so that undo gives them back as they were.
    EditOp Record(EditOpKind kind, int line, std::string text) const;
    // After lines went: the first visible line moves up so that the window
    // shows no empty room below the last line while lines are above it.
    void KeepWindowFilled();
    void SelectAll();
    void ToggleBreakPointAtCaret();
    void WordLeft();
    void WordRight();
    void MoveLeft();
    void MoveRight();
    void MoveVertically(int targetLine);
    void PageTo(int targetLine);
    void InsertTyped(const std::string& bytes);
    // Moves caret and anchor back to the start of the character they stand in,
    // as decoding the line from its start finds the characters.
    void SnapToCharacterStarts();

    SettingsBlock& settings_;
    EditorPorts ports_;
    std::deque<UndoGroup> undo_;
    std::deque<UndoGroup> redo_;
    int firstColumn_ = 0;
    int firstLine_ = 0;
    int anchorColumn_ = 0, anchorLine_ = 0;
    int caretColumn_ = 0, caretLine_ = 0;
    ColorTextBuffer text_;
    bool selectionShown_ = false;
    bool dragging_ = false;
    bool caretCreated_ = false;
    int mouseDownX_ = 0;
    UndoGroup pending_;
    int stepCaretColumn_ = 0, stepCaretLine_ = 0;
    int stepAnchorColumn_ = 0, stepAnchorLine_ = 0;
    bool modified_ = false;
    bool shiftHeld_ = false;   // Shift state of the event being handled
    // While set, the caret setters take the anchor along, so that a move
    // without Shift never reports (or lets the window paint) a selection.
    bool anchorFollows_ = false;
    int pendingLead_ = -1;     // lead byte of a double-byte character typed in two halves
};

} // namespace quvpad
