// PNG files of captured screens and of the contact sheet.
#pragma once

#include "scaled_screen.h"

#include <SDL.h>

#include <cstdint>
#include <cstdio>

// Writes width x height pixels of three bytes (red, green, blue), rows packed, to an
// open file named `path` in messages. False, after one line on standard error.
bool write_rgb_png_to(std::FILE* file, const char* path, const std::uint8_t* rgb, int width, int height);

// Writes a 640x480 surface with pixels 0x00RRGGBB, enlarged to `scale` (scaled_screen.h).
bool write_screen_png(const char* path, const SDL_Surface* surface, const FrameScale& scale);
