// Drawing a loaded picture: every shape's triangles, then its outline, each point
// passed through the caller's transform into quarter-pixel screen coordinates.
#include "pictures/pictures.h"

#include <algorithm>

std::int32_t picture_scale;
std::int32_t picture_offset_x;
std::int32_t picture_offset_y;

namespace {

void fill_shape(const Shape& shape, std::uint8_t* buffer, PointTransform transform)
{
    const std::size_t stored = shape.triangles.size() / 6;
    const std::size_t count = std::min(stored, static_cast<std::size_t>(std::max(shape.triangle_count, 0)));
    const auto colour = static_cast<std::uint8_t>(shape.fill_colour);
    for (std::size_t t = 0; t < count; ++t) {
        const std::int32_t* vertex = shape.triangles.data() + 6 * t;
        // Written out rather than looped: a three-round loop around a call through a
        // pointer costs a mispredicted exit on every triangle.
        std::int32_t screen_triangle[6];
        transform(vertex[0], vertex[1], &screen_triangle[0], &screen_triangle[1]);
        transform(vertex[2], vertex[3], &screen_triangle[2], &screen_triangle[3]);
        transform(vertex[4], vertex[5], &screen_triangle[4], &screen_triangle[5]);
        fill_triangle(buffer, screen_triangle, colour);
    }
}

// An open polyline: the last point joins the first only if the list repeats it.
void outline_shape(const Shape& shape, std::uint8_t* buffer, PointTransform transform)
{
    const std::size_t stored = shape.points.size() / 2;
    const std::size_t count = std::min(stored, static_cast<std::size_t>(std::max(shape.point_count, 0)));
    const auto colour = static_cast<std::uint8_t>(shape.line_colour);
    for (std::size_t i = 0; i + 1 < count; ++i) {
        const std::int32_t* point = shape.points.data() + 2 * i;
        std::int32_t segment[4];
        transform(point[0], point[1], &segment[0], &segment[1]);
        transform(point[2], point[3], &segment[2], &segment[3]);
        draw_wide_line(buffer, segment, shape.line_width, colour);
    }
}

}  // namespace

// 32-bit products in the usual range; computed wide so that an extreme scale wraps
// instead of overflowing.
void screen_transform(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y)
{
    const std::int64_t scaled_x = (std::int64_t{x} * picture_scale) >> 14;
    const std::int64_t scaled_y = (std::int64_t{y} * picture_scale) >> 14;
    *out_x = static_cast<std::int32_t>(scaled_x + picture_offset_x + 640);
    *out_y = static_cast<std::int32_t>(std::int64_t{picture_offset_y} + 400 - scaled_y);
}

void draw_picture(const Picture* picture, std::uint8_t* buffer, PointTransform transform)
{
    for (const Shape* shape = picture->shapes; shape; shape = shape->next) {
        if (shape->flags & 2)
            fill_shape(*shape, buffer, transform);
        if (shape->flags & 1)
            outline_shape(*shape, buffer, transform);
    }
}
