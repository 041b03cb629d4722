#include "common/scratch_folder.h"
#include "effects/effects.h"
#include "pictures/pictures.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

struct Landing {
    std::int32_t x, y;
};

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

// Two one-square pictures, loaded from files the test writes: the square spans the
// whole picture (corners at +-65536 once loaded) and is filled, without an outline, in
// palette position 2 for the odd copies' picture and 1 for the even copies'.
constexpr std::uint8_t odd_colour = 2;
constexpr std::uint8_t even_colour = 1;
constexpr std::uint8_t background = 127;

bool write_square(const std::string& path, int fill)
{
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file)
        return false;
    std::fprintf(file,
                 "BEGMF \"square\";\n"
                 "colrtable 1 255 255 0 0 0 255;\n"
                 "intstyle SOLID;\nedgevis OFF;\nfillcolr %d;\n"
                 "rect (-100,-100) (100,100);\nENDMF;\n",
                 fill);
    return std::fclose(file) == 0;
}

// The matrix the tunnel left behind: cosine and sine in 14 fraction bits.
void expect_rotation(std::int32_t cosine, std::int32_t sine)
{
    EXPECT_EQ(tunnel_matrix[0], cosine);
    EXPECT_EQ(tunnel_matrix[1], -sine);
    EXPECT_EQ(tunnel_matrix[2], sine);
    EXPECT_EQ(tunnel_matrix[3], cosine);
}

class PictureTunnel : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        const ScratchFolder folder("effects");
        const std::string odd = (folder / "odd.cgm").string();
        const std::string even = (folder / "even.cgm").string();
        ASSERT_TRUE(write_square(odd, odd_colour));
        ASSERT_TRUE(write_square(even, even_colour));
        tunnel_picture = load_picture(odd.c_str());
        tunnel_picture2 = load_picture(even.c_str());
        ASSERT_NE(tunnel_picture, nullptr);
        ASSERT_NE(tunnel_picture2, nullptr);
    }

    std::array<std::uint8_t, 64000> frame{};

    void draw(std::int32_t time)
    {
        frame.fill(background);
        draw_picture_tunnel(frame.data(), time);
    }
    std::uint8_t at(int x, int y) const { return frame[y * 320 + x]; }
};

// At time 0 the copies stand at depths 0, 200, 400, 600, 800 and the fixed far one,
// unturned. Their half-sizes, (65536 * 400 / (depth + 90)) * 100 >> 14 quarter pixels,
// are 444, 137, 81, 57, 44 and 37 pixels, drawn in that order, so along row 100 the
// colours alternate outwards from the centre. Samples sit mid-band.
TEST_F(PictureTunnel, TimeZeroStacksTheCopiesByDepth)
{
    draw(0);
    EXPECT_EQ(tunnel_angle, 0.0f);
    expect_rotation(16384, 0);
    EXPECT_EQ(tunnel_copy, 6);

    const int offsets[] = {0, 20, 41, 52, 70, 110, 150};
    const std::uint8_t colours[] = {odd_colour,  odd_colour, even_colour, odd_colour,
                                    even_colour, odd_colour, even_colour};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(at(160 + offsets[i], 100), colours[i]) << "right " << offsets[i];
        EXPECT_EQ(at(160 - offsets[i], 100), colours[i]) << "left " << offsets[i];
    }
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(at(160, 100 - offsets[i]), colours[i]) << "up " << offsets[i];
        EXPECT_EQ(at(160, 100 + offsets[i]), colours[i]) << "down " << offsets[i];
    }
    EXPECT_EQ(at(160, 0), odd_colour);   // the second copy is taller than the screen
    EXPECT_EQ(at(0, 0), even_colour);    // only the nearest copy reaches the corners
}

// At time 500 the angle is 0.5 (cos 0.8776, sin 0.4794) and copies 0 to 4 stand at
// 500, 700, 900, 100 and 300: copy 3 (the odd picture, half-size 210 pixels) covers the
// screen, copy 4 (even, 102 pixels) and copy 5 (odd, 37 pixels) lie on it.
TEST_F(PictureTunnel, TimeFiveHundredPutsCopyThreeInFront)
{
    draw(500);
    EXPECT_EQ(tunnel_angle, 0.5f);
    expect_rotation(14378, 7854);
    EXPECT_EQ(tunnel_depth, 500);   // the sixth slot's depth, left from the last copy

    EXPECT_EQ(at(160, 100), odd_colour);
    EXPECT_EQ(at(190, 100), odd_colour);
    EXPECT_EQ(at(220, 100), even_colour);
    EXPECT_EQ(at(260, 100), even_colour);
    EXPECT_EQ(at(300, 100), odd_colour);   // beyond copy 4's side, inside copy 3
    EXPECT_EQ(at(0, 0), odd_colour);
    EXPECT_EQ(at(319, 199), odd_colour);
    // Pixel (285, 137) lies near copy 4's corner when the square turns anticlockwise
    // (y up), but outside it if the turn went the other way.
    EXPECT_EQ(at(285, 137), even_colour);
}

// Between times 999 and 1000 the first copy wraps from the far end (depth 999, hidden
// under the others) to the front (depth 0, filling the screen).
TEST_F(PictureTunnel, WrappingCopyJumpsToTheFront)
{
    draw(999);
    EXPECT_EQ(at(0, 0), background);
    draw(1000);
    EXPECT_EQ(at(0, 0), even_colour);
}

// The angle goes through single precision: at time 900012 it becomes 900.01202392578125,
// whose cosine gives 888 where the double angle would give 889.
TEST_F(PictureTunnel, AngleIsRoundedToSinglePrecision)
{
    draw(900012);
    EXPECT_EQ(tunnel_angle, 900.012f);
    expect_rotation(888, 16359);
}

// Times before -100000 would give a negative remainder and, at depth -90, a division
// by zero; the depths keep cycling through 0..999 instead. The extremes of the time
// range must not overflow either.
TEST_F(PictureTunnel, DepthsStayOnTheCycleForAnyTime)
{
    draw(-100090);   // copy 0 at -90, which wraps to 910
    EXPECT_EQ(tunnel_depth, 910);
    draw(INT32_MAX);
    EXPECT_EQ(tunnel_depth, static_cast<std::int32_t>((2147483647LL + 101000) % 1000));
    draw(INT32_MIN);
    EXPECT_EQ(tunnel_depth, static_cast<std::int32_t>(((-2147483648LL + 101000) % 1000 + 1000) % 1000));
}

TEST_F(PictureTunnel, MissingPicturesAreLeftOut)
{
    Picture* const loaded = tunnel_picture;
    tunnel_picture = nullptr;
    draw(0);
    tunnel_picture = loaded;
    EXPECT_EQ(at(160, 100), even_colour);   // copy 4 now lies on top at the centre
    EXPECT_EQ(tunnel_copy, 6);
}

}   // namespace
