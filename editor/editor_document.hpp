// The text of one editor apart from any view of it: the line store with its
// colours and break points, the records undo and redo replay, and the modified
// flag. Each change of a line is told to the watchers, which keep their views
// up to date; the document knows nothing of pixels, carets or windows.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "editor/color_text_buffer.hpp"
#include "editor/settings_block.hpp"
#include "editor/undo_group.hpp"

namespace quvpad {

// Where a view's caret and anchor stand. An edit keeps them in its undo record,
// so that undo gives them back as they were.
struct CaretAndAnchor {
    int caretColumn = 0, caretLine = 0;
    int anchorColumn = 0, anchorLine = 0;
};

enum class LineChange { Inserted, Replaced, Deleted };

class DocumentWatcher {
public:
    virtual ~DocumentWatcher() = default;
    // After line `line` was inserted, replaced or deleted: one of the many
    // changes a paste or an undo may make, each told as it is made.
    virtual void LineChanged(LineChange change, int line) = 0;
    // After every line went; the store holds one empty line.
    virtual void TextCleared() = 0;
    virtual void BreakPointToggled(int line) = 0;
    virtual void ModifiedChanged(bool modified) = 0;
};

// The view an undo or redo runs for: each line record put back may need its
// line shown first, and leaves the caret and anchor where the record says.
class ReplayPositions {
public:
    virtual ~ReplayPositions() = default;
    // Before the record is put back; the inverse record keeps what it returns.
    virtual CaretAndAnchor BeforeReplay(const EditOp& op) = 0;
    virtual void AfterReplay(const EditOp& op) = 0;
};

// The lines a load stored, and the line after the last line end.
struct LoadedLines {
    int count = 0;
    std::string rest;
    // Whether `rest` is a line of its own: text after the last line end, or
    // a text without any line end.
    bool restIsLine = false;
};

class EditorDocument {
public:
    // Colours come from the block's colour table, tabs expand to its tab size.
    explicit EditorDocument(const SettingsBlock& settings);
    EditorDocument(const EditorDocument&) = delete;
    EditorDocument& operator=(const EditorDocument&) = delete;

    void AddWatcher(DocumentWatcher& watcher);
    void RemoveWatcher(DocumentWatcher& watcher);

    // The lines.
    const ColorTextBuffer& Text() const { return text_; }
    int GetLineCount() const { return text_.GetLineCount(); }
    const std::string& GetLine(int line) const { return text_.GetLine(line); }
    // Both read a line that does not exist as empty.
    int LineLength(int line) const;
    std::string LineOrEmpty(int line) const;
    // Every line followed by LF.
    std::string GetText() const;
    // Grows with every change of the text (a line inserted, replaced or
    // deleted, a load, a clear), so a reader can tell that its copy is current.
    long ChangeCount() const { return changeCount_; }
    int GetCharSize() const;
    // The colour of every byte, line after line; colours stale lines first.
    std::vector<uint32_t> GetCharColors();
    // Moves `column` back to the start of the character it stands in.
    int SnapColumn(int column, int line) const;
    // Spaces a tab at `column` expands to.
    int TabRun(int column) const;

    // Loading: the whole lines of `text` go in before line `at`, coloured as
    // they come, tabs expanded and CR dropped, neither recorded nor reported.
    // The caller adds the rest as a line of its own, drops the store's own
    // empty line and ends with FinishLoad.
    LoadedLines LoadLines(const std::string& text, int at);
    void DropLastLine();
    void FinishLoad();

    // Edits, each recorded for undo with the caret and anchor it found (the
    // first of an edit step with those the step began with).
    void InsertLine(const std::string& text, int line, bool colourNow, const CaretAndAnchor& now);
    void SetLine(const std::string& text, int line, const CaretAndAnchor& now);
    void DeleteLine(int line, const CaretAndAnchor& now);
    // Deletes every line; the store keeps one empty line. Marks the text modified.
    void ClearText(const CaretAndAnchor& now);

    // Colouring.
    // Colours stale lines until every line before `limit` is valid; returns the
    // larger of `first` (at least 0) and the last line coloured.
    int ColorUpTo(int first, int limit) { return text_.ColorUpTo(first, limit); }
    void RecolorAll() { text_.RecolorAll(); }
    void RecolorStale() { text_.RecolorStale(); }
    void ToggleBreakPoint(int line);

    // Undo and redo. An edit step gathers the records of one user action.
    void BeginEditStep(const CaretAndAnchor& now);
    void CommitUndoGroup();
    // Put the last step back, or again; false when there is none.
    bool Undo(ReplayPositions& positions);
    bool Redo(ReplayPositions& positions);
    bool CanUndo() const { return !undo_.empty(); }
    bool CanRedo() const { return !redo_.empty(); }
    const std::deque<UndoGroup>& UndoDeque() const { return undo_; }
    const std::deque<UndoGroup>& RedoDeque() const { return redo_; }
    const UndoGroup& PendingGroup() const { return pending_; }
    // Forgets every record, a step's pending ones too.
    void ClearHistory();
    void SetModified(bool modified);
    bool IsModified() const { return modified_; }

private:
    EditOp Record(EditOpKind kind, int line, std::string text, const CaretAndAnchor& now) const;
    // The unrecorded edits every edit comes down to; they tell the watchers.
    void Insert(std::string text, int line, bool colourNow);
    void Replace(const std::string& text, int line);
    void Delete(int line);
    void Tell(LineChange change, int line);
    // Applies the last group of `source` backwards and pushes its inverse onto
    // `target`.
    void Replay(std::deque<UndoGroup>& source, std::deque<UndoGroup>& target, ReplayPositions& positions);

    const SettingsBlock& settings_;
    ColorTextBuffer text_;
    std::vector<DocumentWatcher*> watchers_;
    std::deque<UndoGroup> undo_;
    std::deque<UndoGroup> redo_;
    UndoGroup pending_;
    CaretAndAnchor stepStart_;
    bool modified_ = false;
    long changeCount_ = 0;
};

} // namespace quvpad
