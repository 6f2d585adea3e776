// The view's construction, the whole text, the document's changes as the view
// shows them, what an action owes the window and the host, and focus.
#include <algorithm>
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
    Action action(*this);
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
    Action action(*this);
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

// A line that came or went moves the break points below it.
void EditorModel::LineChanged(LineChange change, int)
{
    if (change == LineChange::Deleted)
        KeepWindowFilled();
    if (change != LineChange::Replaced)
        InvalidateMarginOnce();
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
    Report({false, 0, 0, 0, 0, modified});
}

// ---- what an action owes ----

void EditorModel::Report(const HostEvent& event)
{
    if (actions_ == 0) {
        Send(event);
        return;
    }
    // A run of position reports ends in its last; a position reported again
    // unchanged, also after another event, is a repetition.
    std::vector<HostEvent>& owed = owed_.events;
    if (event.position) {
        auto last = std::find_if(owed.rbegin(), owed.rend(), [](const HostEvent& e) { return e.position; });
        if (last != owed.rend() && last->SamePlace(event))
            return;
        if (!owed.empty() && owed.back().position) {
            owed.back() = event;
            return;
        }
    }
    owed.push_back(event);
}

void EditorModel::Send(const HostEvent& event)
{
    if (event.position)
        ports_.events.PosChanged(event.caretLine, event.caretColumn, event.anchorLine, event.anchorColumn);
    else
        ports_.events.ModifiedChanged(event.modified);
}

void EditorModel::InvalidateMarginOnce()
{
    if (actions_ > 0)
        owed_.margin = true;
    else
        ports_.view.InvalidateMargin(false);
}

void EditorModel::PaintNow()
{
    if (actions_ > 0)
        owed_.paintNow = true;
    else
        ports_.view.UpdateNow();
}

// The window first, so that a host that paints at an event paints it all.
void EditorModel::PayOwed()
{
    const Owed owed = std::move(owed_);
    owed_ = Owed();
    if (owed.scrollBars) {
        SetScrollBars();
    } else if (owed.viewMoved) {
        ports_.scrollBars.SetScrollPos(ScrollBar::Vertical, firstLine_);
        ports_.scrollBars.SetScrollPos(ScrollBar::Horizontal, firstColumn_);
    }
    if (owed.viewMoved) {
        ColorVisibleRange();
        ports_.view.InvalidateMargin(true);
        ports_.view.InvalidateAll(true);
    } else if (owed.margin) {
        ports_.view.InvalidateMargin(false);
    }
    if (owed.paintNow)
        ports_.view.UpdateNow();
    for (const HostEvent& event : owed.events)
        Send(event);
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
