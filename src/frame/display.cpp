#include "frame/frame.h"
#include "frame/startup.h"

#include <csignal>
#include <cstdio>
#include <cstring>

namespace {

// SDL turns an interrupt or a termination request into a quit event, which the demo
// ignores like the window's close button; so that Ctrl-C and kill still end it, such a
// signal takes its default course instead.
extern "C" void end_on_signal(int signal_number)
{
    std::signal(signal_number, SIG_DFL);
    std::raise(signal_number);
}

}  // namespace

bool open_display(bool windowed)
{
    // SDL keeps handlers that are already installed.
    std::signal(SIGINT, end_on_signal);
    std::signal(SIGTERM, end_on_signal);
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_AUDIO | SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "tinkettles: SDL_Init failed: %s\n", SDL_GetError());
        return false;
    }
    Uint32 flags = SDL_DOUBLEBUF;
    if (!windowed)
        flags |= SDL_FULLSCREEN;
    screen = SDL_SetVideoMode(640, 480, 32, flags);
    if (!screen) {
        std::fprintf(stderr, "tinkettles: SDL_SetVideoMode 640x480x32 failed: %s\n",
                     SDL_GetError());
        return false;
    }
    // The 40 rows above and below the picture are never drawn again: clear them once.
    std::memset(screen->pixels, 0, static_cast<std::size_t>(screen->pitch) * 480);
    SDL_WM_SetCaption("Tin Kettles", nullptr);
    SDL_ShowCursor(SDL_DISABLE);
    return true;
}
