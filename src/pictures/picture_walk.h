// The walk over a picture's shapes that draw_picture makes, open to any point transform
// the compiler can see: a caller with a transform of its own (the picture tunnel) gets
// it inlined into the loops instead of called through a pointer for every point.
#pragma once

#include "pictures/pictures.h"
#include "pictures/triangle_fill_inline.h"

#include <algorithm>
#include <cstddef>

namespace picture_walk {

// transform(x, y, &out_x, &out_y), exactly as a PointTransform.
// The triangles a shape draws: as many as it counts, and no more than it holds.
inline std::size_t drawn_triangles(const Shape& shape)
{
    const std::size_t stored = shape.triangles.size() / 6;
    return std::min(stored, static_cast<std::size_t>(std::max(shape.triangle_count, 0)));
}

template <typename Transform>
void fill_shape(const Shape& shape, std::uint8_t* buffer, Transform& transform)
{
    const std::size_t count = drawn_triangles(shape);
    const auto colour = static_cast<std::uint8_t>(shape.fill_colour);
    const std::int32_t* vertex = shape.triangles.data();
    for (std::size_t t = 0; t < count; ++t, vertex += 6) {
        std::int32_t screen_triangle[6];
        transform(vertex[0], vertex[1], &screen_triangle[0], &screen_triangle[1]);
        transform(vertex[2], vertex[3], &screen_triangle[2], &screen_triangle[3]);
        transform(vertex[4], vertex[5], &screen_triangle[4], &screen_triangle[5]);
        fill_triangle_inline(buffer, screen_triangle, colour);
    }
}

// An open polyline: the last point joins the first only if the list repeats it.
template <typename Transform>
void outline_shape(const Shape& shape, std::uint8_t* buffer, Transform& transform)
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

}   // namespace picture_walk

// What draw_picture does, with each filled shape handed to fill(shape, buffer) and the
// outlines' points mapped by `points`, shape by shape in draw_picture's order.
template <typename ShapeFill, typename PointTransformer>
void draw_picture_filling(const Picture* picture, std::uint8_t* buffer, ShapeFill& fill,
                          PointTransformer& points)
{
    for (const Shape* shape = picture->shapes; shape; shape = shape->next) {
        if (shape->flags & 2)
            fill(*shape, buffer);
        if (shape->flags & 1)
            picture_walk::outline_shape(*shape, buffer, points);
    }
}

// What draw_picture does, with the transforms given as any callables: `corners` maps
// the triangles' corners, `points` the outlines' points. Both are called in the order
// draw_picture calls its transform, so a stateful one may count along.
template <typename CornerTransform, typename PointTransformer>
void draw_picture_with(const Picture* picture, std::uint8_t* buffer, CornerTransform& corners,
                       PointTransformer& points)
{
    auto fill = [&corners](const Shape& shape, std::uint8_t* into) {
        picture_walk::fill_shape(shape, into, corners);
    };
    draw_picture_filling(picture, buffer, fill, points);
}

template <typename Transform>
void draw_picture_with(const Picture* picture, std::uint8_t* buffer, Transform transform)
{
    draw_picture_with(picture, buffer, transform, transform);
}

// The corners of the filled triangles in the order draw_picture_with visits them:
// visit(x, y) for each.
template <typename Visit>
void visit_corners(const Picture* picture, Visit&& visit)
{
    for (const Shape* shape = picture->shapes; shape; shape = shape->next) {
        if (!(shape->flags & 2))
            continue;
        const std::size_t count = picture_walk::drawn_triangles(*shape);
        for (std::size_t k = 0; k < 3 * count; ++k)
            visit(shape->triangles[2 * k], shape->triangles[2 * k + 1]);
    }
}
