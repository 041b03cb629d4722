// The flash analysis on made-up frame sequences whose answers follow from the limits:
// how often, how much of a 10-degree field, which colours, and the calm presentation
// bringing a failing sequence under them while leaving a still picture alone.
#include "flash_analysis.h"
#include "frame/calm.h"
#include "frame/flash_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr int width = 640, height = 400;
constexpr std::uint32_t black = 0x000000, white = 0xffffff;

// What a sequence shows at a moment: the colour of screen pixel (x, y) at time_ms.
using Scene = std::function<std::uint32_t(int x, int y, std::int32_t time_ms)>;

struct Analysed {
    FlashAnalysis* analysis = nullptr;
    ~Analysed()
    {
        end_flash_analysis(analysis);
        delete analysis;
    }
};

// `seconds` of the scene at 60 frames a second, the moments as the capture takes them.
std::unique_ptr<Analysed> analyse(const Scene& scene, int seconds)
{
    auto result = std::make_unique<Analysed>();
    result->analysis = new FlashAnalysis;
    EXPECT_TRUE(start_flash_analysis(result->analysis));
    std::vector<std::uint32_t> picture(width * height);
    for (int frame = 0; frame < 60 * seconds; ++frame) {
        const std::int32_t time = frame * 1000 / 60;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                picture[y * width + x] = scene(x, y, time);
        analyse_flash_frame(result->analysis, picture.data(), width, time);
    }
    return result;
}

// A square wave between two colours, `hertz` full cycles a second, inside a box.
Scene flashing_box(double hertz, std::uint32_t on, std::uint32_t off, int box_width = width,
                   int box_height = height)
{
    return [=](int x, int y, std::int32_t time) {
        const bool inside = x < box_width && y < box_height;
        const bool lit = static_cast<long>(time * hertz * 2 / 1000) % 2 == 0;
        return inside && lit ? on : off;
    };
}

const FlashSecond& last_second(const Analysed& run)
{
    return run.analysis->seconds[run.analysis->last_second - run.analysis->first_second];
}

TEST(FlashLevels, FollowTheSrgbCurveAndTheLuminanceWeights)
{
    EXPECT_EQ(flash_levels(black).luminance, 0);
    EXPECT_EQ(flash_levels(white).luminance, 1000000);
    // Pure primaries give their weights; mid grey 128 is 0.21586 linear.
    EXPECT_EQ(flash_levels(0xff0000).luminance, 212600);
    EXPECT_EQ(flash_levels(0x00ff00).luminance, 715200);
    EXPECT_EQ(flash_levels(0x0000ff).luminance, 72200);
    EXPECT_NEAR(flash_levels(0x808080).luminance, 215861, 2);
    // Red level: (R - G - B) x 320 only for a saturated red.
    EXPECT_EQ(flash_levels(0xff0000).red, 320000000);
    EXPECT_EQ(flash_levels(white).red, 0);
    EXPECT_EQ(flash_levels(0xff8080).red, 0);   // R / (R + G + B) = 1 / 1.43, not saturated
    EXPECT_EQ(flash_levels(black).red, 0);
}

TEST(SwingTracker, CountsPeakToValleySwingsOnly)
{
    SwingTracker t = start_swing(0);
    EXPECT_EQ(next_swing(&t, 99999, luminance_step, darker_below), 0);   // just short of 0.1
    EXPECT_EQ(next_swing(&t, 100000, luminance_step, darker_below), 1);
    EXPECT_EQ(next_swing(&t, 300000, luminance_step, darker_below), 0);   // the rise goes on
    EXPECT_EQ(next_swing(&t, 250000, luminance_step, darker_below), 0);   // 0.05 down from the peak
    EXPECT_EQ(next_swing(&t, 200000, luminance_step, darker_below), -1);
    // Between 0.85 and 1.0 the darker side is never below 0.8.
    SwingTracker bright = start_swing(850000);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(next_swing(&bright, i % 2 ? 850000 : 1000000, luminance_step, darker_below), 0);
}

