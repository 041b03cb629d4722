#include "sound/music_stream.h"

#include "sound/devices.h"
#include "sound/heard_clock.h"
#include "sound/mixer.h"
#include "sound/player.h"
#include "sound/sound.h"

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
