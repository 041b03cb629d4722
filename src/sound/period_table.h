// The period table of the player: one row of 85 Amiga periods per finetune.
#pragma once

#include <array>
#include <cstdint>

inline constexpr int note_count = 85;   // note indexes 0..84, 84 = no note
inline constexpr int no_note = 84;
// The Amiga's clock constant: a period p plays amiga_clock / p sample bytes a second.
inline constexpr std::int64_t amiga_clock = 3546836;

// Rows 0..7 are finetunes 0..7, rows 8..15 the finetunes -8..-1.
using PeriodTable = std::array<std::array<std::uint16_t, note_count>, 16>;
extern const PeriodTable period_table;

// The note index of a period in the finetune-0 row: 0 for periods at or above the
// table's top, else the first index whose period is not above it, 84 when none is.
std::int32_t note_for_period(std::int32_t period);
