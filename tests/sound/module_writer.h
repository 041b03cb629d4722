// Builds small modules in memory for the tests: header, order table, patterns and
// sample data, laid out as a tracker saves them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct TestSample {
    std::vector<std::int8_t> data;   // an even number of bytes
    std::int32_t finetune = 0;
    std::int32_t volume = 64;
    std::int32_t loop_start = 0;    // bytes, even
    std::int32_t loop_length = 0;   // bytes, even
};

struct TestCell {
    std::int32_t period = 0;
    std::int32_t sample = 0;
    std::int32_t command = 0;
    std::int32_t parameter = 0;
};

struct TestModule {
    std::string signature = "M.K.";
    std::int32_t channels = 4;
    std::int32_t song_length = 1;
    std::int32_t restart = 0;
    std::array<std::uint8_t, 128> orders{};
    std::int32_t pattern_count = 1;
    std::vector<TestCell> cells;   // pattern_count * 64 * channels, grown on demand
    std::array<TestSample, 31> samples;

    TestCell& cell(std::int32_t pattern, std::int32_t row, std::int32_t channel);
    TestSample& sample(std::int32_t number) { return samples[number - 1]; }
    std::vector<std::uint8_t> bytes() const;
};

// Row 0 of the period table (finetune 0), as the format defines it.
std::int32_t period_of_note(std::int32_t note);

// A sample of n bytes whose byte i is value(i).
template <typename F>
std::vector<std::int8_t> make_wave(std::int32_t n, F value)
{
    std::vector<std::int8_t> data(static_cast<std::size_t>(n));
    for (std::int32_t i = 0; i < n; ++i)
        data[static_cast<std::size_t>(i)] = static_cast<std::int8_t>(value(i));
    return data;
}
