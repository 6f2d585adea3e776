#include "ide/model/print_setting.hpp"

#include <cstring>

#include "ide/model/settings_file.hpp"
#include "platform/private_profile.hpp"

namespace ide {

namespace {

const char kSection[] = "PAGE_SETUP_INFO";
const char kDefaultHeader[] = "文件: &f  %x, %X";
const char kDefaultFooter[] = "第 &p 页";

// ORDER PAGE KEYS: the integer keys as they are written, after the colour and
// between the two templates (see Save); each with its default.
struct IntKey {
    const char* key;
    int CPrintSetting::*field;
    int fallback;
};
const IntKey kHeaderKeys[] = {{"bHeaderStop", &CPrintSetting::bHeaderStop, 0},
                              {"bHeaderSeperatorStop", &CPrintSetting::bHeaderSeperatorStop, 0},
                              {"bHeaderAlign", &CPrintSetting::bHeaderAlign, 1}};
const IntKey kFooterKeys[] = {{"bFooterStop", &CPrintSetting::bFooterStop, 0},
                              {"bFooterSeperatorStop", &CPrintSetting::bFooterSeperatorStop, 0},
                              {"bFooterAlign", &CPrintSetting::bFooterAlign, 2},
                              {"iLeft", &CPrintSetting::iLeft, 100},
                              {"iRight", &CPrintSetting::iRight, 100},
                              {"iTop", &CPrintSetting::iTop, 100},
                              {"iBottom", &CPrintSetting::iBottom, 100},
                              {"bInchUnit", &CPrintSetting::bInchUnit, 1},
                              {"bSysTime", &CPrintSetting::bSysTime, 1},
                              {"iPageSeperatorCode", &CPrintSetting::iPageSeperatorCode, 12},
                              {"bPrintAutoChangeLine", &CPrintSetting::bPrintAutoChangeLine, 1},
                              {"bPrintLineNo", &CPrintSetting::bPrintLineNo, 0},
                              {"bPrintDouble", &CPrintSetting::bPrintDouble, 0},
                              {"bPrintSyntax", &CPrintSetting::bPrintSyntax, 1},
                              {"iLineDistance", &CPrintSetting::iLineDistance, 12}};

// The conversions of the C and POSIX strftime, and "%" for "%%". Anything
// else is not handed to strftime: a lone or unknown code there is undefined.
// A modifier (E, O) takes a third character, so on its own it is no code.
bool knownTimeCode(char c)
{
    return c != '\0' && std::strchr("aAbBcCdDeFgGhHIjmMnprRStTuUVwWxXyYzZ%", c) != nullptr;
}

std::string formatTime(std::time_t stamp, char code)
{
    std::tm local{};
    localtime_r(&stamp, &local);
    const char format[] = {'%', code, '\0'};
    char out[256];
    const size_t n = std::strftime(out, sizeof out, format, &local);
    return std::string(out, n);
}

std::string lastComponent(const std::string& path)
{
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

CPrintSetting::CPrintSetting()
    : header(kDefaultHeader), footer(kDefaultFooter), headerFooterColor(0)
{
    for (const IntKey& k : kHeaderKeys)
        this->*k.field = k.fallback;
    for (const IntKey& k : kFooterKeys)
        this->*k.field = k.fallback;
}

void CPrintSetting::Load(const platform::PrivateProfileFile& profile)
{
    ReadLogFont("PRINT_FONT", printFont, profile);
    headerFooterColor = static_cast<uint32_t>(profile.getInt(kSection, "PRINT_HEADER_FOOTER_COLOR", 0));
    header = CutToUtf16Units(profile.getString(kSection, "header", kDefaultHeader, 8192), kTemplateUnits - 1);
    for (const IntKey& k : kHeaderKeys)
        this->*k.field = profile.getInt(kSection, k.key, k.fallback);
    footer = CutToUtf16Units(profile.getString(kSection, "footer", kDefaultFooter, 8192), kTemplateUnits - 1);
    for (const IntKey& k : kFooterKeys)
        this->*k.field = profile.getInt(kSection, k.key, k.fallback);
}

void CPrintSetting::Save(const std::string& file) const
{
    WriteLogFont("PRINT_FONT", printFont, file);
    platform::writePrivateProfileString(kSection, "PRINT_HEADER_FOOTER_COLOR", FormatColor(headerFooterColor), file);
    platform::writePrivateProfileString(kSection, "header", header, file);
    for (const IntKey& k : kHeaderKeys)
        platform::writePrivateProfileString(kSection, k.key, std::to_string(this->*k.field), file);
    platform::writePrivateProfileString(kSection, "footer", footer, file);
    for (const IntKey& k : kFooterKeys)
        platform::writePrivateProfileString(kSection, k.key, std::to_string(this->*k.field), file);
}

bool CPrintSetting::SaveChanges(const CPrintSetting& before, platform::PrivateProfileFile& profile) const
{
    bool wrote = false;
    auto put = [&](bool changed, const char* key, const std::string& value) {
        if (changed || !profile.hasKey(kSection, key)) {
            profile.writeString(kSection, key, value);
            wrote = true;
        }
    };
    if (!(printFont == before.printFont) || !HoldsLogFont("PRINT_FONT", profile)) {
        WriteLogFont("PRINT_FONT", printFont, profile);
        wrote = true;
    }
    put(headerFooterColor != before.headerFooterColor, "PRINT_HEADER_FOOTER_COLOR", FormatColor(headerFooterColor));
    put(header != before.header, "header", header);
    for (const IntKey& k : kHeaderKeys)
        put(this->*k.field != before.*k.field, k.key, std::to_string(this->*k.field));
    put(footer != before.footer, "footer", footer);
    for (const IntKey& k : kFooterKeys)
        put(this->*k.field != before.*k.field, k.key, std::to_string(this->*k.field));
    return wrote;
}

bool CPrintSetting::SamePersistentFields(const CPrintSetting& o) const
{
    for (const IntKey& k : kHeaderKeys)
        if (this->*k.field != o.*k.field)
            return false;
    for (const IntKey& k : kFooterKeys)
        if (this->*k.field != o.*k.field)
            return false;
    return header == o.header && footer == o.footer && printFont == o.printFont &&
           headerFooterColor == o.headerFooterColor;
}

std::string CPrintSetting::FormatHeader() const
{
    return bHeaderStop ? std::string() : ExpandTemplate(header);
}

std::string CPrintSetting::FormatFooter() const
{
    return bFooterStop ? std::string() : ExpandTemplate(footer);
}

std::string CPrintSetting::FormatLineNumber(int row) const
{
    if (!bPrintLineNo)
        return std::string();
    const size_t width = std::to_string(rowCount).size();
    std::string number = std::to_string(row + 1);
    if (number.size() < width)
        number.insert(0, width - number.size(), ' ');
    return number + "  ";
}

int CPrintSetting::AlignCode(int align)
{
    return align == 0 || align == 1 ? align : 2;
}

void CPrintSetting::SetJobInfo(const std::string& name, std::time_t stamp, int page, int pages, int rows)
{
    fileName = name;
    timeStamp = stamp;
    SetPageInfo(page, pages, rows);
}

void CPrintSetting::SetPageInfo(int page, int pages, int rows)
{
    currentPage = page;
    pageCount = pages;
    rowCount = rows;
}

std::string CPrintSetting::ExpandTemplate(const std::string& text) const
{
    if (text.empty())
        return " ";
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        const char next = i + 1 < text.size() ? text[i + 1] : '\0';
        if (c == '%') {
            if (knownTimeCode(next)) {
                out += formatTime(timeStamp, next);
                i += 2;
            } else {
                out += c;
                ++i;
            }
            continue;
        }
        if (c == '&') {
            bool code = true;
            switch (next) {
            case 'f': out += fileName; break;
            case 'n': out += lastComponent(fileName); break;
            case 't': out += std::to_string(pageCount); break;
            case 'p': out += std::to_string(currentPage); break;
            case '&': out += '&'; break;
            default: code = false;
            }
            if (code) {
                i += 2;
                continue;
            }
        }
        out += c;
        ++i;
    }
    return out;
}

} // namespace ide
