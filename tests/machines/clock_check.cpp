// The music clock against the wall clock, on whichever SDL 1.2 library is loaded:
//   clock_check silent SECONDS       no audio device: the timer-driven silent clock
//   clock_check null-device SECONDS  ALSA writing to a null output, which never blocks
// Each case runs in its own process, since ALSA reads its configuration once.
// The module plays one row per tick, so the position counts the player's ticks.
#include "common/files.h"
#include "common/scratch_folder.h"
#include "sound/module_writer.h"
#include "sound/sound.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

constexpr std::int64_t ticks_per_second = 47;

int failures = 0;

void check(bool ok, const std::string& what)
{
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    if (!ok)
        ++failures;
}

// Speed 1 (a row each tick) through 128 orders of one pattern: 8,192 ticks, 174 s.
std::vector<std::uint8_t> tick_counting_module()
{
    TestModule module;
    module.song_length = 128;
    module.cell(0, 0, 0) = {0, 0, 0xF, 0x01};
    return module.bytes();
}

// Ticks run so far, from a position that did not change between two reads (a single
// read may pair a new order with an old row).
std::int64_t ticks_run()
{
    for (;;) {
        const std::int32_t first = music_position();
        const std::int32_t second = music_position();
        if (first == second)
            return first < 0 ? 0 : std::int64_t{first / 100} * 64 + first % 100 + 1;
    }
}

std::int64_t ticks_due_after(std::int64_t ms)
{
    return ms < 0 ? 0 : ms * ticks_per_second / 1000 + 1;
}

// Plays for the given seconds, checking once a second that the ticks run lie between
// what the wall clock calls for, less late_ticks, and the same plus lead_ticks.
void play_in_step(int seconds, std::int64_t late_ticks, std::int64_t lead_ticks)
{
    // The player reads the module until SDL stops at the end of main.
    static std::vector<std::uint8_t> bytes = tick_counting_module();
    if (!music_load(bytes.data(), bytes.size())) {
        check(false, "the test module loads");
        return;
    }
    const std::uint32_t before_start = SDL_GetTicks();
    music_play(static_cast<std::int32_t>(ticks_per_second));
    const std::uint32_t after_start = SDL_GetTicks();
    bool in_step = true;
    for (int second = 1; second <= seconds && in_step; ++second) {
        const std::int64_t wait = std::int64_t{before_start} + 1000 * second - SDL_GetTicks();
        SDL_Delay(static_cast<std::uint32_t>(std::max<std::int64_t>(wait, 0)));
        const std::uint32_t before = SDL_GetTicks();
        const std::int64_t low = ticks_due_after(std::int64_t{before} - after_start) - late_ticks;
        std::int64_t ticks = 0;
        std::int64_t high = 0;
        // A loaded machine may starve the clock's thread for a moment: it gets half a
        // second to catch up before the music counts as behind.
        for (int attempt = 0; attempt < 50; ++attempt) {
            ticks = ticks_run();
            const std::uint32_t after = SDL_GetTicks();
            high = ticks_due_after(std::int64_t{after} - before_start) + lead_ticks;
            in_step = ticks >= low && ticks <= high;
            if (in_step || ticks > high)
                break;
            SDL_Delay(10);
        }
        std::printf("%2d s: %lld ticks (%lld..%lld)\n", second, static_cast<long long>(ticks),
                    static_cast<long long>(low), static_cast<long long>(high));
    }
    check(in_step, "the music keeps to the wall clock for " + std::to_string(seconds) + " s");
}

// A timer call can come a poll interval or two late, more on a loaded machine; one row
// of the demo's music (six ticks) is the margin.
constexpr std::int64_t late_margin = 6;

void silent(int seconds)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    SDL_Init(SDL_INIT_TIMER);
    check(sound_start_mode('2') == 0 && sound_mode == 0, "no audio device: the silent device is installed");
    play_in_step(seconds, late_margin, 0);
}

void null_device(int seconds)
{
    // A home of our own whose ALSA configuration sends the default output nowhere.
    const ScratchFolder scratch("null-alsa");
    const std::filesystem::path home = scratch.path;
    write_text(home / ".asoundrc", "pcm.!default { type null }\n");
    setenv("HOME", home.c_str(), 1);
    setenv("SDL_AUDIODRIVER", "alsa", 1);
    SDL_Init(SDL_INIT_TIMER);
    const bool opened = sound_start_mode('2') == 1 && sound_mode == 2;
    check(opened, std::string("the null device opens (") + SDL_GetError() + ")");
    if (opened) {
        // The device may run up to three quarters of a second (35.3 ticks) ahead, plus the
        // buffer being mixed (2.2 ticks) and the tick at its start.
        play_in_step(seconds, late_margin, 39);
        check(sound_close_may_wait(), "a null device is known to take sound faster than it plays");
        // As the demo ends: closing audio could wait a minute for the audio thread.
        std::filesystem::remove_all(home);
        std::fflush(nullptr);
        std::_Exit(failures == 0 ? 0 : 1);
    }
    SDL_CloseAudio();
}

}   // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: clock_check silent|null-device SECONDS\n");
        return 2;
    }
    const std::string which = argv[1];
    const int seconds = std::atoi(argv[2]);
    if (which == "silent")
        silent(seconds);
    else if (which == "null-device")
        null_device(seconds);
    else {
        std::fprintf(stderr, "clock_check: unknown case %s\n", which.c_str());
        return 2;
    }
    SDL_Quit();
    return failures == 0 ? 0 : 1;
}
