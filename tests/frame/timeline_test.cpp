// The scene timeline driven frame by frame with chosen music positions and times, as
// the main loop drives it: on hand-made stand-in data whose pictures and captions can
// be told apart in the frame, and once on the demo's own data.
#include "effects/effects.h"
#include "frame/demo_data.h"
#include "frame/frame.h"
#include "frame/main_loop.h"
#include "frame/timeline.h"
#include "pictures/pictures.h"
#include "scene_stand_ins.h"
#include "sdl_screen.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::uint32_t red_of(std::uint32_t c)
{
    return (c >> 16) & 0xff;
}
std::uint32_t green_of(std::uint32_t c)
{
    return (c >> 8) & 0xff;
}
std::uint32_t blue_of(std::uint32_t c)
{
    return c & 0xff;
}

class TimelineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        build_sqrt_table();
        build_zoom_map(32);
    }
    void SetUp() override
    {
        target = open_test_screen().surface;
        ASSERT_NE(target, nullptr) << SDL_GetError();
        reset_timeline();
        work_buffer.fill(127);
    }
    void TearDown() override
    {
        SDL_FreeSurface(target);
        screen = nullptr;
    }
    // One frame of the main loop, without the presentation.
    static void frame(std::int32_t position, std::int32_t time)
    {
        demo_time = time;
        draw_frame(position);
    }
    static std::uint32_t colour(int index) { return colour_table[index]; }
    SDL_Surface* target = nullptr;
};

class Timeline : public TimelineTest {
protected:
    void SetUp() override
    {
        TimelineTest::SetUp();
        install_stand_in_data();
        load_readable_font();
    }
    static std::string caption_at(const std::uint8_t* buffer, std::int32_t x, std::int32_t y,
                                  std::int32_t centred, std::uint8_t ink, const std::string& expected)
    {
        return read_caption(buffer, x, y, centred, ink, expected);
    }
    static const std::uint8_t* work() { return work_buffer.data(); }
    static const std::uint8_t* overlay() { return overlay_buffer.data(); }
};

TEST(SceneRanges, EachPositionFallsInTheSceneOfItsOrders)
{
    const std::int32_t cases[][2] = {
        {INT32_MIN, 1}, {-37, 1},  {0, 1},    {199, 1},  {200, 2},   {399, 2},   {400, 3},        {699, 3},
        {700, 4},       {899, 4},  {900, 5},  {1099, 5}, {1100, 6},  {1499, 6},  {1500, 7},       {1799, 7},
        {1800, 8},      {2099, 8}, {2100, 9}, {2299, 9}, {2300, 10}, {2500, 10}, {INT32_MAX, 10},
    };
    for (const auto& [position, scene] : cases)
        EXPECT_EQ(scene_number(position), scene) << "position " << position;
}

TEST_F(Timeline, SceneOneSwapsItsCaptionBetweenRows131And132)
{
    frame(99, 0);
    EXPECT_EQ(count_colour(work(), 126), 0) << "no caption before order 1";
    EXPECT_GT(count_colour(work(), stand_in_shape_colour(stand_in_ankels)), 0);
    EXPECT_EQ(colour(127), rgb(255, 150, 150));
    EXPECT_EQ(colour(255), rgb(255, 200, 200));
    EXPECT_EQ(colour(128), rgb(100, 90, 90));
    EXPECT_EQ(colour(126), rgb(255, 255, 255));
    EXPECT_EQ(colour(1), stand_in_colour(stand_in_ankels, 1));
    // Half way to white: (45 + 255) / 2, (2 + 255) / 2, (254 + 255) / 2.
    EXPECT_EQ(colour(129), rgb(150, 128, 254));

    frame(100, 40);
    EXPECT_EQ(caption_at(work(), 160, 80, 1, 126, "gravel band"), "gravel band");
    frame(131, 80);
    EXPECT_EQ(caption_at(work(), 160, 80, 1, 126, "gravel band"), "gravel band");
    EXPECT_NE(caption_at(work(), 160, 120, 1, 126, "on the floor"), "on the floor");
    frame(132, 120);
    EXPECT_EQ(caption_at(work(), 160, 120, 1, 126, "on the floor"), "on the floor");
    EXPECT_NE(caption_at(work(), 160, 80, 1, 126, "gravel band"), "gravel band");
}

