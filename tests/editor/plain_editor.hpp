// The editor's rules once more, written plainly over a vector of lines, and a
// runner that plays one script of keys and commands on the editor model and on
// the plain editor and compares them after every action. The differential
// test and the editor's fuzz harness share it.
//
// The plain editor keeps undo and redo as whole copies of text, caret and
// anchor: undo gives back what was there when the step began, redo what was
// there when undo was asked for. A copy holds the text as one block, so that
// a step over thousands of lines costs one copy of bytes.
#pragma once
#include <algorithm>
#include <cstdint>
#include <cstddef>
#include <sstream>
#include <string>
#include <vector>

#include "editor/color_tokenizer.hpp"
#include "fake_ports.hpp"

namespace quvpad::test {

class PlainEditor {
public:
    struct Pos {
        int column = 0, line = 0;
        bool operator==(const Pos& o) const { return column == o.column && line == o.line; }
        bool operator!=(const Pos& o) const { return !(*this == o); }
    };
    struct State {
        std::vector<std::string> lines{""};
        Pos caret, anchor;
    };
    struct Saved {
        std::string bytes;
        std::vector<size_t> lengths;
        Pos caret, anchor;
    };

    static const int TabSize = 4;
    State now;
    std::vector<Saved> undo, redo;
    std::string clipboard;
    bool hasClipboard = false;
    int pendingLead = -1;

