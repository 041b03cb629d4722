#include "frame/main_loop.h"

#include "frame/data_folder.h"
#include "frame/frame.h"
#include "sound/sound.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

std::int32_t quit_flag;
std::uint32_t timeline_start_ticks;
std::int32_t end_position = final_position;

namespace {

// The picture depends only on the music position and demo_time, so drawing more often
// than the display can show (SDL 1.2 cannot tell its refresh, and its X11 drivers do
// not wait for it) shows nothing new and takes the processor from the audio thread.
constexpr std::int32_t frame_interval_ms = 10;   // about 100 frames a second

// TINKETTLES_FRAME_LOG: one line per frame shown, "<microseconds> <position shown>
// <player's position>", the time on the monotonic clock just after the frame went to
// the display. Opened once; stdio's buffer is the only memory it takes.
std::FILE* frame_log;

void log_frame(std::int32_t shown)
{
    using namespace std::chrono;
    const auto now = duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    std::fprintf(frame_log, "%lld %d %d\n", static_cast<long long>(now), static_cast<int>(shown),
                 static_cast<int>(music_position()));
}

void drain_events()
{
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        // Only a mouse button ends the demo: keys and the window's close request
        // are taken off the queue and ignored.
        if (event.type == SDL_MOUSEBUTTONDOWN)
            quit_flag = 1;
    }
}

}   // namespace

void draw_frame(std::int32_t position)
{
    display_buffer = work_buffer.data();
    run_timeline(position);
    if (position >= end_position)
        quit_flag = 1;
}

void run_frame()
{
    drain_events();
    // Unsigned subtraction: the tick counter may wrap, the difference does not.
    demo_time = static_cast<std::int32_t>(SDL_GetTicks() - timeline_start_ticks);
    const std::int32_t position = heard_position();
    draw_frame(position);
    present_frame();
    if (frame_log)
        log_frame(position);
}

bool open_frame_log()
{
    const char* path = std::getenv("TINKETTLES_FRAME_LOG");
    if (!path || !*path)
        return true;
    frame_log = std::fopen(path, "w");
    if (!frame_log)
        std::fprintf(stderr, "%s: cannot open the frame log %s\n", program_name, path);
    return frame_log != nullptr;
}

void close_frame_log()
{
    if (frame_log && std::fclose(frame_log) != 0)
        std::fprintf(stderr, "%s: cannot write the frame log\n", program_name);
    frame_log = nullptr;
}

namespace {

// Each said once: a busy machine may stall the output again and again.
void say_once(bool* told, const char* what)
{
    if (!*told)
        std::fprintf(stderr, "%s: %s\n", program_name, what);
    *told = true;
}

}   // namespace

void keep_sound_watched()
{
    static bool told_stopped = false;
    static bool told_back = false;
    switch (watch_sound_output()) {
    case SoundOutputChange::none: break;
    case SoundOutputChange::given_up:
        say_once(&told_stopped, "the sound output stopped taking sound; going on silently");
        break;
    case SoundOutputChange::back:
        say_once(&told_back, "the sound output takes sound again; the music goes on in it");
        break;
    }
}

void wait_for_next_frame(std::uint32_t* next_frame)
{
    // A frame late by more than one interval (a busy machine) starts the count afresh
    // rather than hurrying to catch up.
    *next_frame += frame_interval_ms;
    const auto wait = static_cast<std::int32_t>(*next_frame - SDL_GetTicks());
    if (wait > 0)
        SDL_Delay(static_cast<Uint32>(wait));
    else if (wait < -frame_interval_ms)
        *next_frame = SDL_GetTicks();
}

void run_main_loop()
{
    std::uint32_t next_frame = SDL_GetTicks();
    do {
        run_frame();
        keep_sound_watched();
        wait_for_next_frame(&next_frame);
    } while (!quit_flag);
}
