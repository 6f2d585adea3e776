// Find and replace in many files: the job that the find-in-files and
// replace-in-files commands build, and the run that a find thread makes of it.
//
// A job carries its own copy of everything it uses (texts, options and, for
// the open documents or the project, the file list), made on the
// user-interface thread when it is built; the history is updated there too.
// The run then touches nothing that the user interface changes: it reads the
// disk, writes files and hands its rows to a log function.
#pragma once
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "ide/model/find_history.hpp"
#include "ide/model/find_regex.hpp"
#include "ide/model/output_rows.hpp"

namespace ide {

// Texts in UTF-8. fileTypes and folders are ";"-separated lists as typed.
struct FindSettings {
    std::string findText;
    std::string replaceText;
    std::string fileTypes;
    std::string folders;
    int matchCase = 1;
    int regularExpression = 0;
    int subfolders = 0;
    int scope = 0;  // 0 listed folders, 1 open documents, 2 project files
};

class QuvFindJob {
public:
    // A find job (mode 0): the replace settings' texts stay empty.
    QuvFindJob(int mode, std::string findText, std::string fileTypes, std::string folders, int matchCase,
               int regularExpression, int subfolders, int scope);
    // A replace job (mode 1): the find settings' texts stay empty.
    QuvFindJob(int mode, std::string findText, std::string replaceText, std::string fileTypes,
               std::string folders, int matchCase, int regularExpression, int subfolders, int scope);

    // The settings the mode names.
    const FindSettings& Settings() const { return mode == 1 ? replace : find; }

    FindSettings find;
    FindSettings replace;
    int mode = 0;
    // Scope 1 and 2: the open documents or the project's files as they were
    // when the job was built.
    std::vector<std::string> listedFiles;
    // Replace jobs: the files open in an editor with unsaved changes when the
    // job was built. They keep their bytes: saving the editor would undo the replacement.
    std::vector<std::string> unsavedFiles;
};

// What a job remembers in the history, done on the user-interface thread when
// it is built: its options, then its find text (and replacement) and, for
// listed folders, its file types and folders put first.
void RememberFindJob(CQuvFindHistory& history, const QuvFindJob& job);

// Splits at ";", dropping empty items; items are not trimmed.
void QuvSplitList(std::vector<std::string>& out, const std::string& text);

// Adds the files of `folder` that `pattern` matches, most recently found
// first, each path once; with `subfolders` the folders below too. Links to
// folders are not followed, so a link cannot lead the walk into a loop.
void QuvCollectFilesInDir(std::vector<std::string>& out, const std::string& pattern, const std::string& folder,
                          int subfolders);

// The file set of a job's settings: every folder with every type for listed
// folders, else the job's copied list.
std::vector<std::string> CollectFiles(const FindSettings& part, const std::vector<std::string>& listedFiles);

// One run of a job. Rows go to `log` in order; `cancel`, when given, is
// checked between files.
class FindInFilesRun {
public:
    typedef std::function<void(LookupEntry)> Log;
    // Told the name of each file a replacement has written.
    typedef std::function<void(const std::string&)> Replaced;

    FindInFilesRun(const QuvFindJob& job, Log log, const std::atomic<bool>* cancel = nullptr,
                   Replaced replaced = nullptr);

    // The whole job; false when it was cancelled before its end.
    bool Run();
    // The matches of one file, a row each.
    int FindInFile(const std::string& file);
    // Replaces every match in one file; the count, 0 when the file keeps its bytes.
    int ReplaceInFile(const std::string& file);

private:
    void Message(const std::string& text) { log_(LookupEntry::Message(text)); }
    bool Cancelled() const { return cancel_ && cancel_->load(); }
    bool RunFind(const std::vector<std::string>& files);
    bool RunReplace(const std::vector<std::string>& files);
    // The bytes of a file to search; false, with a row saying why, when it
    // cannot be read, and false without a row when the expression is invalid.
    bool ReadForSearch(const std::string& file, std::string& bytes);

    // The files of a replace run shared with the threads that rewrite them.
    struct ReplaceWork {
        enum State { Waiting, Done, Skipped };
        struct Outcome {
            int count = 0;
            bool written = false;
            std::vector<std::string> said;   // the file's messages, in order
        };
        explicit ReplaceWork(size_t files) : state(files, Waiting), outcomes(files) {}
        std::mutex mutex;
        std::condition_variable changed;
        size_t next = 0;
        bool stop = false;
        std::vector<State> state;
        std::vector<Outcome> outcomes;
    };
    static bool DistinctFiles(const std::vector<std::string>& files);
    void ReplaceFiles(const std::vector<std::string>& files, ReplaceWork& work) const;
    // Replaces in one file; its messages go to `said`. The caller tells
    // replaced_ of a file written, on its own thread and in the files' order.
    int ReplaceIn(const std::string& file, std::vector<std::string>& said, bool& written) const;
    // Calls onMatch(offset, line) for every match of the plain text in
    // `bytes`, in order; the line counts from 1.
    template <class OnMatch>
    void EachLiteral(const std::string& bytes, OnMatch onMatch) const;

    QuvFindJob job_;
    boost::regex expression_;
    bool valid_ = false;
    // A plain text that matches case is searched as bytes, without the expression.
    bool literal_ = false;
    std::string literalBytes_;
    // A find run's bytes of the file in hand.
    std::string buffer_;
    Log log_;
    const std::atomic<bool>* cancel_;
    Replaced replaced_;
};

// True when both names lead to one file (the same name, or the same file on disk).
bool SameFile(const std::string& a, const std::string& b);

} // namespace ide
