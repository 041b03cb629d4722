#include "picture_test_support.h"
#include "pictures/pictures.h"

#include <climits>
#include <set>
#include <vector>

namespace {

std::set<std::pair<int, int>> pixels_of(const GuardedFrame& frame, std::uint8_t background = 0)
{
    std::set<std::pair<int, int>> result;
    for (int k : frame.changed(background))
        result.insert({k % 320, k / 320});
    return result;
}

std::set<std::pair<int, int>> block(int x0, int y0, int x1, int y1)
{
    std::set<std::pair<int, int>> result;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            result.insert({x, y});
    return result;
}

void fill(GuardedFrame& frame, std::vector<std::int32_t> t, std::uint8_t colour = 9)
{
    fill_triangle(frame.pixels(), t.data(), colour);
}

void line(GuardedFrame& frame, std::vector<std::int32_t> s, std::int32_t width, std::uint8_t colour = 9)
{
    draw_wide_line(frame.pixels(), s.data(), width, colour);
}

TEST(FillTriangle, FlatTriangleOnOneRowDrawsNothing)
{
    GuardedFrame frame;
    fill(frame, {0, 40, 400, 41, 800, 39});
    EXPECT_TRUE(frame.changed().empty());
}

TEST(FillTriangle, EdgeStartingAboveTheFrameKeepsItsTrueSlope)
{
    // Rows -100..100; the right edge runs from x = 100 px at row -100 to 0 at row 100,
    // half a pixel per row, so row r ends at column floor((100 - r) / 2).
    GuardedFrame frame;
    fill(frame, {0, -400, 400, -400, 0, 400});
    std::set<std::pair<int, int>> expected;
    for (int r = 0; r <= 100; ++r)
        for (int x = 0; x <= (100 - r) / 2; ++x)
            expected.insert({x, r});
    EXPECT_EQ(pixels_of(frame), expected);
    EXPECT_TRUE(frame.guards_intact());
}

TEST(FillTriangle, SpansAreCutAtTheBordersAndOffscreenRowsSkipped)
{
    GuardedFrame frame;
    fill(frame, {-4000, 700, 6000, 700, 1000, 1200});   // rows 175..300, far past both sides
    fill(frame, {-4000, 40, -100, 40, -2000, 400});     // wholly left of the frame
    fill(frame, {1400, 40, 5000, 40, 3000, 400});       // wholly right of it
    const auto pixels = pixels_of(frame);
    EXPECT_EQ(pixels.count({0, 175}), 1u);
    EXPECT_EQ(pixels.count({319, 175}), 1u);
    EXPECT_EQ(pixels.count({0, 199}), 1u);
    for (const auto& [x, y] : pixels)
        EXPECT_GE(y, 175);
    EXPECT_TRUE(frame.guards_intact());
}

TEST(FillTriangle, TwoHalvesOfARectangleFillExactlyItsPixels)
{
    // Corners (41,37) and (203,119) in quarter pixels: columns 10..51, rows 9..30.
    GuardedFrame upper;
    GuardedFrame lower;
    GuardedFrame both;
    fill(upper, {41, 37, 203, 37, 203, 119});
    fill(lower, {41, 37, 203, 119, 41, 119});
    fill(both, {41, 37, 203, 37, 203, 119});
    fill(both, {41, 37, 203, 119, 41, 119});
    EXPECT_EQ(pixels_of(both), block(10, 9, 51, 30));
    // No convention leaves the shared diagonal out: some pixels belong to both halves.
    const auto a = pixels_of(upper);
    const auto b = pixels_of(lower);
    std::size_t shared = 0;
    for (const auto& p : a)
        shared += b.count(p);
    EXPECT_GT(shared, 20u);
}

TEST(WideLine, EqualEndsPlotOnePixelWhateverTheWidth)
{
    for (std::int32_t width : {0, 1, 3}) {
        GuardedFrame frame;
        line(frame, {41, 42, 41, 42}, width);
        EXPECT_EQ(pixels_of(frame), (std::set<std::pair<int, int>>{{10, 11}})) << width;
    }
}

TEST(WideLine, WidthZeroOrLessDrawsNothing)
{
    GuardedFrame frame;
    line(frame, {40, 40, 200, 80}, 0);
    line(frame, {40, 40, 60, 200}, -3);
    EXPECT_TRUE(frame.changed().empty());
}

TEST(WideLine, WidthSpreadsAcrossTheLine)
{
    GuardedFrame one, two, three;
    line(one, {40, 40, 80, 40}, 1);
    line(two, {40, 40, 80, 40}, 2);
    line(three, {40, 40, 80, 40}, 3);
    EXPECT_EQ(pixels_of(one), block(10, 10, 20, 10));
    EXPECT_EQ(pixels_of(two), block(10, 9, 20, 10));
    EXPECT_EQ(pixels_of(three), block(10, 9, 20, 11));

    GuardedFrame vertical;
    line(vertical, {80, 120, 80, 40}, 2);   // ends given bottom first
    EXPECT_EQ(pixels_of(vertical), block(19, 10, 20, 30));
}

TEST(WideLine, DiagonalIsWalkedAlongY)
{
    // |dx| = |dy| counts as y-major, so the width spreads along the row.
    GuardedFrame frame;
    line(frame, {0, 0, 40, 40}, 2);
    std::set<std::pair<int, int>> expected;
    for (int k = 0; k <= 10; ++k) {
        expected.insert({k, k});
        if (k > 0)
            expected.insert({k - 1, k});
    }
    EXPECT_EQ(pixels_of(frame), expected);
}

TEST(WideLine, HugeCoordinatesAndWidthsStayInsideTheFrame)
{
    GuardedFrame frame;
    line(frame, {INT_MIN, INT_MIN, INT_MAX, INT_MAX}, 5);
    line(frame, {-100000000, 400, 100000000, 400}, INT_MAX);
    line(frame, {640, INT_MIN, 641, INT_MAX}, 1);
    EXPECT_TRUE(frame.guards_intact());
    EXPECT_FALSE(frame.changed().empty());
}

TEST(PlotSubpixel, RoundsHalvesUpAndClips)
{
    GuardedFrame frame;
    plot_subpixel(frame.pixels(), 5, 6, 1);        // (7 >> 2, 8 >> 2)
    plot_subpixel(frame.pixels(), -2, -2, 2);      // rounds to pixel (0, 0)
    plot_subpixel(frame.pixels(), -3, 40, 3);      // column -1: dropped
    plot_subpixel(frame.pixels(), 1277, 797, 4);   // (319, 199)
    plot_subpixel(frame.pixels(), 1278, 40, 5);    // column 320: dropped
    EXPECT_EQ(frame.at(1, 2), 1);
    EXPECT_EQ(frame.at(0, 0), 2);
    EXPECT_EQ(frame.at(319, 199), 4);
    EXPECT_EQ(frame.changed().size(), 3u);
    EXPECT_TRUE(frame.guards_intact());
}

TEST(ScreenTransform, MapsUnitCornersAndFlipsY)
{
    picture_scale = 100;
    picture_offset_x = 0;
    picture_offset_y = 0;
    std::int32_t x = 0, y = 0;
    screen_transform(65536, 65536, &x, &y);
    EXPECT_EQ(x, 1040);
    EXPECT_EQ(y, 0);
    screen_transform(-65536, -65536, &x, &y);
    EXPECT_EQ(x, 240);
    EXPECT_EQ(y, 800);
    picture_scale = 1;
    picture_offset_x = 8;
    picture_offset_y = -4;
    screen_transform(-1, 1, &x, &y);   // arithmetic shifts: -1 >> 14 is -1, 1 >> 14 is 0
    EXPECT_EQ(x, 647);
    EXPECT_EQ(y, 396);
}

void pass_through(std::int32_t x, std::int32_t y, std::int32_t* out_x, std::int32_t* out_y)
{
    *out_x = x;
    *out_y = y;
}

Shape make_shape(std::int32_t flags, std::vector<std::int32_t> points, std::vector<std::int32_t> triangles,
                 std::uint8_t fill, std::uint8_t outline)
{
    Shape shape{};
    shape.flags = flags;
    shape.line_width = 1;
    shape.fill_colour = fill;
    shape.line_colour = outline;
    shape.point_count = static_cast<std::int32_t>(points.size() / 2);
    shape.triangle_count = static_cast<std::int32_t>(triangles.size() / 6);
    shape.points = std::move(points);
    shape.triangles = std::move(triangles);
    return shape;
}

TEST(DrawPicture, FillUnderOutlineAndOpenPolylines)
{
    // An L of three points: two segments, the closing one is not drawn.
    Shape open = make_shape(1, {40, 40, 120, 40, 120, 120}, {}, 0, 7);
    // A filled square with its outline on top, drawn after the L.
    Shape square = make_shape(3, {200, 40, 280, 40, 280, 120, 200, 120, 200, 40},
                              {200, 40, 280, 40, 280, 120, 200, 40, 280, 120, 200, 120}, 5, 6);
    open.next = &square;
    Picture picture{};
    picture.shapes = &open;
    GuardedFrame frame;
    draw_picture(&picture, frame.pixels(), pass_through);
    EXPECT_EQ(frame.at(20, 10), 7);
    EXPECT_EQ(frame.at(30, 20), 7);
    EXPECT_EQ(frame.at(25, 25), 0);   // on the missing closing diagonal
    EXPECT_EQ(frame.at(60, 20), 5);   // inside the square
    EXPECT_EQ(frame.at(50, 20), 6);   // its outline over its fill
    EXPECT_EQ(frame.at(60, 10), 6);
    EXPECT_EQ(frame.at(70, 30), 6);
}

TEST(DrawPicture, ConvexFillStaysInsideItsOutlineBox)
{
    const std::int32_t u = 65536;
    Shape heptagon =
        make_shape(2, {u, 0, u / 2, u, -u / 3, u, -u, u / 4, -u, -u / 2, 0, -u, u / 2, -u}, {}, 3, 3);
    std::vector<std::int32_t> copy = heptagon.points;
    heptagon.triangles = triangulate_polygon(7, copy.data());
    heptagon.triangle_count = static_cast<std::int32_t>(heptagon.triangles.size() / 6);
    ASSERT_EQ(heptagon.triangle_count, 5);
    Picture picture{};
    picture.shapes = &heptagon;
    picture_scale = 77;
    picture_offset_x = 13;
    picture_offset_y = -9;
    std::int32_t low_x = INT_MAX, high_x = INT_MIN, low_y = INT_MAX, high_y = INT_MIN;
    for (std::size_t k = 0; k < heptagon.points.size(); k += 2) {
        std::int32_t x = 0, y = 0;
        screen_transform(heptagon.points[k], heptagon.points[k + 1], &x, &y);
        low_x = std::min(low_x, x), high_x = std::max(high_x, x);
        low_y = std::min(low_y, y), high_y = std::max(high_y, y);
    }
    GuardedFrame frame;
    draw_picture(&picture, frame.pixels(), screen_transform);
    const auto pixels = pixels_of(frame);
    EXPECT_GT(pixels.size(), 1000u);
    // A pixel c covers quarter-pixel units 4c - 2 .. 4c + 1.
    for (const auto& [x, y] : pixels) {
        EXPECT_GE(4 * x + 2, low_x);
        EXPECT_LE(4 * x - 2, high_x);
        EXPECT_GE(4 * y + 2, low_y);
        EXPECT_LE(4 * y - 2, high_y);
    }
}

TEST(DrawPicture, ZeroScaleAndFarOffsetsWriteOnlyInsideTheFrame)
{
    const std::int32_t u = 65536;
    Shape big =
        make_shape(3, {-u, -u, u, -u, u, u, -u, u, -u, -u}, {-u, -u, u, -u, u, u, -u, -u, u, u, -u, u}, 4, 4);
    big.line_width = 3;
    Picture picture{};
    picture.shapes = &big;
    const std::int32_t cases[][3] = {
        {0, 0, 0}, {100, 2000000000, 0}, {100, 0, -2000000000}, {INT_MAX, 0, 0}, {-30000, 5, 5}};
    for (const auto& c : cases) {
        picture_scale = c[0];
        picture_offset_x = c[1];
        picture_offset_y = c[2];
        GuardedFrame frame;
        draw_picture(&picture, frame.pixels(), screen_transform);
        EXPECT_TRUE(frame.guards_intact()) << c[0] << " " << c[1] << " " << c[2];
    }
    picture_scale = 0;
    picture_offset_x = 0;
    picture_offset_y = 0;
    GuardedFrame dot;
    draw_picture(&picture, dot.pixels(), screen_transform);
    // Every point lands on the centre: no triangle has height, and each outline segment
    // has equal ends, which plot one point whatever the width.
    EXPECT_EQ(pixels_of(dot), (std::set<std::pair<int, int>>{{160, 100}}));
}

}   // namespace

