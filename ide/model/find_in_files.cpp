#include "ide/model/find_in_files.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string_view>
#include <thread>
#include <unordered_set>

#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include "compiler/core/gbk.hpp"
#include "ide/model/literal_scan.hpp"
#include "platform/safe_write.hpp"

namespace ide {

namespace fs = std::filesystem;

namespace {

std::string format(const char* pattern, std::initializer_list<std::string> args)
{
    // Each %s takes the next argument, each %d too (already a decimal text).
    std::string out;
    auto next = args.begin();
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && (p[1] == 's' || p[1] == 'd') && next != args.end()) {
            out += *next++;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

std::string kindOf(const FindSettings& part) { return part.regularExpression ? "正规式" : "字符串"; }

std::string join(const std::string& folder, const std::string& name)
{
    if (folder.empty() || folder.back() == '/')
        return folder + name;
    return folder + "/" + name;
}

// "*.*" takes every name, as it always has; otherwise the shell's wildcards.
bool matchesPattern(const std::string& pattern, const std::string& name)
{
    return pattern == "*.*" || ::fnmatch(pattern.c_str(), name.c_str(), 0) == 0;
}

// The names in a folder, sorted so that a listing is the same on every run.
std::vector<fs::directory_entry> listFolder(const std::string& folder)
{
    std::vector<fs::directory_entry> entries;
    std::error_code error;
    fs::directory_iterator it(folder.empty() ? "." : folder, fs::directory_options::skip_permission_denied, error);
    for (; !error && it != fs::directory_iterator(); it.increment(error))
        entries.push_back(*it);
    std::sort(entries.begin(), entries.end(), [](const fs::directory_entry& a, const fs::directory_entry& b) {
        return a.path().filename() < b.path().filename();
    });
    return entries;
}

bool readAll(const std::string& file, std::string& bytes, std::string& why)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        why = std::strerror(errno);
        return false;
    }
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            why = std::strerror(errno);
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return true;
}

} // namespace

QuvFindJob::QuvFindJob(int mode, std::string findText, std::string fileTypes, std::string folders, int matchCase,
                       int regularExpression, int subfolders, int scope)
    : mode(mode)
{
    find = {std::move(findText), std::string(), std::move(fileTypes), std::move(folders), matchCase,
            regularExpression, subfolders, scope};
    replace = {std::string(), std::string(), std::string(), std::string(), matchCase, regularExpression, subfolders,
               scope};
}

QuvFindJob::QuvFindJob(int mode, std::string findText, std::string replaceText, std::string fileTypes,
                       std::string folders, int matchCase, int regularExpression, int subfolders, int scope)
    : mode(mode)
{
    replace = {std::move(findText), std::move(replaceText), std::move(fileTypes), std::move(folders), matchCase,
               regularExpression, subfolders, scope};
    find = {std::string(), std::string(), std::string(), std::string(), matchCase, regularExpression, subfolders,
            scope};
}

void RememberFindJob(CQuvFindHistory& history, const QuvFindJob& job)
{
    if (job.mode != 0 && job.mode != 1)
        return;
    const FindSettings& part = job.Settings();
    history.matchCase = part.matchCase;
    history.regularExpression = part.regularExpression;
    history.subfolders = part.subfolders;
    history.scope = part.scope;
    CQuvFindHistory::InsertMostRecent(history.findTexts, part.findText);
    if (job.mode == 1)
        CQuvFindHistory::InsertMostRecent(history.replaceTexts, part.replaceText);
    if (part.scope == 0) {
        CQuvFindHistory::InsertMostRecent(history.fileTypes, part.fileTypes);
        CQuvFindHistory::InsertMostRecent(history.folders, part.folders);
    }
}

void QuvSplitList(std::vector<std::string>& out, const std::string& text)
{
    size_t from = 0;
    while (from < text.size()) {
        size_t at = text.find(';', from);
        if (at == std::string::npos)
            at = text.size();
        if (at > from)
            out.push_back(text.substr(from, at - from));
        from = at + 1;
    }
}

