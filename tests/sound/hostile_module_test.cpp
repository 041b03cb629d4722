// Modules cut short or with out-of-range fields: rejected, or played without any
// read outside the bytes that were read (run under AddressSanitizer too).
#include "sound/module.h"
#include "sound/music_stream.h"
#include "sound/player.h"
#include "sound/module_writer.h"
#include "sound/recording_device.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

TestModule complete_module()
{
    TestModule module;
    module.song_length = 2;
    module.orders[1] = 1;
    module.cell(1, 0, 0) = {428, 1, 0, 0};
    module.sample(1) = {make_wave(64, [](int i) { return i; }), 0, 64, 0, 64};
    module.sample(2).data = make_wave(10, [](int) { return 5; });
    return module;
}

// A heap copy of exactly the first n bytes, so that any read past them is caught.
std::unique_ptr<std::uint8_t[]> exact_copy(const std::vector<std::uint8_t>& bytes, std::size_t n)
{
    auto copy = std::make_unique<std::uint8_t[]>(n ? n : 1);
    std::memcpy(copy.get(), bytes.data(), n);
    return copy;
}

void play_ticks(MusicStream* stream, int ticks)
{
    std::uint8_t out[4096];
    for (int i = 0; i < ticks; ++i)
        next_music_buffer(stream, out, 2048);
}

}   // namespace

TEST(HostileModule, EveryTruncationIsRejectedWithAReason)
{
    const std::vector<std::uint8_t> bytes = complete_module().bytes();
    install_recording_device();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        auto copy = exact_copy(bytes, n);
        last_error = "";
        ASSERT_EQ(pt_takemod(copy.get(), n), 0) << n << " bytes";
        EXPECT_NE(std::strlen(last_error), 0u);
        EXPECT_EQ(std::memcmp(copy.get(), bytes.data(), n), 0) << "rewritten although rejected";
    }
    auto whole = exact_copy(bytes, bytes.size());
    EXPECT_EQ(pt_takemod(whole.get(), bytes.size()), 1);
    EXPECT_EQ(pt_takemod(nullptr, 0), 0);
}

TEST(HostileModule, ReasonsNameWhatIsMissing)
{
    const std::vector<std::uint8_t> bytes = complete_module().bytes();
    install_recording_device();
    auto copy = exact_copy(bytes, bytes.size());
    EXPECT_EQ(pt_takemod(copy.get(), 1000), 0);
    EXPECT_NE(std::strstr(last_error, "header"), nullptr) << last_error;
    EXPECT_EQ(pt_takemod(copy.get(), 1084 + 1024), 0);
    EXPECT_NE(std::strstr(last_error, "patterns"), nullptr) << last_error;
    EXPECT_EQ(pt_takemod(copy.get(), bytes.size() - 1), 0);
    EXPECT_NE(std::strstr(last_error, "sample"), nullptr) << last_error;
}

TEST(HostileModule, OrderEntriesAbove127AreRejected)
{
    TestModule module = complete_module();
    module.orders[127] = 128;
    std::vector<std::uint8_t> bytes = module.bytes();
    bytes.resize(bytes.size() + 127 * 1024);   // room for them would not help
    install_recording_device();
    EXPECT_EQ(pt_takemod(bytes.data(), bytes.size()), 0);
    EXPECT_NE(std::strstr(last_error, "127"), nullptr) << last_error;
}

TEST(HostileModule, OutOfRangeCellsAndLoopsPlayInsideTheBuffer)
{
    TestModule module;
    module.song_length = 3;
    module.orders[1] = 1;
    // A sample number of 0xFF, a loop far beyond the data, one ending at its last
    // byte, a break to row 99, a jump beyond the order table and a high arpeggio.
    module.cell(0, 0, 0) = {428, 0xFF, 0, 0};
    module.cell(0, 1, 0) = {113, 1, 0, 0xFF};
    module.cell(0, 1, 1) = {428, 2, 9, 0x01};
    module.cell(0, 2, 2) = {60, 3, 4, 0xFF};
    module.cell(0, 3, 0) = {0, 0, 0xD, 0x99};
    module.cell(1, 5, 3) = {0, 0, 0xB, 0xFF};
    module.sample(1) = {make_wave(8, [](int i) { return i; }), 0, 64, 60000, 60000};
    module.sample(2) = {make_wave(300, [](int i) { return i; }), 0, 64, 200, 100};
    module.sample(3) = {make_wave(4, [](int i) { return i * 30; }), 7, 64, 0, 4};
    std::vector<std::uint8_t> bytes = module.bytes();
    auto copy = exact_copy(bytes, bytes.size());

    MusicStream stream;
    ASSERT_EQ(start_music_stream(&stream, 2, copy.get(), bytes.size()), nullptr);
    std::int32_t highest_row = 0;
    for (int i = 0; i < 400; ++i) {
        play_ticks(&stream, 1);
        const std::int32_t position = music_position();
        highest_row = std::max(highest_row, position % 100);
        // B with FF reads 25463 until its next row, which falls back to the restart.
        ASSERT_TRUE((position >= 0 && position < 300) || position == 25463) << position;
    }
    EXPECT_LE(highest_row, 63);
    EXPECT_GE(song.restarts, 2);
}
