#include "ide/wx/compile_commands.hpp"

#include <algorithm>
#include <functional>
#include <mutex>

#include <wx/mdi.h>

#include "compiler/core/gbk.hpp"
#include "ide/model/workbench.hpp"
#include "ide/wx/doc_view.hpp"
#include "ide/wx/ids.hpp"
#include "ide/wx/main_frame.hpp"
#include "ide/wx/menus.hpp"
#include "ide/wx/pane_events.hpp"
#include "ide/wx/quv_pad.hpp"
#include "ide/wx/window_services.hpp"

namespace ide {

namespace {

// ORDER: the compile menu's commands and the CompileCommand each stands for.
const struct {
    int id;
    CompileCommand command;
} kCommands[] = {
    {ID_TYPESET, CompileCommand::Typeset},
    {ID_COMPILE_CHECK, CompileCommand::SyntaxCheck},
    {ID_COMPILE_FILE, CompileCommand::CompileFile},
    {ID_COMPILE_PROJECT, CompileCommand::CompileProject},
    {ID_MAKEFILE, CompileCommand::GenerateMakefile},
    {ID_BUILD, CompileCommand::Build},
    {ID_RUN, CompileCommand::Run},
    {ID_STOP, CompileCommand::Stop},
};

CompileCommand commandOf(int id)
{
    for (const auto& c : kCommands)
        if (c.id == id)
            return c.command;
    return CompileCommand::Stop;
}

wxString fromGbk(const std::string& text)
{
    const std::string utf8 = gbk::toUtf8(text);
    return wxString::FromUTF8(utf8.data(), utf8.size());
}

// Passes the compile thread's reports to the main frame as posted events, so
// that the frame handles them on the user-interface thread in the order made.
// Output goes through a batch: the first byte after an idle spell posts a
// visit, so it starts to show before any row reported after it, and the pane
// then takes the rest at its own pace.
class FrameCompileSink : public CompileSink {
public:
    // `typesetDone`, `outOfMemory` and `ended` run on the user-interface thread.
    FrameCompileSink(CMainFrame* frame, int serial, std::function<void(bool)> typesetDone,
                     std::function<void()> outOfMemory, std::function<void(int)> ended)
        : frame_(frame), serial_(serial), typesetDone_(std::move(typesetDone)),
          outOfMemory_(std::move(outOfMemory)), ended_(std::move(ended))
    {
    }

