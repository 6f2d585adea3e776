// What the mains of the window tests share: the display check, the wx
// assertion handler, and the leak checker's view of the toolkit.
#pragma once
#include <wx/string.h>

namespace quv::test {

// The X display named by DISPLAY; null, after saying so on standard error,
// when there is none.
const char* RequireDisplay();

// A wx assertion fails the running test.
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg);

} // namespace quv::test