namespace {

// The files of `folder` that `pattern` matches, and with `subfolders` those of
// the folders below, appended in the order they are found.
void collectInFolder(std::vector<std::string>& found, const std::string& pattern, const std::string& folder,
                     int subfolders)
{
    // A pattern may name a folder below this one: "sub/*.e".
    const size_t slash = pattern.rfind('/');
    const std::string where = slash == std::string::npos ? folder : join(folder, pattern.substr(0, slash));
    const std::string name = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    for (const fs::directory_entry& entry : listFolder(where)) {
        std::error_code error;
        if (entry.is_directory(error))
            continue;
        const std::string file = entry.path().filename().string();
        if (matchesPattern(name, file))
            found.push_back(join(where, file));
    }
    if (!subfolders)
        return;
    for (const fs::directory_entry& entry : listFolder(folder)) {
        std::error_code error;
        if (entry.is_directory(error) && !entry.is_symlink(error))
            collectInFolder(found, pattern, join(folder, entry.path().filename().string()), subfolders);
    }
}

// Puts the names found before `list` (whose names count as found earlier,
// most recently first), the most recently found first, each name once, where
// it was found last: what moving each name to the front as it is found
// gives, in a time linear in the number of names rather than quadratic.
void putMostRecentFirst(std::vector<std::string>& list, std::vector<std::string> found)
{
    std::vector<std::string> result;
    result.reserve(found.size() + list.size());
    // Views of the names in `result`, which does not move them: it never grows past its room.
    std::unordered_set<std::string_view> seen;
    seen.reserve(result.capacity());
    auto put = [&](std::string& name) {
        if (seen.count(name) != 0)
            return;
        result.push_back(std::move(name));
        seen.insert(result.back());
    };
    for (auto name = found.rbegin(); name != found.rend(); ++name)
        put(*name);
    for (std::string& name : list)
        put(name);
    list.swap(result);
}

} // namespace

void QuvCollectFilesInDir(std::vector<std::string>& out, const std::string& pattern, const std::string& folder,
                          int subfolders)
{
    std::vector<std::string> found;
    collectInFolder(found, pattern, folder, subfolders);
    putMostRecentFirst(out, std::move(found));
}

std::vector<std::string> CollectFiles(const FindSettings& part, const std::vector<std::string>& listedFiles)
{
    std::vector<std::string> out;
    if (part.scope == 1 || part.scope == 2)
        return listedFiles;
    if (part.scope != 0)
        return out;
    std::vector<std::string> folderList, typeList, found;
    QuvSplitList(folderList, part.folders);
    QuvSplitList(typeList, part.fileTypes);
    for (const std::string& folder : folderList)
        for (const std::string& type : typeList)
            collectInFolder(found, type, folder, part.subfolders);
    putMostRecentFirst(out, std::move(found));
    return out;
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return a == b || fs::equivalent(a, b, error);
}

FindInFilesRun::FindInFilesRun(const QuvFindJob& job, Log log, const std::atomic<bool>* cancel, Replaced replaced)
    : job_(job), log_(std::move(log)), cancel_(cancel), replaced_(std::move(replaced))
{
    const FindSettings& part = job_.Settings();
    try {
        expression_ = MakeFindExpression(part.findText, part.regularExpression, part.matchCase);
        valid_ = true;
        literal_ = FindLiteral(part.findText, part.regularExpression, part.matchCase, literalBytes_);
    } catch (const boost::regex_error&) {
        valid_ = false;
    }
}

bool FindInFilesRun::Run()
{
    if (job_.mode != 0 && job_.mode != 1)
        return true;
    if (!valid_) {
        // The dialogs refuse such a text; a job built elsewhere ends here.
        Message("要查找的字符串不是一个合法的正规式");
        return true;
    }
    const std::vector<std::string> files = CollectFiles(job_.Settings(), job_.listedFiles);
    return job_.mode == 0 ? RunFind(files) : RunReplace(files);
}

bool FindInFilesRun::RunFind(const std::vector<std::string>& files)
{
    const FindSettings& part = job_.Settings();
    const std::string kind = kindOf(part);
    Message(format("多重文件查找%s\"%s\"开始", {kind, part.findText}));
    int total = 0;
    for (const std::string& file : files) {
        if (Cancelled())
            return false;
        Message("");
        Message(format("查找%s\"%s\"于文件%s", {kind, part.findText, file}));
        const int n = FindInFile(file);
        Message(format("共找到%d个匹配", {std::to_string(n)}));
        Message("");
        total += n;
    }
    Message("");
    Message(format("多重文件查找%s\"%s\"结束，共搜索%d个文件，找到%d个匹配",
                   {kind, part.findText, std::to_string(files.size()), std::to_string(total)}));
    return true;
}

