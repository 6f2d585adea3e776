// The document template's three classes: the source document, its editor view
// and the MDI child frame that holds the view. The text lives in the view's
// QuvPad control; the document reads and writes its file through it.
#pragma once
#include <memory>

#include <wx/docmdi.h>
#include <wx/docview.h>

#include "editor/wx/quvpad.hpp"
#include "ide/wx/kept_theme.hpp"
#include "ide/wx/window_services.hpp"

class wxKeyEvent;
class wxUpdateUIEvent;

namespace ide {

class CQuvPad;
class CQuvBenchView;
class CViewFinderEditor;
class CViewFindCommands;
class CSourcePrinting;
class PrintSource;

class CQuvBenchDoc : public wxDocument {
public:
    bool OnSaveModified() override;
    // A new document starts modified, under its title in the open-file list.
    bool OnNewDocument() override;
    bool OnCloseDocument() override;
    bool OnCreate(const wxString& path, long flags) override;

    // The document's view (its first) and that view's control; null while none.
    CQuvBenchView* GetView() const;
    CQuvPad* GetQuvPad() const;
    // The name the open-file list knows: the path, or the title while untitled.
    wxString ListName() const;

protected:
    // A file the control cannot read leaves the document unopened, with a
    // message; a write that fails is reported and the document stays modified.
    bool DoOpenDocument(const wxString& file) override;
    bool DoSaveDocument(const wxString& file) override;

private:
    void ReportOpenFailure(const wxString& file);

    wxDECLARE_DYNAMIC_CLASS(CQuvBenchDoc);
};

// Hosts one QuvPad control filling its frame, forwards the edit commands to
// it, keeps the caret position the control last reported and shows it in the
// status bar.
class CQuvBenchView : public wxView, private quvpad::DQuvPadEvents {
public:
    CQuvBenchView();
    ~CQuvBenchView() override;

    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC*) override {}
    bool OnClose(bool deleteWindow) override;
    // The status bar shows the caret position of the view that becomes active.
    void OnActivateView(bool activate, wxView* activeView, wxView* deactiveView) override;

    // The wrapper of the hosted control; null when the view has none.
    CQuvPad* GetQuvPad() const { return pad_.get(); }
    // The position last reported by the control (1-based; 1, 1 until then).
    int CaretLine() const { return caretLine_; }
    int CaretColumn() const { return caretColumn_; }
    int AnchorLine() const { return anchorLine_; }
    int AnchorColumn() const { return anchorColumn_; }

    // Moves the caret after the events queued so far have been handled, so a
    // window that is still being activated gets it.
    void PostLocatePos(int line, int column);
    // "转到下列行": the caret to a typed line and column.
    void GoTo();
    // Gives the editor the keyboard once the events queued so far are handled.
    void FocusEditor();
    // The view's find commands; null while the view has no control.
    CViewFindCommands* FindCommands() const { return find_.get(); }

    // The control sees a key before the accelerators do: true when the key is
    // in the focused editor (among `manager`'s documents) and its control
    // handled it, so it goes no further.
    static bool OfferKeyToEditor(wxDocManager* manager, wxKeyEvent& key);

private:
    void ModifiedChanged(bool modified) override;
    void PosChanged(int caretLine, int caretColumn, int anchorLine, int anchorColumn) override;
    // The caret pane shows this view's position.
    void ShowPosition() const;
    // Empties the caret pane when this view's document is the last one open.
    void ClearPositionIfLast() const;
    // Runs `call` on the control when there is one.
    template <typename F>
    void WithPad(F call);
    void OnUpdateEdit(wxUpdateUIEvent& event);
    void OnEditCommand(wxCommandEvent& event);
    // Print and preview of the document (source_printout.cpp); the printing
    // state lives from the first job to the view's end.
    void OnFilePrint(wxCommandEvent& event);
    void OnFilePrintPreview(wxCommandEvent& event);
    CSourcePrinting* Printing();

    // The application's services, from the document manager when the view is created.
    WindowServices* services_ = nullptr;
    std::unique_ptr<CQuvPad> pad_;
    // Find, replace and bracket matching over the control.
    std::unique_ptr<CViewFinderEditor> finderEditor_;
    std::unique_ptr<CViewFindCommands> find_;
    std::unique_ptr<PrintSource> printSource_;
    std::unique_ptr<CSourcePrinting> printing_;
    int caretLine_ = 1;
    int caretColumn_ = 1;
    int anchorLine_ = 1;
    int anchorColumn_ = 1;
    bool positionQueued_ = false;

    wxDECLARE_DYNAMIC_CLASS(CQuvBenchView);
    wxDECLARE_EVENT_TABLE();
};

// Every document window shows maximised (GTK shows them as tabs).
class CChildFrame : public KeptThemeAttributes<wxDocMDIChildFrame> {
public:
    CChildFrame(wxDocument* doc, wxView* view, wxMDIParentFrame* parent);
};

// The name the Workspace trees know a document by: its path, or its title while it has none.
wxString DocumentName(wxDocument* doc);

// New documents are named quvtemp1, quvtemp2, ...; opened files go to the
// application's recent-file list. Its documents and views reach the
// application's services through it.
class CQuvDocManager : public wxDocManager {
public:
    explicit CQuvDocManager(WindowServices& services);
    // Closes the documents while they can still reach the services through it.
    ~CQuvDocManager() override;
    WindowServices& Services() const { return services_; }

    wxString MakeNewDocumentName() override;
    void AddFileToHistory(const wxString& file) override;
    // The open-file dialog is the IDE's own (common_dialogs.hpp): it starts
    // where the user works.
    wxDocTemplate* SelectDocumentPath(wxDocTemplate** templates, int noTemplates, wxString& path, long flags,
                                      bool save = false) override;

private:
    WindowServices& services_;
    int untitled_ = 0;
};

} // namespace ide
