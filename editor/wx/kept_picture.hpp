// A window's picture kept between paints, on a surface made like the
// window's own, so that what is drawn into it comes out as drawing into the
// window would: the same kind of surface, the same font options and scale.
#pragma once

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace quvpad {

class KeptPicture {
public:
    KeptPicture() = default;
    KeptPicture(const KeptPicture&) = delete;
    KeptPicture& operator=(const KeptPicture&) = delete;
    ~KeptPicture();

    // Whether the picture is of this size and drawn as `target` draws.
    bool Fits(cairo_t* target, int width, int height) const;
    // A new picture for `target`, its content undefined.
    void Make(cairo_t* target, int width, int height);
    cairo_surface_t* Surface() const { return surface_; }

private:
    cairo_surface_t* surface_ = nullptr;
    int width_ = 0, height_ = 0;
};

} // namespace quvpad
