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
#include "pictures/pictures.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

namespace {

constexpr std::int32_t last_row = 199;
constexpr std::int32_t last_column = 319;
constexpr std::int32_t frame_width = 320;
// Below this magnitude every 16.16 x, step and rounding sum of a triangle fits in 32
// bits, and the pixel-of-row sums cannot overflow either; larger coordinates take the
// same steps in 64 bits.
constexpr std::int32_t narrow_limit = 1 << 16;

struct Vertex {
    std::int32_t x;
    std::int32_t row;
};

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
std::int32_t row_of(std::int32_t y)
{
    return static_cast<std::int32_t>((std::int64_t{y} + 2) >> 2);
}

// A quarter-pixel x as a 16.16 pixel value plus the 0x7FFF that rounds it to the
// nearest pixel (halves downwards) by a plain shift. Adding the same amount to every
// x leaves their order, so edges carry it from the start and spans only shift.
constexpr std::int32_t rounding = 0x7FFF;

template <typename Value>
Value rounded_16_16(std::int32_t quarter_x)
{
    return Value{quarter_x} * 16384 + rounding;
}

// The edge from upper to lower (upper.row < lower.row), positioned on row `first`:
// its x is that of stepping from the upper end, exact on the edge's own rows, and
// carries the rounding amount.
template <typename Value>
EdgeWalk<Value> edge_from(Vertex upper, Vertex lower, Value first)
{
    using Unsigned = std::make_unsigned_t<Value>;
    const Value step = (Value{lower.x} - upper.x) * 16384 / (Value{lower.row} - upper.row);
    const Unsigned start = static_cast<Unsigned>(rounded_16_16<Value>(upper.x));
    const Unsigned rows_in = static_cast<Unsigned>(first - upper.row);
    return {static_cast<Unsigned>(start + rows_in * static_cast<Unsigned>(step)),
            static_cast<Unsigned>(step)};
}

void store8(std::uint8_t* at, std::uint64_t pattern)
{
    std::memcpy(at, &pattern, 8);
}

void store4(std::uint8_t* at, std::uint32_t pattern)
{
    std::memcpy(at, &pattern, 4);
}

// Most spans are a few bytes long, where a call to the library's fill costs more than
// the bytes themselves: those are written here with a few word stores, the last one
// overlapping the others so that exactly `count` bytes are set. Long spans go to the
// library, whose wide stores win there.
// pattern: the colour in all eight bytes.
void fill_bytes(std::uint8_t* start, std::uint64_t pattern, std::size_t count)
{
    constexpr std::size_t library_from = 64;
    const auto colour = static_cast<std::uint8_t>(pattern);
    if (count >= library_from) {
        std::memset(start, colour, count);
        return;
    }
    if (count >= 8) {
        for (std::size_t at = 0; at + 8 < count; at += 8)
            store8(start + at, pattern);
        store8(start + count - 8, pattern);
    } else if (count >= 4) {
        store4(start, static_cast<std::uint32_t>(pattern));
        store4(start + count - 4, static_cast<std::uint32_t>(pattern));
    } else {
        // One to three bytes: first, middle and last cover them all.
        start[0] = colour;
        start[count / 2] = colour;
        start[count - 1] = colour;
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
// sorted by row, v[0].row < v[2].row.
template <typename Value, bool Clip>
void fill_rows(std::uint8_t* buffer, const Vertex* v, Value top, Value bottom, std::uint8_t colour)
{
    const std::uint64_t pattern = 0x0101010101010101u * colour;
    const Value middle = v[1].row;
    EdgeWalk<Value> long_edge = edge_from<Value>(v[0], v[2], top);
    std::uint8_t* row_start = buffer + top * frame_width;
    Value row = top;
    if (v[0].row < middle && row <= middle) {
        // Both edges leave the top vertex from the same x, so the one with the smaller
        // step stays left on every row down to the middle vertex. The upper edge also
        // reaches the middle row when the rows above it are off the frame.
        EdgeWalk<Value> upper = edge_from<Value>(v[0], v[1], top);
        const bool long_is_left = static_cast<Value>(long_edge.step) < static_cast<Value>(upper.step);
        // Copies, not references, so that both walks stay in registers in the loop.
        EdgeWalk<Value> left = long_is_left ? long_edge : upper;
        EdgeWalk<Value> right = long_is_left ? upper : long_edge;
        const Value stop = std::min<Value>(middle - 1, bottom);
        for (; row <= stop; ++row, row_start += frame_width) {
            fill_span<Value, Clip>(row_start, left.at(), right.at(), pattern);
            left.advance();
            right.advance();
        }
        long_edge = long_is_left ? left : right;
        upper = long_is_left ? right : left;
        if (row > bottom)
            return;
        // The middle vertex's row: the upper edge ends there, the lower one starts.
        const Value upper_end = upper.at();
        const Value lower_start = middle < v[2].row ? rounded_16_16<Value>(v[1].x) : upper_end;
        const Value on_long = long_edge.at();
        fill_span<Value, Clip>(row_start, smaller(on_long, smaller(upper_end, lower_start)),
                               larger(on_long, larger(upper_end, lower_start)), pattern);
        long_edge.advance();
        ++row;
        row_start += frame_width;
    }
    if (row > bottom)
        return;
    // Below the middle vertex the two edges come from different starts and may cross
    // near the bottom, so each row takes its own minimum and maximum.
    EdgeWalk<Value> lower = edge_from<Value>(v[1], v[2], row);
    for (; row <= bottom; ++row, row_start += frame_width) {
        const Value a = long_edge.at();
        const Value b = lower.at();
        fill_span<Value, Clip>(row_start, smaller(a, b), larger(a, b), pattern);
        long_edge.advance();
        lower.advance();
    }
}

template <typename Value>
void fill_sorted(std::uint8_t* buffer, const Vertex* v, std::uint8_t colour)
{
    const Value top = std::max<Value>(v[0].row, 0);
    const Value bottom = std::min<Value>(v[2].row, last_row);
    // All three on one row: every edge is skipped and nothing is drawn.
    if (top > bottom || v[0].row == v[2].row)
        return;
    // Every edge's x stays between its two ends, so a triangle wholly left or right of
    // the frame has no span to fill: leave it before stepping its edges.
    const Value left_column =
        rounded_16_16<Value>(smaller(v[0].x, smaller(v[1].x, v[2].x))) >> 16;
    const Value right_column =
        rounded_16_16<Value>(larger(v[0].x, larger(v[1].x, v[2].x))) >> 16;
    if (right_column < 0 || left_column > last_column)
        return;
    if (left_column >= 0 && right_column <= last_column)
        fill_rows<Value, false>(buffer, v, top, bottom, colour);
    else
        fill_rows<Value, true>(buffer, v, top, bottom, colour);
}

bool narrow(std::int32_t value)
{
    return value > -narrow_limit && value < narrow_limit;
}

// Sorts the three vertices by row without branches (which vertex is lowest is a coin
// toss for the branch predictor): each vertex's place is the number of vertices before
// it, ties going to the lower index. Vertices on one row may come in either order; the
// fill is the same.
void sort_by_row(const Vertex* unsorted, Vertex* sorted)
{
    const std::int32_t r0 = unsorted[0].row;
    const std::int32_t r1 = unsorted[1].row;
    const std::int32_t r2 = unsorted[2].row;
    sorted[int{r1 < r0} + int{r2 < r0}] = unsorted[0];
    sorted[int{r0 <= r1} + int{r2 < r1}] = unsorted[1];
    sorted[int{r0 <= r2} + int{r1 <= r2}] = unsorted[2];
}

}  // namespace

void fill_triangle(std::uint8_t* buffer, const std::int32_t* triangle, std::uint8_t colour)
{
    const bool narrow_triangle = std::all_of(triangle, triangle + 6, narrow);
    Vertex unsorted[3];
    for (int k = 0; k < 3; ++k)
        unsorted[k] = {triangle[2 * k], row_of(triangle[2 * k + 1])};
    Vertex v[3];
    sort_by_row(unsorted, v);
    if (narrow_triangle)
        fill_sorted<std::int32_t>(buffer, v, colour);
    else
        fill_sorted<std::int64_t>(buffer, v, colour);
}
