// The flash warning shown first in a video made with --mp4 --warning-card: a still card
// of white text on black, in the demo's caption font, for warning_card_seconds; the
// music in the video starts after it.
#pragma once

#include <cstdint>
#include <cstdio>

constexpr std::int32_t warning_card_seconds = 5;

struct FrameScale;

// Writes the card's frames (warning_card_seconds x fps of them) as YUV4MPEG2 frames of
// the video's size `scale` to `frames`, whose header is written already; `planes` holds
// yuv_frame_size(scale) bytes to convert them in. False when a write failed or SDL could
// not give a surface for it.
bool write_warning_card(std::FILE* frames, std::int32_t fps, const FrameScale& scale, std::uint8_t* planes);
