#include "sound/audio_output.h"
#include "sound/devices.h"
#include "sound/mixer.h"
#include "sound/sound.h"
#include "sound/voices.h"

#include <SDL.h>

#include <cstdio>

DeviceTable sound_device;
std::int32_t sound_mode = 0;
const char* device_name = "";
const char* last_error = "";

namespace {

void do_nothing() {}

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

}   // namespace

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
    return sound_start_mode(answer[0]);
}

int sound_start_mode(char mode)
{
    if (mode == '0') {
        install_silent_device();
        return 1;
    }
    if (mode == '1' || mode == '2') {
        const std::int32_t rate = mode == '1' ? 22050 : 44100;
        if (!open_audio_output(rate)) {
            // The player still needs callable voice operations and a clock: the
            // silent device's timer keeps the music position moving.
            last_error = "SDL audio error";
            install_silent_device();
            return 0;
        }
        install_sdl_device(mode - '0');
        return 1;
    }
    last_error = "unknown sound mode";
    install_silent_device();
    return 0;
}