TEST_F(Timeline, SceneOnePictureShrinksWithTheSceneTime)
{
    frame(10, 1000);
    const std::int32_t at_entry = count_colour(work(), stand_in_shape_colour(stand_in_ankels));
    frame(20, 1000 + 18 * 400);   // scale 1000 - 400
    const std::int32_t later = count_colour(work(), stand_in_shape_colour(stand_in_ankels));
    EXPECT_GT(at_entry, 0);
    EXPECT_LT(later, at_entry);
}

TEST_F(Timeline, SceneTwoRunsItsRingsBackwardsInRowsWithBit4Clear)
{
    frame(216, 1000);   // row 16: time argument 2 * 1000
    const FrameBuffer forwards = work_buffer;
    EXPECT_EQ(caption_at(work(), 160, 100, 1, 3, "tin kettles"), "tin kettles");
    frame(200, 499000);   // row 0: 1000000 - 2 * 499000 = 2000 again
    EXPECT_EQ(work_buffer, forwards);
    EXPECT_EQ(colour(1), rgb(255, 180, 180));
    EXPECT_EQ(colour(2), rgb(255, 60, 200));
    EXPECT_EQ(colour(129), rgb(128, 90, 90));
    EXPECT_EQ(colour(130), rgb(128, 30, 100));
}

TEST_F(Timeline, LineDrawingScenesAccumulateStrokesAndBlinkCaptionsOnTheOverlay)
{
    frame(403, 2000);   // row 3: bit 2 clear
    EXPECT_EQ(display_buffer, overlay());
    EXPECT_EQ(count_colour(overlay(), 126), 0);
    EXPECT_EQ(colour(1), rgb(110, 200, 150));
    work_buffer[0] = 77;   // the fill of the entry is not repeated
    frame(404, 2050);      // 10 strokes due
    const std::int32_t strokes = count_colour(work(), 2);
    EXPECT_GT(strokes, 0);
    EXPECT_EQ(caption_at(overlay(), 160, 100, 1, 126, "foxy lady!"), "foxy lady!");
    EXPECT_EQ(count_colour(work(), 126), 0) << "the caption must not stay in the drawing";
    frame(408, 2100);   // 20 strokes
    EXPECT_GT(count_colour(work(), 2), strokes);
    EXPECT_EQ(work_buffer[0], 77);
    EXPECT_NE(caption_at(overlay(), 160, 100, 1, 126, "foxy lady!"), "foxy lady!");

    frame(1100, 3000);   // scene 6 fills afresh and draws its own strokes from 0
    EXPECT_EQ(work_buffer[0], 1);
    EXPECT_EQ(colour(1), rgb(255, 160, 160));
    frame(1103, 3090);
    EXPECT_NE(caption_at(overlay(), 170, 160, 0, 126, "greetz"), "greetz");
    frame(1104, 3180);
    EXPECT_EQ(caption_at(overlay(), 170, 160, 0, 126, "greetz"), "greetz");
    EXPECT_EQ(display_buffer, overlay());
    EXPECT_GT(count_colour(work(), 2), 0);
    EXPECT_EQ(count_colour(work(), 126), 0);
}

TEST_F(Timeline, SceneFourTypesItsCaptionOneLetterEveryEightRows)
{
    const std::pair<std::int32_t, const char*> cases[] = {
        {700, ""},         {707, ""},           {708, "k"},           {763, "kv'05 m"},
        {800, "kv'05 ma"}, {823, "kv'05 mama"}, {824, "kv'05 mamas"}, {863, "kv'05 mamas"},
    };
    std::int32_t time = 0;
    for (const auto& [position, text] : cases) {
        frame(position, time += 100);
        EXPECT_STREQ(caption_text, text) << "position " << position;
        EXPECT_EQ(caption_at(work(), 160, 170, 1, 3, text), text) << "position " << position;
    }
    EXPECT_EQ(colour(1), rgb(255, 255, 255));
    EXPECT_EQ(colour(2), rgb(120, 120, 255));
}

