// The editor's data, whole-text operations, geometry, caret and anchor setters,
// and the selection entry points the control offers its host.
#include "editor/editor_model.hpp"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "editor/text_columns.hpp"

namespace quvpad {

namespace {
bool IsAsciiAlnum(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
} // namespace

EditorModel::EditorModel(SettingsBlock& settings, const EditorPorts& ports)
    : settings_(settings), ports_(ports), text_(settings)
{
    Reset();
}

int EditorModel::LineLength(int line) const
{
    return line >= 0 && line < GetLineCount() ? static_cast<int>(text_.GetLine(line).size()) : 0;
}

std::string EditorModel::LineOrEmpty(int line) const
{
    return line >= 0 && line < GetLineCount() ? text_.GetLine(line) : std::string();
}

int EditorModel::SnapColumn(int column, int line) const
{
    if (line < 0 || line >= GetLineCount())
        return column;
    return CharStartAtOrBefore(text_.GetLine(line), column);
}

// ---- whole text ----

void EditorModel::Reset()
{
    ClearText();
    SetCaretPos(0, 0);
    SetAnchorPos(0, 0);
    firstColumn_ = 0;
    firstLine_ = 0;
    selectionShown_ = false;
    dragging_ = false;
    caretCreated_ = false;
    redo_.clear();
    undo_.clear();
    pending_.Clear();
}

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

void EditorModel::SetText(const std::string& text)
{
    Reset();
    // Room for the lines and for edits after them, so that the first lines
    // typed do not make the store grow.
    const size_t lines = CountLineEnds(text) + 2;
    text_.Reserve(lines + lines / 8 + 64);
    // Each line is made in `pending` and stored as a copy of just its size.
    LineBuilder pending;
    int at = caretLine_;
    bool sawLineEnd = false;
    const int tab = settings_.TabSize();
    // Where in `pending` the last tab stop known lies (Reset put the caret at
    // column 0): a tab fills up to the next stop, found without a division
    // where the tab follows the stop closely, as indentation does.
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
            // Not recorded (the load empties the undo records when it ends).
            // The caret and the margin are set once the text is in.
            text_.InsertColoredLine(std::string(pending.data(), pending.size()), at);
            pending.clear();
            stop = 0;
            ++at;
            sawLineEnd = true;
            ++p;
        }
    }
    // The store's own empty line from Reset would add a line on every load and
    // save, so a non-empty text leaves it out; only the empty text keeps it.
    if (at != caretLine_)
        SetCaretPos(0, at);
    if (!text.empty()) {
        if (pending.size() > 0 || !sawLineEnd)
            InsertLine(std::string(pending.data(), pending.size()), caretLine_, false);
        DeleteLine(GetLineCount() - 1, true, false);
    }
    SetCaretPos(0, 0);
    SetAnchorPos(0, 0);
    firstColumn_ = 0;
    firstLine_ = 0;
    selectionShown_ = false;
    dragging_ = false;
    text_.RecolorStale();
    redo_.clear();
    undo_.clear();
    pending_.Clear();
    UpdateScrollBars();
    ColorVisibleRange();
    ports_.view.InvalidateMargin(true);
    ports_.view.InvalidateAll(false);
    UpdateCaret(true);
}

std::string EditorModel::GetText() const
{
    std::string out;
    for (int i = 0; i < GetLineCount(); ++i) {
        out += text_.GetLine(i);
        out += '\n';
    }
    return out;
}

int EditorModel::GetCharSize() const
{
    int n = 0;
    for (int i = 0; i < GetLineCount(); ++i)
        n += LineLength(i);
    return n;
}

std::vector<uint32_t> EditorModel::GetCharColors()
{
    // Lines below the view may still be stale; exported colours must be right.
    text_.ColorUpTo(firstLine_, GetLineCount());
    std::vector<uint32_t> out;
    for (int i = 0; i < GetLineCount(); ++i)
        text_.AppendLineColors(i, out);
    return out;
}

// ---- geometry ----

int EditorModel::GetVisibleLines(bool wholeLines) const
{
    int n = ports_.view.GetClientSize().height / LineHeight();
    return wholeLines ? n : std::min(n, GetLineCount());
}

