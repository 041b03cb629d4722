// The block zoom: the screen cut into square tiles, each showing an unscaled piece of
// the source whose corner is drawn 30 % toward the centre. The tile geometry is worked
// out once into zoom_map so that each frame is one table lookup per pixel.
#include "effects/effects.h"

#include <algorithm>

std::int32_t zoom_map[64000];

namespace {

constexpr std::int32_t width = 320;
constexpr std::int32_t height = 200;

// Large tiles reach past the source's edges; those pixels repeat the edge instead of
// reading outside the buffer. Tiles of 32 never need it.
std::int32_t source_index(std::int32_t x, std::int32_t y)
{
    return std::clamp(y, 0, height - 1) * width + std::clamp(x, 0, width - 1);
}

void map_tile(std::int32_t x0, std::int32_t y0, std::int32_t block)
{
    const std::int32_t sx = ((x0 - 160) * 70) / 100 + 160;
    const std::int32_t sy = ((y0 - 100) * 70) / 100 + 100;
    const std::int32_t rows = std::min(block, height - y0);
    const std::int32_t columns = std::min(block, width - x0);
    for (std::int32_t j = 0; j < rows; ++j)
        for (std::int32_t i = 0; i < columns; ++i)
            zoom_map[(y0 + j) * width + x0 + i] = source_index(sx + i, sy + j);
}

}  // namespace

void build_zoom_map(std::int32_t block)
{
    // A tile size of zero or less would never advance.
    if (block <= 0)
        return;
    for (std::int32_t y0 = 0; y0 < height; y0 += block)
        for (std::int32_t x0 = 0; x0 < width; x0 += block)
            map_tile(x0, y0, block);
}

void apply_zoom_map(const std::uint8_t* source, std::uint8_t* destination)
{
    for (std::int32_t k = 0; k < width * height; ++k)
        destination[k] = source[zoom_map[k]];
}
