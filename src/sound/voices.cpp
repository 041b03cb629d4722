#include "sound/voices.h"

#include "sound/module.h"
#include "sound/period_table.h"
#include "sound/sound.h"

#include <cmath>

Voice pending_voices[voice_count];
Voice mixing_voices[voice_count];
std::int32_t output_rate = 44100;
std::int32_t mixed_voice_count = 4;
std::int32_t master_volume = 63;
std::int32_t device_rate = 44100;

namespace {

struct SampleSlot {
    const std::int8_t* data;
    std::uint32_t length;
    std::uint32_t loop_start;
    std::uint32_t loop_end;
    std::int32_t loop_flag;
};

SampleSlot sample_slots[sample_slot_count];

Voice* current_voice = &pending_voices[0];

Voice reset_voice()
{
    Voice voice{};
    voice.pan = 127;
    voice.step_changed = 1;
    voice.position_changed = 1;
    return voice;
}

// The step through a sample per output sample for an Amiga period at a rate, as a
// 32.32 fixed-point number split into its whole and fraction words.
struct Step {
    std::uint32_t whole;
    std::uint32_t fraction;
};

Step step_for_period(std::int32_t period, std::int32_t rate)
{
    // A negative period (a vibrato under a very high note) is as silent as period 0.
    if (period <= 0 || rate <= 0)
        return {0, 0};
    const std::int64_t whole = amiga_clock / period / rate;
    const double exact =
        static_cast<double>(amiga_clock) / (static_cast<double>(period) * static_cast<double>(rate));
    const double fraction = exact - std::floor(exact);
    const auto fraction24 = static_cast<std::uint32_t>(fraction * 16777216.0);
    return {static_cast<std::uint32_t>(whole), fraction24 << 8};
}

}   // namespace

void voice_define_sample(std::int32_t number, const std::int8_t* data, std::int32_t length,
                         std::int32_t loop_start, std::int32_t loop_end, std::int32_t loop_flag,
                         std::int32_t /*loop_length*/)
{
    if (number < 1 || number >= sample_slot_count)
        return;
    sample_slots[number] = {data, static_cast<std::uint32_t>(length), static_cast<std::uint32_t>(loop_start),
                            static_cast<std::uint32_t>(loop_end), loop_flag};
}

void voice_set_period(std::int32_t period)
{
    const Step step = step_for_period(period, output_rate);
    current_voice->step = step.whole;
    current_voice->step_fraction = step.fraction;
    current_voice->step_changed = 1;
}

void voice_set_channel_count(std::int32_t count)
{
    mixed_voice_count = count < 0 ? 0 : count > voice_count ? voice_count : count;
}

void voice_set_position(std::int32_t offset)
{
    const auto place = static_cast<std::uint32_t>(offset);
    // Starting beyond the loop plays the sample out once instead.
    if (place > current_voice->loop_end)
        current_voice->loop_flag = 0;
    if (place >= current_voice->length)
        return;
    current_voice->position = place;
    current_voice->position_fraction = 0;
    current_voice->position_changed = 1;
}

void voice_select_channel(std::int32_t voice)
{
    if (voice >= 0 && voice < voice_count)
        current_voice = &pending_voices[voice];
}

void voice_set_pan(std::int32_t pan)
{
    current_voice->pan = pan;
}

void voice_set_channel_sample(std::int32_t number)
{
    if (number < 0 || number >= sample_slot_count)
        return;
    const SampleSlot& slot = sample_slots[number];
    current_voice->data = slot.data;
    current_voice->length = slot.length;
    current_voice->loop_start = slot.loop_start;
    current_voice->loop_end = slot.loop_end;
    current_voice->loop_flag = slot.loop_flag;
    current_voice->sample_number = number;
}

void voice_set_master_volume(std::int32_t volume)
{
    master_volume = volume < 253 ? volume : 252;
}

void voice_set_volume(std::int32_t volume)
{
    current_voice->volume = volume;
}

void reset_voices()
{
    output_rate = device_rate;
    for (int v = 0; v < voice_count; ++v) {
        pending_voices[v] = reset_voice();
        mixing_voices[v] = reset_voice();
    }
    // The length goes with the data: a cleared slot has nothing to play.
    for (SampleSlot& slot : sample_slots)
        slot = SampleSlot{};
    current_voice = &pending_voices[0];
}
