// Drawing a loaded picture: every shape's triangles, then its outline, each point
// passed through the caller's transform into quarter-pixel screen coordinates.
#include "pictures/picture_walk.h"

std::int32_t picture_scale;
std::int32_t picture_offset_x;
std::int32_t picture_offset_y;

namespace {

// screen_transform with its three globals read once per picture; nothing that a
// picture's drawing calls writes them.
struct PlacedOnScreen {
    std::int64_t scale;
    std::int64_t centre_x;
    std::int64_t centre_y;

    void operator()(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y) const
    {
        *out_x = static_cast<std::int32_t>(((x * scale) >> 14) + centre_x);
        *out_y = static_cast<std::int32_t>(centre_y - ((y * scale) >> 14));
    }
};

}   // namespace

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
    // The standard transform, by far the most drawn through, is inlined.
    if (transform == screen_transform)
        draw_picture_with(picture, buffer,
                          PlacedOnScreen{picture_scale, std::int64_t{picture_offset_x} + 640,
                                         std::int64_t{picture_offset_y} + 400});
    else
        draw_picture_with(picture, buffer, transform);
}
