// The one place where the editor's 8-bit GBK text meets Unicode. A byte that
// starts no GBK character maps to U+F780 + (byte - 0x80) in the private use
// area and back, so no text is changed by a round trip; a NUL byte stays NUL.
#pragma once
#include <string>

#include <wx/string.h>

namespace quvpad {

wxString GbkToWx(const std::string& gbk);
std::string WxToGbk(const wxString& text);
// One Unicode character as GBK bytes; empty when GBK has no such character.
std::string CharToGbk(wxUniChar ch);

} // namespace quvpad
