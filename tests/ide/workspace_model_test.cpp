// The Workspace trees and the project settings dialog without a window: the
// trees stay in step with the project and the open-documents list through
// every popup command and document event, and the commands are enabled and
// act as the menu promises.
#include <algorithm>
#include <functional>

#include <gtest/gtest.h>

#include "ide/model/project_settings.hpp"
#include "ide/model/workspace_trees.hpp"

namespace ide {
namespace {

std::vector<std::string> Entries(const CQuvFileList& list)
{
    std::vector<std::string> out;
    for (int i = 0; i < list.GetCount(); ++i)
        out.push_back(list.GetAt(i));
    return out;
}

std::vector<std::string> Sorted(std::vector<std::string> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

// The application as the trees see it: documents open and close in the
// opened-files tree, as the document code does; dialogs and prompts answer
// from fields the test sets.
class FakeHost : public WorkspaceHost {
public:
    FakeHost(CQuvProject& project, COpenedFilesTreeModel& opened, CProjectTreeModel& projectTree)
        : project_(project), opened_(opened), projectTree_(projectTree)
    {
    }
    bool EnsureProjectCreated() override
    {
        ++ensureAsked;
        if (project_.IsCreated())
            return true;
        if (!createProject)
            return false;
        project_.SetCreated();
        project_.SetName("demo");
        projectTree_.Refresh();
        return true;
    }
    void OpenDocumentFile(const std::string& path) override
    {
        opened_.AddFile(path);
        active = path;
    }
    void CloseDocumentByPath(const std::string& path) override { opened_.RemoveFile(path); }
    std::string ActiveDocumentName() override { return active; }
    bool ChooseFiles(FileChoice choice, std::vector<std::string>& paths) override
    {
        choices.push_back(choice);
        paths = chosen;
        return !chosen.empty();
    }
    void ShowError(const std::string& text, const std::string& caption) override
    {
        errors.push_back(caption + "|" + text);
    }
    void ProjectSettings() override { ++settingsShown; }
    void RefreshProjectTree() override { projectTree_.Refresh(); }

    bool createProject = true;
    std::string active;
    std::vector<std::string> chosen;
    std::vector<FileChoice> choices;
    std::vector<std::string> errors;
    int ensureAsked = 0;
    int settingsShown = 0;

private:
    CQuvProject& project_;
    COpenedFilesTreeModel& opened_;
    CProjectTreeModel& projectTree_;
};

class WorkspaceTest : public testing::Test {
protected:
    WorkspaceTest() : projectTree(project, openFiles), opened(project, openFiles), host(project, opened, projectTree)
    {
        projectTree.Refresh();
    }

    void ExpectInStep(const std::string& step)
    {
        EXPECT_EQ(projectTree.Children(), Entries(project)) << step;
        EXPECT_EQ(projectTree.RootText(), project.IsCreated() ? project.GetName() : "工程尚未创建") << step;
        // The open list appends a renamed document, the tree renames it in place.
        EXPECT_EQ(Sorted(opened.Children()), Sorted(Entries(openFiles))) << step;
        EXPECT_EQ(opened.RootText(), "打开的文件") << step;
    }

    CQuvProject project;
    CQuvFileList openFiles;
    CProjectTreeModel projectTree;
    COpenedFilesTreeModel opened;
    FakeHost host;
};

TEST(SourceName, IsTheExtensionDotEInAnyCase)
{
    const struct {
        const char* name;
        bool source;
    } cases[] = {{"/w/a.e", true}, {"/w/X.E", true}, {"X.ee", false}, {"/w/a.pe", false}, {"e", false},
                 {".e", true},     {"/w/a.cpp", false}, {"", false}};
    for (const auto& c : cases)
        EXPECT_EQ(IsSourceName(c.name), c.source) << c.name;
}

TEST_F(WorkspaceTest, TreesStayInStepThroughEveryCommand)
{
    using C = WorkspaceCommand;
    const struct Step {
        const char* what;
        std::function<void()> run;
        std::vector<std::string> project;
        std::vector<std::string> open;
    } steps[] = {
        {"open three documents", [&] { for (auto p : {"/w/a.e", "/w/b.E", "/w/notes.txt"}) host.OpenDocumentFile(p); },
         {}, {"/w/a.e", "/w/b.E", "/w/notes.txt"}},
        {"the active document is no source: the project is created, nothing added", [&] { projectTree.Run(C::AddCurrent, "", host); },
         {},
         {"/w/a.e", "/w/b.E", "/w/notes.txt"}},
        {"project tree adds every open source", [&] { projectTree.Run(C::AddAll, "", host); },
         {"/w/a.e", "/w/b.E"}, {"/w/a.e", "/w/b.E", "/w/notes.txt"}},
        {"project tree removes a file", [&] { projectTree.Run(C::Remove, "/w/a.e", host); },
         {"/w/b.E"}, {"/w/a.e", "/w/b.E", "/w/notes.txt"}},
        {"opened-files tree adds the selected document", [&] { opened.Run(C::AddCurrent, "/w/a.e", host); },
         {"/w/b.E", "/w/a.e"}, {"/w/a.e", "/w/b.E", "/w/notes.txt"}},
        {"a.e saved as c.e", [&] { opened.RenameFile("/w/a.e", "/w/c.e"); },
         {"/w/b.E", "/w/a.e"}, {"/w/b.E", "/w/notes.txt", "/w/c.e"}},
        {"c.e saved over the open b.E", [&] { opened.RenameFile("/w/c.e", "/w/b.E"); },
         {"/w/b.E", "/w/a.e"}, {"/w/b.E", "/w/notes.txt"}},
        {"opened-files tree removes from the project only", [&] { opened.Run(C::Remove, "/w/b.E", host); },
         {"/w/a.e"}, {"/w/b.E", "/w/notes.txt"}},
        {"close from the project tree", [&] { projectTree.Run(C::Close, "/w/b.E", host); },
         {"/w/a.e"}, {"/w/notes.txt"}},
        {"closing a document not listed changes nothing", [&] { opened.RemoveFile("/w/zzz.e"); },
         {"/w/a.e"}, {"/w/notes.txt"}},
        {"open all the project's files", [&] { opened.Run(C::OpenAll, "", host); },
         {"/w/a.e"}, {"/w/notes.txt", "/w/a.e"}},
        {"opened-files tree adds chosen files, any extension", [&] {
             host.chosen = {"/w/d.e", "/w/a.e", "/w/x.txt"};
             opened.Run(C::AddDocument, "/w/notes.txt", host);
         }, {"/w/a.e", "/w/d.e", "/w/x.txt"}, {"/w/notes.txt", "/w/a.e"}},
        {"the project is loaded anew", [&] { project.Reset(); project.SetCreated(); project.SetName("p"); project.Add("/w/q.e"); host.RefreshProjectTree(); },
         {"/w/q.e"}, {"/w/notes.txt", "/w/a.e"}},
    };
    for (const Step& step : steps) {
        step.run();
        EXPECT_EQ(Entries(project), step.project) << step.what;
        EXPECT_EQ(Entries(openFiles), step.open) << step.what;
        ExpectInStep(step.what);
    }
    EXPECT_TRUE(host.errors.empty());
}

TEST_F(WorkspaceTest, AddDocumentsChecksTheExtensionAndAsksForAProjectFirst)
{
    // Cancelling the create prompt adds nothing and shows no dialog.
    host.createProject = false;
    host.chosen = {"/w/a.e"};
    projectTree.Run(WorkspaceCommand::AddDocument, "", host);
    EXPECT_EQ(project.GetCount(), 0);
    EXPECT_TRUE(host.choices.empty());
    ExpectInStep("cancelled");

    host.createProject = true;
    host.chosen = {"/w/a.e", "/w/readme.txt", "/w/B.E", "/w/a.e"};
    projectTree.Run(WorkspaceCommand::AddDocument, "", host);
    EXPECT_EQ(Entries(project), (std::vector<std::string>{"/w/a.e", "/w/B.E"}));
    ASSERT_EQ(host.errors.size(), 1u);
    EXPECT_EQ(host.errors[0], "错误!|/w/readme.txt不是一个QUV/E源文件，请确认添加的文件是以.e为扩展名!");
    EXPECT_EQ(host.choices.back(), FileChoice::AddToProject);
    EXPECT_EQ(projectTree.RootText(), "demo");
    ExpectInStep("added");

    // The active document twice: one entry, one item.
    host.OpenDocumentFile("/w/c.e");
    projectTree.Run(WorkspaceCommand::AddCurrent, "", host);
    projectTree.Run(WorkspaceCommand::AddCurrent, "", host);
    EXPECT_EQ(std::count(projectTree.Children().begin(), projectTree.Children().end(), "/w/c.e"), 1);
    ExpectInStep("active twice");
}

TEST_F(WorkspaceTest, MenuStatesFollowSelectionProjectAndActiveDocument)
{
    host.OpenDocumentFile("/w/open.e");
    host.OpenDocumentFile("/w/notes.txt");
    project.SetCreated();
    project.Add("/w/in.e");
    host.active = "/w/open.e";
    using C = WorkspaceCommand;
    struct Case {
        bool projectTree;
        C command;
        const char* selected;
        bool enabled;
        const char* text;
    } cases[] = {
        {true, C::Open, "/w/in.e", false, ""},  // a project file not open
        {true, C::Close, "/w/in.e", true, ""},
        {true, C::Close, "", false, ""},
        {true, C::OpenAll, "", true, ""},
        {true, C::AddCurrent, "", true, "添加当前活动文档"},
        {true, C::Remove, "/w/in.e", true, ""},
        {true, C::Remove, "", false, ""},
        {true, C::ProjectSettings, "", true, ""},
        {false, C::Open, "/w/open.e", true, ""},
        {false, C::AddCurrent, "/w/open.e", true, "添加选定文档"},
        {false, C::AddCurrent, "/w/notes.txt", false, "添加选定文档"},
        {false, C::AddCurrent, "", true, "添加当前活动文档"},
        {false, C::AddDocument, "/w/open.e", true, ""},
        {false, C::AddDocument, "/w/notes.txt", false, ""},
        {false, C::Remove, "/w/open.e", false, ""},
    };
    for (const Case& c : cases) {
        const CWorkspaceTree& tree = c.projectTree ? static_cast<CWorkspaceTree&>(projectTree) : opened;
        const CommandState state = tree.Update(c.command, c.selected, host);
        EXPECT_EQ(state.enabled, c.enabled) << c.projectTree << " " << static_cast<int>(c.command) << " " << c.selected;
        EXPECT_EQ(state.text, c.text) << static_cast<int>(c.command);
    }
    // The active document already in the project, or no source: nothing to add.
    for (const char* active : {"/w/in.e", "/w/notes.txt", ""}) {
        host.active = active;
        EXPECT_FALSE(projectTree.Update(C::AddCurrent, "", host).enabled) << active;
        EXPECT_FALSE(opened.Update(C::AddCurrent, "", host).enabled) << active;
    }
}

// A project file's relative entry shows as written, and stands for the file
// beside the project: opening, closing and adding act on that file.
TEST_F(WorkspaceTest, RelativeEntriesStandForTheFileBesideTheProject)
{
    project.SetCreated();
    project.SetPath("/w/p/demo.prj");
    project.Add("lib/a.e");
    projectTree.Refresh();
    EXPECT_EQ(projectTree.Children(), std::vector<std::string>{"lib/a.e"});
    EXPECT_EQ(projectTree.DocumentPath("lib/a.e"), "/w/p/lib/a.e");
    EXPECT_EQ(opened.DocumentPath("/w/p/lib/a.e"), "/w/p/lib/a.e");

    using C = WorkspaceCommand;
    projectTree.Run(C::Open, "lib/a.e", host);
    EXPECT_EQ(Entries(openFiles), std::vector<std::string>{"/w/p/lib/a.e"});
    EXPECT_TRUE(projectTree.Update(C::Open, "lib/a.e", host).enabled);
    // Already in the project under its relative name: not added again.
    EXPECT_FALSE(opened.Update(C::AddCurrent, "/w/p/lib/a.e", host).enabled);
    opened.Run(C::AddAll, "", host);
    EXPECT_EQ(Entries(project), std::vector<std::string>{"lib/a.e"});
    projectTree.Run(C::Close, "lib/a.e", host);
    EXPECT_TRUE(Entries(openFiles).empty());
    projectTree.Run(C::OpenAll, "", host);
    EXPECT_EQ(Entries(openFiles), std::vector<std::string>{"/w/p/lib/a.e"});
}

class ProjectSettingsTest : public testing::Test {
protected:
    ProjectSettingsTest()
    {
        for (auto p : {"/w/a.e", "/w/n.txt", "/w/B.E", "/w/c.E"})
            openFiles.Add(p);
    }
    CQuvProject project;
    CQuvFileList openFiles;
};

TEST_F(ProjectSettingsTest, EditsCopiesAndOkWritesThemBack)
{
    CProjectSettingsModel dialog(project, openFiles, false);
    EXPECT_EQ(dialog.openRows, (std::vector<std::string>{"/w/a.e", "/w/B.E", "/w/c.E"}));
    EXPECT_TRUE(dialog.projectRows.empty());
    EXPECT_FALSE(dialog.Apply());
    EXPECT_FALSE(project.IsCreated());
    EXPECT_FALSE(project.IsModified());

    dialog.AddSelectedOpenRows({0, 2});
    dialog.AddAllOpenRows();
    dialog.AddProjectRows({"/w/a.e", "/w/z.e"});
    EXPECT_EQ(dialog.projectRows, (std::vector<std::string>{"/w/a.e", "/w/c.E", "/w/B.E", "/w/z.e"}));
    dialog.RemoveProjectRows({0, 1, 3});
    EXPECT_EQ(dialog.projectRows, (std::vector<std::string>{"/w/B.E"}));

    dialog.SetProjectFile("/w/shop.v2.prj");
    EXPECT_EQ(dialog.name, "shop.v2");
    dialog.name = "typed";
    dialog.SetProjectFile("/w/other.prj");
    EXPECT_EQ(dialog.name, "typed");
    EXPECT_EQ(dialog.path, "/w/other.prj");
    EXPECT_TRUE(project.GetPath().empty());

    ASSERT_TRUE(dialog.Apply());
    EXPECT_TRUE(project.IsCreated());
    EXPECT_TRUE(project.IsModified());
    EXPECT_EQ(project.GetName(), "typed");
    EXPECT_EQ(project.GetPath(), "/w/other.prj");
    EXPECT_EQ(Entries(project), (std::vector<std::string>{"/w/B.E"}));

    // 还原 brings back the project's entries and drops the unsaved edits.
    CProjectSettingsModel again(project, openFiles, false);
    again.RemoveProjectRows({0});
    again.name.clear();
    again.Fill();
    EXPECT_EQ(again.projectRows, (std::vector<std::string>{"/w/B.E"}));
    EXPECT_EQ(again.name, "typed");
    EXPECT_TRUE(again.Apply());
}

} // namespace
} // namespace ide
