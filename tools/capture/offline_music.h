// The demo's music rendered offline, buffer by buffer as SDL's audio thread would ask
// for it, so that the sound and the music position match the real playback.
#pragma once

#include <cstdint>

constexpr std::int32_t capture_audio_rate = 44100;     // sound mode 2
constexpr std::int32_t capture_buffer_samples = 2048;  // what the SDL device asks for
constexpr std::int32_t capture_buffer_bytes = capture_buffer_samples * 2;

// Reads the module file whole into the demo's 1,000,000-byte buffer, installs the
// SDL device's voices without opening SDL's audio, loads the module and sets the
// demo's 47 ticks per second. False, after one line on standard error, on failure.
bool start_offline_music(const char* module_file);

// The next buffer of the stream, as audio_fill writes it: signed 16-bit big-endian.
void render_music_buffer(std::uint8_t* stream);

// Whether the buffer numbered `buffer` (counted from 0) begins at or before the
// moment of frame `frame` at `fps` frames per second.
bool buffer_begins_by(std::int64_t buffer, std::int64_t frame, std::int32_t fps);

// The number of whole samples that `frames` frames at `fps` last.
std::int64_t samples_for_frames(std::int64_t frames, std::int32_t fps);
