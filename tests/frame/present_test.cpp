#include "frame/frame.h"
#include "pictures/pictures.h"
#include "sdl_screen.h"

#include <gtest/gtest.h>

#include <random>

namespace {

class Presentation : public ::testing::Test {
protected:
    void SetUp() override
    {
        target = open_test_screen().surface;
        ASSERT_NE(target, nullptr) << SDL_GetError();
        display_buffer = work_buffer.data();
    }
    void TearDown() override
    {
        SDL_FreeSurface(target);
        screen = nullptr;
    }
    void fill_surface(std::uint32_t value)
    {
        for (int y = 0; y < 480; ++y)
            for (int x = 0; x < 640; ++x)
                reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(target->pixels) +
                                                 y * target->pitch)[x] = value;
    }
    SDL_Surface* target = nullptr;
};

TEST_F(Presentation, FlatFrameShowsBrightAndDimLinesBetweenBlackBorders)
{
    fill_surface(0);
    set_colour(127, 255, 150, 150);
    work_buffer.fill(127);
    present_frame();
    for (int y = 0; y < 480; ++y) {
        std::uint32_t expected = 0;
        if (y >= 40 && y < 440)
            expected = (y % 2 == 0) ? rgb(255, 150, 150) : rgb(204, 120, 120);
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(pixel_at(target, x, y), expected) << "pixel " << x << ", " << y;
    }
}

TEST_F(Presentation, BorderRowsAreNeverWritten)
{
    fill_surface(0x00123456);
    set_colour(9, 1, 2, 3);
    work_buffer.fill(9);
    present_frame();
    for (int x = 0; x < 640; ++x) {
        EXPECT_EQ(pixel_at(target, x, 39), 0x00123456u);
        EXPECT_EQ(pixel_at(target, x, 440), 0x00123456u);
    }
    EXPECT_EQ(pixel_at(target, 0, 40), rgb(1, 2, 3));
    EXPECT_EQ(pixel_at(target, 639, 439), rgb(0, 1, 2));   // 4/5 of 1, 2, 3
}

TEST_F(Presentation, EverySourcePixelBecomesATwoByTwoBlock)
{
    for (int i = 0; i < 256; ++i)
        set_colour(i, i, 255 - i, (i * 7) & 0xff);
    std::mt19937 random(42);
    for (auto& byte : overlay_buffer)
        byte = static_cast<std::uint8_t>(random());
    display_buffer = overlay_buffer.data();
    present_frame();
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const int c = overlay_buffer[y * 320 + x];
            const std::uint32_t full = rgb(c, 255 - c, (c * 7) & 0xff);
            const std::uint32_t dim = rgb(c * 4 / 5, (255 - c) * 4 / 5, ((c * 7) & 0xff) * 4 / 5);
            ASSERT_EQ(pixel_at(target, 2 * x, 40 + 2 * y), full);
            ASSERT_EQ(pixel_at(target, 2 * x + 1, 40 + 2 * y), full);
            ASSERT_EQ(pixel_at(target, 2 * x, 41 + 2 * y), dim);
            ASSERT_EQ(pixel_at(target, 2 * x + 1, 41 + 2 * y), dim);
        }
}

TEST(PresentationPitch, RowsFollowTheSurfacePitch)
{
    SDL_Surface* wide = open_test_screen(640 * 4 + 256).surface;
    ASSERT_NE(wide, nullptr);
    ASSERT_EQ(wide->pitch, 640 * 4 + 256);
    set_colour(1, 10, 20, 30);
    set_colour(2, 200, 100, 50);
    work_buffer.fill(1);
    work_buffer[199 * 320 + 319] = 2;
    display_buffer = work_buffer.data();
    present_frame();
    EXPECT_EQ(pixel_at(wide, 0, 40), rgb(10, 20, 30));
    EXPECT_EQ(pixel_at(wide, 639, 438), rgb(200, 100, 50));
    EXPECT_EQ(pixel_at(wide, 639, 439), rgb(160, 80, 40));
    EXPECT_EQ(pixel_at(wide, 638, 439), rgb(160, 80, 40));
    EXPECT_EQ(pixel_at(wide, 637, 438), rgb(10, 20, 30));
    SDL_FreeSurface(wide);
    screen = nullptr;
}

TEST_F(Presentation, ColoursUseOnlyTheLowEightBitsAndFourFifthsForDimLines)
{
    set_colour(5, 266, 20, 30);
    EXPECT_EQ(colour_table[5], rgb(10, 20, 30));
    EXPECT_EQ(dim_table[5], rgb(8, 16, 24));
    set_colour(6, 255, 100, 1);
    EXPECT_EQ(dim_table[6], rgb(204, 80, 0));
}

TEST_F(Presentation, SetColoursWalksTriplesFromTheFirstIndex)
{
    const std::uint8_t triples[] = {1, 2, 3, 40, 50, 60};
    set_colour(12, 9, 9, 9);
    set_colours(10, 2, triples);
    EXPECT_EQ(colour_table[10], rgb(1, 2, 3));
    EXPECT_EQ(colour_table[11], rgb(40, 50, 60));
    EXPECT_EQ(colour_table[12], rgb(9, 9, 9));
    set_colours(10, 0, nullptr);
    EXPECT_EQ(colour_table[10], rgb(1, 2, 3));
}

TEST_F(Presentation, PicturePaletteFillsColoursAndTheirHalfTintedTwins)
{
    Picture picture{};
    picture.palette[1] = 0x00ff8040;
    picture.palette[2] = 0x00102030;
    picture.colour_count = 2;

    set_picture_palette(&picture, 0, 0, 0, 100);
    EXPECT_EQ(colour_table[1], rgb(255, 128, 64));
    EXPECT_EQ(colour_table[129], rgb(127, 64, 32));
    EXPECT_EQ(colour_table[130], rgb(8, 16, 24));
    EXPECT_EQ(colour_table[3], 0u);     // beyond the picture's colours: black
    EXPECT_EQ(colour_table[228], 0u);   // and half of a black tint

    set_picture_palette(&picture, 255, 255, 255, 100);
    EXPECT_EQ(colour_table[129], rgb(255, 191, 159));
    EXPECT_EQ(colour_table[131], rgb(127, 127, 127));   // half of a white tint
    EXPECT_EQ(colour_table[100], 0u);
    EXPECT_EQ(colour_table[228], rgb(127, 127, 127));
}

}   // namespace
