// Voices and mixing observed through the voice records and the mixed output.
#include "sound/devices.h"
#include "sound/mixer.h"
#include "sound/module_writer.h"
#include "sound/sound.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<std::int8_t> wave(int n, int scale)
{
    return make_wave(n, [scale](int i) { return i * scale; });
}

// Attaches sample 1 to voice 0 with a step of exactly one byte per output sample.
void play_one_byte_per_sample(const std::vector<std::int8_t>& data, int loop_start, int loop_end,
                              int loop_flag)
{
    sound_device.define_sample(1, data.data(), static_cast<int>(data.size()), loop_start, loop_end, loop_flag,
                               loop_end - loop_start);
    sound_device.select_channel(0);
    sound_device.set_channel_sample(1);
    sound_device.set_volume(64);
    sound_device.set_position(0);
    pending_voices[0].step = 1;
    pending_voices[0].step_fraction = 0;
    pending_voices[0].step_changed = 1;
}

std::vector<std::int32_t> mix16(int count)
{
    std::vector<std::uint8_t> stream(static_cast<std::size_t>(count) * 2);
    mix_chunk(stream.data(), count, 16);
    std::vector<std::int32_t> values;
    for (int i = 0; i < count; ++i)
        values.push_back(static_cast<std::int16_t>((stream[2 * i] << 8) | stream[2 * i + 1]));
    return values;
}

// The sample bytes behind the output, full volume giving the factor 129.
std::vector<std::int32_t> times129(std::vector<std::int32_t> bytes)
{
    for (auto& value : bytes)
        value *= 129;
    return bytes;
}

class Mixer : public ::testing::Test {
protected:
    void SetUp() override
    {
        install_sdl_device(2);
        sound_device.set_channel_count(4);
    }
};

}   // namespace

TEST_F(Mixer, PeriodsBecome32Dot32Steps)
{
    sound_device.select_channel(3);
    const std::pair<int, std::pair<std::uint32_t, std::uint32_t>> cases[] = {
        {428, {0, 807083520}}, {214, {0, 1614167296}}, {1, {80, 1834467072}}, {0, {0, 0}}, {-5, {0, 0}}};
    for (const auto& [period, step] : cases) {
        pending_voices[3].step_changed = 0;
        sound_device.set_period(period);
        EXPECT_EQ(pending_voices[3].step, step.first) << period;
        EXPECT_EQ(pending_voices[3].step_fraction, step.second) << period;
        EXPECT_EQ(pending_voices[3].step_changed, 1);
    }
    install_sdl_device(1);
    sound_device.select_channel(0);
    sound_device.set_period(428);
    EXPECT_EQ(pending_voices[0].step_fraction, 1614167296u);
    sound_device.set_period(113);
    EXPECT_EQ(pending_voices[0].step, 1u);
    EXPECT_EQ(pending_voices[0].step_fraction, 1818870528u);
}

TEST_F(Mixer, MasterVolumeIsCappedAt252)
{
    sound_device.set_master_volume(300);
    EXPECT_EQ(master_volume, 252);
    sound_device.set_master_volume(64);
    EXPECT_EQ(master_volume, 64);
}

TEST_F(Mixer, SetPositionRules)
{
    const auto data = wave(100, 1);
    sound_device.define_sample(1, data.data(), 100, 10, 50, 1, 40);
    sound_device.select_channel(1);
    sound_device.set_channel_sample(1);
    Voice& voice = pending_voices[1];
    voice.position_changed = 0;
    sound_device.set_position(30);
    EXPECT_EQ(voice.position, 30u);
    EXPECT_EQ(voice.loop_flag, 1);
    EXPECT_EQ(voice.position_changed, 1);
    voice.position_changed = 0;
    sound_device.set_position(60);   // past the loop: played out once
    EXPECT_EQ(voice.position, 60u);
    EXPECT_EQ(voice.loop_flag, 0);
    voice.position_changed = 0;
    sound_device.set_position(100);   // past the end: nothing changes
    EXPECT_EQ(voice.position, 60u);
    EXPECT_EQ(voice.position_changed, 0);
}

TEST_F(Mixer, CommitKeepsRunningPositionsAndSteps)
{
    const auto data = wave(100, 1);
    play_one_byte_per_sample(data, 0, 0, 0);
    mix16(10);
    EXPECT_EQ(mixing_voices[0].position, 10u);
    EXPECT_EQ(pending_voices[0].position_changed, 0);
    EXPECT_EQ(pending_voices[0].step_changed, 0);
    // A new volume and a step written without the flag: the volume is taken, the
    // step and the running position are kept.
    pending_voices[0].volume = 32;
    pending_voices[0].step = 3;
    EXPECT_EQ(mix16(2), (std::vector<std::int32_t>{11 * 64, 12 * 64}));
    sound_device.set_position(50);
    EXPECT_EQ(mix16(1), (std::vector<std::int32_t>{51 * 64}));
    sound_device.set_period(214);
    mix16(1);
    EXPECT_EQ(mixing_voices[0].step_fraction, 1614167296u);
}

