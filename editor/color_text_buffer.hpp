// The text of one editor as an array of 8-bit lines, with beside every line the
// colour of each byte, the lexer state at its start and its break-point flag.
// Colouring is lazy: an edit colours its own line at once, and the lines below
// only as far as the view needs them and only while their start state changes.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "editor/settings_block.hpp"

namespace quvpad {

class ColorTextBuffer {
public:
    // Colours are taken from the block's colour table when a line is coloured.
    explicit ColorTextBuffer(const SettingsBlock& settings);

    // Inserts `text` before line `index` (index == line count appends). With
    // colourNow the line is coloured at once; otherwise it waits as a stale line.
    void InsertLine(const std::string& text, int index, bool colourNow);
    void SetLine(const std::string& text, int index);
    void RemoveLine(int index);
    // Empties the store, leaving one empty line.
    void Reset();

    int GetLineCount() const { return static_cast<int>(lines_.size()); }
    const std::string& GetLine(int index) const { return lines_.at(index); }
    const std::vector<uint32_t>& GetLineColors(int index) const { return colors_.at(index); }
    int GetLineStartState(int index) const { return startStates_.at(index); }

    // Colours line `index` from `startState`; returns the state after the line.
    int ColorLine(int startState, int index);
    // Colours stale lines, first stale first, until every line before `limit` is
    // valid; returns the larger of `first` (at least 0) and the last line coloured.
    int ColorUpTo(int first, int limit);
    void RecolorAll();
    // Index of the first line whose colours may be stale; the line count when
    // every line is valid.
    int ColoredUpTo() const { return coloredUpTo_; }

    int UpdateMaxLineLength();
    int MaxLineLength() const { return maxLineLength_; }

    int IsBreakPoint(int index) const { return breakPoints_.at(index); }
    void ToggleBreakPoint(int index);
    const std::vector<int>& BreakPoints() const { return breakPoints_; }

private:
    void MarkStale(int index);
    void SkipValidLines();

    const SettingsBlock& settings_;
    int maxLineLength_ = 0;
    std::vector<std::string> lines_;
    std::vector<std::vector<uint32_t>> colors_;
    // One entry more than there are lines: the last is the state after the text.
    std::vector<int> startStates_;
    std::vector<int> breakPoints_;
    // Per line: coloured from its present start state and unchanged since. The
    // mark alone cannot remember a second stale line further down, so it is
    // kept here and the mark is derived from it.
    std::vector<char> valid_;
    int coloredUpTo_ = 1;
};

} // namespace quvpad
