#include "effects/effects.h"

#include <gtest/gtest.h>

namespace {

struct Landing { std::int32_t x, y; };

Landing land(std::int32_t x, std::int32_t y)
{
    Landing out{};
    tunnel_transform(x, y, &out.x, &out.y);
    return out;
}

void set_matrix(std::int32_t m00, std::int32_t m01, std::int32_t m10, std::int32_t m11)
{
    tunnel_matrix[0] = m00;
    tunnel_matrix[1] = m01;
    tunnel_matrix[2] = m10;
    tunnel_matrix[3] = m11;
}

// Landing points worked out by hand: at depth 0 a unit distance scales to
// 65536 * 400 / 90 = 291271, which places it (291271 * 100) >> 14 = 1777 quarter
// pixels from the centre, or -1778 on the negative side (the shift rounds down).
TEST(TunnelTransform, NearestCopyScalesAndFlipsY)
{
    set_matrix(16384, 0, 0, 16384);
    tunnel_copy = 0;
    tunnel_depth = 0;
    const Landing right = land(65536, 0);
    EXPECT_EQ(right.x, 2417);
    EXPECT_EQ(right.y, 400);
    const Landing left = land(-65536, 0);
    EXPECT_EQ(left.x, 640 - 1778);
    const Landing up = land(0, 65536);
    EXPECT_EQ(up.x, 640);
    EXPECT_EQ(up.y, 400 - 1777);
    const Landing down = land(0, -65536);
    EXPECT_EQ(down.y, 400 + 1778);
    const Landing centre = land(0, 0);
    EXPECT_EQ(centre.x, 640);
    EXPECT_EQ(centre.y, 400);
}

// The far end of the tunnel (depth 999: 26214400 / 1089 = 24071, 146 quarter pixels)
// and the sixth copy, which ignores the depth for a fixed 1080 (24272, 148).
TEST(TunnelTransform, FarCopyAndFixedSixthCopy)
{
    set_matrix(16384, 0, 0, 16384);
    tunnel_copy = 4;
    tunnel_depth = 999;
    EXPECT_EQ(land(65536, 0).x, 640 + 146);
    tunnel_copy = 5;
    EXPECT_EQ(land(65536, 0).x, 640 + 148);
    tunnel_depth = 0;
    EXPECT_EQ(land(65536, 0).x, 640 + 148);
}

TEST(TunnelTransform, RotatesBeforeScaling)
{
    // A quarter turn: x goes up the screen, y goes to the left.
    set_matrix(0, -16384, 16384, 0);
    tunnel_copy = 0;
    tunnel_depth = 0;
    const Landing turned_x = land(65536, 0);
    EXPECT_EQ(turned_x.x, 640);
    EXPECT_EQ(turned_x.y, 400 - 1777);
    const Landing turned_y = land(0, 65536);
    EXPECT_EQ(turned_y.x, 640 - 1778);
    EXPECT_EQ(turned_y.y, 400);

    // The largest corner of a picture turned by 45 degrees stays exact: 11585 / 16384
    // of 65536 is 46340 on each product, so x sums to 0 and y to 92680.
    set_matrix(11585, -11585, 11585, 11585);
    const Landing corner = land(65536, 65536);
    EXPECT_EQ(corner.x, 640);
    EXPECT_EQ(corner.y, 400 - ((92680 * 400 / 90) * 100 >> 14));
}

}  // namespace
