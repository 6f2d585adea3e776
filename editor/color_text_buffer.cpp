#include "editor/color_text_buffer.hpp"

#include <algorithm>

#include "editor/color_tokenizer.hpp"

namespace quvpad {

ColorTextBuffer::ColorTextBuffer(const SettingsBlock& settings)
    : settings_(settings), startStates_{StateNormal}
{
}

void ColorTextBuffer::MarkStale(int index)
{
    valid_.at(index) = 0;
    coloredUpTo_ = std::min(coloredUpTo_, index);
}

// Moves the mark over lines that are valid, so that it stops at the first stale
// line (or the line count).
void ColorTextBuffer::SkipValidLines()
{
    int n = GetLineCount();
    coloredUpTo_ = std::min(coloredUpTo_, n);
    while (coloredUpTo_ < n && valid_[coloredUpTo_])
        ++coloredUpTo_;
}

int ColorTextBuffer::ColorLine(int startState, int index)
{
    const std::string& text = lines_.at(index);
    std::vector<uint32_t>& colors = colors_.at(index);
    int state = startState;
    if (text.empty()) {
        colors.clear();   // an empty line carries a block comment through
    } else {
        colors.resize(text.size());
        size_t pos = 0;
        while (pos < text.size()) {
            ColorToken t = ScanToken(text, pos, state);
            std::fill_n(colors.begin() + pos, t.length, settings_.Color(t.colorClass));
            pos += t.length;
        }
    }
    startStates_.at(index) = startState;
    valid_.at(index) = 1;
    if (startStates_.at(index + 1) != state) {
        startStates_[index + 1] = state;
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
    while (coloredUpTo_ < limit && coloredUpTo_ < GetLineCount()) {
        colored = coloredUpTo_;
        ColorLine(startStates_[colored], colored);
    }
    return colored < 0 ? last : std::max(first, colored);
}

void ColorTextBuffer::RecolorAll()
{
    UpdateMaxLineLength();
    for (int i = 0; i < GetLineCount(); ++i)
        ColorLine(startStates_[i], i);
}

void ColorTextBuffer::InsertLine(const std::string& text, int index, bool colourNow)
{
    int s = startStates_.at(index);
    startStates_.insert(startStates_.begin() + index, s);
    breakPoints_.insert(breakPoints_.begin() + index, 0);
    lines_.insert(lines_.begin() + index, text);
    colors_.insert(colors_.begin() + index, std::vector<uint32_t>());
    valid_.insert(valid_.begin() + index, 0);
    if (coloredUpTo_ >= index)
        ++coloredUpTo_;   // the lines below moved down with the mark
    if (colourNow) {
        UpdateMaxLineLength();
        ColorLine(s, index);
    } else {
        MarkStale(index);
    }
}

void ColorTextBuffer::SetLine(const std::string& text, int index)
{
    lines_.at(index) = text;
    ColorLine(startStates_.at(index), index);
    UpdateMaxLineLength();
}

void ColorTextBuffer::RemoveLine(int index)
{
    lines_.at(index);   // range check before anything changes
    lines_.erase(lines_.begin() + index);
    colors_.erase(colors_.begin() + index);
    breakPoints_.erase(breakPoints_.begin() + index);
    valid_.erase(valid_.begin() + index);
    UpdateMaxLineLength();
    // The following line now starts where the removed one started; it was
    // coloured from the removed line's end state, so it is stale if they differ.
    int s = startStates_[index];
    startStates_.erase(startStates_.begin() + index);
    bool changed = startStates_[index] != s;
    startStates_[index] = s;
    if (coloredUpTo_ > index)
        --coloredUpTo_;
    if (changed && index < GetLineCount())
        MarkStale(index);
    SkipValidLines();
}

void ColorTextBuffer::Reset()
{
    lines_.clear();
    colors_.clear();
    breakPoints_.clear();
    valid_.clear();
    startStates_.assign(1, StateNormal);
    coloredUpTo_ = 1;
    UpdateMaxLineLength();
    InsertLine(std::string(), 0, true);
}

int ColorTextBuffer::UpdateMaxLineLength()
{
    size_t m = 0;
    for (const std::string& line : lines_)
        m = std::max(m, line.size());
    maxLineLength_ = static_cast<int>(m);
    return maxLineLength_;
}

void ColorTextBuffer::ToggleBreakPoint(int index)
{
    int& flag = breakPoints_.at(index);
    flag = flag == 0 ? 1 : 0;
}

} // namespace quvpad
