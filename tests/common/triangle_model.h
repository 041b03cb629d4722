// A plain model of the triangle fill, to hold the library's faster one to: per-row
// tables of the leftmost and rightmost x, every edge stepped from its true start in
// 64-bit arithmetic, then one span per row. Exact over the whole signed 32-bit range.
#pragma once

#include <cstdint>

// Fills the triangle `t` (three x, y corners in quarter pixels) in a 320 x 200 frame.
void model_triangle(std::uint8_t* frame, const std::int32_t* t, std::uint8_t colour);
