// The triangle fill's workings, open to callers that draw many triangles in a loop of
// their own (the picture walk): inlined there, a small triangle no longer pays for a
// call, the saving of registers and a trip of its corners through memory.
//
// Triangle filling, one row at a time from top to bottom. Each edge is stepped row by
// row in 16.16 fixed-point pixels from its upper end; a row's span runs from the
// leftmost to the rightmost x that the edges crossing it reach there, and is filled
// with one byte fill. Both ends of every span and every edge row are included, so
// neighbouring triangles overlap on their shared edge.
//
// Sorted by row, the vertices give a long edge from the top vertex to the bottom one
// and two short edges through the middle vertex. Every row of the triangle lies on the
// long edge; the rows above the middle vertex also lie on the upper short edge, the
// rows below it on the lower one, and the middle vertex's own row on both. Taking the
// smallest and largest x of exactly those edges per row is what recording every edge
// in per-row tables of minima and maxima would give, without the tables.
#pragma once

#include "pictures/pictures.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace triangle_fill_detail {

inline constexpr std::int32_t last_row = 199;
inline constexpr std::int32_t last_column = 319;
inline constexpr std::int32_t frame_width = 320;
// Below this magnitude every 16.16 x, step and rounding sum of a triangle fits in 32
// bits, and the pixel-of-row sums cannot overflow either; larger coordinates take the
// same steps in 64 bits.
inline constexpr std::int32_t narrow_limit = 1 << 16;

// x in quarter pixels, or already as x_16_16 gives it where the fill says Prescaled.
struct Vertex {
    std::int32_t x;
    std::int32_t row;
};

// first if the condition holds, else second; member by member, which compilers turn
// into conditional moves where a whole-record choice may become a branch.
inline Vertex pick(bool condition, Vertex first, Vertex second)
{
    return {condition ? first.x : second.x, condition ? first.row : second.row};
}

// An edge's x on the current row and its step per row. They are kept unsigned so that
// stepping outside the edge's rows may wrap without harm: every x that is used lies
// on the edge's own rows, between its two ends, and so is the exact signed value.
template <typename Value>
struct EdgeWalk {
    std::make_unsigned_t<Value> x;
    std::make_unsigned_t<Value> step;

    Value at() const { return static_cast<Value>(x); }
    void advance() { x += step; }
};

// Wide, so that the rounding sum of a coordinate near the 32-bit limit cannot overflow;
// the row itself fits in 32 bits again.
inline std::int32_t row_of(std::int32_t y)
{
    return static_cast<std::int32_t>((std::int64_t{y} + 2) >> 2);
}

// A quarter-pixel x as a 16.16 pixel value plus the 0x7FFF that rounds it to the
// nearest pixel (halves downwards) by a plain shift. Adding the same amount to every
// x leaves their order, so edges carry it from the start and spans only shift.
inline constexpr std::int32_t rounding = 0x7FFF;

template <typename Value>
Value rounded_16_16(std::int32_t quarter_x)
{
    return Value{quarter_x} * 16384 + rounding;
}

// A vertex's x as the edges and spans use it: 16.16 with the rounding amount. A caller
// that places each corner once may hand it over in that form already (Prescaled).
template <typename Value, bool Prescaled>
Value x_16_16(std::int32_t x)
{
    if constexpr (Prescaled)
        return Value{x};
    else
        return rounded_16_16<Value>(x);
}

// The edge from upper to lower (upper.row < lower.row), positioned on row `first`:
// its x is that of stepping from the upper end, exact on the edge's own rows, and
// carries the rounding amount. The rounding amounts of the two ends cancel in the step.
template <typename Value, bool Prescaled>
EdgeWalk<Value> edge_from(Vertex upper, Vertex lower, Value first)
{
    using Unsigned = std::make_unsigned_t<Value>;
    const Value rows = Value{lower.row} - upper.row;
    Value step;
    if constexpr (Prescaled)
        step = (Value{lower.x} - upper.x) / rows;
    else
        step = (Value{lower.x} - upper.x) * 16384 / rows;
    const Unsigned start = static_cast<Unsigned>(x_16_16<Value, Prescaled>(upper.x));
    const Unsigned rows_in = static_cast<Unsigned>(first - upper.row);
    return {static_cast<Unsigned>(start + rows_in * static_cast<Unsigned>(step)),
            static_cast<Unsigned>(step)};
}

