// What shapes a printed page: header and footer templates with their switches
// and alignment, margins, print font, header/footer colour, spacing and print
// options, kept in sections "PAGE_SETUP_INFO" and "PRINT_FONT" of
// QuvBench.ini. During a print job it also carries the job's file name, time
// stamp and page counters, from which it expands the templates.
#pragma once
#include <cstdint>
#include <ctime>
#include <string>

#include "ide/model/display_setting.hpp"

namespace ide {

class CPrintSetting {
public:
    // The defaults, as a missing file gives them.
    CPrintSetting();

    // From a settings file read once.
    void Load(const platform::PrivateProfileFile& profile);
    void Save(const std::string& file) const;
    // Writes the fields that differ from `before` (what was read at
    // start-up), and those the file does not hold yet; the font counts as
    // one field. True when anything was written.
    bool SaveChanges(const CPrintSetting& before, platform::PrivateProfileFile& profile) const;

    // Empty when the header (footer) is switched off, else its template expanded.
    std::string FormatHeader() const;
    std::string FormatFooter() const;
    // The line-number prefix of printed row `row` (from 0): the number right-
    // aligned to the width of the row count, then two spaces; empty when line
    // numbers are off.
    std::string FormatLineNumber(int row) const;
    // 0 left, 1 centre, anything else right (2).
    static int AlignCode(int align);

    void SetJobInfo(const std::string& fileName, std::time_t timeStamp, int currentPage, int pageCount,
                    int rowCount);
    void SetPageInfo(int currentPage, int pageCount, int rowCount);

    // Codes: "&f" file name, "&n" its last component, "&t" page count, "&p"
    // current page, "&&" an ampersand; "%" with the next character is a time
    // conversion of the job's time stamp in local time when it is one of the
    // standard strftime conversions or "%%", and is copied as it stands
    // otherwise.
    // An empty template gives one space.
    std::string ExpandTemplate(const std::string& text) const;

    bool SamePersistentFields(const CPrintSetting& o) const;

    // Persistent fields.
    std::string header;
    int bHeaderStop;
    int bHeaderSeperatorStop;
    int bHeaderAlign;
    std::string footer;
    int bFooterStop;
    int bFooterSeperatorStop;
    int bFooterAlign;
    int iLeft, iRight, iTop, iBottom;
    int bInchUnit;
    int bSysTime;
    LogFont printFont;
    uint32_t headerFooterColor;
    int iPageSeperatorCode;
    int bPrintAutoChangeLine;
    int bPrintLineNo;
    int bPrintDouble;
    int bPrintSyntax;
    int iLineDistance;

    // Job fields, never stored.
    std::string fileName;
    std::time_t timeStamp = 0;
    int currentPage = 0;
    int pageCount = 0;
    int rowCount = 0;
};

// The template buffers hold 1024 UTF-16 units with their terminator.
inline constexpr size_t kTemplateUnits = 1024;

} // namespace ide
