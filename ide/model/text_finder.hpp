// Find and replace in one document: the engine behind an editor view's Find,
// Find next, Find previous, Replace and bracket matching. It keeps the find
// options, a snapshot of the document's text and every match in it.
//
// The editor's text is 8-bit GBK and its columns count bytes, so the finder
// works on the bytes as they are: offsets, columns and selections are byte
// positions, lines and columns count from 1. It reaches the editor only
// through FinderEditor, which the view implements over its control.
#pragma once
#include <string>
#include <vector>

namespace ide {

struct TextPos {
    int line = 1;
    int col = 1;
};

// What the finder needs of its view and the view's control. Texts are the
// control's GBK bytes; the whole text is the lines in order, each followed by
// "\n".
class FinderEditor {
public:
    virtual ~FinderEditor() = default;
    virtual std::string UnloadText() = 0;
    virtual std::string GetLine(long index) = 0;  // 0-based
    virtual long GetTextSize() = 0;               // number of lines
    virtual bool GetBCanCopy() = 0;               // a selection exists
    virtual void SetSelection(long aline, long acol, long cline, long ccol) = 0;
    virtual void ReplaceSelText(const std::string& text) = 0;
    virtual void LoadText(const std::string& text, long line, long col) = 0;
    virtual void LocatePos(long line, long col) = 0;
    // Grows with every change of the text.
    virtual long GetChangeCount() = 0;
    // The caret and anchor the control last reported to the view.
    virtual TextPos Caret() = 0;
    virtual TextPos Anchor() = 0;
    // Asks the view, later on the user-interface thread, for Find next.
    virtual void PostFindNext() = 0;
};

// The selected text: the bytes between caret and anchor, lines joined by
// "\n"; empty without a selection.
std::string GetSelectedText(FinderEditor& editor);

// Texts in UTF-8, as the dialogs and the history hold them.
struct FindOptions {
    int direction = 1;  // 1 down, 0 up
    int matchCase = 1;
    int regularExpression = 0;
    int wrap = 1;
    std::string findText;
};

struct ReplaceOptions {
    int direction = 1;
    int matchCase = 1;
    int regularExpression = 0;
    std::string findText;
    int wrap = 1;
    int scope = 0;  // replace all in 0 the whole document, 1 the selected text
    std::string replaceText;
};

struct TextMatch {
    size_t offset = 0;  // in the snapshot
    std::string text;   // the matched bytes
};

class CTextFinder {
public:
    explicit CTextFinder(FinderEditor& editor) : editor(editor) {}

    void GetOptions(FindOptions& out) const;
    void SetFindOptions(const FindOptions& in);
    void GetReplaceOptions(ReplaceOptions& out) const;
    void SetReplaceOptions(const ReplaceOptions& in);

    // The next (previous) match from the caret; false when there is none.
    bool FindNext(int& startLine, int& startCol, int& endLine, int& endCol);
    bool FindPrevious(int& startLine, int& startCol, int& endLine, int& endCol);
    // Replaces the matches inside the selection, then asks the view for Find next.
    void Replace();
    // Replaces every match of the document, or of the selection (scope 1).
    void ReplaceAll();
    // Selects from the bracket at the caret to its partner; false when there is none.
    bool FindMatchingBracket();
    bool CanMatchBracket();

    FinderEditor& Editor() { return editor; }
    // The match list must be rebuilt before it is used again.
    void MarkStale() { stale = 1; }
    bool SearchDefined() const { return searchDefined != 0; }
    const std::vector<TextMatch>& Matches() const { return matches; }

private:
    // The options that find and replace share, between the finder and either option set.
    template <class From, class To>
    static void CopyFindFields(const From& from, To& to);
    // True when the match list describes the text as it is: no option or
    // edit since the last Search.
    bool ListCurrent();
    // Rebuilds the match list unless it is current.
    void Refresh();
    void Search(std::string text);
    // Every match of `source` replaced; false when the library gives up.
    bool Merge(const std::string& source, std::string& result) const;
    bool Locate(bool forward, int& startLine, int& startCol, int& endLine, int& endCol);
    // The match from the list; false when there is none.
    bool LocateInList(bool forward, TextPos& start, TextPos& end);
    // The match found by reading the lines from the caret on, for a find
    // whose matches never leave their line; false when the find is not such
    // a one or the match lies too far for it, `found` whether there is one.
    bool LocateInLines(bool forward, TextPos& start, TextPos& end, bool& found);
    // The offset just past line `line`'s last byte, before its "\n".
    size_t LineEnd(int line) const;
    size_t LineColToOffset(TextPos at) const;
    // True when the view's selection is the match, anchor at its start.
    bool Selects(const TextMatch& match);
    TextPos OffsetToLineCol(size_t offset) const;

    FinderEditor& editor;
    int searchDefined = 0;
    int stale = 1;
    int direction = 1;
    int matchCase = 1;
    int regularExpression = 0;
    int scope = 0;
    int wrap = 1;
    std::string findText;
    std::string replaceText;
    std::string snapshot;
    long snapshotChange = 0;  // the control's change count when the snapshot was taken
    std::vector<size_t> lineStarts;  // of the snapshot
    std::vector<TextMatch> matches;
};

} // namespace ide
