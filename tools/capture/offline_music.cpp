#include "offline_music.h"

#include "sound/devices.h"
#include "sound/mixer.h"
#include "sound/music_render.h"
#include "sound/sound.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static_assert(capture_buffer_samples == mix_buffer_samples);

bool start_offline_music(const char* module_file)
{
    // Like the demo's: kept for the whole run, since the player rewrites its patterns
    // in place and the voices play straight from its sample data.
    auto* module = static_cast<std::uint8_t*>(std::malloc(module_buffer_bytes));
    if (!module) {
        std::fprintf(stderr, "tinkettles-capture: out of memory for the module\n");
        return false;
    }
    std::FILE* file = std::fopen(module_file, "rb");
    if (!file) {
        std::fprintf(stderr, "tinkettles-capture: cannot open %s: %s\n", module_file,
                     std::strerror(errno));
        return false;
    }
    const std::size_t size = std::fread(module, 1, module_buffer_bytes, file);
    std::fclose(file);
    install_sdl_device(2);
    if (!music_load(module, size)) {
        std::fprintf(stderr, "tinkettles-capture: %s: %s\n", module_file, last_error);
        return false;
    }
    set_tick_rate(demo_ticks_per_second);
    return true;
}

void render_music_buffer(std::uint8_t* stream)
{
    audio_fill(nullptr, stream, capture_buffer_bytes);
}

bool buffer_begins_by(std::int64_t buffer, std::int64_t frame, std::int32_t fps)
{
    // buffer * 2048 / 44100 s <= frame / fps s, kept in whole numbers.
    return buffer * capture_buffer_samples * fps <= frame * capture_audio_rate;
}

std::int64_t samples_for_frames(std::int64_t frames, std::int32_t fps)
{
    return frames * capture_audio_rate / fps;
}
