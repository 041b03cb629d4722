// Song flows that only a damaged or hostile module produces: the player must keep its
// order position on the order table whatever the effects do.
#include "sound/player.h"
#include "sound/player_fixture.h"

using HostileFlow = PlayerTest;

// B00 sets the position to -1 and the row to 63, expecting the row to wrap into order
// 0; a pattern loop on a later channel of the same row sends the row back instead, so
// it never wraps. The next row must not look up order -1: the song goes on at its
// restart position, as it does when it runs off the order table in any other way.
TEST_F(HostileFlow, JumpUndoneByAPatternLoopGoesOnAtTheRestartPosition)
{
    module.song_length = 2;
    module.restart = 1;
    module.orders = {0, 1};
    module.pattern_count = 2;
    module.cell(0, 0, 1) = {0, 0, 0xE, 0x60};   // loop start at row 0
    module.cell(0, 2, 0) = {0, 0, 0xB, 0x00};   // jump to order 0
    module.cell(0, 2, 1) = {0, 0, 0xE, 0x61};   // loop back once to row 0
    load();
    tick(13);
    EXPECT_EQ(music_position(), -101);   // order -1, row -1: both pending
    tick(6);
    EXPECT_EQ(music_position(), 100);
    EXPECT_EQ(song.restarts, 1);
}
