#include "ide/wx/doc_view.hpp"

#include <wx/filename.h>
#include <wx/panel.h>

#include "ide/wx/app.hpp"
#include "ide/wx/menus.hpp"

namespace ide {

wxIMPLEMENT_DYNAMIC_CLASS(CQuvBenchDoc, wxDocument);
wxIMPLEMENT_DYNAMIC_CLASS(CQuvBenchView, wxView);

bool CQuvBenchDoc::OnSaveModified()
{
    if (!IsModified())
        return true;
    const int answer = wxGetApp().MessageBox(
        wxString::Format(_("Do you want to save changes to %s?"), GetUserReadableName()), U8("提示"),
        wxYES_NO | wxCANCEL | wxICON_QUESTION);
    if (answer == wxCANCEL)
        return false;
    if (answer == wxYES)
        return Save();
    return true;
}

bool CQuvBenchDoc::DoOpenDocument(const wxString& file)
{
    if (wxFileName::IsFileReadable(file))
        return true;
    wxGetApp().MessageBox(wxString::Format(_("Failed to open '%s'."), file), U8("错误"), wxOK | wxICON_ERROR);
    return false;
}

bool CQuvBenchDoc::DoSaveDocument(const wxString&)
{
    return false;
}

bool CQuvBenchView::OnCreate(wxDocument* doc, long)
{
    auto* parent = wxStaticCast(wxGetApp().GetTopWindow(), wxMDIParentFrame);
    auto* frame = new CChildFrame(doc, this, parent);
    auto* page = new wxPanel(frame);
    page->SetBackgroundColour(*wxWHITE);
    SetFrame(frame);
    frame->Show();
    return true;
}

bool CQuvBenchView::OnClose(bool deleteWindow)
{
    if (!wxView::OnClose(deleteWindow))
        return false;
    Activate(false);
    if (deleteWindow) {
        GetFrame()->Destroy();
        SetFrame(nullptr);
    }
    return true;
}

CChildFrame::CChildFrame(wxDocument* doc, wxView* view, wxMDIParentFrame* parent)
    : wxDocMDIChildFrame(doc, view, parent, wxID_ANY, doc->GetUserReadableName())
{
    SetMenuBar(CreateDocumentMenuBar());
    wxGetApp().RefreshRecentMenus(GetMenuBar());
    // The exit command of the document menu ends the program, as the main menu's does.
    Bind(wxEVT_MENU, [parent](wxCommandEvent&) { parent->Close(); }, wxID_EXIT);
    Bind(wxEVT_ACTIVATE, [this](wxActivateEvent& e) {
        if (e.GetActive())
            Maximize();
        e.Skip();
    });
    Maximize();
}

wxString CQuvDocManager::MakeNewDocumentName()
{
    return wxString::Format("quvtemp%d", ++untitled_);
}

void CQuvDocManager::AddFileToHistory(const wxString& file)
{
    wxGetApp().AddToRecentFileList(file);
}

} // namespace ide
