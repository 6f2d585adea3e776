// The IDE's hand-made stores, each driven by random operations from fixed
// seeds and compared after every step with a plain model: the make and run
// panes' bounded output (the reader's batch and the pane's line limit), the
// find histories as QuvBench.ini keeps them, the recent lists as the
// registry file keeps them, and the opened-files tree with its list.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ide/model/find_history.hpp"
#include "ide/model/output_rows.hpp"
#include "ide/model/recent_list.hpp"
#include "ide/model/settings_file.hpp"
#include "ide/model/workspace_trees.hpp"
#include "platform/private_profile.hpp"
#include "platform/registry_file.hpp"

namespace fs = std::filesystem;

namespace ide {
namespace {

int lineEnds(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// The text after the first `lines` line ends.
std::string after(const std::string& text, int lines)
{
    size_t from = 0;
    for (; lines > 0; --lines)
        from = text.find('\n', from) + 1;
    return text.substr(from);
}

// A pane as the make and run panes apply the limit's steps: the notice row,
// then the text.
struct Pane {
    bool notice = false;
    std::string text;

    void Apply(const OutputLineLimit::Step& step)
    {
        if (step.addNotice) {
            EXPECT_FALSE(notice) << "the notice is added once";
            notice = true;
        }
        if (step.removeAll)
            text.clear();
        ASSERT_LE(step.removeLines, lineEnds(text));
        text = after(text, step.removeLines);
        text += step.append;
    }
};

TEST(OutputPaneStore, KeepsTheLastLinesOfEverythingAProgramWrote)
{
    for (unsigned seed = 1; seed <= 300; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        const int limit = 1 + static_cast<int>(random() % 6);
        OutputBatch batch(limit);
        OutputLineLimit pane(limit);
        Pane shown;
        std::string written;  // the model: every byte the program wrote
        bool visitPosted = false;
        for (int step = 0; step < 200; ++step) {
            if (random() % 3) {
                const char c = "ab\n\n"[random() % 4];
                written += c;
                visitPosted = batch.Add(c) || visitPosted;
                continue;
            }
            // A visit of the user-interface thread: it takes at its own pace
            // until it finds the batch empty.
            if (!visitPosted)
                continue;
            std::string bytes;
            bool dropped = false;
            const size_t most = random() % 2 ? std::string::npos : 1 + random() % 5;
            visitPosted = batch.Take(bytes, dropped, most);
            if (!visitPosted) {
                // Idle: every byte written is in the pane, or was let go before its last lines.
                const int total = lineEnds(written);
                EXPECT_EQ(shown.notice, total > limit);
                EXPECT_EQ(shown.text, after(written, std::max(0, total - limit)));
                continue;
            }
            shown.Apply(pane.Add(bytes, dropped));
            EXPECT_LE(lineEnds(shown.text), limit);
            EXPECT_EQ(pane.Lines(), lineEnds(shown.text));
        }
    }
}

// A temporary settings or registry file, removed at the end.
struct TempFile {
    // In memory where the system offers it: the histories write a file per key.
    explicit TempFile(const char* name)
        : path(((fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path()) / name).string())
    {
        fs::remove(path);
    }
    ~TempFile() { fs::remove(path); }
    const std::string path;
};

TEST(FindHistoryStore, ComesBackFromQuvBenchIniAsTheUserLeftIt)
{
    TempFile ini("quv_history_store.ini");
    const std::string texts[] = {"x", "X", "  padded  ", "\"quoted\"", "'q'", "a=b", "[s]", ";c", "line\nbreak",
                                 "中文", "tab\t", std::string(300, 'w'), "\"", "ab", "# not a comment"};
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        fs::remove(ini.path);
        // The model: each section's keys as the file holds them.
        std::map<int, std::string> file;
        CQuvFindHistory history;
        for (int step = 0; step < 30; ++step) {
            if (random() % 4) {
                CQuvFindHistory::InsertMostRecent(history.findTexts, texts[random() % std::size(texts)]);
                continue;
            }
            history.SaveToIni(ini.path);
            int key = 0;
            for (const std::string& entry : history.findTexts) {
                if (key == kHistoryKeys)
                    break;
                if (entry.find('\n') == std::string::npos)
                    file[key++] = entry;
            }
            // Read as the next start reads it: the newest key last, each cut to the buffer.
            std::vector<std::string> expected;
            for (int k = kHistoryKeys - 1; k >= 0; --k)
                if (file.count(k))
                    CQuvFindHistory::InsertMostRecent(expected, CutToUtf16Units(file[k], kHistoryEntryUnits - 1));
            CQuvFindHistory loaded;
            loaded.LoadFromIni(platform::PrivateProfileFile(ini.path));
            ASSERT_EQ(loaded.findTexts, expected) << "after step " << step;
            EXPECT_TRUE(loaded.replaceTexts.empty());
        }
    }
}

TEST(RecentListStore, AddsRemovesAndComesBackFromTheRegistryFile)
{
    TempFile registryPath("quv_recent_store.reg");
    const std::string paths[] = {"/a/x.e", "/a/X.e", "/b/x.e", "/a b/\"c\".prj", "/d=e/f.e", "/g\\h.e",
                                 "/[k]/l.e", "/line\nbreak.e", "/中文/m.prj", " /lead.e", "/trail.e "};
    for (unsigned seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        fs::remove(registryPath.path);
        const int size = 1 + static_cast<int>(random() % 5);
        CRecentFileList list("Recent File List", "File%d", size, 20);
        std::vector<std::string> model;
        for (int step = 0; step < 40; ++step) {
            switch (random() % 4) {
            case 0:
            case 1: {
                const std::string& path = paths[random() % std::size(paths)];
                list.Add(path);
                model.erase(std::remove(model.begin(), model.end(), path), model.end());
                model.insert(model.begin(), path);
                if (static_cast<int>(model.size()) > size)
                    model.resize(size);
                break;
            }
            case 2: {
                const int index = static_cast<int>(random() % 7) - 1;
                list.Remove(index);
                if (index >= 0 && index < static_cast<int>(model.size()))
                    model.erase(model.begin() + index);
                break;
            }
            default: {
                platform::RegistryFile registry(registryPath.path);
                ASSERT_TRUE(registry.Load());
                list.WriteList(registry);
                ASSERT_TRUE(registry.Save());
                platform::RegistryFile again(registryPath.path);
                ASSERT_TRUE(again.Load());
                CRecentFileList loaded("Recent File List", "File%d", size, 20);
                loaded.ReadList(again);
                EXPECT_EQ(loaded.Entries(), model) << "read back after step " << step;
                break;
            }
            }
            ASSERT_EQ(list.Entries(), model) << "after step " << step;
        }
    }
}

TEST(OpenedFilesStore, TheTreeAndTheOpenListHoldTheOpenDocumentsOnce)
{
    const std::string names[] = {"/a.e", "/b.e", "/A.e", "/c d.e", "Untitled1", "/\xe4\xb8\xad.e"};
    for (unsigned seed = 1; seed <= 200; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        std::mt19937 random(seed);
        CQuvProject project;
        CQuvFileList openFiles;
        COpenedFilesTreeModel tree(project, openFiles);
        std::vector<std::string> model;  // the open documents, in the order the tree shows them
        for (int step = 0; step < 40; ++step) {
            const std::string& name = names[random() % std::size(names)];
            const std::string& other = names[random() % std::size(names)];
            const auto at = [&model](const std::string& n) { return std::find(model.begin(), model.end(), n); };
            switch (random() % 3) {
            case 0:
                tree.AddFile(name);
                if (at(name) == model.end())
                    model.push_back(name);
                break;
            case 1:
                tree.RemoveFile(name);
                if (at(name) != model.end())
                    model.erase(at(name));
                break;
            default:
                // Saved as another name, perhaps that of another open document, whose item goes.
                tree.RenameFile(name, other);
                if (at(name) != model.end()) {
                    if (other != name && at(other) != model.end())
                        model.erase(at(other));
                    *at(name) = other;
                }
                break;
            }
            ASSERT_EQ(tree.Children(), model) << "step " << step;
            std::vector<std::string> listed;
            for (int i = 0; i < openFiles.GetCount(); ++i)
                listed.push_back(openFiles.GetAt(i));
            std::vector<std::string> shown = model;
            std::sort(listed.begin(), listed.end());
            std::sort(shown.begin(), shown.end());
            ASSERT_EQ(listed, shown) << "step " << step;
        }
    }
}

} // namespace
} // namespace ide
