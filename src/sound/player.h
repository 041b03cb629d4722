// The module player's song and channel state, shared by its row clock and its effects.
#pragma once

#include "sound/sound.h"

#include <atomic>
#include <cstdint>

inline constexpr int max_channels = voice_count;

struct SongState {
    // Written by the player's thread, read by the main thread through music_position.
    std::atomic<std::int32_t> position;
    std::atomic<std::int32_t> row;
    std::uint32_t tick;
    std::uint32_t speed;
    std::uint32_t break_row;
    std::uint32_t pattern;
    const std::uint8_t* row_cells;
    const std::int16_t* vibrato_waveform;
    const std::int16_t* tremolo_waveform;
    // How many times the song has run past its end (or off the order table) and gone
    // back to the restart position; tools use it to know when a song has played once.
    std::int32_t restarts;
};

struct ChannelState {
    std::int32_t sample;
    std::int32_t volume;
    std::int32_t finetune;
    std::int32_t period;
    std::int32_t target;
    std::int32_t note;
    std::int32_t porta_speed;
    std::int32_t glissando;
    std::int32_t vibrato_depth;
    std::int32_t vibrato_speed;
    std::int32_t vibrato_position;
    std::int32_t tremolo_depth;
    std::int32_t tremolo_speed;
    std::int32_t tremolo_position;
    std::int32_t loop_row;
    std::int32_t loop_count;
    std::int32_t delay;
};

// One pattern cell as the player reads it after loading.
struct Cell {
    std::int32_t sample;      // 0 = none
    std::int32_t note;        // 0..84, 84 = none
    std::int32_t command;     // 0..15
    std::int32_t parameter;   // 0..255
    std::int32_t extended;    // command * 256, plus the parameter's high nibble for E
};

extern SongState song;
extern ChannelState channels[max_channels];
