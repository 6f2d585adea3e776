// Reading text colours back from rendered pictures. Glyphs are anti-aliased:
// an edge pixel is the text colour laid over the background with part
// coverage, and how much coverage the strokes reach depends on the fonts a
// machine has. So a pixel counts as a colour's ink when it is that colour
// mixed with the background the picture itself shows, at a coverage of at
// least a half, never by its closeness to the pure colour.
#pragma once
#include <cstdint>

#include <wx/colour.h>
#include <wx/gdicmn.h>
#include <wx/image.h>

namespace quv::test {

// The colour of a COLORREF (0x00BBGGRR).
wxColour ColourOfRef(uint32_t colorRef);

// The colour most pixels of `r` show (r clipped to the image): the ground the
// text of that band is drawn on.
wxColour GroundOf(const wxImage& image, wxRect r);

// Whether the pixel at x, y is `ink` laid over `ground` with a coverage of at
// least `minCoverage` (0..1). The mix may stray from the line between the two
// colours by an eighth of their distance, and by the rounding of three levels
// a channel: a different colour's ink lies further off.
bool IsInk(const wxImage& image, int x, int y, const wxColour& ink, const wxColour& ground,
           double minCoverage = 0.5);

// The pixels of `r` (clipped to the image) that are `ink` over `ground`.
int CountInk(const wxImage& image, wxRect r, const wxColour& ink, const wxColour& ground, double minCoverage = 0.5);

} // namespace quv::test
