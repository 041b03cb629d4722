// Loads a test module behind the recording device and steps the player tick by tick.
#pragma once

#include "sound/module_writer.h"
#include "sound/recording_device.h"

#include <gtest/gtest.h>

class PlayerTest : public ::testing::Test {
protected:
    TestModule module;
    std::vector<std::uint8_t> bytes;

    PlayerTest()
    {
        module.sample(1) = {make_wave(64, [](int i) { return i; }), 0, 40, 0, 64};
        module.sample(2) = {make_wave(64, [](int i) { return -i; }), 5, 20, 0, 0};
    }

    void load()
    {
        bytes = module.bytes();
        install_recording_device();
        ASSERT_EQ(music_load(bytes.data(), bytes.size()), 1);
    }

    // Runs n ticks; the device record holds only the last one's calls.
    void tick(int n = 1)
    {
        for (int i = 0; i < n; ++i) {
            device_calls.clear();
            pt_tick();
        }
    }

    // The periods given to a voice on each of the next n ticks (-1: none given).
    std::vector<std::int64_t> periods_over(int voice, int n, const char* operation = "set_period")
    {
        std::vector<std::int64_t> values;
        for (int i = 0; i < n; ++i) {
            tick();
            values.push_back(last_argument(voice, operation));
        }
        return values;
    }
};
