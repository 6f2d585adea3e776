// The editor window's logic without a window: the view of one document. It
// keeps the caret and anchor, the scrolling values and the clipboard commands,
// turns keys and mouse events into edits of the document, and turns the line
// changes the document reports into repaints. Every contact with the window
// system goes through the ports; the window layer forwards its events here.
//
// Positions are 0-based (column, line); a column counts bytes of the stored line
// (tabs are expanded to spaces on the way in) and may equal the line's length.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "editor/editor_document.hpp"
#include "editor/line_layout.hpp"
#include "editor/ports.hpp"
#include "editor/settings_block.hpp"

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

class EditorModel : private DocumentWatcher {
public:
    EditorModel(SettingsBlock& settings, const EditorPorts& ports);
    ~EditorModel() override;
    EditorModel(const EditorModel&) = delete;
    EditorModel& operator=(const EditorModel&) = delete;

    const EditorDocument& Document() const { return document_; }

    // Whole text.
    void Reset();
    // Replaces the whole text: LF ends a line, CR is dropped, tabs become spaces.
    void SetText(const std::string& text);
    // Every line followed by LF.
    std::string GetText() const { return document_.GetText(); }
    std::string GetLine(int line) const { return document_.GetLine(line); }
    int GetLineCount() const { return document_.GetLineCount(); }
    int GetCharSize() const { return document_.GetCharSize(); }
    // The colour of every byte, line after line; colours stale lines first.
    std::vector<uint32_t> GetCharColors() { return document_.GetCharColors(); }

    // Geometry.
    int GetVisibleLines(bool wholeLines) const;
    int GetVisibleColumns() const;
    int GetFirstVisibleLine() const { return firstLine_; }
    int GetFirstVisibleColumn() const { return firstColumn_; }
    int GetLastVisibleLine() const;
    Rect GetLineRect(int line) const;
    Rect GetLinesRect(int line1, int line2) const;

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
    std::string GetSelectedText() const;   // lines joined by CR LF

    // Positions, selection entry points and focus.
    void SetSelection(int anchorColumn, int anchorLine, int caretColumn, int caretLine);
    void LocatePos(int line, int column);   // 1-based
    void OnSetFocus();
    void OnKillFocus();
    void OnDoubleClick(int x, int y);

    // Text measured in the editor's font, and the caret, keys and mouse.
    int TextWidth(const std::string& text) const;
    int ColumnFromXOnLine(int x, int line) const;
    int XFromColumnOnLine(int column, int line) const;
    void UpdateCaret(bool show);
    // False when the key is left to default handling.
    bool OnKeyDown(int key, int modifiers);
    void OnLButtonDown(int x, int y, int modifiers);
    void OnMouseMove(int x, int y);
    void OnLButtonUp();
    bool IsDragging() const { return dragging_; }

    // Undo, redo and edit commands.
    void Undo();
    void Redo();
    bool CanUndo() const { return document_.CanUndo(); }
    bool CanRedo() const { return document_.CanRedo(); }
    void SetModified(bool modified) { document_.SetModified(modified); }
    bool IsModified() const { return document_.IsModified(); }
    CommandState QueryCommand(EditCommand command);
    void DoCommand(EditCommand command);
    // The editor's accelerators; true when the key ran a command.
    bool TranslateAccelerator(int key, int modifiers);

    // Typing: a byte, or a double-byte character as lead * 256 + trail. A lead
    // byte on its own waits for its trail byte, so the character is one edit
    // step.
    void OnChar(unsigned ch);

    // Painting as a layout: the client is filled with BackgroundColor, then
    // the visible lines are drawn cell by cell.
    uint32_t BackgroundColor() const { return settings_.Color(ClassBackground); }
    LineLayout LayoutLine(int line) const;
    std::vector<LineLayout> LayoutView() const;
    // The visible lines that meet the client rows from `top` up to `bottom`.
    std::vector<LineLayout> LayoutView(int top, int bottom) const;

    // Scrolling and clipboard.
    // After the client size changed: new bar values, and colours for the lines
    // that came into view.
    void OnSize();
    // After the colours or the font of the settings block changed.
    void RecolorAll();
    void SetFirstLine(int line);
    void EnsureCaretVisible();
    void OnVScroll(int code, int position);
    void OnHScroll(int code, int position);
    void OnMouseWheel(int modifiers, int delta);
    void Copy();
    void Cut();
    void Paste();
    // The text in place of the selection, as one edit step.
    void ReplaceSelection(const std::string& text);

private:
    // One user action: a key, a typed character, a command, a load. What it
    // owes the window and the host (the scroll bars, the margin, a view that
    // moved, the events) waits for its end, so that an edit of a hundred
    // thousand lines moves the bars, repaints and reports its caret once.
    // Actions nest; the outermost one pays. Every event keeps its place among
    // the others, and a run of position reports is reported by its last.
    class Action {
    public:
        explicit Action(EditorModel& view) : view_(view) { ++view_.actions_; }
        ~Action()
        {
            if (--view_.actions_ == 0)
                view_.PayOwed();
        }
        Action(const Action&) = delete;
        Action& operator=(const Action&) = delete;

