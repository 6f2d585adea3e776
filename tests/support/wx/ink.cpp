#include "ink.hpp"

#include <cmath>
#include <map>

namespace quv::test {

wxColour ColourOfRef(uint32_t ref)
{
    return wxColour(ref & 0xFF, (ref >> 8) & 0xFF, (ref >> 16) & 0xFF);
}

wxColour GroundOf(const wxImage& image, wxRect r)
{
    r.Intersect(wxRect(image.GetSize()));
    std::map<uint32_t, int> counts;
    for (int y = r.GetTop(); y <= r.GetBottom(); ++y)
        for (int x = r.GetLeft(); x <= r.GetRight(); ++x)
            ++counts[(image.GetRed(x, y) << 16) | (image.GetGreen(x, y) << 8) | image.GetBlue(x, y)];
    uint32_t most = 0xFFFFFF;
    int best = 0;
    for (const auto& [colour, n] : counts)
        if (n > best) {
            best = n;
            most = colour;
        }
    return wxColour(most >> 16, (most >> 8) & 0xFF, most & 0xFF);
}

bool IsInk(const wxImage& image, int x, int y, const wxColour& ink, const wxColour& ground, double minCoverage)
{
    const double d[3] = {double(ink.Red() - ground.Red()), double(ink.Green() - ground.Green()),
                         double(ink.Blue() - ground.Blue())};
    const double p[3] = {double(image.GetRed(x, y) - ground.Red()), double(image.GetGreen(x, y) - ground.Green()),
                         double(image.GetBlue(x, y) - ground.Blue())};
    const double length2 = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
    if (length2 == 0)
        return false;
    // The coverage that brings the ground nearest to the pixel, and how far off
    // the pixel stays from that mix.
    const double coverage = (p[0] * d[0] + p[1] * d[1] + p[2] * d[2]) / length2;
    if (coverage < minCoverage)
        return false;
    double off2 = 0;
    for (int c = 0; c < 3; ++c) {
        const double e = p[c] - coverage * d[c];
        off2 += e * e;
    }
    const double allowed = std::sqrt(length2) / 8 + 3 * std::sqrt(3.0);
    return off2 <= allowed * allowed;
}

int CountInk(const wxImage& image, wxRect r, const wxColour& ink, const wxColour& ground, double minCoverage)
{
    r.Intersect(wxRect(image.GetSize()));
    int n = 0;
    for (int y = r.GetTop(); y <= r.GetBottom(); ++y)
        for (int x = r.GetLeft(); x <= r.GetRight(); ++x)
            if (IsInk(image, x, y, ink, ground, minCoverage))
                ++n;
    return n;
}

} // namespace quv::test
