// sound_start's answer, the two devices, the silent mode's timer clock and the real
// SDL audio path through the disk driver.
#include "common/scratch_folder.h"
#include "sound/devices.h"
#include "sound/mixer.h"
#include "sound/module_writer.h"
#include "sound/music_stream.h"
#include "sound/sound.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <thread>

namespace {

// Standard input becomes a file holding the answer and a line feed, for sound_start to
// read as it would read a user's.
void answer(const char* text)
{
    static const ScratchFolder folder("answer");
    const std::string path = (folder.path / "answer.txt").string();
    std::ofstream(path) << text << '\n';
    ASSERT_NE(std::freopen(path.c_str(), "r", stdin), nullptr);
}

void reset_device_state()
{
    sound_mode = -1;
    device_name = "";
    last_error = "";
    sound_device = DeviceTable{};
    master_volume = 63;
}

std::vector<std::uint8_t> looping_module()
{
    TestModule module;
    module.sample(1) = {make_wave(200, [](int i) { return (i * 5) % 256 - 128; }), 0, 64, 0, 200};
    for (int row = 0; row < 64; row += 4)
        module.cell(0, row, row % 8 == 0 ? 0 : 1) = {period_of_note(20 + row / 4), 1, 0xA, 0x01};
    return module.bytes();
}

class Devices : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Set here rather than trusted to the test runner's environment.
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        reset_device_state();
    }
    void TearDown() override
    {
        SDL_CloseAudio();
        SDL_Quit();
    }
};

}   // namespace

TEST_F(Devices, AnswerTwoOpensSixteenBitAudio)
{
    answer("2");
    ASSERT_EQ(sound_start(), 1) << SDL_GetError();
    EXPECT_EQ(sound_mode, 2);
    EXPECT_STREQ(device_name, "SDL audio");
    EXPECT_EQ(output_rate, 44100);
    EXPECT_EQ(master_volume, 64);
    EXPECT_EQ(SDL_GetAudioStatus(), SDL_AUDIO_PAUSED);
    set_tick_rate(47);
    EXPECT_EQ(segment_length(), 938);
}

TEST_F(Devices, AModeGivenAsAnArgumentLeavesStandardInputUnread)
{
    answer("0");
    ASSERT_EQ(sound_start_mode('2'), 1) << SDL_GetError();
    EXPECT_EQ(sound_mode, 2);
    EXPECT_EQ(output_rate, 44100);
    char unread[8] = "";
    ASSERT_EQ(std::scanf("%7s", unread), 1);
    EXPECT_STREQ(unread, "0");
    SDL_CloseAudio();

    reset_device_state();
    EXPECT_EQ(sound_start_mode('\0'), 0);
    EXPECT_STREQ(last_error, "unknown sound mode");
    EXPECT_STREQ(device_name, "Super Zub NoSound Device 2.0c");
}

TEST_F(Devices, OnlyTheFirstCharacterCounts)
{
    answer("10");
    ASSERT_EQ(sound_start(), 1) << SDL_GetError();
    EXPECT_EQ(sound_mode, 1);
    EXPECT_EQ(output_rate, 22050);
    set_tick_rate(47);
    EXPECT_EQ(segment_length(), 469);
    SDL_CloseAudio();

    reset_device_state();
    answer("0x");
    EXPECT_EQ(sound_start(), 1);
    EXPECT_EQ(sound_mode, 0);
    EXPECT_STREQ(device_name, "Super Zub NoSound Device 2.0c");
    EXPECT_EQ(master_volume, 64);
    EXPECT_EQ(SDL_GetAudioStatus(), SDL_AUDIO_STOPPED);
}

TEST_F(Devices, AnOverlongAnswerIsReadWithABound)
{
    answer("0123456789012345678901234567890123456789");
    EXPECT_EQ(sound_start(), 1);
    EXPECT_EQ(sound_mode, 0);
    // The rest of the word is left for whoever reads next.
    char rest[64] = "";
    ASSERT_EQ(std::scanf("%63s", rest), 1);
    EXPECT_STREQ(rest, "5678901234567890123456789");
}

