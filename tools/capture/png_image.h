// PNG files of captured screens and of the contact sheet.
#pragma once

#include <SDL.h>

#include <cstdint>

// Writes width x height pixels of three bytes (red, green, blue), rows packed.
// False, after one line on standard error, when the file cannot be written.
bool write_rgb_png(const char* path, const std::uint8_t* rgb, int width, int height);

// Writes a 640x480 surface with pixels 0x00RRGGBB.
bool write_screen_png(const char* path, const SDL_Surface* surface);
