// The document template's three classes: the source document, its view and
// the MDI child frame that holds the view. The editor control that shows the
// text comes with the view's own work; here the view holds an empty window.
#pragma once
#include <wx/docmdi.h>
#include <wx/docview.h>

namespace ide {

class CQuvBenchDoc : public wxDocument {
public:
    bool OnSaveModified() override;

protected:
    // Opening only checks that the file can be read: the text is the
    // editor control's. Nothing is written while no control holds the text.
    bool DoOpenDocument(const wxString& file) override;
    bool DoSaveDocument(const wxString& file) override;

private:
    wxDECLARE_DYNAMIC_CLASS(CQuvBenchDoc);
};

class CQuvBenchView : public wxView {
public:
    bool OnCreate(wxDocument* doc, long flags) override;
    void OnDraw(wxDC*) override {}
    bool OnClose(bool deleteWindow) override;

private:
    wxDECLARE_DYNAMIC_CLASS(CQuvBenchView);
};

// Every document window shows maximised (GTK shows them as tabs).
class CChildFrame : public wxDocMDIChildFrame {
public:
    CChildFrame(wxDocument* doc, wxView* view, wxMDIParentFrame* parent);
};

// New documents are named quvtemp1, quvtemp2, ...; opened files go to the
// application's recent-file list.
class CQuvDocManager : public wxDocManager {
public:
    wxString MakeNewDocumentName() override;
    void AddFileToHistory(const wxString& file) override;

private:
    int untitled_ = 0;
};

} // namespace ide
