// The block zoom: the screen cut into square tiles, each showing an unscaled piece of
// the source whose corner is drawn 30 % toward the centre. The tile geometry is worked
// out once into zoom_map so that each frame is one table lookup per pixel.
#include "effects/effects.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

}   // namespace

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
    // Tiles copy whole runs of consecutive source pixels, so the map is read a group of
    // entries at a time: a group that is one run inside the source becomes one copy, any
    // other group is looked up entry by entry. The map is re-read every frame, so the
    // result is the per-pixel lookup whatever the map holds.
    constexpr std::int32_t group = 16;
    static_assert(width * height % group == 0);
    // A destination overlapping the source must see each earlier write, as one entry at
    // a time does.
    const std::uintptr_t from = reinterpret_cast<std::uintptr_t>(source);
    const std::uintptr_t to = reinterpret_cast<std::uintptr_t>(destination);
    const bool apart = from + width * height <= to || to + width * height <= from;
    for (std::int32_t k = 0; k < width * height; k += group) {
        const std::int32_t* const entries = zoom_map + k;
        // Unsigned differences: any map value compares without overflow.
        const std::uint32_t first = static_cast<std::uint32_t>(entries[0]);
        std::uint32_t off_run = 0;
        for (std::int32_t i = 1; i < group; ++i)
            off_run |= (static_cast<std::uint32_t>(entries[i]) - first) ^ static_cast<std::uint32_t>(i);
        if (off_run == 0 && apart && entries[0] >= 0 && entries[0] <= width * height - group) {
            std::memcpy(destination + k, source + entries[0], group);
            continue;
        }
        for (std::int32_t i = 0; i < group; ++i)
            destination[k + i] = source[entries[i]];
    }
}
