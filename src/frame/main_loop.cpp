#include "frame/main_loop.h"

#include "frame/frame.h"
#include "sound/sound.h"

std::int32_t quit_flag;
std::uint32_t timeline_start_ticks;
std::int32_t end_position = final_position;

namespace {

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
    draw_frame(music_position());
    present_frame();
}

void run_main_loop()
{
    do {
        run_frame();
    } while (!quit_flag);
}
