// Laying a source out for printing with fixed character widths: rows cut to
// the page width, pages, header and footer blocks, line numbers, the colour
// of every printed character, and layouts that cannot fit.
#include <gtest/gtest.h>

#include "ide/model/print_layout.hpp"

namespace ide {
namespace {

// ASCII 10 units wide, every other character 20.
class FixedMeasurer : public TextMeasurer {
public:
    int Extent(const std::wstring& text) const override
    {
        int w = 0;
        for (wchar_t c : text)
            w += c < 0x80 ? 10 : 20;
        return w;
    }
};

// Each character's bytes all carry its own code as their colour, so a drift
// shows as a neighbour's code.
class FakeSource : public PrintSource {
public:
    explicit FakeSource(std::vector<std::wstring> lines) : lines_(std::move(lines)) {}
    int GetTextSize() override { return static_cast<int>(lines_.size()); }
    std::wstring GetLine(int index) override { return lines_.at(index); }
    std::vector<int32_t> GetCharColors() override
    {
        std::vector<int32_t> colors;
        for (const std::wstring& line : lines_)
            for (wchar_t c : line)
                colors.insert(colors.end(), ByteLength(c), static_cast<int32_t>(c));
        return colors;
    }
    int ByteLength(wchar_t c) const override { return EditorByteLength(c); }

private:
    std::vector<std::wstring> lines_;
};

// Text height 18 + leading 2 + line distance 10: rows 30 high. The area is
// 300 wide, 40 rows of which are the header and footer text.
struct Fixture {
    CPrintSetting setting;
    PageMetrics page{500, 600, 18, 2};
    PrintLayout layout;
    FixedMeasurer measurer;

