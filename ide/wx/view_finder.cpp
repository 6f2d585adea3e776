#include "ide/wx/view_finder.hpp"

#include "editor/wx/gbk_text.hpp"
#include "ide/wx/doc_view.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/quv_pad.hpp"

namespace ide {

namespace {
// Without a control there is no text, and nothing changes.
CQuvPad* padOf(CQuvBenchView& view)
{
    CQuvPad* pad = view.GetQuvPad();
    return pad && pad->IsCreated() ? pad : nullptr;
}
} // namespace

std::string CViewFinderEditor::UnloadText()
{
    CQuvPad* pad = padOf(view_);
    return pad ? quvpad::WxToGbk(pad->UnloadText()) : std::string();
}

std::string CViewFinderEditor::GetLine(long index)
{
    CQuvPad* pad = padOf(view_);
    return pad ? quvpad::WxToGbk(pad->GetLine(index)) : std::string();
}

long CViewFinderEditor::GetTextSize()
{
    CQuvPad* pad = padOf(view_);
    return pad ? pad->GetTextSize() : 0;
}

bool CViewFinderEditor::GetBCanCopy()
{
    CQuvPad* pad = padOf(view_);
    return pad && pad->GetBCanCopy();
}

void CViewFinderEditor::SetSelection(long aline, long acol, long cline, long ccol)
{
    if (CQuvPad* pad = padOf(view_))
        pad->SetSelection(aline, acol, cline, ccol);
}

void CViewFinderEditor::ReplaceSelText(const std::string& text)
{
    if (CQuvPad* pad = padOf(view_))
        pad->ReplaceSelText(quvpad::GbkToWx(text));
}

void CViewFinderEditor::LoadText(const std::string& text, long line, long col)
{
    if (CQuvPad* pad = padOf(view_))
        pad->LoadText(quvpad::GbkToWx(text), line, col);
}

void CViewFinderEditor::LocatePos(long line, long col)
{
    if (CQuvPad* pad = padOf(view_))
        pad->LocatePos(line, col);
}

long CViewFinderEditor::GetChangeCount()
{
    CQuvPad* pad = padOf(view_);
    return pad ? pad->GetChangeCount() : 0;
}

TextPos CViewFinderEditor::Caret() { return {view_.CaretLine(), view_.CaretColumn()}; }
TextPos CViewFinderEditor::Anchor() { return {view_.AnchorLine(), view_.AnchorColumn()}; }

void CViewFinderEditor::PostFindNext()
{
    wxQueueEvent(&view_, new wxCommandEvent(wxEVT_MENU, ID_EDIT_FIND_NEXT));
}

} // namespace ide
