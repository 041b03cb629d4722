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

// Writes an empty line, reads one word from standard input and starts the sound mode
// its first character names, as sound_start_mode does. Returns sound_start_mode's result.
int sound_start();
// Starts sound mode `mode`: '0' the silent device; '1' (22050 Hz) or '2' (44100 Hz)
// the SDL audio device, and when SDL refuses it last_error is "SDL audio error" and the
// silent device stands in; anything else, last_error "unknown sound mode" and the
// silent device. Returns 1 when the mode asked for runs, 0 when the silent device
// stands in for it.
int sound_start_mode(char mode);
int music_load(std::uint8_t* module, std::size_t size);   // size = bytes actually read
void music_play(std::int32_t ticks_per_second);
std::int32_t music_position();   // the player's position: where the mixer has got to
// The position being heard now: with sound, the one of the stream sample the listener
// hears (music_position() less what lies queued in the output); with the silent clock,
// music_position() itself. Main thread, once the music plays.
std::int32_t heard_position();

// How long the output may take no sound, while the music plays, before it is given up;
// and before it has begun to play (a server starts a stream late).
inline constexpr std::uint32_t sound_output_stall_ms = 500;
inline constexpr std::uint32_t sound_output_start_ms = 3000;

// Main thread, often (once a frame): notes whether the output still takes sound. When
// it has taken none for sound_output_stall_ms, or sound_output_start_ms before it began
// to play (a sound server that died or never answers, a machine too busy to run the
// audio thread), gives it up: the player goes on from where it stands on the silent
// clock, and heard_position() is music_position(). When the output takes sound again,
// the music goes on in it from where the silent clock got to. Says which of these
// happened on this call; the caller tells the user.
enum class SoundOutputChange { none, given_up, back };
SoundOutputChange watch_sound_output();

// Whether closing audio may wait long, or for ever. The output is given up now, or an
// opening of it was left blocked: SDL's audio thread may be blocked for good. Or it took
// sound faster than it plays (a null device): SDL 2's audio thread then calls the
// callback again the moment it returns, and the SDL 2 based library's close, which must
// first lock the device against the callback, was seen to wait 10 to 110 s for a turn.
// The caller then ends without closing audio.
bool sound_close_may_wait();

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

void audio_fill(void* userdata, std::uint8_t* stream, int length);   // the SDL callback
// Takes the player from audio_fill, which from then on hands out silence without
// ticking it, and returns once no audio_fill is running: the caller may then tick the
// player from its own thread. Blocks only while a callback is mixing. set_tick_rate
// or give_player_back_to_audio gives the player back (once the caller no longer ticks
// it).
void take_player_from_audio();
void give_player_back_to_audio();
void mix_chunk(std::uint8_t* stream, std::int32_t count, std::int32_t bits);   // bits: 8 or 16
