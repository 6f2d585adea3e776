// The document: the line store with colours and break points, loading, the
// recorded edits, and undo and redo by replaying the records.
#include "editor/editor_document.hpp"

#include <algorithm>
#include <cstring>
#include <memory>
#include <utility>

#include "editor/text_columns.hpp"

namespace quvpad {

namespace {
// Counts in byte counters a block at a time, which the compiler makes into
// wide compares; std::count widens every byte's result to a size_t.
size_t CountLineEnds(const std::string& text)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text.data());
    size_t left = text.size();
    size_t total = 0;
    while (left > 0) {
        const size_t block = std::min<size_t>(left, 255);
        unsigned char count = 0;
        for (size_t i = 0; i < block; ++i)
            count = static_cast<unsigned char>(count + (p[i] == '\n'));
        total += count;
        p += block;
        left -= block;
    }
    return total;
}

// The line a load is making: appends written in place, without the checks
// and calls a std::string append costs for every run and every tab.
class LineBuilder {
public:
    LineBuilder() : bytes_(new char[256]), capacity_(256) {}
    const char* data() const { return bytes_.get(); }
    size_t size() const { return size_; }
    void clear() { size_ = 0; }
    void Append(const char* p, size_t n)
    {
        char* to = Room(n);
        std::memcpy(to, p, n);
    }
    void AppendSpaces(size_t n)
    {
        // A tab's few spaces are written as one short block of fixed size.
        static const char spaces[] = "                ";
        const size_t block = sizeof spaces - 1;
        if (n <= block) {
            std::memcpy(Room(block), spaces, block);
            size_ -= block - n;
        } else {
            std::memset(Room(n), ' ', n);
        }
    }

private:
    char* Room(size_t n)
    {
        if (capacity_ - size_ < n) {
            const size_t capacity = std::max(size_ + n, capacity_ * 2 + 64);
            std::unique_ptr<char[]> fresh(new char[capacity]);
            if (size_ > 0)
                std::memcpy(fresh.get(), bytes_.get(), size_);
            bytes_ = std::move(fresh);
            capacity_ = capacity;
        }
        char* at = bytes_.get() + size_;
        size_ += n;
        return at;
    }

    std::unique_ptr<char[]> bytes_;
    size_t size_ = 0;
    size_t capacity_;
};
} // namespace

EditorDocument::EditorDocument(const SettingsBlock& settings) : settings_(settings), text_(settings) {}

void EditorDocument::AddWatcher(DocumentWatcher& watcher)
{
    watchers_.push_back(&watcher);
}

void EditorDocument::RemoveWatcher(DocumentWatcher& watcher)
{
    watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), &watcher), watchers_.end());
}

void EditorDocument::Tell(LineChange change, int line)
{
    ++changeCount_;
    for (DocumentWatcher* watcher : watchers_)
        watcher->LineChanged(change, line);
}

// ---- the lines ----

int EditorDocument::LineLength(int line) const
{
    return line >= 0 && line < GetLineCount() ? static_cast<int>(text_.GetLine(line).size()) : 0;
}

std::string EditorDocument::LineOrEmpty(int line) const
{
    return line >= 0 && line < GetLineCount() ? text_.GetLine(line) : std::string();
}

std::string EditorDocument::GetText() const
{
    std::string out;
    for (int i = 0; i < GetLineCount(); ++i) {
        out += text_.GetLine(i);
        out += '\n';
    }
    return out;
}

int EditorDocument::GetCharSize() const
{
    int n = 0;
    for (int i = 0; i < GetLineCount(); ++i)
        n += LineLength(i);
    return n;
}

std::vector<uint32_t> EditorDocument::GetCharColors()
{
    // Lines below a view may still be stale; exported colours must be right.
    text_.ColorUpTo(0, GetLineCount());
    std::vector<uint32_t> out;
    for (int i = 0; i < GetLineCount(); ++i)
        text_.AppendLineColors(i, out);
    return out;
}

