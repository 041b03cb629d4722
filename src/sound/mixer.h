// The clock that the audio callback keeps: tick interval and the carry of a tick segment
// from one output buffer into the next.
#pragma once

#include <cstdint>

inline constexpr int mix_buffer_samples = 2048;

extern std::int32_t tick_interval;   // whole milliseconds between ticks
extern std::int32_t segment_carry;   // samples of the current tick still to mix

// Samples per tick segment at the current sound mode and tick rate.
std::int32_t segment_length();

// Sets the tick rate and its interval, and starts the segment sequence afresh.
void set_tick_rate(std::int32_t ticks_per_second);

// Forgets which one-shot voices ran to their end, as before the first buffer; for a
// restart of the song from its first tick.
void reset_mixer_voices();
