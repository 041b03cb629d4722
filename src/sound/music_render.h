// Rendering a module to a WAV file offline, from the music stream, buffer by buffer as
// SDL asks for them.
#pragma once

#include "sound/music_stream.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

struct RenderRequest {
    std::int32_t mode = 2;            // 1 = 22050 Hz 8-bit, 2 = 44100 Hz 16-bit
    std::int64_t sample_limit = -1;   // render exactly this many samples, or
    std::int32_t order_limit = 25;    // until this order position is reached
    // Called every ten seconds of audio and once more at the end (final), if given.
    void (*progress)(std::int64_t samples, std::int32_t rate, MusicPlace place, bool final) = nullptr;
};

enum class RenderEnd { sample_limit, order_reached, song_wrapped, time_cap };

// Why a render failed; error_number holds errno for the two about the file.
enum class RenderFailure { none, module_refused, cannot_write, cannot_finish };

struct RenderResult {
    std::int64_t samples = 0;
    RenderEnd end = RenderEnd::sample_limit;
    RenderFailure failure = RenderFailure::none;
    const char* refusal = nullptr;   // the player's reason for module_refused
    int error_number = 0;
};

// Loads the module in buffer (size bytes), and writes the rendered WAV to out, which
// must be seekable. Returns false on a failure, which result (if given) describes.
bool render_music(std::uint8_t* buffer, std::size_t size, std::FILE* out, const RenderRequest& request,
                  RenderResult* result);
