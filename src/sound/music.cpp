#include "sound/audio_output.h"
#include "sound/heard_clock.h"
#include "sound/mixer.h"
#include "sound/pacing.h"
#include "sound/player.h"
#include "sound/sound.h"

#include <SDL.h>

namespace {

// Written before the timer starts; afterwards only the timer thread touches it.
TickSchedule silent_schedule;

// SDL's timers fire on a 10 ms grid and round a longer interval up to it (21 ms
// becomes 30), so the timer only looks at the wall clock; the schedule says how many
// ticks are due, and a late call catches up.
constexpr Uint32 silent_poll_ms = 10;

Uint32 timer_tick(Uint32 interval)
{
    if (sound_mode == 0) {
        for (std::int32_t n = ticks_due(silent_schedule, SDL_GetTicks()); n > 0; --n)
            pt_tick();
    }
    return interval;
}

}   // namespace

int music_load(std::uint8_t* module, std::size_t size)
{
    song.position.store(0, std::memory_order_relaxed);
    song.row.store(0, std::memory_order_relaxed);
    if (!pt_takemod(module, size))
        return 0;
    pt_init();
    return 1;
}

void music_play(std::int32_t ticks_per_second)
{
    set_tick_rate(ticks_per_second);
    if (sound_mode == 1 || sound_mode == 2) {
        heard_clock_reset(music_position());
        // The audio thread has been waiting since the device opened. Unpausing under
        // SDL's audio lock, which the thread takes around every callback, hands it the
        // loaded module, the voices and the tick rate written here on the main thread.
        SDL_LockAudio();
        SDL_PauseAudio(0);
        SDL_UnlockAudio();
        return;
    }
    SDL_Init(SDL_INIT_TIMER);
    silent_schedule = start_tick_schedule(SDL_GetTicks(), ticks_per_second);
    SDL_SetTimer(silent_poll_ms, timer_tick);
}

std::int32_t music_position()
{
    // Two separate reads: one torn pair for one frame at most, as the scenes allow.
    const std::int32_t position = song.position.load(std::memory_order_relaxed);
    const std::int32_t row = song.row.load(std::memory_order_relaxed);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(position) * 100u +
                                     static_cast<std::uint32_t>(row));
}

std::int32_t heard_position()
{
    if (sound_mode == 0)
        return music_position();
    return heard_position_at(output_heard_sample());
}
