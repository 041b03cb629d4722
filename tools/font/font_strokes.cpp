#include "font_strokes.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct Point {
    double x, y;
};

// Flattened points are kept on a 1/256 pixel grid, so that the last bits of the
// library's sine and cosine cannot move a pixel across the pen's edge.
double snap(double value)
{
    return std::round(value * 256.0) / 256.0;
}

struct Flattener {
    const FrameStyle& frame;
    PenPath& path;
    bool overflowed;
    Point last;

    // A frame raises or lowers the whole glyph.
    Point place(Point p) const { return {snap(p.x), snap(p.y + frame.rise)}; }

    void move_to(Point p) { last = place(p); }

    void line_to(Point p)
    {
        const Point next = place(p);
        if (path.segment_count == max_segments) {
            overflowed = true;
            return;
        }
        path.segments[path.segment_count++] = {last.x, last.y, next.x, next.y};
        last = next;
    }
};

// Enough steps that no chord strays far from the curve at glyph sizes.
std::int32_t arc_steps(double sweep_degrees, double radius)
{
    const double length = std::abs(sweep_degrees) * std::numbers::pi / 180.0 * radius;
    return std::clamp(static_cast<std::int32_t>(std::ceil(length / 0.5)), 2, 256);
}

void flatten_arc(const double* v, Flattener& out)
{
    const double cx = v[0], cy = v[1], rx = v[2], ry = v[3], start = v[4], end = v[5];
    const std::int32_t steps = arc_steps(end - start, std::max(std::abs(rx), std::abs(ry)));
    for (std::int32_t i = 0; i <= steps; ++i) {
        const double degrees = start + (end - start) * i / steps;
        const double radians = degrees * std::numbers::pi / 180.0;
        const Point p{cx + rx * std::cos(radians), cy + ry * std::sin(radians)};
        if (i == 0) {
            out.move_to(p);
        } else {
            out.line_to(p);
        }
    }
}

void flatten_curve(const double* v, Flattener& out)
{
    constexpr std::int32_t steps = 24;
    out.move_to({v[0], v[1]});
    for (std::int32_t i = 1; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        const double u = 1.0 - t;
        const double a = u * u * u, b = 3.0 * u * u * t, c = 3.0 * u * t * t, d = t * t * t;
        out.line_to({a * v[0] + b * v[2] + c * v[4] + d * v[6], a * v[1] + b * v[3] + c * v[5] + d * v[7]});
    }
}

void flatten_primitive(const StrokePrimitive& primitive, Flattener& out)
{
    const double* v = primitive.values.data();
    switch (primitive.kind) {
    case PrimitiveKind::line:
        out.move_to({v[0], v[1]});
        for (std::int32_t i = 2; i + 1 < primitive.value_count; i += 2) {
            out.line_to({v[i], v[i + 1]});
        }
        break;
    case PrimitiveKind::arc: flatten_arc(v, out); break;
    case PrimitiveKind::curve: flatten_curve(v, out); break;
    case PrimitiveKind::dot:
        out.move_to({v[0], v[1]});
        out.line_to({v[0], v[1]});
        break;
    }
}

}   // namespace

bool flatten_glyph(const GlyphStrokes& strokes, const FrameStyle& frame, PenPath& path, std::string& error)
{
    path.segment_count = 0;
    Flattener out{frame, path, false, {0.0, 0.0}};
    for (std::int32_t i = 0; i < strokes.primitive_count; ++i) {
        flatten_primitive(strokes.primitives[i], out);
    }
    if (out.overflowed) {
        error = "more than " + std::to_string(max_segments) + " pen segments";
        return false;
    }
    return true;
}
