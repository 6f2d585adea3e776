// The view's construction, the whole text, the document's changes as the view
// shows them, and focus.
#include <string>

#include "editor/editor_model.hpp"

namespace quvpad {

EditorModel::EditorModel(SettingsBlock& settings, const EditorPorts& ports)
    : settings_(settings), ports_(ports), document_(settings)
{
    document_.AddWatcher(*this);
    Reset();
}

EditorModel::~EditorModel()
{
    document_.RemoveWatcher(*this);
}

// ---- whole text ----

void EditorModel::Reset()
{
    document_.ClearText(Positions());
    SetCaretPos(0, 0);
    SetAnchorPos(0, 0);
    firstColumn_ = 0;
    firstLine_ = 0;
    selectionShown_ = false;
    dragging_ = false;
    caretCreated_ = false;
    document_.ClearHistory();
}

void EditorModel::SetText(const std::string& text)
{
    Reset();
    const LoadedLines loaded = document_.LoadLines(text, caretLine_);
    // The rest of the text goes below the lines loaded, as a line of its own.
    if (loaded.count > 0)
        SetCaretPos(0, caretLine_ + loaded.count);
    if (!text.empty()) {
        if (loaded.restIsLine)
            document_.InsertLine(loaded.rest, caretLine_, false, Positions());
        document_.DropLastLine();
    }
    SetCaretPos(0, 0);
    SetAnchorPos(0, 0);
    firstColumn_ = 0;
    firstLine_ = 0;
    selectionShown_ = false;
    dragging_ = false;
    document_.FinishLoad();
    UpdateScrollBars();
    ColorVisibleRange();
    ports_.view.InvalidateMargin(true);
    ports_.view.InvalidateAll(false);
    UpdateCaret(true);
}

// ---- the document's changes ----

// A line that came or went moves the break points below it. A change that is
// one of a batch leaves the scroll bars to the end of the batch.
void EditorModel::LineChanged(LineChange change, int, bool batch)
{
    if (change == LineChange::Deleted)
        KeepWindowFilled();
    if (change != LineChange::Replaced)
        ports_.view.InvalidateMargin(false);
    if (!batch)
        UpdateScrollBars();
}

void EditorModel::TextCleared()
{
    UpdateScrollBars();
}

void EditorModel::BreakPointToggled(int line)
{
    RedrawBreakPoint(line);
}

void EditorModel::ModifiedChanged(bool modified)
{
    ports_.events.ModifiedChanged(modified);
}

// ---- focus ----

void EditorModel::OnSetFocus()
{
    UpdateCaret(true);
    ports_.view.NotifyParent(NotifySetFocus);
}

void EditorModel::OnKillFocus()
{
    if (ports_.view.HasCapture())
        ports_.view.ReleaseMouse();
    dragging_ = false;
    ports_.view.NotifyParent(NotifyKillFocus);
}

} // namespace quvpad