    Fixture()
    {
        setting.iLeft = setting.iRight = 100;
        setting.iTop = setting.iBottom = 50;
        setting.iLineDistance = 10;
        setting.header = "H";
        setting.footer = "F &p/&t";
    }
    LayoutResult Lay(std::vector<std::wstring> lines, const std::string& file = "/src/demo.e")
    {
        FakeSource source(std::move(lines));
        return LayOutPrint(source, measurer, setting, page, file, 0, layout);
    }
    std::vector<std::wstring> Rows() const
    {
        std::vector<std::wstring> rows;
        for (int i = 0; i < layout.RowCount(); ++i)
            rows.push_back(layout.Row(i));
        return rows;
    }
};

TEST(PrintLayout, CutsLinesIntoRowsThatFitTheTextWidth)
{
    const std::wstring thirty(30, L'a');
    struct Case {
        std::vector<std::wstring> lines;
        int lineNumbers;
        std::vector<std::wstring> rows;
    } cases[] = {
        {{L"abc", L"", L"d"}, 0, {L"abc", L"", L"d"}},
        {{thirty + L"bc"}, 0, {thirty, L"bc"}},
        // "10001  " takes 70 of the 300.
        {{thirty}, 1, {std::wstring(23, L'a'), std::wstring(7, L'a')}},
        // Wide characters: 14 fit in 280, the 15th starts the next row.
        {{std::wstring(13, L'中') + L"ab"}, 0, {std::wstring(13, L'中') + L"ab"}},
        {{std::wstring(16, L'中')}, 0, {std::wstring(15, L'中'), L"中"}},
        {{}, 0, {}},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.setting.bPrintLineNo = c.lineNumbers;
        ASSERT_EQ(f.Lay(c.lines), LayoutResult::Done);
        EXPECT_EQ(f.Rows(), c.rows);
        EXPECT_EQ(f.layout.numberWidth, c.lineNumbers ? 70 : 0);
        EXPECT_EQ(f.layout.textWidth, 300 - f.layout.numberWidth);
    }

    // A character wider than the text width stands alone on its row.
    Fixture narrow;
    narrow.page.pageWidth = 215;
    ASSERT_EQ(narrow.Lay({L"a中b"}), LayoutResult::Done);
    EXPECT_EQ(narrow.Rows(), (std::vector<std::wstring>{L"a", L"中", L"b"}));
}

TEST(PrintLayout, PagesAndHeaderAndFooterBlocks)
{
    struct Case {
        const char* header;
        int headerStop;
        int lines;
        int headerBlock, rowsPerPage, pageCount;
    } cases[] = {
        // 600 - 100 of margins - 40 and 40 of blocks = 420: 14 rows a page.
        {"H", 0, 29, 40, 14, 3},
        {"H", 0, 28, 40, 14, 2},
        {"H", 0, 0, 40, 14, 0},
        // Exactly as wide as the area: one row; one more character: two.
        {"HHHHHHHHHHHHHHHHHHHHHHHHHHHHHH", 0, 1, 40, 14, 1},
        {"HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH", 0, 1, 70, 13, 1},
        // Switched off, or empty (which prints as one space): its spacing, or a row.
        {"H", 1, 1, 10, 15, 1},
        {"", 0, 1, 40, 14, 1},
    };
    for (const Case& c : cases) {
        Fixture f;
        f.setting.header = c.header;
        f.setting.bHeaderStop = c.headerStop;
        ASSERT_EQ(f.Lay(std::vector<std::wstring>(c.lines, L"x")), LayoutResult::Done) << c.header;
        EXPECT_EQ(f.layout.lineHeight, 30);
        EXPECT_EQ(f.layout.headerBlock, c.headerBlock) << c.header;
        EXPECT_EQ(f.layout.footerBlock, 40);
        EXPECT_EQ(f.layout.rowsPerPage, c.rowsPerPage) << c.header;
        EXPECT_EQ(f.layout.pageCount, c.pageCount) << c.header;
        if (c.pageCount > 0) {
            EXPECT_EQ(f.layout.FirstRow(c.pageCount), (c.pageCount - 1) * c.rowsPerPage);
            EXPECT_EQ(f.layout.EndRow(c.pageCount), c.lines);
        }
    }
}

TEST(PrintLayout, JobFieldsExpandHeaderAndLineNumbers)
{
    Fixture f;
    f.setting.header = "&n (&f) &p/&t";
    f.setting.bPrintLineNo = 1;
    ASSERT_EQ(f.Lay(std::vector<std::wstring>(3, std::wstring(30, L'a')), "quvtemp1"), LayoutResult::Done);
    EXPECT_EQ(f.setting.fileName, "quvtemp1");
    EXPECT_EQ(f.layout.RowCount(), 6);

    // Measured with five-digit page numbers, the header took two rows.
    EXPECT_EQ(f.layout.headerBlock, 70);
    // As the printout sets a page: a line cut in two takes two numbers.
    f.setting.SetPageInfo(1, f.layout.pageCount, f.layout.RowCount());
    EXPECT_EQ(f.setting.FormatHeader(), "quvtemp1 (quvtemp1) 1/1");
    EXPECT_EQ(f.setting.FormatLineNumber(1), "2  ");
    EXPECT_EQ(f.setting.FormatFooter(), "F 1/1");
}

// The colours come one per byte: after a double-byte character the next
// character's colour is two entries on, on this row and on every later row
// and page.
TEST(PrintLayout, ColoursFollowTheBytesOfEachCharacter)
{
    Fixture f;
    f.page.pageHeight = 280;   // 3 rows a page
    const std::wstring raw(1, wchar_t(0xF781));   // byte 0x81, which starts no character
    ASSERT_EQ(f.Lay({L"中文IF x", L"", raw + L"y", std::wstring(20, L'码') + L"END"}), LayoutResult::Done);
    ASSERT_EQ(f.layout.rowsPerPage, 3);
    ASSERT_EQ(f.layout.RowCount(), 5);
    EXPECT_EQ(f.layout.Row(4), std::wstring(5, L'码') + L"END");

    const int starts[] = {0, 8, 8, 10, 40};
    for (int r = 0; r < f.layout.RowCount(); ++r) {
        EXPECT_EQ(f.layout.CharIndexOfRow(r), starts[r]) << r;
        const std::wstring& row = f.layout.Row(r);
        EXPECT_EQ(f.layout.RowColors(r), std::vector<uint32_t>(row.begin(), row.end())) << r;
    }
    EXPECT_EQ(f.layout.CharIndexOfRow(f.layout.FirstRow(2)), 10);
    EXPECT_EQ(f.layout.CharIndexOfRow(99), 53);
}

TEST(PrintLayout, AFailedLayoutKeepsThePreviousOne)
{
    struct Case {
        const char* what;
        int left, top, lineNumbers;
        LayoutResult result;
    } cases[] = {
        {"margins", 250, 50, 0, LayoutResult::TooNarrow},
        {"margins and numbers", 215, 50, 1, LayoutResult::TooNarrow},
        {"two pixels left", 214, 50, 1, LayoutResult::Done},
        {"top", 100, 460, 0, LayoutResult::TooShort},
        {"one row left", 100, 420, 0, LayoutResult::Done},
    };
    for (const Case& c : cases) {
        Fixture f;
        ASSERT_EQ(f.Lay({L"kept", L"rows"}), LayoutResult::Done);
        f.setting.iLeft = f.setting.iRight = c.left;
        f.setting.iTop = c.top;
        f.setting.bPrintLineNo = c.lineNumbers;
        EXPECT_EQ(f.Lay({L"new"}), c.result) << c.what;
        if (c.result != LayoutResult::Done) {
            EXPECT_EQ(f.Rows(), (std::vector<std::wstring>{L"kept", L"rows"})) << c.what;
            EXPECT_EQ(f.layout.pageCount, 1);
            EXPECT_FALSE(LayoutMessage(c.result).empty());
        }
    }
}

TEST(PrintLayout, TimeStampOfTheJob)
{
    CPrintSetting setting;
    const std::time_t before = std::time(nullptr);
    setting.bSysTime = 0;
    // File time of a file that is gone, or of a document never saved: now.
    EXPECT_GE(JobTimeStamp(setting, "/nonexistent/quvbench/a.e"), before);
    EXPECT_GE(JobTimeStamp(setting, ""), before);
    // /etc/hostname was made long before this test.
    EXPECT_LT(JobTimeStamp(setting, "/etc/hostname"), before + 1);
    setting.bSysTime = 1;
    EXPECT_GE(JobTimeStamp(setting, "/etc/hostname"), before);
}

} // namespace
} // namespace ide
