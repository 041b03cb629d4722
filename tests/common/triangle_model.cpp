#include "common/triangle_model.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace {

std::int64_t model_row(std::int64_t y)
{
    return (y + 2) >> 2;
}

}   // namespace

void model_triangle(std::uint8_t* frame, const std::int32_t* t, std::uint8_t colour)
{
    std::int64_t left[200];
    std::int64_t right[200];
    const std::int64_t top = std::max<std::int64_t>(0, model_row(std::min({t[1], t[3], t[5]})));
    const std::int64_t bottom = std::min<std::int64_t>(199, model_row(std::max({t[1], t[3], t[5]})));
    for (std::int64_t r = top; r <= bottom; ++r) {
        left[r] = std::int64_t{10000} * 65536;
        right[r] = std::int64_t{-10000} * 65536;
    }
    for (int e = 0; e < 3; ++e) {
        std::int64_t xa = t[2 * e];
        std::int64_t ra = model_row(t[2 * e + 1]);
        std::int64_t xb = t[(2 * e + 2) % 6];
        std::int64_t rb = model_row(t[(2 * e + 3) % 6]);
        if (ra == rb)
            continue;
        if (ra > rb) {
            std::swap(ra, rb);
            std::swap(xa, xb);
        }
        const std::int64_t step = (xb - xa) * 16384 / (rb - ra);
        // Rows above the frame are stepped through one by one, only not recorded; the
        // walk starts no earlier than needed to keep the model quick on huge edges.
        const std::int64_t first = std::max(ra, std::int64_t{-1});
        std::int64_t x = xa * 16384 + step * (first - ra);
        for (std::int64_t r = first; r <= std::min(rb, bottom); ++r, x += step) {
            if (r >= 0) {
                left[r] = std::min(left[r], x);
                right[r] = std::max(right[r], x);
            }
        }
    }
    for (std::int64_t r = top; r <= bottom; ++r) {
        const std::int64_t xl = (left[r] + 0x7FFF) >> 16;
        const std::int64_t xr = (right[r] + 0x7FFF) >> 16;
        if (xr < 0 || xl > 319)
            continue;
        for (std::int64_t x = std::max<std::int64_t>(xl, 0); x <= std::min<std::int64_t>(xr, 319); ++x)
            frame[static_cast<std::size_t>(r * 320 + x)] = colour;
    }
}
