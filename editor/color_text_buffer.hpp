// The text of one editor as an array of 8-bit lines, with beside every line the
// colour of each byte, the lexer state at its start and its break-point flag.
// Colouring is lazy: an edit colours its own line at once, and the lines below
// only as far as the view needs them and only while their start state changes.
// A coloured line keeps what its colours were made from (its start state then
// and the colour table then), and the colours themselves are made when they
// are first asked for: a large text costs no colour array per byte until its
// lines are shown.
#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "editor/settings_block.hpp"

namespace quvpad {

// A sequence with a gap at the last edit: inserting or erasing next to the
// previous edit (as a paste, a load or an undo does line after line) costs no
// move of the items behind it. Moving the gap elsewhere costs the distance.
// The gap holds no objects, so room reserved for a load is written once, by
// the items stored in it.
template <class T>
class GapVector {
public:
    GapVector() = default;
    GapVector(const GapVector&) = delete;
    GapVector& operator=(const GapVector&) = delete;
    ~GapVector()
    {
        clear();
        ::operator delete(items_);
    }

    size_t size() const { return capacity_ - (gapEnd_ - gapStart_); }
    // Items it holds before it grows again.
    size_t capacity() const { return capacity_; }
    T& operator[](size_t i) { return items_[i < gapStart_ ? i : i + (gapEnd_ - gapStart_)]; }
    const T& operator[](size_t i) const { return items_[i < gapStart_ ? i : i + (gapEnd_ - gapStart_)]; }
    T& at(size_t i)
    {
        Check(i);
        return (*this)[i];
    }
    const T& at(size_t i) const
    {
        Check(i);
        return (*this)[i];
    }
    void insert(size_t i, T item)
    {
        if (i > size())
            throw std::out_of_range("GapVector::insert");
        if (gapStart_ == gapEnd_)
            Grow();
        MoveGap(i);
        new (items_ + gapStart_) T(std::move(item));
        ++gapStart_;
    }
    void erase(size_t i)
    {
        Check(i);
        MoveGap(i);
        items_[gapEnd_].~T();
        ++gapEnd_;
    }
    // Room for `count` items in all before the store grows again.
    void reserve(size_t count)
    {
        if (count <= capacity_)
            return;
        T* fresh = static_cast<T*>(::operator new(count * sizeof(T)));
        const size_t after = capacity_ - gapEnd_;
        Relocate(items_, items_ + gapStart_, fresh);
        Relocate(items_ + gapEnd_, items_ + capacity_, fresh + count - after);
        ::operator delete(items_);
        items_ = fresh;
        gapEnd_ = count - after;
        capacity_ = count;
    }
    // Empties the sequence; its room stays.
    void clear()
    {
        std::destroy(items_, items_ + gapStart_);
        std::destroy(items_ + gapEnd_, items_ + capacity_);
        gapStart_ = 0;
        gapEnd_ = capacity_;
    }

private:
    void Check(size_t i) const
    {
        if (i >= size())
            throw std::out_of_range("GapVector::at");
    }
    // Moves [first, last) to the free room at `to`, leaving the source free.
    static void Relocate(T* first, T* last, T* to)
    {
        for (; first != last; ++first, ++to) {
            new (to) T(std::move(*first));
            first->~T();
        }
    }
    // Moves the items between `i` and the gap across it. Each item goes to a
    // place in the gap or one an item already moved has left. A gap of no
    // width (every slot in use, as once typed lines have filled the room a
    // load reserved) is at every place at once: nothing moves, as moving an
    // item onto itself would destroy it.
    void MoveGap(size_t i)
    {
        if (gapStart_ == gapEnd_) {
            gapStart_ = gapEnd_ = i;
            return;
        }
        if (i < gapStart_) {
            const size_t width = gapEnd_ - gapStart_;
            for (size_t k = gapStart_; k-- > i;) {
                new (items_ + k + width) T(std::move(items_[k]));
                items_[k].~T();
            }
            gapEnd_ -= gapStart_ - i;
            gapStart_ = i;
        } else if (i > gapStart_) {
            const size_t width = gapEnd_ - gapStart_;
            for (size_t k = gapStart_; k < i; ++k) {
                new (items_ + k) T(std::move(items_[k + width]));
                items_[k + width].~T();
            }
            gapEnd_ += i - gapStart_;
            gapStart_ = i;
        }
    }
    void Grow() { reserve(std::max<size_t>(16, capacity_ + capacity_ / 2 + 1)); }

