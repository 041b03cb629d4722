// The triangle fill itself is in triangle_fill_inline.h, where the picture walk can
// inline it; here it is compiled once for every other caller.
#include "pictures/triangle_fill_inline.h"

void fill_triangle(std::uint8_t* buffer, const std::int32_t* triangle, std::uint8_t colour)
{
    using namespace triangle_fill_detail;
    Vertex v[3];
    if (sorted_corners(triangle, v))
        fill_sorted<std::int32_t>(buffer, v, colour);
    else
        fill_sorted<std::int64_t>(buffer, v, colour);
}
