#include "sound/player_effects.h"

#include "sound/module.h"
#include "sound/period_table.h"
#include "sound/sound.h"
#include "sound/waveforms.h"

namespace {

constexpr std::int32_t lowest_period = 27;   // bounds of the period slides
constexpr std::int32_t highest_period = 3628;

std::int32_t clamp_volume(std::int32_t volume)
{
    return volume < 0 ? 0 : volume > 64 ? 64 : volume;
}

void set_channel_volume(ChannelState& channel, std::int32_t volume)
{
    channel.volume = volume;
    sound_device.set_volume(volume);
}

void set_channel_period(ChannelState& channel, std::int32_t period)
{
    channel.period = period;
    sound_device.set_period(period);
}

// The low nibble, then the high one, of an effect parameter.
std::int32_t low(std::int32_t parameter)
{
    return parameter & 15;
}
std::int32_t high(std::int32_t parameter)
{
    return parameter >> 4;
}

void volume_slide(ChannelState& channel, std::int32_t parameter)
{
    const std::int32_t volume =
        parameter < 16 ? channel.volume - low(parameter) : channel.volume + high(parameter);
    set_channel_volume(channel, clamp_volume(volume));
}

void slide_to_target(ChannelState& channel)
{
    if (channel.period < channel.target) {
        channel.period += channel.porta_speed;
        if (channel.period > channel.target)
            channel.period = channel.target;
    } else if (channel.period > channel.target) {
        channel.period -= channel.porta_speed;
        if (channel.period < channel.target)
            channel.period = channel.target;
    }
}

// Glissando plays the note whose period is the first, from the top of the row
// downwards, that is not smaller than the sliding period.
std::int32_t semitone_period(const ChannelState& channel)
{
    const auto& row = period_table[channel.finetune & 15];
    std::int32_t index = no_note;
    while (index > 0 && row[index] < channel.period)
        --index;
    return row[index];
}

void vibrate(ChannelState& channel)
{
    const std::int32_t offset = song.vibrato_waveform[channel.vibrato_position] * channel.vibrato_depth / 127;
    sound_device.set_period(channel.period + offset);
    channel.vibrato_position = (channel.vibrato_position + channel.vibrato_speed) & 63;
}

void tremolo(ChannelState& channel, std::int32_t parameter)
{
    if (low(parameter) != 0)
        channel.tremolo_depth = low(parameter) * 2;
    if (high(parameter) != 0)
        channel.tremolo_speed = high(parameter);
    const std::int32_t offset = song.tremolo_waveform[channel.tremolo_position] * channel.tremolo_depth / 127;
    sound_device.set_volume(clamp_volume(channel.volume + offset));
    channel.tremolo_position = (channel.tremolo_position + channel.tremolo_speed) & 63;
}

void arpeggio(const ChannelState& channel, std::int32_t parameter)
{
    const std::uint32_t phase = song.tick % 3;
    const std::int32_t shift = phase == 1 ? high(parameter) : phase == 2 ? low(parameter) : 0;
    sound_device.set_period(note_period(channel, channel.note + shift));
}

// Whether a tick-counted effect (note cut, note delay) fires now: on its tick, or on
// the row's last tick when the row is too short to reach it.
bool counted_tick_reached(std::int32_t parameter)
{
    const std::uint32_t wanted = static_cast<std::uint32_t>(low(parameter));
    return song.tick == wanted || (song.tick == song.speed - 1 && song.speed <= wanted);
}

void restart_note(ChannelState& channel, std::int32_t note)
{
    channel.period = note_period(channel, note);
    sound_device.set_volume(channel.volume);
    sound_device.set_period(channel.period);
    sound_device.set_position(0);
}

void pattern_loop(ChannelState& channel, std::int32_t parameter)
{
    const std::int32_t row = song.row.load(std::memory_order_relaxed);
    if (low(parameter) == 0) {
        channel.loop_row = row;
        return;
    }
    if (channel.loop_count == 0) {
        channel.loop_count = low(parameter);
    } else if (--channel.loop_count <= 0) {
        return;
    }
    song.row.store(channel.loop_row - 1, std::memory_order_relaxed);
}

void pattern_break(std::int32_t parameter)
{
    const std::uint32_t row = static_cast<std::uint32_t>(high(parameter) * 10 + low(parameter));
    // A break past the pattern's last row starts the next pattern at its top.
    song.break_row = row < rows_per_pattern ? row : 0;
    song.row.store(rows_per_pattern - 1, std::memory_order_relaxed);
}

void extended_row_effect(ChannelState& channel, std::int32_t extended, std::int32_t parameter)
{
    switch (extended) {
    case 0xE10:
        set_channel_period(channel, channel.period > lowest_period ? channel.period - 1 : channel.period);
        break;
    case 0xE20:
        set_channel_period(channel, channel.period < highest_period ? channel.period + 1 : channel.period);
        break;
    case 0xE30: channel.glissando = low(parameter); break;
    case 0xE40:
        song.vibrato_waveform = waveforms[parameter & 3];
        if (low(parameter) < 4)
            channel.vibrato_position = 0;
        break;
    case 0xE50: channel.finetune = low(parameter); break;
    case 0xE60: pattern_loop(channel, parameter); break;
    case 0xE70:
        song.tremolo_waveform = waveforms[parameter & 3];
        if (low(parameter) < 4)
            channel.tremolo_position = 0;
        break;
    case 0xE80: sound_device.set_pan(low(parameter) * 17); break;
    case 0xEA0: set_channel_volume(channel, channel.volume < 64 ? channel.volume + 1 : channel.volume); break;
    case 0xEB0: set_channel_volume(channel, channel.volume > 0 ? channel.volume - 1 : channel.volume); break;
    case 0xEE0: channel.delay = low(parameter); break;
    default: break;
    }
}

}   // namespace

