#include "ide/wx/find_in_files_commands.hpp"

#include "ide/model/workbench.hpp"
#include "ide/wx/doc_view.hpp"
#include "ide/wx/find_in_files_dlg.hpp"
#include "ide/wx/find_thread.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/pane_events.hpp"
#include "ide/wx/quv_pad.hpp"
#include "ide/wx/window_services.hpp"

namespace ide {

CFindInFilesCommands::CFindInFilesCommands(Workbench& bench, WindowServices& services)
    : bench_(bench), services_(services)
{
}

void CFindInFilesCommands::Bind(wxEvtHandler& target)
{
    target.Bind(wxEVT_MENU, &CFindInFilesCommands::OnFindInFiles, this, ID_FIND_IN_FILES);
    target.Bind(wxEVT_MENU, &CFindInFilesCommands::OnReplaceInFiles, this, ID_REPLACE_IN_FILES);
    target.Bind(wxEVT_UPDATE_UI, &CFindInFilesCommands::OnUpdateFindInFiles, this, ID_FIND_IN_FILES);
    target.Bind(wxEVT_UPDATE_UI, &CFindInFilesCommands::OnUpdateFindInFiles, this, ID_REPLACE_IN_FILES);
}

void CFindInFilesCommands::OnFindInFiles(wxCommandEvent&)
{
    CQuvFindInFilesDlg dialog(services_, bench_.FindHistory(), services_.MainFrame());
    if (services_.ShowModal(dialog) != wxID_OK)
        return;
    const FindSettings& c = dialog.Result();
    StartFindJob(std::make_unique<QuvFindJob>(0, c.findText, c.fileTypes, c.folders, c.matchCase,
                                              c.regularExpression, c.subfolders, c.scope));
}

void CFindInFilesCommands::OnReplaceInFiles(wxCommandEvent&)
{
    CQuvReplaceInFilesDlg dialog(services_, bench_.FindHistory(), services_.MainFrame());
    if (services_.ShowModal(dialog) != wxID_OK)
        return;
    const FindSettings& c = dialog.Result();
    StartFindJob(std::make_unique<QuvFindJob>(1, c.findText, c.replaceText, c.fileTypes, c.folders, c.matchCase,
                                              c.regularExpression, c.subfolders, c.scope));
}

void CFindInFilesCommands::OnUpdateFindInFiles(wxUpdateUIEvent& event)
{
    event.Enable(bench_.findBusy == 0);
}

void CFindInFilesCommands::StartFindJob(std::unique_ptr<QuvFindJob> job)
{
    CMainFrame* mainFrame = services_.MainFrame();
    wxDocManager* docManager = services_.DocManager();
    // The pane is emptied before the job's first row: both travel the same queue.
    PostPaneEvent(mainFrame, EVT_SHOW_FIND_OUTPUT);
    if (job->Settings().scope == 1)
        for (int i = 0; i < bench_.OpenFiles().GetCount(); ++i)
            job->listedFiles.push_back(bench_.OpenFiles().GetAt(i));
    else if (job->Settings().scope == 2)
        job->listedFiles = bench_.Project().ResolvedFiles();
    if (job->mode == 1 && docManager)
        for (wxDocument* doc : docManager->GetDocumentsVector())
            if (doc->IsModified() && !doc->GetFilename().empty())
                job->unsavedFiles.push_back(doc->GetFilename().utf8_string());
    RememberFindJob(bench_.FindHistory(), *job);
    bench_.SetPendingFindJob(std::move(job));

    auto thread = std::make_unique<CQUVFindThread>(*bench_.PendingFindJob(), mainFrame, bench_.findBusy,
                                                   [this](const std::string& file) { ReloadReplacedFile(file); });
    CQUVFindThread* started = thread.get();
    if (bench_.ReplaceFindWorker(std::move(thread)))
        started->Start();
}

void CFindInFilesCommands::ReloadReplacedFile(const std::string& file)
{
    wxDocManager* docManager = services_.DocManager();
    if (!docManager)
        return;
    for (wxDocument* doc : docManager->GetDocumentsVector()) {
        auto* source = wxDynamicCast(doc, CQuvBenchDoc);
        const std::string name = doc->GetFilename().utf8_string();
        if (!source || name.empty() || !SameFile(name, file))
            continue;
        // Changed since the job began: the user's text stays, and the pane says the file differs.
        if (source->IsModified()) {
            services_.MainFrame()->FindList()->AddEntry(
                LookupEntry::Message("文件" + name + "已被替换，但编辑器中有未保存的修改，没有重新载入"));
            continue;
        }
        CQuvPad* pad = source->GetQuvPad();
        if (!pad || !pad->FileLoad(doc->GetFilename()))
            services_.MainFrame()->FindList()->AddEntry(LookupEntry::Message("无法重新载入文件" + name));
    }
}

} // namespace ide
