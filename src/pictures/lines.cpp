// Wide lines in quarter-pixel steps. The line advances one unit at a time along its
// major axis, so each pixel is written about four times; the minor coordinate carries
// 14 fraction bits plus a rounding half.
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

void plot_wide(std::uint8_t* buffer, std::int64_t x, std::int64_t y, std::uint8_t colour)
{
    const std::int64_t px = (x + 2) >> 2;
    const std::int64_t py = (y + 2) >> 2;
    if (px >= 0 && px < frame_width && py >= 0 && py < frame_height)
        buffer[py * frame_width + px] = colour;
}

// One step of the walk: the point on the line, or width points across it starting
// half the width before it.
void plot_across(std::uint8_t* buffer, std::int64_t major, std::int64_t minor,
                 std::int32_t width, bool x_major, std::uint8_t colour)
{
    const std::int64_t across = width == 1 ? minor : minor - 2 * std::int64_t{width};
    const std::int64_t count = width == 1 ? 1 : width;
    if (x_major)
        plot_run(buffer, major, across, count, false, colour);
    else
        plot_run(buffer, across, major, count, true, colour);
}

// Walks the major axis from major0 to major1 (major0 < major1). Steps that fall
// off the frame along the major axis are skipped in one jump; the minor value is
// advanced by the same amount, so the visible steps are exactly those of the full walk.
void walk(std::uint8_t* buffer, std::int64_t major0, std::int64_t minor0, std::int64_t major1,
          std::int64_t minor1, std::int32_t width, bool x_major, std::uint8_t colour)
{
    const std::int64_t start = minor0 * 16384 + 0x2000;
    const std::int64_t step = (minor1 * 16384 + 0x2000 - start) / (major1 - major0);
    const std::int64_t last_visible = x_major ? last_visible_x : last_visible_y;
    const std::int64_t from = std::max(major0, first_visible);
    const std::int64_t to = std::min(major1, last_visible);
    std::int64_t minor = start + step * (from - major0);
    for (std::int64_t major = from; major <= to; ++major) {
        plot_across(buffer, major, minor >> 14, width, x_major, colour);
        minor += step;
    }
}

}  // namespace

void plot_run(std::uint8_t* buffer, std::int64_t x, std::int64_t y, std::int64_t count,
              bool along_x, std::uint8_t colour)
{
    const std::int64_t start = along_x ? x : y;
    const std::int64_t last_visible = along_x ? last_visible_x : last_visible_y;
    if (count <= 0 || start > last_visible)
        return;
    const std::int64_t first = start < first_visible ? (first_visible - start + 3) / 4 : 0;
    const std::int64_t last = std::min(count - 1, (last_visible - start) / 4);
    for (std::int64_t k = first; k <= last; ++k) {
        if (along_x)
            plot_wide(buffer, x + 4 * k, y, colour);
        else
            plot_wide(buffer, x, y + 4 * k, colour);
    }
}

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
    plot_wide(buffer, x, y, colour);
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