TEST(FlashAnalysis, FullScreenFlashingPassesAtTwoHertzAndFailsAtFour)
{
    const auto slow = analyse(flashing_box(2, white, black), 3);
    EXPECT_LE(last_second(*slow).most_transitions, 5);
    EXPECT_EQ(last_second(*slow).field_pixels, 0);
    EXPECT_FALSE(fails_general(last_second(*slow)));

    const auto fast = analyse(flashing_box(4, white, black), 3);
    const FlashSecond& second = last_second(*fast);
    EXPECT_GE(second.most_transitions, 8);
    EXPECT_EQ(second.screen_pixels, width * height);
    EXPECT_EQ(second.field_pixels, field_area);
    EXPECT_TRUE(fails_general(second));
    EXPECT_FALSE(fails_red(second));   // black and white hold no red
}

TEST(FlashAnalysis, AreaLimitIsAQuarterOfTheWorstField)
{
    // A corner of 40 x 40 screen pixels flashing fast is too small to count.
    const auto corner = analyse(flashing_box(4, white, black, 40, 40), 2);
    EXPECT_EQ(last_second(*corner).field_pixels, 40 * 40);
    EXPECT_FALSE(fails_general(last_second(*corner)));
    // A quarter of the 214 x 160 field is 8560 pixels: 106 x 80 stays under it, 108 x 80
    // goes over.
    const auto under = analyse(flashing_box(4, white, black, 106, 80), 2);
    EXPECT_EQ(last_second(*under).field_pixels, 106 * 80);
    EXPECT_FALSE(fails_general(last_second(*under)));
    const auto over = analyse(flashing_box(4, white, black, 108, 80), 2);
    EXPECT_EQ(last_second(*over).field_pixels, 108 * 80);
    EXPECT_TRUE(fails_general(last_second(*over)));
}

TEST(FlashAnalysis, SaturatedRedFailsTheRedRuleWhereLuminanceBarelyChanges)
{
    // Pure red (0.2126) against grey 0x7d7d7d (about 0.205): far less than 0.1 apart.
    const auto run = analyse(flashing_box(4, 0xff0000, 0x7d7d7d), 2);
    const FlashSecond& second = last_second(*run);
    EXPECT_EQ(second.most_transitions, 0);
    EXPECT_FALSE(fails_general(second));
    EXPECT_TRUE(fails_red(second));
    EXPECT_EQ(second.red_field_pixels, field_area);
}

TEST(FlashAnalysis, BrightFlickerAndSlowFadesPass)
{
    // Flicker between 0.85 and white: its darker side is never below 0.8.
    const auto bright = analyse(flashing_box(10, 0xeeeeee, white), 2);
    EXPECT_EQ(last_second(*bright).most_transitions, 0);
    // Black to white and back once a second: two transitions a second at most.
    const auto fade = analyse(
        [](int, int, std::int32_t time) {
            const int phase = time % 1000;
            const std::uint32_t level =
                static_cast<std::uint32_t>(phase < 500 ? phase * 255 / 499 : (999 - phase) * 255 / 499);
            return level * 0x010101u;
        },
        3);
    EXPECT_LE(last_second(*fade).most_transitions, 3);
    EXPECT_FALSE(fails_general(last_second(*fade)));
}

// Black and white stripes 32 screen pixels a pair, moving sideways: every point sees
// light and dark alternate as often as stripe pairs pass it.
Scene moving_stripes(int pixels_per_frame)
{
    return [=](int x, int, std::int32_t time) {
        const int frame = time * 60 / 1000 + (time * 60 % 1000 != 0);
        return (x + frame * pixels_per_frame) % 32 < 16 ? white : black;
    };
}

