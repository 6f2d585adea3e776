// The key press the window tests send for one typed character.
#pragma once
#include <wx/defs.h>
#include <wx/unichar.h>

namespace quv::test {

struct TypedKey {
    int code;  // the key: a letter's upper case, a newline's Return, none beyond ASCII
    wxChar ch; // the character: a newline types "\r", as the Return key does
};

inline TypedKey KeyOf(wxUniChar c)
{
    const wxChar ch = static_cast<wxChar>(c.GetValue());
    if (ch == '\n')
        return {WXK_RETURN, '\r'};
    return {ch >= 'a' && ch <= 'z' ? ch - 'a' + 'A' : ch < 0x80 ? ch : WXK_NONE, ch};
}

} // namespace quv::test
