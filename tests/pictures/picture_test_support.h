// Helpers for the pictures tests: data files written to a temporary directory, and a
// frame buffer with guard bytes on both sides to catch writes outside it.
#pragma once

#include "common/files.h"
#include "common/scratch_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

inline std::string write_test_file(const std::string& name, const std::string& content)
{
    const std::string path = (program_scratch_folder() / name).string();
    write_text(path, content);
    return path;
}

struct GuardedFrame {
    static constexpr std::size_t guard = 4096;
    static constexpr std::size_t size = 320 * 200;
    std::vector<std::uint8_t> bytes;

    explicit GuardedFrame(std::uint8_t background = 0, std::uint8_t guard_value = 0xA5)
        : bytes(size + 2 * guard, guard_value)
    {
        std::fill(bytes.begin() + guard, bytes.begin() + guard + size, background);
    }
    std::uint8_t* frame() { return bytes.data() + guard; }
    std::uint8_t at(int x, int y) const { return bytes[guard + static_cast<std::size_t>(y) * 320 + x]; }
    bool guards_intact(std::uint8_t guard_value = 0xA5) const
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
};
