// The path the player takes through a song: order by order and row by row, following
// position jumps, pattern breaks and pattern loops, without timing or sound.
#pragma once

#include "score.h"

namespace compose {

// Whether the player, starting at order 0, ever reaches order position `order`.
// A song shorter than that wraps to its restart position first; a jump back can keep
// it from ever getting there.
bool song_reaches_order(const Song& song, int order);

}   // namespace compose
