#include "cgm_writer.h"

#include "svg_fill.h"
#include "svg_simplify.h"
#include "triangle_check.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

namespace {

// The attribute elements last written, so that each is written only when it changes.
struct CgmState {
    std::string* out;
    int fill_colour = -1;
    int line_colour = -1;
    int line_width = -1;
    int edges_visible = -1;
};

struct CgmWriter {
    const SvgDrawing* drawing;
    std::vector<Colour> palette;
    CgmState state;
    CgmSummary* summary;
    Diagnostics* diagnostics;
    double pixels_per_unit;
};

void append(std::string& out, const char* format, int a, int b = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    out += text;
}

// The colour's palette position (1-based), adding it when new; 0 when the palette is full.
int colour_position(CgmWriter& writer, Colour colour)
{
    auto found = std::find(writer.palette.begin(), writer.palette.end(), colour);
    if (found != writer.palette.end())
        return static_cast<int>(found - writer.palette.begin()) + 1;
    if (writer.palette.size() >= static_cast<std::size_t>(cgm_colours))
        return 0;
    writer.palette.push_back(colour);
    return static_cast<int>(writer.palette.size());
}

void set_attribute(CgmState& state, int& current, int value, const char* format)
{
    if (current != value) {
        append(*state.out, format, value);
        current = value;
    }
}

void write_points(std::string& out, const std::vector<Point>& points)
{
    // Points follow each other directly; the list ends with ";" right after the last ")".
    int on_line = 0;
    for (const Point& point : points) {
        append(out, "(%d,%d)", static_cast<int>(point.x), static_cast<int>(point.y));
        if (++on_line == 8 && &point != &points.back()) {
            out += '\n';
            on_line = 0;
        }
    }
    out += ";\n";
}

std::vector<Point> file_ring(const SvgDrawing& drawing, const Polyline& outline)
{
    std::vector<Point> ring;
    for (const Point& user : outline.points) {
        const Point p = cgm_point(drawing, user);
        if (ring.empty() || p.x != ring.back().x || p.y != ring.back().y)
            ring.push_back(p);
    }
    return ring;
}

int pixel_width(const CgmWriter& writer, const PaintedShape& shape)
{
    return std::max(1, static_cast<int>(std::lround(shape.stroke_width * writer.pixels_per_unit)));
}

void write_polygon(CgmWriter& writer, std::vector<Point> ring, int fill, int line, int width,
                   const PaintedShape& shape)
{
    CgmState& state = writer.state;
    // One point is kept back for the repeated first point that closes the outline.
    const double dropped = simplify_ring(ring, cgm_element_points - 1);
    if (dropped > 0)
        add_warning(*writer.diagnostics, shape.line, 0,
                    "<" + shape.element + "> polygon thinned to " + std::to_string(ring.size()) +
                        " points, moving its outline up to " +
                        std::to_string(static_cast<int>(std::ceil(dropped))) + " file units");
    if (!triangulates_exactly(ring))
        add_warning(*writer.diagnostics, shape.line, 0,
                    "<" + shape.element + "> polygon of " + std::to_string(ring.size()) +
                        " points is not filled exactly by the picture loader's triangles "
                        "(does its outline cross itself?)");
    ring.push_back(ring.front());
    set_attribute(state, state.fill_colour, fill, "fillcolr %d;\n");
    set_attribute(state, state.edges_visible, line > 0, line > 0 ? "edgevis ON;\n" : "edgevis OFF;\n");
    if (line > 0) {
        set_attribute(state, state.line_colour, line, "linecolr %d;\n");
        set_attribute(state, state.line_width, width * 15, "linewidth %d;\n");
    }
    *state.out += "polygon ";
    write_points(*state.out, ring);
    ++writer.summary->polygons;
    writer.summary->largest_element = std::max(writer.summary->largest_element, int(ring.size()));
}

void write_line(CgmWriter& writer, const std::vector<Point>& points, int line, int width)
{
    CgmState& state = writer.state;
    set_attribute(state, state.line_colour, line, "linecolr %d;\n");
    set_attribute(state, state.line_width, width * 15, "linewidth %d;\n");
    // Long lines go out in pieces that share their end points.
    for (std::size_t start = 0; start + 1 < points.size(); start += cgm_element_points - 1) {
        const std::size_t end = std::min(points.size(), start + cgm_element_points);
        *state.out += "line ";
        write_points(*state.out, std::vector<Point>(points.begin() + start, points.begin() + end));
        ++writer.summary->lines;
        writer.summary->largest_element = std::max(writer.summary->largest_element, int(end - start));
    }
}

bool write_shape(CgmWriter& writer, const PaintedShape& shape)
{
    const int fill = shape.filled ? colour_position(writer, shape.fill) : -1;
    const int line = shape.stroked ? colour_position(writer, shape.stroke) : -1;
    if (fill == 0 || line == 0) {
        add_error(*writer.diagnostics, shape.line, 0,
                  "<" + shape.element + "> uses a colour past the " + std::to_string(cgm_colours) +
                      " a picture may have: " + colour_hex(fill == 0 ? shape.fill : shape.stroke));
        return false;
    }
    std::vector<std::vector<Point>> rings;
    for (const Polyline& outline : shape.outlines)
        rings.push_back(file_ring(*writer.drawing, outline));
    const int width = shape.stroked ? pixel_width(writer, shape) : 0;
    bool stroke_drawn = false;
    if (shape.filled) {
        const FillPolygons fill_result = fill_polygons(rings, shape.even_odd);
        if (fill_result.unjoined_holes > 0)
            add_warning(*writer.diagnostics, shape.line, 0,
                        "<" + shape.element + "> has " + std::to_string(fill_result.unjoined_holes) +
                            " hole(s) that could not be joined to their outline; filled over");
        if (fill_result.empty_rings > 0 && !shape.stroked)
            add_warning(*writer.diagnostics, shape.line, 0,
                        "<" + shape.element + "> has " + std::to_string(fill_result.empty_rings) +
                            " subpath(s) enclosing no area; nothing filled there");
        // A single closed outline without holes carries its stroke as the polygon's edge.
        const bool one_ring = rings.size() == 1 && shape.outlines[0].closed &&
                              fill_result.polygons.size() == 1 &&
                              fill_result.polygons[0].size() == rings[0].size();
        stroke_drawn = shape.stroked && one_ring;
        for (const std::vector<Point>& polygon : fill_result.polygons)
            write_polygon(writer, polygon, fill, stroke_drawn ? line : 0, width, shape);
    }
    if (shape.stroked && !stroke_drawn) {
        for (std::size_t i = 0; i < rings.size(); ++i) {
            std::vector<Point> points = rings[i];
            if (shape.outlines[i].closed && points.size() > 2)
                points.push_back(points.front());
            if (points.size() == 1)
                points.push_back(points.front());   // a dot still shows
            write_line(writer, points, line, width);
        }
    }
    return true;
}

std::string frame_line(const SvgDrawing& drawing)
{
    const Point top_left = cgm_point(drawing, {drawing.view_x, drawing.view_y});
    const Point bottom_right =
        cgm_point(drawing, {drawing.view_x + drawing.view_width, drawing.view_y + drawing.view_height});
    std::string text = "linewidth 0;\nline ";
    write_points(text, {top_left, bottom_right});
    return text;
}

std::string colour_table(const std::vector<Colour>& palette)
{
    std::string text = "colrtable 1";
    for (const Colour& colour : palette) {
        char entry[32];
        std::snprintf(entry, sizeof entry, "\n%d %d %d", colour.r, colour.g, colour.b);
        text += entry;
    }
    return text + ";\n";
}

std::string clean_name(const std::string& name)
{
    std::string clean;
    for (char c : name)
        if (std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-')
            clean += c;
    return clean.empty() ? "picture" : clean;
}

// Shapes outside the frame would widen the bounding box and move the whole picture.
bool inside_frame(const SvgDrawing& drawing, Diagnostics& diagnostics)
{
    const Point corner = cgm_point(drawing, {drawing.view_x, drawing.view_y});
    bool inside = true;
    for (const PaintedShape& shape : drawing.shapes) {
        bool shape_inside = true;
        for (const Polyline& outline : shape.outlines)
            for (const Point& user : outline.points) {
                const Point p = cgm_point(drawing, user);
                shape_inside = shape_inside && std::fabs(p.x) <= std::fabs(corner.x) &&
                               std::fabs(p.y) <= std::fabs(corner.y);
            }
        if (!shape_inside)
            add_error(diagnostics, shape.line, 0,
                      "<" + shape.element + "> reaches outside the viewBox, which is the picture's frame");
        inside = inside && shape_inside;
    }
    return inside;
}

}   // namespace

Point cgm_point(const SvgDrawing& drawing, Point user)
{
    const double units = cgm_long_side / std::max(drawing.view_width, drawing.view_height);
    const double x = (user.x - (drawing.view_x + drawing.view_width / 2)) * units;
    const double y = ((drawing.view_y + drawing.view_height / 2) - user.y) * units;
    return Point{std::round(x), std::round(y)};
}

bool write_cgm(const SvgDrawing& drawing, const std::string& name, std::string& out, CgmSummary& summary,
               Diagnostics& diagnostics)
{
    std::string body;
    CgmWriter writer{&drawing, {},           CgmState{&body},
                     &summary, &diagnostics, pixels_per_unit(drawing, OutputKind::picture)};
    writer.palette = drawing.palette;
    if (writer.palette.size() > static_cast<std::size_t>(cgm_colours)) {
        add_error(diagnostics, 0, 0, "data-palette names more than 99 colours");
        return false;
    }
    if (!inside_frame(drawing, diagnostics))
        return false;
    body += frame_line(drawing);
    writer.state.line_width = 0;
    body += "intstyle SOLID;\n";
    bool ok = true;
    for (const PaintedShape& shape : drawing.shapes)
        ok = write_shape(writer, shape) && ok;
    if (writer.palette.empty())
        writer.palette.push_back(Colour{});   // the table may not be empty
    summary.colours = static_cast<int>(writer.palette.size());
    const std::string stem = clean_name(name);
    out = "BEGMF \"" + stem + "\";\nmfversion 1;\nBEGPIC \"" + stem + "\";\n" + colour_table(writer.palette) +
          "BEGPICBODY;\n" + body + "ENDPIC;\nENDMF;\n";
    return ok;
}