    private:
        EditorModel& view_;
    };
    struct HostEvent {
        bool position;   // else a change of the modified flag
        int caretLine, caretColumn, anchorLine, anchorColumn;
        bool modified;
        bool SamePlace(const HostEvent& o) const
        {
            return caretLine == o.caretLine && caretColumn == o.caretColumn && anchorLine == o.anchorLine &&
                   anchorColumn == o.anchorColumn;
        }
    };
    struct Owed {
        bool scrollBars = false;
        bool margin = false;
        bool viewMoved = false;   // the first visible line or column
        bool paintNow = false;
        std::vector<HostEvent> events;
    };
    void Report(const HostEvent& event);
    void Send(const HostEvent& event);
    void PayOwed();

    // What the document reports, as the view shows it.
    void LineChanged(LineChange change, int line) override;
    void TextCleared() override;
    void BreakPointToggled(int line) override;
    void ModifiedChanged(bool modified) override;

    // Geometry and measuring.
    int CharWidth() const { return settings_.CharWidth(); }
    int LineHeight() const { return settings_.LineHeight(); }
    int ColumnFromX(int x, const std::string& text) const;
    int XFromColumn(int column, const std::string& text) const;

    // Caret, anchor and selection.
    CaretAndAnchor Positions() const { return {caretColumn_, caretLine_, anchorColumn_, anchorLine_}; }
    void FirePosChanged();
    void ClampPosition(int& column, int& line) const;
    bool IsInSelection(int column, int line) const;
    // Paints the selection when it came or went; whether there is one.
    bool UpdateSelection();
    // Without `extend` (or without Shift) the anchor goes to the caret; with
    // it, the lines from the anchor to the caret are painted again.
    void UpdateAnchor(bool extend);
    // Moves caret and anchor back to the start of the character they stand in,
    // as decoding the line from its start finds the characters.
    void SnapToCharacterStarts();

    // Keys.
    void WordLeft();
    void WordRight();
    void MoveLeft();
    void MoveRight();
    void MoveVertically(int targetLine);
    void PageTo(int targetLine);

    // Editing. An edit step gathers the line edits of one user action for undo.
    void BeginEditStep();
    void EndEditStep();
    void InsertTyped(const std::string& bytes);
    void InsertString(const std::string& text, bool redraw);
    void InsertTab();
    void NewLine();
    void BackSpace();
    void DeleteChar();
    void DeleteSelection();
    // Inserts a text at the caret in place of any selection: LF ends a line,
    // CR is dropped, tabs become spaces.
    void InsertText(const std::string& text);

    // Commands. Undo (or redo) of the last step repaints the lines it touches
    // and the selection it replaces.
    class ReplayView;
    void Replay(bool undo);
    void SelectAll();
    void ToggleBreakPointAtCaret();

    // Scrolling and repainting.
    void UpdateScrollBars();
    void SetScrollBars();
    // After the first visible line or column moved: the bar, the colours of
    // what comes into view and the whole picture follow.
    void ViewMoved(ScrollBar bar);
    void InvalidateMarginOnce();
    // Paints what is invalid at once; in an action, once it is all invalid.
    void PaintNow();
    void EnsureLineVisible(int line);
    // After lines went: the first visible line moves up so that the window
    // shows no empty room below the last line while lines are above it.
    void KeepWindowFilled();
    // Colours what the window shows; the last line colouring reached.
    int ColorVisibleRange();
    // Invalidates `rect`, grown down to the last line the colouring reached.
    void InvalidateExtended(Rect rect, bool erase);
    void RefreshAll();
    Rect CaretLineGrown() const;
    void RedrawBreakPoint(int line);

    SettingsBlock& settings_;
    EditorPorts ports_;
    EditorDocument document_;
    int firstColumn_ = 0;
    int firstLine_ = 0;
    int anchorColumn_ = 0, anchorLine_ = 0;
    int caretColumn_ = 0, caretLine_ = 0;
    bool selectionShown_ = false;
    bool dragging_ = false;
    bool caretCreated_ = false;
    int mouseDownX_ = 0;
    bool shiftHeld_ = false;   // Shift state of the event being handled
    // While set, the caret setters take the anchor along, so that a move
    // without Shift never reports (or lets the window paint) a selection.
    bool anchorFollows_ = false;
    int pendingLead_ = -1;     // lead byte of a double-byte character typed in two halves
    int actions_ = 0;          // actions under way
    Owed owed_;
};

} // namespace quvpad
