// A stand-in for an editor view and its control, for the document finder.
#pragma once
#include <string>
#include <vector>

#include "compiler/core/gbk.hpp"
#include "ide/model/text_finder.hpp"

namespace ide::test {

// Holds GBK lines and a selection the way the control does: the anchor stays,
// the caret moves, and a replaced selection leaves the caret after the new text.
class FakeEditor : public FinderEditor {
public:
    explicit FakeEditor(const std::string& utf8) { SetText(gbk::fromUtf8(utf8)); }

    void SetText(const std::string& text)
    {
        lines.clear();
        size_t from = 0;
        while (from < text.size()) {
            size_t end = text.find('\n', from);
            if (end == std::string::npos)
                end = text.size();
            lines.push_back(text.substr(from, end - from));
            from = end + 1;
        }
        if (lines.empty())
            lines.push_back("");
    }
    std::string Utf8() { return gbk::toUtf8(UnloadText()); }

    std::string UnloadText() override
    {
        std::string all;
        for (const std::string& line : lines)
            all += line + "\n";
        return all;
    }
    std::string GetLine(long index) override { return lines.at(index); }
    long GetTextSize() override { return static_cast<long>(lines.size()); }
    bool GetBCanCopy() override { return caret.line != anchor.line || caret.col != anchor.col; }
    void SetSelection(long aline, long acol, long cline, long ccol) override
    {
        anchor = {int(aline), int(acol)};
        caret = {int(cline), int(ccol)};
    }
    void ReplaceSelText(const std::string& text) override
    {
        TextPos a = anchor, b = caret;
        if (b.line < a.line || (b.line == a.line && b.col < a.col))
            std::swap(a, b);
        const std::string all = UnloadText();
        const size_t from = Offset(a), to = Offset(b);
        SetText(all.substr(0, from) + text + all.substr(to));
        caret = anchor = PosOf(from + text.size());
    }
    void LoadText(const std::string& text, long line, long col) override
    {
        SetText(text);
        LocatePos(line, col);
        ++loads;
    }
    void LocatePos(long line, long col) override { caret = anchor = {int(line), int(col)}; }
    TextPos Caret() override { return caret; }
    TextPos Anchor() override { return anchor; }
    void PostFindNext() override { ++findNextPosted; }

    size_t Offset(TextPos at)
    {
        size_t offset = 0;
        for (int i = 1; i < at.line; ++i)
            offset += lines[i - 1].size() + 1;
        return offset + at.col - 1;
    }
    TextPos PosOf(size_t offset)
    {
        int line = 1;
        while (line < int(lines.size()) && offset > lines[line - 1].size()) {
            offset -= lines[line - 1].size() + 1;
            ++line;
        }
        return {line, int(offset) + 1};
    }

    std::vector<std::string> lines;
    TextPos caret, anchor;
    int findNextPosted = 0;
    int loads = 0;
};

} // namespace ide::test
