// The tunnel transform divides by the copy's distance through a table of reciprocals
// where the numbers allow it. These tests hold it to the plain arithmetic, a 64-bit
// division, at every depth and for points inside and far outside the picture range.
#include "effects/effects.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace {

struct Landing {
    std::int32_t x, y;
};

Landing model(std::int32_t x, std::int32_t y)
{
    const std::int64_t turned_x =
        ((std::int64_t{tunnel_matrix[0]} * x) >> 14) + ((std::int64_t{tunnel_matrix[1]} * y) >> 14);
    const std::int64_t turned_y =
        ((std::int64_t{tunnel_matrix[2]} * x) >> 14) + ((std::int64_t{tunnel_matrix[3]} * y) >> 14);
    const std::int64_t distance = tunnel_copy == 5 ? 1080 : std::int64_t{tunnel_depth} + 90;
    const std::int64_t near_x = turned_x * 400 / distance;
    const std::int64_t near_y = turned_y * 400 / distance;
    return {static_cast<std::int32_t>(((near_x * 100) >> 14) + 640),
            static_cast<std::int32_t>(400 - ((near_y * 100) >> 14))};
}

Landing actual(std::int32_t x, std::int32_t y)
{
    Landing out{};
    tunnel_transform(x, y, &out.x, &out.y);
    return out;
}

std::uint32_t next_random(std::uint32_t& state)
{
    state = state * 1664525u + 1013904223u;
    return state;
}

void set_turn(std::int32_t cosine, std::int32_t sine)
{
    tunnel_matrix[0] = cosine;
    tunnel_matrix[1] = -sine;
    tunnel_matrix[2] = sine;
    tunnel_matrix[3] = cosine;
}

void expect_model_at(std::int32_t x, std::int32_t y)
{
    const Landing expected = model(x, y);
    const Landing got = actual(x, y);
    ASSERT_EQ(got.x, expected.x) << "point " << x << "," << y << " depth " << tunnel_depth << " copy "
                                 << tunnel_copy;
    ASSERT_EQ(got.y, expected.y) << "point " << x << "," << y << " depth " << tunnel_depth << " copy "
                                 << tunnel_copy;
}

// Every depth of the cycle and the fixed sixth copy, random points of the picture
// range plus the points whose quotients sit exactly on or next to a whole number
// (multiples of the distance), turned by a few angles.
TEST(TunnelTransformModel, EveryDepthMatchesTheDivision)
{
    std::uint32_t state = 99;
    const std::int32_t turns[][2] = {{16384, 0}, {11585, 11585}, {-16383, 181}, {0, -16384}};
    for (const auto& turn : turns) {
        set_turn(turn[0], turn[1]);
        for (std::int32_t copy = 0; copy <= 5; copy += 5) {
            tunnel_copy = copy;
            for (std::int32_t depth = 0; depth < 1000; ++depth) {
                tunnel_depth = depth;
                for (int k = 0; k < 12; ++k) {
                    const auto x = static_cast<std::int32_t>(next_random(state) % 131073) - 65536;
                    const auto y = static_cast<std::int32_t>(next_random(state) % 131073) - 65536;
                    expect_model_at(x, y);
                }
                // x * 400 lands on a multiple of the distance, and one either side.
                const std::int32_t distance = copy == 5 ? 1080 : depth + 90;
                for (std::int32_t offset = -1; offset <= 1; ++offset) {
                    expect_model_at(distance * 100 + offset, 0);
                    expect_model_at(-distance * 100 + offset, 65536);
                    expect_model_at(65536, 65536 - offset);
                }
            }
        }
    }
}

// A quotient taken by multiplying with a rounded-up reciprocal errs first on the
// largest numerators that fall just short of a multiple of the divisor. Sweeping two
// divisors' worth of points below a bound meets every remainder there: x * 400 just
// under 2^27 (the largest numerators the table takes) and just under 2^31.
TEST(TunnelTransformModel, NumeratorsNearTheTableLimitMatchTheDivision)
{
    set_turn(16384, 0);
    const std::int32_t tops[] = {(1 << 27) / 400, (1 << 30) / 200};
    for (std::int32_t copy = 0; copy <= 5; copy += 5) {
        tunnel_copy = copy;
        for (std::int32_t depth = 0; depth < 1000; depth += copy == 5 ? 1000 : 1) {
            tunnel_depth = depth;
            const std::int32_t distance = copy == 5 ? 1080 : depth + 90;
            for (std::int32_t top : tops)
                for (std::int32_t x = top - 2 * distance; x <= top + 2; ++x)
                    expect_model_at(x, -x);
        }
    }
}

// Outside the picture range, at depths outside the cycle and with a matrix larger than
// a rotation, the transform must still give the plain result (wrapped into 32 bits as
// the model wraps it), without leaving the defined arithmetic.
TEST(TunnelTransformModel, PointsAndStateOutsideTheUsualRangeMatchTheDivision)
{
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t min = std::numeric_limits<std::int32_t>::min();
    const std::int32_t coordinates[] = {0, 1, -1, 131071, -131072, 262144, 1000000, max, min};
    const std::int32_t depths[] = {0, 999, 1000, 5000, -89, -50, 2000000};
    const std::int32_t scales[] = {16384, -16384, 40000, 1 << 20};
    tunnel_copy = 0;
    for (std::int32_t scale : scales) {
        set_turn(scale, scale / 3);
        for (std::int32_t depth : depths) {
            tunnel_depth = depth;
            for (std::int32_t x : coordinates)
                for (std::int32_t y : coordinates)
                    expect_model_at(x, y);
        }
    }
}

}   // namespace
