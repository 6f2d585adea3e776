// A window's picture kept between paints, on a surface made like the
// window's own, so that what is drawn into it comes out as drawing into the
// window would: the same kind of surface, the same font options and scale.
#pragma once
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

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

    // What the picture shows in its rows, bands of `rowHeight` pixels from
    // the top: a digest of what was drawn into each, 0 where that is not
    // known. A new picture, or a new row height, knows none.
    void SetRowHeight(int rowHeight);
    int RowHeight() const { return rowHeight_; }
    int RowCount() const { return static_cast<int>(rows_.size()); }
    uint64_t Row(int row) const { return rows_[static_cast<std::size_t>(row)]; }
    void SetRow(int row, uint64_t digest) { rows_[static_cast<std::size_t>(row)] = digest; }
    void ForgetRows();
    // Copies rows of the picture to other rows, each (to, from), all read
    // from the picture as it was before the first is written; the rows
    // written take the digests of the rows they came from.
    void CopyRows(const std::vector<std::pair<int, int>>& moves);

private:
    cairo_surface_t* surface_ = nullptr;
    cairo_surface_t* scratch_ = nullptr;   // the rows copied, on their way
    int width_ = 0, height_ = 0;
    int rowHeight_ = 0;
    std::vector<uint64_t> rows_;
};

} // namespace quvpad
