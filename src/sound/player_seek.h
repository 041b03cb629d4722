// Starting the song part-way through, for a maker who wants to hear one part.
#pragma once

#include <cstdint>

// Called between music_load (or pt_init) and the first pt_tick: sets the song up the
// way a position jump to `order` with a pattern break to `row` does, so that the first
// tick plays that row of that order position. Channels start as pt_init left them: no
// note sounds until one is played, and no effect remembers a value. False, changing
// nothing, when the order lies outside the song or the row outside a pattern.
bool pt_start_at(std::int32_t order, std::int32_t row);
