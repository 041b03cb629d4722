// The song's flow: rows, orders, speed, jumps, breaks, loops, delays and the restart.
#include "sound/player.h"
#include "sound/player_fixture.h"

using Flow = PlayerTest;

namespace {

// The music positions read after each of n ticks.
std::vector<std::int32_t> positions_over(int n)
{
    std::vector<std::int32_t> values;
    for (int i = 0; i < n; ++i) {
        pt_tick();
        values.push_back(music_position());
    }
    return values;
}

}   // namespace

TEST_F(Flow, FirstTickPlaysRowZeroOfOrderZero)
{
    module.cell(0, 0, 2) = {428, 1, 0, 0};
    load();
    EXPECT_EQ(music_position(), -37);
    tick();
    EXPECT_EQ(music_position(), 0);
    EXPECT_EQ(calls_for_voice(2), (std::vector<DeviceCall>{{"set_volume", {40}},
                                                           {"set_channel_sample", {1}},
                                                           {"set_period", {428}},
                                                           {"set_position", {0}}}));
}

TEST_F(Flow, RowsEverySixTicksAndTheSongRestarts)
{
    module.song_length = 1;
    load();
    const auto positions = positions_over(385);
    for (int t = 0; t < 384; ++t)
        ASSERT_EQ(positions[t], t / 6) << "tick " << t;
    EXPECT_EQ(positions[384], 0);
    EXPECT_EQ(song.restarts, 1);
}

TEST_F(Flow, SongEndGoesToTheRestartPosition)
{
    module.song_length = 3;
    module.restart = 1;
    module.orders = {0, 1, 2};
    module.cell(2, 0, 0) = {};
    load();
    const auto positions = positions_over(3 * 384 + 1);
    EXPECT_EQ(positions[3 * 384 - 1], 263);
    EXPECT_EQ(positions[3 * 384], 100);
}

TEST_F(Flow, PositionJumpGoesToTheBreakRowOfItsTarget)
{
    module.song_length = 6;
    module.cell(0, 2, 1) = {0, 0, 0xB, 0x05};
    module.cell(0, 2, 3) = {0, 0, 0xD, 0x12};
    load();
    positions_over(12);
    EXPECT_EQ(positions_over(1)[0], 463);
    EXPECT_EQ(positions_over(5).back(), 463);
    EXPECT_EQ(positions_over(1)[0], 512);
}

TEST_F(Flow, PatternBreakStartsTheNextOrderAtItsRow)
{
    module.song_length = 6;
    module.cell(0, 10, 0) = {0, 0, 0xD, 0x12};
    module.cell(0, 13, 0) = {0, 0, 0xD, 0x99};   // row 99 does not exist: row 0
    load();
    const auto positions = positions_over(6 * 13 + 1);
    EXPECT_EQ(positions[6 * 10], 63);
    EXPECT_EQ(positions[6 * 11], 112);
    EXPECT_EQ(positions[6 * 12], 163);
    EXPECT_EQ(positions[6 * 12 + 5], 163);
    EXPECT_EQ(positions[6 * 13], 200);
}

TEST_F(Flow, JumpsOffTheOrderTableGoToTheRestartPosition)
{
    module.song_length = 200;
    module.restart = 2;
    module.orders[2] = 1;
    module.cell(0, 0, 0) = {0, 0, 0xB, 0xC8};
    module.cell(1, 0, 0) = {};
    load();
    const auto positions = positions_over(7);
    EXPECT_EQ(positions[0], 19963);
    EXPECT_EQ(positions[6], 200);
    EXPECT_EQ(song.restarts, 1);
}

TEST_F(Flow, PatternLoopPlaysItsRowsThreeTimes)
{
    module.song_length = 2;
    module.cell(0, 16, 1) = {0, 0, 0xE, 0x60};
    module.cell(0, 20, 1) = {0, 0, 0xE, 0x62};
    load();
    int row_sixteen = 0;
    int row_twenty_one = -1;
    for (int t = 0; t < 64 * 6 * 3 && row_twenty_one < 0; ++t) {
        pt_tick();
        if (song.tick == 0 && music_position() == 16)
            ++row_sixteen;
        if (music_position() == 21)
            row_twenty_one = t;
    }
    EXPECT_EQ(row_sixteen, 3);
    EXPECT_EQ(row_twenty_one, (21 + 2 * 5) * 6);
}

TEST_F(Flow, PatternDelayHoldsTheRowWithoutChannelWork)
{
    module.cell(0, 0, 0) = {0, 0, 0xF, 4};
    module.cell(0, 1, 0) = {0, 0, 0xE, 0xE2};
    load();
    tick(4);
    tick();
    EXPECT_EQ(music_position(), 1);
    int row_ticks = 1;
    std::vector<int> silent_ticks;
    while (music_position() == 1 && row_ticks < 50) {
        tick();
        if (music_position() == 1) {
            ++row_ticks;
            if (device_calls.empty())
                silent_ticks.push_back(row_ticks - 1);
        }
    }
    EXPECT_EQ(row_ticks, 12);
    EXPECT_EQ(silent_ticks, (std::vector<int>{4, 8}));
}

TEST_F(Flow, SpeedZeroRepeatsTheRowsFirstTickForEver)
{
    module.cell(0, 3, 0) = {428, 1, 0xF, 0};
    module.cell(0, 3, 1) = {0, 0, 0xA, 0x10};
    load();
    tick(18);
    for (int t = 0; t < 10; ++t) {
        tick();
        EXPECT_EQ(music_position(), 3);
        EXPECT_EQ(last_argument(0, "set_position"), 0);
        EXPECT_EQ(last_argument(0, "set_period"), 428);
    }
    EXPECT_EQ(last_argument(1, "set_volume"), -1) << "tick effects must not run";
}

TEST_F(Flow, TempoValuesOfSpeedCommandAreIgnored)
{
    module.cell(0, 0, 0) = {0, 0, 0xF, 125};
    load();
    EXPECT_EQ(positions_over(7).back(), 1);
}
