// Laying a source file out for printing: the rows that fit the page width,
// the rows per page, the page count, and the colour of every printed
// character. No window toolkit here: widths come from a measurer and the text
// from a source, so a test can lay out with fixed widths.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "ide/model/print_setting.hpp"

namespace ide {

// Widths in device units of text drawn with the print font.
class TextMeasurer {
public:
    virtual ~TextMeasurer() = default;
    virtual int Extent(const std::wstring& text) const = 0;
};

// The text to print: the editor's lines, and its colours, one per byte of the
// editor's 8-bit text (a double-byte character has two).
class PrintSource {
public:
    virtual ~PrintSource() = default;
    virtual int GetTextSize() = 0;
    virtual std::wstring GetLine(int index) = 0;
    virtual std::vector<int32_t> GetCharColors() = 0;
    // The bytes `c` takes in the editor's text, so the colours it owns.
    virtual int ByteLength(wchar_t c) const = 0;
};

// The printer page and the print font's metrics, in device units.
struct PageMetrics {
    int pageWidth = 0;
    int pageHeight = 0;
    int textHeight = 0;
    int externalLeading = 0;
};

enum class LayoutResult {
    Done,
    // Margins and the line-number column leave no width for text.
    TooNarrow,
    // Margins, header and footer leave no room for one row.
    TooShort,
};

class PrintLayout {
public:
    int RowCount() const { return static_cast<int>(rows_.size()); }
    const std::wstring& Row(int row) const { return rows_.at(row); }
    // The colour index of the row's first character: the bytes of the rows
    // before it (0 for row 0 or less).
    int CharIndexOfRow(int row) const;
    // One colour per character of the row: the colour of its first byte; a
    // character past the end of the colours is black.
    std::vector<uint32_t> RowColors(int row) const;

    // Rows [FirstRow, EndRow) print on page `page` (from 1).
    int FirstRow(int page) const { return (page - 1) * rowsPerPage; }
    int EndRow(int page) const;

    int lineHeight = 0;
    int rowsPerPage = 0;
    int pageCount = 0;
    int pageWidth = 0;
    int pageHeight = 0;
    int headerBlock = 0;
    int footerBlock = 0;
    int numberWidth = 0;
    int areaWidth = 0;
    int textWidth = 0;

private:
    friend LayoutResult LayOutPrint(PrintSource&, const TextMeasurer&, CPrintSetting&, const PageMetrics&,
                                    const std::string&, std::time_t, PrintLayout&);

    std::vector<std::wstring> rows_;
    // Per row: its colour index, then the byte length of each character.
    std::vector<int> rowStarts_;
    std::vector<std::vector<uint8_t>> byteLengths_;
    std::vector<int32_t> colors_;
};

// Lays the source out for one job and stores the job's file name and time
// stamp in the settings. On failure `layout` keeps the rows, colours and page
// count it had.
LayoutResult LayOutPrint(PrintSource& source, const TextMeasurer& measurer, CPrintSetting& setting,
                         const PageMetrics& page, const std::string& fileName, std::time_t timeStamp,
                         PrintLayout& layout);

// The time stamp of a job: the file's creation time when file time is chosen
// and the file is there (its last change where the file system keeps no
// creation time); otherwise the current time.
std::time_t JobTimeStamp(const CPrintSetting& setting, const std::string& path);

// The text of a failed layout for the user.
std::string LayoutMessage(LayoutResult result);

std::wstring WideFromUtf8(const std::string& text);

// The bytes a character of the editor's text takes in its GBK form: one for
// ASCII and for a byte that starts no GBK character (which the editor hands
// out as U+F700 + byte), two for every other character.
int EditorByteLength(wchar_t c);

} // namespace ide
