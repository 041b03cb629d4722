// Sound: the sound devices behind one table of operations, the module loader, the
// module player and the software mixer that the audio callback runs.
#pragma once

#include <cstddef>
#include <cstdint>

struct DeviceTable {
    void (*define_sample)(std::int32_t number, const std::int8_t* data, std::int32_t length,
                          std::int32_t loop_start, std::int32_t loop_end, std::int32_t loop_flag,
                          std::int32_t loop_length);
    void (*set_period)(std::int32_t period);
    void (*set_channel_count)(std::int32_t count);
    void (*set_position)(std::int32_t offset);
    void (*select_channel)(std::int32_t voice);
    void (*set_pan)(std::int32_t pan);
    void (*dev_init)();
    void (*set_channel_sample)(std::int32_t number);
    void (*dev_start)();
    void (*set_master_volume)(std::int32_t volume);
    void (*set_volume)(std::int32_t volume);
};
extern DeviceTable sound_device;   // filled by the installed device
extern std::int32_t sound_mode;    // 0 silent, 1 = 22050 Hz U8, 2 = 44100 Hz S16MSB
extern const char* device_name;
extern const char* last_error;

int sound_start();
int music_load(std::uint8_t* module, std::size_t size);   // size = bytes actually read
void music_play(std::int32_t ticks_per_second);
std::int32_t music_position();   // the player's position: where the mixer has got to
// The position being heard now: with sound, the one of the stream sample the listener
// hears (music_position() less what lies queued in the output); with the silent clock,
// music_position() itself. Main thread, once the music plays.
std::int32_t heard_position();

int pt_takemod(std::uint8_t* module, std::size_t size);   // 1 loaded, 0 rejected
void pt_init();
void pt_tick();

struct Voice {
    const std::int8_t* data;
    std::int32_t sample_number;
    std::int32_t volume;
    std::uint32_t position_fraction;
    std::uint32_t position;
    std::uint32_t step_fraction;
    std::uint32_t step;
    std::uint32_t loop_start;
    std::uint32_t loop_end;
    std::int32_t loop_flag;
    std::uint32_t length;
    std::int32_t pan;
    std::int32_t step_changed;
    std::int32_t position_changed;
};
// The mixer's voices; the player's channel i plays on voice i.
inline constexpr int voice_count = 32;
extern Voice pending_voices[voice_count];
extern Voice mixing_voices[voice_count];
extern std::int32_t output_rate;
extern std::int32_t mixed_voice_count;
extern std::int32_t master_volume;

void audio_fill(void* userdata, std::uint8_t* stream, int length);             // the SDL callback
void mix_chunk(std::uint8_t* stream, std::int32_t count, std::int32_t bits);   // bits: 8 or 16
