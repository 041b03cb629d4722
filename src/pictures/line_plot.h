// The line walker shared by picture outlines and text pictures. Coordinates are
// quarter pixels; the pixel of a coordinate v is (v + 2) >> 2.
#pragma once

#include <algorithm>
#include <cstdint>

inline std::int64_t pixel_of(std::int64_t quarter)
{
    return (quarter + 2) >> 2;
}

// Sets count pixels from pixel (px, py) on, one apart along x when along_x is set,
// otherwise along y; those off the frame are skipped. Inline: lines call it per pixel.
inline void plot_pixel_run(std::uint8_t* buffer, std::int64_t px, std::int64_t py, std::int64_t count,
                           bool along_x, std::uint8_t colour)
{
    constexpr std::int64_t width = 320;
    constexpr std::int64_t height = 200;
    if (along_x) {
        if (py < 0 || py >= height)
            return;
        const std::int64_t end = std::min(px + count, width);
        for (std::int64_t x = std::max<std::int64_t>(px, 0); x < end; ++x)
            buffer[py * width + x] = colour;
    } else {
        if (px < 0 || px >= width)
            return;
        const std::int64_t end = std::min(py + count, height);
        for (std::int64_t y = std::max<std::int64_t>(py, 0); y < end; ++y)
            buffer[y * width + px] = colour;
    }
}

// Draws the segment x0, y0, x1, y1 whose ends differ, width pixels across.
void draw_line_between(std::uint8_t* buffer, const std::int32_t* segment, std::int32_t width,
                       std::uint8_t colour);
