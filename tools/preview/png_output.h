// PNG files through libpng: an indexed frame with its palette, or a true-colour image.
#pragma once

#include <cstdint>

// palette: 256 colours 0x00RRGGBB. False, with a message on standard error, on failure.
bool write_indexed_png(const char* path, const std::uint8_t* pixels, int width, int height,
                       const std::uint32_t* palette);

// rgb: width * height * 3 bytes, row by row.
bool write_rgb_png(const char* path, const std::uint8_t* rgb, int width, int height);
