#include "sound/devices.h"
#include "sound/mixer.h"
#include "sound/pacing.h"
#include "sound/sound.h"
#include "sound/voices.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

DeviceTable sound_device;
std::int32_t sound_mode = 0;
const char* device_name = "";
const char* last_error = "";

namespace {

// Module-level so that it outlives the SDL_OpenAudio call.
SDL_AudioSpec audio_spec;

// Touched only on SDL's audio thread once the device plays; set before it starts.
StreamPace stream_pace;

void do_nothing() {}

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
    if (!keep_stream_in_step()) {
        // Silence, and no tick: the music waits for the clock.
        std::memset(stream, sound_mode == 1 ? 0x80 : 0, static_cast<std::size_t>(length));
        return;
    }
    audio_fill(userdata, stream, length);
    stream_pace.samples_played += sound_mode == 1 ? length : length / 2;
}

// Both devices drive the same voice records; only dev_init tells them apart.
void install_voice_operations(void (*dev_init)(), const char* name)
{
    sound_device.define_sample = voice_define_sample;
    sound_device.set_period = voice_set_period;
    sound_device.set_channel_count = voice_set_channel_count;
    sound_device.set_position = voice_set_position;
    sound_device.select_channel = voice_select_channel;
    sound_device.set_pan = voice_set_pan;
    sound_device.dev_init = dev_init;
    sound_device.set_channel_sample = voice_set_channel_sample;
    sound_device.dev_start = do_nothing;
    sound_device.set_master_volume = voice_set_master_volume;
    sound_device.set_volume = voice_set_volume;
    device_name = name;
}

void start_installed_device()
{
    sound_device.dev_init();
    sound_device.set_master_volume(64);
    sound_device.dev_start();
}

void install_silent_device()
{
    sound_mode = 0;
    install_voice_operations(do_nothing, "Super Zub NoSound Device 2.0c");
    start_installed_device();
}

bool open_sdl_audio(std::int32_t rate)
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

}  // namespace

void install_sdl_device(std::int32_t mode)
{
    sound_mode = mode;
    device_rate = mode == 1 ? 22050 : 44100;
    install_voice_operations(reset_voices, "SDL audio");
    start_installed_device();
}

int sound_start()
{
    std::puts("");
    std::fflush(stdout);
    char answer[16] = "";
    if (std::scanf("%15s", answer) != 1)
        answer[0] = '\0';
    const char choice = answer[0];
    if (choice == '0') {
        install_silent_device();
        return 1;
    }
    if (choice == '1' || choice == '2') {
        const std::int32_t rate = choice == '1' ? 22050 : 44100;
        if (!open_sdl_audio(rate)) {
            // The player still needs callable voice operations and a clock: the
            // silent device's timer keeps the music position moving.
            last_error = "SDL audio error";
            install_silent_device();
            return 0;
        }
        install_sdl_device(choice - '0');
        return 1;
    }
    last_error = "unknown sound mode";
    install_silent_device();
    return 0;
}
