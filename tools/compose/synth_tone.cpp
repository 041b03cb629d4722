// Tone voices (bass, lead, pads, chords): additive synthesis of band-limited
// waveforms, with a bright, loud start that settles into a held part which
// loops.
//
// Pitch and looping are solved together: the loop holds a whole number N of
// cycles of the root in L bytes, with N and L picked so that N * rate / L is
// as close as possible to the root's frequency (well within a cent). Every
// partial then runs a whole number of cycles over the loop too, so the loop
// joins without a seam. Detuned copies are snapped to whole cycles as well,
// which turns the detune into a beating exactly in step with the loop.
#include "notes.h"
#include "synth.h"
#include "synth_math.h"

#include <cmath>

namespace compose {

namespace {

constexpr double middle_c = 261.6255653005986;   // C4 in Hz, equal temperament at A4 = 440 Hz
constexpr double partial_limit = 0.47;           // cycles per byte: stay clear of the Nyquist limit

struct LoopFrame {
    std::int64_t cycles;   // N: root cycles in the frame
    std::int64_t bytes;    // L: frame length, even
};

// The frame near the wanted length whose pitch lies closest to the root.
LoopFrame pick_frame(double seconds, double root_hz, double rate)
{
    std::int64_t centre = static_cast<std::int64_t>(seconds * root_hz + 0.5);
    LoopFrame best{1, 2};
    double best_error = 1e9;
    for (std::int64_t n = centre - 40; n <= centre + 40; ++n) {
        if (n < 1)
            continue;
        std::int64_t half = static_cast<std::int64_t>(static_cast<double>(n) * rate / root_hz / 2.0 + 0.5);
        std::int64_t bytes = 2 * half;
        if (bytes < 2 || bytes > max_sample_bytes / 2)
            continue;
        double ratio = static_cast<double>(n) * rate / (static_cast<double>(bytes) * root_hz);
        double error = ratio > 1.0 ? ratio - 1.0 : 1.0 - ratio;
        if (error < best_error) {
            best_error = error;
            best = LoopFrame{n, bytes};
        }
    }
    return best;
}

// One sinusoidal component: cycles per frame, starting offset and amplitude.
struct Partial {
    std::int64_t cycles;
    std::int64_t offset;
    double amplitude;
    double hz;   // at C-2, for the brightness filter
};

// Amplitude of harmonic h of a waveform with unit fundamental.
double harmonic_amplitude(Wave wave, int h)
{
    switch (wave) {
    case Wave::sine: return h == 1 ? 1.0 : 0.0;
    case Wave::saw: return 1.0 / h;
    case Wave::square: return h % 2 ? 1.0 / h : 0.0;
    case Wave::triangle: return h % 2 ? ((h / 2) % 2 ? -1.0 : 1.0) / (static_cast<double>(h) * h) : 0.0;
    }
    return 0.0;
}

// Detune of copy u of n, spread evenly over -detune .. +detune cents.
double unison_cents(int u, int n, double detune)
{
    return n > 1 ? detune * (2.0 * u / (n - 1) - 1.0) : 0.0;
}

// Cycles per frame of one copy. Detuned copies are kept at least one cycle away
// from the undetuned count, so that a small detune beats instead of vanishing.
std::int64_t copy_cycles(std::int64_t root_cycles, double semitones, double cents)
{
    double exact = static_cast<double>(root_cycles) * cents_ratio(semitones * 100.0);
    double detuned = exact * cents_ratio(cents);
    std::int64_t plain = static_cast<std::int64_t>(exact + 0.5);
    std::int64_t cycles = static_cast<std::int64_t>(detuned + 0.5);
    if (cents > 0.0 && cycles <= plain)
        cycles = plain + 1;
    if (cents < 0.0 && cycles >= plain)
        cycles = plain - 1;
    return cycles < 1 ? 1 : cycles;
}

std::vector<Partial> make_partials(const SampleSpec& spec, LoopFrame frame, double rate)
{
    std::vector<Partial> partials;
    Noise noise = make_noise(7);
    for (int u = 0; u < spec.unison; ++u) {
        // Each copy starts at its own point, so that the copies do not all peak
        // together; the oscillators of one copy start in step, so that two of
        // them on the same pitch can never cancel.
        std::int64_t offset =
            static_cast<std::int64_t>(next_noise_bits(noise) % static_cast<std::uint32_t>(frame.bytes));
        for (int o = 0; o < spec.oscillator_count; ++o) {
            const Oscillator& osc = spec.oscillators[o];
            std::int64_t cycles =
                copy_cycles(frame.cycles, osc.semitones, unison_cents(u, spec.unison, spec.detune));
            for (int h = 1;
                 static_cast<double>(cycles * h) < partial_limit * static_cast<double>(frame.bytes); ++h) {
                double amplitude = harmonic_amplitude(osc.wave, h) * osc.level / spec.unison;
                if (amplitude == 0.0)
                    continue;
                double hz = static_cast<double>(cycles * h) * rate / static_cast<double>(frame.bytes);
                partials.push_back(Partial{cycles * h, offset * h % frame.bytes, amplitude, hz});
            }
        }
    }
    return partials;
}

// Gain of a two-pole low-pass at the partial's frequency.
double brightness(double hz, double cutoff)
{
    double x = hz / cutoff;
    return 1.0 / std::sqrt(1.0 + x * x * x * x);
}

// Sum of the partials at one byte of the frame, each with its own gain.
double sum_partials(const std::vector<Partial>& partials, const std::vector<double>& gains,
                    const std::vector<double>& sine, std::int64_t index, std::int64_t frame)
{
    double sum = 0.0;
    for (std::size_t p = 0; p < partials.size(); ++p) {
        std::int64_t phase = (partials[p].cycles * index + partials[p].offset) % frame;
        sum = sum + partials[p].amplitude * gains[p] * sine[static_cast<std::size_t>(phase)];
    }
    return sum;
}

}   // namespace

double tone_c2_frequency(const SampleSpec& spec)
{
    double hz = middle_c;
    for (int o = spec.octave; o > 4; --o)
        hz = hz * 2.0;
    for (int o = spec.octave; o < 4; ++o)
        hz = hz / 2.0;
    return hz;
}

SampleData synthesise_tone(const SampleSpec& spec)
{
    double rate = note_rate(note_c2);
    bool looped = spec.loop > 0.0;
    LoopFrame frame = pick_frame(looped ? spec.loop : 0.5, tone_c2_frequency(spec), rate);
    std::int64_t pre = spec.pre > 0.0 ? even_length(spec.pre, rate) : 0;
    std::int64_t total = pre + (looped ? frame.bytes : 0);

    std::vector<double> sine(static_cast<std::size_t>(frame.bytes));
    for (std::size_t k = 0; k < sine.size(); ++k)
        sine[k] = det_sin(2.0 * pi * static_cast<double>(k) / static_cast<double>(frame.bytes));

    std::vector<Partial> partials = make_partials(spec, frame, rate);
    std::vector<double> held(partials.size());
    std::vector<double> gains(partials.size());
    for (std::size_t p = 0; p < partials.size(); ++p)
        held[p] = brightness(partials[p].hz, spec.cutoff);

    double start_cutoff = spec.attack_cutoff > 0.0 ? spec.attack_cutoff : spec.cutoff;
    double settle = pre > 0 ? static_cast<double>(pre) / rate : 1.0;
    double floor = det_exp(-settle / spec.decay);
    std::vector<double> wave(static_cast<std::size_t>(total));
    for (std::int64_t i = 0; i < total; ++i) {
        // The frame's phase runs from the loop start, so the loop repeats exactly.
        std::int64_t index = ((i - pre) % frame.bytes + frame.bytes) % frame.bytes;
        double t = static_cast<double>(i) / rate;
        // shape falls from 1 at the start to exactly 0 where the loop begins.
        double shape = i < pre ? (det_exp(-t / spec.decay) - floor) / (1.0 - floor) : 0.0;
        double level = spec.sustain + (1.0 - spec.sustain) * shape;
        if (t < spec.attack)
            level = level * t / spec.attack;
        if (i < pre) {
            double cutoff = spec.cutoff + (start_cutoff - spec.cutoff) * shape;
            for (std::size_t p = 0; p < partials.size(); ++p)
                gains[p] = brightness(partials[p].hz, cutoff);
        }
        const std::vector<double>& now = i < pre ? gains : held;
        wave[static_cast<std::size_t>(i)] = level * sum_partials(partials, now, sine, index, frame.bytes);
    }

    SampleData out;
    if (looped) {
        out.loop_start = static_cast<int>(pre);
        out.loop_length = static_cast<int>(frame.bytes);
    } else {
        fade_tail(wave, rate);
    }
    out.bytes = quantise(std::move(wave), spec.drive, spec.level);
    return out;
}

}   // namespace compose
