// Plays a module on SDL's audio thread the way the demo does, while this thread reads
// the music position in a tight loop as the main loop does; run under ThreadSanitizer.
// Fails when the position never gets going or leaves its range.
//   tsan_playback <module file> <seconds>
#include "sound/sound.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

int fail(const char* what)
{
    std::fprintf(stderr, "tsan_playback: %s\n", what);
    return 1;
}

bool read_module(const char* file_name, std::vector<std::uint8_t>* module)
{
    std::FILE* file = std::fopen(file_name, "rb");
    if (!file)
        return false;
    module->resize(1000000);
    module->resize(std::fread(module->data(), 1, module->size(), file));
    std::fclose(file);
    return true;
}

// A position the player can produce: rows 0..63 of orders 0..127. (Loops and jumps
// may move it backwards, so its order over time is not checked.)
bool in_range(std::int32_t position)
{
    return position >= 0 && position % 100 <= 63 && position / 100 <= 127;
}

}   // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return fail("usage: tsan_playback <module file> <seconds>");
    std::vector<std::uint8_t> module;
    if (!read_module(argv[1], &module))
        return fail("cannot read the module");
    const Uint32 run_ms = static_cast<Uint32>(std::atoi(argv[2])) * 1000;

    SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO);
    if (!sound_start_mode('2'))
        return fail("no audio device (is SDL_AUDIODRIVER=dummy set?)");
    if (!music_load(module.data(), module.size()))
        return fail(last_error);
    music_play(47);

    const Uint32 start = SDL_GetTicks();
    std::int32_t highest = -1;
    while (SDL_GetTicks() - start < run_ms) {
        const std::int32_t position = music_position();
        // Before the first tick; or, while the first tick moves order -1 row 63 to
        // order 0 row 0, the new row read with the old order (a torn pair, which the
        // unlocked read allows for one reading).
        if (position == -37 || position == -100)
            continue;
        if (!in_range(position)) {
            SDL_CloseAudio();
            std::fprintf(stderr, "tsan_playback: impossible position %d\n", position);
            return 1;
        }
        highest = position > highest ? position : highest;
    }
    // The audio thread plays straight from the module buffer: stop it before the
    // buffer goes.
    SDL_CloseAudio();
    // 47 ticks a second at six ticks a row play about eight rows a second.
    if (highest < 8)
        return fail("the music position hardly moved");
    std::printf("tsan_playback: reached position %d\n", highest);
    return 0;
}
