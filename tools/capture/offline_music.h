// The demo's music rendered offline for the capture: the sound system's music stream at
// 44100 Hz in the SDL device's buffers, and where those buffers fall among the frames.
#pragma once

#include "sound/music_stream.h"

#include <cstdint>

constexpr std::int32_t capture_audio_rate = 44100;     // sound mode 2
constexpr std::int32_t capture_buffer_samples = device_buffer_samples;
constexpr std::int32_t capture_buffer_bytes = capture_buffer_samples * 2;

// Reads the module file whole into the demo's 1,000,000-byte buffer and starts the
// stream on it in sound mode 2. False, after one line on standard error, on failure.
bool start_offline_music(MusicStream* stream, const char* module_file);

// Whether the buffer numbered `buffer` (counted from 0) begins at or before the
// moment of frame `frame` at `fps` frames per second.
bool buffer_begins_by(std::int64_t buffer, std::int64_t frame, std::int32_t fps);

// The number of whole samples that `frames` frames at `fps` last.
std::int64_t samples_for_frames(std::int64_t frames, std::int32_t fps);
