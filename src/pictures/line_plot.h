// The line walker shared by picture outlines and text pictures. Coordinates are
// quarter pixels; the pixel of a coordinate v is (v + 2) >> 2.
#pragma once

#include <cstdint>

// Plots count points from (x, y) on, each one pixel (4 units) further along x when
// along_x is set, otherwise along y; points off the frame are skipped.
void plot_run(std::uint8_t* buffer, std::int64_t x, std::int64_t y, std::int64_t count,
              bool along_x, std::uint8_t colour);

// Draws the segment x0, y0, x1, y1 whose ends differ, width pixels across.
void draw_line_between(std::uint8_t* buffer, const std::int32_t* segment, std::int32_t width,
                       std::uint8_t colour);
