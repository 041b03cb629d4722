// The synthesis settings: one block per sample, each naming the kind of voice
// and the values that shape it.
//
//   sample 01 kick
//     kind   kick
//     note   C-3        # the note the sample is written with in the score
//     volume 64
//     decay  0.25
//
// Every value has a default, so a block names only what differs.
#pragma once

#include "text_lines.h"

#include <array>
#include <string>
#include <string_view>

namespace compose {

constexpr int max_samples = 31;
constexpr int max_oscillators = 8;

enum class VoiceKind { none, kick, snare, noise, tone };
enum class Wave { sine, triangle, square, saw };

// One oscillator of a tone voice: its waveform, its interval above the
// sample's root in semitones, and its level.
struct Oscillator {
    Wave wave;
    double semitones;
    double level;
};

struct SampleSpec {
    VoiceKind kind = VoiceKind::none;
    std::string name;
    int line = 0;          // where the block starts, for messages
    int volume = 64;       // default volume written into the module
    int note = 48;         // drums and noises: the note they are meant to play at
    double level = 1.0;    // peak of the sample as a share of full scale
    double length = 0.3;   // one-shot length in seconds at its note
    double drive = 0.3;    // soft saturation; small values leave the wave nearly clean
    double decay = 0.2;    // time constant of the main decay, seconds

    // kick
    double start_hz = 150.0;   // pitch at the hit, falling to end_hz
    double end_hz = 45.0;
    double sweep = 0.03;   // time constant of that fall
    double click = 0.3;    // level of the beater click

    // snare
    double tone_hz = 185.0;
    double tone_decay = 0.05;
    double tone_level = 0.7;
    double noise_level = 1.0;

    // snare and noise: band of the noise
    double highpass = 1000.0;
    double lowpass = 10000.0;
    double metal = 0.0;   // level of the clangy square-wave cluster

    // tone
    int octave = 4;   // C-2 of this sample sounds as the C of this octave (C4 = 261.63 Hz)
    std::array<Oscillator, max_oscillators> oscillators{};
    int oscillator_count = 0;
    int unison = 1;   // copies of every oscillator, spread over +-detune cents
    double detune = 0.0;
    double cutoff = 3000.0;       // brightness of the held part, Hz at C-2
    double attack_cutoff = 0.0;   // brightness at the start; 0 = same as cutoff
    double attack = 0.004;        // rise time, seconds
    double sustain = 0.6;         // level of the held part relative to the peak
    double pre = 0.25;            // length of the part before the loop, seconds at C-2
    double loop = 0.4;            // length of the loop, seconds at C-2; 0 = one-shot
};

struct SampleSet {
    std::array<SampleSpec, max_samples + 1> samples{};   // 1..31; kind none = unused
};

// Parses the settings text; mistakes go into diags with their line and column.
SampleSet parse_settings(std::string_view text, std::string_view file, Diagnostics& diags);

}   // namespace compose