    // ---- characters ----
    static bool Lead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }
    static bool Trail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }
    static bool Alnum(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }
    static int Length(const std::string& s, int i)
    {
        const int n = static_cast<int>(s.size());
        if (i < 0 || i >= n)
            return 0;
        return Lead(static_cast<unsigned char>(s[i])) && i + 1 < n && Trail(static_cast<unsigned char>(s[i + 1])) ? 2 : 1;
    }
    // Every character start of the line, from its first byte on.
    static std::vector<int> Starts(const std::string& s)
    {
        std::vector<int> out;
        for (int i = 0; i < static_cast<int>(s.size()); i += Length(s, i))
            out.push_back(i);
        return out;
    }
    static int Snap(const std::string& s, int column)
    {
        if (column <= 0 || column >= static_cast<int>(s.size()))
            return column;
        int start = 0;
        for (int i : Starts(s))
            if (i <= column)
                start = i;
        return start;
    }
    static int Before(const std::string& s, int column)
    {
        if (column > static_cast<int>(s.size()))
            return column - 1;
        return Snap(s, column - 1);
    }

    std::vector<std::string>& L() { return now.lines; }
    std::string& Line(int i) { return now.lines[static_cast<size_t>(i)]; }
    int Count() const { return static_cast<int>(now.lines.size()); }
    int Len(int i) const { return i >= 0 && i < Count() ? static_cast<int>(now.lines[static_cast<size_t>(i)].size()) : 0; }
    bool HasSelection() const { return now.caret != now.anchor; }
    static int TabRun(int column) { return TabSize - ((column % TabSize) + TabSize) % TabSize; }

    void Clamp(Pos& p) const
    {
        p.line = std::clamp(p.line, 0, Count() - 1);
        p.column = std::clamp(p.column, 0, Len(p.line));
        p.column = Snap(now.lines[static_cast<size_t>(p.line)], p.column);
    }

    // ---- whole text ----
    void Load(const std::string& text)
    {
        std::vector<std::string> lines;
        std::string line;
        for (char c : text) {
            if (c == '\n') {
                lines.push_back(line);
                line.clear();
            } else if (c == '\t') {
                line.append(static_cast<size_t>(TabRun(static_cast<int>(line.size()))), ' ');
            } else if (c != '\r') {
                line += c;
            }
        }
        // Carriage returns after the last line end make no line of their own.
        if (lines.empty() || !line.empty())
            lines.push_back(line);
        now.lines = lines;
        now.caret = now.anchor = Pos{};
        undo.clear();
        redo.clear();
    }

    // ---- edit steps ----
    Saved Save() const
    {
        Saved c;
        const size_t n = now.lines.size();
        c.lengths.resize(n);
        size_t total = 0;
        for (size_t i = 0; i < n; ++i)
            total += c.lengths[i] = now.lines[i].size();
        c.bytes.resize(total);
        char* to = &c.bytes[0];
        for (size_t i = 0; i < n; ++i) {
            now.lines[i].copy(to, c.lengths[i]);
            to += c.lengths[i];
        }
        c.caret = now.caret;
        c.anchor = now.anchor;
        return c;
    }
    void Restore(const Saved& c)
    {
        now.lines.clear();
        size_t at = 0;
        for (size_t length : c.lengths) {
            now.lines.push_back(c.bytes.substr(at, length));
            at += length;
        }
        now.caret = c.caret;
        now.anchor = c.anchor;
    }

    // A step that changed a line is one undo step, also when the text it
    // left is the text it found.
    void Begin()
    {
        redo.clear();
        before_ = Save();
        edited_ = false;
    }
    void End()
    {
        SnapEnds();
        if (edited_)
            undo.push_back(before_);
    }
    void SnapEnds()
    {
        auto snap = [this](Pos& p) {
            if (p.line >= 0 && p.line < Count())
                p.column = Snap(Line(p.line), p.column);
        };
        snap(now.caret);
        snap(now.anchor);
    }
    void Undo() { StepBack(undo, redo); }
    void Redo() { StepBack(redo, undo); }
    // Gives back the last copy of `from`; what stood before goes onto `to`.
    void StepBack(std::vector<Saved>& from, std::vector<Saved>& to)
    {
        if (from.empty())
            return;
        to.push_back(Save());
        Restore(from.back());
        from.pop_back();
        SnapEnds();
    }

    void DeleteSelection()
    {
        if (!HasSelection())
            return;
        edited_ = true;
        Pos first = now.caret, last = now.anchor;
        if (now.caret.line > now.anchor.line || (now.caret.line == now.anchor.line && now.caret.column > now.anchor.column))
            std::swap(first, last);
        if (first.line == last.line) {
            const int n = Len(first.line);
            const int m = std::clamp(first.column, 0, n), big = std::clamp(last.column, 0, n);
            Line(first.line).erase(static_cast<size_t>(m), static_cast<size_t>(big - m));
            now.caret = now.anchor = Pos{m, first.line};
            return;
        }
        // The line where the selection starts keeps its head and takes the tail.
        const std::string& lastText = Line(last.line);
        const std::string tail = lastText.substr(std::min<size_t>(std::max(last.column, 0), lastText.size()));
        std::string& head = Line(first.line);
        head = head.substr(0, std::min<size_t>(std::max(first.column, 0), head.size())) + tail;
        L().erase(L().begin() + first.line + 1, L().begin() + last.line + 1);
        now.caret = now.anchor = first;
    }
    void InsertAtCaret(const std::string& text)
    {
        std::string& line = Line(now.caret.line);
        const size_t at = static_cast<size_t>(std::clamp(now.caret.column, 0, static_cast<int>(line.size())));
        line.insert(at, text);
        edited_ = true;
        now.caret.column = static_cast<int>(at + text.size());
        now.anchor = now.caret;
    }
    void NewLine()
    {
        std::string& line = Line(now.caret.line);
        const size_t at = static_cast<size_t>(std::clamp(now.caret.column, 0, static_cast<int>(line.size())));
        const std::string tail = line.substr(at);
        line.erase(at);
        L().insert(L().begin() + now.caret.line + 1, tail);
        edited_ = true;
        now.caret = now.anchor = Pos{0, now.caret.line + 1};
    }
    void Typed(const std::string& bytes)
    {
        Begin();
        DeleteSelection();
        if (bytes == "\t")
            InsertAtCaret(std::string(static_cast<size_t>(TabRun(now.caret.column)), ' '));
        else if (bytes == "\r")
            NewLine();
        else
            InsertAtCaret(bytes);
        End();
    }
    void Char(unsigned ch)
    {
        if (ch > 0xFF) {
            pendingLead = -1;
            Typed(std::string{static_cast<char>(ch >> 8), static_cast<char>(ch & 0xFF)});
            return;
        }
        if (pendingLead >= 0) {
            const int lead = pendingLead;
            pendingLead = -1;
            if (Trail(static_cast<unsigned char>(ch))) {
                Typed(std::string{static_cast<char>(lead), static_cast<char>(ch)});
                return;
            }
        }
        if (Lead(static_cast<unsigned char>(ch))) {
            pendingLead = static_cast<int>(ch);
            return;
        }
        if ((ch >= 0x20 && ch != 0x7F) || ch == '\r' || ch == '\t')
            Typed(std::string(1, static_cast<char>(ch)));
    }
    void Backspace()
    {
        Begin();
        if (HasSelection()) {
            DeleteSelection();
        } else if (now.caret.column > 0 || now.caret.line > 0) {
            std::string& line = Line(now.caret.line);
            const int column = std::min(now.caret.column, static_cast<int>(line.size()));
            if (column > 0) {
                const int start = Before(line, column);
                line.erase(static_cast<size_t>(start), static_cast<size_t>(column - start));
                now.caret.column = start;
            } else {
                const int above = now.caret.line - 1;
                now.caret = Pos{Len(above), above};
                Line(above) += Line(above + 1);
                L().erase(L().begin() + above + 1);
            }
            now.anchor = now.caret;
            edited_ = true;
        }
        End();
    }
    void Delete()
    {
        Begin();
        if (HasSelection()) {
            DeleteSelection();
        } else {
            std::string& line = Line(now.caret.line);
            const int n = static_cast<int>(line.size());
            if (now.caret.column < n) {
                const int at = std::max(now.caret.column, 0);
                line.erase(static_cast<size_t>(at), static_cast<size_t>(Length(line, at)));
                edited_ = true;
            } else if (now.caret.line < Count() - 1) {
                line += Line(now.caret.line + 1);
                L().erase(L().begin() + now.caret.line + 1);
                edited_ = true;
            }
            now.anchor = now.caret;
        }
        End();
    }
    std::string SelectedText() const
    {
        if (!HasSelection())
            return std::string();
        Pos s = now.caret, e = now.anchor;
        if (s.line > e.line || (s.line == e.line && s.column > e.column))
            std::swap(s, e);
        auto part = [](const std::string& t, int from, int to) {
            from = std::clamp(from, 0, static_cast<int>(t.size()));
            to = std::clamp(to, from, static_cast<int>(t.size()));
            return t.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
        };
        const auto& lines = now.lines;
        if (s.line == e.line)
            return part(lines[static_cast<size_t>(s.line)], s.column, e.column);
        std::string out = part(lines[static_cast<size_t>(s.line)], s.column, Len(s.line));
        for (int l = s.line + 1; l < e.line; ++l)
            out += "\r\n" + lines[static_cast<size_t>(l)];
        return out + "\r\n" + part(lines[static_cast<size_t>(e.line)], 0, e.column);
    }
    void Copy()
    {
        if (HasSelection()) {
            clipboard = SelectedText();
            hasClipboard = true;
        }
    }
    void Cut()
    {
        Begin();
        Copy();
        DeleteSelection();
        End();
    }
    // A pasted text: CR dropped, LF breaks the line, a tab fills to its stop
    // counted from where the pasted piece of the line starts.
    void Paste()
    {
        if (!hasClipboard)
            return;
        Begin();
        DeleteSelection();
        std::vector<std::string> pieces{""};
        int column = now.caret.column;
        for (char c : clipboard) {
            if (c == '\n') {
                pieces.emplace_back();
                column = 0;
            } else if (c == '\t') {
                pieces.back().append(static_cast<size_t>(TabRun(column)), ' ');
                column += TabRun(column);
            } else if (c != '\r') {
                pieces.back() += c;
                ++column;
            }
        }
        std::string& line = Line(now.caret.line);
        const size_t at = std::min<size_t>(static_cast<size_t>(std::max(now.caret.column, 0)), line.size());
        edited_ = edited_ || pieces.size() > 1 || !pieces[0].empty();
        if (pieces.size() == 1) {
            line.insert(at, pieces[0]);
            now.caret.column = static_cast<int>(at + pieces[0].size());
        } else {
            // The caret ends at the end of the last line, after the old tail.
            const std::string tail = line.substr(at);
            line = line.substr(0, at) + pieces[0];
            pieces.back() += tail;
            L().insert(L().begin() + now.caret.line + 1, pieces.begin() + 1, pieces.end());
            now.caret.line += static_cast<int>(pieces.size()) - 1;
            now.caret.column = static_cast<int>(pieces.back().size());
        }
        now.anchor = now.caret;
        End();
    }

    // ---- moves ----
    void Select(Pos anchor, Pos caret)
    {
        Clamp(anchor);
        Clamp(caret);
        now.anchor = anchor;
        now.caret = caret;
    }
    static bool SpaceAt(const std::string& s, int i)
    {
        const char c = s[static_cast<size_t>(i)];
        return Length(s, i) == 1 && (c == ' ' || (c >= '\t' && c <= '\r'));
    }
    static bool AlnumAt(const std::string& s, int i) { return Length(s, i) == 1 && Alnum(s[static_cast<size_t>(i)]); }
    // The column under the same x on another line, in a fixed-width font.
    int ColumnBelow(int column, int line) const
    {
        const std::string& s = now.lines[static_cast<size_t>(line)];
        return column >= static_cast<int>(s.size()) ? static_cast<int>(s.size()) : Snap(s, column);
    }
    void Move(int key, bool shift, bool control, int visibleLines)
    {
        Pos& c = now.caret;
        const int last = Count() - 1;
        const std::string line = Line(c.line);
        switch (key) {
        case KeyHome: c = control ? Pos{0, 0} : Pos{0, c.line}; break;
        case KeyEnd: c = control ? Pos{Len(last), last} : Pos{Len(c.line), c.line}; break;
        case KeyUp:
            if (c.line > 0)
                c = Pos{ColumnBelow(std::min(c.column, Len(c.line)), c.line - 1), c.line - 1};
            break;
        case KeyDown:
            if (c.line < last)
                c = Pos{ColumnBelow(std::min(c.column, Len(c.line)), c.line + 1), c.line + 1};
            break;
        case KeyPrior:
        case KeyNext: {
            const int shown = std::min(visibleLines, Count());
            int target = key == KeyPrior ? c.line - shown : c.line + shown;
            target = key == KeyPrior ? (target < 1 ? 0 : target) : (target >= last ? last : target);
            c = Pos{ColumnBelow(std::min(c.column, Len(c.line)), target), target};
            break;
        }
        case KeyLeft:
            if (control) {
                WordLeft(line);
            } else {
                const int to = c.column > 0 ? Before(line, c.column) : -1;
                c = to >= 0 ? Pos{to, c.line} : c.line > 0 ? Pos{Len(c.line - 1), c.line - 1} : Pos{0, 0};
            }
            break;
        case KeyRight:
            if (control) {
                WordRight(line);
            } else {
                const int to = c.column + std::max(1, Length(line, c.column));
                c = to <= static_cast<int>(line.size()) ? Pos{to, c.line}
                    : c.line < last                    ? Pos{0, c.line + 1}
                                                       : Pos{static_cast<int>(line.size()), c.line};
            }
            break;
        }
        if (!shift)
            now.anchor = c;
    }
    void WordLeft(const std::string& line)
    {
        Pos& c = now.caret;
        if (c.column <= 0) {
            if (c.line > 0)
                c = Pos{Len(c.line - 1), c.line - 1};
            return;
        }
        const int to = std::min(c.column, static_cast<int>(line.size()));
        std::vector<int> starts;
        for (int i : Starts(line))
            if (i < to)
                starts.push_back(i);
        bool seen = false;
        for (size_t k = starts.size(); k-- > 0;) {
            const int i = starts[k];
            if (!SpaceAt(line, i))
                seen = true;
            if (seen && !AlnumAt(line, i)) {
                c.column = k + 1 == starts.size() ? i : i + Length(line, i);
                return;
            }
        }
        c.column = 0;
    }
    void WordRight(const std::string& line)
    {
        Pos& c = now.caret;
        const int n = static_cast<int>(line.size());
        if (c.column >= n) {
            c = c.line + 1 < Count() ? Pos{0, c.line + 1} : Pos{Len(Count() - 1), Count() - 1};
            return;
        }
        bool seen = false;
        for (int i = c.column; i < n; i += Length(line, i)) {
            if (!SpaceAt(line, i))
                seen = true;
            if (seen && !AlnumAt(line, i)) {
                c.column = i == c.column ? i + Length(line, i) : i;
                return;
            }
        }
        c.column = n;
    }
    // The word at a point; anything else that is not a letter or digit is
    // selected on its own. The caret goes to the word's start.
    void DoubleClick(Pos at)
    {
        at.line = std::clamp(at.line, 0, Count() - 1);
        const std::string& s = Line(at.line);
        const int n = static_cast<int>(s.size());
        const int column = Snap(s, std::clamp(at.column, 0, n));
        int start = 0;
        for (int i : Starts(s))
            if (i <= column && !Alnum(s[static_cast<size_t>(i)]))
                start = i + Length(s, i);
        int end = column;
        while (end < n && Alnum(s[static_cast<size_t>(end)]))
            ++end;
        Pos caret{start, at.line}, anchor{end, at.line};
        Clamp(caret);
        Clamp(anchor);
        now.caret = caret;
        now.anchor = anchor;
    }

