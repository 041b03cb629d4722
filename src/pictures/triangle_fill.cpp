// Triangle filling through per-row edge tables: each edge is stepped row by row in
// 16.16 fixed-point pixels, recording the leftmost and rightmost x per row, then each
// row's span is filled with one byte fill. Both ends of every span and every edge row
// are included, so neighbouring triangles overlap on their shared edge.
#include "pictures/pictures.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::int64_t frame_width = 320;
constexpr std::int64_t last_row = 199;
constexpr std::int64_t last_column = 319;
// Far outside any span, so a row no edge reached is skipped.
constexpr std::int64_t left_reset = 10000 * 65536;
constexpr std::int64_t right_reset = -10000 * 65536;

// Wide enough that no coordinate the shared signature can carry overflows a step.
std::int64_t left_edge[last_row + 1];
std::int64_t right_edge[last_row + 1];

std::int64_t row_of(std::int64_t y)
{
    return (y + 2) >> 2;
}

// Records one edge in the tables for its rows from top to at most the bottom row.
// Rows above the frame are not visited but jumped over, with x advanced by the same
// number of steps, so the first visible row gets the x of the full walk.
void trace_edge(std::int64_t xa, std::int64_t ya, std::int64_t xb, std::int64_t yb,
                std::int64_t bottom)
{
    std::int64_t first_row = row_of(ya);
    std::int64_t end_row = row_of(yb);
    if (first_row == end_row)
        return;
    if (first_row > end_row) {
        std::swap(first_row, end_row);
        std::swap(xa, xb);
    }
    if (end_row < 0)
        return;   // wholly above the frame: no row of it is recorded
    const std::int64_t step = (xb - xa) * 16384 / (end_row - first_row);
    const std::int64_t stop = std::min(end_row, bottom);
    const std::int64_t skipped = first_row < 0 ? std::min(-first_row, end_row - first_row) : 0;
    std::int64_t x = xa * 16384 + step * skipped;
    for (std::int64_t row = first_row + skipped; row <= stop; ++row) {
        left_edge[row] = std::min(left_edge[row], x);
        right_edge[row] = std::max(right_edge[row], x);
        x += step;
    }
}

// Out of line on purpose: inlined, the fill becomes a "rep stos" whose start-up cost
// dwarfs the short spans of small triangles; the library's fill is much quicker.
[[gnu::noinline]] void fill_bytes(std::uint8_t* start, std::uint8_t colour, std::size_t count)
{
    std::memset(start, colour, count);
}

void fill_span(std::uint8_t* buffer, std::int64_t row, std::uint8_t colour)
{
    std::int64_t xl = (left_edge[row] + 0x7FFF) >> 16;
    std::int64_t xr = (right_edge[row] + 0x7FFF) >> 16;
    if (xr < 0 || xl > last_column)
        return;
    xl = std::max<std::int64_t>(xl, 0);
    xr = std::min(xr, last_column);
    fill_bytes(buffer + row * frame_width + xl, colour, static_cast<std::size_t>(xr - xl + 1));
}

}  // namespace

void fill_triangle(std::uint8_t* buffer, const std::int32_t* triangle, std::uint8_t colour)
{
    const std::int64_t x[3] = {triangle[0], triangle[2], triangle[4]};
    const std::int64_t y[3] = {triangle[1], triangle[3], triangle[5]};
    const std::int64_t top = std::max<std::int64_t>(row_of(std::min({y[0], y[1], y[2]})), 0);
    const std::int64_t bottom = std::min(row_of(std::max({y[0], y[1], y[2]})), last_row);
    if (top > bottom)
        return;
    // Every edge's x stays between its two ends, so a triangle wholly left or right of
    // the frame has no span to fill: leave it before walking its rows.
    const std::int64_t leftmost = (std::min({x[0], x[1], x[2]}) * 16384 + 0x7FFF) >> 16;
    const std::int64_t rightmost = (std::max({x[0], x[1], x[2]}) * 16384 + 0x7FFF) >> 16;
    if (rightmost < 0 || leftmost > last_column)
        return;
    for (std::int64_t row = top; row <= bottom; ++row) {
        left_edge[row] = left_reset;
        right_edge[row] = right_reset;
    }
    for (int edge = 0; edge < 3; ++edge) {
        const int next = (edge + 1) % 3;
        trace_edge(x[edge], y[edge], x[next], y[next], bottom);
    }
    for (std::int64_t row = top; row <= bottom; ++row)
        fill_span(buffer, row, colour);
}
