// The integer circle geometry behind the ring tunnel: a table of square roots, so that
// the half-width of a circle on any row is one table read, and a clipped row fill.
#include "effects/effects.h"

#include <cmath>
#include <cstring>

std::int16_t sqrt_table[90000];

void build_sqrt_table()
{
    for (std::int32_t n = 0; n < 90000; ++n)
        sqrt_table[n] = static_cast<std::int16_t>(std::sqrt(static_cast<double>(n)));
}

void fill_span(std::int32_t x_left, std::int32_t x_right, std::int32_t row, std::uint8_t* buffer,
               std::uint8_t colour)
{
    // A row outside the frame would write outside the buffer; the ring tunnel never
    // passes one, but this is callable from anywhere.
    if (row < 0 || row > 199)
        return;
    if (x_left < 0)
        x_left = 0;
    if (x_right > 319)
        x_right = 319;
    if (x_left > x_right)
        return;
    std::memset(buffer + row * 320 + x_left, colour, static_cast<std::size_t>(x_right - x_left + 1));
}
