// PNG files read with libpng's simplified reader, converted to 8-bit RGB or RGBA.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

struct PngImage {
    bool ok = false;   // read whole; the other fields are set only then
    int width = 0, height = 0;
    bool indexed = false;   // stored with a palette
    int palette_size = 0;
    int channels = 3;                   // 3 for RGB, 4 for RGBA
    std::vector<std::uint8_t> pixels;   // rows from the top, `channels` bytes a pixel

    const std::uint8_t* at(int x, int y) const
    {
        return &pixels[(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                        static_cast<std::size_t>(x)) *
                       static_cast<std::size_t>(channels)];
    }
    // The pixel's colour as 0xRRGGBB.
    std::uint32_t rgb(int x, int y) const
    {
        const std::uint8_t* p = at(x, y);
        return static_cast<std::uint32_t>(p[0] << 16 | p[1] << 8 | p[2]);
    }
};

PngImage read_png(const std::filesystem::path& path, bool with_alpha = false);