inline void store8(std::uint8_t* at, std::uint64_t pattern)
{
    std::memcpy(at, &pattern, 8);
}

inline void store4(std::uint8_t* at, std::uint32_t pattern)
{
    std::memcpy(at, &pattern, 4);
}

// Most spans are a few bytes long, where a call to the library's fill costs more than
// the bytes themselves: those are written here with a few stores, the last one
// overlapping the others so that exactly `count` bytes are set, the shortest spans
// tested first. Long spans go to the library, whose wide stores win there.
// pattern: the colour in all eight bytes.
inline void fill_bytes(std::uint8_t* start, std::uint64_t pattern, std::size_t count)
{
    const auto colour = static_cast<std::uint8_t>(pattern);
    if (count < 4) {
        // One to three bytes: first, middle and last cover them all.
        start[0] = colour;
        start[count / 2] = colour;
        start[count - 1] = colour;
    } else if (count < 8) {
        store4(start, static_cast<std::uint32_t>(pattern));
        store4(start + count - 4, static_cast<std::uint32_t>(pattern));
    } else if (count < 64) {
        for (std::size_t at = 0; at + 8 < count; at += 8)
            store8(start + at, pattern);
        store8(start + count - 8, pattern);
    } else {
        std::memset(start, colour, count);
    }
}

// Inlined into every row loop: a call per row costs as much as a short span itself.
// left and right carry the rounding amount. A triangle wholly inside the frame's
// columns has every span inside them too (every edge's x lies between its ends), and
// skips the clipping.
template <typename Value, bool Clip>
[[gnu::always_inline]] inline void fill_span(std::uint8_t* row_start, Value left, Value right,
                                             std::uint64_t pattern)
{
    Value xl = left >> 16;
    Value xr = right >> 16;
    if constexpr (Clip) {
        if (xr < 0 || xl > last_column)
            return;
        xl = xl < 0 ? 0 : xl;
        xr = xr > last_column ? last_column : xr;
    }
    fill_bytes(row_start + xl, pattern, static_cast<std::size_t>(xr - xl + 1));
}

template <typename Value>
Value smaller(Value a, Value b)
{
    return b < a ? b : a;
}

template <typename Value>
Value larger(Value a, Value b)
{
    return a < b ? b : a;
}

// Rows top..bottom of the frame (top <= bottom), of a triangle whose vertices are
// sorted by row, v[0].row < v[2].row. The long edge crosses every row; the upper edge
// joins it down to the middle vertex's row and the lower edge from there, each only
// if its ends lie on different rows. All three walk together in one loop and each row
// takes the smallest and largest x of the edges on it, chosen by comparisons rather
// than branches: on small triangles, where the middle row falls and which edge is
// left is a coin toss for the branch predictor, and so is the end of each extra loop.
template <typename Value, bool Clip, bool Prescaled>
[[gnu::always_inline]] inline void fill_rows(std::uint8_t* buffer, const Vertex* v, Value top, Value bottom,
                                             std::uint8_t colour)
{
    const std::uint64_t pattern = 0x0101010101010101u * colour;
    const Value middle = v[1].row;
    // A missing edge is walked as the long one, which then changes nothing.
    const Vertex upper_end = pick(v[0].row < middle, v[1], v[2]);
    const Vertex lower_start = pick(middle < v[2].row, v[1], v[0]);
    EdgeWalk<Value> long_edge = edge_from<Value, Prescaled>(v[0], v[2], top);
    EdgeWalk<Value> upper = edge_from<Value, Prescaled>(v[0], upper_end, top);
    EdgeWalk<Value> lower = edge_from<Value, Prescaled>(lower_start, v[2], top);
    std::uint8_t* row_start = buffer + top * frame_width;
    for (Value row = top; row <= bottom; ++row, row_start += frame_width) {
        const Value on_long = long_edge.at();
        const Value on_upper = row <= middle ? upper.at() : on_long;
        const Value on_lower = row >= middle ? lower.at() : on_long;
        fill_span<Value, Clip>(row_start, smaller(on_long, smaller(on_upper, on_lower)),
                               larger(on_long, larger(on_upper, on_lower)), pattern);
        long_edge.advance();
        upper.advance();
        lower.advance();
    }
}

