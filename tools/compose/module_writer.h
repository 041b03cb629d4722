// Lays out a compiled song and its samples in the four-channel "M.K." module
// format: header, order table, patterns, then the sample data.
#pragma once

#include "score.h"
#include "synth.h"

#include <array>
#include <cstdint>
#include <vector>

namespace compose {

using SampleBank = std::array<SampleData, max_samples + 1>;   // 1..31

std::vector<std::uint8_t> write_module(const Song& song, const SampleSet& specs, const SampleBank& bank);

}   // namespace compose
