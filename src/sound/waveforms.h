// The four modulation waveforms of vibrato and tremolo, 64 entries each.
#pragma once

#include <cstdint>

inline constexpr int waveform_length = 64;

// Sine, ramp, square and random, chosen by the numbers 0..3.
extern std::int16_t waveforms[4][waveform_length];

// Fills all four tables; the random one comes from its own fixed generator, so it is
// the same in every run.
void build_waveforms();
