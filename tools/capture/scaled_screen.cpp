#include "scaled_screen.h"

namespace {

std::uint32_t channel_mean(std::uint32_t a, std::uint32_t b, int shift)
{
    return ((((a >> shift) & 0xff) + ((b >> shift) & 0xff) + 1) >> 1) << shift;
}

std::uint32_t pixel_mean(std::uint32_t a, std::uint32_t b)
{
    return channel_mean(a, b, 16) | channel_mean(a, b, 8) | channel_mean(a, b, 0);
}

// Output pixel x of a row lies on screen column 2x / block. With an odd block a pixel
// can lie half on two columns, but only on the two of one picture pixel, which the
// presentation gives one colour, so the first is taken.
void widen_line(const std::uint32_t* line, const FrameScale& scale, std::uint32_t* out)
{
    if (scale.block % 2 == 0) {
        const int repeat = scale.block / 2;
        for (int x = 0; x < capture_width; ++x)
            for (int i = 0; i < repeat; ++i)
                *out++ = line[x];
        return;
    }
    for (int x = 0; x < scale.width; ++x)
        out[x] = line[2 * x / scale.block];
}

}   // namespace

FrameScale frame_scale(int block)
{
    return {block, capture_width / screen_block * block, capture_height / screen_block * block};
}

void scaled_screen_row(const SDL_Surface* surface, const FrameScale& scale, int row, std::uint32_t* out)
{
    // The row covers screen lines [2 row / block, 2 (row + 1) / block): less than one
    // line, so it meets at most two, and then (odd blocks only) half of each.
    const int line = 2 * row / scale.block;
    const bool straddles = 2 * row + 2 > (line + 1) * scale.block;
    widen_line(screen_row(surface, line), scale, out);
    if (!straddles)
        return;
    const std::uint32_t* next = screen_row(surface, line + 1);
    for (int x = 0; x < scale.width; ++x)
        out[x] = pixel_mean(out[x], next[2 * x / scale.block]);
}
