// Wide lines in quarter-pixel steps. The line advances one unit at a time along its
// major axis; the minor coordinate carries 14 fraction bits plus a rounding half.
#include "pictures/line_plot.h"
#include "pictures/pictures.h"

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::int64_t frame_width = 320;
constexpr std::int64_t frame_height = 200;
// The quarter-pixel coordinates that land inside the frame: -2 .. 4 * size - 3.
constexpr std::int64_t first_visible = -2;
constexpr std::int64_t last_visible_x = 4 * frame_width - 3;
constexpr std::int64_t last_visible_y = 4 * frame_height - 3;

// Plots one step: the point on the line, or width points across it starting half the
// width before it.
void plot_step(std::uint8_t* buffer, std::int64_t major_pixel, std::int64_t minor_pixel, std::int64_t count,
               bool x_major, std::uint8_t colour)
{
    if (x_major)
        plot_pixel_run(buffer, major_pixel, minor_pixel, count, false, colour);
    else
        plot_pixel_run(buffer, minor_pixel, major_pixel, count, true, colour);
}

// Walks the major axis from major0 to major1 (major0 < major1) one quarter-pixel step
// at a time. Steps off the frame along the major axis are jumped over with the minor
// value advanced by as many steps. The (up to) four steps that share a major pixel
// move the minor value by at most three units, so they cover at most two minor pixels,
// those of the group's first and last steps: only those two are computed and plotted,
// which writes exactly the pixels of the step-by-step walk.
void walk(std::uint8_t* buffer, std::int64_t major0, std::int64_t minor0, std::int64_t major1,
          std::int64_t minor1, std::int32_t width, bool x_major, std::uint8_t colour)
{
    const std::int64_t start = minor0 * 16384 + 0x2000;
    const std::int64_t step = (minor1 * 16384 + 0x2000 - start) / (major1 - major0);
    const std::int64_t from = std::max(major0, first_visible);
    const std::int64_t to = std::min(major1, x_major ? last_visible_x : last_visible_y);
    const std::int64_t spread = width == 1 ? 0 : 2 * std::int64_t{width};
    const std::int64_t count = width == 1 ? 1 : width;
    std::int64_t minor = start + step * (from - major0);
    for (std::int64_t major = from; major <= to;) {
        const std::int64_t major_pixel = pixel_of(major);
        const std::int64_t group_last = std::min(4 * major_pixel + 1, to);
        const std::int64_t first_pixel = pixel_of((minor >> 14) - spread);
        plot_step(buffer, major_pixel, first_pixel, count, x_major, colour);
        minor += step * (group_last - major);
        const std::int64_t last_pixel = pixel_of((minor >> 14) - spread);
        if (last_pixel != first_pixel)
            plot_step(buffer, major_pixel, last_pixel, count, x_major, colour);
        minor += step;
        major = group_last + 1;
    }
}

}   // namespace

void draw_line_between(std::uint8_t* buffer, const std::int32_t* segment, std::int32_t width,
                       std::uint8_t colour)
{
    std::int64_t x0 = segment[0];
    std::int64_t y0 = segment[1];
    std::int64_t x1 = segment[2];
    std::int64_t y1 = segment[3];
    const bool x_major = std::llabs(y1 - y0) < std::llabs(x1 - x0);
    if (x_major) {
        if (x0 > x1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        walk(buffer, x0, y0, x1, y1, width, true, colour);
    } else {
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        walk(buffer, y0, x0, y1, x1, width, false, colour);
    }
}

void plot_subpixel(std::uint8_t* buffer, std::int32_t x, std::int32_t y, std::uint8_t colour)
{
    plot_pixel_run(buffer, pixel_of(x), pixel_of(y), 1, true, colour);
}

void draw_wide_line(std::uint8_t* buffer, const std::int32_t* segment, std::int32_t width,
                    std::uint8_t colour)
{
    if (segment[0] == segment[2] && segment[1] == segment[3]) {
        plot_subpixel(buffer, segment[0], segment[1], colour);
        return;
    }
    draw_line_between(buffer, segment, width, colour);
}
