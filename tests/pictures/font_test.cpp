#include "picture_test_support.h"
#include "pictures/pictures.h"

#include <climits>
#include <string>

namespace {

constexpr std::uint8_t background = 3;
constexpr std::uint8_t colour = 9;
constexpr std::uint8_t ink = 0;
constexpr std::uint8_t shade = 7;

// Every glyph cell of every frame: ink at (0,0), (23,0) and (25,0), shade at (1,0) and
// (24,0), a frame marker at (2 + frame, 1), the glyph number as two marks at
// (5, 2 + g / 10) and (6, 2 + g % 10), and ink at column 30, which lies outside the
// 28 columns a glyph uses.
std::string synthetic_font()
{
    std::string image(122880, static_cast<char>(255));
    for (int frame = 0; frame < 3; ++frame) {
        for (int glyph = 0; glyph < 38; ++glyph) {
            const int base = frame * 40960 + (glyph / 10) * 10240 + (glyph % 10) * 32;
            auto set = [&](int c, int r, std::uint8_t value) {
                image[static_cast<std::size_t>(base + r * 320 + c)] = static_cast<char>(value);
            };
            set(0, 0, ink);
            set(1, 0, shade);
            set(23, 0, ink);
            set(24, 0, 200);
            set(25, 0, ink);
            set(2 + frame, 1, ink);
            set(5, 2 + glyph / 10, ink);
            set(6, 2 + glyph % 10, ink);
            set(30, 0, ink);
        }
    }
    return image;
}

class Font : public ::testing::Test {
protected:
    void SetUp() override
    {
        static const std::string path = write_test_file("font.raw", synthetic_font());
        ASSERT_EQ(load_font(path.c_str()), 0);
    }
    GuardedFrame frame{background};
    std::uint8_t* buffer() { return frame.pixels(); }
};

// The frame a glyph drawn with its top-left corner at (x, y) was taken from, or -1.
int frame_at(const GuardedFrame& frame, int x, int y)
{
    int found = -1;
    for (int f = 0; f < 3; ++f)
        if (frame.at(x + 2 + f, y + 1) == colour)
            found = found == -1 ? f : 99;
    return found;
}

TEST_F(Font, GlyphInkShadeAndTransparency)
{
    draw_glyph(buffer(), 10, 20, 'a', 1, colour);
    EXPECT_EQ(frame.at(10, 20), colour);
    EXPECT_EQ(frame.at(11, 20), background | 0x80);
    EXPECT_EQ(frame.at(33, 20), colour);
    EXPECT_EQ(frame.at(34, 20), background | 0x80);
    EXPECT_EQ(frame.at(35, 20), colour);
    EXPECT_EQ(frame_at(frame, 10, 20), 1);
    EXPECT_EQ(frame.at(15, 22), colour);
    EXPECT_EQ(frame.at(16, 22), colour);
    EXPECT_EQ(frame.at(40, 20), background);   // cell column 30 is not part of the glyph
    EXPECT_EQ(frame.changed(background).size(), 8u);
}

TEST_F(Font, CharacterSetPositionsPickTheirCells)
{
    const std::string set = "abcdefghijklmnopqrstuvwxyz1234567890!'";
    for (int g = 0; g < static_cast<int>(set.size()); ++g) {
        GuardedFrame fresh{background};
        draw_glyph(fresh.pixels(), 100, 100, set[static_cast<std::size_t>(g)], 2, colour);
        EXPECT_EQ(fresh.at(105, 102 + g / 10), colour) << set[static_cast<std::size_t>(g)];
        EXPECT_EQ(fresh.at(106, 102 + g % 10), colour) << set[static_cast<std::size_t>(g)];
        EXPECT_EQ(fresh.changed(background).size(), 8u);
    }
}

TEST_F(Font, CharactersWithoutGlyphsAndBadFramesDrawNothing)
{
    for (char c : {' ', 'A', 'Z', '\0', '?', '\n'})
        draw_glyph(buffer(), 50, 50, c, 0, colour);
    draw_glyph(buffer(), 50, 50, 'a', 3, colour);
    draw_glyph(buffer(), 50, 50, 'a', -1, colour);
    EXPECT_TRUE(frame.changed(background).empty());
}

TEST_F(Font, GlyphsAreClippedToTheFrame)
{
    draw_glyph(buffer(), -5, -1, 'a', 0, colour);
    EXPECT_EQ(frame.at(0, 1), colour);   // glyph pixel (5, 2)
    EXPECT_EQ(frame.at(1, 1), colour);   // glyph pixel (6, 2)
    draw_glyph(buffer(), 300, 190, 'a', 0, colour);
    EXPECT_EQ(frame.at(300, 190), colour);
    EXPECT_EQ(frame.at(301, 190), background | 0x80);
    draw_glyph(buffer(), INT_MAX, INT_MIN, 'a', 0, colour);
    draw_glyph(buffer(), INT_MIN, 199, 'a', 0, colour);
    EXPECT_TRUE(frame.guards_intact());
}

TEST_F(Font, CentredCaptionStartsHalfItsWidthLeftAndHalfAGlyphUp)
{
    draw_caption(buffer(), 160, 80, "abcdefghij", 1, 0, colour);
    EXPECT_EQ(frame.at(45, 64), background);
    EXPECT_EQ(frame.at(46, 64), colour);   // first glyph's (0,0)
    EXPECT_EQ(frame.at(46, 63), background);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(frame_at(frame, 46 + 22 * i, 64), i % 3) << i;
        EXPECT_EQ(frame.at(46 + 22 * i + 5, 66), colour) << i;   // glyph number i / 10 = 0
        EXPECT_EQ(frame.at(46 + 22 * i + 6, 66 + i), colour) << i;
    }
}

