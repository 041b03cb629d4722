// The screen the capture draws on: the demo's 640x480x32 display as a memory surface.
#pragma once

#include <SDL.h>

#include <cstddef>
#include <cstdint>

constexpr int capture_width = 640;
constexpr int capture_height = 480;

// Starts SDL's video under the dummy driver (no window) and points the demo's
// `screen` at a cleared 640x480 memory surface with pixels 0x00RRGGBB.
// False, after one line on standard error, when SDL refuses.
bool open_capture_screen();

inline const std::uint32_t* screen_row(const SDL_Surface* surface, int y)
{
    const auto* bytes = static_cast<const std::uint8_t*>(surface->pixels);
    return reinterpret_cast<const std::uint32_t*>(bytes + static_cast<std::size_t>(y) * surface->pitch);
}
