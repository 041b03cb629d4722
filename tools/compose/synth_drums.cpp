// Drum voices: one-shot samples rendered at the rate of the note they are
// written with, so that they sound as designed when the score plays them there.
#include "notes.h"
#include "synth.h"
#include "synth_math.h"

namespace compose {

namespace {

// One-pole low-pass coefficient for a corner frequency.
double lowpass_coefficient(double hz, double rate)
{
    return 1.0 - det_exp(-2.0 * pi * hz / rate);
}

// Two one-pole stages each way: a gentle band of noise.
struct Band {
    double high_coefficient;
    double low_coefficient;
    double high_state[2];
    double low_state[2];
};

Band make_band(double highpass, double lowpass, double rate)
{
    return Band{lowpass_coefficient(highpass, rate), lowpass_coefficient(lowpass, rate), {0, 0}, {0, 0}};
}

double filter_band(Band& band, double x)
{
    for (double& s : band.high_state) {
        s = s + band.high_coefficient * (x - s);
        x = x - s;
    }
    for (double& s : band.low_state) {
        s = s + band.low_coefficient * (x - s);
        x = s;
    }
    return x;
}

SampleData one_shot(std::vector<double> wave, const SampleSpec& spec, double rate)
{
    fade_tail(wave, rate);
    SampleData out;
    out.bytes = quantise(std::move(wave), spec.drive, spec.level);
    return out;
}

}   // namespace

SampleData synthesise_kick(const SampleSpec& spec)
{
    double rate = note_rate(spec.note);
    std::vector<double> wave(static_cast<std::size_t>(even_length(spec.length, rate)));
    Noise noise = make_noise(1);
    Band click_band = make_band(1500.0, 6000.0, rate);
    double phase = 0.0;
    for (std::size_t i = 0; i < wave.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double hz = spec.end_hz + (spec.start_hz - spec.end_hz) * det_exp(-t / spec.sweep);
        phase = phase + 2.0 * pi * hz / rate;
        double body = det_sin(phase) * det_exp(-t / spec.decay);
        double click = filter_band(click_band, next_noise(noise)) * det_exp(-t / 0.004) * spec.click;
        wave[i] = body + click;
    }
    return one_shot(std::move(wave), spec, rate);
}

SampleData synthesise_snare(const SampleSpec& spec)
{
    double rate = note_rate(spec.note);
    std::vector<double> wave(static_cast<std::size_t>(even_length(spec.length, rate)));
    Noise noise = make_noise(2);
    Band band = make_band(spec.highpass, spec.lowpass, rate);
    double phase = 0.0;
    for (std::size_t i = 0; i < wave.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        // The skin starts a little sharp and settles.
        double hz = spec.tone_hz * (1.0 + 0.4 * det_exp(-t / 0.008));
        phase = phase + 2.0 * pi * hz / rate;
        double skin = det_sin(phase) * det_exp(-t / spec.tone_decay) * spec.tone_level;
        double rattle = filter_band(band, next_noise(noise)) * det_exp(-t / spec.decay) * spec.noise_level;
        wave[i] = skin + rattle;
    }
    return one_shot(std::move(wave), spec, rate);
}

SampleData synthesise_noise(const SampleSpec& spec)
{
    // Square waves at inharmonic ratios give cymbals their clang.
    constexpr double metal_hz[6] = {410.6, 608.8, 739.2, 1045.4, 1080.0, 1600.0};
    double rate = note_rate(spec.note);
    std::vector<double> wave(static_cast<std::size_t>(even_length(spec.length, rate)));
    Noise noise = make_noise(3);
    Band band = make_band(spec.highpass, spec.lowpass, rate);
    double phases[6] = {};
    for (std::size_t i = 0; i < wave.size(); ++i) {
        double t = static_cast<double>(i) / rate;
        double clang = 0.0;
        for (int k = 0; k < 6; ++k) {
            phases[k] = phases[k] + metal_hz[k] / rate;
            phases[k] = phases[k] - static_cast<double>(static_cast<int>(phases[k]));
            clang = clang + (phases[k] < 0.5 ? 1.0 : -1.0);
        }
        double source = next_noise(noise) + clang * spec.metal / 6.0;
        // A 1 ms rise keeps the hit crisp without a step at the start.
        double rise = t < 0.001 ? t / 0.001 : 1.0;
        wave[i] = filter_band(band, source) * det_exp(-t / spec.decay) * rise;
    }
    return one_shot(std::move(wave), spec, rate);
}

}   // namespace compose
