// A 640x480x32 memory surface standing in for the display, under SDL's dummy video
// driver, with pixels laid out as 0x00RRGGBB.
#pragma once

#include "frame/frame.h"

#include <cstdint>
#include <cstdlib>

struct TestScreen {
    SDL_Surface* surface;
};

inline TestScreen open_test_screen(int pitch = 640 * 4)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    if (SDL_WasInit(SDL_INIT_VIDEO) == 0)
        SDL_Init(SDL_INIT_VIDEO);
    static std::uint8_t storage[(640 * 4 + 256) * 480];
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceFrom(storage, 640, 480, 32, pitch, 0x00ff0000, 0x0000ff00, 0x000000ff, 0);
    screen = surface;
    return {surface};
}

inline std::uint32_t pixel_at(SDL_Surface* surface, int x, int y)
{
    const auto* row =
        static_cast<const std::uint8_t*>(surface->pixels) + static_cast<std::size_t>(y) * surface->pitch;
    return reinterpret_cast<const std::uint32_t*>(row)[x];
}

inline std::uint32_t rgb(std::uint32_t r, std::uint32_t g, std::uint32_t b)
{
    return (r << 16) | (g << 8) | b;
}
