#include "frame/startup.h"

#include "frame/data_folder.h"
#include "frame/demo_options.h"
#include "frame/frame.h"
#include "frame/main_loop.h"
#include "sound/module.h"
#include "sound/music_stream.h"
#include "sound/player_seek.h"
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
        std::fprintf(stderr, "tinkettles: no sound (%s: %s); playing silently\n", last_error, SDL_GetError());
    }
}

bool module_refused(const ModuleFile& module, const char* reason)
{
    std::fprintf(stderr, "%s: %s: %s\n", program_name, module.name, reason);
    return false;
}

}   // namespace

ModuleFile load_module_file(const char* file_name)
{
    // Kept for the whole run: the player rewrites its patterns in place and the voices
    // play their samples straight from it.
    auto* bytes = static_cast<std::uint8_t*>(std::malloc(module_buffer_bytes));
    if (!bytes) {
        std::fprintf(stderr, "%s: out of memory for the module\n", program_name);
        return {};
    }
    const ModuleRead read = read_module_file(file_name, bytes);
    if (read.status != ModuleReadStatus::whole) {
        char reason[module_message_capacity];
        describe_module_read(read, file_name, reason, sizeof reason);
        std::fprintf(stderr, "%s: %s\n", program_name, reason);
    }
    if (module_read_failed(read)) {
        std::free(bytes);
        return {};
    }
    return {file_name, bytes, read.size};
}

ModuleFile load_everything(const char* data_folder_option)
{
    if (!find_demo_data_folder(data_folder_option) || !load_demo_data())
        return {};
    // Kept for the whole run: the module's messages name it.
    static char module_path[data_path_capacity];
    if (!data_file_path("data/da_wobble.mod", module_path, sizeof module_path)) {
        std::fprintf(stderr, "%s: the data folder's path is too long\n", program_name);
        return {};
    }
    const ModuleFile module = load_module_file(module_path);
    reset_timeline();
    return module;
}

bool load_music(const ModuleFile& module)
{
    return music_load(module.bytes, module.size) || module_refused(module, last_error);
}

bool start_offline_music(const ModuleFile& module, MusicStream* stream)
{
    const char* refusal = start_music_stream(stream, 2, module.bytes, module.size);
    return !refusal || module_refused(module, refusal);
}

bool start_music_at(std::int32_t from)
{
    if (from >= 0 && !pt_start_at(from / 100, from % 100)) {
        std::fprintf(stderr, "tinkettles: --from %d: the song has orders 0 to %d only\n",
                     static_cast<int>(from), static_cast<int>(loaded_module.song_length - 1));
        return false;
    }
    const std::int32_t before = music_position();
    music_play(demo_ticks_per_second);
    // The first tick moves the position on: from -37 to 0, or to the chosen start. An
    // output that never takes sound is given up, and the silent clock ticks instead.
    while (music_position() == before) {
        keep_sound_watched();
        SDL_Delay(1);
    }
    return true;
}

bool start_music(const ModuleFile& module)
{
    return load_music(module) && start_music_at(-1);
}

int demo_main(int argc, char** argv)
{
    DemoOptions options;
    switch (parse_demo_options(argc, argv, &options)) {
    case DemoCommand::help: print_demo_usage(stdout); return 0;
    case DemoCommand::version: std::printf("tinkettles %s\n", TINKETTLES_VERSION); return 0;
    case DemoCommand::usage_error: print_demo_usage(stderr); return 2;
    case DemoCommand::run: break;
    }
    // Every data file is read before the display opens, so that a missing one ends
    // the program before any window appears.
    const ModuleFile module = load_everything(options.data_folder);
    if (!module.bytes)
        return 1;
    end_position = options.to;
    if (!open_frame_log() || !open_display(options.windowed))
        return 1;
    start_sound();
    if (!load_music(module) || !start_music_at(options.from))
        return 1;
    timeline_start_ticks = SDL_GetTicks();
    work_buffer.fill(127);
    run_main_loop();
    close_frame_log();
    if (sound_output_given_up()) {
        // SDL's audio thread may be blocked for good, and closing audio (SDL_Quit
        // does) would wait for it: the display is given back alone, and the process
        // ends without running anything that might close audio.
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        std::fflush(nullptr);
        std::_Exit(0);
    }
    // Gives a full-screen run's video mode back to the desktop.
    SDL_Quit();
    return 0;
}
