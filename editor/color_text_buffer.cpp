#include "editor/color_text_buffer.hpp"

#include <algorithm>

#include "editor/color_tokenizer.hpp"

namespace quvpad {

namespace {
// Lengths below this are counted in a vector, longer ones in a map.
const size_t ShortLength = 1024;
} // namespace

ColorTextBuffer::ColorTextBuffer(const SettingsBlock& settings)
    : settings_(settings), endState_(StateNormal), shortLengths_(ShortLength, 0)
{
    palettes_.push_back(CurrentPalette());
}

int ColorTextBuffer::PaletteNow()
{
    Palette now = CurrentPalette();
    if (now != palettes_.back())
        palettes_.push_back(now);
    return static_cast<int>(palettes_.size()) - 1;
}

void ColorTextBuffer::MakeColors(const Line& line, std::vector<uint32_t>& out) const
{
    if (line.colorState < 0)
        return;
    const Palette& palette = palettes_[line.palette];
    const std::string& text = line.text;
    int state = line.colorState;
    size_t pos = 0;
    while (pos < text.size()) {
        ColorToken t = ScanToken(text, pos, state);
        uint32_t color = t.colorClass >= 0 && t.colorClass < ColorClassCount ? palette[t.colorClass] : 0;
        out.insert(out.end(), t.length, color);
        pos += t.length;
    }
}

const std::vector<uint32_t>& ColorTextBuffer::GetLineColors(int index) const
{
    const Line& line = lines_.at(Index(index));
    if (!line.colors) {
        line.colors = std::make_unique<std::vector<uint32_t>>();
        line.colors->reserve(line.text.size());
        MakeColors(line, *line.colors);
    }
    return *line.colors;
}

void ColorTextBuffer::AppendLineColors(int index, std::vector<uint32_t>& out) const
{
    const Line& line = lines_.at(Index(index));
    if (line.colors)
        out.insert(out.end(), line.colors->begin(), line.colors->end());
    else
        MakeColors(line, out);
}

ColorTextBuffer::Palette ColorTextBuffer::CurrentPalette() const
{
    Palette p;
    for (int c = 0; c < ColorClassCount; ++c)
        p[c] = settings_.Color(c);
    return p;
}

int ColorTextBuffer::GetLineStartState(int index) const
{
    if (index == GetLineCount())
        return endState_;
    return lines_.at(Index(index)).startState;
}

void ColorTextBuffer::MarkStale(int index)
{
    Line& line = lines_.at(Index(index));
    if (line.valid) {
        line.valid = false;
        ++staleLines_;
    }
    coloredUpTo_ = std::min(coloredUpTo_, index);
}

// Moves the mark over lines that are valid, so that it stops at the first stale
// line (or the line count).
void ColorTextBuffer::SkipValidLines()
{
    int n = GetLineCount();
    coloredUpTo_ = std::min(coloredUpTo_, n);
    if (staleLines_ == 0) {
        coloredUpTo_ = n;
        return;
    }
    while (coloredUpTo_ < n && lines_[coloredUpTo_].valid)
        ++coloredUpTo_;
}

void ColorTextBuffer::CountLength(size_t length, int delta)
{
    if (length < ShortLength) {
        shortLengths_[length] += delta;
        longestShort_ = std::max(longestShort_, length);
        return;
    }
    auto it = longLengths_.emplace(length, 0).first;
    it->second += delta;
    if (it->second == 0)
        longLengths_.erase(it);
}

int ColorTextBuffer::ColorLine(int startState, int index)
{
    lines_.at(Index(index));   // range check before anything changes
    return ColorLine(PaletteNow(), startState, index);
}

int ColorTextBuffer::ColorLine(int palette, int startState, int index)
{
    Line& line = lines_.at(Index(index));
    int state = LineEndState(line.text, startState);
    line.colorState = static_cast<int8_t>(startState);
    line.palette = palette;
    line.colors.reset();
    line.startState = static_cast<int8_t>(startState);
    if (!line.valid) {
        line.valid = true;
        --staleLines_;
    }
    if (GetLineStartState(index + 1) != state) {
        SetStartState(index + 1, state);
        if (index + 1 < GetLineCount())
            MarkStale(index + 1);
    }
    SkipValidLines();
    return state;
}

int ColorTextBuffer::ColorUpTo(int first, int limit)
{
    int last = std::max(first, 0);
    if (coloredUpTo_ >= limit)
        return last;
    int colored = -1;
    const int palette = PaletteNow();
    while (coloredUpTo_ < limit && coloredUpTo_ < GetLineCount()) {
        colored = coloredUpTo_;
        ColorLine(palette, lines_[colored].startState, colored);
    }
    return colored < 0 ? last : std::max(first, colored);
}

// Colours every line in order, each starting in the state the line above
// ended in, as ColorLine line after line would, without its bookkeeping per
// line: a load colours a million lines here.
void ColorTextBuffer::RecolorAll()
{
    UpdateMaxLineLength();
    palettes_.assign(1, CurrentPalette());
    const size_t n = lines_.size();
    if (n == 0)
        return;
    int state = lines_[0].startState;
    for (size_t i = 0; i < n; ++i) {
        Line& line = lines_[i];
        line.startState = static_cast<int8_t>(state);
        line.colorState = static_cast<int8_t>(state);
        line.palette = 0;
        line.colors.reset();
        line.valid = true;
        state = LineEndState(line.text, state);
    }
    endState_ = state;
    staleLines_ = 0;
    coloredUpTo_ = static_cast<int>(n);
}

void ColorTextBuffer::SetStartState(int index, int state)
{
    if (index == GetLineCount())
        endState_ = state;
    else
        lines_[static_cast<size_t>(index)].startState = static_cast<int8_t>(state);
}

// A valid line holds the colours its text and start state give, and the line
// after it starts in its end state; so colouring the stale lines in order,
// each passing its end state on, gives what colouring every line gives.
void ColorTextBuffer::RecolorStale()
{
    if (palettes_.size() > 1 || CurrentPalette() != palettes_.back()) {
        RecolorAll();
        return;
    }
    UpdateMaxLineLength();
    ColorUpTo(0, GetLineCount());
}

void ColorTextBuffer::InsertLine(std::string text, int index, bool colourNow)
{
    int s = GetLineStartState(index);
    const size_t length = text.size();
    Line line;
    line.text = std::move(text);
    line.startState = static_cast<int8_t>(s);
    lines_.insert(static_cast<size_t>(index), std::move(line));
    ++staleLines_;
    CountLength(length, 1);
    breakPointsStale_ = true;
    if (coloredUpTo_ >= index)
        ++coloredUpTo_;   // the lines below moved down with the mark
    if (colourNow) {
        UpdateMaxLineLength();
        ColorLine(s, index);
    } else {
        MarkStale(index);
    }
}

void ColorTextBuffer::InsertColoredLine(std::string text, int index)
{
    const int s = GetLineStartState(index);
    const int state = LineEndState(text, s);
    const size_t length = text.size();
    Line line;
    line.text = std::move(text);
    line.startState = static_cast<int8_t>(s);
    line.colorState = static_cast<int8_t>(s);
    line.palette = static_cast<int32_t>(palettes_.size()) - 1;
    line.valid = true;
    lines_.insert(static_cast<size_t>(index), std::move(line));
    CountLength(length, 1);
    breakPointsStale_ = true;
    if (coloredUpTo_ >= index)
        ++coloredUpTo_;   // the lines below moved down with the mark
    // The line below now starts in this line's end state.
    if (state != s) {
        SetStartState(index + 1, state);
        if (index + 1 < GetLineCount())
            MarkStale(index + 1);
    }
}

void ColorTextBuffer::SetLine(const std::string& text, int index)
{
    Line& line = lines_.at(Index(index));
    std::string& stored = line.text;
    CountLength(stored.size(), -1);
    CountLength(text.size(), 1);
    stored = text;
    ColorLine(lines_[index].startState, index);
    UpdateMaxLineLength();
}

void ColorTextBuffer::RemoveLine(int index)
{
    const Line& removed = lines_.at(Index(index));   // range check before anything changes
    // The following line now starts where the removed one started; it was
    // coloured from the removed line's end state, so it is stale if they differ.
    int s = removed.startState;
    CountLength(removed.text.size(), -1);
    if (!removed.valid)
        --staleLines_;
    lines_.erase(static_cast<size_t>(index));
    breakPointsStale_ = true;
    UpdateMaxLineLength();
    bool changed = GetLineStartState(index) != s;
    SetStartState(index, s);
    if (coloredUpTo_ > index)
        --coloredUpTo_;
    if (changed && index < GetLineCount())
        MarkStale(index);
    SkipValidLines();
}

void ColorTextBuffer::Reset()
{
    lines_.clear();
    palettes_.assign(1, CurrentPalette());   // no line holds an older table
    std::fill(shortLengths_.begin(), shortLengths_.end(), 0);
    longLengths_.clear();
    longestShort_ = 0;
    staleLines_ = 0;
    breakPointsStale_ = true;
    endState_ = StateNormal;
    coloredUpTo_ = 1;
    UpdateMaxLineLength();
    InsertLine(std::string(), 0, true);
}

int ColorTextBuffer::UpdateMaxLineLength()
{
    size_t m = 0;
    if (!longLengths_.empty()) {
        m = longLengths_.rbegin()->first;
    } else {
        while (longestShort_ > 0 && shortLengths_[longestShort_] == 0)
            --longestShort_;
        m = longestShort_;
    }
    maxLineLength_ = static_cast<int>(m);
    return maxLineLength_;
}

void ColorTextBuffer::ToggleBreakPoint(int index)
{
    uint8_t& flag = lines_.at(Index(index)).breakPoint;
    flag = flag == 0 ? 1 : 0;
    if (!breakPointsStale_)
        breakPoints_[index] = flag;
}

const std::vector<int>& ColorTextBuffer::BreakPoints() const
{
    if (breakPointsStale_) {
        breakPoints_.resize(lines_.size());
        for (size_t i = 0; i < lines_.size(); ++i)
            breakPoints_[i] = lines_[i].breakPoint;
        breakPointsStale_ = false;
    }
    return breakPoints_;
}

} // namespace quvpad
