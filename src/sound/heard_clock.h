// The heard clock: which music position the listener hears at a given sample of the
// output stream. The mixer (on the audio thread) records, for every player tick it runs,
// the stream sample where that tick's segment begins and the music position the tick
// left; the main thread maps the sample being heard now to the position recorded for
// it. Between the mixer and the ear lie the buffers already handed to the output and the
// output's own latency, so the position heard trails the player's by that much.
//
// One writer (the thread that runs audio_fill) and any number of readers; lock-free, no
// allocation. Stream samples count from 0 at the last heard_clock_reset, in the output's
// samples (44100 or 22050 a second).
#pragma once

#include <cstdint>

// The ticks kept: 256 ticks of 938 samples are 5.4 s at 44100 Hz, far more than any
// output holds queued.
inline constexpr std::int32_t heard_clock_capacity = 256;

// Forgets every tick and sets the stream back to sample 0; `position` is the one heard
// before the first tick. Call while no audio_fill runs (before the output starts).
void heard_clock_reset(std::int32_t position);

// Audio thread: a tick whose segment starts at `start_sample`, leaving the music at
// `position` (0..999,999). Start samples must grow from one tick to the next.
void heard_clock_record_tick(std::int64_t start_sample, std::int32_t position);

// Audio thread: `samples` more samples handed to the output (mixed or silence).
void heard_clock_advance(std::int32_t samples);

// Samples handed to the output since the reset.
std::int64_t heard_clock_samples();

// The position heard at `stream_sample`: that of the last tick starting at or before it.
// Before the first tick, the reset's position; for a sample older than the ticks kept,
// the oldest kept tick's. Never blocks; a reader overtaken by the writer while reading
// (256 ticks in one call) gets the oldest position it saw intact.
std::int32_t heard_position_at(std::int64_t stream_sample);