    void ErrorRow(const QUVException& record) override { PostCompileRow(frame_, CompileRow::FromRecord(record)); }
    void TextRow(const std::string& first, const std::string& second) override
    {
        // The driver's stage lines are plain words around file names.
        PostCompileRow(frame_, CompileRow::Text(gbk::fileNameToUtf8(first), gbk::fileNameToUtf8(second)));
    }
    void MakeStart() override { PostPaneEvent(frame_, EVT_SHOW_MAKE_OUTPUT); }
    void MakeChar(char c) override
    {
        if (make_->Add(c))
            frame_->CallAfter([frame = frame_, batch = make_] { frame->MakeOutput()->AppendBatch(batch); });
    }
    void RunStart() override { PostPaneEvent(frame_, EVT_SHOW_RUN_OUTPUT); }
    void RunChar(char c) override
    {
        if (run_->Add(c))
            frame_->CallAfter([frame = frame_, batch = run_] { frame->RunOutput()->AppendBatch(batch); });
    }
    void TypesetDone(bool ok) override
    {
        frame_->CallAfter([done = typesetDone_, ok] { done(ok); });
    }
    void OutOfMemory() override { frame_->CallAfter([told = outOfMemory_] { told(); }); }
    void JobEnded() override
    {
        const int serial = serial_;
        frame_->CallAfter([ended = ended_, serial] { ended(serial); });
    }

private:
    CMainFrame* frame_;
    int serial_;
    std::function<void(bool)> typesetDone_;
    std::function<void()> outOfMemory_;
    std::function<void(int)> ended_;
    // Shared with the posted calls, which may outlive the sink.
    std::shared_ptr<OutputBatch> make_ = std::make_shared<OutputBatch>();
    std::shared_ptr<OutputBatch> run_ = std::make_shared<OutputBatch>();
};

CQuvBenchDoc* findOpenDocument(wxDocManager* manager, const wxString& path)
{
    for (wxDocument* doc : manager->GetDocumentsVector())
        if (doc->GetFilename() == path)
            return wxDynamicCast(doc, CQuvBenchDoc);
    return nullptr;
}

// The open document of the path, activated, or the file opened; null when it cannot be.
CQuvBenchDoc* openOrActivate(wxDocManager* manager, const wxString& path)
{
    CQuvBenchDoc* doc = findOpenDocument(manager, path);
    if (!doc)
        doc = wxDynamicCast(manager->CreateDocument(path, wxDOC_SILENT), CQuvBenchDoc);
    if (!doc || !doc->GetView())
        return nullptr;
    if (auto* frame = wxDynamicCast(doc->GetView()->GetFrame(), wxMDIChildFrame))
        frame->Activate();
    return doc;
}

} // namespace

CCompileCommands::CCompileCommands(Workbench& bench, WindowServices& services) : bench_(bench), services_(services) {}

void CCompileCommands::Bind(wxEvtHandler& target)
{
    for (const auto& c : kCommands) {
        target.Bind(wxEVT_MENU, &CCompileCommands::OnCompileCommand, this, c.id);
        target.Bind(wxEVT_UPDATE_UI, &CCompileCommands::OnUpdateCompileCommand, this, c.id);
    }
}

wxDocument* CCompileCommands::ActiveDocument() const
{
    wxDocManager* manager = services_.DocManager();
    return manager ? manager->GetCurrentDocument() : nullptr;
}

CompileCommandState CCompileCommands::CompileState() const
{
    CompileCommandState state;
    state.compileBusy = bench_.compileBusy != 0;
    state.hasActiveDocument = ActiveDocument() != nullptr;
    state.projectFileCount = bench_.Project().GetCount();
    return state;
}

void CCompileCommands::OnUpdateCompileCommand(wxUpdateUIEvent& event)
{
    event.Enable(IsCommandEnabled(commandOf(event.GetId()), CompileState()));
}

bool CCompileCommands::SaveProjectDocuments()
{
    wxDocManager* docManager = services_.DocManager();
    if (!docManager)
        return true;
    // The files the job will compile, as it names them.
    const std::vector<std::string> files = bench_.Project().ResolvedFiles();
    for (wxDocument* doc : docManager->GetDocumentsVector())
        if (wxDynamicCast(doc, CQuvBenchDoc) &&
            std::find(files.begin(), files.end(), doc->GetFilename().utf8_string()) != files.end() && !doc->Save())
            return false;
    return true;
}

void CCompileCommands::OnCompileCommand(wxCommandEvent& event)
{
    const CompileCommand command = commandOf(event.GetId());
    // Keys reach here without the menu's update: the rules are checked again.
    CMainFrame* mainFrame = services_.MainFrame();
    if (!IsCommandEnabled(command, CompileState()) || !mainFrame)
        return;
    if (command == CompileCommand::Stop) {
        if (!bench_.StopCompileJob())
            services_.MessageBox(U8("无法关闭制作输出/运行进程"), U8("错误"), wxOK | wxICON_ERROR);
        return;
    }

    PostPaneEvent(mainFrame, EVT_SHOW_COMPILE_OUTPUT);
    const int kind = JobKindOf(command);
    std::shared_ptr<CCompileJob> job;
    if (kind <= KindCompileFile) {
        auto* doc = wxDynamicCast(ActiveDocument(), CQuvBenchDoc);
        // A job over a file that could not be saved would compile what is on
        // disk, not what the user sees: no job then.
        if (!doc || !doc->Save())
            return;
        job = std::make_shared<CCompileJob>(kind, doc->GetFilename().utf8_string());
        if (kind == KindTypeset && doc->GetQuvPad())
            typesetStartText_ = doc->GetQuvPad()->UnloadText();
    } else {
        if (!SaveProjectDocuments())
            return;
        job = std::make_shared<CCompileJob>(kind, bench_.Project().ResolvedFiles(), bench_.Project().GetPath());
    }
    StartCompileJob(std::move(job));
}

void CCompileCommands::StartCompileJob(std::shared_ptr<CCompileJob> job)
{
    CMainFrame* frame = services_.MainFrame();
    const auto start = bench_.StartCompileJob(std::move(job), [this, frame](int serial) {
        return std::unique_ptr<CompileSink>(new FrameCompileSink(
            frame, serial, [this](bool ok) { OnTypesetDone(ok); }, [this] { OnCompileOutOfMemory(); },
            [this](int n) { OnCompileThreadEnded(n); }));
    });
    if (start == Workbench::JobStart::NoThread)
        services_.MessageBox(U8("无法启动编译任务：系统无法创建新的线程"), U8("错误"), wxOK | wxICON_ERROR);
}

void CCompileCommands::OnCompileThreadEnded(int serial)
{
    bench_.CompileJobEnded(serial);
}

void CCompileCommands::OnCompileOutOfMemory()
{
    services_.MessageBox(U8("内存不足，编译任务未能完成。"), U8("错误"), wxOK | wxICON_ERROR);
}

void CCompileCommands::OnTypesetDone(bool ok)
{
    if (!ok) {
        services_.MessageBox(U8("排版过程出现异常"), U8("错误"), wxOK | wxICON_ERROR);
        return;
    }
    if (services_.MessageBox(U8("文件排版完毕，您确认显示并排版文档吗?"), U8("提示"), wxOK | wxCANCEL | wxICON_QUESTION) ==
            wxOK &&
        services_.MainFrame())
        PostPaneEvent(services_.MainFrame(), EVT_TYPESET_DONE);
}

void CCompileCommands::LoadTypesetResult()
{
    const CCompileJob* job = bench_.CompileJob();
    wxDocManager* docManager = services_.DocManager();
    if (!job || !docManager)
        return;
    const wxString path = wxString::FromUTF8(job->sourceFile);
    const wxString text = fromGbk(job->typesetText);
    CQuvBenchDoc* doc = openOrActivate(docManager, path);
    if (!doc || !doc->GetQuvPad()) {
        services_.MessageBox(U8("无法打开指定文件"), U8("提示"), wxOK | wxICON_INFORMATION);
        return;
    }
    CQuvPad* pad = doc->GetQuvPad();
    // Edits made while the job ran or the question was open would be lost.
    if (pad->UnloadText() != typesetStartText_ &&
        services_.MessageBox(U8("排版开始以后文档已经被修改，您仍然要用排版结果替换文档吗?"), U8("提示"),
                   wxYES_NO | wxICON_QUESTION) != wxYES)
        return;
    pad->LoadText(text, 1, 1);
    typesetStartText_ = pad->UnloadText();
}

void CCompileCommands::GoToLocation(const Location& at)
{
    wxDocManager* docManager = services_.DocManager();
    if (!docManager)
        return;
    CQuvBenchDoc* doc = openOrActivate(docManager, wxString::FromUTF8(at.file));
    if (!doc || !doc->GetQuvPad())
        return;
    doc->GetQuvPad()->Focus();
    doc->GetView()->PostLocatePos(at.line, at.column);
}

} // namespace ide