int EditorDocument::SnapColumn(int column, int line) const
{
    if (line < 0 || line >= GetLineCount())
        return column;
    return CharStartAtOrBefore(text_.GetLine(line), column);
}

int EditorDocument::TabRun(int column) const
{
    int tab = settings_.TabSize();
    return tab - ((column % tab) + tab) % tab;
}

// ---- loading ----

LoadedLines EditorDocument::LoadLines(const std::string& text, int at)
{
    LoadedLines loaded;
    ++changeCount_;
    // Room for the lines and for edits after them, so that the first lines
    // typed do not make the store grow.
    const size_t lines = CountLineEnds(text) + 2;
    text_.Reserve(lines + lines / 8 + 64);
    // Each line is made in `pending` and stored as a copy of just its size.
    LineBuilder pending;
    bool sawLineEnd = false;
    const int tab = settings_.TabSize();
    // Where in `pending` the last tab stop known lies (a line starts at one):
    // a tab fills up to the next stop, found without a division where the tab
    // follows the stop closely, as indentation does.
    size_t stop = 0;
    const bool carriageReturns = std::memchr(text.data(), '\r', text.size()) != nullptr;
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end) {
        const char* lineEnd = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
        if (!lineEnd)
            lineEnd = end;
        // A run without tabs or carriage returns goes in whole.
        for (const char* q = p; q < lineEnd;) {
            const char* run = q;
            if (carriageReturns) {
                while (q < lineEnd && *q != '\t' && *q != '\r')
                    ++q;
            } else if (*q != '\t') {
                // Tabs in a row (indentation) are taken without a search.
                const void* tab = std::memchr(q + 1, '\t', static_cast<size_t>(lineEnd - q - 1));
                q = tab ? static_cast<const char*>(tab) : lineEnd;
            }
            if (q != run)
                pending.Append(run, static_cast<size_t>(q - run));
            if (q < lineEnd) {
                if (*q == '\t') {
                    const size_t past = pending.size() - stop;
                    const size_t width = static_cast<size_t>(tab);
                    pending.AppendSpaces(width - (past < width ? past : past % width));
                    stop = pending.size();
                }
                ++q;
            }
        }
        p = lineEnd;
        if (p < end) {
            // Neither recorded nor reported: FinishLoad empties the undo
            // records, and the caller shows the whole text once it is in.
            text_.InsertColoredLine(std::string(pending.data(), pending.size()), at);
            pending.clear();
            stop = 0;
            ++at;
            ++loaded.count;
            sawLineEnd = true;
            ++p;
        }
    }
    loaded.rest.assign(pending.data(), pending.size());
    loaded.restIsLine = pending.size() > 0 || !sawLineEnd;
    return loaded;
}

// The store's own empty line from a reset would add a line on every load and
// save, so a non-empty text leaves it out.
void EditorDocument::DropLastLine()
{
    Delete(GetLineCount() - 1);
}

void EditorDocument::FinishLoad()
{
    text_.RecolorStale();
    ClearHistory();
}

// ---- edits ----

EditOp EditorDocument::Record(EditOpKind kind, int line, std::string text, const CaretAndAnchor& now) const
{
    // A step may move the caret before its first line edit (deleting a
    // selection puts its ends in order first).
    const CaretAndAnchor& at = pending_.Empty() ? stepStart_ : now;
    return {std::move(text), kind, line, at.caretColumn, at.caretLine, at.anchorColumn, at.anchorLine};
}

void EditorDocument::InsertLine(const std::string& text, int line, bool colourNow, const CaretAndAnchor& now)
{
    pending_.PushOp(Record(OpInsertLine, line, std::string(), now));
    Insert(text, line, colourNow);
}

void EditorDocument::SetLine(const std::string& text, int line, const CaretAndAnchor& now)
{
    pending_.PushOp(Record(OpReplaceLine, line, text_.GetLine(line), now));
    Replace(text, line);
}

