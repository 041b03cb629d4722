// The music rendered offline as a stream: the SDL device's voices installed without
// opening SDL's audio, and the demo's audio callback asked for one buffer after another,
// exactly as SDL's audio thread asks for them, so the samples and the music position
// match the real playback byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>

#include "sound/module_file.h"   // module_buffer_bytes, read_module_file

inline constexpr std::int32_t demo_ticks_per_second = 47;
// The buffer SDL's audio device asks the callback to fill, in samples.
inline constexpr std::int32_t device_buffer_samples = 2048;

struct MusicStream {
    std::int32_t rate = 44100;   // 22050 (8-bit) in sound mode 1
    std::int32_t bytes_per_sample = 2;
    std::int64_t samples = 0;   // rendered so far
};

// Where the player stands after the samples rendered so far.
struct MusicPlace {
    std::int32_t order;
    std::int32_t row;
    std::uint32_t tick;
};

// Installs the SDL device's voices for `mode` (1 or 2), loads the module (the loader
// rewrites `module` in place and the voices play from it, so it must outlive the
// stream) and sets the demo's 47 ticks a second. Returns the player's reason when it
// refuses the module, else nullptr.
const char* start_music_stream(MusicStream* stream, std::int32_t mode, std::uint8_t* module,
                               std::size_t size);

// The next `samples` samples, written to out as the callback writes them: signed 16-bit
// big-endian in mode 2, unsigned 8-bit in mode 1.
void next_music_buffer(MusicStream* stream, std::uint8_t* out, std::int32_t samples);

MusicPlace music_place();
