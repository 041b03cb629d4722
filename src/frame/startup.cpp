#include "frame/startup.h"

#include "frame/frame.h"
#include "frame/main_loop.h"
#include "sound/sound.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::size_t module_buffer_size = 1000000;
constexpr std::int32_t ticks_per_second = 47;

void start_sound()
{
    // The sound system asks which device to use; the answer is always "2", the
    // SDL audio device at 44100 Hz. The line feed goes back first so that "2" is
    // read first.
    std::ungetc('\n', stdin);
    std::ungetc('2', stdin);
    if (!sound_start()) {
        std::fprintf(stderr, "tinkettles: no sound (%s: %s); playing silently\n", last_error,
                     SDL_GetError());
    }
}

}  // namespace

bool start_music(const char* module_file)
{
    // Kept for the whole run: the player rewrites its patterns in place and the voices
    // play their samples straight from it.
    auto* module = static_cast<std::uint8_t*>(std::malloc(module_buffer_size));
    if (!module) {
        std::fprintf(stderr, "tinkettles: out of memory for the module\n");
        return false;
    }
    std::FILE* file = std::fopen(module_file, "rb");
    if (!file) {
        std::fprintf(stderr, "tinkettles: cannot open %s: %s\n", module_file,
                     std::strerror(errno));
        return false;
    }
    const std::size_t size = std::fread(module, 1, module_buffer_size, file);
    std::fclose(file);
    if (!music_load(module, size)) {
        std::fprintf(stderr, "tinkettles: %s: %s\n", module_file, last_error);
        return false;
    }
    music_play(ticks_per_second);
    // The first tick moves the position from -37 to 0.
    while (static_cast<std::uint32_t>(music_position()) > 100) {
    }
    return true;
}

int demo_main(int argc, char** argv)
{
    if (!load_demo_data())
        return 1;
    reset_timeline();
    if (!open_display(runs_windowed(argc, argv)))
        return 1;
    start_sound();
    if (!start_music("data/da_wobble.mod"))
        return 1;
    timeline_start_ticks = SDL_GetTicks();
    work_buffer.fill(127);
    run_main_loop();
    // Gives a full-screen run's video mode back to the desktop.
    SDL_Quit();
    return 0;
}
