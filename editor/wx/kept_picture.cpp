#include "editor/wx/kept_picture.hpp"

#include <cairo.h>

namespace quvpad {

namespace {
bool SameFontOptions(cairo_surface_t* a, cairo_surface_t* b)
{
    cairo_font_options_t* x = cairo_font_options_create();
    cairo_font_options_t* y = cairo_font_options_create();
    cairo_surface_get_font_options(a, x);
    cairo_surface_get_font_options(b, y);
    const bool same = cairo_font_options_equal(x, y);
    cairo_font_options_destroy(x);
    cairo_font_options_destroy(y);
    return same;
}
} // namespace

KeptPicture::~KeptPicture()
{
    if (surface_)
        cairo_surface_destroy(surface_);
}

bool KeptPicture::Fits(cairo_t* target, int width, int height) const
{
    if (!surface_ || width != width_ || height != height_)
        return false;
    cairo_surface_t* window = cairo_get_target(target);
    double wx = 0, wy = 0, px = 0, py = 0;
    cairo_surface_get_device_scale(window, &wx, &wy);
    cairo_surface_get_device_scale(surface_, &px, &py);
    return cairo_surface_get_type(window) == cairo_surface_get_type(surface_) && wx == px && wy == py &&
           SameFontOptions(window, surface_);
}

void KeptPicture::Make(cairo_t* target, int width, int height)
{
    if (surface_)
        cairo_surface_destroy(surface_);
    surface_ = cairo_surface_create_similar(cairo_get_target(target), CAIRO_CONTENT_COLOR, width, height);
    width_ = width;
    height_ = height;
}

} // namespace quvpad
