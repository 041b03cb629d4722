// Stopping and restarting the real-time output around changes to the player and the
// mixer made on the main thread (a pause, a jump, a reload), on whichever clock drives
// the music: the SDL audio device's thread or the silent clock's timer.
#pragma once

#include <cstdint>

// In place of music_play, the first start of the output after a catch-up has held a
// tick (music_hold_at_tick_start, which also set the tick rate and the heard clock):
// the device's first buffer begins with the held tick's segment, and the silent clock's
// next tick falls due one tick interval from now.
void music_play_from_hold(std::int32_t ticks_per_second);

// Stops the output after music_play: when it returns the audio thread or the silent
// timer is not running the player and will not until music_resume, so the main thread
// may change the player and the mixer freely. The music position stays where it is.
void music_pause();

// Starts the output again from the player and the mixer as they are now: the device's
// next buffer goes on from the mixer's current place (after music_hold_at_tick_start,
// the held tick's first sample), and the silent clock's next tick falls due one tick
// interval from now. The device's pace against the wall clock starts afresh.
void music_resume();

// Counts music_resume calls; the device's fill starts its pace afresh when it changes.
// Written under SDL's audio lock, read on the audio thread.
extern std::uint32_t output_restarts;
