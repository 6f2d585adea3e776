#include "ide/model/output_rows.hpp"

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
    copy.file = gbk::toUtf8(record.getFileName());
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
    entry.shown = text;
    return entry;
}

LookupEntry LookupEntry::Match(const std::string& file, int line, const std::string& text)
{
    LookupEntry entry;
    entry.file = file;
    entry.line = line;
    entry.text = text;
    entry.shown = file + " (" + std::to_string(line) + ") : " + text;
    return entry;
}

int LookupResultModel::Add(LookupEntry entry)
{
    entries_.push_back(std::move(entry));
    return Count() - 1;
}

std::optional<Location> LookupResultModel::Target(int index) const
{
    if (index < 0 || index >= Count() || entries_[index].line == -1)
        return std::nullopt;
    return Location{entries_[index].file, entries_[index].line, 1};
}

std::string OutputDecoder::Feed(int byte)
{
    const unsigned char b = static_cast<unsigned char>(byte);
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

} // namespace ide
