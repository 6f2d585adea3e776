#include "ide/model/output_rows.hpp"

#include <algorithm>

#include "compiler/core/diagnostics.hpp"
#include "compiler/core/gbk.hpp"

namespace ide {

DiagnosticCopy CopyDiagnostic(const QUVException& record)
{
    DiagnosticCopy copy;
    copy.kind = record.getKind();
    copy.number = record.getNumber();
    copy.line = record.getLine();
    copy.column = record.getColumn();
    copy.serial = record.getSerial();
    copy.file = gbk::fileNameToUtf8(record.getFileName());
    copy.rule = gbk::toUtf8(record.getRule());
    copy.details = gbk::toUtf8(record.getDetails());
    copy.kindName = gbk::toUtf8(record.getKindName());
    copy.numberName = gbk::toUtf8(record.getNumberName());
    return copy;
}

CompileRow CompileRow::FromRecord(const QUVException& record)
{
    return FromCopy(CopyDiagnostic(record));
}

CompileRow CompileRow::FromCopy(const DiagnosticCopy& record)
{
    CompileRow row;
    row.showsRecord = true;
    row.record = record;
    row.cells[0] = record.file + "(" + std::to_string(record.line) + "," + std::to_string(record.column) + ")";
    row.cells[1] = record.kindName + ":" + record.numberName;
    row.cells[2] = record.details;
    return row;
}

CompileRow CompileRow::Text(const std::string& first, const std::string& second)
{
    CompileRow row;
    row.cells[0] = first;
    row.cells[1] = second;
    return row;
}

int CompileResultModel::Add(CompileRow row)
{
    rows_.push_back(std::move(row));
    return Count() - 1;
}

bool CompileResultModel::ShowsRecord(int index) const
{
    return index >= 0 && index < Count() && rows_[index].showsRecord;
}

std::optional<Location> CompileResultModel::Target(int index) const
{
    if (!ShowsRecord(index) || rows_[index].record.file.empty())
        return std::nullopt;
    const DiagnosticCopy& r = rows_[index].record;
    return Location{r.file, r.line, r.column};
}

LookupEntry LookupEntry::Message(const std::string& text)
{
    LookupEntry entry;
    entry.text_ = std::make_shared<const std::string>(text);
    return entry;
}

LookupEntry LookupEntry::Match(const std::string& file, int line, const std::string& text)
{
    return Match(std::make_shared<const std::string>(file), line, std::make_shared<const std::string>(text));
}

LookupEntry LookupEntry::Match(SharedText file, int line, SharedText text)
{
    LookupEntry entry;
    entry.file_ = std::move(file);
    entry.line_ = line;
    entry.text_ = std::move(text);
    return entry;
}

std::string LookupEntry::Shown() const
{
    if (line_ < 0)
        return text_ ? *text_ : std::string();
    return File() + " (" + std::to_string(line_) + ") : " + Text();
}

const std::string& LookupEntry::Empty()
{
    static const std::string empty;
    return empty;
}

int LookupResultModel::Add(LookupEntry entry)
{
    entries_.push_back(std::move(entry));
    return Count() - 1;
}

bool LookupBatch::Add(LookupEntry row)
{
    Item item;
    item.row = std::move(row);
    return Push(std::move(item));
}

bool LookupBatch::AddReload(const std::string& file)
{
    Item item;
    item.reload = file;
    return Push(std::move(item));
}

bool LookupBatch::Push(Item item)
{
    std::lock_guard<std::mutex> lock(mutex_);
    items_.push_back(std::move(item));
    if (visiting_)
        return false;
    visiting_ = true;
    return true;
}

std::vector<LookupBatch::Item> LookupBatch::Take()
{
    std::vector<Item> items;
    std::lock_guard<std::mutex> lock(mutex_);
    items.swap(items_);
    visiting_ = false;
    return items;
}

std::optional<Location> LookupResultModel::Target(int index) const
{
    if (index < 0 || index >= Count() || entries_[index].Line() == -1)
        return std::nullopt;
    return Location{entries_[index].File(), entries_[index].Line(), 1};
}

void OutputDecoder::Reset()
{
    lead_ = 0;
    run_.clear();
    pairOpen_ = false;
}

std::string OutputDecoder::FeedRun(unsigned char b)
{
    if (b >= 0x80) {
        run_ += static_cast<char>(b);
        pairOpen_ = !pairOpen_ && b >= 0x81 && b != 0xFF;
        return std::string();
    }
    // A GBK pair may end in a byte below 128; a UTF-8 name never does.
    if (pairOpen_ && b >= 0x40 && !gbk::isUtf8(run_)) {
        run_ += static_cast<char>(b);
        pairOpen_ = false;
        return std::string();
    }
    std::string text = gbk::fileNameToUtf8(run_);
    run_.clear();
    pairOpen_ = false;
    if (b != '\r')
        text += static_cast<char>(b);
    return text;
}

std::string OutputDecoder::Feed(int byte)
{
    const unsigned char b = static_cast<unsigned char>(byte);
    if (text_ == Text::FileNamesOrGbk)
        return FeedRun(b);
    if (lead_) {
        const char pair[] = {static_cast<char>(lead_), static_cast<char>(b)};
        lead_ = 0;
        return gbk::toUtf8(std::string(pair, 2));
    }
    if (b == '\r')
        return std::string();
    if (b >= 0x81 && b <= 0xFE) {
        lead_ = b;
        return std::string();
    }
    if (b >= 0x80)
        return gbk::toUtf8(std::string(1, static_cast<char>(b)));
    return std::string(1, static_cast<char>(b));
}

const char kOutputDroppedText[] = "（较早的输出已略去，这里只保留最后的输出行）";

bool OutputBatch::Add(char c)
{
    std::lock_guard<std::mutex> lock(mutex_);
    bytes_ += c;
    if (c == '\n' && ++newlines_ >= 2 * lines_) {
        // Keep the last lines_ lines: cut after the line end that precedes them.
        size_t cut = 0;
        for (int skip = newlines_ - lines_; skip > 0; --skip)
            cut = bytes_.find('\n', cut) + 1;
        bytes_.erase(0, cut);
        newlines_ = lines_;
        dropped_ = true;
    }
    if (visiting_)
        return false;
    visiting_ = true;
    return true;
}

bool OutputBatch::Take(std::string& bytes, bool& dropped, size_t most)
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (bytes_.size() <= most) {
        bytes.clear();
        bytes.swap(bytes_);
        newlines_ = 0;
    } else {
        bytes.assign(bytes_, 0, most);
        bytes_.erase(0, most);
        newlines_ -= static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n'));
    }
    dropped = dropped_;
    dropped_ = false;
    visiting_ = !bytes.empty();
    return visiting_;
}

OutputLineLimit::Step OutputLineLimit::Add(const std::string& text, bool droppedBefore)
{
    Step step;
    const int incoming = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    const int excess = lines_ + incoming - limit_;
    size_t from = 0;
    // Lines the batch let go came after what the pane holds: that goes too, or a gap would hide.
    if (droppedBefore || excess > lines_) {
        step.removeAll = true;
        for (int skip = incoming - limit_; skip > 0; --skip)
            from = text.find('\n', from) + 1;
        lines_ = 0;
    } else if (excess > 0) {
        step.removeLines = excess;
        lines_ -= excess;
    }
    if ((step.removeAll || step.removeLines > 0) && !notice_) {
        step.addNotice = true;
        notice_ = true;
    }
    step.append = text.substr(from);
    lines_ += static_cast<int>(std::count(step.append.begin(), step.append.end(), '\n'));
    return step;
}

void OutputLineLimit::Reset()
{
    lines_ = 0;
    notice_ = false;
}

} // namespace ide