TEST_F(Timeline, SceneSixTypesEachGreetingForThreeAndAHalfSeconds)
{
    const std::int32_t entry = 5000;   // elapsed time counts from the entry frame
    const std::pair<std::int32_t, const char*> cases[] = {
        {0, ""},
        {299, ""},
        {300, " "},
        {3599, " "},
        {3600, ""},
        {3899, ""},
        {3900, "s"},
        {6300, "sprocketz"},
        {7199, "sprocketz"},
        {7800, "vk"},
        {8 * 3600 + 1500, "vorpa"},
        {9 * 3600 + 900, ""},
        {19 * 3600 + 3599, ""},
        // Past the table's twenty entries there is nothing to read.
        {20 * 3600, ""},
        {20 * 3600 + 3000, ""},
        {1000000, ""},
    };
    for (const auto& [elapsed, text] : cases) {
        frame(1100, entry + elapsed);
        EXPECT_STREQ(caption_text, text) << "d = " << elapsed;
        EXPECT_EQ(caption_at(overlay(), 5, 5, 0, 126, text), text) << "d = " << elapsed;
    }
    EXPECT_EQ(count_colour(work(), 126), 0);
}

TEST_F(Timeline, SceneSevenGallopsOnlyInTheFirstSixteenRowsOfOrder16)
{
    const std::pair<std::int32_t, bool> cases[] = {
        {1599, false}, {1600, true}, {1615, true}, {1616, false}, {1700, false}};
    std::int32_t time = 0;
    for (const auto& [position, shown] : cases) {
        frame(position, time += 500);
        EXPECT_EQ(caption_at(work(), 5, 84, 0, 0, "g4l0p!") == "g4l0p!", shown) << "position " << position;
    }
    EXPECT_EQ(colour(127), rgb(255, 255, 255));
}

TEST_F(Timeline, SceneSevenAlternatesItsTwoPosesEveryFourRows)
{
    frame(1500, 0);   // enters from 250 pixels below; after 20 s it rests on the centre
    frame(1503, 20000);
    EXPECT_GT(count_colour(work(), stand_in_shape_colour(stand_in_struttoblk)), 0);
    EXPECT_EQ(count_colour(work(), stand_in_shape_colour(stand_in_strutto)), 0);
    frame(1504, 20010);
    EXPECT_GT(count_colour(work(), stand_in_shape_colour(stand_in_strutto)), 0);
    EXPECT_EQ(count_colour(work(), stand_in_shape_colour(stand_in_struttoblk)), 0);
}

TEST_F(Timeline, SceneEightZoomsInTheSecondHalfOfEachPattern)
{
    frame(1831, 0);
    EXPECT_EQ(display_buffer, work());
    EXPECT_EQ(colour(2), rgb(150, 255, 20));
    EXPECT_EQ(colour(1), rgb(180, 255, 180));
    EXPECT_EQ(colour(3), rgb(0, 0, 0));
    frame(1832, 20);
    EXPECT_EQ(display_buffer, overlay());
    EXPECT_EQ(colour(2), rgb(120, 210, 20));
    frame(1900, 40);
    EXPECT_EQ(display_buffer, work());
    EXPECT_EQ(colour(2), rgb(150, 255, 20));
}

