// Starting the song part-way: the first tick plays the chosen row of the chosen order,
// exactly as a position jump with a pattern break reaches it.
#include "sound/player.h"
#include "sound/player_fixture.h"
#include "sound/player_seek.h"

using Seek = PlayerTest;

namespace {

// Three orders on patterns 2, 0, 1, each row of channel 1 marked by its own note.
void mark_rows(TestModule& module)
{
    module.song_length = 3;
    module.pattern_count = 3;
    module.orders = {2, 0, 1};
    for (int pattern = 0; pattern < 3; ++pattern)
        module.cell(pattern, 5, 1) = {period_of_note(24 + pattern * 12), 1, 0, 0};
}

}   // namespace

TEST_F(Seek, FirstTickPlaysTheChosenRowOfTheChosenOrder)
{
    mark_rows(module);
    load();
    ASSERT_TRUE(pt_start_at(2, 5));
    tick();
    EXPECT_EQ(music_position(), 205);
    // Order 2 holds pattern 1: its row 5 note, on the row's first tick.
    EXPECT_EQ(last_argument(1, "set_period"), period_of_note(36));
    EXPECT_EQ(last_argument(1, "set_channel_sample"), 1);
    // Rows go on at the module's speed from there, and the order after it follows.
    tick(6);
    EXPECT_EQ(music_position(), 206);
    tick(6 * 57);
    EXPECT_EQ(music_position(), 263);
    tick(6);
    EXPECT_EQ(music_position(), 0);   // past the song's end: its restart position
}

TEST_F(Seek, StartingAtOrderZeroRowZeroIsTheOrdinaryStart)
{
    mark_rows(module);
    module.cell(2, 0, 3) = {428, 1, 0, 0};
    load();
    ASSERT_TRUE(pt_start_at(0, 0));
    tick();
    EXPECT_EQ(music_position(), 0);
    EXPECT_EQ(last_argument(3, "set_period"), 428);
    tick(6 * 5);
    // Order 0 holds pattern 2: its marked row.
    EXPECT_EQ(music_position(), 5);
    EXPECT_EQ(last_argument(1, "set_period"), period_of_note(48));
}

TEST_F(Seek, LastRowOfAnOrderThenTheNextOrderFromItsFirstRow)
{
    mark_rows(module);
    load();
    ASSERT_TRUE(pt_start_at(1, 63));
    tick();
    EXPECT_EQ(music_position(), 163);
    tick(6);
    EXPECT_EQ(music_position(), 200);
}

TEST_F(Seek, PlacesOutsideTheSongAreRefusedAndChangeNothing)
{
    mark_rows(module);
    load();
    EXPECT_FALSE(pt_start_at(3, 0));   // the song has orders 0 to 2
    EXPECT_FALSE(pt_start_at(-1, 0));
    EXPECT_FALSE(pt_start_at(0, 64));
    EXPECT_FALSE(pt_start_at(0, -1));
    EXPECT_EQ(music_position(), -37);
    tick();
    EXPECT_EQ(music_position(), 0);
}
