// The four-way mirror: the top-left quarter of a picture reflected into the other three.
#include "effects/effects.h"

#include <cstddef>
#include <cstring>

void mirror_quadrants(std::uint8_t* buffer, std::int32_t width, std::int32_t height)
{
    const std::int32_t half_w = width / 2;
    const std::int32_t half_h = height / 2;
    for (std::int32_t y = 0; y < half_h; ++y) {
        std::uint8_t* row = buffer + static_cast<std::ptrdiff_t>(y) * width;
        for (std::int32_t x = 0; x < half_w; ++x)
            row[width - 1 - x] = row[x];
        std::uint8_t* mirrored = buffer + static_cast<std::ptrdiff_t>(height - 1 - y) * width;
        std::memcpy(mirrored, row, static_cast<std::size_t>(width));
    }
}