TEST_F(Timeline, SceneNineSwitchesToZippsyInItsFirstFrameFrom2200)
{
    const std::uint8_t wobbli_ink = stand_in_shape_colour(stand_in_wobbli);
    const std::uint8_t zippsy_ink = stand_in_shape_colour(stand_in_zippsy);
    frame(2100, 1000);   // j = 5
    EXPECT_STREQ(caption_text, "grafix");
    EXPECT_EQ(caption_at(work(), 240, 100, 1, 0, "grafix"), "grafix");
    EXPECT_EQ(colour(1), stand_in_colour(stand_in_wobbli, 1));
    EXPECT_EQ(colour(255), rgb(128, 90, 0));
    EXPECT_EQ(colour(127), rgb(255, 180, 0));
    EXPECT_GT(count_colour(work(), wobbli_ink), 0);
    frame(2199, 1200);   // j = 6
    EXPECT_STREQ(caption_text, "tovo");
    frame(2199, 1400);   // j = 7
    EXPECT_STREQ(caption_text, "code");
    EXPECT_EQ(colour(1), stand_in_colour(stand_in_wobbli, 1));

    frame(2230, 2000);   // the first frame at 2200 or more; j = 10
    EXPECT_STREQ(caption_text, "pim");
    EXPECT_EQ(caption_at(work(), 240, 100, 1, 0, "pim"), "pim");
    EXPECT_EQ(colour(1), stand_in_colour(stand_in_zippsy, 1));
    EXPECT_GT(count_colour(work(), zippsy_ink), 0);
    EXPECT_EQ(count_colour(work(), wobbli_ink), 0);

    set_colour(1, 1, 2, 3);   // the switch happens once: its palette is not set again
    frame(2240, 2200);        // j = 11
    EXPECT_STREQ(caption_text, "funk");
    EXPECT_EQ(colour(1), rgb(1, 2, 3));
    EXPECT_GT(count_colour(work(), zippsy_ink), 0);
}

TEST_F(Timeline, SceneNinePicturePulsesBetween70And130)
{
    // sin reaches +1 at demo_time = 75 pi and -1 at 225 pi.
    frame(2100, 236);
    const std::int32_t largest = count_colour(work(), stand_in_shape_colour(stand_in_wobbli));
    frame(2101, 707);
    const std::int32_t smallest = count_colour(work(), stand_in_shape_colour(stand_in_wobbli));
    EXPECT_GT(largest, 2 * smallest);
}

TEST_F(Timeline, SceneTenFadesInForFiveSecondsThenOnlyTheBottlesGrow)
{
    set_colour(100, 7, 7, 7);
    frame(2300, 10000);   // d = 0: every faded colour is the background's, times 255/256
    for (int i = 1; i <= 99; ++i)
        ASSERT_EQ(colour(i), rgb(254, 219, 79)) << "index " << i;
    EXPECT_EQ(colour(100), rgb(7, 7, 7)) << "only indexes 1 to 99 fade";
    EXPECT_EQ(colour(127), rgb(255, 220, 80));

    // Bottles colour 50 is (145, 100, 205).
    frame(2310, 12500);   // f = 127
    EXPECT_EQ(colour(50), rgb(199, 159, 141));
    frame(2350, 15000);   // f = 255
    EXPECT_EQ(colour(50), rgb(144, 99, 204));
    const std::vector<std::uint32_t> settled(colour_table, colour_table + 256);
    const std::int32_t size = count_colour(work(), stand_in_shape_colour(stand_in_bottles));

    frame(2400, 19000);
    EXPECT_EQ(std::vector<std::uint32_t>(colour_table, colour_table + 256), settled);
    EXPECT_GT(count_colour(work(), stand_in_shape_colour(stand_in_bottles)), size);
}

TEST_F(Timeline, SkippedSceneIsNeverEnteredAndColoursCarryOver)
{
    frame(150, 0);
    const std::uint32_t ankels_3 = stand_in_colour(stand_in_ankels, 3);
    EXPECT_EQ(colour(3), ankels_3);
    frame(450, 500);   // scene 2 never ran: its black index 3 was never set
    EXPECT_EQ(colour(3), ankels_3);
    EXPECT_EQ(colour(127), rgb(255, 150, 150));
    EXPECT_EQ(colour(1), rgb(110, 200, 150));
}

TEST_F(Timeline, ColoursASceneDoesNotSetKeepTheEarlierScenesValues)
{
    frame(150, 0);
    frame(250, 100);
    EXPECT_EQ(colour(255), rgb(255, 200, 200));
    EXPECT_EQ(colour(126), rgb(255, 255, 255));
    EXPECT_EQ(colour(127), rgb(255, 150, 150));
    EXPECT_EQ(colour(4), stand_in_colour(stand_in_ankels, 4));
    EXPECT_EQ(colour(1), rgb(255, 180, 180));
}

