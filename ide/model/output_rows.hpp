// The row models of the Output bar's panes. Only the user-interface thread
// touches a model: a worker builds a row (which carries its own copy of the
// diagnostic record) and posts it, and the pane appends it when the event
// arrives. The error-detail dialog reads the row's copy, so a job whose
// diagnostic list is gone cannot pull a record from under it.
#pragma once
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class QUVException;

namespace ide {

// A diagnostic record as the panes and the error-detail dialog show it; the
// texts are UTF-8, converted once, when the row is made: the file name is
// the file system's (UTF-8) name, the compiler's texts are GBK.
struct DiagnosticCopy {
    int kind = 0;
    int number = 0;
    int line = 0;
    int column = 0;
    int serial = -1;
    std::string file;
    std::string rule;
    std::string details;
    std::string kindName;
    std::string numberName;
};

DiagnosticCopy CopyDiagnostic(const QUVException& record);

// A place to open: the file, and a line and column counting from 1.
struct Location {
    std::string file;
    int line = 0;
    int column = 0;
};

// One row of the compile-result list: a diagnostic, or a text row such as a
// stage line.
struct CompileRow {
    bool showsRecord = false;
    DiagnosticCopy record;  // meaningful when showsRecord
    std::string cells[3];   // "错误", "位置", "原因"

    static CompileRow FromRecord(const QUVException& record);
    static CompileRow FromCopy(const DiagnosticCopy& record);
    static CompileRow Text(const std::string& first, const std::string& second);
};

class CompileResultModel {
public:
    // The row's index.
    int Add(CompileRow row);
    void ClearAll() { rows_.clear(); }
    int Count() const { return static_cast<int>(rows_.size()); }
    const CompileRow& Row(int index) const { return rows_.at(index); }
    bool ShowsRecord(int index) const;
    // Where a double click on the row leads: nowhere for a text row or a record without a file.
    std::optional<Location> Target(int index) const;

private:
    std::vector<CompileRow> rows_;
};

// One row of the find-result list: a message or a match. A common text found
// in many files makes a row per match, so a match row is a few words: it
// shares its file name with the other rows of its file and its text with the
// rows that found the same text, and what the list shows is made when it is
// shown.
class LookupEntry {
public:
    typedef std::shared_ptr<const std::string> SharedText;

    static LookupEntry Message(const std::string& text);
    static LookupEntry Match(const std::string& file, int line, const std::string& text);
    static LookupEntry Match(SharedText file, int line, SharedText text);

    // The file of a match; empty for a message.
    const std::string& File() const { return file_ ? *file_ : Empty(); }
    // The line of a match, from 1; -1 for a message.
    int Line() const { return line_; }
    // What a match found; empty for a message.
    const std::string& Text() const { return line_ >= 0 && text_ ? *text_ : Empty(); }
    // The row as the list shows it: "FILE (LINE) : TEXT", or the message.
    std::string Shown() const;

private:
    static const std::string& Empty();

    SharedText file_;
    int line_ = -1;
    SharedText text_;  // a message's text too
};

class LookupResultModel {
public:
    int Add(LookupEntry entry);
    void ClearAll() { entries_.clear(); }
    int Count() const { return static_cast<int>(entries_.size()); }
    const LookupEntry& Entry(int index) const { return entries_.at(index); }
    std::optional<Location> Target(int index) const;

private:
    std::vector<LookupEntry> entries_;
};

// The rows of a find job that its thread gathers between two visits of the
// user-interface thread: a common text found in many files would otherwise
// post an event, and grow the pane, once per row. Among the rows it keeps,
// in their place, the files a replace job rewrote, which the visitor reloads
// once the rows made before them are shown.
//
// The thread posts a visit only when the batch is idle; a visit takes all
// that gathered, which makes the batch idle again.
class LookupBatch {
public:
    struct Item {
        LookupEntry row;
        std::string reload;  // not empty: the file to reload, in place of a row
    };
    // True when the caller must post a visit: the batch was idle.
    bool Add(LookupEntry row);
    bool AddReload(const std::string& file);
    // Everything gathered since the last Take, in order.
    std::vector<Item> Take();

private:
    bool Push(Item item);

    std::mutex mutex_;
    std::vector<Item> items_;
    bool visiting_ = false;
};

// Turns the bytes of a tool's output, one at a time, into UTF-8 text for the
// make and run panes: a carriage return is dropped, bytes below 128 are their
// character, and a GBK pair is decoded when its second byte arrives.
class OutputDecoder {
public:
    // What the bytes above 127 are. A program writes the texts of its GBK
    // sources. make and the compilers name files as they are on disk (UTF-8)
    // among texts that may be GBK: there each run of such bytes is held until
    // the byte after it and read as UTF-8 when it is UTF-8, else as GBK.
    enum class Text { Gbk, FileNamesOrGbk };
    explicit OutputDecoder(Text text = Text::Gbk) : text_(text) {}
    // The text the byte completes; empty while a pair (or a run) is half read.
    std::string Feed(int byte);
    void Reset();

private:
    std::string FeedRun(unsigned char b);

    Text text_;
    unsigned char lead_ = 0;
    std::string run_;
    bool pairOpen_ = false;  // the run read as GBK ends in a lead byte
};

// The most lines the make and run panes keep each: a program that prints
// without end must not fill the IDE's memory, so the earliest lines give way.
const int kOutputPaneLines = 100000;
// The first row of a pane that has let lines go.
extern const char kOutputDroppedText[];

// Bytes of a tool's output that the reader thread gathers between two visits
// of the user-interface thread: a program that writes without pause would
// otherwise post an event per byte faster than they can be handled. It keeps
// at most about `lines` lines and says so when it let earlier ones go.
//
// The reader posts a visit only when the batch is idle; the visitor takes
// again, at its own pace, until it finds the batch empty, which makes it idle.
class OutputBatch {
public:
    explicit OutputBatch(int lines = kOutputPaneLines) : lines_(lines) {}
    // True when the caller must post a visit: the batch was idle.
    bool Add(char c);
    // What gathered since the last Take, the earliest `most` bytes of it at
    // most; false when nothing did (the batch is idle then). `dropped` tells
    // whether lines before these bytes were let go.
    bool Take(std::string& bytes, bool& dropped, size_t most = std::string::npos);

private:
    std::mutex mutex_;
    std::string bytes_;
    int lines_;
    int newlines_ = 0;
    bool dropped_ = false;
    bool visiting_ = false;
};

// What a make or run pane does to stay within its lines: it counts the line
// ends it holds and, for each piece of text, says how many of its earliest
// lines to remove and what to append.
class OutputLineLimit {
public:
    explicit OutputLineLimit(int lines = kOutputPaneLines) : limit_(lines) {}
    struct Step {
        bool addNotice = false;  // put kOutputDroppedText in the first row (once)
        int removeLines = 0;     // the pane's earliest lines (after the notice) to remove
        bool removeAll = false;  // remove everything after the notice, a line begun included
        std::string append;      // then append this
    };
    // `droppedBefore`: the batch already let lines of this text go.
    Step Add(const std::string& text, bool droppedBefore);
    void Reset();
    // Line ends in the pane after the notice.
    int Lines() const { return lines_; }

private:
    int limit_;
    int lines_ = 0;
    bool notice_ = false;
};

} // namespace ide
