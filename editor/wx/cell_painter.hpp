// Draws the editor's cells straight through cairo and Pango. Each character
// is shaped once per font, alone, as drawing it on its own shapes it, and a
// run of cells of one colour is drawn in one call with every glyph placed at
// its cell: the picture of drawing the characters one by one (each cell's
// background, then its character, so that a cell's background covers what
// the character before it drew into it), at a fraction of its cost.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include <wx/font.h>

#include "editor/line_layout.hpp"

typedef struct _cairo cairo_t;
typedef struct _PangoFont PangoFont;

namespace quvpad {

class CellPainter {
public:
    CellPainter() = default;
    CellPainter(const CellPainter&) = delete;
    CellPainter& operator=(const CellPainter&) = delete;
    ~CellPainter();

    // The font the cells are drawn in; the glyphs of another font are forgotten.
    void SetFont(const wxFont& font);

    // Whether the font can be drawn here: not one that draws lines of its
    // own (underline, strike-through), which the caller draws with a wxDC.
    bool CanDraw() const { return plainFont_; }
    // Starts drawing into `cr`, whose state End gives back.
    void Begin(cairo_t* cr);
    // Fills a rectangle with a colour.
    void Fill(uint32_t colorRef, int x, int y, int width, int height);
    // Draws one line: the caret line's background across `width`, then the
    // cells, each on its background.
    void DrawLine(const LineLayout& line, int lineHeight, int width);
    void End();

private:
    // A character shaped alone: one glyph of one font, or, for anything else
    // (a character the fonts lack, several glyphs), its layout drawn whole.
    struct Glyph {
        bool shaped = false;
        PangoFont* font = nullptr;
        unsigned glyph = 0;
        int xOffset = 0;
        int yOffset = 0;   // from the line's top, the baseline included (Pango units)
        int inkRight = 0;  // right edge of its ink from the cell's left (Pango units)
        std::string utf8;  // the character, for one that is drawn as a layout
    };
    const Glyph& GlyphOf(const std::string& bytes);
    void Shape(const std::string& bytes, Glyph& out);
    void Forget();
    // Draws the glyphs of cells [first, last), of one colour and one font,
    // in one call.
    void DrawRun(const std::vector<Cell>& cells, size_t first, size_t last, int top);
    // Cell `i` of a run drawn again, clipped to it, as drawing cell by cell
    // leaves it: its background over the ink of the glyph before it, its
    // glyph, and what the next glyph of the run draws into it.
    void Repair(const std::vector<Cell>& cells, size_t i, size_t last, int top, int lineHeight);

    wxFont font_;
    bool plainFont_ = false;
    cairo_t* cr_ = nullptr;
    // What the glyphs were shaped for: the surface's kind and font options
    // and the scale of the drawing.
    std::string target_;
    std::array<Glyph, 128> ascii_{};
    std::unordered_map<std::string, Glyph> others_;
};

} // namespace quvpad