TEST_F(Font, FramesRippleAlongTheCaptionEvery140Milliseconds)
{
    const struct {
        std::int32_t time;
        int first_frame;
    } cases[] = {{0, 0}, {139, 0}, {140, 1}, {280, 2}, {420, 0}, {1000000, (1000000 / 140) % 3}};
    for (const auto& c : cases) {
        GuardedFrame fresh{background};
        draw_caption(fresh.pixels(), 10, 10, "kettles", 0, c.time, colour);
        for (int i = 0; i < 7; ++i)
            EXPECT_EQ(frame_at(fresh, 10 + 22 * i, 10), (c.first_frame + i) % 3)
                << "time " << c.time << " letter " << i;
    }
}

TEST_F(Font, GapsAdvanceWithoutDrawing)
{
    GuardedFrame spaced{background};
    GuardedFrame upper{background};
    GuardedFrame direct{background};
    draw_caption(spaced.pixels(), 20, 30, "a b", 0, 0, colour);
    draw_caption(upper.pixels(), 20, 30, "aBb", 0, 0, colour);
    draw_glyph(direct.pixels(), 20, 30, 'a', 0, colour);
    draw_glyph(direct.pixels(), 64, 30, 'b', 2, colour);
    EXPECT_EQ(spaced.bytes, direct.bytes);
    EXPECT_EQ(upper.bytes, direct.bytes);
    draw_caption(buffer(), 20, 30, "", 1, 0, colour);
    draw_caption(buffer(), 20, 30, "  ", 0, 0, colour);
    EXPECT_TRUE(frame.changed(background).empty());
}

TEST_F(Font, LaterLetterIsDrawnOverTheEarlierOne)
{
    draw_caption(buffer(), 10, 10, "ab", 0, 0, colour);
    EXPECT_EQ(frame.at(32, 10), colour);              // b's ink over a's transparency
    EXPECT_EQ(frame.at(33, 10), colour | 0x80);       // b's shade over a's ink
    EXPECT_EQ(frame.at(34, 10), background | 0x80);   // a's shade under b's transparency
    EXPECT_EQ(frame.at(35, 10), colour);              // a's ink under b's transparency
}

TEST_F(Font, LongCaptionsRunOffTheFrameSafely)
{
    const std::string text(5000, 'w');
    draw_caption(buffer(), 0, 190, text.c_str(), 0, 0, colour);
    draw_caption(buffer(), -100000, -10, text.c_str(), 1, INT_MAX, colour);
    EXPECT_TRUE(frame.guards_intact());
    EXPECT_EQ(frame.at(0, 190), colour);
}

TEST_F(Font, ShortFileFillsOnlyTheStartAndMissingFileFails)
{
    const std::string one_byte = write_test_file("font_short.raw", std::string(1, '\xff'));
    ASSERT_EQ(load_font(one_byte.c_str()), 0);
    draw_glyph(buffer(), 0, 0, 'a', 0, colour);
    EXPECT_EQ(frame.at(0, 0), background);          // now transparent
    EXPECT_EQ(frame.at(1, 0), background | 0x80);   // the rest kept
    EXPECT_EQ(load_font("/nonexistent/dir/fontti.raw"), -1);
}

}   // namespace
