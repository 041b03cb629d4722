// What the loader keeps of a module for the player: sample settings, the song's
// order table and where each pattern's cells lie in the caller's buffer.
#pragma once

#include <cstdint>

inline constexpr int max_samples = 31;
// Tables indexed by sample number 1..31; entry 0 stays empty.
inline constexpr int sample_slot_count = max_samples + 1;
inline constexpr int max_patterns = 128;
inline constexpr int order_count = 128;
inline constexpr int rows_per_pattern = 64;
inline constexpr int cell_bytes = 4;
// The last error the loader leaves for a module whose signature it does not know,
// 15-sample modules (which have none) among them. Programs show users their own words
// for it (module_refusal_for_users).
inline constexpr const char* unknown_module_type_error = "pt_takemod error: unknown module type!";

struct LoadedModule {
    std::int32_t sample_length[sample_slot_count];
    std::int32_t sample_finetune[sample_slot_count];
    std::int32_t sample_volume[sample_slot_count];
    std::int32_t sample_loop_start[sample_slot_count];
    std::int32_t sample_loop_length[sample_slot_count];
    std::int32_t song_length;
    std::int32_t restart_position;
    std::uint8_t order_table[order_count];
    char signature[5];
    std::int32_t channel_count;
    std::int32_t highest_pattern;
    std::uint8_t* pattern_cells[max_patterns];
};

extern LoadedModule loaded_module;
