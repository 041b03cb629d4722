#include "sound/music_stream.h"

#include "sound/devices.h"
#include "sound/heard_clock.h"
#include "sound/mixer.h"
#include "sound/player.h"
#include "sound/sound.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

static_assert(device_buffer_samples == mix_buffer_samples);

const char* start_music_stream(MusicStream* stream, std::int32_t mode, std::uint8_t* module, std::size_t size)
{
    *stream = MusicStream{mode == 1 ? 22050 : 44100, mode == 1 ? 1 : 2, 0};
    install_sdl_device(mode);
    if (!music_load(module, size))
        return last_error;
    set_tick_rate(demo_ticks_per_second);
    heard_clock_reset(music_position());
    return nullptr;
}

void next_music_buffer(MusicStream* stream, std::uint8_t* out, std::int32_t samples)
{
    audio_fill(nullptr, out, samples * stream->bytes_per_sample);
    stream->samples += samples;
}

MusicPlace music_place()
{
    return {song.position.load(std::memory_order_relaxed), song.row.load(std::memory_order_relaxed),
            song.tick};
}

ModuleRead read_module_file(const char* path, std::uint8_t* buffer)
{
    ModuleRead read;
    std::FILE* file = std::fopen(path, "rb");
    if (!file) {
        read.status = ModuleReadStatus::cannot_open;
        read.error_number = errno;
        return read;
    }
    read.size = std::fread(buffer, 1, module_buffer_bytes, file);
    if (std::ferror(file) != 0)
        read.status = ModuleReadStatus::cannot_read;
    else if (std::fgetc(file) != EOF)
        read.status = ModuleReadStatus::cut_short;
    std::fclose(file);
    return read;
}

void describe_module_read(const ModuleRead& read, const char* path, char* out, std::size_t capacity)
{
    switch (read.status) {
    case ModuleReadStatus::cannot_open:
        std::snprintf(out, capacity, "cannot open %s: %s", path, std::strerror(read.error_number));
        break;
    case ModuleReadStatus::cannot_read: std::snprintf(out, capacity, "cannot read %s", path); break;
    default:
        std::snprintf(out, capacity, "%s is longer than %zu bytes; only those are used", path,
                      module_buffer_bytes);
    }
}