TEST(FlashAnalysis, MovingStripesFlashAsOftenAsTheyPassAPoint)
{
    // 2 pixels a frame: 120 / 32 = 3.75 pairs a second pass a point, 7 or 8 transitions.
    const auto fast = analyse(moving_stripes(2), 3);
    EXPECT_GE(last_second(*fast).most_transitions, 7);
    EXPECT_TRUE(fails_general(last_second(*fast)));
    // 1 pixel a frame: 1.9 pairs a second, 3 or 4 transitions.
    const auto slow = analyse(moving_stripes(1), 3);
    EXPECT_LE(last_second(*slow).most_transitions, 4);
    EXPECT_FALSE(fails_general(last_second(*slow)));
}

TEST(FlashAnalysis, SecondsAreOfTheFramesMoments)
{
    const auto run = analyse(flashing_box(1, white, black), 3);
    EXPECT_EQ(run->analysis->first_second, 0);
    EXPECT_EQ(run->analysis->last_second, 2);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(run->analysis->seconds[i].frames, 60);
}

// The calm presentation over one made-up indexed sequence: index 1 white, 2 black,
// 3 red, 4 grey; the frames go through present_calmly and then through the analysis.
struct CalmRun {
    std::vector<std::uint32_t> screen = std::vector<std::uint32_t>(width * height);
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, 1, 1, 32, 0xff0000, 0xff00, 0xff, 0);
    std::uint32_t bright[256] = {};
    std::uint32_t dim[256] = {};
    CalmRun()
    {
        const std::uint32_t colours[5] = {0, white, black, 0xff0000, 0x7d7d7d};
        for (int i = 0; i < 5; ++i) {
            bright[i] = colours[i];
            const std::uint32_t r = colours[i] >> 16, g = (colours[i] >> 8) & 0xff, b = colours[i] & 0xff;
            dim[i] = (r * 4 / 5) << 16 | (g * 4 / 5) << 8 | b * 4 / 5;
        }
    }
    ~CalmRun() { SDL_FreeSurface(surface); }
    void present(const std::uint8_t* source, std::int32_t time)
    {
        present_calmly(source, reinterpret_cast<std::uint8_t*>(screen.data()), width * 4, bright, dim,
                       surface->format, time);
    }
};

TEST(CalmPresentation, HoldsBackFlashesAndLeavesStillPicturesAlone)
{
    ASSERT_TRUE(enable_calm_presentation());
    CalmRun calm;
    FlashAnalysis* analysis = new FlashAnalysis;
    ASSERT_TRUE(start_flash_analysis(analysis));
    std::vector<std::uint8_t> source(320 * 200);
    // Two seconds of the left half flashing white and black at 6 Hz, the right half red
    // and grey at 6 Hz; then two seconds of a still picture.
    for (int frame = 0; frame < 240; ++frame) {
        const std::int32_t time = frame * 1000 / 60;
        const bool lit = (time / 83) % 2 == 0;
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 320; ++x)
                source[y * 320 + x] = frame >= 120 ? static_cast<std::uint8_t>(1 + (x + y) % 4)
                                      : x < 160    ? (lit ? 1 : 2)
                                                   : (lit ? 3 : 4);
        calm.present(source.data(), time);
        analyse_flash_frame(analysis, calm.screen.data(), width, time);
    }
    for (int i = 0; i <= analysis->last_second; ++i) {
        EXPECT_LE(analysis->seconds[i].most_transitions, 6) << "second " << i;
        EXPECT_LE(analysis->seconds[i].most_red_transitions, 6) << "second " << i;
    }
    // The still picture of the last second made no transition, so it shows as it is.
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 320; ++x) {
            const int index = 1 + (x + y) % 4;
            ASSERT_EQ(calm.screen[2 * y * width + 2 * x + 1], calm.bright[index]) << x << "," << y;
            ASSERT_EQ(calm.screen[(2 * y + 1) * width + 2 * x], calm.dim[index]) << x << "," << y;
        }
    end_flash_analysis(analysis);
    delete analysis;
}

}   // namespace