private:
    Saved before_;
    bool edited_ = false;
};

// Plays scripts of bytes: each action is an operation byte and the argument
// bytes it takes (missing bytes read as 0). Every action goes to the editor
// model through the entry points the window uses and to the plain editor;
// Step returns what differs after it, empty when they agree.
class EditScript {
public:
    // A script stops once its actions came to `workLimit` (each action costs
    // the lines it compares and an eighth of their bytes, and a run of Enters,
    // undos or redos as much again per repeat), so that any script plays
    // quickly, also one that pastes a line long.
    explicit EditScript(size_t workLimit = SIZE_MAX) : workLimit_(workLimit) { fixture_.Load(""); }

    // Texts of as many lines as the loads ask for: the small counts, and
    // counts past the store's room after a load.
    static int LoadLines(unsigned pick)
    {
        static const int counts[] = {0, 1, 7, 8, 9, 64, 65, 2, 15, 16, 17, 100, 1000, 3000, 4097};
        return counts[pick % (sizeof counts / sizeof *counts)];
    }
    static std::string LoadText(int lines, unsigned seed, bool lastLineEnd)
    {
        static const char* const pieces[] = {"ab", " ", "\t", "x1", "\xD6\xD0", "/*", "*/", "IF", "\r", "(", "9", "\xB9"};
        std::string text;
        unsigned x = seed * 2654435761u + 1;
        for (int i = 0; i < lines; ++i) {
            x = x * 1103515245u + 12345u;
            const unsigned count = (x >> 16) % 6;
            for (unsigned k = 0; k < count; ++k) {
                x = x * 1103515245u + 12345u;
                text += pieces[(x >> 16) % (sizeof pieces / sizeof *pieces)];
            }
            if (i + 1 < lines || lastLineEnd)
                text += '\n';
        }
        return text;
    }

