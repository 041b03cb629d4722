// Elementary functions for the synthesiser, written out in plain double arithmetic.
//
// The module must rebuild byte for byte on any machine. The C library may pick
// different code paths for sin/exp depending on the processor (for instance fused
// multiply-add variants), and a last-bit difference can flip the rounding of an
// 8-bit sample. These versions use only additions, multiplications and divisions,
// which IEEE double arithmetic makes identical everywhere (the build forbids
// contraction into fused operations).
#pragma once

#include <cstdint>

namespace compose {

constexpr double pi = 3.14159265358979323846;

double det_sin(double x);
double det_exp(double x);
double det_tanh(double x);
// 2 to the power x/1200: the frequency ratio of an interval of x cents.
double cents_ratio(double cents);

// A small deterministic noise source (linear congruential, 32-bit state).
struct Noise {
    std::uint32_t state;
};
Noise make_noise(std::uint32_t seed);
// Next value, uniform in [-1, 1).
double next_noise(Noise& noise);
// Next raw 32-bit value.
std::uint32_t next_noise_bits(Noise& noise);

}   // namespace compose
