#include "synth_math.h"

namespace compose {

namespace {

constexpr double ln2 = 0.69314718055994530942;

// Round half away from zero without calling into the C library.
double round_to_integer(double x)
{
    double r = static_cast<double>(static_cast<std::int64_t>(x < 0 ? x - 0.5 : x + 0.5));
    return r;
}

// Sine on [-pi/2, pi/2] from its Taylor series; 11 terms keep the error
// far below what an 8-bit sample can show.
double sin_reduced(double x)
{
    double x2 = x * x;
    double term = x;
    double sum = x;
    for (int k = 1; k <= 11; ++k) {
        term = -term * x2 / static_cast<double>((2 * k) * (2 * k + 1));
        sum = sum + term;
    }
    return sum;
}

}   // namespace

double det_sin(double x)
{
    // Reduce to [-pi, pi], then fold onto [-pi/2, pi/2].
    double turns = round_to_integer(x / (2.0 * pi));
    double r = x - turns * (2.0 * pi);
    if (r > pi / 2.0)
        r = pi - r;
    else if (r < -pi / 2.0)
        r = -pi - r;
    return sin_reduced(r);
}

double det_exp(double x)
{
    if (x < -700.0)
        return 0.0;
    if (x > 700.0)
        x = 700.0;
    double k = round_to_integer(x / ln2);
    double r = x - k * ln2;
    double term = 1.0;
    double sum = 1.0;
    for (int n = 1; n <= 14; ++n) {
        term = term * r / static_cast<double>(n);
        sum = sum + term;
    }
    // Scaling by a power of two is exact.
    int e = static_cast<int>(k);
    for (; e > 0; --e)
        sum = sum * 2.0;
    for (; e < 0; ++e)
        sum = sum * 0.5;
    return sum;
}

double det_tanh(double x)
{
    double a = x < 0 ? -x : x;
    double e = det_exp(-2.0 * a);
    double t = (1.0 - e) / (1.0 + e);
    return x < 0 ? -t : t;
}

double cents_ratio(double cents)
{
    return det_exp(cents / 1200.0 * ln2);
}

Noise make_noise(std::uint32_t seed)
{
    return Noise{seed * 2654435761u + 1u};
}

std::uint32_t next_noise_bits(Noise& noise)
{
    noise.state = noise.state * 1664525u + 1013904223u;
    // The low bits of a power-of-two LCG are weak; mix the high ones down.
    std::uint32_t v = noise.state;
    v ^= v >> 15;
    v *= 2246822519u;
    v ^= v >> 13;
    return v;
}

double next_noise(Noise& noise)
{
    return static_cast<double>(next_noise_bits(noise) >> 8) / 8388608.0 - 1.0;
}

}   // namespace compose