int EditorModel::GetVisibleColumns() const
{
    return ports_.view.GetClientSize().width / CharWidth() - 1;
}

int EditorModel::GetLastVisibleLine() const
{
    return std::min(firstLine_ + GetVisibleLines(false), GetLineCount());
}

Rect EditorModel::GetLineRect(int line) const
{
    Rect r;
    r.left = 0;
    r.right = ports_.view.GetClientSize().width;
    r.top = (line - firstLine_) * LineHeight();
    r.bottom = r.top + LineHeight();
    return r;
}

Rect EditorModel::GetLinesRect(int line1, int line2) const
{
    Rect r = GetLineRect(std::min(line1, line2));
    r.bottom = GetLineRect(std::max(line1, line2)).bottom;
    return r;
}

int EditorModel::TabRun(int column) const
{
    int tab = settings_.TabSize();
    return tab - ((column % tab) + tab) % tab;
}

void EditorModel::AppendToLine(std::string& pending, int& column, char c) const
{
    if (c == '\t') {
        int run = TabRun(column);
        pending.append(run, ' ');
        column += run;
    } else {
        pending += c;
        ++column;
    }
}

// The visible-range refresh: colour what the view shows, and report the last
// line that colouring reached.
int EditorModel::ColorVisibleRange()
{
    return text_.ColorUpTo(firstLine_, std::min(GetLastVisibleLine() + 1, GetLineCount()));
}

void EditorModel::InvalidateExtended(Rect rect, bool erase)
{
    int last = ColorVisibleRange();
    rect.bottom = std::max(rect.bottom, (last - firstLine_ + 1) * LineHeight());
    ports_.view.Invalidate(rect, erase);
}

void EditorModel::RefreshAll()
{
    ColorVisibleRange();
    ports_.view.InvalidateMargin(true);
    ports_.view.InvalidateAll(false);
}

Rect EditorModel::CaretLineGrown() const
{
    Rect r = GetLineRect(caretLine_);
    r.top -= 4;
    r.bottom += 4;
    return r;
}

// ---- caret and anchor ----

void EditorModel::FirePosChanged()
{
    ports_.events.PosChanged(caretLine_ + 1, caretColumn_ + 1, anchorLine_ + 1, anchorColumn_ + 1);
}

void EditorModel::SetCaretPos(int column, int line)
{
    caretColumn_ = column;
    caretLine_ = line;
    if (anchorFollows_) {
        anchorColumn_ = column;
        anchorLine_ = line;
    }
    FirePosChanged();
}

void EditorModel::SetCaretCol(int column)
{
    SetCaretPos(column, caretLine_);
}

void EditorModel::SetCaretLine(int line)
{
    SetCaretPos(caretColumn_, line);
}

void EditorModel::SetAnchorPos(int column, int line)
{
    anchorColumn_ = column;
    anchorLine_ = line;
    FirePosChanged();
}

void EditorModel::SetAnchorCol(int column)
{
    anchorColumn_ = column;
    FirePosChanged();
}

bool EditorModel::IsInSelection(int column, int line) const
{
    if (!HasSelection())
        return false;
    bool caretFirst = caretLine_ < anchorLine_ || (caretLine_ == anchorLine_ && caretColumn_ < anchorColumn_);
    int sc = caretFirst ? caretColumn_ : anchorColumn_, sl = caretFirst ? caretLine_ : anchorLine_;
    int ec = caretFirst ? anchorColumn_ : caretColumn_, el = caretFirst ? anchorLine_ : caretLine_;
    if (line < sl || line > el)
        return false;
    if (sl == el)
        return column >= sc && column < ec;
    if (line == sl)
        return column >= sc;
    if (line == el)
        return column < ec;
    return true;
}

