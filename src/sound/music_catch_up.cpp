#include "sound/music_catch_up.h"

#include "sound/heard_clock.h"
#include "sound/mixer.h"
#include "sound/music_stream.h"
#include "sound/sound.h"
#include "sound/voices.h"

#include <cstring>

namespace {

// Where the silently mixed segments go; a segment is never longer than a second.
std::uint8_t discarded[2 * 44100];

}   // namespace

const char* music_rewind(std::uint8_t* module, const std::uint8_t* original, std::size_t size)
{
    std::memcpy(module, original, size);
    reset_voices();
    reset_mixer_voices();
    sound_device.set_master_volume(64);
    if (!music_load(module, size))
        return last_error;
    set_tick_rate(demo_ticks_per_second);
    return nullptr;
}

void music_run_tick()
{
    pt_tick();
}

void music_mix_tick_silently()
{
    if (sound_mode == 0)
        return;
    mix_chunk(discarded, segment_length(), sound_mode == 1 ? 8 : 16);
}

std::int64_t ticks_run_by_sample(std::int64_t samples)
{
    return samples / segment_length() + 1;
}

std::int64_t first_sample_of_tick(std::int64_t tick)
{
    return tick * segment_length();
}

void music_hold_at_tick_start()
{
    segment_carry = segment_length();
    // The stream heard from here on starts with the held tick's segment.
    heard_clock_reset(music_position());
}