template <typename Value, bool Prescaled = false>
[[gnu::always_inline]] inline void fill_sorted(std::uint8_t* buffer, const Vertex* v, std::uint8_t colour)
{
    const Value top = std::max<Value>(v[0].row, 0);
    const Value bottom = std::min<Value>(v[2].row, last_row);
    // All three on one row: every edge is skipped and nothing is drawn.
    if (top > bottom || v[0].row == v[2].row)
        return;
    // Every edge's x stays between its two ends, so a triangle wholly left or right of
    // the frame has no span to fill: leave it before stepping its edges.
    const Value left_column = x_16_16<Value, Prescaled>(smaller(v[0].x, smaller(v[1].x, v[2].x))) >> 16;
    const Value right_column = x_16_16<Value, Prescaled>(larger(v[0].x, larger(v[1].x, v[2].x))) >> 16;
    if (right_column < 0 || left_column > last_column)
        return;
    if (left_column >= 0 && right_column <= last_column)
        fill_rows<Value, false, Prescaled>(buffer, v, top, bottom, colour);
    else
        fill_rows<Value, true, Prescaled>(buffer, v, top, bottom, colour);
}

inline bool narrow(std::int32_t value)
{
    return value > -narrow_limit && value < narrow_limit;
}

// Sorts the three vertices by row without branches (which vertex is lowest is a coin
// toss for the branch predictor), by three compare-and-swap steps on values held in
// registers. Vertices on one row may come in either order; the fill is the same.
inline void order_pair(Vertex& first, Vertex& second)
{
    const bool swap = second.row < first.row;
    const Vertex low = pick(swap, second, first);
    second = pick(swap, first, second);
    first = low;
}

// The corners in their own variables, sorted by row, and whether all of them are in
// the 32-bit range.
[[gnu::always_inline]] inline bool sorted_corners(const std::int32_t* triangle, Vertex* v)
{
    const bool narrow_triangle = std::all_of(triangle, triangle + 6, narrow);
    for (int k = 0; k < 3; ++k)
        v[k] = {triangle[2 * k], row_of(triangle[2 * k + 1])};
    order_pair(v[0], v[1]);
    order_pair(v[1], v[2]);
    order_pair(v[0], v[1]);
    return narrow_triangle;
}

}   // namespace triangle_fill_detail

// fill_triangle for corners already given as rows and x in 16.16 with the rounding
// amount (rounded_16_16), all from the 32-bit range (narrow): a caller that places each
// corner once works its row and x out once too, and need not check the triangle again.
[[gnu::always_inline]] inline void fill_vertices_inline(std::uint8_t* buffer, triangle_fill_detail::Vertex a,
                                                        triangle_fill_detail::Vertex b,
                                                        triangle_fill_detail::Vertex c, std::uint8_t colour)
{
    using namespace triangle_fill_detail;
    order_pair(a, b);
    order_pair(b, c);
    order_pair(a, b);
    const Vertex v[3] = {a, b, c};
    fill_sorted<std::int32_t, true>(buffer, v, colour);
}

// fill_triangle, inlined into the caller for triangles in the 32-bit range; the rare
// larger ones go to fill_triangle itself.
[[gnu::always_inline]] inline void fill_triangle_inline(std::uint8_t* buffer, const std::int32_t* triangle,
                                                        std::uint8_t colour)
{
    using namespace triangle_fill_detail;
    Vertex v[3];
    if (sorted_corners(triangle, v))
        fill_sorted<std::int32_t>(buffer, v, colour);
    else
        fill_triangle(buffer, triangle, colour);
}
