// The captured screen at a larger size, made from the presented 640x480 screen alone:
// what a video site keeps sharp, where it would blur a 480-line upload.
//
// The size goes in halves of the screen: `block` output pixels stand for each picture
// pixel in each direction (the presentation shows one as 2x2 screen pixels).
//   - An even block (scale 1, 2, 3, 4) repeats every screen pixel block / 2 times each
//     way, so each screen pixel becomes an exact square of one colour.
//   - An odd block (scale 1.5 ... 4.5) is the screen enlarged by exactly that much:
//     of a picture row's `block` output rows, the first block / 2 show its bright
//     screen line, the last block / 2 its dimmed line, and the middle row, which lies
//     half on each, their mean. Scale 4.5 is the 2880x2160 frame: rows 0-3 bright,
//     row 4 the mean, rows 5-8 dimmed.
#pragma once

#include "capture_screen.h"

#include <cstdint>

constexpr int screen_block = 2;    // the presented screen as it is: 640x480
constexpr int largest_block = 9;   // scale 4.5: 2880x2160
constexpr int largest_scaled_width = capture_width / screen_block * largest_block;

struct FrameScale {
    int block;    // output pixels per picture pixel each way, screen_block..largest_block
    int width;    // 320 x block
    int height;   // 240 x block
};

FrameScale frame_scale(int block);

// Output row `row` (0 .. height - 1) of the enlarged screen, width pixels 0x00RRGGBB
// into `out`. The mean of two pixels is taken per channel, rounded half up.
void scaled_screen_row(const SDL_Surface* surface, const FrameScale& scale, int row, std::uint32_t* out);
