#include "sound/audio_output.h"
#include "sound/heard_clock.h"
#include "sound/mixer.h"
#include "sound/music_output.h"
#include "sound/music_stream.h"
#include "sound/pacing.h"
#include "sound/player.h"
#include "sound/sound.h"

#include <SDL.h>

#include <atomic>

std::atomic<bool> audio_thread_may_block{false};
std::atomic<bool> output_outran_clock{false};

namespace {

// Written before the timer starts; afterwards only the timer thread touches it.
TickSchedule silent_schedule;

// Whether the timer ticks the player: from the start without sound, or while the sound
// output is given up. The timer marks itself ticking before it looks (sequentially
// consistent, as the handover in audio_fill), so that whoever stops the clock can wait
// for a tick in progress.
std::atomic<bool> silent_clock_runs{false};
std::atomic<bool> timer_ticking{false};

// SDL's timers fire on a 10 ms grid and round a longer interval up to it (21 ms
// becomes 30), so the timer only looks at the wall clock; the schedule says how many
// ticks are due, and a late call catches up.
constexpr Uint32 silent_poll_ms = 10;

Uint32 timer_tick(Uint32 interval)
{
    timer_ticking.store(true);
    if (silent_clock_runs.load()) {
        for (std::int32_t n = ticks_due(silent_schedule, SDL_GetTicks()); n > 0; --n)
            pt_tick();
    }
    timer_ticking.store(false);
    return interval;
}

// Returns once the timer no longer ticks the player.
void stop_silent_clock()
{
    silent_clock_runs.store(false);
    while (timer_ticking.load())
        SDL_Delay(1);
}

// `ticks_already_run` ticks of the schedule count as run: 0 from the start (tick 0
// falls due at once), 1 when the player has just run a tick of its own.
void start_silent_clock(std::int32_t ticks_per_second, std::int64_t ticks_already_run)
{
    SDL_InitSubSystem(SDL_INIT_TIMER);
    silent_schedule = start_tick_schedule(SDL_GetTicks(), ticks_per_second);
    silent_schedule.ticks_run = ticks_already_run;
    silent_clock_runs.store(true, std::memory_order_release);
    SDL_SetTimer(silent_poll_ms, timer_tick);
}

// Main thread only: how long the output has taken no sound.
struct OutputWatch {
    std::int32_t ticks_per_second;
    std::int64_t samples_seen;   // heard_clock_samples() when last looked at
    Uint32 since_ms;             // when that count last changed
    Uint32 first_ms;             // when it first changed
    bool took_some;              // it has changed
    bool playing;                // it changed again a while after the first time
    bool given_up;
    // After the output comes back: until the listener hears `back_at` (a stream sample)
    // the silence handed while it was given up plays, and the position shown stays
    // the one the music came back at.
    std::int64_t back_at;
    std::int32_t back_position;
};
OutputWatch output_watch;

// An output takes its first buffers in one burst (PulseAudio: three at once), then
// may take nothing until its server has started the stream (0.8 to 1.9 s here).
// Taking sound again this long after the burst shows that it plays.
constexpr Uint32 output_burst_ms = 100;

void note_output_took(Uint32 now)
{
    if (!output_watch.took_some) {
        output_watch.took_some = true;
        output_watch.first_ms = now;
    } else if (now - output_watch.first_ms >= output_burst_ms) {
        output_watch.playing = true;
    }
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

namespace {

// The watch over a device that has not taken sound yet.
void start_watching_output(std::int32_t ticks_per_second)
{
    output_watch = OutputWatch{};
    output_watch.back_at = -1;
    output_watch.ticks_per_second = ticks_per_second;
    output_watch.since_ms = SDL_GetTicks();
}

// The audio thread has been waiting since the device opened. Unpausing under SDL's
// audio lock, which the thread takes around every callback, hands it the loaded module,
// the voices and the tick rate written here on the main thread.
void unpause_device()
{
    SDL_LockAudio();
    SDL_PauseAudio(0);
    SDL_UnlockAudio();
}

}   // namespace

void music_play(std::int32_t ticks_per_second)
{
    set_tick_rate(ticks_per_second);
    start_watching_output(ticks_per_second);
    if (sound_mode == 1 || sound_mode == 2) {
        heard_clock_reset(music_position());
        unpause_device();
        return;
    }
    start_silent_clock(ticks_per_second, 0);
}

void music_play_from_hold(std::int32_t ticks_per_second)
{
    start_watching_output(ticks_per_second);
    if (sound_mode == 1 || sound_mode == 2) {
        unpause_device();
        return;
    }
    // The held tick has run: the schedule counts it as tick 0.
    start_silent_clock(ticks_per_second, 1);
}

std::int32_t music_position()
{
    // Two separate reads: one torn pair for one frame at most, as the scenes allow.
    const std::int32_t position = song.position.load(std::memory_order_relaxed);
    const std::int32_t row = song.row.load(std::memory_order_relaxed);
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(position) * 100u +
                                     static_cast<std::uint32_t>(row));
}

// Pausing and resuming the output, for the maker's controls.

std::uint32_t output_restarts = 0;

namespace {

// Whether the silent clock was stopped by music_pause, to be started again on resume.
bool silent_clock_paused = false;

}   // namespace

void music_pause()
{
    if (sound_mode == 1 || sound_mode == 2) {
        // Under the lock the callback is not running; paused, SDL calls it no more.
        SDL_LockAudio();
        SDL_PauseAudio(1);
        SDL_UnlockAudio();
    }
    // The timer ticks the player without sound, and while the output is given up.
    silent_clock_paused = silent_clock_runs.load();
    if (silent_clock_paused)
        stop_silent_clock();
}

void music_resume()
{
    // A catch-up restarts the mixer's clock, which hands the player back to the audio
    // thread: while the output is given up the timer keeps it.
    if (output_watch.given_up)
        take_player_from_audio();
    // The heard clock starts afresh after a catch-up: what was noted of the stream
    // before it no longer applies.
    if (heard_clock_samples() < output_watch.samples_seen)
        output_watch.back_at = -1;
    output_watch.samples_seen = heard_clock_samples();
    output_watch.since_ms = SDL_GetTicks();
    if (sound_mode == 1 || sound_mode == 2) {
        SDL_LockAudio();
        ++output_restarts;
        SDL_PauseAudio(0);
        SDL_UnlockAudio();
    }
    // The current tick has run: the schedule counts it as tick 0.
    if (silent_clock_paused)
        start_silent_clock(output_watch.ticks_per_second, 1);
    silent_clock_paused = false;
}

std::int32_t heard_position()
{
    if (sound_mode == 0 || output_watch.given_up)
        return music_position();
    const std::int64_t heard = output_heard_sample();
    if (heard < output_watch.back_at)
        return output_watch.back_position;
    return heard_position_at(heard);
}

namespace {

// The player goes on from where the mixer left it, ticked by the timer. The audio
// thread may be blocked inside SDL for good: nothing here waits for it beyond a
// callback already mixing.
void give_up_output()
{
    output_watch.given_up = true;
    take_player_from_audio();
    start_silent_clock(output_watch.ticks_per_second, 1);
}

// The output takes sound again: the mixer ticks the player again from where the silent
// clock left it, in the buffer after those already handed.
void take_output_back()
{
    stop_silent_clock();
    output_watch.back_at = heard_clock_samples();
    output_watch.back_position = music_position();
    // audio_fill records no tick while the player is taken: this thread is the heard
    // clock's only writer until it gives the player back.
    heard_clock_record_tick(output_watch.back_at, output_watch.back_position);
    give_player_back_to_audio();
    output_watch.given_up = false;
}

}   // namespace

SoundOutputChange watch_sound_output()
{
    if (sound_mode == 0)
        return SoundOutputChange::none;
    const Uint32 now = SDL_GetTicks();
    const std::int64_t handed = heard_clock_samples();
    if (handed != output_watch.samples_seen) {
        output_watch.samples_seen = handed;
        output_watch.since_ms = now;
        note_output_took(now);
        if (!output_watch.given_up)
            return SoundOutputChange::none;
        take_output_back();
        return SoundOutputChange::back;
    }
    const Uint32 limit = output_watch.playing ? sound_output_stall_ms : sound_output_start_ms;
    if (output_watch.given_up || now - output_watch.since_ms < limit)
        return SoundOutputChange::none;
    give_up_output();
    return SoundOutputChange::given_up;
}

bool sound_close_may_wait()
{
    return output_watch.given_up || audio_thread_may_block.load() || output_outran_clock.load();
}
