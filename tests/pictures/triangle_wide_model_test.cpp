// The triangle fill walks the rows once from its sorted vertices, in 32 bits below a
// coordinate bound and in 64 bits above it. These tests hold it to the plain model of
// tests/common over the whole signed 32-bit range.
#include "common/triangle_model.h"
#include "picture_test_support.h"
#include "pictures/pictures.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>

namespace {

using Frame = std::array<std::uint8_t, 320 * 200>;

struct Random {
    std::uint64_t state;
    std::uint32_t next()
    {
        state = state * 6364136223846793005u + 1442695040888963407u;
        return static_cast<std::uint32_t>(state >> 32);
    }
    // Uniform enough over low .. high, both included, for any 32-bit bounds.
    std::int32_t between(std::int64_t low, std::int64_t high)
    {
        const auto span = static_cast<std::uint64_t>(high - low) + 1;
        const std::uint64_t wide = (std::uint64_t{next()} << 32) | next();
        return static_cast<std::int32_t>(low + static_cast<std::int64_t>(wide % span));
    }
};

std::int32_t clamp32(std::int64_t value)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

// Three corners within `reach` of a random point around the frame, clamped to 32 bits.
void random_triangle(Random& random, std::int64_t reach, std::int32_t* triangle)
{
    const std::int64_t cx = random.between(-100, 1380);
    const std::int64_t cy = random.between(-100, 900);
    for (int k = 0; k < 3; ++k) {
        triangle[2 * k] = clamp32(cx + random.between(-reach, reach));
        triangle[2 * k + 1] = clamp32(cy + random.between(-reach, reach));
    }
}

void expect_same_as_model(const std::int32_t* triangle)
{
    Frame expected{};
    model_triangle(expected.data(), triangle, 7);
    GuardedFrame actual;
    fill_triangle(actual.pixels(), triangle, 7);
    ASSERT_TRUE(actual.guards_intact());
    ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.pixels()))
        << "triangle " << triangle[0] << "," << triangle[1] << " " << triangle[2] << "," << triangle[3] << " "
        << triangle[4] << "," << triangle[5];
}

// Vertices scattered around the frame at reaches from a few quarter pixels to the
// whole 32-bit range, so that triangles fall on both sides of the 32-bit bound and
// across it, thin slivers and huge triangles alike.
TEST(TriangleWideModel, RandomTrianglesAtEveryReachMatchTheModel)
{
    Random random{2024};
    const std::int64_t reaches[] = {3, 40, 1500, 65534, 65537, 131071, 300000, std::int64_t{1} << 31};
    for (int round = 0; round < 8000; ++round) {
        std::int32_t triangle[6];
        random_triangle(random, reaches[round % 8], triangle);
        expect_same_as_model(triangle);
    }
}

// Shapes where the order of the rows decides which edges meet a row: two vertices
// sharing the top or the bottom row, the middle vertex on the first or last visible
// row, vertices exactly at the 32-bit bound and at the limits of the type.
TEST(TriangleWideModel, SharedRowsBoundsAndLimitsMatchTheModel)
{
    constexpr std::int32_t max = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t min = std::numeric_limits<std::int32_t>::min();
    const std::int32_t cases[][6] = {
        {100, 40, 900, 40, 500, 600},         // flat top
        {100, 600, 900, 600, 500, 40},        // flat bottom
        {600, -2, 40, 300, 1200, 900},        // top vertex on row 0
        {-400, -800, 1500, -2, 700, 1200},    // middle vertex on row 0
        {-400, -800, 1500, 797, 700, 1200},   // middle vertex on row 199
        {-400, -800, 1500, 798, 700, 1200},   // middle vertex just below the frame
        {500, -900, 200, -300, 900, -100},    // wholly above the frame
        {65535, 0, -65535, 400, 640, 799},    // just inside the 32-bit bound
        {65536, 0, -65536, 400, 640, 799},    // just outside it
        {640, -65536, 0, 65535, 1279, 400},
        {-131071, 0, 131071, 799, 640, 400},   // 16.16 values near the 32-bit limit
        {131071, -131071, -131071, 131071, 640, 300},
        {max, min, min, max, 640, 400},   // the limits of the type
        {min, min, max, min, 640, max},
        {max, max, max, max, max, max},
        {640, min, 641, max, 639, 400},    // a sliver down the whole range
        {700, 300, 700, 300, 700, 300},    // one point
        {100, 300, 1100, 300, 600, 300},   // one row
    };
    for (const auto& triangle : cases)
        expect_same_as_model(triangle);
}

void pass_through(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y)
{
    *out_x = x;
    *out_y = y;
}

// draw_picture fills through its own inlined copy of the fill, which hands triangles
// beyond the 32-bit bound to fill_triangle: pictures of two shapes in two colours, their
// triangles at every reach so that both kinds mix within a shape, drawn untransformed,
// must give the model's frame with the triangles drawn in the same order.
TEST(TriangleWideModel, PictureFillsMatchTheModelInDrawingOrder)
{
    Random random{77};
    const std::int64_t reaches[] = {3, 40, 1500, 65534, 65537, 300000, std::int64_t{1} << 31};
    for (int round = 0; round < 600; ++round) {
        Shape shapes[2]{};
        Frame expected{};
        for (int s = 0; s < 2; ++s) {
            const auto colour = static_cast<std::uint8_t>(7 + 2 * s);
            for (int t = 0; t < 5; ++t) {
                std::int32_t triangle[6];
                random_triangle(random, reaches[(round + s + t) % 7], triangle);
                shapes[s].triangles.insert(shapes[s].triangles.end(), triangle, triangle + 6);
                model_triangle(expected.data(), triangle, colour);
            }
            shapes[s].flags = 2;
            shapes[s].fill_colour = colour;
            shapes[s].triangle_count = 5;
        }
        shapes[0].next = &shapes[1];
        Picture picture{};
        picture.shapes = &shapes[0];
        GuardedFrame actual;
        draw_picture(&picture, actual.pixels(), pass_through);
        ASSERT_TRUE(actual.guards_intact());
        ASSERT_TRUE(std::equal(expected.begin(), expected.end(), actual.pixels())) << "round " << round;
    }
}

}   // namespace