    // Runs the action at `p` (advancing it); returns the difference found.
    std::string Step(const uint8_t*& p, const uint8_t* end)
    {
        // Never two reads in one expression: C++ leaves their order to the
        // compiler, and a script must play the same under every compiler and
        // flag, as the kept traces and the fuzzers' reproducers were recorded.
        auto next = [&]() -> unsigned { return p < end ? *p++ : 0u; };
        EditorModel& m = fixture_.model;
        filledBefore_ = Filled();
        const unsigned op = next() % 20;
        size_t repeats = 0;
        std::string what;
        bool edit = true;
        switch (op) {
        case 0: case 1: case 2: {   // a printable character
            const unsigned ch = 0x20 + next() % 0x5F;
            what = "type " + std::string(1, static_cast<char>(ch));
            fixture_.model.OnChar(ch);
            plain_.Char(ch);
            break;
        }
        case 3: {   // a double-byte character, in two halves or as one code
            const unsigned lead = 0x81 + next() % 0x7E;
            unsigned trail = 0x40 + next() % 0xBF;
            if (trail == 0x7F)
                trail = 0x80;
            const bool halves = next() % 2 == 0;
            what = "type a double-byte character";
            if (halves) {
                m.OnChar(lead);
                plain_.Char(lead);
                m.OnChar(trail);
                plain_.Char(trail);
            } else {
                m.OnChar(lead << 8 | trail);
                plain_.Char(lead << 8 | trail);
            }
            break;
        }
        case 4: {   // any byte: controls, tab, lone lead bytes
            const unsigned ch = next();
            what = "char " + std::to_string(ch);
            m.OnChar(ch);
            plain_.Char(ch);
            break;
        }
        case 5: {   // Enter, once or many times
            const unsigned times = Repeats(next() % 4 == 0 ? 1 + next() % 100 : 1);
            repeats = times;
            what = "enter x" + std::to_string(times);
            for (unsigned i = 0; i < times; ++i) {
                m.OnChar('\r');
                plain_.Char('\r');
            }
            break;
        }
        case 6: case 7: {   // Backspace or Delete, at the caret or a line's start or end
            const unsigned where = next() % 4;
            const int line = static_cast<int>(next() * 131 % static_cast<unsigned>(m.GetLineCount()));
            if (where == 1 || where == 2) {
                const int column = where == 1 ? 0 : 100000;
                m.SetSelection(column, line, column, line);
                plain_.Select({column, line}, {column, line});
            }
            const int key = op == 6 ? KeyBack : KeyDelete;
            what = std::string(op == 6 ? "backspace" : "delete") + (where == 1 ? " at a line start" : where == 2 ? " at a line end" : "");
            fixture_.Key(key);
            if (key == KeyBack)
                plain_.Backspace();
            else
                plain_.Delete();
            break;
        }
        case 8: {   // a selection, often over several lines
            const int count = m.GetLineCount();
            const unsigned high = next(), low = next();
            const int anchorLine = static_cast<int>((high * 257 + low) % static_cast<unsigned>(count));
            const int span = static_cast<int>(next() % 12) - 4;
            const int caretLine = std::clamp(anchorLine + span, 0, count - 1);
            const int anchorColumn = static_cast<int>(next() % 24), caretColumn = static_cast<int>(next() % 24);
            what = "select";
            edit = false;
            m.SetSelection(anchorColumn, anchorLine, caretColumn, caretLine);
            plain_.Select({anchorColumn, anchorLine}, {caretColumn, caretLine});
            break;
        }
        case 9: {   // a caret anywhere
            const unsigned high = next(), low = next();
            const int line = static_cast<int>((high * 257 + low) % static_cast<unsigned>(m.GetLineCount()));
            const int column = static_cast<int>(next() % 30);
            what = "place the caret";
            edit = false;
            m.SetSelection(column, line, column, line);
            plain_.Select({column, line}, {column, line});
            break;
        }
        case 10: {   // a clipboard text of one or many lines, then paste
            const unsigned lines = next() % 3 == 0 ? next() % 120 : next() % 3;
            std::string text = LoadText(static_cast<int>(lines) + 1, next(), false);
            for (size_t i = 0; i < text.size(); ++i)
                if (text[i] == '\n' && next() % 2)
                    text.insert(i++, "\r");
            fixture_.win.clipboard = text;
            fixture_.win.hasClipboardText = true;
            plain_.clipboard = text;
            plain_.hasClipboard = true;
            what = "paste " + std::to_string(lines + 1) + " lines";
            m.DoCommand(EditCommand::Paste);
            plain_.Paste();
            break;
        }
        case 11:   // paste what is on the clipboard
            what = "paste again";
            m.DoCommand(EditCommand::Paste);
            plain_.Paste();
            break;
        case 12:
            what = "cut";
            m.TranslateAccelerator('X', ModControl);
            plain_.Cut();
            break;
        case 13:
            what = "copy";
            edit = false;
            m.TranslateAccelerator('C', ModControl);
            plain_.Copy();
            break;
        case 14: case 15: {   // a run of undos or redos
            const bool undo = op == 14;
            const unsigned most = next() % 4 == 0 ? 64 : 4;
            const unsigned times = Repeats(1 + next() % most);
            repeats = times;
            what = std::string(undo ? "undo" : "redo") + " x" + std::to_string(times);
            for (unsigned i = 0; i < times; ++i) {
                m.TranslateAccelerator(undo ? 'Z' : 'Y', ModControl);
                if (undo)
                    plain_.Undo();
                else
                    plain_.Redo();
            }
            break;
        }
        case 16: {   // a move key, with or without Shift and Control
            static const int keys[] = {KeyHome, KeyEnd, KeyUp, KeyDown, KeyLeft, KeyRight, KeyPrior, KeyNext};
            const unsigned b = next();
            const int key = keys[b % 8];
            const bool shift = (b >> 3) & 1, control = (b >> 4) & 1;
            what = "key " + std::to_string(key) + (shift ? " shift" : "") + (control ? " control" : "");
            edit = false;
            fixture_.Key(key, (shift ? ModShift : 0) | (control ? ModControl : 0));
            plain_.Move(key, shift, control, m.GetVisibleLines(true));
            break;
        }
        case 17: {   // a double click at a point of the view
            const int column = m.GetFirstVisibleColumn() + static_cast<int>(next() % 40);
            const int line = m.GetFirstVisibleLine() + static_cast<int>(next() % 10);
            what = "double click";
            edit = false;
            m.OnDoubleClick(4 + (column - m.GetFirstVisibleColumn()) * 8, (line - m.GetFirstVisibleLine()) * 16 + 3);
            plain_.DoubleClick({column, line});
            break;
        }
        case 18: {   // a load
            int lines = LoadLines(next());
            // A few large texts per script: every action is compared over
            // every line, and a script must stay quick to play.
            if (lines > 100 && ++largeLoads_ > 3)
                lines = 65;
            const bool lastLineEnd = next() % 4 != 0;
            const std::string text = LoadText(lines, next(), lastLineEnd);
            what = "load " + std::to_string(lines) + " lines";
            fixture_.Load(text);
            plain_.Load(text);
            break;
        }
        default:   // a tab
            what = "tab";
            m.OnChar('\t');
            plain_.Char('\t');
            break;
        }
        ++steps_;
        std::string difference = Compare(what, edit);
        work_ += (1 + repeats) * (plain_.now.lines.size() + bytes_ / 8);
        return difference;
    }

