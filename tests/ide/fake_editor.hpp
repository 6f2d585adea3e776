// A stand-in for an editor view and its control, for the document finder: GBK
// lines and a selection kept the way the control keeps them. The anchor stays,
// the caret moves, and a replaced selection leaves the caret after the new text.
#pragma once
#include <string>
#include <vector>

#include "compiler/core/gbk.hpp"
#include "ide/model/text_finder.hpp"

namespace ide::test {

class FakeEditor : public FinderEditor {
public:
    explicit FakeEditor(const std::string& utf8) { SetText(gbk::fromUtf8(utf8)); }

    void SetText(const std::string& text)
    {
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
        size_t from = Offset(anchor), to = Offset(caret);
        if (to < from)
            std::swap(from, to);
        const std::string all = UnloadText();
        SetText(all.substr(0, from) + text + all.substr(to));
        size_t end = from + text.size();
        caret.line = 1;
        while (end > lines[caret.line - 1].size())
            end -= lines[caret.line++ - 1].size() + 1;
        caret.col = int(end) + 1;
        anchor = caret;
    }
    void LoadText(const std::string& text, long line, long col) override
    {
        SetText(text);
        LocatePos(line, col);
    }
    void LocatePos(long line, long col) override { caret = anchor = {int(line), int(col)}; }
    TextPos Caret() override { return caret; }
    TextPos Anchor() override { return anchor; }
    void PostFindNext() override { ++findNextPosted; }

    size_t Offset(TextPos at)
    {
        size_t offset = at.col - 1;
        for (int i = 1; i < at.line; ++i)
            offset += lines[i - 1].size() + 1;
        return offset;
    }

    std::vector<std::string> lines;
    TextPos caret, anchor;
    int findNextPosted = 0;
};

} // namespace ide::test
