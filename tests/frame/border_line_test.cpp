// The maker's status line: only the border below the picture changes, the text shows
// there in white, and a line too long for the width stops at the window's edge.
#include "frame/border_line.h"
#include "sdl_screen.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr std::uint32_t marker = 0x00123456;

void fill(SDL_Surface* surface, std::uint32_t colour)
{
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
            reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                             y * surface->pitch)[x] = colour;
}

int white_pixels(SDL_Surface* surface, int first_row, int end_row)
{
    int count = 0;
    for (int y = first_row; y < end_row; ++y)
        for (int x = 0; x < 640; ++x)
            count += pixel_at(surface, x, y) == rgb(255, 255, 255);
    return count;
}

TEST(BorderLine, WritesOnlyBelowThePictureAndClearsWhenHidden)
{
    // A padded pitch, as some displays have, must not shift the rows.
    const TestScreen test = open_test_screen(640 * 4 + 64);
    fill(test.surface, marker);
    paint_border_line(test.surface, "POS 1547 SCENE 7 60 FPS 0.21 MS");
    for (int y = 0; y < 440; ++y)
        for (int x = 0; x < 640; ++x)
            ASSERT_EQ(pixel_at(test.surface, x, y), marker) << x << "," << y;
    EXPECT_GT(white_pixels(test.surface, 440, 480), 200);
    for (int y = 440; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const std::uint32_t p = pixel_at(test.surface, x, y);
            ASSERT_TRUE(p == 0 || p == rgb(255, 255, 255)) << x << "," << y;
        }

    paint_border_line(test.surface, nullptr);
    EXPECT_EQ(white_pixels(test.surface, 440, 480), 0);
    EXPECT_EQ(pixel_at(test.surface, 0, 439), marker);
}

TEST(BorderLine, TextLongerThanTheWidthStopsAtTheEdge)
{
    const TestScreen test = open_test_screen();
    fill(test.surface, marker);
    paint_border_line(test.surface, std::string(200, '8').c_str());
    // Every character cell that fits is inked, the rightmost columns stay clear of
    // a glyph cut in half.
    EXPECT_GT(white_pixels(test.surface, 440, 480), 50 * 20);
    for (int y = 440; y < 480; ++y)
        EXPECT_EQ(pixel_at(test.surface, 639, y), 0u);
    // A character the font lacks is a space.
    fill(test.surface, marker);
    paint_border_line(test.surface, "~~~~");
    EXPECT_EQ(white_pixels(test.surface, 440, 480), 0);
}

}   // namespace
