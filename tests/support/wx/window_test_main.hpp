// What the mains of the window tests share: the display check, the wx
// assertion handler, and the leak checker's view of the toolkit.
#pragma once
#include <wx/string.h>

class wxApp;

namespace quv::test {

// The X display named by DISPLAY; null, after saying so on standard error,
// when there is none.
const char* RequireDisplay();

// A wx assertion fails the running test.
void FailOnAssert(const wxString& file, int line, const wxString& func, const wxString& cond, const wxString& msg);

// Starts wx with `app` as its application object (taking it), runs every
// test with wx assertions failing the running test, and ends wx. With
// `callOnInit` the application's own OnInit runs first; its failure, like a
// toolkit that cannot start, is 1.
int RunTestsUnderWx(wxApp* app, bool callOnInit, char* argv0, const char* display);

} // namespace quv::test
