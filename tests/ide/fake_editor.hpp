// A stand-in for an editor view and its control, for the document finder: GBK
// lines and a selection kept the way the control keeps them. The anchor stays,
// the caret moves, and a replaced selection leaves the caret after the new text.
#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "compiler/core/gbk.hpp"
#include "ide/model/text_finder.hpp"

namespace ide::test {

class FakeEditor : public FinderEditor {
public:
    FakeEditor() = default;
    explicit FakeEditor(const std::string& utf8) { SetText(gbk::fromUtf8(utf8)); }

    void SetText(const std::string& text)
    {
        ++changeCount;
        lines.assign(1, "");
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] != '\n')
                lines.back() += text[i];
            else if (i + 1 < text.size())
                lines.emplace_back();
        }
    }
    std::string Utf8() { return gbk::toUtf8(UnloadText()); }

    std::string UnloadText() override
    {
        ++unloads;
        std::string all;
        for (const std::string& line : lines)
            all += line + "\n";
        return all;
    }
    std::string GetLine(long index) override
    {
        ++linesRead;
        return lines.at(static_cast<size_t>(index));
    }
    long GetTextSize() override { return static_cast<long>(lines.size()); }
    bool GetBCanCopy() override { return caret.line != anchor.line || caret.col != anchor.col; }
    void SetSelection(long aline, long acol, long cline, long ccol) override
    {
        anchor = {int(aline), int(acol)};
        caret = {int(cline), int(ccol)};
    }
    void ReplaceSelText(const std::string& text) override
    {
        size_t from = Offset(anchor), to = Offset(caret);
        if (to < from)
            std::swap(from, to);
        const std::string all = UnloadText();
        SetText(all.substr(0, from) + text + all.substr(to));
        caret = anchor = At(from + text.size());
    }
    void LoadText(const std::string& text, long line, long col) override
    {
        SetText(text);
        LocatePos(line, col);
    }
    void LocatePos(long line, long col) override { caret = anchor = {int(line), int(col)}; }
    long GetChangeCount() override { return changeCount; }
    TextPos Caret() override { return caret; }
    TextPos Anchor() override { return anchor; }
    void PostFindNext() override { ++findNextPosted; }

    // The offset of a place in the whole text: a column past its line's end
    // stands at the end.
    size_t Offset(TextPos at) const
    {
        size_t offset = 0;
        for (int i = 1; i < at.line; ++i)
            offset += lines[static_cast<size_t>(i) - 1].size() + 1;
        const size_t length = lines[static_cast<size_t>(at.line) - 1].size();
        return offset + std::min(static_cast<size_t>(std::max(at.col, 1) - 1), length);
    }
    // The place of an offset; the end of the whole text is the end of the last line.
    TextPos At(size_t offset) const
    {
        TextPos at;
        for (size_t i = 0; i < lines.size(); ++i) {
            if (offset <= lines[i].size() || i + 1 == lines.size())
                return {static_cast<int>(i) + 1, static_cast<int>(std::min(offset, lines[i].size())) + 1};
            offset -= lines[i].size() + 1;
        }
        return at;
    }

    std::vector<std::string> lines;
    TextPos caret, anchor;
    int findNextPosted = 0;
    long changeCount = 0;
    // Whole texts and single lines the finder read.
    long unloads = 0;
    long linesRead = 0;
};

} // namespace ide::test
