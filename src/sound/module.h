// What the loader keeps of a module for the player: sample settings, the song's
// order table and where each pattern's cells lie in the caller's buffer.
#pragma once

#include <cstdint>

inline constexpr int max_samples = 31;
inline constexpr int max_patterns = 128;
inline constexpr int order_count = 128;
inline constexpr int rows_per_pattern = 64;
inline constexpr int cell_bytes = 4;

struct LoadedModule {
    // Indexed by sample number 1..31; entry 0 stays empty.
    std::int32_t sample_length[max_samples + 1];
    std::int32_t sample_finetune[max_samples + 1];
    std::int32_t sample_volume[max_samples + 1];
    std::int32_t sample_loop_start[max_samples + 1];
    std::int32_t sample_loop_length[max_samples + 1];
    std::int32_t song_length;
    std::int32_t restart_position;
    std::uint8_t order_table[order_count];
    char signature[5];
    std::int32_t channel_count;
    std::int32_t highest_pattern;
    std::uint8_t* pattern_cells[max_patterns];
};

extern LoadedModule loaded_module;