bool FindInFilesRun::RunReplace(const std::vector<std::string>& files)
{
    const FindSettings& part = job_.Settings();
    const std::string kind = kindOf(part);
    Message(format("多重文件替换%s\"%s\"为\"%s\"开始", {kind, part.findText, part.replaceText}));
    // Files are rewritten side by side, since each waits for its bytes to
    // reach the disk; their rows still come file after file, in order.
    ReplaceWork work(files.size());
    std::vector<std::thread> workers;
    if (files.size() > 1 && DistinctFiles(files)) {
        const unsigned cores = std::max(1u, std::thread::hardware_concurrency());
        const size_t count = std::min<size_t>({files.size(), cores, 8});
        for (size_t i = 0; i < count; ++i)
            workers.emplace_back([this, &files, &work] { ReplaceFiles(files, work); });
    }
    int total = 0;
    bool cancelled = false;
    for (size_t i = 0; i < files.size() && !cancelled; ++i) {
        ReplaceWork::Outcome outcome;
        if (workers.empty()) {
            if (Cancelled()) {
                cancelled = true;
                break;
            }
            outcome.count = ReplaceIn(files[i], outcome.said, outcome.written);
        } else {
            std::unique_lock<std::mutex> lock(work.mutex);
            work.changed.wait(lock, [&] { return work.state[i] != ReplaceWork::Waiting; });
            if (work.state[i] == ReplaceWork::Skipped) {
                cancelled = true;
                break;
            }
            outcome = std::move(work.outcomes[i]);
        }
        Message("");
        Message(format("替换%s\"%s\"为\"%s\"于文件%s", {kind, part.findText, part.replaceText, files[i]}));
        for (const std::string& text : outcome.said)
            Message(text);
        if (outcome.written && replaced_)
            replaced_(files[i]);
        Message(format("共替换%d个匹配", {std::to_string(outcome.count)}));
        Message("");
        total += outcome.count;
    }
    {
        // Workers still running stop before their next file.
        std::lock_guard<std::mutex> lock(work.mutex);
        work.stop = true;
    }
    for (std::thread& worker : workers)
        worker.join();
    if (cancelled)
        return false;
    Message(format("多重文件替换%s\"%s\"为\"%s\"结束，共搜索%d个文件，替换%d个匹配",
                   {kind, part.findText, part.replaceText, std::to_string(files.size()), std::to_string(total)}));
    return true;
}

// Files that are one file under two names would race when rewritten side by
// side; such a list is done one file after another.
bool FindInFilesRun::DistinctFiles(const std::vector<std::string>& files)
{
    std::vector<std::pair<dev_t, ino_t>> seen;
    seen.reserve(files.size());
    for (const std::string& file : files) {
        struct stat st {};
        if (::stat(file.c_str(), &st) == 0)
            seen.emplace_back(st.st_dev, st.st_ino);
    }
    std::sort(seen.begin(), seen.end());
    return std::adjacent_find(seen.begin(), seen.end()) == seen.end();
}

// A worker takes the next file while the job is not cancelled; the check and
// the taking are one step, so every file after the first one left out is left
// out too, and each file taken gets its rows.
void FindInFilesRun::ReplaceFiles(const std::vector<std::string>& files, ReplaceWork& work) const
{
    for (;;) {
        size_t i;
        {
            std::lock_guard<std::mutex> lock(work.mutex);
            if (work.next >= files.size())
                return;
            i = work.next++;
            if (work.stop || Cancelled()) {
                work.stop = true;
                work.state[i] = ReplaceWork::Skipped;
                work.changed.notify_all();
                continue;
            }
        }
        ReplaceWork::Outcome outcome;
        outcome.count = ReplaceIn(files[i], outcome.said, outcome.written);
        std::lock_guard<std::mutex> lock(work.mutex);
        work.outcomes[i] = std::move(outcome);
        work.state[i] = ReplaceWork::Done;
        work.changed.notify_all();
    }
}