std::string EditorModel::GetSelectedText() const
{
    if (!HasSelection())
        return std::string();
    bool caretFirst = caretLine_ < anchorLine_ || (caretLine_ == anchorLine_ && caretColumn_ < anchorColumn_);
    int sc = caretFirst ? caretColumn_ : anchorColumn_, sl = caretFirst ? caretLine_ : anchorLine_;
    int ec = caretFirst ? anchorColumn_ : caretColumn_, el = caretFirst ? anchorLine_ : caretLine_;
    auto part = [](const std::string& s, int from, int to) {
        from = std::clamp(from, 0, static_cast<int>(s.size()));
        to = std::clamp(to, from, static_cast<int>(s.size()));
        return s.substr(from, to - from);
    };
    std::string first = LineOrEmpty(sl);
    if (sl == el)
        return part(first, sc, ec);
    std::string out = part(first, sc, static_cast<int>(first.size()));
    for (int l = sl + 1; l < el; ++l)
        out += "\r\n" + LineOrEmpty(l);
    std::string last = LineOrEmpty(el);
    out += "\r\n" + part(last, 0, ec);
    return out;
}

// ---- positions and selection entry points ----

void EditorModel::ClampPosition(int& column, int& line) const
{
    line = std::clamp(line, 0, GetLineCount() - 1);
    column = std::clamp(column, 0, LineLength(line));
    column = SnapColumn(column, line);
}

void EditorModel::SetSelection(int anchorColumn, int anchorLine, int caretColumn, int caretLine)
{
    ClampPosition(anchorColumn, anchorLine);
    ClampPosition(caretColumn, caretLine);
    SetAnchorPos(anchorColumn, anchorLine);
    SetCaretPos(caretColumn, caretLine);
    // What a caller selects (a match found, a bracket's partner) is shown:
    // the whole selection where it fits in the window, else the caret's end.
    const int whole = std::max(1, ports_.view.GetClientSize().height / LineHeight());
    const bool fits = std::abs(caretLine - anchorLine) < whole;
    const int top = fits ? std::min(caretLine, anchorLine) : caretLine;
    const int bottom = fits ? std::max(caretLine, anchorLine) : caretLine;
    if (top < firstLine_)
        SetFirstLine(top);
    else if (bottom >= firstLine_ + whole)
        SetFirstLine(bottom - whole + 1);
    EnsureCaretVisible();
    UpdateCaret(true);
    ColorVisibleRange();
    ports_.view.InvalidateMargin(true);
    ports_.view.InvalidateAll(true);
}

void EditorModel::LocatePos(int line, int column)
{
    UpdateCaret(false);
    line = std::clamp(line, 1, GetLineCount());
    column = std::clamp(column, 1, LineLength(line - 1) + 1);
    SetCaretPos(SnapColumn(column - 1, line - 1), line - 1);
    EnsureCaretVisible();
    SetAnchorPos(caretColumn_, caretLine_);
    ports_.view.InvalidateAll(true);
    UpdateCaret(true);
}

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

// Selects the word under the point; a character that is not a letter or digit
// is selected on its own. The walk goes by characters, so a double-byte
// character is never split (and its trail byte never read as a letter); each
// step back inside the word costs one byte (see CharStartAtOrBefore).
void EditorModel::OnDoubleClick(int x, int y)
{
    dragging_ = false;
    ports_.view.SetFocus();
    UpdateCaret(false);
    InvalidateExtended(GetLinesRect(anchorLine_, caretLine_), false);
    int cw = CharWidth();
    int column = (x - settings_.MinX() + cw / 2) / cw + firstColumn_;
    int line = std::clamp(y / LineHeight() + firstLine_, 0, GetLineCount() - 1);
    const std::string& text = text_.GetLine(line);
    int length = static_cast<int>(text.size());
    column = SnapColumn(std::clamp(column, 0, length), line);
    SetAnchorPos(caretColumn_, caretLine_);

    int start = 0;
    for (int i = column; i >= 0;) {
        if (i < length && !IsAsciiAlnum(text[i]) ) {
            start = i + CharLength(text, i);
            break;
        }
        if (i == 0)
            break;
        i = PreviousCharStart(text, i);
    }
    int end = column;
    while (end < length && IsAsciiAlnum(text[end]))
        ++end;

    ClampPosition(start, line);
    ClampPosition(end, line);
    SetCaretPos(start, line);
    SetAnchorPos(end, line);
    ports_.view.Invalidate(GetLineRect(line), false);
    UpdateCaret(true);
}

void EditorModel::RedrawBreakPoint(int line)
{
    ports_.view.RedrawMarginLine(line);
}

} // namespace quvpad
