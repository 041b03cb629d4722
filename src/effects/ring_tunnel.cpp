// The ring tunnel: seven annuli, each with a moving centre and a hole pushed sideways,
// drawn row by row from the square-root table.
#include "effects/effects.h"

#include <cmath>

namespace {

constexpr std::int32_t ring_radii[7] = {290, 250, 210, 170, 130, 90, 50};

// Hole radii squared must stay below the table's 300 * 300 entries.
constexpr std::int32_t narrowest_ring = -9;
constexpr std::int32_t widest_ring = 349;

// Rates of the motion, per millisecond or per pixel of radius: the doubles nearest to
// 1/1900, 1/300 and 1/666.
constexpr double one_1900th = 0.0005263157894736842;
constexpr double one_300th = 0.0033333333333333335;
constexpr double one_666th = 0.0015015015015015015;

std::int32_t truncate_to_int(double value)
{
    return static_cast<std::int32_t>(value);
}

// Mode 1: every centre circles the screen centre, the hole swings left and right.
RingPlacement place_winding_ring(double radius, double time)
{
    // The phase wobble passes through single precision on purpose; the motion is
    // defined with that rounding.
    const double wobble = static_cast<float>(std::sin(radius * 0.002 + time * one_1900th));
    const double angle = time * 0.001 + wobble;
    RingPlacement ring;
    ring.cx = truncate_to_int(160.0 - std::sin(angle) * 100.0);
    ring.cy = truncate_to_int(std::cos(angle) * 100.0 + 100.0);
    ring.s = truncate_to_int(std::sin(radius * one_300th + time * one_666th) * 32.0);
    return ring;
}

// Mode 2: each ring circles its own point on row 100, the hole always to the right.
RingPlacement place_chain_ring(std::int32_t radius, double time)
{
    // Widened so that no radius a caller passes can overflow; the ring radii give
    // 116, 131, ... 206.
    const auto base = static_cast<std::int32_t>(std::int64_t{radius} * -15 / 40 + 224);
    const double angle = time * one_300th - static_cast<double>(radius) * 0.005;
    RingPlacement ring;
    ring.cx = truncate_to_int(std::sin(angle) * 75.0 + base);
    ring.cy = truncate_to_int(std::cos(angle) * 75.0 + 100.0);
    ring.s = -15;
    return ring;
}

void draw_ring(std::uint8_t* buffer, std::int32_t radius, const RingPlacement& ring, std::int32_t ring_width,
               std::uint8_t colour)
{
    const std::int32_t outer = radius * radius;
    const std::int32_t hole_radius = radius - ring_width;
    const std::int32_t inner = hole_radius * hole_radius;
    for (std::int32_t dy = -radius; dy <= radius; ++dy) {
        const std::int32_t y = ring.cy + dy;
        if (y > 199)
            return;
        if (y < 0)
            continue;
        const std::int32_t half = sqrt_table[outer - dy * dy];
        const std::int32_t h = inner - dy * dy;
        if (h <= 0) {
            fill_span(ring.cx - half, ring.cx + half, y, buffer, colour);
            continue;
        }
        // Where the shifted hole pokes out of the outer circle, that side's run has its
        // ends reversed and fill_span leaves it out: that makes the crescents.
        const std::int32_t hole = sqrt_table[h];
        fill_span(ring.cx - half, ring.cx - hole - ring.s, y, buffer, colour);
        fill_span(ring.cx + hole - ring.s, ring.cx + half, y, buffer, colour);
    }
}

}   // namespace

RingPlacement place_ring(std::int32_t radius, std::int32_t time, std::int32_t mode)
{
    if (mode == 1)
        return place_winding_ring(static_cast<double>(radius), static_cast<double>(time));
    if (mode == 2)
        return place_chain_ring(radius, static_cast<double>(time));
    return RingPlacement{0, 0, 0};
}

void draw_rings(std::uint8_t* buffer, std::int32_t time, std::int32_t ring_width, std::int32_t mode,
                std::uint8_t colour)
{
    if (mode != 1 && mode != 2)
        return;
    if (ring_width < narrowest_ring || ring_width > widest_ring)
        return;
    for (std::int32_t radius : ring_radii)
        draw_ring(buffer, radius, place_ring(radius, time, mode), ring_width, colour);
}
