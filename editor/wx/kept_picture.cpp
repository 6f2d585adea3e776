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
    if (scratch_)
        cairo_surface_destroy(scratch_);
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
    if (scratch_)
        cairo_surface_destroy(scratch_);
    scratch_ = nullptr;
    surface_ = cairo_surface_create_similar(cairo_get_target(target), CAIRO_CONTENT_COLOR, width, height);
    width_ = width;
    height_ = height;
    ForgetRows();
}

void KeptPicture::SetRowHeight(int rowHeight)
{
    if (rowHeight == rowHeight_)
        return;
    rowHeight_ = rowHeight;
    ForgetRows();
}

void KeptPicture::ForgetRows()
{
    const std::size_t count = rowHeight_ > 0 && height_ > 0 ? static_cast<std::size_t>((height_ + rowHeight_ - 1) / rowHeight_) : 0;
    rows_.assign(count, 0);
}

void KeptPicture::CopyRows(const std::vector<std::pair<int, int>>& moves)
{
    if (moves.empty() || !surface_)
        return;
    if (!scratch_)
        scratch_ = cairo_surface_create_similar(surface_, CAIRO_CONTENT_COLOR, width_, height_);
    // The rows read go aside first, where they are in the picture, so that
    // no row is read after another was written over it.
    cairo_t* aside = cairo_create(scratch_);
    cairo_set_operator(aside, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(aside, surface_, 0, 0);
    for (const auto& [to, from] : moves)
        cairo_rectangle(aside, 0, from * rowHeight_, width_, rowHeight_);
    cairo_fill(aside);
    cairo_destroy(aside);
    cairo_t* back = cairo_create(surface_);
    cairo_set_operator(back, CAIRO_OPERATOR_SOURCE);
    cairo_rectangle(back, 0, 0, width_, height_);
    cairo_clip(back);
    std::vector<uint64_t> digests = rows_;
    for (const auto& [to, from] : moves) {
        cairo_save(back);
        cairo_set_source_surface(back, scratch_, 0, (to - from) * rowHeight_);
        cairo_rectangle(back, 0, to * rowHeight_, width_, rowHeight_);
        cairo_fill(back);
        cairo_restore(back);
        digests[static_cast<std::size_t>(to)] = rows_[static_cast<std::size_t>(from)];
    }
    cairo_destroy(back);
    rows_ = std::move(digests);
}

} // namespace quvpad
