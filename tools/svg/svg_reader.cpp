#include "svg_reader.h"

#include "svg_numbers.h"
#include "svg_path.h"
#include "svg_transform.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>

double pixels_per_unit(const SvgDrawing& drawing, OutputKind kind)
{
    if (kind == OutputKind::line_drawing)
        return std::min(320 / drawing.view_width, 200 / drawing.view_height);
    return 2 * drawing.scale / std::max(drawing.view_width, drawing.view_height);
}

namespace {

// The paint-related properties as they stand at one element, after inheritance.
struct Style {
    Paint fill{PaintKind::colour, {0, 0, 0}};
    Paint stroke{PaintKind::none, {}};
    double stroke_width = 1;
    bool even_odd = false;
    Colour colour;   // for currentColor
    bool visible = true;
};

struct Reader {
    const std::string* text;
    ReadOptions options;
    SvgDrawing* drawing;
    Diagnostics* diagnostics;
    double tolerance = 1;   // in output pixels divided by pixels per user unit
};

int line_of(const Reader& reader, const pugi::xml_node& node)
{
    const std::ptrdiff_t offset = node.offset_debug();
    if (offset < 0)
        return 0;
    const auto end = reader.text->begin() + std::min<std::ptrdiff_t>(offset, reader.text->size());
    return 1 + static_cast<int>(std::count(reader.text->begin(), end, '\n'));
}

// "<name> ", built by appending (GCC 12 warns of a false overlap in "<" + string).
std::string element_prefix(const pugi::xml_node& node)
{
    std::string prefix = "<";
    prefix += node.name();
    prefix += "> ";
    return prefix;
}

void error(Reader& reader, const pugi::xml_node& node, const std::string& text)
{
    add_error(*reader.diagnostics, line_of(reader, node), 0, element_prefix(node) + text);
}

void warning(Reader& reader, const pugi::xml_node& node, const std::string& text)
{
    add_warning(*reader.diagnostics, line_of(reader, node), 0, element_prefix(node) + text);
}

// Applies one presentation property; unknown ones are left to the caller to ignore.
void apply_property(Reader& reader, const pugi::xml_node& node, std::string_view name, std::string_view value,
                    Style& style)
{
    std::string message;
    const std::string name_text(name);
    if (value == "inherit")
        return;
    if (name == "fill" || name == "stroke") {
        Paint paint;
        if (!parse_paint(value, paint, message))
            error(reader, node, name_text + ": " + message);
        else
            (name == "fill" ? style.fill : style.stroke) = paint;
    } else if (name == "color") {
        if (!parse_colour(value, style.colour, message))
            error(reader, node, "color: " + message);
    } else if (name == "stroke-width") {
        double width;
        if (!parse_length(value, width) || width < 0)
            error(reader, node, "stroke-width \"" + std::string(value) + "\" is not a length in user units");
        else
            style.stroke_width = width;
    } else if (name == "fill-rule") {
        style.even_odd = value == "evenodd";
    } else if (name == "display") {
        if (value == "none")
            style.visible = false;
    } else if (name == "visibility") {
        style.visible = value != "hidden" && value != "collapse";
    } else if (name == "opacity" || name == "fill-opacity" || name == "stroke-opacity") {
        double opacity;
        if (parse_length(value, opacity) && opacity < 1)
            warning(
                reader, node,
                name_text + " " + std::string(value) + " cannot be shown in indexed colours; drawn opaque");
    } else if (name == "clip-path" || name == "mask" || name == "filter" || name == "stroke-dasharray") {
        if (value != "none")
            warning(reader, node, name_text + " is not supported; drawn without it");
    }
}

std::string_view trim(std::string_view text)
{
    while (!text.empty() && std::strchr(" \t\r\n", text.front()))
        text.remove_prefix(1);
    while (!text.empty() && std::strchr(" \t\r\n", text.back()))
        text.remove_suffix(1);
    return text;
}

Style element_style(Reader& reader, const pugi::xml_node& node, const Style& parent)
{
    Style style = parent;
    style.visible = parent.visible;
    for (const pugi::xml_attribute& attribute : node.attributes())
        apply_property(reader, node, attribute.name(), trim(attribute.value()), style);
    // The style attribute's declarations win over presentation attributes.
    std::string_view declarations = node.attribute("style").value();
    while (!declarations.empty()) {
        const std::size_t semicolon = declarations.find(';');
        const std::string_view declaration = declarations.substr(0, semicolon);
        const std::size_t colon = declaration.find(':');
        if (colon != std::string_view::npos)
            apply_property(reader, node, trim(declaration.substr(0, colon)),
                           trim(declaration.substr(colon + 1)), style);
        if (semicolon == std::string_view::npos)
            break;
        declarations.remove_prefix(semicolon + 1);
    }
    return style;
}

bool read_number_attribute(Reader& reader, const pugi::xml_node& node, const char* name, double& value,
                           double fallback)
{
    const pugi::xml_attribute attribute = node.attribute(name);
    if (!attribute) {
        value = fallback;
        return true;
    }
    if (!parse_length(attribute.value(), value)) {
        error(reader, node,
              std::string(name) + " \"" + attribute.value() + "\" is not a number in user units");
        return false;
    }
    return true;
}

bool read_points_attribute(Reader& reader, const pugi::xml_node& node, Polyline& line)
{
    NumberScanner scanner{node.attribute("points").value(), 0};
    Point point;
    while (read_number(scanner, point.x)) {
        if (!read_number(scanner, point.y)) {
            error(reader, node, "points: odd number of coordinates");
            return false;
        }
        line.points.push_back(point);
    }
    if (!at_end(scanner)) {
        error(reader, node, "points: bad number at character " + std::to_string(scanner.position + 1));
        return false;
    }
    return true;
}

Polyline rounded_rectangle(double x, double y, double w, double h, double rx, double ry, double tolerance)
{
    Polyline outline;
    outline.closed = true;
    if (rx <= 0 || ry <= 0) {
        outline.points = {{x, y}, {x + w, y}, {x + w, y + h}, {x, y + h}};
        return outline;
    }
    std::vector<Point>& p = outline.points;
    p.push_back({x + rx, y});
    p.push_back({x + w - rx, y});
    flatten_arc(p.back(), rx, ry, 0, false, true, {x + w, y + ry}, tolerance, p);
    p.push_back({x + w, y + h - ry});
    flatten_arc(p.back(), rx, ry, 0, false, true, {x + w - rx, y + h}, tolerance, p);
    p.push_back({x + rx, y + h});
    flatten_arc(p.back(), rx, ry, 0, false, true, {x, y + h - ry}, tolerance, p);
    p.push_back({x, y + ry});
    flatten_arc(p.back(), rx, ry, 0, false, true, {x + rx, y}, tolerance, p);
    p.pop_back();   // the start point again
    // Corners as large as the sides leave repeated points where the straight parts vanish.
    p.erase(std::unique(p.begin(), p.end(), [](Point a, Point b) { return a.x == b.x && a.y == b.y; }),
            p.end());
    return outline;
}

// The element's outlines in its own user space; false when it has an error.
bool shape_outlines(Reader& reader, const pugi::xml_node& node, double tolerance,
                    std::vector<Polyline>& outlines)
{
    const std::string_view name = node.name();
    if (name == "path") {
        std::string message;
        if (!parse_path_data(node.attribute("d").value(), tolerance, outlines, message)) {
            error(reader, node, "d: " + message);
            return false;
        }
        return true;
    }
    if (name == "polygon" || name == "polyline") {
        Polyline line;
        line.closed = name == "polygon";
        if (!read_points_attribute(reader, node, line))
            return false;
        if (line.points.size() >= 2)
            outlines.push_back(line);
        return true;
    }
    double v[6];
    if (name == "line") {
        if (!read_number_attribute(reader, node, "x1", v[0], 0) ||
            !read_number_attribute(reader, node, "y1", v[1], 0) ||
            !read_number_attribute(reader, node, "x2", v[2], 0) ||
            !read_number_attribute(reader, node, "y2", v[3], 0))
            return false;
        outlines.push_back(Polyline{{{v[0], v[1]}, {v[2], v[3]}}, false});
        return true;
    }
    if (name == "circle" || name == "ellipse") {
        const bool circle = name == "circle";
        if (!read_number_attribute(reader, node, "cx", v[0], 0) ||
            !read_number_attribute(reader, node, "cy", v[1], 0) ||
            !read_number_attribute(reader, node, circle ? "r" : "rx", v[2], 0) ||
            !read_number_attribute(reader, node, circle ? "r" : "ry", v[3], 0))
            return false;
        if (v[2] < 0 || v[3] < 0) {
            error(reader, node, "negative radius");
            return false;
        }
        if (v[2] > 0 && v[3] > 0)
            outlines.push_back(flatten_ellipse({v[0], v[1]}, v[2], v[3], tolerance));
        return true;
    }
    // rect
    if (!read_number_attribute(reader, node, "x", v[0], 0) ||
        !read_number_attribute(reader, node, "y", v[1], 0) ||
        !read_number_attribute(reader, node, "width", v[2], 0) ||
        !read_number_attribute(reader, node, "height", v[3], 0) ||
        !read_number_attribute(reader, node, "rx", v[4], -1) ||
        !read_number_attribute(reader, node, "ry", v[5], -1))
        return false;
    if (v[2] < 0 || v[3] < 0) {
        error(reader, node, "negative width or height");
        return false;
    }
    double rx = v[4] < 0 ? v[5] : v[4], ry = v[5] < 0 ? v[4] : v[5];
    rx = std::min(std::max(rx, 0.0), v[2] / 2);
    ry = std::min(std::max(ry, 0.0), v[3] / 2);
    if (v[2] > 0 && v[3] > 0)
        outlines.push_back(rounded_rectangle(v[0], v[1], v[2], v[3], rx, ry, tolerance));
    return true;
}

Colour resolve(const Paint& paint, const Style& style)
{
    return paint.kind == PaintKind::current_colour ? style.colour : paint.colour;
}

void read_shape(Reader& reader, const pugi::xml_node& node, const Affine& transform, const Style& style)
{
    const double stretch = largest_stretch(transform);
    if (!(stretch > 0))
        return;   // squashed to nothing
    PaintedShape shape;
    shape.line = line_of(reader, node);
    shape.element = node.name();
    if (!shape_outlines(reader, node, reader.tolerance / stretch, shape.outlines))
        return;
    for (Polyline& outline : shape.outlines)
        for (Point& point : outline.points) {
            point = apply(transform, point);
            // Far past any frame; keeps every later conversion to integers defined.
            if (!(std::fabs(point.x) < 1e9 && std::fabs(point.y) < 1e9)) {
                error(reader, node, "coordinates out of range");
                return;
            }
        }
    const bool is_line = shape.element == "line";
    shape.filled = style.fill.kind != PaintKind::none && !is_line;
    shape.fill = resolve(style.fill, style);
    shape.even_odd = style.even_odd;
    shape.stroked = style.stroke.kind != PaintKind::none && style.stroke_width > 0;
    shape.stroke = resolve(style.stroke, style);
    shape.stroke_width =
        style.stroke_width * std::sqrt(std::fabs(transform.a * transform.d - transform.b * transform.c));
    if ((shape.filled || shape.stroked) && !shape.outlines.empty())
        reader.drawing->shapes.push_back(std::move(shape));
}

bool is_editor_data(const pugi::xml_node& node)
{
    // Elements in an editor's own namespace (sodipodi:namedview and the like).
    return std::strchr(node.name(), ':') != nullptr;
}

void read_children(Reader& reader, const pugi::xml_node& parent, const Affine& transform, const Style& style);

void read_element(Reader& reader, const pugi::xml_node& node, const Affine& parent_transform,
                  const Style& parent_style)
{
    const std::string_view name = node.name();
    if (is_editor_data(node) || name == "title" || name == "desc" || name == "metadata" || name == "defs")
        return;
    Affine transform = parent_transform;
    if (const pugi::xml_attribute attribute = node.attribute("transform")) {
        Affine own;
        std::string message;
        if (!parse_transform(attribute.value(), own, message)) {
            error(reader, node, "transform: " + message);
            return;
        }
        transform = compose(parent_transform, own);
    }
    const Style style = element_style(reader, node, parent_style);
    if (!style.visible && name != "g")
        return;
    if (name == "g" || name == "a") {
        if (style.visible)
            read_children(reader, node, transform, style);
    } else if (name == "path" || name == "polygon" || name == "polyline" || name == "rect" ||
               name == "circle" || name == "ellipse" || name == "line") {
        read_shape(reader, node, transform, style);
    } else {
        warning(reader, node,
                "cannot be converted (only path, polygon, polyline, rect, "
                "circle, ellipse, line and g are); left out");
    }
}

void read_children(Reader& reader, const pugi::xml_node& parent, const Affine& transform, const Style& style)
{
    for (const pugi::xml_node& child : parent.children())
        if (child.type() == pugi::node_element)
            read_element(reader, child, transform, style);
}

bool read_root_frame(Reader& reader, const pugi::xml_node& root)
{
    SvgDrawing& drawing = *reader.drawing;
    if (const pugi::xml_attribute view_box = root.attribute("viewBox")) {
        NumberScanner scanner{view_box.value(), 0};
        if (!read_number(scanner, drawing.view_x) || !read_number(scanner, drawing.view_y) ||
            !read_number(scanner, drawing.view_width) || !read_number(scanner, drawing.view_height) ||
            !at_end(scanner)) {
            error(reader, root, "viewBox must be four numbers");
            return false;
        }
    } else if (!read_number_attribute(reader, root, "width", drawing.view_width, 0) ||
               !read_number_attribute(reader, root, "height", drawing.view_height, 0)) {
        return false;
    }
    if (!(drawing.view_width > 1e-6 && drawing.view_height > 1e-6 && drawing.view_width < 1e9 &&
          drawing.view_height < 1e9 && std::fabs(drawing.view_x) < 1e9 && std::fabs(drawing.view_y) < 1e9)) {
        error(reader, root, "needs a viewBox (or width and height) of positive size");
        return false;
    }
    return true;
}

bool read_root_hints(Reader& reader, const pugi::xml_node& root)
{
    SvgDrawing& drawing = *reader.drawing;
    NumberScanner scanner{root.attribute("data-palette").value(), 0};
    while (!at_end(scanner)) {
        const std::size_t start = scanner.position;
        while (scanner.position < scanner.text.size() &&
               !std::strchr(" \t\r\n", scanner.text[scanner.position]))
            ++scanner.position;
        Colour colour;
        std::string message;
        if (!parse_colour(scanner.text.substr(start, scanner.position - start), colour, message)) {
            error(reader, root, "data-palette: " + message);
            return false;
        }
        drawing.palette.push_back(colour);
    }
    if (!read_number_attribute(reader, root, "data-scale", drawing.scale, 90))
        return false;
    double segments;
    if (!read_number_attribute(reader, root, "data-segments", segments, 0))
        return false;
    if (!(segments >= 0 && segments <= 1e6 && segments == std::floor(segments))) {
        error(reader, root, "data-segments must be a whole number from 0 to 1000000");
        return false;
    }
    drawing.segments = static_cast<int>(segments);
    if (reader.options.scale > 0)
        drawing.scale = reader.options.scale;
    if (reader.options.segments >= 0)
        drawing.segments = reader.options.segments;
    if (!(drawing.scale > 0 && drawing.scale <= 10000)) {
        error(reader, root, "data-scale must be above 0 and at most 10000");
        return false;
    }
    return true;
}

}   // namespace

bool read_svg(const std::string& text, const ReadOptions& options, SvgDrawing& drawing,
              Diagnostics& diagnostics)
{
    pugi::xml_document document;
    const pugi::xml_parse_result parsed = document.load_buffer(text.data(), text.size());
    if (!parsed) {
        const auto end = text.begin() + std::min<std::ptrdiff_t>(parsed.offset, text.size());
        const int line = 1 + static_cast<int>(std::count(text.begin(), end, '\n'));
        add_error(diagnostics, line, 0, std::string("not well-formed XML: ") + parsed.description());
        return false;
    }
    Reader reader{&text, options, &drawing, &diagnostics};
    const pugi::xml_node root = document.document_element();
    if (std::strcmp(root.name(), "svg") != 0) {
        error(reader, root, "the document element must be <svg>");
        return false;
    }
    if (!read_root_frame(reader, root) || !read_root_hints(reader, root))
        return false;
    reader.tolerance = options.tolerance / pixels_per_unit(drawing, options.kind);
    // The root's user space is the viewBox itself; its own transform and style apply.
    const Style style = element_style(reader, root, Style{});
    read_children(reader, root, Affine{}, style);
    return diagnostics.errors.empty();
}
