// Hostile geometry for the picture loader and rasterizer: each case is a shape at the
// edge of what the triangulation and the rasterizer handle, where a slip would overflow
// or touch memory outside their tables. Under the sanitizer build they also fail on the
// bad access itself, not only on a wrong result.
#include "picture_test_support.h"
#include "pictures/pictures.h"

#include <climits>
#include <vector>

namespace {

// Vertices in quarter pixels: (0,-400) and (400,-300) lie above the frame, (200,400)
// is on row 100. The edge between the first two lies wholly above row 0 and must be
// left out; the other two edges meet row 0 at x = 0 + 16384 * 100 (pixel 25) and at
// 400 * 16384 + 75 * ((-200 * 16384) / 175) = 5149300 (pixel 79).
TEST(HostileDrawing, EdgeWhollyAboveTheFrameIsLeftOut)
{
    GuardedFrame frame;
    const std::int32_t triangle[6] = {0, -400, 400, -300, 200, 400};
    fill_triangle(frame.pixels(), triangle, 9);
    EXPECT_TRUE(frame.guards_intact());
    EXPECT_EQ(frame.at(24, 0), 0);
    EXPECT_EQ(frame.at(25, 0), 9);
    EXPECT_EQ(frame.at(79, 0), 9);
    EXPECT_EQ(frame.at(80, 0), 0);
    // The apex row: both remaining edges end at x = 200 quarter pixels, pixel 50.
    EXPECT_EQ(frame.at(50, 100), 9);
    EXPECT_EQ(frame.at(49, 100), 0);
    EXPECT_EQ(frame.at(50, 101), 0);
}

// A file may give coordinates at the ends of the 32-bit range: the corner tests then
// multiply 33-bit differences. This triangle is counter-clockwise (its cross product
// is (2^32 - 1)^2 > 0), so it must come back as one triangle in its own order; a
// wrapped 64-bit product turns the sign and reverses it.
TEST(HostileDrawing, TriangulationOfExtremeCoordinatesKeepsTheCornerSigns)
{
    std::vector<std::int32_t> points = {INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX};
    const std::vector<std::int32_t> expected = points;
    EXPECT_EQ(triangulate_polygon(3, points.data()), expected);
}

}   // namespace
