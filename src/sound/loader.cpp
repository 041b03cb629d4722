#include "sound/module.h"
#include "sound/period_table.h"
#include "sound/sound.h"

#include <cstring>

LoadedModule loaded_module;

namespace {

constexpr std::size_t title_bytes = 20;
constexpr std::size_t sample_header_bytes = 30;
constexpr std::size_t pattern_data_offset = 1084;
// Title, 31 sample headers, song length and restart bytes, order table, signature.
static_assert(title_bytes + 31 * sample_header_bytes + 2 + 128 + 4 == pattern_data_offset);

struct Signature {
    char text[5];
    std::int32_t channels;
};

// Searched from the top; "STOP" ends the table and rejects the module.
constexpr Signature signatures[] = {
    {"2CHN", 2},  {"4CHN", 4},  {"M.K.", 4},  {"M!K!", 4},  {"FLT4", 4},  {"FLT8", 8},
    {"OCTA", 8},  {"6CHN", 6},  {"8CHN", 8},  {"10CH", 10}, {"12CH", 12}, {"14CH", 14},
    {"16CH", 16}, {"18CH", 18}, {"20CH", 20}, {"22CH", 22}, {"24CH", 24}, {"26CH", 26},
    {"28CH", 28}, {"30CH", 30}, {"32CH", 32}, {"STOP", 0},
};

// The read cursor over the caller's buffer.
struct Cursor {
    std::uint8_t* base;
    std::size_t offset;
};

std::int32_t read_byte(Cursor& cursor)
{
    return cursor.base[cursor.offset++];
}

std::int32_t read_word(Cursor& cursor)
{
    const std::int32_t high = read_byte(cursor);
    return high * 256 + read_byte(cursor);
}

void skip_bytes(Cursor& cursor, std::size_t count)
{
    cursor.offset += count;
}

void read_sample_headers(Cursor& cursor, LoadedModule& module)
{
    for (int number = 1; number <= max_samples; ++number) {
        skip_bytes(cursor, 22);
        module.sample_length[number] = read_word(cursor) * 2;
        module.sample_finetune[number] = read_byte(cursor) & 15;
        const std::int32_t volume = read_byte(cursor);
        module.sample_volume[number] = volume > 64 ? 64 : volume;
        module.sample_loop_start[number] = read_word(cursor) * 2;
        module.sample_loop_length[number] = read_word(cursor) * 2;
    }
}

std::int32_t channels_for_signature(const char* text)
{
    for (const Signature& entry : signatures) {
        if (std::memcmp(entry.text, text, 4) == 0 || entry.channels == 0)
            return entry.channels;
    }
    return 0;
}

// Period and sample number as the file packs them become the player's note index,
// sample number and bare effect command.
void rewrite_cell(std::uint8_t* cell)
{
    const std::int32_t period = (cell[0] & 0x0F) * 256 + cell[1];
    cell[0] = static_cast<std::uint8_t>((cell[0] & 0xF0) + (cell[2] >> 4));
    cell[2] = static_cast<std::uint8_t>(cell[2] & 0x0F);
    cell[1] = static_cast<std::uint8_t>(note_for_period(period));
}

std::size_t total_sample_bytes(const LoadedModule& module)
{
    std::size_t total = 0;
    for (int number = 1; number <= max_samples; ++number)
        total += static_cast<std::size_t>(module.sample_length[number]);
    return total;
}

int reject(LoadedModule& module, const char* reason)
{
    module.channel_count = 0;
    last_error = reason;
    return 0;
}

}   // namespace

int pt_takemod(std::uint8_t* buffer, std::size_t size)
{
    LoadedModule& module = loaded_module;
    if (!buffer || size < pattern_data_offset)
        return reject(module, "the file is too short for a module header (1,084 bytes)");

    Cursor cursor{buffer, 0};
    skip_bytes(cursor, title_bytes);
    read_sample_headers(cursor, module);
    module.song_length = read_byte(cursor);
    const std::int32_t restart = read_byte(cursor);
    module.restart_position = restart > 126 ? 0 : restart;
    std::int32_t highest = 0;
    for (int i = 0; i < order_count; ++i) {
        module.order_table[i] = static_cast<std::uint8_t>(read_byte(cursor));
        if (module.order_table[i] > highest)
            highest = module.order_table[i];
    }
    std::memcpy(module.signature, buffer + cursor.offset, 4);
    module.signature[4] = '\0';
    skip_bytes(cursor, 4);

    const std::int32_t channels = channels_for_signature(module.signature);
    if (channels == 0)
        return reject(module, unknown_module_type_error);
    if (highest >= max_patterns)
        return reject(module, "the order table names a pattern above 127");

    // Everything is measured before anything is rewritten, so a rejected module's
    // buffer stays as it was read.
    const std::size_t pattern_bytes = static_cast<std::size_t>(channels) * rows_per_pattern * cell_bytes;
    const std::size_t patterns_end = cursor.offset + pattern_bytes * (highest + 1);
    if (patterns_end > size)
        return reject(module, "the patterns reach beyond the end of the file");
    if (total_sample_bytes(module) > size - patterns_end)
        return reject(module, "the sample data reach beyond the end of the file");

    module.channel_count = channels;
    module.highest_pattern = highest;
    for (std::int32_t pattern = 0; pattern <= highest; ++pattern) {
        std::uint8_t* cells = buffer + cursor.offset;
        module.pattern_cells[pattern] = cells;
        for (std::size_t cell = 0; cell < pattern_bytes; cell += cell_bytes)
            rewrite_cell(cells + cell);
        skip_bytes(cursor, pattern_bytes);
    }
    for (std::int32_t number = 1; number <= max_samples; ++number) {
        const std::int32_t length = module.sample_length[number];
        if (length == 0)
            continue;
        const std::int32_t loop_start = module.sample_loop_start[number];
        const std::int32_t loop_length = module.sample_loop_length[number];
        sound_device.define_sample(number, reinterpret_cast<const std::int8_t*>(buffer + cursor.offset),
                                   length, loop_start, loop_start + loop_length, loop_length > 2 ? 1 : 0,
                                   loop_length);
        skip_bytes(cursor, static_cast<std::size_t>(length));
    }
    sound_device.set_channel_count(channels);
    return 1;
}
