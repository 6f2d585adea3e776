#include "ide/wx/output_panes.hpp"

#include <wx/menu.h>

#include "ide/wx/error_info_dlg.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/menus.hpp"

namespace ide {

void ShowOutputContextMenu(wxWindow* pane, bool canShowError)
{
    wxMenu menu;
    menu.Append(ID_PANE_CLEAR, U8("清空"));
    menu.Append(ID_PANE_SHOW_ERROR, U8("查看错误信息"));
    menu.Append(ID_PANE_HELP, U8("帮助"));
    menu.AppendSeparator();
    menu.Append(ID_PANE_HIDE, U8("隐藏"));
    menu.Enable(ID_PANE_SHOW_ERROR, canShowError);
    pane->PopupMenu(&menu);
}

namespace {
// A right-click selects the row under the pointer, as a left click would,
// so that its menu acts on that row.
void SelectRowUnderRightClick(wxListEvent& event)
{
    auto* list = wxDynamicCast(event.GetEventObject(), wxListCtrl);
    const long row = event.GetIndex();
    if (list && row >= 0) {
        for (long i = list->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED); i != -1;
             i = list->GetNextItem(i, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED))
            if (i != row)
                list->SetItemState(i, 0, wxLIST_STATE_SELECTED);
        list->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                           wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    }
    event.Skip();
}

wxString fromUtf8(const std::string& text) { return wxString::FromUTF8(text.data(), text.size()); }
// While output keeps coming a tool pane takes at most this much of it at a
// time, and takes again after this many milliseconds, so that input and
// painting get their turn in between.
const size_t kTakeBytes = 128 * 1024;
const int kTakeInterval = 20;
} // namespace

CCompileResultListView::CCompileResultListView(wxWindow* parent)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_VIRTUAL | wxBORDER_SIMPLE)
{
    // ORDER COLUMNS: the cells of CompileRow.
    AppendColumn(U8("错误"), wxLIST_FORMAT_LEFT, 300);
    AppendColumn(U8("位置"), wxLIST_FORMAT_LEFT, 350);
    AppendColumn(U8("原因"), wxLIST_FORMAT_LEFT, 800);
    Bind(wxEVT_LIST_ITEM_ACTIVATED, &CCompileResultListView::OnActivated, this);
    Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, SelectRowUnderRightClick);
    Bind(wxEVT_CONTEXT_MENU, &CCompileResultListView::OnContextMenu, this);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ClearAll(); }, ID_PANE_CLEAR);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ShowErrorInfo(); }, ID_PANE_SHOW_ERROR);
    Bind(wxEVT_MENU, [](wxCommandEvent&) {}, ID_PANE_HELP);
}

void CCompileResultListView::AddRow(CompileRow row)
{
    const int n = model_.Add(std::move(row));
    SetItemCount(model_.Count());
    EnsureVisible(n);
}

void CCompileResultListView::AddTextRow(const wxString& first, const wxString& second)
{
    AddRow(CompileRow::Text(first.utf8_string(), second.utf8_string()));
}

void CCompileResultListView::ClearAll()
{
    model_.ClearAll();
    SetItemCount(0);
    Refresh();
}

int CCompileResultListView::FirstSelected() const
{
    return static_cast<int>(GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
}

void CCompileResultListView::ShowErrorInfo()
{
    const int row = FirstSelected();
    if (!model_.ShowsRecord(row))
        return;
    CErrorInfoDlg dialog(this, model_.Row(row).record);
    dialog.ShowModal();
}

wxString CCompileResultListView::OnGetItemText(long item, long column) const
{
    if (item < 0 || item >= model_.Count() || column < 0 || column > 2)
        return wxString();
    return fromUtf8(model_.Row(static_cast<int>(item)).cells[column]);
}

void CCompileResultListView::OnActivated(wxListEvent&)
{
    const auto target = model_.Target(FirstSelected());
    if (target && goTo_)
        goTo_(*target);
}

void CCompileResultListView::OnContextMenu(wxContextMenuEvent&)
{
    ShowOutputContextMenu(this, model_.ShowsRecord(FirstSelected()));
}

CLookupResultListView::CLookupResultListView(wxWindow* parent)
    : wxListCtrl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                 wxLC_REPORT | wxLC_VIRTUAL | wxLC_NO_HEADER | wxLC_SINGLE_SEL | wxBORDER_SIMPLE)
{
    AppendColumn(wxString(), wxLIST_FORMAT_LEFT, 1000);
    Bind(wxEVT_LIST_ITEM_ACTIVATED, &CLookupResultListView::OnActivated, this);
    Bind(wxEVT_LIST_ITEM_RIGHT_CLICK, SelectRowUnderRightClick);
    Bind(wxEVT_CONTEXT_MENU, &CLookupResultListView::OnContextMenu, this);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ClearAll(); }, ID_PANE_CLEAR);
    Bind(wxEVT_MENU, [](wxCommandEvent&) {}, ID_PANE_HELP);
}

