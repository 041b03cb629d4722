// The yardstick of the frame figures: a memset of the 1,024,000 bytes that one
// presentation writes. Each program that quotes ratios registers it, so that the
// ratio is taken within one run, on the machine at hand.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

inline void BM_Memset1024000(benchmark::State& state)
{
    std::vector<std::uint8_t> pixels(1024000);
    int value = 0;
    for (auto _ : state) {
        std::memset(pixels.data(), value++ & 0xff, pixels.size());
        benchmark::DoNotOptimize(pixels.data());
        benchmark::ClobberMemory();
    }
}
