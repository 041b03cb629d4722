#include "common/guarded_frame.h"
#include "effects/effects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr std::int32_t radii[7] = {290, 250, 210, 170, 130, 90, 50};

std::int32_t root(std::int32_t n)
{
    return static_cast<std::int32_t>(std::sqrt(static_cast<double>(n)));
}

// Whether pixel (x, y) lies on a ring: inside the outer circle and outside the open
// interval that the shifted hole covers on that row.
bool on_ring(std::int32_t x, std::int32_t y, std::int32_t radius, RingPlacement ring, std::int32_t ring_width)
{
    const std::int32_t dy = y - ring.cy;
    if (dy < -radius || dy > radius)
        return false;
    const std::int32_t half = root(radius * radius - dy * dy);
    if (x < ring.cx - half || x > ring.cx + half)
        return false;
    const std::int32_t h = (radius - ring_width) * (radius - ring_width) - dy * dy;
    if (h <= 0)
        return true;
    const std::int32_t hole = root(h);
    return !(x > ring.cx - hole - ring.s && x < ring.cx + hole - ring.s);
}

class RingTunnel : public ::testing::Test {
protected:
    static void SetUpTestSuite() { build_sqrt_table(); }
};

TEST_F(RingTunnel, SquareRootTableTruncatesEveryEntry)
{
    for (std::int32_t n = 0; n < 90000; ++n) {
        const std::int32_t r = sqrt_table[n];
        ASSERT_LE(r * r, n) << n;
        ASSERT_GT((r + 1) * (r + 1), n) << n;
    }
    EXPECT_EQ(sqrt_table[89999], 299);
    EXPECT_EQ(sqrt_table[89400], 298);
}

TEST_F(RingTunnel, FillSpanClipsToTheRow)
{
    GuardedFrame frame;
    frame.fill_noise(1);
    const std::vector<std::uint8_t> before(frame.pixels(), frame.pixels() + 64000);

    fill_span(-5, 400, 7, frame.pixels(), 3);
    fill_span(320, 400, 9, frame.pixels(), 4);   // wholly right of the buffer
    fill_span(-30, -1, 9, frame.pixels(), 4);    // wholly left
    fill_span(60, 50, 9, frame.pixels(), 4);     // reversed ends
    fill_span(10, 20, -1, frame.pixels(), 4);    // rows outside the frame
    fill_span(10, 20, 200, frame.pixels(), 4);
    fill_span(319, 319, 199, frame.pixels(), 5);
    fill_span(0, 0, 0, frame.pixels(), 6);

    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            std::uint8_t expected = before[y * 320 + x];
            if (y == 7)
                expected = 3;
            if (x == 319 && y == 199)
                expected = 5;
            if (x == 0 && y == 0)
                expected = 6;
            ASSERT_EQ(frame.at(x, y), expected) << x << "," << y;
        }
    EXPECT_TRUE(frame.guards_intact());
}

TEST_F(RingTunnel, PlacementsAtTimeZero)
{
    const RingPlacement winding[7] = {{107, 185, 26}, {113, 188, 23}, {120, 191, 20}, {127, 194, 17},
                                      {134, 196, 13}, {142, 198, 9},  {150, 199, 5}};
    const RingPlacement chain[7] = {{41, 109, -15},  {59, 123, -15},  {80, 137, -15}, {104, 149, -15},
                                    {130, 159, -15}, {158, 167, -15}, {187, 172, -15}};
    for (int i = 0; i < 7; ++i) {
        const RingPlacement one = place_ring(radii[i], 0, 1);
        EXPECT_EQ(one.cx, winding[i].cx) << radii[i];
        EXPECT_EQ(one.cy, winding[i].cy) << radii[i];
        EXPECT_EQ(one.s, winding[i].s) << radii[i];
        const RingPlacement two = place_ring(radii[i], 0, 2);
        EXPECT_EQ(two.cx, chain[i].cx) << radii[i];
        EXPECT_EQ(two.cy, chain[i].cy) << radii[i];
        EXPECT_EQ(two.s, chain[i].s) << radii[i];
    }
}

// Times where the single-precision wobble of mode 1 moves a centre by one pixel against
// a full double-precision phase, worked out by hand beforehand.
TEST_F(RingTunnel, PlacementsAtLaterTimes)
{
    struct Case {
        std::int32_t radius, time, mode;
        RingPlacement expected;
    };
    const Case cases[] = {
        {290, 16034, 1, {226, 24, -2}},    // double precision would give cx 225
        {50, 70145, 1, {121, 192, -31}},   // double precision would give cx 120
        {290, 12345, 1, {112, 188, 19}},
        {130, 12345, 2, {201, 29, -15}},
    };
    for (const Case& c : cases) {
        const RingPlacement ring = place_ring(c.radius, c.time, c.mode);
        EXPECT_EQ(ring.cx, c.expected.cx) << c.radius << " at " << c.time;
        EXPECT_EQ(ring.cy, c.expected.cy) << c.radius << " at " << c.time;
        EXPECT_EQ(ring.s, c.expected.s) << c.radius << " at " << c.time;
    }
}