TEST_F(Devices, UnknownAnswerFailsButLeavesCallableSilentOperations)
{
    answer("x");
    EXPECT_EQ(sound_start(), 0);
    EXPECT_EQ(sound_mode, 0);
    ASSERT_NE(sound_device.set_volume, nullptr);
    std::vector<std::uint8_t> bytes = looping_module();
    EXPECT_EQ(music_load(bytes.data(), bytes.size()), 1);
    pt_tick();
    EXPECT_EQ(music_position(), 0);
}

TEST_F(Devices, RefusedAudioPlaysSilentlyOnTheTimer)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    answer("2");
    EXPECT_EQ(sound_start(), 0);
    EXPECT_STREQ(last_error, "SDL audio error");
    EXPECT_EQ(sound_mode, 0);
    EXPECT_STREQ(device_name, "Super Zub NoSound Device 2.0c");

    std::vector<std::uint8_t> bytes = looping_module();
    ASSERT_EQ(music_load(bytes.data(), bytes.size()), 1);
    EXPECT_EQ(music_position(), -37);
    music_play(47);
    EXPECT_EQ(tick_interval, 21);
    // The timer ticks every 21 ms: row 1 comes after six ticks.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (music_position() < 1 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    SDL_SetTimer(0, nullptr);
    EXPECT_GE(music_position(), 1);
}

TEST_F(Devices, DiskAudioWritesWhatTheCallbackMixesOffline)
{
    const ScratchFolder scratch("sound-disk");
    const std::filesystem::path file = scratch / "disk.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", file.c_str(), 1);
    // A short pause per buffer keeps the writer a few times faster than real time;
    // without one it writes silence flat out while the device is paused.
    setenv("SDL_DISKAUDIODELAY", "10", 1);
    std::vector<std::uint8_t> bytes = looping_module();
    const std::vector<std::uint8_t> pristine = bytes;

    answer("2");
    ASSERT_EQ(sound_start(), 1) << SDL_GetError();
    ASSERT_EQ(music_load(bytes.data(), bytes.size()), 1);
    music_play(47);
    // SDL writes silent buffers while the device is paused; the music starts at the
    // first buffer that is not silent. Wait for a second of sound after it.
    constexpr std::size_t buffer_bytes = 2048 * 2;
    constexpr std::size_t wanted = 22 * buffer_bytes;
    constexpr std::size_t read_limit = 200 * buffer_bytes;
    std::vector<std::uint8_t> written;
    std::size_t start = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        std::ifstream in(file, std::ios::binary);
        written.resize(read_limit);
        in.read(reinterpret_cast<char*>(written.data()), static_cast<std::streamsize>(read_limit));
        written.resize(static_cast<std::size_t>(in.gcount()));
        start = 0;
        while (start + buffer_bytes <= written.size() &&
               std::all_of(written.begin() + start, written.begin() + start + buffer_bytes,
                           [](std::uint8_t b) { return b == 0; }))
            start += buffer_bytes;
        if (written.size() >= start + wanted || written.size() == read_limit ||
            std::chrono::steady_clock::now() > deadline)
            break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    SDL_CloseAudio();
    ASSERT_GE(written.size(), start + wanted);

    std::vector<std::uint8_t> again = pristine;
    MusicStream stream;
    ASSERT_EQ(start_music_stream(&stream, 2, again.data(), again.size()), nullptr);
    std::vector<std::uint8_t> offline(wanted);
    for (std::size_t at = 0; at < wanted; at += buffer_bytes)
        next_music_buffer(&stream, offline.data() + at, device_buffer_samples);
    EXPECT_TRUE(std::equal(offline.begin(), offline.end(), written.begin() + start));
}
