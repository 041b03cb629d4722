#include "common/guarded_frame.h"
#include "effects/effects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

TEST(Mirror, EveryPixelTakesItsTopLeftTwin)
{
    GuardedFrame frame;
    frame.fill_noise(21);
    const std::vector<std::uint8_t> before(frame.pixels(), frame.pixels() + 64000);
    mirror_quadrants(frame.pixels(), 320, 200);

    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const int source = std::min(y, 199 - y) * 320 + std::min(x, 319 - x);
            ASSERT_EQ(frame.at(x, y), before[source]) << x << "," << y;
        }
    EXPECT_TRUE(frame.guards_intact());
}

TEST(Mirror, OddSizesKeepTheMiddleColumnAndRow)
{
    // Five by three: the middle column of the top row is copied down, the middle row
    // stays as it was. The byte after the picture must not be touched.
    std::uint8_t picture[16] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 99};
    mirror_quadrants(picture, 5, 3);
    const std::uint8_t expected[16] = {1, 2, 3, 2, 1, 6, 7, 8, 9, 10, 1, 2, 3, 2, 1, 99};
    EXPECT_TRUE(std::equal(picture, picture + 16, expected));

    // A single row has no top half: nothing moves.
    std::uint8_t row[4] = {1, 2, 3, 4};
    mirror_quadrants(row, 4, 1);
    EXPECT_EQ(row[3], 4);
    EXPECT_EQ(row[2], 3);
}

std::int32_t source_at(std::int32_t x, std::int32_t y)
{
    return y * 320 + x;
}

TEST(BlockZoom, MapEntriesForTilesOf32)
{
    build_zoom_map(32);
    EXPECT_EQ(zoom_map[0], 9648);
    EXPECT_EQ(zoom_map[63999], 55000);
    EXPECT_EQ(*std::max_element(zoom_map, zoom_map + 64000), 55640);
    EXPECT_EQ(zoom_map[191 * 320 + 319], 55640);
    EXPECT_EQ(zoom_map[96 * 320 + 160], source_at(160, 98));
    EXPECT_EQ(zoom_map[32 * 320 + 0], source_at(48, 53));

    // Each tile shows its piece of the source at its own size, from the corners the
    // tile positions give when drawn 30 % toward the centre.
    const std::int32_t corner_x[10] = {48, 71, 93, 116, 138, 160, 182, 204, 227, 249};
    const std::int32_t corner_y[7] = {30, 53, 75, 98, 119, 142, 164};
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const std::int32_t expected = source_at(corner_x[x / 32] + x % 32, corner_y[y / 32] + y % 32);
            ASSERT_EQ(zoom_map[y * 320 + x], expected) << x << "," << y;
        }
}

TEST(BlockZoom, WritesEveryByteFromInsideTheWindow)
{
    build_zoom_map(32);
    // The source encodes its own coordinates; its bytes avoid the destination's
    // starting value, so an unwritten destination byte shows.
    GuardedFrame source, destination;
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x)
            source.at(x, y) = static_cast<std::uint8_t>((x * 7 + y * 13) % 251);
    std::fill(destination.pixels(), destination.pixels() + 64000, 255);
    const std::vector<std::uint8_t> source_before = source.bytes;

    apply_zoom_map(source.pixels(), destination.pixels());

    for (int k = 0; k < 64000; ++k) {
        const std::int32_t sx = zoom_map[k] % 320;
        const std::int32_t sy = zoom_map[k] / 320;
        ASSERT_TRUE(sx >= 48 && sx <= 280 && sy >= 30 && sy <= 173) << k;
        ASSERT_EQ(destination.pixels()[k], source.at(sx, sy)) << k;
    }
    EXPECT_EQ(destination.at(0, 32), source.at(48, 53));
    EXPECT_EQ(source.bytes, source_before);
    EXPECT_TRUE(destination.guards_intact());
}

// Any map gives the per-pixel lookup: runs that end inside a group, runs that reach the
// source's last pixel, descending and repeated entries, and tile maps of several sizes.
TEST(BlockZoom, GivesThePerPixelLookupForAnyMap)
{
    GuardedFrame source, destination;
    source.fill_noise(5);
    std::uint32_t seed = 12345;
    const auto next = [&seed](std::uint32_t range) {
        seed = seed * 1103515245u + 12345u;
        return static_cast<std::int32_t>((seed >> 8) % range);
    };
    for (int round = 0; round < 12; ++round) {
        if (round < 4) {
            build_zoom_map(std::int32_t{8} << round);
        } else {
            // Runs of random length from random starts, some clipped at the last pixel.
            for (std::int32_t k = 0; k < 64000;) {
                const std::int32_t length = 1 + next(40);
                const std::int32_t start = round % 2 ? next(64000) : 63990 + next(10);
                for (std::int32_t i = 0; i < length && k < 64000; ++i, ++k)
                    zoom_map[k] = std::min(start + (round % 3 == 0 ? -i : i), 63999);
            }
            for (std::int32_t k = 0; k < 64000; ++k)
                zoom_map[k] = std::clamp(zoom_map[k], 0, 63999);
        }
        apply_zoom_map(source.pixels(), destination.pixels());
        for (std::int32_t k = 0; k < 64000; ++k)
            ASSERT_EQ(destination.pixels()[k], source.pixels()[zoom_map[k]]) << round << " " << k;
        ASSERT_TRUE(destination.guards_intact());
    }
    build_zoom_map(32);
}

// Tiles too large for the frame repeat the source's edge instead of reaching outside
// it; a tile size of zero or less leaves the map alone instead of never finishing.
TEST(BlockZoom, OversizedAndEmptyTiles)
{
    build_zoom_map(200);
    EXPECT_EQ(zoom_map[0], source_at(48, 30));
    EXPECT_EQ(zoom_map[source_at(100, 199)], source_at(148, 199));
    EXPECT_EQ(zoom_map[source_at(319, 199)], source_at(307, 199));

    build_zoom_map(320);
    EXPECT_EQ(zoom_map[source_at(270, 100)], source_at(318, 130));
    EXPECT_EQ(zoom_map[source_at(271, 169)], source_at(319, 199));
    EXPECT_EQ(zoom_map[source_at(319, 199)], source_at(319, 199));
    for (int k = 0; k < 64000; ++k)
        ASSERT_TRUE(zoom_map[k] >= 0 && zoom_map[k] < 64000) << k;

    build_zoom_map(32);
    build_zoom_map(0);
    build_zoom_map(-4);
    EXPECT_EQ(zoom_map[0], 9648);
    EXPECT_EQ(zoom_map[63999], 55000);
}

}   // namespace