void EditorDocument::DeleteLine(int line, const CaretAndAnchor& now)
{
    if (line < 0 || line >= GetLineCount())
        return;
    pending_.PushOp(Record(OpDeleteLine, line, text_.GetLine(line), now));
    Delete(line);
}

void EditorDocument::ClearText(const CaretAndAnchor& now)
{
    for (int i = 0; i < GetLineCount(); ++i)
        pending_.PushOp(
            {text_.GetLine(i), OpDeleteLine, i, now.caretColumn, now.caretLine, now.anchorColumn, now.anchorLine});
    text_.Reset();
    ++changeCount_;
    for (DocumentWatcher* watcher : watchers_)
        watcher->TextCleared();
    SetModified(true);
}

// A line inserted without its colours is one of many (a load, a paste)
// whose caller colours them once at its end.
void EditorDocument::Insert(std::string text, int line, bool colourNow)
{
    text_.InsertLine(std::move(text), line, colourNow);
    Tell(LineChange::Inserted, line);
}

void EditorDocument::Replace(const std::string& text, int line)
{
    text_.SetLine(text, line);
    Tell(LineChange::Replaced, line);
}

void EditorDocument::Delete(int line)
{
    if (line < 0 || line >= GetLineCount())
        return;
    text_.RemoveLine(line);
    Tell(LineChange::Deleted, line);
}

void EditorDocument::ToggleBreakPoint(int line)
{
    text_.ToggleBreakPoint(line);
    for (DocumentWatcher* watcher : watchers_)
        watcher->BreakPointToggled(line);
}

// ---- undo and redo ----

void EditorDocument::BeginEditStep(const CaretAndAnchor& now)
{
    stepStart_ = now;
    pending_.Clear();
    redo_.clear();
}

void EditorDocument::CommitUndoGroup()
{
    if (!pending_.Empty())
        undo_.push_back(std::move(pending_));
    pending_.Clear();
}

bool EditorDocument::Undo(ReplayPositions& positions)
{
    if (undo_.empty())
        return false;
    Replay(undo_, redo_, positions);
    return true;
}

bool EditorDocument::Redo(ReplayPositions& positions)
{
    if (redo_.empty())
        return false;
    Replay(redo_, undo_, positions);
    return true;
}

void EditorDocument::ClearHistory()
{
    redo_.clear();
    undo_.clear();
    pending_.Clear();
}

void EditorDocument::SetModified(bool modified)
{
    if (modified_ == modified)
        return;
    modified_ = modified;
    for (DocumentWatcher* watcher : watchers_)
        watcher->ModifiedChanged(modified);
}

// Ops come back last-first and the inverse is filled in that order, so
// replaying the inverse later restores the order of the first edits.
void EditorDocument::Replay(std::deque<UndoGroup>& source, std::deque<UndoGroup>& target, ReplayPositions& positions)
{
    UndoGroup group = std::move(source.back());
    source.pop_back();
    UndoGroup inverse;
    EditOp op;
    while (group.PopOp(op)) {
        const CaretAndAnchor now = positions.BeforeReplay(op);
        EditOp back{std::string(), op.kind, op.line, now.caretColumn, now.caretLine, now.anchorColumn, now.anchorLine};
        switch (op.kind) {
        case OpInsertLine:
            back.kind = OpDeleteLine;
            back.text = LineOrEmpty(op.line);
            Delete(op.line);
            break;
        case OpDeleteLine:
            back.kind = OpInsertLine;
            Insert(std::move(op.text), std::clamp(op.line, 0, GetLineCount()), true);
            break;
        case OpReplaceLine:
            back.text = LineOrEmpty(op.line);
            if (op.line >= 0 && op.line < GetLineCount())
                Replace(op.text, op.line);
            break;
        }
        positions.AfterReplay(op);
        inverse.PushOp(back);
    }
    target.push_back(std::move(inverse));
}

} // namespace quvpad