TEST_F(Timeline, EachEntryRunsOnce)
{
    frame(200, 1000);
    set_colour(1, 9, 9, 9);
    frame(250, 2000);
    EXPECT_EQ(colour(1), rgb(9, 9, 9));
    frame(300, 3000);
    EXPECT_EQ(colour(1), rgb(9, 9, 9));
}

TEST_F(Timeline, FrameAtTheFinalPositionIsDrawnAndEndsTheDemo)
{
    frame(1840, 0);   // the zoom shows the overlay...
    ASSERT_EQ(display_buffer, overlay());
    frame(2100, 100);   // ...and the next frame starts on the work buffer again
    EXPECT_EQ(display_buffer, work());
    frame(2300, 200);
    frame(2499, 300);
    EXPECT_EQ(quit_flag, 0);
    work_buffer.fill(0);
    frame(2500, 400);
    EXPECT_EQ(quit_flag, 1);
    EXPECT_GT(count_colour(work(), 127), 0) << "scene 10 draws the final frame";
}

// A run started part-way (--from 1532 --to 1800): its first frame enters the scene
// that holds the position, and it ends at its own end position instead of 2500.
TEST_F(Timeline, APartStartsByEnteringItsSceneAndEndsAtItsOwnEnd)
{
    end_position = 1800;
    frame(1532, 0);
    const std::uint32_t strutto_2 = stand_in_colour(stand_in_strutto, 2);
    EXPECT_EQ(colour(2), strutto_2);
    EXPECT_EQ(colour(127), rgb(255, 255, 255));
    ASSERT_NE(colour(3), rgb(0, 0, 0));
    frame(1799, 4000);
    EXPECT_EQ(quit_flag, 0);
    frame(1800, 4100);
    end_position = final_position;
    EXPECT_EQ(quit_flag, 1);
    EXPECT_EQ(colour(3), rgb(0, 0, 0)) << "scene 8's entry still ran on the last frame";
}

// The demo's own files, loaded as start-up loads them.
class RealDataTimeline : public TimelineTest {
protected:
    void SetUp() override
    {
        TimelineTest::SetUp();
        ASSERT_TRUE(load_demo_data()) << "the demo's data files are not all in data/";
    }
};

TEST_F(RealDataTimeline, EveryScenePlaysItsScriptOnTheDemoData)
{
    struct Step {
        std::int32_t position, time;
        const char* caption;   // what caption_text holds after the frame, or nullptr
    };
    const Step steps[] = {
        {50, 0, nullptr},        {132, 500, nullptr},     {250, 1000, nullptr},
        {450, 1500, nullptr},    {700, 2000, ""},         {708, 2100, "k"},
        {763, 2200, "kv'05 m"},  {800, 2300, "kv'05 ma"}, {824, 2400, "kv'05 mamas"},
        {950, 3000, nullptr},    {1100, 4000, ""},        {1100, 7600, ""},
        {1120, 7900, "s"},       {1550, 9000, nullptr},   {1850, 9500, nullptr},
        {2150, 10000, "grafix"}, {2250, 10600, "funk"},   {2260, 10800, "pim"},
        {2300, 11000, nullptr},  {2499, 17000, nullptr},  {2500, 18000, nullptr},
    };
    for (const Step& step : steps) {
        frame(step.position, step.time);
        if (step.caption) {
            EXPECT_STREQ(caption_text, step.caption) << "position " << step.position;
        }
        if (step.position == 50) {
            EXPECT_EQ(colour(127), rgb(255, 150, 150));
            EXPECT_EQ(colour(1), demo_data.ankels->palette[1]);
        }
        if (step.position == 2150) {
            EXPECT_EQ(colour(5), demo_data.wobbli->palette[5]);
        }
        if (step.position == 2250) {
            EXPECT_EQ(colour(5), demo_data.zippsy->palette[5]);
        }
    }
    EXPECT_EQ(quit_flag, 1);
    // At d = 7000 the fade has settled on the bottles' own colours.
    const std::uint32_t own = demo_data.bottles->palette[9];
    EXPECT_EQ(colour(9), rgb(red_of(own) * 255 / 256, green_of(own) * 255 / 256, blue_of(own) * 255 / 256));
}

}   // namespace