// Every pixel of the frame against the union of the seven rings, for both modes, the
// widths the scenes use and the extremes allowed; clipping at all four edges is part
// of it (the largest ring always reaches past the frame).
TEST_F(RingTunnel, DrawsExactlyTheUnionOfTheRings)
{
    struct Case {
        std::int32_t time, ring_width, mode;
    };
    const Case cases[] = {{0, 18, 1}, {2000, 28, 1}, {16034, 18, 1}, {999000, 23, 2},
                          {0, 23, 2}, {7777, -9, 1}, {4321, 349, 2}, {123456, 0, 1}};
    for (const Case& c : cases) {
        GuardedFrame frame;
        frame.fill_noise(static_cast<unsigned>(c.time));
        const std::vector<std::uint8_t> before(frame.pixels(), frame.pixels() + 64000);
        draw_rings(frame.pixels(), c.time, c.ring_width, c.mode, 2);

        RingPlacement rings[7];
        for (int i = 0; i < 7; ++i)
            rings[i] = place_ring(radii[i], c.time, c.mode);
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x) {
                bool covered = false;
                for (int i = 0; i < 7; ++i)
                    covered = covered || on_ring(x, y, radii[i], rings[i], c.ring_width);
                ASSERT_EQ(frame.at(x, y), covered ? 2 : before[y * 320 + x])
                    << "pixel " << x << "," << y << " time " << c.time << " mode " << c.mode;
            }
        EXPECT_TRUE(frame.guards_intact());
    }
}

// With no ring width the hole is as large as the outer circle and pushed 15 pixels
// right: each ring leaves a band of 16 pixels along its left edge and single pixels at
// its top and bottom. Centres from the time-zero placements above.
TEST_F(RingTunnel, ZeroWidthChainLeavesLeftBands)
{
    const std::int32_t cx[7] = {41, 59, 80, 104, 130, 158, 187};
    const std::int32_t cy[7] = {109, 123, 137, 149, 159, 167, 172};
    GuardedFrame frame;
    frame.fill_noise(5);
    const std::vector<std::uint8_t> before(frame.pixels(), frame.pixels() + 64000);
    draw_rings(frame.pixels(), 0, 0, 2, 9);

    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            bool covered = false;
            for (int i = 0; i < 7; ++i) {
                const std::int32_t dy = y - cy[i];
                if (dy == -radii[i] || dy == radii[i]) {
                    covered = covered || x == cx[i];
                } else if (dy > -radii[i] && dy < radii[i]) {
                    const std::int32_t left = cx[i] - root(radii[i] * radii[i] - dy * dy);
                    covered = covered || (x >= left && x <= left + 15);
                }
            }
            ASSERT_EQ(frame.at(x, y), covered ? 9 : before[y * 320 + x]) << x << "," << y;
        }
}

// The scenes run time backwards as 1000000 - t; that only replays the motion if a
// picture depends on nothing but its arguments.
TEST_F(RingTunnel, SameArgumentsGiveSameBytes)
{
    const std::int32_t times[] = {1000000 - 0, 1000000 - 4567, 1000000 - 999999};
    for (std::int32_t mode = 1; mode <= 2; ++mode)
        for (std::int32_t time : times) {
            GuardedFrame first;
            first.fill_noise(11);
            draw_rings(first.pixels(), time, 23, mode, 2);

            GuardedFrame scratch;
            for (std::int32_t other = 0; other < 5000; other += 1000)
                draw_rings(scratch.pixels(), other, 18, 3 - mode, 7);

            GuardedFrame second;
            second.fill_noise(11);
            draw_rings(second.pixels(), time, 23, mode, 2);
            EXPECT_EQ(first.bytes, second.bytes) << "mode " << mode << " time " << time;
        }
}

TEST_F(RingTunnel, RejectedArgumentsDrawNothing)
{
    GuardedFrame frame;
    frame.fill_noise(3);
    const std::vector<std::uint8_t> before = frame.bytes;
    draw_rings(frame.pixels(), 0, 18, 0, 2);
    draw_rings(frame.pixels(), 0, 18, 3, 2);
    draw_rings(frame.pixels(), 0, -10, 1, 2);   // hole radius 300 would leave the table
    draw_rings(frame.pixels(), 0, 350, 2, 2);
    EXPECT_EQ(frame.bytes, before);
}

}   // namespace
