// Rendering a module file to a WAV file offline, through the same loader, player,
// voices and audio callback as the demo, buffer by buffer as SDL asks for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// The demo reads its module into a buffer of this size; the renderer does the same.
inline constexpr std::size_t module_buffer_bytes = 1000000;
inline constexpr std::int32_t demo_ticks_per_second = 47;

struct RenderRequest {
    std::int32_t mode = 2;              // 1 = 22050 Hz 8-bit, 2 = 44100 Hz 16-bit
    std::int64_t sample_limit = -1;     // render exactly this many samples, or
    std::int32_t order_limit = 25;      // until this order position is reached
    bool show_progress = false;         // a progress line on standard error
};

enum class RenderEnd { sample_limit, order_reached, song_wrapped, time_cap };

struct RenderResult {
    std::int64_t samples = 0;
    RenderEnd end = RenderEnd::sample_limit;
};

// Reads a module file the way the demo does: at most module_buffer_bytes bytes into
// buffer. Returns false when it cannot be read, with a message on standard error that
// starts with the program's name.
bool read_module_file(const char* program, const char* path, std::uint8_t* buffer,
                      std::size_t* size);

// Loads the module in buffer (size bytes), and writes the rendered WAV to out, which
// must be seekable. Returns false with a message on standard error on a failure; a
// module the loader rejects is reported with the loader's reason.
bool render_music(std::uint8_t* buffer, std::size_t size, std::FILE* out,
                  const RenderRequest& request, RenderResult* result);
