// The library's rasterizer takes shortcuts (rows and steps off the frame jumped over,
// one plot per pixel group, wide arithmetic). These tests compare it with plain
// step-by-step models (a line walk in 32-bit arithmetic, and the triangle model of
// tests/common) over coordinates where 32-bit arithmetic is exact: every pixel must agree.
#include "common/triangle_model.h"
#include "picture_test_support.h"
#include "pictures/pictures.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace {

using Frame = std::array<std::uint8_t, 320 * 200>;

void model_plot(Frame& frame, std::int32_t x, std::int32_t y, std::uint8_t colour)
{
    const std::int32_t px = (x + 2) >> 2;
    const std::int32_t py = (y + 2) >> 2;
    if (px >= 0 && px <= 319 && py >= 0 && py <= 199)
        frame[static_cast<std::size_t>(py * 320 + px)] = colour;
}

// One quarter-pixel step at a time along the major axis, every point plotted.
void model_line(Frame& frame, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                std::int32_t width, std::uint8_t colour)
{
    if (x0 == x1 && y0 == y1) {
        model_plot(frame, x0, y0, colour);
        return;
    }
    const bool x_major = std::abs(y1 - y0) < std::abs(x1 - x0);
    if (!x_major) {
        std::swap(x0, y0);
        std::swap(x1, y1);
    }
    if (x0 > x1) {
        std::swap(x0, x1);
        std::swap(y0, y1);
    }
    std::int32_t minor = (y0 * 16384) + 0x2000;
    const std::int32_t step = ((y1 * 16384 + 0x2000) - minor) / (x1 - x0);
    for (std::int32_t major = x0; major <= x1; ++major, minor += step) {
        for (std::int32_t k = 0; k < (width == 1 ? 1 : width); ++k) {
            const std::int32_t across = width == 1 ? minor >> 14 : (minor >> 14) - 2 * width + 4 * k;
            if (x_major)
                model_plot(frame, major, across, colour);
            else
                model_plot(frame, across, major, colour);
        }
    }
}

struct Random {
    std::uint32_t state;
    std::int32_t between(std::int32_t low, std::int32_t high)
    {
        state = state * 1664525u + 1013904223u;
        return low + static_cast<std::int32_t>((state >> 8) % static_cast<std::uint32_t>(high - low + 1));
    }
};

TEST(ReferenceRasterizer, LinesMatchTheStepByStepWalk)
{
    Random random{7};
    Frame expected{};
    Frame actual{};
    for (int round = 0; round < 6000; ++round) {
        // Mostly short strokes, some long ones, some crossing the borders.
        const std::int32_t reach = round % 5 == 0 ? 2000 : 40;
        const std::int32_t x0 = random.between(-60, 1340);
        const std::int32_t y0 = random.between(-60, 860);
        const std::int32_t segment[4] = {x0, y0, x0 + random.between(-reach, reach),
                                         y0 + random.between(-reach, reach)};
        const std::int32_t width = random.between(-1, 5);
        expected.fill(0);
        actual.fill(0);
        model_line(expected, segment[0], segment[1], segment[2], segment[3], width, 1);
        draw_wide_line(actual.data(), segment, width, 1);
        ASSERT_EQ(actual, expected) << "line " << segment[0] << "," << segment[1] << " " << segment[2] << ","
                                    << segment[3] << " width " << width;
    }
}

TEST(ReferenceRasterizer, TrianglesMatchTheRowByRowFill)
{
    Random random{11};
    Frame expected{};
    Frame actual{};
    for (int round = 0; round < 4000; ++round) {
        std::int32_t triangle[6];
        const std::int32_t reach = round % 3 == 0 ? 3000 : 150;
        const std::int32_t cx = random.between(-200, 1480);
        const std::int32_t cy = random.between(-200, 1000);
        for (int k = 0; k < 3; ++k) {
            triangle[2 * k] = cx + random.between(-reach, reach);
            triangle[2 * k + 1] = cy + random.between(-reach, reach);
        }
        expected.fill(0);
        actual.fill(0);
        model_triangle(expected.data(), triangle, 1);
        fill_triangle(actual.data(), triangle, 1);
        ASSERT_EQ(actual, expected) << "triangle " << triangle[0] << "," << triangle[1] << " " << triangle[2]
                                    << "," << triangle[3] << " " << triangle[4] << "," << triangle[5];
    }
}

}   // namespace
