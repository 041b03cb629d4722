// The voice operations behind the device table: sample slots and the pending voice
// records that the loader and player write, which the mixer commits and plays.
#pragma once

#include <cstdint>

// The rate the SDL device was opened with; its dev_init hands it to the mixer.
extern std::int32_t device_rate;

void voice_define_sample(std::int32_t number, const std::int8_t* data, std::int32_t length,
                         std::int32_t loop_start, std::int32_t loop_end, std::int32_t loop_flag,
                         std::int32_t loop_length);
void voice_set_period(std::int32_t period);
void voice_set_channel_count(std::int32_t count);
void voice_set_position(std::int32_t offset);
void voice_select_channel(std::int32_t voice);
void voice_set_pan(std::int32_t pan);
void voice_set_channel_sample(std::int32_t number);
void voice_set_master_volume(std::int32_t volume);
void voice_set_volume(std::int32_t volume);

// The SDL device's dev_init: every voice record and sample slot reset for device_rate.
void reset_voices();