    // The fuzzer's scripts: every action is compared over every line, so a
    // script is kept to a few hundred actions and to what a few dozen actions
    // on the largest texts cost; what follows is not played.
    static constexpr size_t FuzzedScriptBytes = 768;
    static constexpr size_t FuzzedScriptWork = 60000;
    static std::string RunFuzzed(const uint8_t* data, size_t size)
    {
        EditScript script(FuzzedScriptWork);
        return script.Run(data, std::min(size, FuzzedScriptBytes));
    }

    // Plays a whole script; returns the first difference, empty when none.
    std::string Run(const uint8_t* data, size_t size)
    {
        const uint8_t* p = data;
        const uint8_t* end = data + size;
        while (p < end && work_ < workLimit_) {
            std::string difference = Step(p, end);
            if (!difference.empty())
                return difference;
        }
        return Compare("the end of the script", false, true);
    }

    EditorFixture& Fixture() { return fixture_; }
    const PlainEditor& Plain() const { return plain_; }

private:
    std::string Compare(const std::string& what, bool edit, bool final = false)
    {
        const EditorModel& m = fixture_.model;
        std::ostringstream out;
        const auto& lines = plain_.now.lines;
        if (m.GetLineCount() != static_cast<int>(lines.size()))
            out << "line count " << m.GetLineCount() << ", plainly " << lines.size() << '\n';
        size_t longest = 0;
        bytes_ = 0;
        for (size_t i = 0; i < lines.size(); ++i) {
            longest = std::max(longest, lines[i].size());
            bytes_ += lines[i].size();
            if (static_cast<int>(i) < m.GetLineCount() && m.Document().Text().GetLine(static_cast<int>(i)) != lines[i]) {
                out << "line " << i << " \"" << m.Document().Text().GetLine(static_cast<int>(i)) << "\", plainly \"" << lines[i] << "\"\n";
                break;
            }
        }
        const PlainEditor::Pos caret{m.CaretColumn(), m.CaretLine()}, anchor{m.AnchorColumn(), m.AnchorLine()};
        if (caret != plain_.now.caret)
            out << "caret " << caret.column << ',' << caret.line << ", plainly " << plain_.now.caret.column << ','
                << plain_.now.caret.line << '\n';
        if (anchor != plain_.now.anchor)
            out << "anchor " << anchor.column << ',' << anchor.line << ", plainly " << plain_.now.anchor.column << ','
                << plain_.now.anchor.line << '\n';
        if (m.Document().UndoDeque().size() != plain_.undo.size() || m.Document().RedoDeque().size() != plain_.redo.size())
            out << "undo " << m.Document().UndoDeque().size() << " redo " << m.Document().RedoDeque().size() << ", plainly "
                << plain_.undo.size() << ' ' << plain_.redo.size() << '\n';
        if (fixture_.win.hasClipboardText != plain_.hasClipboard || fixture_.win.clipboard != plain_.clipboard)
            out << "clipboard \"" << fixture_.win.clipboard << "\", plainly \"" << plain_.clipboard << "\"\n";
        if (m.Document().Text().MaxLineLength() != static_cast<int>(longest))
            out << "longest line " << m.Document().Text().MaxLineLength() << ", plainly " << longest << '\n';
        // An edit leaves a window that was filled with lines filled.
        if (edit && filledBefore_ && !Filled())
            out << "first visible line " << m.GetFirstVisibleLine() << " of " << m.GetLineCount() << '\n';
        // The colours cost a walk over every byte: every few actions, and at
        // the end of a script.
        if (steps_ % (lines.size() < 200 ? 4 : 64) == 0 || final)
            CompareColours(out);
        const std::string difference = out.str();
        return difference.empty() ? difference : "after step " + std::to_string(steps_) + " (" + what + "):\n" + difference;
    }
    // As many repeats of an action as the work left allows, at least one.
    unsigned Repeats(unsigned wanted) const
    {
        const size_t each = plain_.now.lines.size() + bytes_ / 8 + 1;
        const size_t left = work_ < workLimit_ ? (workLimit_ - work_) / each : 0;
        return static_cast<unsigned>(std::max<size_t>(1, std::min<size_t>(wanted, left)));
    }
    // No empty room below the last line while there are lines above the view.
    bool Filled() const
    {
        const EditorModel& m = fixture_.model;
        const int whole = fixture_.win.client.height / 16;
        return m.GetFirstVisibleLine() <= std::max(0, m.GetLineCount() - whole);
    }
    void CompareColours(std::ostringstream& out)
    {
        std::vector<uint32_t> plain;
        int state = StateNormal;
        for (const std::string& line : plain_.now.lines)
            for (size_t pos = 0; pos < line.size();) {
                ColorToken t = ScanToken(line, pos, state);
                plain.insert(plain.end(), t.length, 0x100u + static_cast<uint32_t>(t.colorClass));
                pos += t.length;
            }
        if (fixture_.model.GetCharColors() != plain)
            out << "colours differ\n";
    }

    EditorFixture fixture_;
    PlainEditor plain_;
    int steps_ = 0;
    bool filledBefore_ = true;
    int largeLoads_ = 0;
    size_t work_ = 0;
    size_t bytes_ = 0;   // in the text after the last action
    const size_t workLimit_;
};

} // namespace quvpad::test
