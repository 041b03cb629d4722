// Note names and the periods the module stores for them.
//
// Notes are written tracker style: a letter, '-' or '#', and an octave digit,
// e.g. "C-2", "F#3". C-1 is the lowest note of the classic three-octave range
// (period 856) and C-2 is period 428; octaves 0 to 5 are accepted because the
// player's table reaches one octave below and two above that range.
#pragma once

#include "sound/period_table.h"

#include <cstdint>
#include <string_view>

namespace compose {

constexpr int note_count = no_note;    // note indexes 0..83 have periods
constexpr int first_named_note = 12;   // C-0
constexpr int note_c2 = 36;            // period 428
// The player's clock, which turns a period into a playback rate (bytes per second).
constexpr double period_clock = static_cast<double>(amiga_clock);

// Index of a note name (C-0 is 12, C-2 is 36, B-5 is 83), or -1 if the text
// is not a note name.
int note_index(std::string_view name);
// The period written into the module for a note index 0..83: the player's own, at
// finetune 0.
std::uint16_t note_period(int index);
// Bytes per second at which a sample plays for this note.
double note_rate(int index);

}   // namespace compose
