// A 320 x 200 frame buffer with guard bytes on both sides, so that a test sees any
// write that strays outside the picture.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

struct GuardedFrame {
    static constexpr std::size_t guard = 4096;
    static constexpr std::size_t size = 320 * 200;
    static constexpr std::uint8_t guard_value = 0xA5;
    std::vector<std::uint8_t> bytes;

    explicit GuardedFrame(std::uint8_t background = 0) : bytes(size + 2 * guard, guard_value)
    {
        std::fill(bytes.begin() + guard, bytes.begin() + guard + size, background);
    }

    std::uint8_t* pixels() { return bytes.data() + guard; }
    std::uint8_t& at(int x, int y) { return bytes[guard + static_cast<std::size_t>(y * 320 + x)]; }
    std::uint8_t at(int x, int y) const { return bytes[guard + static_cast<std::size_t>(y * 320 + x)]; }

    bool guards_intact() const
    {
        for (std::size_t k = 0; k < guard; ++k)
            if (bytes[k] != guard_value || bytes[guard + size + k] != guard_value)
                return false;
        return true;
    }

    // Pixels that differ from the background, as y * 320 + x.
    std::vector<int> changed(std::uint8_t background = 0) const
    {
        std::vector<int> result;
        for (int k = 0; k < static_cast<int>(size); ++k)
            if (bytes[guard + static_cast<std::size_t>(k)] != background)
                result.push_back(k);
        return result;
    }

    // Background bytes that no drawing colour in the tests uses (values 100..199).
    void fill_noise(unsigned seed)
    {
        std::mt19937 random(seed);
        for (std::size_t k = 0; k < size; ++k)
            bytes[guard + k] = static_cast<std::uint8_t>(100 + random() % 100);
    }
};