void CLookupResultListView::AddEntry(LookupEntry entry)
{
    const int n = model_.Add(std::move(entry));
    SetItemCount(model_.Count());
    EnsureVisible(n);
}

void CLookupResultListView::AppendBatch(LookupBatch& batch, const std::function<void(const std::string&)>& reload)
{
    const int before = model_.Count();
    for (LookupBatch::Item& item : batch.Take()) {
        if (item.reload.empty()) {
            model_.Add(std::move(item.row));
            continue;
        }
        // The reload may add a row of its own, after the ones before it.
        SetItemCount(model_.Count());
        if (reload)
            reload(item.reload);
    }
    if (model_.Count() == before)
        return;
    SetItemCount(model_.Count());
    EnsureVisible(model_.Count() - 1);
}

void CLookupResultListView::AddMessage(const wxString& text)
{
    AddEntry(LookupEntry::Message(text.utf8_string()));
}

void CLookupResultListView::AddMatch(const wxString& file, int line, const wxString& text)
{
    AddEntry(LookupEntry::Match(file.utf8_string(), line, text.utf8_string()));
}

void CLookupResultListView::ClearAll()
{
    model_.ClearAll();
    SetItemCount(0);
    Refresh();
}

wxString CLookupResultListView::OnGetItemText(long item, long) const
{
    if (item < 0 || item >= model_.Count())
        return wxString();
    return fromUtf8(model_.Entry(static_cast<int>(item)).Shown());
}

void CLookupResultListView::OnActivated(wxListEvent&)
{
    const auto target = model_.Target(static_cast<int>(GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)));
    if (target && goTo_)
        goTo_(*target);
}

void CLookupResultListView::OnContextMenu(wxContextMenuEvent&)
{
    ShowOutputContextMenu(this, false);
}

CToolOutputView::CToolOutputView(wxWindow* parent, OutputDecoder::Text text)
    : wxTextCtrl(parent, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize,
                 wxTE_MULTILINE | wxTE_READONLY | wxTE_DONTWRAP | wxBORDER_SIMPLE),
      decoder_(text)
{
    Bind(wxEVT_CONTEXT_MENU, &CToolOutputView::OnContextMenu, this);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { Clear(); }, ID_PANE_CLEAR);
    timer_.SetOwner(this);
    Bind(wxEVT_TIMER, [this](wxTimerEvent&) { TakeBatch(); });
    Bind(wxEVT_IDLE, [this](wxIdleEvent& e) {
        if (takeWhenIdle_) {
            takeWhenIdle_ = false;
            timer_.StartOnce(kTakeInterval);
        }
        e.Skip();
    });
    // Ctrl+C reaches the pane as the copy command of the accelerator table.
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { Copy(); }, ID_EDIT_COPY);
    Bind(wxEVT_MENU, [](wxCommandEvent&) {}, ID_PANE_HELP);
}

void CToolOutputView::AppendBytes(const std::string& bytes, bool dropped)
{
    // A pair half read before the gap has lost its second byte.
    if (dropped)
        decoder_.Reset();
    std::string text;
    text.reserve(bytes.size());
    for (char b : bytes)
        text += decoder_.Feed(static_cast<unsigned char>(b));
    if (text.empty() && !dropped)
        return;
    const OutputLineLimit::Step step = limit_.Add(text, dropped);
    if (step.addNotice) {
        SetInsertionPoint(0);
        WriteText(wxString::FromUTF8(kOutputDroppedText) + "\n");
    }
    // The notice, once shown, is the first line; the output starts below it.
    if (step.removeAll)
        Remove(XYToPosition(0, 1), GetLastPosition());
    else if (step.removeLines > 0)
        Remove(XYToPosition(0, 1), XYToPosition(0, 1 + step.removeLines));
    if (!step.append.empty())
        AppendText(fromUtf8(step.append));
}

void CToolOutputView::AppendBatch(std::shared_ptr<OutputBatch> batch)
{
    batch_ = std::move(batch);
    TakeBatch();
}

void CToolOutputView::TakeBatch()
{
    std::string bytes;
    bool dropped = false;
    if (!batch_ || !batch_->Take(bytes, dropped, kTakeBytes))
        return;
    AppendBytes(bytes, dropped);
    // The next take waits for the event loop to be idle once: what the loop
    // does when idle (the caret position shown at the end of a key's event
    // among it) would never come while a program prints if the pane took
    // again at every interval.
    takeWhenIdle_ = true;
}

void CToolOutputView::Clear()
{
    // What the batch holds came before the clear; emptied, the next byte asks for a visit again.
    std::string gone;
    bool dropped = false;
    while (batch_ && batch_->Take(gone, dropped)) {
    }
    decoder_.Reset();
    limit_.Reset();
    SetValue(wxString());
}

void CToolOutputView::OnContextMenu(wxContextMenuEvent&)
{
    ShowOutputContextMenu(this, false);
}

} // namespace ide
