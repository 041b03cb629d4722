#include "capture_screen.h"

#include "frame/frame.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

bool open_capture_screen()
{
    // present_frame ends in SDL_Flip, which needs SDL's video started; the dummy
    // driver starts it without a display.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "tinkettles-capture: SDL_Init failed: %s\n", SDL_GetError());
        return false;
    }
    screen = SDL_CreateRGBSurface(SDL_SWSURFACE, capture_width, capture_height, 32, 0x00ff0000, 0x0000ff00,
                                  0x000000ff, 0);
    if (!screen) {
        std::fprintf(stderr, "tinkettles-capture: no 640x480 memory surface: %s\n", SDL_GetError());
        return false;
    }
    // The rows above and below the picture stay as cleared here, as on the display.
    std::memset(screen->pixels, 0, static_cast<std::size_t>(screen->pitch) * capture_height);
    return true;
}
