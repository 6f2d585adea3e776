#include "ide/model/print_layout.hpp"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>

namespace ide {

namespace {

// The rows of a block that is `extent` wide in an area `width` wide.
int BlockRows(const std::string& text, int extent, int width)
{
    if (text.empty())
        return 0;
    return (extent + width - 1) / width;
}

// Cuts one document line into rows no wider than `width`; a character wider
// than that stands alone.
void CutLine(const std::wstring& line, const TextMeasurer& measurer, int width, std::vector<std::wstring>& rows)
{
    if (line.empty()) {
        rows.emplace_back();
        return;
    }
    size_t start = 0;
    while (start < line.size()) {
        size_t n = 0;
        while (start + n < line.size() && measurer.Extent(line.substr(start, n + 1)) <= width)
            ++n;
        if (n == 0)
            n = 1;
        rows.push_back(line.substr(start, n));
        start += n;
    }
}

} // namespace

int PrintLayout::CharIndexOfRow(int row) const
{
    if (row <= 0 || rowStarts_.empty())
        return 0;
    if (row < RowCount())
        return rowStarts_[row];
    int end = rowStarts_.back();
    for (uint8_t n : byteLengths_.back())
        end += n;
    return end;
}

std::vector<uint32_t> PrintLayout::RowColors(int row) const
{
    std::vector<uint32_t> out;
    size_t index = static_cast<size_t>(CharIndexOfRow(row));
    for (uint8_t bytes : byteLengths_.at(row)) {
        out.push_back(index < colors_.size() ? static_cast<uint32_t>(colors_[index]) : 0);
        index += bytes;
    }
    return out;
}

int PrintLayout::EndRow(int page) const
{
    return std::min(FirstRow(page) + rowsPerPage, RowCount());
}

LayoutResult LayOutPrint(PrintSource& source, const TextMeasurer& measurer, CPrintSetting& setting,
                         const PageMetrics& page, const std::string& fileName, std::time_t timeStamp,
                         PrintLayout& layout)
{
    // Measured with page numbers of five digits, as wide as any job's.
    setting.SetJobInfo(fileName, timeStamp, 10000, 10000, 10000);
    const std::string header = setting.FormatHeader();
    const std::string footer = setting.FormatFooter();
    const int headerExtent = measurer.Extent(WideFromUtf8(header));
    const int footerExtent = measurer.Extent(WideFromUtf8(footer));

    PrintLayout next;
    next.lineHeight = page.textHeight + page.externalLeading + setting.iLineDistance;
    next.pageHeight = page.pageHeight;
    next.pageWidth = page.pageWidth;
    next.numberWidth = measurer.Extent(WideFromUtf8(setting.FormatLineNumber(10000)));
    next.areaWidth = page.pageWidth - setting.iLeft - setting.iRight;
    next.textWidth = next.areaWidth - next.numberWidth;
    if (setting.iLeft + setting.iRight + next.numberWidth + 1 >= page.pageWidth)
        return LayoutResult::TooNarrow;

    const int headerRows = BlockRows(header, headerExtent, next.areaWidth);
    const int footerRows = BlockRows(footer, footerExtent, next.areaWidth);
    next.headerBlock = headerRows * next.lineHeight + setting.iLineDistance;
    next.footerBlock = footerRows * next.lineHeight + setting.iLineDistance;
    if (setting.iTop + setting.iBottom + headerRows * next.lineHeight + footerRows * next.lineHeight +
            next.lineHeight >=
        page.pageHeight)
        return LayoutResult::TooShort;
    const int textHeight =
        page.pageHeight - setting.iTop - setting.iBottom - next.headerBlock - next.footerBlock;
    next.rowsPerPage = next.lineHeight > 0 ? textHeight / next.lineHeight : 0;
    if (next.rowsPerPage <= 0)
        return LayoutResult::TooShort;

    next.colors_ = source.GetCharColors();
    const int lines = source.GetTextSize();
    for (int i = 0; i < lines; ++i)
        CutLine(source.GetLine(i), measurer, next.textWidth, next.rows_);

    // Colours are per byte of the editor's text: a double-byte character
    // moves the index on by two.
    int index = 0;
    for (const std::wstring& row : next.rows_) {
        next.rowStarts_.push_back(index);
        std::vector<uint8_t> lengths;
        lengths.reserve(row.size());
        for (wchar_t c : row) {
            const int n = std::max(1, source.ByteLength(c));
            lengths.push_back(static_cast<uint8_t>(n));
            index += n;
        }
        next.byteLengths_.push_back(std::move(lengths));
    }
    const int rowCount = next.RowCount();
    next.pageCount = rowCount / next.rowsPerPage + (rowCount % next.rowsPerPage ? 1 : 0);
    layout = std::move(next);
    return LayoutResult::Done;
}

std::time_t JobTimeStamp(const CPrintSetting& setting, const std::string& path)
{
    if (setting.bSysTime == 0 && !path.empty()) {
        struct statx info {};
        if (statx(AT_FDCWD, path.c_str(), 0, STATX_BTIME | STATX_MTIME, &info) == 0) {
            if (info.stx_mask & STATX_BTIME)
                return static_cast<std::time_t>(info.stx_btime.tv_sec);
            return static_cast<std::time_t>(info.stx_mtime.tv_sec);
        }
    }
    return std::time(nullptr);
}

std::string LayoutMessage(LayoutResult result)
{
    switch (result) {
    case LayoutResult::Done: return std::string();
    case LayoutResult::TooNarrow:
        return "左右页边距太宽，页面上没有留下打印正文的宽度。请在页面设置中减小页边距后再打印。";
    case LayoutResult::TooShort:
        return "上下页边距、页首和页尾太高，页面上放不下一行正文。请在页面设置中减小页边距或行间距后再打印。";
    }
    return std::string();
}

int EditorByteLength(wchar_t c)
{
    if (c < 0x80 || (c >= 0xF780 && c <= 0xF7FF))
        return 1;
    return 2;
}

std::wstring WideFromUtf8(const std::string& text)
{
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        int extra = c < 0x80 ? 0 : c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
        if (extra < 0 || i + extra >= text.size()) {
            out += static_cast<wchar_t>(0xFFFD);
            ++i;
            continue;
        }
        char32_t code = extra == 0 ? c : c & (0x3F >> extra);
        bool ok = true;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char t = static_cast<unsigned char>(text[i + k]);
            if ((t & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            code = (code << 6) | (t & 0x3F);
        }
        if (!ok) {
            out += static_cast<wchar_t>(0xFFFD);
            ++i;
            continue;
        }
        out += static_cast<wchar_t>(code);
        i += extra + 1;
    }
    return out;
}

} // namespace ide
