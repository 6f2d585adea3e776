// Reads back what the X server shows, for the window tests of the editor
// control and of the IDE. Kept out of quv_test_support so tests without
// windows do not link wx.
#pragma once
#include <wx/gdicmn.h>
#include <wx/image.h>

namespace quv::test {

// The pixels of the screen rectangle r, read over a display connection of our
// own; a failure to connect or to read fails the running test and gives an
// image of r's size as it was made.
wxImage GrabScreen(const wxRect& r);

} // namespace quv::test
