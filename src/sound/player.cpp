#include "sound/module.h"
#include "sound/period_table.h"
#include "sound/player.h"
#include "sound/player_effects.h"
#include "sound/sound.h"
#include "sound/waveforms.h"

#include <cstring>

SongState song;
ChannelState channels[max_channels];

namespace {

constexpr std::int32_t last_row = rows_per_pattern - 1;

Cell read_cell(const std::uint8_t* bytes)
{
    Cell cell;
    // Sample numbers past the 31 slots are treated as no sample.
    cell.sample = bytes[0] <= max_samples ? bytes[0] : 0;
    cell.note = bytes[1] <= no_note ? bytes[1] : no_note;
    cell.command = bytes[2] & 0x0F;
    cell.parameter = bytes[3];
    cell.extended = cell.command * 256 + (cell.command == 0xE ? (cell.parameter & 0xF0) : 0);
    return cell;
}

// Pattern delay holds the row: each channel's count goes down once per held
// boundary, and while any was counting the boundary does nothing else.
bool hold_row_for_delay()
{
    bool held = false;
    for (ChannelState& channel : channels) {
        if (channel.delay > 0) {
            --channel.delay;
            held = true;
        }
    }
    return held;
}

void next_row()
{
    std::int32_t row = song.row.load(std::memory_order_relaxed) + 1;
    std::int32_t position = song.position.load(std::memory_order_relaxed);
    if (static_cast<std::uint32_t>(row) > last_row) {
        ++position;
        row = static_cast<std::int32_t>(song.break_row);
        song.break_row = 0;
        // Past the song's end, or off the order table altogether (a jump beyond it,
        // a song length above 128), the song goes on at its restart position.
        if (static_cast<std::uint32_t>(position) >= static_cast<std::uint32_t>(loaded_module.song_length) ||
            position >= order_count) {
            position = loaded_module.restart_position;
            ++song.restarts;
        }
    } else if (position < 0 || position >= order_count) {
        // A jump whose row wrap a pattern loop on the same row undid (B00 beside an
        // E6x leaves order -1 and a row inside the pattern): no order to look up there.
        position = loaded_module.restart_position;
        ++song.restarts;
    }
    song.position.store(position, std::memory_order_relaxed);
    song.row.store(row, std::memory_order_relaxed);
    song.pattern = loaded_module.order_table[position];
    song.row_cells = loaded_module.pattern_cells[song.pattern] +
                     static_cast<std::size_t>(row) * loaded_module.channel_count * cell_bytes;
}

// Returns false when the tick ends at a held row boundary.
bool advance_row_clock()
{
    if (song.speed == 0)
        return true;
    if (++song.tick < song.speed)
        return true;
    song.tick = 0;
    if (hold_row_for_delay())
        return false;
    next_row();
    return true;
}

void start_note(ChannelState& channel, const Cell& cell)
{
    if (cell.sample != 0) {
        channel.sample = cell.sample;
        channel.volume = loaded_module.sample_volume[cell.sample];
        if (cell.command != 0xC)
            sound_device.set_volume(channel.volume);
        sound_device.set_channel_sample(cell.sample);
    }
    if (cell.note >= no_note)
        return;
    channel.finetune = loaded_module.sample_finetune[channel.sample];
    const std::int32_t period = note_period(channel, cell.note);
    channel.target = period;
    // Tone portamento slides to the note instead, and note delay plays it later.
    if (cell.command == 3 || cell.command == 5 || cell.extended == 0xED0)
        return;
    channel.period = period;
    sound_device.set_period(period);
    if (cell.command != 9)
        sound_device.set_position(0);
    channel.note = cell.note;
}

}   // namespace

void pt_init()
{
    song.position.store(-1, std::memory_order_relaxed);
    song.row.store(last_row, std::memory_order_relaxed);
    song.tick = 5;
    song.speed = 6;
    song.break_row = 0;
    song.pattern = 0;
    song.row_cells = nullptr;
    song.restarts = 0;
    build_waveforms();
    song.vibrato_waveform = waveforms[0];
    song.tremolo_waveform = waveforms[0];
    std::memset(channels, 0, sizeof channels);
}

void pt_tick()
{
    if (!advance_row_clock() || !song.row_cells)
        return;
    const std::int32_t count = loaded_module.channel_count;
    for (std::int32_t c = 0; c < count; ++c) {
        const Cell cell = read_cell(song.row_cells + c * cell_bytes);
        ChannelState& channel = channels[c];
        sound_device.select_channel(c);
        if (song.tick == 0) {
            start_note(channel, cell);
            apply_row_effect(channel, cell);
        } else {
            apply_tick_effect(channel, cell);
        }
    }
}
