// The synthesiser: turns one sample's settings into signed 8-bit sample data.
#pragma once

#include "settings.h"

#include <cstdint>
#include <vector>

namespace compose {

// Longest sample a module can describe: 65535 words.
constexpr int max_sample_bytes = 131070;

struct SampleData {
    std::vector<std::int8_t> bytes;   // even length
    int loop_start = 0;               // bytes, even
    int loop_length = 0;              // bytes, even; 0 = plays once
};

// Frequency in Hz that a tone sample sounds when played at C-2.
double tone_c2_frequency(const SampleSpec& spec);

SampleData synthesise(const SampleSpec& spec);

// Shared by the voices (synth.cpp).
// Scales a rendered wave to peak level * 127 after an optional soft
// saturation and rounds it to signed bytes; the wave's length must be even.
std::vector<std::int8_t> quantise(std::vector<double> wave, double drive, double level);
// Ramps the last few milliseconds down to silence so that a one-shot sample
// does not end with a click.
void fade_tail(std::vector<double>& wave, double rate);
int even_length(double seconds, double rate);

SampleData synthesise_kick(const SampleSpec& spec);
SampleData synthesise_snare(const SampleSpec& spec);
SampleData synthesise_noise(const SampleSpec& spec);
SampleData synthesise_tone(const SampleSpec& spec);

}   // namespace compose