bool FindInFilesRun::ReadForSearch(const std::string& file, std::string& bytes)
{
    if (!valid_)
        return false;
    std::string why;
    if (!readAll(file, bytes, why)) {
        Message(format("无法读取文件%s：%s", {file, why}));
        return false;
    }
    return true;
}

template <class OnMatch>
void FindInFilesRun::EachLiteral(const std::string& bytes, OnMatch onMatch) const
{
    LiteralScan scan(bytes, literalBytes_);
    size_t offset = 0;
    int line = 0;
    while (scan.Next(offset, line))
        onMatch(offset, line);
}

int FindInFilesRun::FindInFile(const std::string& file)
{
    // The buffer is kept from file to file: its room is taken once.
    std::string& bytes = buffer_;
    if (!ReadForSearch(file, bytes))
        return 0;
    int count = 0;
    // The rows of the file share its name. Matches repeat their text often
    // (a plain text always): the last conversion is kept and shared too.
    LookupEntry::SharedText name;
    std::string lastWhat;
    LookupEntry::SharedText lastText;
    auto row = [&](int line, const char* what, size_t length) {
        if (!name)
            name = std::make_shared<const std::string>(file);
        if (!lastText || lastWhat.compare(0, std::string::npos, what, length) != 0) {
            lastWhat.assign(what, length);
            lastText = std::make_shared<const std::string>(gbk::toUtf8(lastWhat));
        }
        log_(LookupEntry::Match(name, line, lastText));
        ++count;
    };
    try {
        if (literal_) {
            EachLiteral(bytes, [&](size_t offset, int line) {
                row(line, bytes.data() + offset, literalBytes_.size());
            });
        } else {
            // The expression's matches come without their lines: the line
            // feeds between two matches are counted after the search.
            size_t lineAt = 0;
            int line = 1;
            GrepAll(expression_, bytes, [&](size_t offset, const std::string& what) {
                line += static_cast<int>(CountLineFeeds(bytes.data() + lineAt, bytes.data() + offset));
                lineAt = offset;
                row(line, what.data(), what.size());
            });
        }
    } catch (const std::runtime_error& e) {
        Message(format("查找文件%s失败：%s", {file, e.what()}));
    }
    return count;
}

int FindInFilesRun::ReplaceInFile(const std::string& file)
{
    std::vector<std::string> said;
    bool written = false;
    const int n = ReplaceIn(file, said, written);
    for (const std::string& text : said)
        Message(text);
    if (written && replaced_)
        replaced_(file);
    return n;
}

int FindInFilesRun::ReplaceIn(const std::string& file, std::vector<std::string>& said, bool& written) const
{
    written = false;
    for (const std::string& unsaved : job_.unsavedFiles)
        if (SameFile(file, unsaved)) {
            said.push_back(format("文件%s在编辑器中有未保存的修改，未作替换", {file}));
            return 0;
        }
    if (!valid_)
        return 0;
    std::string bytes, why;
    if (!readAll(file, bytes, why)) {
        said.push_back(format("无法读取文件%s：%s", {file, why}));
        return 0;
    }
    int count = 0;
    std::string result, replacement;
    try {
        if (literal_ && LiteralFormat(job_.Settings().replaceText, replacement)) {
            size_t last = 0;
            EachLiteral(bytes, [&](size_t offset, int) {
                if (count == 0)
                    result.reserve(bytes.size());
                result.append(bytes, last, offset - last);
                result += replacement;
                last = offset + literalBytes_.size();
                ++count;
            });
            result.append(bytes, last, std::string::npos);
        } else {
            result = MergeAll(expression_, bytes, job_.Settings().replaceText, &count);
        }
    } catch (const std::runtime_error& e) {
        said.push_back(format("替换文件%s失败：%s", {file, e.what()}));
        return 0;
    }
    if (count == 0)
        return 0;
    if (!platform::WriteFileSafely(file, result, why)) {
        said.push_back(format("无法写入文件%s：%s", {file, why}));
        return 0;
    }
    written = true;
    return count;
}

} // namespace ide
