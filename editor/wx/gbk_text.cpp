#include "editor/wx/gbk_text.hpp"

#include <mutex>
#include <unordered_map>
#include <vector>

#include <wx/strconv.h>

#include "editor/text_columns.hpp"

namespace quvpad {

namespace {
constexpr wchar_t kRawByteBase = 0xF700;   // raw byte b travels as U+F700 + b

// Both directions of every double-byte GBK character, built once.
struct GbkTables {
    std::vector<wchar_t> toUnicode;                   // (lead << 8 | trail) -> char, 0 when none
    std::unordered_map<wchar_t, uint16_t> fromUnicode;

    GbkTables() : toUnicode(0x10000, 0)
    {
        wxCSConv conv(wxString("GBK"));
        if (!conv.IsOk())
            return;
        for (int lead = 0x81; lead <= 0xFE; ++lead)
            for (int trail = 0x40; trail <= 0xFE; ++trail) {
                if (trail == 0x7F)
                    continue;
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                wchar_t out[4] = {0};
                size_t n = conv.ToWChar(out, 4, pair, 2);
                if (n == 1 && out[0] != 0 && out[0] != 0xFFFD) {
                    toUnicode[(lead << 8) | trail] = out[0];
                    fromUnicode.emplace(out[0], static_cast<uint16_t>((lead << 8) | trail));
                }
            }
    }
};

const GbkTables& Tables()
{
    static const GbkTables tables;
    return tables;
}
} // namespace

wxString GbkToWx(const std::string& gbk)
{
    const GbkTables& t = Tables();
    std::wstring out;
    out.reserve(gbk.size());
    for (size_t i = 0; i < gbk.size();) {
        unsigned char c = static_cast<unsigned char>(gbk[i]);
        if (c < 0x80) {
            out += static_cast<wchar_t>(c);
            ++i;
            continue;
        }
        if (i + 1 < gbk.size() && IsLeadByte(c) && IsTrailByte(static_cast<unsigned char>(gbk[i + 1]))) {
            wchar_t w = t.toUnicode[(c << 8) | static_cast<unsigned char>(gbk[i + 1])];
            if (w) {
                out += w;
                i += 2;
                continue;
            }
        }
        out += static_cast<wchar_t>(kRawByteBase + c);
        ++i;
    }
    return wxString(out);
}

std::string CharToGbk(wxUniChar ch)
{
    wchar_t w = static_cast<wchar_t>(ch.GetValue());
    if (w < 0x80)
        return std::string(1, static_cast<char>(w));
    if (w >= kRawByteBase + 0x80 && w <= kRawByteBase + 0xFF)
        return std::string(1, static_cast<char>(w - kRawByteBase));
    const GbkTables& t = Tables();
    auto it = t.fromUnicode.find(w);
    if (it == t.fromUnicode.end())
        return std::string();
    return std::string{static_cast<char>(it->second >> 8), static_cast<char>(it->second & 0xFF)};
}

std::string WxToGbk(const wxString& text)
{
    std::string out;
    out.reserve(text.length());
    for (wxString::const_iterator it = text.begin(); it != text.end(); ++it) {
        // Most of a pasted text is ASCII, which stays as it is.
        const wxUniChar ch = *it;
        if (ch.IsAscii()) {
            out += static_cast<char>(ch.GetValue());
            continue;
        }
        std::string bytes = CharToGbk(ch);
        out += bytes.empty() ? std::string("?") : bytes;
    }
    return out;
}

} // namespace quvpad