namespace {

// Coordinates near the frame, far from it, and at the integer limits, in a fixed
// pseudo-random mix. The guards catch writes around the frame; a sanitizer build also
// catches any access outside the rasterizer's own tables.
std::int32_t wild_coordinate(std::uint32_t* state)
{
    *state = *state * 1664525u + 1013904223u;
    const std::uint32_t r = *state >> 8;
    switch (r % 4) {
    case 0: return static_cast<std::int32_t>(r % 1400) - 60;
    case 1: return static_cast<std::int32_t>(r % 40000) - 20000;
    case 2: return static_cast<std::int32_t>(*state);
    default:
        return r % 2 ? INT_MAX - static_cast<std::int32_t>(r % 5)
                     : INT_MIN + static_cast<std::int32_t>(r % 5);
    }
}

TEST(HostileDrawing, RandomTrianglesAndLinesStayInsideTheFrame)
{
    std::uint32_t state = 2024;
    GuardedFrame frame;
    for (int round = 0; round < 20000; ++round) {
        std::int32_t values[6];
        for (std::int32_t& v : values)
            v = wild_coordinate(&state);
        fill_triangle(frame.pixels(), values, static_cast<std::uint8_t>(round));
        const std::int32_t width = static_cast<std::int32_t>(state % 7) - 1;
        draw_wide_line(frame.pixels(), values, width, static_cast<std::uint8_t>(round));
        draw_text_line(frame.pixels(), values + 2, width, static_cast<std::uint8_t>(round));
        plot_subpixel(frame.pixels(), values[4], values[5], 1);
    }
    EXPECT_TRUE(frame.guards_intact());
    EXPECT_FALSE(frame.changed().empty());
}

}   // namespace
