// The document finder's side of an editor view: the control's calls through
// the view's wrapper, with every text converted between the wrapper's
// Unicode and the control's GBK bytes the way the control converts it, so a
// text comes back byte for byte; and the position the view last received.
#pragma once
#include "ide/model/text_finder.hpp"

namespace ide {

class CQuvBenchView;

class CViewFinderEditor : public FinderEditor {
public:
    explicit CViewFinderEditor(CQuvBenchView& view) : view_(view) {}

    std::string UnloadText() override;
    std::string GetLine(long index) override;
    long GetTextSize() override;
    bool GetBCanCopy() override;
    void SetSelection(long aline, long acol, long cline, long ccol) override;
    void ReplaceSelText(const std::string& text) override;
    void LoadText(const std::string& text, long line, long col) override;
    void LocatePos(long line, long col) override;
    long GetChangeCount() override;
    TextPos Caret() override;
    TextPos Anchor() override;
    void PostFindNext() override;

private:
    CQuvBenchView& view_;
};

} // namespace ide
