#include "sound/audio_output.h"

#include "sound/music_output.h"
#include "sound/pacing.h"
#include "sound/sound.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace {

// Module-level so that it outlives the SDL_OpenAudio call.
SDL_AudioSpec audio_spec;

// Touched only on SDL's audio thread once the device plays; set before it starts.
StreamPace stream_pace;

// A device that does not block (a null output) would take the whole song in a moment.
// Waits, as a real device would, while the player is too far ahead of the wall clock;
// false when it is still ahead afterwards. A real device never gets that far ahead, so
// with one this never waits.
bool keep_stream_in_step()
{
    constexpr std::uint32_t longest_wait_ms = 50;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const std::int64_t excess = stream_excess(stream_pace, SDL_GetTicks());
        if (excess == 0)
            return true;
        SDL_Delay(std::min(excess_ms(stream_pace, excess), longest_wait_ms));
    }
    return stream_excess(stream_pace, SDL_GetTicks()) == 0;
}

// The SDL device's callback: the mixer's audio_fill, kept in step with the wall clock.
void sdl_device_fill(void* userdata, Uint8* stream, int length)
{
    // After a pause the wall clock has run on without the stream: its pace starts over.
    static std::uint32_t restarts_seen = 0;
    if (restarts_seen != output_restarts) {
        restarts_seen = output_restarts;
        stream_pace = start_stream_pace(stream_pace.rate);
    }
    if (!keep_stream_in_step()) {
        // Silence, and no tick: the music waits for the clock.
        std::memset(stream, sound_mode == 1 ? 0x80 : 0, static_cast<std::size_t>(length));
        return;
    }
    audio_fill(userdata, stream, length);
    stream_pace.samples_played += sound_mode == 1 ? length : length / 2;
}

}   // namespace

bool open_audio_output(std::int32_t rate)
{
    audio_spec = SDL_AudioSpec{};
    audio_spec.freq = rate;
    audio_spec.format = rate < 44100 ? AUDIO_U8 : AUDIO_S16MSB;
    audio_spec.channels = 1;
    audio_spec.samples = 2048;
    audio_spec.callback = sdl_device_fill;
    audio_spec.userdata = nullptr;
    stream_pace = start_stream_pace(rate);
    // Audio starts apart from video and timers, so that a sound server that is not
    // running only costs the sound.
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
        return false;
    return SDL_OpenAudio(&audio_spec, nullptr) >= 0;
}