    T* items_ = nullptr;
    size_t capacity_ = 0;
    size_t gapStart_ = 0, gapEnd_ = 0;
};

class ColorTextBuffer {
public:
    // Colours are taken from the block's colour table when a line is coloured.
    explicit ColorTextBuffer(const SettingsBlock& settings);

    // Inserts `text` before line `index` (index == line count appends). With
    // colourNow the line is coloured at once; otherwise it waits as a stale line.
    void InsertLine(std::string text, int index, bool colourNow);
    // Inserts `text` before line `index`, coloured at once from that line's
    // start state with the colour table of the last full colouring: a load
    // colours each line while it is at hand. RecolorStale afterwards leaves
    // the store as RecolorAll would.
    void InsertColoredLine(std::string text, int index);
    void SetLine(const std::string& text, int index);
    void RemoveLine(int index);
    // Room for `count` lines in all, for a load that knows how many come.
    void Reserve(size_t count) { lines_.reserve(count); }
    // Empties the store, leaving one empty line.
    void Reset();

    int GetLineCount() const { return static_cast<int>(lines_.size()); }
    const std::string& GetLine(int index) const { return lines_.at(Index(index)).text; }
    // Valid until the line changes or is coloured again.
    const std::vector<uint32_t>& GetLineColors(int index) const;
    // Appends the colours of line `index` to `out`.
    void AppendLineColors(int index, std::vector<uint32_t>& out) const;
    int GetLineStartState(int index) const;

    // Colours line `index` from `startState`; returns the state after the line.
    int ColorLine(int startState, int index);
    // Colours stale lines, first stale first, until every line before `limit` is
    // valid; returns the larger of `first` (at least 0) and the last line coloured.
    int ColorUpTo(int first, int limit);
    void RecolorAll();
    // Leaves every line as RecolorAll would, colouring only the stale lines
    // (and the lines their new end states reach) unless the colour table
    // changed since the lines were coloured.
    void RecolorStale();
    // Index of the first line whose colours may be stale; the line count when
    // every line is valid.
    int ColoredUpTo() const { return coloredUpTo_; }

    int UpdateMaxLineLength();
    int MaxLineLength() const { return maxLineLength_; }

    int IsBreakPoint(int index) const { return lines_.at(Index(index)).breakPoint; }
    void ToggleBreakPoint(int index);
    // A flag per line; the vector is made again after lines came or went.
    const std::vector<int>& BreakPoints() const;

private:
    // One record per line, kept small: a large text holds a million of them.
    struct Line {
        std::string text;
        // The colours, once asked for since the line was last coloured.
        mutable std::unique_ptr<std::vector<uint32_t>> colors;
        // The colour table the colours come from.
        int32_t palette = 0;
        int8_t startState = 0;
        // The state the colours come from; no colours while the line has
        // never been coloured (colorState < 0).
        int8_t colorState = -1;
        uint8_t breakPoint = 0;
        // Coloured from its present start state and unchanged since. The mark
        // alone cannot remember a second stale line further down, so it is
        // kept here and the mark is derived from it.
        bool valid = false;
    };
    using Palette = std::array<uint32_t, ColorClassCount>;

    // A negative index reads as one past every line, so at() refuses it.
    static size_t Index(int index) { return index < 0 ? static_cast<size_t>(-1) : static_cast<size_t>(index); }
    void SetStartState(int index, int state);
    int ColorLine(int palette, int startState, int index);
    // The index of the colour table as it stands, added when it is new.
    int PaletteNow();
    void MakeColors(const Line& line, std::vector<uint32_t>& out) const;
    void MarkStale(int index);
    void SkipValidLines();
    Palette CurrentPalette() const;
    // The lengths of the lines, counted by length, so that the longest is
    // known without a walk over the lines.
    void CountLength(size_t length, int delta);

    const SettingsBlock& settings_;
    int maxLineLength_ = 0;
    GapVector<Line> lines_;
    // The state after the last line.
    int endState_;
    int coloredUpTo_ = 1;
    int staleLines_ = 0;
    // The colour tables lines were coloured with since the last full colouring.
    std::vector<Palette> palettes_;
    std::vector<int> shortLengths_;            // lines per length below its size
    size_t longestShort_ = 0;                  // no short line is longer
    std::map<size_t, int> longLengths_;        // the other lengths
    mutable std::vector<int> breakPoints_;
    mutable bool breakPointsStale_ = false;
};

} // namespace quvpad
