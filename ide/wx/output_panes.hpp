// The four tabs of the Output bar: the compile-result list, the find-result
// list, and the make and run output. Each list shows its row model; rows are
// appended only on the user-interface thread, from the frame's row events.
#pragma once
#include <functional>
#include <memory>

#include <wx/listctrl.h>
#include <wx/textctrl.h>
#include <wx/timer.h>

#include "ide/model/output_rows.hpp"

namespace ide {

// Opens a file at a line and column (a double click on a row).
typedef std::function<void(const Location&)> GoToHandler;

// The context menu "输出" of the four panes: "清空", "查看错误信息", "帮助",
// "隐藏". "隐藏" travels up to the frame, which hides the Output bar.
void ShowOutputContextMenu(wxWindow* pane, bool canShowError);

class CCompileResultListView : public wxListCtrl {
public:
    explicit CCompileResultListView(wxWindow* parent);

    void AddRow(CompileRow row);
    void AddErrorRow(const QUVException& record) { AddRow(CompileRow::FromRecord(record)); }
    void AddTextRow(const wxString& first, const wxString& second);
    void ClearAll();
    const CompileResultModel& Model() const { return model_; }
    // The first selected row, or -1.
    int FirstSelected() const;
    // "查看错误信息": the detail dialog of the first selected row's record copy.
    void ShowErrorInfo();
    void SetGoToHandler(GoToHandler h) { goTo_ = std::move(h); }

private:
    wxString OnGetItemText(long item, long column) const override;
    void OnActivated(wxListEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);

    CompileResultModel model_;
    GoToHandler goTo_;
};

class CLookupResultListView : public wxListCtrl {
public:
    explicit CLookupResultListView(wxWindow* parent);

    void AddEntry(LookupEntry entry);
    // Adds what the batch gathered, in order, calling `reload` at each file
    // it names once the rows before it are in.
    void AppendBatch(LookupBatch& batch, const std::function<void(const std::string&)>& reload);
    void AddMessage(const wxString& text);
    void AddMatch(const wxString& file, int line, const wxString& text);
    void ClearAll();
    const LookupResultModel& Model() const { return model_; }
    void SetGoToHandler(GoToHandler h) { goTo_ = std::move(h); }

private:
    wxString OnGetItemText(long item, long column) const override;
    void OnActivated(wxListEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);

    LookupResultModel model_;
    GoToHandler goTo_;
};

// "Make输出" and "运行输出": a tool's output as typed text.
class CToolOutputView : public wxTextCtrl {
public:
    CToolOutputView(wxWindow* parent, OutputDecoder::Text text);
    // Keeps the last kOutputPaneLines lines; `dropped`: lines before these bytes were let go.
    void AppendBytes(const std::string& bytes, bool dropped = false);
    // Shows what the batch gathers, taking it again at intervals until it is idle.
    void AppendBatch(std::shared_ptr<OutputBatch> batch);
    void AppendChar(short c) { AppendBytes(std::string(1, static_cast<char>(c))); }
    void Clear() override;
    // Line ends shown after the notice of dropped lines.
    int KeptLines() const { return limit_.Lines(); }

private:
    void OnContextMenu(wxContextMenuEvent& event);
    // Takes what the batch holds; then, while it had any, comes back after an interval.
    void TakeBatch();

    OutputDecoder decoder_;
    OutputLineLimit limit_;
    std::shared_ptr<OutputBatch> batch_;
    wxTimer timer_;
    bool takeWhenIdle_ = false;
};

// make's output names the files as they are on disk.
class CMakeResultView : public CToolOutputView {
public:
    explicit CMakeResultView(wxWindow* parent) : CToolOutputView(parent, OutputDecoder::Text::FileNamesOrGbk) {}
};
class CRunResultView : public CToolOutputView {
public:
    explicit CRunResultView(wxWindow* parent) : CToolOutputView(parent, OutputDecoder::Text::Gbk) {}
};

} // namespace ide
