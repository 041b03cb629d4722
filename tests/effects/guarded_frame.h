// A frame buffer with guard bytes on both sides, so that a test sees any write that
// strays outside the 320 x 200 picture.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

struct GuardedFrame {
    static constexpr std::size_t guard = 4096;
    static constexpr std::uint8_t guard_value = 0xA5;
    std::vector<std::uint8_t> storage = std::vector<std::uint8_t>(64000 + 2 * guard, guard_value);

    std::uint8_t* pixels() { return storage.data() + guard; }
    std::uint8_t& at(int x, int y) { return pixels()[y * 320 + x]; }

    bool guards_intact() const
    {
        for (std::size_t i = 0; i < guard; ++i)
            if (storage[i] != guard_value || storage[guard + 64000 + i] != guard_value)
                return false;
        return true;
    }

    // Background bytes that no drawing colour in these tests uses (values 100..199).
    void fill_noise(unsigned seed)
    {
        std::mt19937 random(seed);
        for (int i = 0; i < 64000; ++i)
            pixels()[i] = static_cast<std::uint8_t>(100 + random() % 100);
    }
};
