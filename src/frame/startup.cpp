#include "frame/startup.h"

#include "frame/frame.h"
#include "frame/main_loop.h"
#include "sound/music_render.h"
#include "sound/sound.h"

#include <cstdio>
#include <cstdlib>

namespace {

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

ModuleFile load_module_file(const char* file_name)
{
    // Kept for the whole run: the player rewrites its patterns in place and the voices
    // play their samples straight from it.
    auto* bytes = static_cast<std::uint8_t*>(std::malloc(module_buffer_bytes));
    if (!bytes) {
        std::fprintf(stderr, "tinkettles: out of memory for the module\n");
        return {};
    }
    std::size_t size = 0;
    if (!read_module_file("tinkettles", file_name, bytes, &size)) {
        std::free(bytes);
        return {};
    }
    return {file_name, bytes, size};
}

bool start_music(const ModuleFile& module)
{
    if (!music_load(module.bytes, module.size)) {
        std::fprintf(stderr, "tinkettles: %s: %s\n", module.name, last_error);
        return false;
    }
    music_play(demo_ticks_per_second);
    // The first tick moves the position from -37 to 0.
    while (static_cast<std::uint32_t>(music_position()) > 100) {
    }
    return true;
}

int demo_main(int argc, char** argv)
{
    // Every data file is read before the display opens, so that a missing one ends
    // the program before any window appears.
    if (!load_demo_data())
        return 1;
    const ModuleFile module = load_module_file("data/da_wobble.mod");
    if (!module.bytes)
        return 1;
    reset_timeline();
    if (!open_display(runs_windowed(argc, argv)))
        return 1;
    start_sound();
    if (!start_music(module))
        return 1;
    timeline_start_ticks = SDL_GetTicks();
    work_buffer.fill(127);
    run_main_loop();
    // Gives a full-screen run's video mode back to the desktop.
    SDL_Quit();
    return 0;
}