std::int32_t note_period(const ChannelState& channel, std::int32_t note)
{
    const std::int32_t index = note < 0 ? 0 : note > no_note ? no_note : note;
    return period_table[channel.finetune & 15][index];
}

void apply_row_effect(ChannelState& channel, const Cell& cell)
{
    const std::int32_t p = cell.parameter;
    switch (cell.extended) {
    case 0x000:
        if (p != 0)
            sound_device.set_period(note_period(channel, channel.note));
        break;
    case 0x800: sound_device.set_pan(p); break;
    case 0x900: sound_device.set_position(p * 256); break;
    case 0xB00:
        song.position.store(p - 1, std::memory_order_relaxed);
        song.row.store(rows_per_pattern - 1, std::memory_order_relaxed);
        break;
    case 0xC00: set_channel_volume(channel, p); break;
    case 0xD00: pattern_break(p); break;
    case 0xF00:
        // Larger values are tempos; the clock fixes the tick rate, so they do nothing.
        if (p < 32)
            song.speed = static_cast<std::uint32_t>(p);
        break;
    default: extended_row_effect(channel, cell.extended, p); break;
    }
}

void apply_tick_effect(ChannelState& channel, const Cell& cell)
{
    const std::int32_t p = cell.parameter;
    switch (cell.extended) {
    case 0x000:
        if (p != 0)
            arpeggio(channel, p);
        break;
    case 0x100:
        set_channel_period(channel, channel.period - p < lowest_period ? lowest_period : channel.period - p);
        break;
    case 0x200:
        set_channel_period(channel,
                           channel.period + p > highest_period ? highest_period : channel.period + p);
        break;
    case 0x300:
        if (p != 0)
            channel.porta_speed = p;
        slide_to_target(channel);
        sound_device.set_period(channel.glissando == 0 ? channel.period : semitone_period(channel));
        break;
    case 0x400:
        if (low(p) != 0)
            channel.vibrato_depth = low(p);
        if (high(p) != 0)
            channel.vibrato_speed = high(p);
        vibrate(channel);
        break;
    case 0x500:
        slide_to_target(channel);
        sound_device.set_period(channel.period);
        volume_slide(channel, p);
        break;
    case 0x600:
        vibrate(channel);
        volume_slide(channel, p);
        break;
    case 0x700: tremolo(channel, p); break;
    case 0xA00: volume_slide(channel, p); break;
    case 0xE90:
        if (low(p) != 0 && cell.note < no_note && song.tick % static_cast<std::uint32_t>(low(p)) == 0)
            restart_note(channel, cell.note);
        break;
    case 0xEC0:
        if (counted_tick_reached(p))
            sound_device.set_volume(0);
        break;
    case 0xED0:
        if (cell.note < no_note && counted_tick_reached(p)) {
            channel.note = cell.note;
            restart_note(channel, cell.note);
        }
        break;
    default: break;
    }
}
