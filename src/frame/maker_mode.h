// The demo with a maker's controls (tinkettles --maker): pause, exact jumps by scene or
// order, a loop, a status line in the border, and data files that reload as they
// change. Without --maker none of this runs and the demo is unchanged.
#pragma once

#include <cstdint>

struct DemoOptions;

// The music position the maker's jump keys go to from `position`, within [0, end):
// the previous or next scene's first position (direction -1 or +1), and for the order
// keys the previous or next order's row 0. The start of the song (0) is as far back as
// a jump goes; a jump past the last scene, or to `end` or beyond, stays where it is
// (returns -1).
std::int32_t scene_jump_target(std::int32_t position, int direction, std::int32_t end);
std::int32_t order_jump_target(std::int32_t position, int direction, std::int32_t end);

// The part L loops from `position`: the --from/--to part when either was given, else
// the scene that holds the position.
struct LoopPart {
    std::int32_t first;
    std::int32_t end;   // first position past it
};
LoopPart loop_part(std::int32_t position, const DemoOptions& options, bool part_given);

// Runs after start_playing_from until Escape, a mouse button, the window's close
// button or (when not looping) the end position.
void run_maker_loop(const DemoOptions& options);
