// Keeping the music in step with the wall clock when nothing else does: the silent
// clock's timer, whose calls come late and at a coarse resolution, and an audio device
// that takes buffers faster than it plays them (a null output, for one).
#pragma once

#include <cstdint>

// The player ticks that the silent clock owes: tick k falls due k / rate seconds after
// the start, tick 0 at the start itself.
struct TickSchedule {
    std::uint32_t start_ms;   // SDL_GetTicks() when playback started
    std::int32_t rate;        // ticks per second
    std::int64_t ticks_run;   // ticks run so far
};

TickSchedule start_tick_schedule(std::uint32_t now_ms, std::int32_t rate);

// How many ticks to run now, at most two seconds' worth; counts them as run.
std::int32_t ticks_due(TickSchedule& schedule, std::uint32_t now_ms);

// How far an audio stream has run ahead of the wall clock since its first buffer.
struct StreamPace {
    bool started;             // false until the first buffer
    std::uint32_t start_ms;   // SDL_GetTicks() at the first buffer
    std::int32_t rate;        // samples per second
    std::int64_t samples_played;
};

StreamPace start_stream_pace(std::int32_t rate);

// Samples the stream is ahead of the wall clock beyond an allowance of 0.75 s, the lead a
// device normally keeps (0 when it is not that far ahead).
// The first call starts the clock.
std::int64_t stream_excess(StreamPace& pace, std::uint32_t now_ms);

// Milliseconds that an excess of samples takes to play, rounded up.
std::uint32_t excess_ms(const StreamPace& pace, std::int64_t excess);
