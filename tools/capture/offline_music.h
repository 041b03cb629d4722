// Where the buffers of the music stream (44100 Hz, as the SDL device asks for them)
// fall among the capture's frames.
#pragma once

#include "sound/music_stream.h"

#include <cstdint>

constexpr std::int32_t capture_audio_rate = 44100;   // sound mode 2
constexpr std::int32_t capture_buffer_samples = device_buffer_samples;
constexpr std::int32_t capture_buffer_bytes = capture_buffer_samples * 2;

// Whether the buffer numbered `buffer` (counted from 0) begins at or before the
// moment of frame `frame` at `fps` frames per second.
bool buffer_begins_by(std::int64_t buffer, std::int64_t frame, std::int32_t fps);

// The number of whole samples that `frames` frames at `fps` last.
std::int64_t samples_for_frames(std::int64_t frames, std::int32_t fps);
