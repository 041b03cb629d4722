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

// Why a PNG was not written, one line for the tool to print after its name:
// "cannot create PATH: reason" or "cannot write PATH: reason".
struct PngFailure {
    char reason[4400];   // room for any path and the system's or the encoder's words
};

// Writes the picture to an open file, named `path` in the reason. False, with the
// reason in `failure`, when it cannot; nothing is printed.
bool write_png_to(std::FILE* file, const char* path, const PngPicture& picture, PngFailure* failure);

// The same into a new file at `path`; a regular file that cannot be finished is removed.
bool write_png(const char* path, const PngPicture& picture, PngFailure* failure);
