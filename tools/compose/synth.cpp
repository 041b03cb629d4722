#include "synth.h"

#include "synth_math.h"

namespace compose {

int even_length(double seconds, double rate)
{
    int half = static_cast<int>(seconds * rate / 2.0 + 0.5);
    if (half < 1)
        half = 1;
    return 2 * half;
}

void fade_tail(std::vector<double>& wave, double rate)
{
    std::size_t fade = static_cast<std::size_t>(0.005 * rate);
    if (fade > wave.size() / 4)
        fade = wave.size() / 4;
    std::size_t start = wave.size() - fade;
    for (std::size_t i = start; i < wave.size(); ++i)
        wave[i] = wave[i] * static_cast<double>(wave.size() - 1 - i) / static_cast<double>(fade);
}

namespace {

double peak_of(const std::vector<double>& wave)
{
    double peak = 0.0;
    for (double v : wave) {
        double a = v < 0 ? -v : v;
        if (a > peak)
            peak = a;
    }
    return peak;
}

std::int8_t to_byte(double v)
{
    // Round half away from zero; the scale keeps |v| within 127.
    int q = static_cast<int>(v < 0 ? v - 0.5 : v + 0.5);
    if (q > 127)
        q = 127;
    if (q < -127)
        q = -127;
    return static_cast<std::int8_t>(q);
}

}   // namespace

std::vector<std::int8_t> quantise(std::vector<double> wave, double drive, double level)
{
    double peak = peak_of(wave);
    if (peak > 0.0) {
        double norm = det_tanh(drive);
        for (double& v : wave)
            v = det_tanh(drive * v / peak) / norm;
        peak = peak_of(wave);
    }
    double scale = peak > 0.0 ? 127.0 * level / peak : 0.0;
    std::vector<std::int8_t> bytes(wave.size());
    for (std::size_t i = 0; i < wave.size(); ++i)
        bytes[i] = to_byte(wave[i] * scale);
    return bytes;
}

SampleData synthesise(const SampleSpec& spec)
{
    switch (spec.kind) {
    case VoiceKind::kick: return synthesise_kick(spec);
    case VoiceKind::snare: return synthesise_snare(spec);
    case VoiceKind::noise: return synthesise_noise(spec);
    case VoiceKind::tone: return synthesise_tone(spec);
    case VoiceKind::none: break;
    }
    return SampleData{};
}

}   // namespace compose
