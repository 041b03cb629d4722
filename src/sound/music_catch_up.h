// Playing the song from its first tick quickly and without output, so that real-time
// output can begin anywhere with the player and the mixer exactly as a whole run has
// them there. The caller keeps the audio device from running meanwhile (music_pause).
#pragma once

#include <cstddef>
#include <cstdint>

// Back to the state start-up leaves before the first tick: the module's bytes copied
// from `original` (loading rewrites them in place, and the voices play straight from
// them), every voice and sample slot cleared, the player loaded and initialised, and
// the mixer's tick clock restarted at the demo's 47 ticks a second. `module` holds
// `size` bytes of room. Returns the player's reason when it refuses the module, else
// nullptr.
const char* music_rewind(std::uint8_t* module, const std::uint8_t* original, std::size_t size);

// The player's next tick, as the audio device runs it at the start of the tick's
// segment; its segment is left unmixed.
void music_run_tick();

// The segment of the tick run last mixed into nothing: the voices move on exactly as
// when it is heard. Nothing is mixed in sound mode 0.
void music_mix_tick_silently();

// The number of ticks the audio device has run once it has delivered `samples` samples
// from the start: the tick that begins a segment runs with the buffer that holds the
// segment's first sample, or that ends just before it.
std::int64_t ticks_run_by_sample(std::int64_t samples);

// Samples from the start of the song to the first sample of tick `tick` (from 0).
std::int64_t first_sample_of_tick(std::int64_t tick);

// After music_run_tick: the next buffer the device fills begins with this tick's
// segment, so its first sample is the tick's first. The heard clock starts afresh there,
// at the position this tick left.
void music_hold_at_tick_start();
