#include "font_raster.h"

#include <algorithm>

namespace {

// The glyph is drawn on a larger canvas first, so that anything that strays outside
// the cell is seen and reported instead of being cut off silently.
constexpr int margin = 12;
constexpr int canvas_width = cell_width + 2 * margin;
constexpr int canvas_height = cell_height + 2 * margin;

using Canvas = std::array<std::uint8_t, canvas_width * canvas_height>;

double squared_distance_to_segment(double px, double py, const PenSegment& s)
{
    const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
    const double length_squared = dx * dx + dy * dy;
    double t = 0.0;
    if (length_squared > 0.0) {
        t = std::clamp(((px - s.x0) * dx + (py - s.y0) * dy) / length_squared, 0.0, 1.0);
    }
    const double ex = s.x0 + t * dx - px, ey = s.y0 + t * dy - py;
    return ex * ex + ey * ey;
}

// A pixel is ink when its centre lies within the pen radius of any segment.
void draw_ink(const PenPath& path, double pen_radius, Canvas& canvas)
{
    const double limit = pen_radius * pen_radius;
    for (int row = 0; row < canvas_height; ++row) {
        for (int column = 0; column < canvas_width; ++column) {
            const double px = column - margin + 0.5, py = row - margin + 0.5;
            for (std::int32_t i = 0; i < path.segment_count; ++i) {
                if (squared_distance_to_segment(px, py, path.segments[i]) <= limit) {
                    canvas[row * canvas_width + column] = ink_value;
                    break;
                }
            }
        }
    }
}

bool is_ink(const Canvas& canvas, int column, int row)
{
    return column >= 0 && column < canvas_width && row >= 0 && row < canvas_height &&
           canvas[row * canvas_width + column] == ink_value;
}

bool near_ink(const Canvas& canvas, int column, int row, int reach)
{
    for (int dy = -reach; dy <= reach; ++dy) {
        for (int dx = -reach; dx <= reach; ++dx) {
            if (is_ink(canvas, column + dx, row + dy)) {
                return true;
            }
        }
    }
    return false;
}

// The outline ring keeps the ink readable on any background; the shadow lifts it off.
void draw_shade(const FontStyle& style, const FrameStyle& frame, Canvas& canvas)
{
    const Canvas ink = canvas;
    for (int row = 0; row < canvas_height; ++row) {
        for (int column = 0; column < canvas_width; ++column) {
            std::uint8_t& pixel = canvas[row * canvas_width + column];
            if (pixel == ink_value) {
                continue;
            }
            if (is_ink(ink, column - frame.shadow_dx, row - frame.shadow_dy)) {
                pixel = shadow_value;
            } else if (near_ink(ink, column, row, style.outline)) {
                pixel = outline_value;
            }
        }
    }
}

// The canvas margin holds the widest pen, outline and shadow around any point inside
// the cell; a point outside the cell is a fault in the strokes themselves.
bool point_inside_cell(double x, double y, std::string& error)
{
    if (x >= 0.0 && x <= cell_width && y >= 0.0 && y <= cell_height) {
        return true;
    }
    error =
        "stroke point (" + std::to_string(x) + ", " + std::to_string(y) + ") lies outside the 28 x 32 cell";
    return false;
}

bool points_inside_cell(const PenPath& path, std::string& error)
{
    for (std::int32_t i = 0; i < path.segment_count; ++i) {
        const PenSegment& s = path.segments[i];
        if (!point_inside_cell(s.x0, s.y0, error) || !point_inside_cell(s.x1, s.y1, error)) {
            return false;
        }
    }
    return true;
}

}   // namespace

bool rasterize_glyph(const PenPath& path, const FontStyle& style, const FrameStyle& frame, GlyphCell& cell,
                     std::string& error)
{
    if (!points_inside_cell(path, error)) {
        return false;
    }
    Canvas canvas;
    canvas.fill(transparent_value);
    draw_ink(path, style.pen_radius, canvas);
    draw_shade(style, frame, canvas);
    for (int row = 0; row < canvas_height; ++row) {
        for (int column = 0; column < canvas_width; ++column) {
            const int x = column - margin, y = row - margin;
            const bool inside = x >= 0 && x < cell_width && y >= 0 && y < cell_height;
            const std::uint8_t pixel = canvas[row * canvas_width + column];
            if (inside) {
                cell.pixels[y * cell_width + x] = pixel;
            } else if (pixel != transparent_value) {
                error = std::string(pixel == ink_value ? "ink" : "shade") + " at pixel (" +
                        std::to_string(x) + ", " + std::to_string(y) + ") falls outside the 28 x 32 cell";
                return false;
            }
        }
    }
    return true;
}
