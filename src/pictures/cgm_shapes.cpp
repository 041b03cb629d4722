// The shape elements of a CGM picture: point lists, rectangles, the Shape records
// with their fill triangles, and the final centring and scaling of every coordinate.
#include "pictures/cgm_reader.h"
#include "pictures/file_scan.h"

#include <algorithm>

namespace {

constexpr std::int32_t element_point_capacity = 500;

// Points of the element being read, x and y interleaved; also the triangulator's
// working copy.
std::int32_t scratch_points[2 * element_point_capacity];

void widen_box(BoundingBox* box, std::int32_t x, std::int32_t y)
{
    box->min_x = std::min(box->min_x, x);
    box->max_x = std::max(box->max_x, x);
    box->min_y = std::min(box->min_y, y);
    box->max_y = std::max(box->max_y, y);
}

// Moves to just past the next "("; false at the end of the file.
bool find_open_bracket(std::FILE* file, int c)
{
    while (c != '(' && c != EOF)
        c = std::getc(file);
    return c == '(';
}

// Reads "(x,y)(x,y) ... ;" into the scratch buffer and returns the point count. Points
// past the element capacity are read and dropped; a point whose numbers are missing
// is skipped; the end of the file ends the list with the points read so far.
std::int32_t read_point_list(std::FILE* file, BoundingBox* box)
{
    std::int32_t count = 0;
    int c = std::getc(file);
    while (find_open_bracket(file, c)) {
        std::int32_t x = 0;
        std::int32_t y = 0;
        const bool has_x = read_integer(file, &x);
        std::getc(file);   // the ","
        const bool has_y = read_integer(file, &y);
        std::getc(file);   // the ")"
        if (has_x && has_y && count < element_point_capacity) {
            scratch_points[2 * count] = x;
            scratch_points[2 * count + 1] = y;
            widen_box(box, x, y);
            ++count;
        }
        c = std::getc(file);
        if (c == ';')
            break;
    }
    return count;
}

// A rectangle's two corners become a closed five-point outline.
std::int32_t expand_rectangle(std::int32_t count)
{
    if (count < 2)
        return count;
    const std::int32_t x0 = scratch_points[0];
    const std::int32_t y0 = scratch_points[1];
    const std::int32_t x1 = scratch_points[2];
    const std::int32_t y1 = scratch_points[3];
    const std::int32_t outline[10] = {x0, y0, x0, y1, x1, y1, x1, y0, x0, y0};
    std::copy(outline, outline + 10, scratch_points);
    return 5;
}

std::int32_t shape_flags(const CgmReader& reader, ShapeKind kind)
{
    if (kind == ShapeKind::line)
        return 1;
    std::int32_t flags = 0;
    if (reader.edges_visible && reader.line_width != 0)
        flags |= 1;
    if (reader.fill_on)
        flags |= 2;
    return flags;
}

// A polygon that repeats its first point at the end is cut without the repeat.
std::int32_t triangulation_count(std::int32_t count)
{
    if (count > 0 && scratch_points[0] == scratch_points[2 * count - 2] &&
        scratch_points[1] == scratch_points[2 * count - 1])
        return count - 1;
    return count;
}

void append_shape(CgmReader* reader, Shape* shape)
{
    if (reader->last_shape)
        reader->last_shape->next = shape;
    else
        reader->picture->shapes = shape;
    reader->last_shape = shape;
}

// ((v - centre) * 65536) / half, truncating; every coordinate is 0 when the picture
// has no extent to scale by.
std::int32_t normalise(std::int32_t v, std::int64_t centre, std::int64_t half)
{
    if (half == 0)
        return 0;
    return static_cast<std::int32_t>((static_cast<std::int64_t>(v) - centre) * 65536 / half);
}

void normalise_pairs(std::vector<std::int32_t>* values, std::int64_t cx, std::int64_t cy, std::int64_t half)
{
    for (std::size_t k = 0; k + 1 < values->size(); k += 2) {
        (*values)[k] = normalise((*values)[k], cx, half);
        (*values)[k + 1] = normalise((*values)[k + 1], cy, half);
    }
}

}   // namespace

void read_shape(CgmReader* reader, ShapeKind kind)
{
    std::int32_t count = read_point_list(reader->file, &reader->box);
    if (kind == ShapeKind::rect)
        count = expand_rectangle(count);
    auto* shape = new Shape{};
    shape->flags = shape_flags(*reader, kind);
    shape->line_width = reader->line_width;
    shape->fill_colour = reader->fill_colour;
    shape->line_colour = reader->line_colour;
    shape->point_count = count;
    shape->points.assign(scratch_points, scratch_points + 2 * count);
    append_shape(reader, shape);
    if (shape->flags & 2) {
        shape->triangles = triangulate_polygon(triangulation_count(count), scratch_points);
        shape->triangle_count = static_cast<std::int32_t>(shape->triangles.size() / 6);
    }
}

void normalise_picture(Picture* picture, const BoundingBox& box)
{
    const std::int64_t cx = (std::int64_t{box.min_x} + box.max_x) / 2;
    const std::int64_t cy = (std::int64_t{box.min_y} + box.max_y) / 2;
    const std::int64_t width = std::int64_t{box.max_x} - box.min_x;
    const std::int64_t height = std::int64_t{box.max_y} - box.min_y;
    const std::int64_t half = (width > height ? width : height) / 2;
    for (Shape* shape = picture->shapes; shape; shape = shape->next) {
        normalise_pairs(&shape->points, cx, cy, half);
        normalise_pairs(&shape->triangles, cx, cy, half);
    }
}
