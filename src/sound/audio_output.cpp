#include "sound/audio_output.h"

#include "sound/sound.h"

#include <SDL.h>

namespace {

// Module-level so that it outlives the SDL_OpenAudio call.
SDL_AudioSpec audio_spec;

}  // namespace

bool open_audio_output(std::int32_t rate)
{
    audio_spec = SDL_AudioSpec{};
    audio_spec.freq = rate;
    audio_spec.format = rate < 44100 ? AUDIO_U8 : AUDIO_S16MSB;
    audio_spec.channels = 1;
    audio_spec.samples = 2048;
    audio_spec.callback = audio_fill;
    audio_spec.userdata = nullptr;
    return SDL_OpenAudio(&audio_spec, nullptr) >= 0;
}
