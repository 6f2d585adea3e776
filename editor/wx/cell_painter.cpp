#include "editor/wx/cell_painter.hpp"

#include <algorithm>

#include <cairo.h>
#include <pango/pangocairo.h>

#include <wx/fontutil.h>

#include "editor/wx/gbk_text.hpp"

namespace quvpad {

namespace {
// The colour of a COLORREF (0x00BBGGRR) as cairo takes it, as wx passes it.
void SetSource(cairo_t* cr, uint32_t colorRef)
{
    cairo_set_source_rgba(cr, (colorRef & 0xFF) / 255.0, ((colorRef >> 8) & 0xFF) / 255.0,
                          ((colorRef >> 16) & 0xFF) / 255.0, 1.0);
}

// What shaping depends on besides the font: the kind of surface, its font
// options and the scale it is drawn at.
std::string TargetOf(cairo_t* cr)
{
    cairo_surface_t* surface = cairo_get_target(cr);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_surface_get_font_options(surface, options);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    std::string target = std::to_string(cairo_surface_get_type(surface)) + ' ' +
                         std::to_string(cairo_font_options_hash(options)) + ' ' + std::to_string(m.xx) + ' ' +
                         std::to_string(m.xy) + ' ' + std::to_string(m.yx) + ' ' + std::to_string(m.yy);
    cairo_font_options_destroy(options);
    return target;
}
} // namespace

CellPainter::~CellPainter()
{
    Forget();
}

void CellPainter::Forget()
{
    auto release = [](Glyph& g) {
        if (g.font)
            g_object_unref(g.font);
        g = Glyph();
    };
    for (Glyph& g : ascii_)
        release(g);
    for (auto& entry : others_)
        release(entry.second);
    others_.clear();
}

void CellPainter::SetFont(const wxFont& font)
{
    Forget();
    font_ = font;
    plainFont_ = font_.IsOk() && !font_.GetUnderlined() && !font_.GetStrikethrough();
}

void CellPainter::Begin(cairo_t* cr)
{
    cr_ = cr;
    std::string target = TargetOf(cr_);
    if (target != target_) {
        Forget();
        target_ = std::move(target);
    }
    cairo_save(cr_);
}

void CellPainter::End()
{
    if (cr_)
        cairo_restore(cr_);
    cr_ = nullptr;
}

// Shapes the character as drawing it alone does: a layout of just that
// character in the font, on this context.
void CellPainter::Shape(const std::string& bytes, Glyph& out)
{
    out.shaped = true;
    // The buffer may live in the string: the string outlives it.
    const wxString text = GbkToWx(bytes);
    const wxScopedCharBuffer utf8 = text.utf8_str();
    out.utf8.assign(utf8.data(), utf8.length());
    PangoLayout* layout = pango_cairo_create_layout(cr_);
    pango_layout_set_font_description(layout, font_.GetNativeFontInfo()->description);
    pango_layout_set_text(layout, out.utf8.data(), static_cast<int>(out.utf8.size()));
    PangoLayoutLine* line = pango_layout_get_line_readonly(layout, 0);
    GSList* runs = line ? line->runs : nullptr;
    const PangoGlyphItem* run = runs && !runs->next ? static_cast<const PangoGlyphItem*>(runs->data) : nullptr;
    if (run && run->glyphs->num_glyphs == 1 && run->y_offset == 0 && run->start_x_offset == 0 &&
        pango_layout_get_line_count(layout) == 1) {
        const PangoGlyphInfo& g = run->glyphs->glyphs[0];
        if (!(g.glyph & PANGO_GLYPH_UNKNOWN_FLAG) && g.glyph != PANGO_GLYPH_EMPTY && !g.attr.is_color) {
            out.font = PANGO_FONT(g_object_ref(run->item->analysis.font));
            out.glyph = g.glyph;
            out.xOffset = g.geometry.x_offset;
            out.yOffset = pango_layout_get_baseline(layout) + g.geometry.y_offset;
            PangoRectangle ink{};
            pango_font_get_glyph_extents(out.font, out.glyph, &ink, nullptr);
            out.inkRight = out.xOffset + ink.x + ink.width;
        }
    }
    g_object_unref(layout);
}

const CellPainter::Glyph& CellPainter::GlyphOf(const std::string& bytes)
{
    Glyph& g = bytes.size() == 1 && static_cast<unsigned char>(bytes[0]) < 0x80
                   ? ascii_[static_cast<unsigned char>(bytes[0])]
                   : others_[bytes];
    if (!g.shaped)
        Shape(bytes, g);
    return g;
}

void CellPainter::Fill(uint32_t colorRef, int x, int y, int width, int height)
{
    SetSource(cr_, colorRef);
    cairo_rectangle(cr_, x, y, width, height);
    cairo_fill(cr_);
}

void CellPainter::DrawRun(const std::vector<Cell>& cells, size_t first, size_t last, int top)
{
    const Glyph& head = GlyphOf(cells[first].bytes);
    SetSource(cr_, cells[first].textColor);
    if (!head.font) {
        // As wx draws a text: a layout placed at the cell's top left.
        PangoLayout* layout = pango_cairo_create_layout(cr_);
        pango_layout_set_font_description(layout, font_.GetNativeFontInfo()->description);
        pango_layout_set_text(layout, head.utf8.data(), static_cast<int>(head.utf8.size()));
        cairo_move_to(cr_, cells[first].x, top);
        pango_cairo_show_layout(cr_, layout);
        g_object_unref(layout);
        return;
    }
    PangoGlyphString* glyphs = pango_glyph_string_new();
    pango_glyph_string_set_size(glyphs, static_cast<int>(last - first));
    for (size_t i = first; i < last; ++i) {
        const Glyph& g = GlyphOf(cells[i].bytes);
        PangoGlyphInfo& info = glyphs->glyphs[i - first];
        info.glyph = g.glyph;
        // The next glyph starts where the next cell does.
        info.geometry.width = (i + 1 < last ? cells[i + 1].x - cells[i].x : cells[i].width) * PANGO_SCALE;
        info.geometry.x_offset = g.xOffset;
        info.geometry.y_offset = g.yOffset;
        info.attr.is_cluster_start = 1;
        info.attr.is_color = 0;
        glyphs->log_clusters[i - first] = 0;
    }
    cairo_move_to(cr_, cells[first].x, top);
    pango_cairo_show_glyph_string(cr_, head.font, glyphs);
    pango_glyph_string_free(glyphs);
}

void CellPainter::Repair(const std::vector<Cell>& cells, size_t i, size_t last, int top, int lineHeight)
{
    cairo_save(cr_);
    cairo_rectangle(cr_, cells[i].x, top, cells[i].width, lineHeight);
    cairo_clip(cr_);
    Fill(cells[i].backColor, cells[i].x, top, cells[i].width, lineHeight);
    DrawRun(cells, i, std::min(i + 2, last), top);
    cairo_restore(cr_);
}

void CellPainter::DrawLine(const LineLayout& line, int lineHeight, int width)
{
    if (line.caretLine)
        Fill(line.lineBackColor, 0, line.top, width, lineHeight);
    const std::vector<Cell>& cells = line.cells;
    for (size_t first = 0; first < cells.size();) {
        // A run: one background, one text colour, one font, no NUL (whose
        // cell keeps its background only).
        const Cell& head = cells[first];
        const bool blank = head.bytes.find('\0') != std::string::npos;
        const Glyph& g = GlyphOf(head.bytes);
        size_t last = first + 1;
        if (!blank && g.font) {
            while (last < cells.size() && cells[last].backColor == head.backColor &&
                   cells[last].textColor == head.textColor && cells[last].bytes.find('\0') == std::string::npos &&
                   GlyphOf(cells[last].bytes).font == g.font)
                ++last;
        }
        const Cell& tail = cells[last - 1];
        Fill(head.backColor, head.x, line.top, tail.x + tail.width - head.x, lineHeight);
        if (!blank) {
            DrawRun(cells, first, last, line.top);
            // A glyph whose ink reaches past its cell into the next one of
            // its run had that ink covered by the next cell's background;
            // ink up to the cell's right edge stays in its own pixels.
            for (size_t i = first; i + 1 < last; ++i)
                if (GlyphOf(cells[i].bytes).inkRight > cells[i].width * PANGO_SCALE)
                    Repair(cells, i + 1, last, line.top, lineHeight);
        }
        first = last;
    }
}

} // namespace quvpad
