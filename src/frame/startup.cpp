#include "frame/startup.h"

#include "frame/data_folder.h"
#include "frame/calm.h"
#include "frame/demo_options.h"
#include "frame/exact_start.h"
#include "frame/maker_mode.h"
#include "frame/frame.h"
#include "frame/main_loop.h"
#include "sound/module.h"
#include "sound/music_stream.h"
#include "sound/sound.h"

#include <cstdio>
#include <cstdlib>

namespace {

void start_sound()
{
    // Always sound mode 2, the SDL audio device at 44100 Hz.
    if (!sound_start_mode('2')) {
        std::fprintf(stderr, "%s: no sound (%s: %s); playing silently\n", program_name, last_error,
                     SDL_GetError());
    }
}

bool module_refused(const ModuleFile& module, const char* reason)
{
    std::fprintf(stderr, "%s: %s: %s\n", program_name, module.name, module_refusal_for_users(reason));
    return false;
}

}   // namespace

ModuleFile load_module_file(const char* file_name)
{
    char message[module_message_capacity];
    const ModuleFile module = read_module(file_name, message, sizeof message);
    if (message[0] != '\0')
        std::fprintf(stderr, "%s: %s\n", program_name, message);
    return module;
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

void start_music_from_top()
{
    const std::int32_t before = music_position();
    music_play(demo_ticks_per_second);
    // The first tick moves the position on from -37 to 0. An output that never takes
    // sound is given up, and the silent clock ticks instead.
    while (music_position() == before) {
        keep_sound_watched();
        SDL_Delay(1);
    }
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
    ModuleFile module = load_everything(options.data_folder);
    if (!module.bytes)
        return 1;
    end_position = options.to;
    if (options.calm && !enable_calm_presentation()) {
        std::fprintf(stderr, "%s: no memory for --calm\n", program_name);
        free_module(&module);
        return 1;
    }
    if (!open_frame_log() || !open_display(options.windowed)) {
        free_module(&module);
        return 1;
    }
    start_sound();
    keep_original_module(module);
    if (!load_music(module) || !start_playing_from(options.from, options.from >= 0 || options.maker)) {
        // Closes the audio device before its module goes, and gives a full-screen
        // run's video mode back.
        SDL_Quit();
        free_module(&module);
        return 1;
    }
    if (options.maker)
        run_maker_loop(options);
    else
        run_main_loop();
    close_frame_log();
    if (sound_close_may_wait()) {
        // SDL's audio thread may be blocked for good, or never leave the device alone
        // long enough to be closed, and closing audio (SDL_Quit does) would wait for
        // it: the display is given back alone, and the process ends without running
        // anything that might close audio.
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        std::fflush(nullptr);
        std::_Exit(0);
    }
    // Gives a full-screen run's video mode back to the desktop.
    SDL_Quit();
    return 0;
}
