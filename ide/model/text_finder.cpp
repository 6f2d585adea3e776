#include "ide/model/text_finder.hpp"

#include <algorithm>

#include "compiler/core/gbk.hpp"
#include "editor/text_columns.hpp"
#include "ide/model/find_regex.hpp"

namespace ide {

namespace {

bool before(TextPos a, TextPos b) { return a.line < b.line || (a.line == b.line && a.col < b.col); }

std::string bytesFrom(const std::string& line, int col, size_t count = std::string::npos)
{
    const size_t from = static_cast<size_t>(std::max(col, 1) - 1);
    return from < line.size() ? line.substr(from, count) : std::string();
}

// The opening bracket of a closing one and the other way round; 0 for other bytes.
char partnerOf(char c)
{
    switch (c) {
    case '(': return ')';
    case ')': return '(';
    case '[': return ']';
    case ']': return '[';
    case '{': return '}';
    case '}': return '{';
    default: return 0;
    }
}

// Byte indexes of the brackets of a line. A GBK trail byte may equal a
// bracket's code; it is part of its character and no bracket.
std::vector<int> bracketsOf(const std::string& line)
{
    std::vector<int> at;
    for (int i = 0; i < static_cast<int>(line.size());) {
        const int length = quvpad::CharLength(line, i);
        if (length == 1 && partnerOf(line[i]))
            at.push_back(i);
        i += length;
    }
    return at;
}

// The byte index of the bracket at column `col` of a line with these
// brackets: the character before the caret first; -1 when there is none.
int bracketAt(const std::string& line, const std::vector<int>& brackets, int col)
{
    const auto has = [&brackets](int at) { return std::find(brackets.begin(), brackets.end(), at) != brackets.end(); };
    const int caretIndex = col - 1;
    if (col > 1 && caretIndex <= static_cast<int>(line.size())) {
        const int previous = quvpad::PreviousCharStart(line, caretIndex);
        if (previous >= 0 && has(previous))
            return previous;
    }
    return has(caretIndex) ? caretIndex : -1;
}

} // namespace

std::string GetSelectedText(FinderEditor& editor)
{
    if (!editor.GetBCanCopy())
        return std::string();
    TextPos start = editor.Anchor(), end = editor.Caret();
    if (before(end, start))
        std::swap(start, end);
    if (start.line == end.line)
        return end.col > start.col ? bytesFrom(editor.GetLine(start.line - 1), start.col, end.col - start.col)
                                   : std::string();
    std::string text = bytesFrom(editor.GetLine(start.line - 1), start.col) + "\n";
    for (int line = start.line + 1; line < end.line; ++line)
        text += editor.GetLine(line - 1) + "\n";
    return text + editor.GetLine(end.line - 1).substr(0, static_cast<size_t>(std::max(end.col, 1) - 1));
}

template <class From, class To>
void CTextFinder::CopyFindFields(const From& from, To& to)
{
    to.direction = from.direction;
    to.matchCase = from.matchCase;
    to.regularExpression = from.regularExpression;
    to.wrap = from.wrap;
    to.findText = from.findText;
}

void CTextFinder::GetOptions(FindOptions& out) const
{
    CopyFindFields(*this, out);
}

void CTextFinder::SetFindOptions(const FindOptions& in)
{
    CopyFindFields(in, *this);
    searchDefined = 1;
    stale = 1;
}

void CTextFinder::GetReplaceOptions(ReplaceOptions& out) const
{
    CopyFindFields(*this, out);
    out.scope = scope;
    out.replaceText = replaceText;
}

void CTextFinder::SetReplaceOptions(const ReplaceOptions& in)
{
    CopyFindFields(in, *this);
    scope = in.scope;
    replaceText = in.replaceText;
    searchDefined = 1;
    stale = 1;
}

bool CTextFinder::ListCurrent()
{
    // Every edit changes the text, but the control reports only changes of
    // its modified flag: its change count tells whether the list still
    // points at the text that is there.
    return !stale && editor.GetChangeCount() == snapshotChange;
}

void CTextFinder::Refresh()
{
    if (!ListCurrent())
        Search(editor.UnloadText());
}

void CTextFinder::Search(std::string text)
{
    snapshotChange = editor.GetChangeCount();
    snapshot = std::move(text);
    stale = 0;
    matches.clear();
    lineStarts.assign(1, 0);
    for (size_t i = 0; i < snapshot.size(); ++i)
        if (snapshot[i] == '\n' && i + 1 < snapshot.size())
            lineStarts.push_back(i + 1);
    // The dialogs refuse an expression that does not compile; one too complex
    // for the library ends the list where it gave up.
    try {
        const boost::regex expression = MakeFindExpression(findText, regularExpression, matchCase);
        GrepAll(expression, snapshot, [this](size_t offset, const std::string& what) {
            matches.push_back({offset, what});
        });
    } catch (const std::runtime_error&) {
    }
}

bool CTextFinder::Merge(const std::string& source, std::string& result) const
{
    try {
        result = MergeAll(MakeFindExpression(findText, regularExpression, matchCase), source, replaceText);
        return true;
    } catch (const std::runtime_error&) {
        return false;  // the text stays as it is
    }
}

size_t CTextFinder::LineEnd(int line) const
{
    if (static_cast<size_t>(line) < lineStarts.size())
        return lineStarts[line] - 1;
    const size_t start = lineStarts[line - 1];
    return snapshot.size() > start && snapshot.back() == '\n' ? snapshot.size() - 1 : snapshot.size();
}

size_t CTextFinder::LineColToOffset(TextPos at) const
{
    const int line = std::clamp(at.line, 1, static_cast<int>(lineStarts.size()));
    const size_t start = lineStarts[line - 1];
    return start + std::min(static_cast<size_t>(std::max(at.col, 1) - 1), LineEnd(line) - start);
}

TextPos CTextFinder::OffsetToLineCol(size_t offset) const
{
    const auto after = std::upper_bound(lineStarts.begin(), lineStarts.end(), offset);
    const int line = static_cast<int>(after - lineStarts.begin());
    const size_t start = lineStarts[line - 1];
    return {line, 1 + static_cast<int>(std::min(offset - start, LineEnd(line) - start))};
}

bool CTextFinder::Locate(bool forward, int& startLine, int& startCol, int& endLine, int& endCol)
{
    TextPos start, end;
    bool found = false;
    // After an edit or new options, a find that stays within lines reads
    // only the lines up to its match instead of the whole text.
    if (ListCurrent() || !LocateInLines(forward, start, end, found)) {
        Refresh();
        found = LocateInList(forward, start, end);
    }
    if (!found)
        return false;
    startLine = start.line;
    startCol = start.col;
    endLine = end.line;
    endCol = end.col;
    return true;
}

bool CTextFinder::LocateInList(bool forward, TextPos& start, TextPos& end)
{
    if (matches.empty())
        return false;
    const size_t from = LineColToOffset(editor.Caret());
    const TextMatch* pick = nullptr;
    const TextMatch* const last = matches.data() + matches.size();
    if (forward) {
        pick = &*std::lower_bound(matches.begin(), matches.end(), from,
                                  [](const TextMatch& m, size_t at) { return m.offset < at; });
        if (pick == last)
            pick = nullptr;
        // The text's last line end has no place after it: selected, it leaves
        // the caret before itself, where the next find would select it again.
        if (pick && LineColToOffset(OffsetToLineCol(pick->offset + pick->text.size())) <= pick->offset &&
            Selects(*pick))
            pick = pick + 1 != last ? pick + 1 : nullptr;
        if (!pick && wrap)
            pick = &matches.front();
    } else {
        // A match that ends at the caret, such as the one just selected, is
        // passed over. The matches do not overlap, so their ends are in order too.
        const auto after = std::partition_point(matches.begin(), matches.end(), [from](const TextMatch& m) {
            return m.offset + m.text.size() < from;
        });
        if (after != matches.begin())
            pick = &*(after - 1);
        if (!pick && wrap)
            pick = &matches.back();
    }
    if (!pick)
        return false;
    start = OffsetToLineCol(pick->offset);
    end = OffsetToLineCol(pick->offset + pick->text.size());
    return true;
}

bool CTextFinder::LocateInLines(bool forward, TextPos& start, TextPos& end, bool& found)
{
    // A literal text without a line end matches within a line, and only the
    // line's own bytes decide where: searched line by line, each line from
    // its start, it gives the matches a search of the whole text gives.
    // The match list is left as it is; it is rebuilt when it is needed.
    const std::string bytes = gbk::fromUtf8(findText);
    if (regularExpression || bytes.empty() || bytes.find('\n') != std::string::npos)
        return false;
    boost::regex expression;
    try {
        expression = MakeFindExpression(findText, regularExpression, matchCase);
    } catch (const std::runtime_error&) {
        return false;
    }
    const long lineCount = editor.GetTextSize();
    if (lineCount < 1)
        return false;
    // Beyond this many lines a search of the whole text, whose list the next
    // finds then use, costs little more than reading on.
    long budget = 20000;
    struct Hit {
        size_t at, length;
    };
    std::vector<Hit> hits;
    const auto grep = [&](const std::string& text) {
        hits.clear();
        try {
            GrepAll(expression, text, [&hits](size_t at, const std::string& what) { hits.push_back({at, what.size()}); });
        } catch (const std::runtime_error&) {
            hits.clear();  // as a search of the whole text, which ends its list there
        }
    };
    const auto read = [&](long line) {
        grep(editor.GetLine(line - 1));
        return --budget >= 0;
    };
    const auto take = [&](long line, const Hit& hit) {
        start = {static_cast<int>(line), static_cast<int>(hit.at) + 1};
        end = {static_cast<int>(line), static_cast<int>(hit.at + hit.length) + 1};
        found = true;
        return true;
    };
    const TextPos caret = editor.Caret();
    const long caretLine = std::clamp<long>(caret.line, 1, lineCount);
    const std::string caretText = editor.GetLine(caretLine - 1);
    grep(caretText);
    const size_t from = std::min(static_cast<size_t>(std::max(caret.col, 1) - 1), caretText.size());
    const std::vector<Hit> here = hits;
    found = false;
    if (forward) {
        for (const Hit& hit : here)
            if (hit.at >= from)
                return take(caretLine, hit);
        for (long line = caretLine + 1; line <= lineCount; ++line)
            if (!read(line))
                return false;
            else if (!hits.empty())
                return take(line, hits.front());
        if (!wrap)
            return true;
        for (long line = 1; line < caretLine; ++line)
            if (!read(line))
                return false;
            else if (!hits.empty())
                return take(line, hits.front());
        return here.empty() || take(caretLine, here.front());
    }
    for (auto hit = here.rbegin(); hit != here.rend(); ++hit)
        if (hit->at + hit->length < from)
            return take(caretLine, *hit);
    for (long line = caretLine - 1; line >= 1; --line)
        if (!read(line))
            return false;
        else if (!hits.empty())
            return take(line, hits.back());
    if (!wrap)
        return true;
    for (long line = lineCount; line > caretLine; --line)
        if (!read(line))
            return false;
        else if (!hits.empty())
            return take(line, hits.back());
    return here.empty() || take(caretLine, here.back());
}

bool CTextFinder::Selects(const TextMatch& match)
{
    const TextPos start = OffsetToLineCol(match.offset), end = OffsetToLineCol(match.offset + match.text.size());
    const TextPos anchor = editor.Anchor(), caret = editor.Caret();
    return anchor.line == start.line && anchor.col == start.col && caret.line == end.line && caret.col == end.col;
}

bool CTextFinder::FindNext(int& startLine, int& startCol, int& endLine, int& endCol)
{
    return Locate(direction != 0, startLine, startCol, endLine, endCol);
}

bool CTextFinder::FindPrevious(int& startLine, int& startCol, int& endLine, int& endCol)
{
    return Locate(direction == 0, startLine, startCol, endLine, endCol);
}

void CTextFinder::Replace()
{
    std::string result;
    if (!Merge(GetSelectedText(editor), result))
        return;
    editor.ReplaceSelText(result);
    stale = 1;
    editor.PostFindNext();
}

void CTextFinder::ReplaceAll()
{
    Refresh();
    std::string result;
    if (!Merge(scope == 0 ? snapshot : GetSelectedText(editor), result))
        return;
    const TextPos caret = editor.Caret();
    if (scope == 0) {
        editor.LoadText(result, caret.line, caret.col);
    } else {
        editor.ReplaceSelText(result);
        editor.LocatePos(caret.line, caret.col);
    }
}

bool CTextFinder::FindMatchingBracket()
{
    const TextPos caret = editor.Caret();
    if (caret.line < 1 || caret.line > editor.GetTextSize())
        return false;
    const std::string line = editor.GetLine(caret.line - 1);
    const std::vector<int> brackets = bracketsOf(line);
    const int at = bracketAt(line, brackets, caret.col);
    if (at < 0)
        return false;

    const char bracket = line[at];
    const char partner = partnerOf(bracket);
    const bool backward = bracket == ')' || bracket == ']' || bracket == '}';
    const long lineCount = editor.GetTextSize();
    int depth = 0;
    int lineNo = caret.line;
    std::string text = line;
    std::vector<int> marks = brackets;
    bool first = true;
    while (lineNo >= 1 && lineNo <= lineCount) {
        if (!first) {
            text = editor.GetLine(lineNo - 1);
            marks = bracketsOf(text);
        }
        if (backward)
            std::reverse(marks.begin(), marks.end());
        for (int i : marks) {
            if (first && (backward ? i >= at : i <= at))
                continue;
            if (text[i] == partner) {
                if (depth == 0) {
                    if (backward)
                        editor.SetSelection(caret.line, at + 2, lineNo, i + 1);
                    else
                        editor.SetSelection(caret.line, at + 1, lineNo, i + 2);
                    return true;
                }
                --depth;
            } else if (text[i] == bracket) {
                ++depth;
            }
        }
        first = false;
        lineNo += backward ? -1 : 1;
    }
    return false;
}

bool CTextFinder::CanMatchBracket()
{
    const TextPos caret = editor.Caret();
    if (caret.line < 1 || caret.line > editor.GetTextSize())
        return false;
    const std::string line = editor.GetLine(caret.line - 1);
    return bracketAt(line, bracketsOf(line), caret.col) >= 0;
}

} // namespace ide
