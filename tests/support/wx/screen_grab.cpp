#include "screen_grab.hpp"

#include <gtest/gtest.h>
// After gtest: X11 defines None and Bool as macros.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace quv::test {

wxImage GrabScreen(const wxRect& r)
{
    wxImage image(r.width, r.height);
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        ADD_FAILURE() << "cannot open the display";
        return image;
    }
    XImage* shot = XGetImage(display, DefaultRootWindow(display), r.x, r.y, static_cast<unsigned>(r.width),
                             static_cast<unsigned>(r.height), AllPlanes, ZPixmap);
    if (shot) {
        for (int y = 0; y < r.height; ++y)
            for (int x = 0; x < r.width; ++x) {
                const unsigned long p = XGetPixel(shot, x, y);
                image.SetRGB(x, y, (p & shot->red_mask) >> 16, (p & shot->green_mask) >> 8, p & shot->blue_mask);
            }
        XDestroyImage(shot);
    } else {
        ADD_FAILURE() << "cannot read the screen";
    }
    XCloseDisplay(display);
    return image;
}

} // namespace quv::test
