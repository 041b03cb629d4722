#include "sound/player_seek.h"

#include "sound/module.h"
#include "sound/player.h"

bool pt_start_at(std::int32_t order, std::int32_t row)
{
    if (order < 0 || order >= loaded_module.song_length || order >= order_count || row < 0 ||
        row >= rows_per_pattern)
        return false;
    // As B and D on one row: the last row of the order before, so that the next row
    // clock step wraps to the break row of the order asked for.
    song.position.store(order - 1, std::memory_order_relaxed);
    song.row.store(rows_per_pattern - 1, std::memory_order_relaxed);
    song.break_row = static_cast<std::uint32_t>(row);
    // The row clock steps on the next tick whatever speed a file set.
    song.tick = song.speed == 0 ? 0 : song.speed - 1;
    return true;
}
