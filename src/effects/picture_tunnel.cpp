// The picture tunnel: six turned copies of the two tunnel pictures, each scaled for its
// own depth, drawn through draw_picture with a point transform of our own.
#include "effects/effects.h"

#include "pictures/pictures.h"

#include <array>
#include <cmath>
#include <cstdint>

float tunnel_angle;
std::int32_t tunnel_matrix[4];
std::int32_t tunnel_copy;
std::int32_t tunnel_depth;

namespace {

constexpr std::int32_t copy_count = 6;
constexpr std::int32_t fixed_depth_copy = 5;   // always drawn small, on top
constexpr std::int32_t tunnel_length = 1000;
constexpr std::int32_t copy_spacing = 200;

std::int32_t to_fraction14(double value)
{
    return static_cast<std::int32_t>(value * 16384.0);
}

void set_tunnel_rotation(std::int32_t time)
{
    // The angle passes through single precision; the cosine and sine then widen it.
    tunnel_angle = static_cast<float>(static_cast<double>(time) * 0.001);
    const double c = std::cos(static_cast<double>(tunnel_angle));
    const double s = std::sin(static_cast<double>(tunnel_angle));
    tunnel_matrix[0] = to_fraction14(c);
    tunnel_matrix[1] = to_fraction14(-s);
    tunnel_matrix[2] = to_fraction14(s);
    tunnel_matrix[3] = to_fraction14(c);
}

// Depth of a copy along the cycle. Times from -100000 on give a non-negative distance
// and a plain remainder; earlier times still wrap into 0..999, so that the perspective
// divisor never reaches zero.
std::int32_t depth_along_tunnel(std::int64_t distance)
{
    const std::int64_t depth = distance % tunnel_length;
    return static_cast<std::int32_t>(depth < 0 ? depth + tunnel_length : depth);
}

// Products of a 14-bit fraction and a 16.16 coordinate stay in 32 bits for the
// picture range; they are formed in 64 bits so that no point can overflow them.
std::int64_t scaled14(std::int64_t factor, std::int32_t value)
{
    return (factor * value) >> 14;
}

// The perspective divides every point by the copy's distance, 90 to 1089. A division
// is slow next to the rest of the transform, so for numerators below 2^27 in size it
// becomes a multiplication by ceil(2^38 / distance) and a shift: with e the rounding
// excess of that multiplier (e < distance < 2^11), the error n * e / 2^38 stays below
// 1 / distance and the truncated quotient comes out exact.
constexpr std::int64_t nearest_distance = 90;
constexpr std::int64_t farthest_distance = 1089;
constexpr int reciprocal_shift = 38;
constexpr std::int64_t reciprocal_numerator_limit = std::int64_t{1} << 27;

constexpr auto distance_reciprocals = [] {
    std::array<std::uint32_t, farthest_distance - nearest_distance + 1> table{};
    for (std::int64_t d = nearest_distance; d <= farthest_distance; ++d) {
        const std::uint64_t power = std::uint64_t{1} << reciprocal_shift;
        const std::uint64_t distance = static_cast<std::uint64_t>(d);
        table[static_cast<std::size_t>(d - nearest_distance)] =
            static_cast<std::uint32_t>((power + distance - 1) / distance);
    }
    return table;
}();

bool within_table(std::int64_t numerator)
{
    return numerator > -reciprocal_numerator_limit && numerator < reciprocal_numerator_limit;
}

// numerator / distance truncated towards zero, for a numerator within the table's
// range and the distance's reciprocal.
std::int64_t divide_by_reciprocal(std::int64_t numerator, std::uint64_t reciprocal)
{
    const std::uint64_t magnitude = static_cast<std::uint64_t>(numerator < 0 ? -numerator : numerator);
    const auto quotient = static_cast<std::int64_t>((magnitude * reciprocal) >> reciprocal_shift);
    return numerator < 0 ? -quotient : quotient;
}

}  // namespace

void tunnel_transform(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y)
{
    const std::int64_t turned_x = scaled14(tunnel_matrix[0], x) + scaled14(tunnel_matrix[1], y);
    const std::int64_t turned_y = scaled14(tunnel_matrix[2], x) + scaled14(tunnel_matrix[3], y);

    const std::int64_t distance =
        tunnel_copy == fixed_depth_copy ? 1080 : std::int64_t{tunnel_depth} + 90;
    std::int64_t near_x = turned_x * 400;
    std::int64_t near_y = turned_y * 400;
    if (distance >= nearest_distance && distance <= farthest_distance && within_table(near_x) &&
        within_table(near_y)) {
        const std::uint64_t reciprocal =
            distance_reciprocals[static_cast<std::size_t>(distance - nearest_distance)];
        near_x = divide_by_reciprocal(near_x, reciprocal);
        near_y = divide_by_reciprocal(near_y, reciprocal);
    } else {
        near_x /= distance;
        near_y /= distance;
    }

    *out_x = static_cast<std::int32_t>(((near_x * 100) >> 14) + 640);
    *out_y = static_cast<std::int32_t>(400 - ((near_y * 100) >> 14));
}

void draw_picture_tunnel(std::uint8_t* buffer, std::int32_t time)
{
    set_tunnel_rotation(time);
    std::int64_t distance = std::int64_t{time} + 100000;
    tunnel_copy = 0;
    for (std::int32_t i = 0; i < copy_count; ++i) {
        tunnel_depth = depth_along_tunnel(distance);
        const Picture* picture = i % 2 == 0 ? tunnel_picture2 : tunnel_picture;
        // Start-up refuses to run without both pictures; called before they are
        // loaded, the tunnel leaves those copies out instead of following a null.
        if (picture)
            draw_picture(picture, buffer, tunnel_transform);
        distance += copy_spacing;
        ++tunnel_copy;
    }
}