TEST_F(Mixer, FullVolumeFactorAndSilentVoices)
{
    const auto constant = make_wave(64, [](int) { return 100; });
    play_one_byte_per_sample(constant, 0, 0, 0);
    EXPECT_EQ(mix16(3), (std::vector<std::int32_t>{12900, 12900, 12900}));

    // Volume 0 or length 0: nothing added, and the position stands.
    sound_device.set_volume(0);
    EXPECT_EQ(mix16(2), (std::vector<std::int32_t>{0, 0}));
    EXPECT_EQ(mixing_voices[0].position, 3u);
    sound_device.set_volume(64);
    pending_voices[0].length = 0;
    EXPECT_EQ(mix16(2), (std::vector<std::int32_t>{0, 0}));
    EXPECT_EQ(mixing_voices[0].position, 3u);
}

TEST_F(Mixer, LoopsContinueAtLoopStartPlusOne)
{
    const auto data = wave(10, 1);
    play_one_byte_per_sample(data, 2, 6, 1);
    EXPECT_EQ(mix16(12), times129({1, 2, 3, 4, 5, 6, 3, 4, 5, 6, 3, 4}));
}

TEST_F(Mixer, LoopEndingAtTheLastByteReadsTheLoopStartThere)
{
    const auto data = wave(8, 1);
    play_one_byte_per_sample(data, 4, 8, 1);
    EXPECT_EQ(mix16(10), times129({1, 2, 3, 4, 5, 6, 7, 4, 5, 6}));
}

TEST_F(Mixer, LoopWhollyBeyondTheDataReadsSilence)
{
    const auto data = wave(4, 1);
    play_one_byte_per_sample(data, 100, 200, 1);
    EXPECT_EQ(mix16(6), times129({1, 2, 3, 0, 0, 0}));
}

TEST_F(Mixer, OneShotVoiceStopsAndStaysSilentUntilRestarted)
{
    const auto data = make_wave(4, [](int i) { return 10 + i; });
    play_one_byte_per_sample(data, 0, 0, 0);
    EXPECT_EQ(mix16(6), times129({11, 12, 13, 0, 0, 0}));
    EXPECT_EQ(mixing_voices[0].volume, 0);
    EXPECT_EQ(mixing_voices[0].step, 0u);
    // The player's volume is still pending; the stopped voice adds nothing for it
    // (not even its first byte).
    EXPECT_EQ(mix16(3), times129({0, 0, 0}));
    sound_device.set_period(428);
    EXPECT_EQ(mix16(3), times129({0, 0, 0}));
    // A new play position starts it again with the player's step.
    sound_device.set_position(1);
    const auto resumed = mix16(8);
    EXPECT_EQ(resumed[0], 11 * 129);
    EXPECT_EQ(resumed[7], 12 * 129);
}

TEST_F(Mixer, OutputConversionShiftsClipsAndOrdersBytes)
{
    const auto eight = make_wave(64, [](int) { return 8; });
    const auto high = make_wave(64, [](int) { return 127; });
    const auto low = make_wave(64, [](int) { return -128; });
    sound_device.define_sample(1, eight.data(), 64, 0, 64, 1, 64);
    sound_device.define_sample(2, high.data(), 64, 0, 64, 1, 64);
    sound_device.define_sample(3, low.data(), 64, 0, 64, 1, 64);
    sound_device.set_channel_count(5);
    // The first `voices` voices play the sample at the volume, the others are silent.
    auto mix = [](int sample, int voices, int volume, int bits) {
        for (int v = 0; v < 5; ++v) {
            sound_device.select_channel(v);
            sound_device.set_channel_sample(sample);
            sound_device.set_volume(v < voices ? volume : 0);
            sound_device.set_period(428);
        }
        std::uint8_t out[2] = {};
        mix_chunk(out, 1, bits);
        return bits == 8 ? out[0] : (out[0] << 8) | out[1];
    };
    EXPECT_EQ(mix(2, 1, 64, 16), 0x3FFF);   // 127 * 129 = 16383, big-endian
    EXPECT_EQ(mix(3, 1, 64, 16), 0xBF80);   // -128 * 129 = -16512
    EXPECT_EQ(mix(2, 3, 64, 16), 0x7FFF);   // 49149 clipped
    EXPECT_EQ(mix(3, 3, 64, 16), 0x8000);   // -49536 clipped
    EXPECT_EQ(mix(1, 1, 32, 8), 129);       // 8 * 64 = 512
    EXPECT_EQ(mix(2, 5, 64, 8), 255);
    EXPECT_EQ(mix(3, 5, 64, 8), 0);
    EXPECT_EQ(mix(3, 1, 1, 8), 127);   // -256 >> 9 rounds down to -1
}
