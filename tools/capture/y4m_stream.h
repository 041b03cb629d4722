// A YUV4MPEG2 stream of the captured screens, 4:2:0, as ffmpeg and most players read it.
#pragma once

#include "capture_screen.h"
#include "scaled_screen.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

constexpr int yuv_frame_bytes = capture_width * capture_height * 3 / 2;

struct YuvColour {
    std::uint8_t y, cb, cr;
};

// BT.601 studio range (Y 16..235, Cb and Cr 16..240), the default that players assume
// for a stream that does not say otherwise.
YuvColour rgb_to_yuv(std::int32_t r, std::int32_t g, std::int32_t b);

// The bytes of one frame's three planes at this size.
std::size_t yuv_frame_size(const FrameScale& scale);

bool write_y4m_header(std::FILE* out, std::int32_t fps, const FrameScale& scale);

// Converts a 640x480 surface with pixels 0x00RRGGBB into the Y plane followed by the
// Cb and Cr planes at half resolution, each chroma sample the mean of a 2x2 block.
void convert_to_yuv420(const SDL_Surface* surface, std::uint8_t* planes);

// The same for the screen enlarged to `scale` (scaled_screen.h) into
// yuv_frame_size(scale) bytes; at screen_block, convert_to_yuv420 itself.
void convert_scaled_to_yuv420(const SDL_Surface* surface, const FrameScale& scale, std::uint8_t* planes);

// "FRAME" and the `bytes` bytes of the planes.
bool write_y4m_frame(std::FILE* out, const std::uint8_t* planes, std::size_t bytes);
