// The browser's audio output. Emscripten's SDL takes 16-bit samples only in little-endian
// order, while the mixer writes them big-endian as the desktop device asks: the device
// is opened little-endian and each buffer's bytes are swapped on their way out, so the
// mixer and the offline renderers stay the same on every platform.
#include "sound/audio_output.h"

#include "sound/sound.h"

#include <SDL.h>

#include <utility>

namespace {

SDL_AudioSpec audio_spec;

void fill_little_endian(void* userdata, Uint8* stream, int length)
{
    audio_fill(userdata, stream, length);
    if (audio_spec.format != AUDIO_S16LSB)
        return;
    for (int i = 0; i + 1 < length; i += 2)
        std::swap(stream[i], stream[i + 1]);
}

}   // namespace

bool open_audio_output(std::int32_t rate)
{
    audio_spec = SDL_AudioSpec{};
    audio_spec.freq = rate;
    audio_spec.format = rate < 44100 ? AUDIO_U8 : AUDIO_S16LSB;
    audio_spec.channels = 1;
    audio_spec.samples = 2048;
    audio_spec.callback = fill_little_endian;
    audio_spec.userdata = nullptr;
    // The display's SDL_Init leaves audio out, as on the desktop.
    if (!SDL_WasInit(SDL_INIT_AUDIO) && SDL_InitSubSystem(SDL_INIT_AUDIO) < 0)
        return false;
    return SDL_OpenAudio(&audio_spec, nullptr) >= 0;
}
