// PNG files of the tools through libpng: an indexed frame with its palette, or a
// true-colour image.
#pragma once

#include <cstdint>
#include <cstdio>

struct PngPicture {
    const std::uint8_t* pixels;   // rows packed: one byte a pixel with a palette, else red, green, blue
    int width;
    int height;
    const std::uint32_t* palette;   // 256 colours 0x00RRGGBB; nullptr for true colour
    bool srgb;                      // an sRGB chunk marks the colours as sRGB
};

// Writes the picture to an open file, named `path` in messages. False after
// "program: cannot write path: reason" on standard error.
bool write_png_to(const char* program, std::FILE* file, const char* path, const PngPicture& picture);

// The same into a new file at `path`; a regular file that cannot be finished is removed.
bool write_png(const char* program, const char* path, const PngPicture& picture);
